#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "shell/ui.hpp"

namespace testsupport {

// Answers dialogs from a script. A dialog that nobody scripted fails the test, so a
// window cannot show an unexpected message unnoticed. Message boxes are recorded.
class ScriptedUi : public shell::Ui {
  public:
    struct Message {
        QString text;
        QString title;
        shell::MsgIcon icon;
        shell::MsgButtons buttons;
    };

    // The next message box answers `result`.
    void expectMessage(shell::MsgResult result = shell::MsgResult::Ok) {
        messageReplies_.push_back(result);
    }
    // Every message box answers Ok without being scripted one by one.
    void allowAnyMessage(bool allow = true) { allowAnyMessage_ = allow; }
    void expectSaveDialog(std::optional<shell::FileDialogResult> r) {
        saveReplies_.push_back(std::move(r));
    }
    void expectOpenDialog(std::optional<shell::FileDialogResult> r) {
        openReplies_.push_back(std::move(r));
    }
    void expectColorDialog(std::optional<QColor> c) { colorReplies_.push_back(c); }

    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<shell::FileDialogRequest>& dialogRequests() const { return dialogRequests_; }
    int beeps() const { return beeps_; }
    // True when every scripted reply was used.
    bool allRepliesUsed() const;

    shell::MsgResult messageBox(const QString& text, const QString& title, shell::MsgIcon icon,
                                shell::MsgButtons buttons) override;
    void beep() override { ++beeps_; }
    std::optional<shell::FileDialogResult> saveFileDialog(
        const shell::FileDialogRequest& r) override;
    std::optional<shell::FileDialogResult> openFileDialog(
        const shell::FileDialogRequest& r) override;
    std::optional<QColor> colorDialog(const QColor& initial) override;
    void setBusy(bool busy) override { busy_ = busy; }
    bool isBusy() const override { return busy_; }

  private:
    std::deque<shell::MsgResult> messageReplies_;
    std::deque<std::optional<shell::FileDialogResult>> saveReplies_;
    std::deque<std::optional<shell::FileDialogResult>> openReplies_;
    std::deque<std::optional<QColor>> colorReplies_;
    std::vector<Message> messages_;
    std::vector<shell::FileDialogRequest> dialogRequests_;
    bool allowAnyMessage_ = false;
    bool busy_ = false;
    int beeps_ = 0;
};

}  // namespace testsupport
