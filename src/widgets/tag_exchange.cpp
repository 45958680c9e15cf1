#include "widgets/tag_exchange.hpp"

#include <QLineEdit>

#include "core/log_entry.hpp"
#include "core/log_sink.hpp"
#include "core/reconnect.hpp"
#include "reader/answer_buffer.hpp"
#include "transceiver/hex_text.hpp"

namespace widgets {

namespace {

TagAnswer exchange(const TagExchangeTarget& target, const std::string& request) {
    // However long the board takes, the boxes show this exchange's request and no answer
    // yet, never the answer of the exchange before beside it.
    if (target.requestBox) target.requestBox->setText(transceiver::fromLatin1(request));
    if (target.answerBox) target.answerBox->clear();
    reader::AnswerBuffer buffer = reader::AnswerBuffer::blanks();
    TagAnswer answer;
    answer.status = core::callWithReconnect(target.ctx, target.reconnectSetup,
                                            core::OnUnreachable::ReconnectAndRepeat,
                                            reader::ReaderFunction::SendReceive, request, buffer);
    answer.text = transceiver::fromLatin1(buffer.text());
    if (target.answerBox) target.answerBox->setText(answer.text);
    return answer;
}

}  // namespace

TagAnswer exchangeTagFrame(const TagExchangeTarget& target, const std::string& request,
                           const QString& title) {
    TagAnswer answer = exchange(target, request);
    target.log.appendTitled(title, QLatin1String(core::kLogSendRecv),
                            transceiver::fromLatin1(request), answer.text);
    return answer;
}

TagAnswer exchangeTagFrameContinued(const TagExchangeTarget& target, const std::string& request) {
    TagAnswer answer = exchange(target, request);
    target.log.appendContinued(QLatin1String(core::kLogSendRecv), transceiver::fromLatin1(request),
                               answer.text);
    return answer;
}

}  // namespace widgets
