#include "widgets/log_pane.hpp"

#include <QDir>
#include <QTextCursor>
#include <QTextEdit>

#include "core/app_context.hpp"
#include "core/busy_pointer.hpp"
#include "core/file_dialogs.hpp"
#include "core/log_entry.hpp"
#include "core/single_byte_text.hpp"

namespace widgets {

namespace {

// The box keeps paragraphs; the log text keeps the CR LF pairs it is saved with.
QString forBox(const QString& text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

}  // namespace

LogPane::LogPane(core::AppContext& ctx) : core::LogSink(ctx.clock()), ctx_(ctx) {}

LogPane::~LogPane() {
    // The view reads the text it shows from here.
    if (view_) view_->setSource(nullptr);
}

void LogPane::attach(LogView* view) {
    view_ = view;
    box_ = nullptr;
    editable_ = false;
    text_.clear();
    if (!view_) return;
    view_->setSource(&text_);
    view_->setVisible(true);
}

void LogPane::attach(QTextEdit* box, bool editable) {
    view_ = nullptr;
    box_ = box;
    editable_ = editable;
    text_.clear();
    if (!box_) return;
    box_->setAcceptRichText(false);
    box_->clear();
    box_->setReadOnly(!editable);
    box_->setVisible(true);
    box_->document()->setModified(false);
}

void LogPane::append(const QString& entry) {
    text_ += entry;
    if (view_) view_->textAppended();
    if (!box_) return;
    QTextDocument* doc = box_->document();
    if (editable_ && doc->isModified()) {
        // What the user typed into the box goes: the box shows the log again.
        box_->setPlainText(forBox(text_));
    } else {
        QTextCursor end(doc);
        end.movePosition(QTextCursor::End);
        end.insertText(forBox(entry));
    }
    doc->setModified(false);
    box_->moveCursor(QTextCursor::End);
}

void LogPane::clear() {
    text_.clear();
    if (view_) view_->textReset();
    if (box_) {
        box_->clear();
        box_->document()->setModified(false);
    }
}

QString LogPane::boxText() const {
    // An editable box saves what it shows, the user's typing included.
    if (editable_ && box_ && box_->document()->isModified()) {
        QString shown = box_->toPlainText();
        shown.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        return shown;
    }
    return text_;
}

LogPane::SaveOutcome LogPane::save() {
    const QString content = boxText();
    if (content.isEmpty()) return SaveOutcome::NothingToSave;

    core::BusyPointer busy(ctx_.ui());
    core::FileDialogRequest request;
    request.filter = kLogFileFilter;
    request.defaultSuffix = kLogFileSuffix;
    request.initialFolder = core::dialogFolder(ctx_);
    const std::optional<core::FileDialogResult> chosen = ctx_.ui().saveFileDialog(request);
    if (!chosen) return SaveOutcome::Cancelled;
    const QString path = core::withDefaultSuffix(chosen->fullPath.trimmed(), kLogFileSuffix);
    if (path.isEmpty()) return SaveOutcome::Cancelled;

    if (const auto failure = core::writeWholeFile(path, core::singleByteOrMarkedUtf8(content))) {
        ctx_.ui().messageBox(kSaveLogFailedText.arg(QDir::toNativeSeparators(path), *failure),
                             kSaveLogTitle, core::MsgIcon::Exclamation);
        return SaveOutcome::WriteFailed;
    }
    if (const auto recorded = core::recordChosenFolder(ctx_, path); !recorded) {
        ctx_.ui().messageBox(kSaveLogFolderNotRecordedText.arg(recorded.error()), kSaveLogTitle,
                             core::MsgIcon::Exclamation);
    }
    return SaveOutcome::Saved;
}

}  // namespace widgets
