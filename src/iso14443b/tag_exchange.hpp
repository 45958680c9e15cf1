#pragma once

#include <QString>
#include <string>

#include "core/protocol_setup.hpp"
#include "reader/reader_library.hpp"

class QLineEdit;

namespace core {
class AppContext;
class LogSink;
}  // namespace core

namespace iso14443b {

// What one tag exchange gave: the final status and the answer text (the buffer up to
// its first NUL, as the answer box shows it).
struct TagAnswer {
    reader::LibraryStatus status = reader::kStatusOk;
    QString text;
    bool good() const;
};

// Where a window's tag exchanges go: its reader under its reconnect procedure, its
// request and answer boxes, its log.
struct TagExchangeTarget {
    core::AppContext& ctx;
    core::BoardSetup reconnectSetup;
    core::LogSink& log;
    QLineEdit* requestBox;
    QLineEdit* answerBox;
};

// The one exchange sequence of every tag request of the two windows: a fresh buffer of
// blanks, SendRecv, on status 5 the window's reconnect and the same call once more,
// request and answer shown, one titled log entry. The request goes out as given.
TagAnswer ExchangeTagFrame(const TagExchangeTarget& target, const std::string& request,
                           const QString& title);

// "Send any frame": the frame as typed, odd digit counts and lower case included; an
// empty frame sends and logs nothing.
void SendAnyFrame(const TagExchangeTarget& target, const QString& frame);

}  // namespace iso14443b
