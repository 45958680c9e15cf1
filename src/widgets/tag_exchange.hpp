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

namespace widgets {

// What one tag exchange gave: the final status and the answer text (the buffer up to
// its first NUL, as the answer box shows it).
struct TagAnswer {
    reader::LibraryStatus status = reader::kStatusOk;
    QString text;
};

// Where a tag window's exchanges go: its reader under its reconnect procedure, its
// request and answer boxes, its log.
struct TagExchangeTarget {
    core::AppContext& ctx;
    core::BoardSetup reconnectSetup;
    core::LogSink& log;
    QLineEdit* requestBox;
    QLineEdit* answerBox;
};

// The exchange every tag request of the tag windows makes: a fresh buffer of blanks,
// SendRecv, on status 5 the window's reconnect and the same call once more, request and
// answer shown, one titled log entry. The request goes out as given.
TagAnswer exchangeTagFrame(const TagExchangeTarget& target, const std::string& request,
                           const QString& title);
// A further exchange of the same command: shown the same way, its lines continuing the
// command's log entry.
TagAnswer exchangeTagFrameContinued(const TagExchangeTarget& target, const std::string& request);

}  // namespace widgets
