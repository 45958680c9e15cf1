#include "iso14443b/tag_exchange.hpp"

#include <QLineEdit>

#include "core/log_entry.hpp"
#include "core/log_sink.hpp"
#include "core/reconnect.hpp"
#include "iso14443b/answers.hpp"
#include "iso14443b/window_common.hpp"
#include "reader/answer_buffer.hpp"

namespace iso14443b {

bool TagAnswer::good() const { return isGoodAnswer(status, text); }

TagAnswer ExchangeTagFrame(const TagExchangeTarget& target, const std::string& request,
                           const QString& title) {
    reader::AnswerBuffer buffer = reader::AnswerBuffer::blanks();
    TagAnswer answer;
    answer.status = core::callWithReconnect(target.ctx, target.reconnectSetup,
                                            core::OnUnreachable::ReconnectAndRepeat,
                                            reader::ReaderFunction::SendReceive, request, buffer);
    answer.text = QString::fromLatin1(buffer.text());
    const QString requestText = QString::fromLatin1(request.data(), qsizetype(request.size()));
    if (target.requestBox) target.requestBox->setText(requestText);
    if (target.answerBox) target.answerBox->setText(answer.text);
    target.log.appendTitled(title, QLatin1String(core::kLogSendRecv), requestText, answer.text);
    return answer;
}

void SendAnyFrame(const TagExchangeTarget& target, const QString& frame) {
    if (frame.isEmpty()) return;
    const std::string request = frame.toLatin1().toStdString();
    if (!sendableOrBeep(target.ctx, request)) return;
    ExchangeTagFrame(target, request, QStringLiteral("SEND FRAME"));
}

}  // namespace iso14443b
