#include "scripted_ui.hpp"

#include <gtest/gtest.h>

namespace testsupport {

using namespace core;

namespace {
// Moves the first reply out; a plain copy of the optional trips a false
// maybe-uninitialized warning in optimised builds.
std::optional<core::FileDialogResult> takeFront(
    std::deque<std::optional<core::FileDialogResult>>& q) {
    std::optional<core::FileDialogResult> reply;
    if (q.front()) reply.emplace(std::move(*q.front()));
    q.pop_front();
    return reply;
}
}  // namespace

bool ScriptedUi::allRepliesUsed() const {
    return messageReplies_.empty() && saveReplies_.empty() && openReplies_.empty() &&
           colorReplies_.empty();
}

core::MsgResult ScriptedUi::messageBox(const QString& text, const QString& title,
                                       core::MsgIcon icon, core::MsgButtons buttons) {
    messages_.push_back({text, title, icon, buttons});
    if (!messageReplies_.empty()) {
        const core::MsgResult r = messageReplies_.front();
        messageReplies_.pop_front();
        return r;
    }
    if (!allowAnyMessage_) {
        ADD_FAILURE() << "unscripted message box: title \"" << title.toStdString() << "\" text \""
                      << text.toStdString() << "\"";
    }
    return core::MsgResult::Ok;
}

std::optional<core::FileDialogResult> ScriptedUi::saveFileDialog(const core::FileDialogRequest& r) {
    dialogRequests_.push_back(r);
    if (saveReplies_.empty()) {
        if (cancelAnyDialog_) return std::nullopt;
        ADD_FAILURE() << "unscripted save dialog: " << r.title.toStdString();
        return std::nullopt;
    }
    return takeFront(saveReplies_);
}

std::optional<core::FileDialogResult> ScriptedUi::openFileDialog(const core::FileDialogRequest& r) {
    dialogRequests_.push_back(r);
    if (openReplies_.empty()) {
        if (cancelAnyDialog_) return std::nullopt;
        ADD_FAILURE() << "unscripted open dialog: " << r.title.toStdString();
        return std::nullopt;
    }
    return takeFront(openReplies_);
}

std::optional<QColor> ScriptedUi::colorDialog(const QColor&) {
    if (colorReplies_.empty()) {
        if (cancelAnyDialog_) return std::nullopt;
        ADD_FAILURE() << "unscripted colour dialog";
        return std::nullopt;
    }
    auto reply = colorReplies_.front();
    colorReplies_.pop_front();
    return reply;
}

}  // namespace testsupport
