#include "core/log_sink.hpp"

#include "core/clock.hpp"
#include "core/log_entry.hpp"

namespace core {

void LogSink::appendTitled(const QString& title, const QString& logName, const QString& request,
                           const QString& answer) {
    append(log_entry::titled(clock_.now(), title, logName, request, answer));
}

void LogSink::appendContinued(const QString& logName, const QString& request,
                              const QString& answer) {
    append(log_entry::continued(logName, request, answer));
}

void LogSink::appendUntitled(const QString& logName, const QString& request,
                             const QString& answer) {
    append(log_entry::untitledWithRequest(clock_.now(), logName, request, answer));
}

void LogSink::appendUntitled(const QString& logName, const QString& answer) {
    append(log_entry::untitledWithoutRequest(clock_.now(), logName, answer));
}

void LogSink::appendBoardTools(const QString& logName, const QString& answer) {
    append(log_entry::boardTools(clock_.now(), logName, answer));
}

void LogSink::appendProgress(const QString& text) {
    append(log_entry::progressLine(clock_.now(), text));
}

}  // namespace core
