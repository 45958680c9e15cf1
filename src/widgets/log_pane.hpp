#pragma once

#include <QPointer>
#include <QString>
#include <QTextEdit>

#include "core/log_sink.hpp"
#include "widgets/log_view.hpp"

namespace core {
class AppContext;
}

namespace widgets {

// Our own wording for a log that could not be saved (the user must not believe it was).
inline const QString kSaveLogTitle = QStringLiteral("Save Log");
inline const QString kSaveLogFailedText = QStringLiteral("The log could not be saved to %1: %2");
inline const QString kSaveLogFolderNotRecordedText = QStringLiteral(
    "The log was saved, but its folder could not be recorded for the next start: %1");
// The filter of every log file dialog.
inline const QString kLogFileFilter = QStringLiteral("txt File (*.txt)");
// What a name typed without a suffix gets, so that the file shows in that filter.
inline const QString kLogFileSuffix = QStringLiteral("txt");

// A window's log: the whole text of its entries and the box that shows it. Entries are
// appended to the box, never rewritten, so the cost of an entry does not grow with the
// log (a detection loop may run all day).
class LogPane : public core::LogSink {
  public:
    enum class SaveOutcome { NothingToSave, Cancelled, Saved, WriteFailed };

    explicit LogPane(core::AppContext& ctx);
    ~LogPane() override;

    // At the window's load: `view` shows the log from now on, both start empty.
    void attach(LogView* view);
    // The same with a box the user can type into (the board tools' log); the box keeps
    // a copy of the log, so it suits a log that does not run for hours.
    void attach(QTextEdit* box, bool editable);

    // The log as it will be saved, entries separated by CR LF.
    const QString& text() const { return text_; }

    // Appends an entry already laid out; the caret ends after it.
    void append(const QString& entry) override;

    // Clear Log.
    void clear();
    // Save Log: asks for a file and writes the log there as single-byte text; a log
    // holding a character no single byte can carry (a script's comment, say) is written
    // as UTF-8 behind a byte-order mark instead, whole. The file is written before its
    // folder is recorded for the next start, and a failed write is told to the user.
    SaveOutcome save();

  private:
    QString boxText() const;

    core::AppContext& ctx_;
    QPointer<LogView> view_;
    QPointer<QTextEdit> box_;
    bool editable_ = false;
    QString text_;
};

}  // namespace widgets
