#pragma once

#include <functional>
#include <string_view>

#include "core/protocol_setup.hpp"
#include "reader/answer_buffer.hpp"
#include "reader/reader_library.hpp"

namespace core {

class AppContext;

// The board reconnect every window runs when a call finds the board unreachable: reopen
// the USB link, check it, on success set the transceiver up again, then show the
// outcome in the connection phrase of status-bar panel 1. Returns 0, or 5 when the
// board cannot be reached. Shows no message and writes no log.
reader::LibraryStatus reconnectBoard(AppContext& ctx, BoardSetup setup);

// The procedures by the names the windows know them by.
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect(AppContext& ctx) {
    return reconnectBoard(ctx, BoardSetup::None);
}
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso15693(AppContext& ctx, bool boolSpeed) {
    return reconnectBoard(ctx, iso15693Setup(boolSpeed));
}
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso14443A(AppContext& ctx) {
    return reconnectBoard(ctx, BoardSetup::Iso14443A);
}
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso14443A_TOPAZ(AppContext& ctx) {
    return reconnectBoard(ctx, BoardSetup::Topaz);
}
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso14443B(AppContext& ctx) {
    return reconnectBoard(ctx, BoardSetup::Iso14443B);
}
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso18092(AppContext& ctx) {
    return reconnectBoard(ctx, BoardSetup::Felica);
}
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect_Felica(AppContext& ctx) {
    return reconnectBoard(ctx, BoardSetup::Felica);
}
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect_script_iso14443A(AppContext& ctx) {
    return reconnectBoard(ctx, BoardSetup::ScriptIso14443A);
}
inline reader::LibraryStatus DEMO_TQ73RN_A_reconnect_script_iso14443B(AppContext& ctx) {
    return reconnectBoard(ctx, BoardSetup::ScriptIso14443B);
}

// What a call does when it finds the board unreachable (status 5).
enum class OnUnreachable {
    ReconnectAndRepeat,  // the rule: reconnect, then the same call once more
    ReconnectOnly,       // the script keywords, the run-start echoes, some probe calls
    Nothing,             // start-up detection, some board tools buttons, load register writes
};

// One library call under the reconnect rule. The repeat starts from a buffer filled as
// the caller filled it for the first call, so an answer the failed call left behind is
// never taken for the repeat's. A second 5 is not retried.
reader::LibraryStatus callWithReconnect(
    AppContext& ctx, BoardSetup reconnectSetup, OnUnreachable rule, reader::AnswerBuffer& answer,
    const std::function<reader::LibraryStatus(reader::AnswerBuffer&)>& call);

// The same for a call picked by function and request.
reader::LibraryStatus callWithReconnect(AppContext& ctx, BoardSetup reconnectSetup,
                                        OnUnreachable rule, reader::ReaderFunction function,
                                        std::string_view request, reader::AnswerBuffer& answer);

}  // namespace core
