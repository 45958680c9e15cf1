#include "core/board_calls.hpp"

#include "core/app_context.hpp"
#include "transceiver/hex_text.hpp"

namespace core {

bool BoardCallResult::done() const {
    return status == reader::kStatusOk && answer.startsWith(QLatin1String("00"));
}

BoardCallResult callBoard(AppContext& ctx, reader::ReaderFunction function, OnUnreachable rule) {
    reader::AnswerBuffer buffer;
    BoardCallResult result;
    result.status = callWithReconnect(ctx, BoardSetup::None, rule, function, {}, buffer);
    result.answer = transceiver::fromLatin1(buffer.text());
    return result;
}

}  // namespace core
