#include "core/reconnect.hpp"

#include "core/app_context.hpp"
#include "core/status_bar.hpp"
#include "transceiver/frames.hpp"

namespace core {

namespace {

// Panel 1 says what the last reconnect found. The phrase is swapped in place; an empty
// panel (the start-up detection failed) gets the outcome's phrase, or it would never
// tell the user that the board came back. Other text in the panel is not ours to add to.
void showOutcome(AppContext& ctx, bool connected) {
    StatusBarService& bar = ctx.statusBar();
    const QString from =
        QLatin1String(connected ? kBoardNotConnectedPhrase : kBoardConnectedPhrase);
    const QString to = QLatin1String(connected ? kBoardConnectedPhrase : kBoardNotConnectedPhrase);
    QString text = bar.panelText(1);
    if (text.isEmpty()) {
        text = to;
    } else {
        text.replace(from, to);
    }
    bar.setPanelText(1, text);
}

}  // namespace

reader::LibraryStatus reconnectBoard(AppContext& ctx, BoardSetup setup) {
    reader::ReaderLibrary& board = ctx.reader();
    board.usbConnect();
    if (board.usbHandleCheck() != reader::kStatusOk) {
        showOutcome(ctx, false);
        return reader::kStatusUnreachable;
    }
    const ProtocolSetup s = protocolSetupFor(setup, ctx.values.DemodGainValue);
    if (!s.select.empty()) {
        reader::AnswerBuffer scratch;
        board.select(s.select, scratch);
    }
    for (const std::string& frame : s.registerWrites) {
        reader::AnswerBuffer scratch;
        board.kvCmd(transceiver::transceiverRequest(frame), scratch);
    }
    showOutcome(ctx, true);
    return reader::kStatusOk;
}

reader::LibraryStatus callWithReconnect(
    AppContext& ctx, BoardSetup reconnectSetup, OnUnreachable rule, reader::AnswerBuffer& answer,
    const std::function<reader::LibraryStatus(reader::AnswerBuffer&)>& call) {
    const reader::AnswerBuffer prefilled = answer;
    reader::LibraryStatus status = call(answer);
    if (status != reader::kStatusUnreachable || rule == OnUnreachable::Nothing) return status;
    reconnectBoard(ctx, reconnectSetup);
    if (rule == OnUnreachable::ReconnectOnly) return status;
    answer = prefilled;
    return call(answer);
}

reader::LibraryStatus callWithReconnect(AppContext& ctx, BoardSetup reconnectSetup,
                                        OnUnreachable rule, reader::ReaderFunction function,
                                        std::string_view request, reader::AnswerBuffer& answer) {
    const std::string req(request);
    return callWithReconnect(ctx, reconnectSetup, rule, answer, [&](reader::AnswerBuffer& a) {
        return ctx.reader().call(function, req, a);
    });
}

}  // namespace core
