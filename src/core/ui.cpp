#include "core/ui.hpp"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace core {

// The hourglass says the program is working; while a dialog waits for the user it is
// not, so the ordinary pointer shows over the dialog and the hourglass comes back after.
class QtUi::UserTurn {
  public:
    explicit UserTurn(QtUi& ui) : ui_(ui), wasBusy_(ui.busy_) { ui_.setBusy(false); }
    ~UserTurn() {
        if (wasBusy_) ui_.setBusy(true);
    }
    UserTurn(const UserTurn&) = delete;
    UserTurn& operator=(const UserTurn&) = delete;

  private:
    QtUi& ui_;
    bool wasBusy_;
};

MsgResult QtUi::messageBox(const QString& text, const QString& title, MsgIcon icon,
                           MsgButtons buttons) {
    const UserTurn turn(*this);
    QMessageBox box(parent_);
    box.setText(text);
    box.setWindowTitle(title);
    switch (icon) {
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
    }
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        default:
            return MsgResult::Ok;
    }
}

void QtUi::beep() { QApplication::beep(); }

namespace {
std::optional<FileDialogResult> toResult(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return FileDialogResult{path, QFileInfo(path).fileName()};
}
}  // namespace

std::optional<FileDialogResult> QtUi::saveFileDialog(const FileDialogRequest& r) {
    const UserTurn turn(*this);
    const QString start =
        r.defaultName.isEmpty() ? r.initialFolder : QDir(r.initialFolder).filePath(r.defaultName);
    // The dialog adds the suffix itself, so it asks before overwriting the file it names.
    QFileDialog dialog(parent_, r.title, start, r.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(r.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return toResult(dialog.selectedFiles().front());
}

std::optional<FileDialogResult> QtUi::openFileDialog(const FileDialogRequest& r) {
    const UserTurn turn(*this);
    return toResult(QFileDialog::getOpenFileName(parent_, r.title, r.initialFolder, r.filter));
}

std::optional<QColor> QtUi::colorDialog(const QColor& initial) {
    const UserTurn turn(*this);
    const QColor c = QColorDialog::getColor(initial, parent_);
    if (!c.isValid()) return std::nullopt;
    return c;
}

void QtUi::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace core
