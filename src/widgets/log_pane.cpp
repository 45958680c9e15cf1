#include "widgets/log_pane.hpp"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextEdit>

#include "core/app_context.hpp"
#include "core/busy_pointer.hpp"
#include "core/log_entry.hpp"
#include "core/settings_file.hpp"

namespace widgets {

namespace {

// The box keeps paragraphs; the log text keeps the CR LF pairs it is saved with.
QString forBox(const QString& text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

QString folderOf(const QString& fullPath) {
    QString folder = QDir::toNativeSeparators(QFileInfo(fullPath).absolutePath());
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    return folder;
}

}  // namespace

LogPane::LogPane(core::AppContext& ctx) : core::LogSink(ctx.clock()), ctx_(ctx) {}

void LogPane::attach(QTextEdit* box, bool editable) {
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
    request.initialFolder =
        ctx_.values.LastUsedFolder.isEmpty() ? ctx_.programFolder() : ctx_.values.LastUsedFolder;
    const std::optional<core::FileDialogResult> chosen = ctx_.ui().saveFileDialog(request);
    if (!chosen) return SaveOutcome::Cancelled;
    const QString path = chosen->fullPath.trimmed();
    if (path.isEmpty()) return SaveOutcome::Cancelled;

    QSaveFile file(path);
    const QByteArray bytes = content.toLatin1();
    bool written = file.open(QIODevice::WriteOnly);
    if (written && (file.write(bytes) != bytes.size() || !file.flush())) {
        // A commit after a failed write could put a partial log in place of the old file.
        file.cancelWriting();
        written = false;
    }
    written = written && file.commit();
    if (!written) {
        ctx_.ui().messageBox(
            kSaveLogFailedText.arg(QDir::toNativeSeparators(path), file.errorString()),
            kSaveLogTitle, core::MsgIcon::Exclamation);
        return SaveOutcome::WriteFailed;
    }

    const QString folder = folderOf(path);
    // The folder read at start-up may be written with or without its final separator.
    if (QDir::cleanPath(folder) != QDir::cleanPath(ctx_.values.LastUsedFolder)) {
        const auto recorded = core::SaveUsageFile(ctx_, folder, ctx_.values.BackColorSetting);
        if (!recorded) {
            ctx_.ui().messageBox(kSaveLogFolderNotRecordedText.arg(recorded.error()), kSaveLogTitle,
                                 core::MsgIcon::Exclamation);
        }
    }
    return SaveOutcome::Saved;
}

}  // namespace widgets
