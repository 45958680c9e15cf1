#pragma once

#include <QString>

namespace core {

class Clock;

// Where a procedure writes its log entries: a window's log. The entry layouts are the
// same for every window; only where the text goes differs.
class LogSink {
  public:
    explicit LogSink(const Clock& clock) : clock_(clock) {}
    virtual ~LogSink() = default;
    LogSink(const LogSink&) = delete;
    LogSink& operator=(const LogSink&) = delete;

    // Appends an entry already laid out.
    virtual void append(const QString& entry) = 0;

    void appendTitled(const QString& title, const QString& logName, const QString& request,
                      const QString& answer);
    void appendContinued(const QString& logName, const QString& request, const QString& answer);
    void appendUntitled(const QString& logName, const QString& request, const QString& answer);
    void appendUntitled(const QString& logName, const QString& answer);
    void appendBoardTools(const QString& logName, const QString& answer);
    void appendProgress(const QString& text);

  private:
    const Clock& clock_;
};

}  // namespace core
