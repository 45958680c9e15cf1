#include "iso15693/tag_link.hpp"

#include <QLineEdit>

#include "core/app_context.hpp"
#include "core/log_entry.hpp"
#include "core/log_sink.hpp"
#include "core/protocol_setup.hpp"
#include "core/reconnect.hpp"
#include "reader/answer_buffer.hpp"

namespace iso15693 {

namespace {

const QString kNormalTitle =
    QStringLiteral("TQ73RN CONFIGURATION : ISO15693 10% High Datarate One Subcarrier");
const QString kFastTitle = kNormalTitle + QStringLiteral(" FAST READ");
const QString kSendFrameTitle = QStringLiteral("SEND FRAME");

std::string selectRequest(bool fast) {
    return core::protocolSetupFor(core::iso15693Setup(fast), QString()).select;
}

QString qs(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void TagLink::setBoxes(QLineEdit* request, QLineEdit* answer, QLineEdit* fastAnswer) {
    request_ = request;
    answer_ = answer;
    fastAnswer_ = fastAnswer;
}

void TagLink::showRequest(const QString& request) {
    if (request_) request_->setText(request);
    if (answer_) answer_->setText(QString());
}

void TagLink::showAnswer(const QString& answer) {
    if (answer_) answer_->setText(answer);
}

void TagLink::logExchange(const QString& title, const char* logName, const QString& request,
                          const QString& answer) {
    log_.appendTitled(title, QLatin1String(logName), request, answer);
}

Exchange TagLink::send(const std::string& request, const QString& title, bool boolSpeed,
                       const Pause& pause) {
    showRequest(qs(request));
    Exchange x;
    auto buffer = reader::AnswerBuffer::blanks();
    x.status = core::callWithReconnect(ctx_, core::iso15693Setup(boolSpeed),
                                       core::OnUnreachable::ReconnectAndRepeat,
                                       reader::ReaderFunction::SendReceive, request, buffer);
    const std::string answer = buffer.text();
    x.answer = qs(answer);
    if (pause && pause()) {
        x.abandoned = true;
        return x;
    }
    showAnswer(x.answer);
    logExchange(title, core::kLogSendRecv, qs(request), x.answer);
    x.tag = checkAnswer(x.status, answer);
    if (!x.tag.crcVerdict.isEmpty()) log_.append(x.tag.crcVerdict);
    return x;
}

Exchange TagLink::sendFrame(const QString& typed) {
    Exchange x;
    auto buffer = reader::AnswerBuffer::blanks();
    // The frame goes as the box holds it: the box has dropped the blanks of a pasted one.
    const std::string request = typed.toLatin1().toStdString();
    showRequest(typed);
    x.status = core::callWithReconnect(ctx_, core::BoardSetup::Iso15693,
                                       core::OnUnreachable::ReconnectAndRepeat,
                                       reader::ReaderFunction::SendReceive, request, buffer);
    x.answer = qs(buffer.text());
    showAnswer(x.answer);
    logExchange(kSendFrameTitle, core::kLogSendRecv, typed, x.answer);
    return x;
}

Exchange TagLink::sendFirmware(const std::string& request, const QString& title,
                               const Pause& pause) {
    showRequest(qs(request));
    Exchange x;
    auto buffer = reader::AnswerBuffer::blanks();
    x.status = core::callWithReconnect(ctx_, core::BoardSetup::Iso15693,
                                       core::OnUnreachable::ReconnectAndRepeat,
                                       reader::ReaderFunction::KvCmd, request, buffer);
    x.answer = qs(buffer.text());
    if (pause && pause()) {
        x.abandoned = true;
        return x;
    }
    showAnswer(x.answer);
    logExchange(title, core::kLogKvCmd, qs(request), x.answer);
    return x;
}

bool TagLink::selectFast() {
    auto buffer = reader::AnswerBuffer::blanks();
    const std::string request = selectRequest(true);
    const reader::LibraryStatus status = ctx_.reader().select(request, buffer);
    bool tookEffect = status == reader::kStatusOk;
    if (status == reader::kStatusUnreachable) {
        tookEffect = core::DEMO_TQ73RN_A_reconnect_iso15693(ctx_, true) == reader::kStatusOk;
    }
    const QString answer = qs(buffer.text());
    if (fastAnswer_) fastAnswer_->setText(answer);
    logExchange(kFastTitle, core::kLogSelect, qs(request), answer);
    return tookEffect;
}

void TagLink::selectNormal() {
    auto buffer = reader::AnswerBuffer::blanks();
    const std::string request = selectRequest(false);
    core::callWithReconnect(ctx_, core::BoardSetup::Iso15693,
                            core::OnUnreachable::ReconnectAndRepeat, reader::ReaderFunction::Select,
                            request, buffer);
    const QString answer = qs(buffer.text());
    if (fastAnswer_) fastAnswer_->setText(answer);
    logExchange(kNormalTitle, core::kLogSelect, qs(request), answer);
}

}  // namespace iso15693
