#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "core/ui.hpp"

namespace testsupport {

// Answers dialogs from a script. A dialog that nobody scripted fails the test, so a
// window cannot show an unexpected message unnoticed. Message boxes are recorded.
class ScriptedUi : public core::Ui {
  public:
    struct Message {
        QString text;
        QString title;
        core::MsgIcon icon;
        core::MsgButtons buttons;
    };

    // The next message box answers `result`.
    void expectMessage(core::MsgResult result = core::MsgResult::Ok) {
        messageReplies_.push_back(result);
    }
    // Every message box answers Ok without being scripted one by one.
    void allowAnyMessage(bool allow = true) { allowAnyMessage_ = allow; }
    // Every file or colour dialog that nobody scripted is cancelled (a test that clicks
    // every button of a window cannot script each dialog one by one).
    void cancelAnyDialog(bool cancel = true) { cancelAnyDialog_ = cancel; }
    void expectSaveDialog(std::optional<core::FileDialogResult> r) {
        saveReplies_.push_back(std::move(r));
    }
    void expectOpenDialog(std::optional<core::FileDialogResult> r) {
        openReplies_.push_back(std::move(r));
    }
    void expectColorDialog(std::optional<QColor> c) { colorReplies_.push_back(c); }

    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<core::FileDialogRequest>& dialogRequests() const { return dialogRequests_; }
    int beeps() const { return beeps_; }
    // True when every scripted reply was used.
    bool allRepliesUsed() const;

    core::MsgResult messageBox(const QString& text, const QString& title, core::MsgIcon icon,
                               core::MsgButtons buttons) override;
    void beep() override { ++beeps_; }
    std::optional<core::FileDialogResult> saveFileDialog(const core::FileDialogRequest& r) override;
    std::optional<core::FileDialogResult> openFileDialog(const core::FileDialogRequest& r) override;
    std::optional<QColor> colorDialog(const QColor& initial) override;
    void setBusy(bool busy) override { busy_ = busy; }
    bool isBusy() const override { return busy_; }

  private:
    std::deque<core::MsgResult> messageReplies_;
    std::deque<std::optional<core::FileDialogResult>> saveReplies_;
    std::deque<std::optional<core::FileDialogResult>> openReplies_;
    std::deque<std::optional<QColor>> colorReplies_;
    std::vector<Message> messages_;
    std::vector<core::FileDialogRequest> dialogRequests_;
    bool allowAnyMessage_ = false;
    bool cancelAnyDialog_ = false;
    bool busy_ = false;
    int beeps_ = 0;
};

}  // namespace testsupport
