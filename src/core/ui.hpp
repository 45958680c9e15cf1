#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace core {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    QString title;
    QString filter;  // Qt filter text, e.g. "Text files (*.txt);;All files (*)"
    QString initialFolder;
    QString defaultName;
    // Save dialogs: the suffix (without its dot) a name typed without one gets.
    QString defaultSuffix;
};

struct FileDialogResult {
    QString fullPath;
    QString fileTitle;  // the file name without its folder
};

// Every dialog and user-facing side effect goes through here, so tests can script
// the answers and no window opens a real dialog on its own.
class Ui {
  public:
    virtual ~Ui() = default;
    virtual MsgResult messageBox(const QString& text, const QString& title,
                                 MsgIcon icon = MsgIcon::None,
                                 MsgButtons buttons = MsgButtons::Ok) = 0;
    virtual void beep() = 0;
    // nullopt when the user cancels.
    virtual std::optional<FileDialogResult> saveFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogResult> openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QColor> colorDialog(const QColor& initial) = 0;
    // Idempotent: on twice is still one busy pointer, one off restores it. A dialog
    // opened while the pointer is busy shows the ordinary pointer until it closes.
    virtual void setBusy(bool busy) = 0;
    virtual bool isBusy() const = 0;
};

// The real dialogs.
class QtUi : public Ui {
  public:
    MsgResult messageBox(const QString& text, const QString& title, MsgIcon icon,
                         MsgButtons buttons) override;
    void beep() override;
    std::optional<FileDialogResult> saveFileDialog(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> openFileDialog(const FileDialogRequest& request) override;
    std::optional<QColor> colorDialog(const QColor& initial) override;
    void setBusy(bool busy) override;
    bool isBusy() const override { return busy_; }

    // Parent of the dialogs (the main window once it exists).
    void setDialogParent(QWidget* parent) { parent_ = parent; }

  private:
    class UserTurn;
    QWidget* parent_ = nullptr;
    bool busy_ = false;
};

}  // namespace core
