#pragma once

#include <QString>

#include "core/log_entry.hpp"
#include "core/reconnect.hpp"
#include "reader/reader_library.hpp"

namespace core {

class AppContext;

// A board call that takes no request (echo, pulses, revisions, identification...),
// made under the reconnect rule.
struct BoardCallResult {
    reader::LibraryStatus status = reader::kStatusOk;
    QString answer;
    // The board did what was asked: status 0 and an answer that begins "00". A window
    // lets pending events run once more before it logs any other outcome.
    bool done() const;
};

BoardCallResult callBoard(AppContext& ctx, reader::ReaderFunction function, OnUnreachable rule);

// The board calls the console and the board tools both offer, by the name they are logged
// under.
struct BoardCall {
    reader::ReaderFunction function;
    const char* logName;
};
inline constexpr BoardCall kEchoCall{reader::ReaderFunction::Echo, kLogEcho};
inline constexpr BoardCall kIrqPulseCall{reader::ReaderFunction::SendIrqPulse, kLogPulseIrqIn};
inline constexpr BoardCall kNssPulseCall{reader::ReaderFunction::SendNssPulse, kLogNssPulse};

}  // namespace core
