#include "core/echo_handshake.hpp"

#include <array>

#include "core/app_context.hpp"
#include "core/log_entry.hpp"
#include "core/log_sink.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "transceiver/frames.hpp"

namespace core {

namespace {

struct EchoResult {
    reader::LibraryStatus status;
    QString answer;
};

EchoResult echoStep(AppContext& ctx, EchoCaller caller, BoardSetup reconnectSetup, LogSink& log,
                    const ShowText& showAnswer, const ShowEchoStart& showEchoStart) {
    if (showEchoStart) showEchoStart();
    reader::AnswerBuffer buffer;
    const OnUnreachable rule = caller == EchoCaller::Load ? OnUnreachable::ReconnectAndRepeat
                                                          : OnUnreachable::ReconnectOnly;
    const reader::LibraryStatus status =
        callWithReconnect(ctx, reconnectSetup, rule, buffer,
                          [&](reader::AnswerBuffer& a) { return ctx.reader().echo(a); });
    const QString answer = QString::fromLatin1(buffer.text());
    if (showAnswer) showAnswer(answer);
    log.appendUntitled(QLatin1String(kLogEcho), answer);
    return {status, answer};
}

struct LoadSetupTitles {
    const char* select;
    std::array<const char*, 3> writes;
    const char* writeLogName;
};

LoadSetupTitles titlesFor(BoardSetup setup) {
    switch (setup) {
        case BoardSetup::Topaz:
            return {"TQ73RN CONFIGURATION : TOPAZ (ISO14443-A) protocol",
                    {"ISO14443-A TOPAZ : CONFIG", "ISO14443-A TOPAZ : INCREASE DEMOD GAIN",
                     "ISO14443-A TOPAZ : INCREASE DEC TOLERANCE"},
                    kLogKvCmdRegister};
        case BoardSetup::Iso14443A:
            return {"TQ73RN CONFIGURATION : ISO14443-A protocol",
                    {"ISO14443-A : CONFIG", "ISO14443-A : INCREASE DEMOD GAIN",
                     "ISO14443-A : INCREASE DEC TOLERANCE"},
                    kLogKvCmdRegister};
        case BoardSetup::Iso14443B:
            return {"TQ73RN CONFIGURATION : ISO14443-B protocol",
                    {"TQ73RN CONFIGURATION : INCREASE DEMOD GAIN", nullptr, nullptr},
                    kLogKvCmd};
        case BoardSetup::Felica:
            return {"TQ73RN CONFIGURATION : ISO18092 protocol",
                    {"TQ73RN CONFIGURATION : Index modulation & Gain adjust",
                     "TQ73RN CONFIGURATION : Auto FDet", nullptr},
                    kLogKvCmd};
        case BoardSetup::Iso15693:
        default:
            return {"TQ73RN CONFIGURATION : ISO15693 10% High Datarate One Subcarrier",
                    {nullptr, nullptr, nullptr},
                    kLogKvCmd};
    }
}

}  // namespace

bool EchoHandshake(RunScope& run, EchoCaller caller, BoardSetup reconnectSetup, LogSink& log,
                   const ShowText& showAnswer, const ShowEchoStart& showEchoStart) {
    AppContext& ctx = run.ctx();
    const auto step = [&] {
        return echoStep(ctx, caller, reconnectSetup, log, showAnswer, showEchoStart);
    };
    const EchoResult first = step();
    if (first.status == reader::kStatusOk) {
        if (!first.answer.startsWith(QLatin1String("5500"))) step();
        return run.pumpEnds();
    }
    if (run.pumpEnds()) return true;
    step();
    return false;
}

void sendLoadSetup(AppContext& ctx, BoardSetup setup, LogSink& log, const ShowText& clearRequest,
                   const ShowText& showAnswer) {
    const ProtocolSetup s = protocolSetupFor(setup, ctx.values.DemodGainValue);
    if (s.select.empty()) return;
    const LoadSetupTitles titles = titlesFor(setup);

    reader::AnswerBuffer selectAnswer;
    callWithReconnect(ctx, setup, OnUnreachable::ReconnectAndRepeat, selectAnswer,
                      [&](reader::AnswerBuffer& a) { return ctx.reader().select(s.select, a); });
    const QString answer = QString::fromLatin1(selectAnswer.text());
    if (clearRequest) clearRequest(QString());
    if (showAnswer) showAnswer(answer);
    log.appendTitled(QLatin1String(titles.select), QLatin1String(kLogSelect),
                     QString::fromStdString(s.select), answer);

    for (std::size_t i = 0; i < s.registerWrites.size(); ++i) {
        const std::string& frame = s.registerWrites[i];
        reader::AnswerBuffer writeAnswer;
        ctx.reader().kvCmd(transceiver::transceiverRequest(frame), writeAnswer);
        const char* title = i < titles.writes.size() ? titles.writes[i] : nullptr;
        log.appendTitled(QLatin1String(title ? title : ""), QLatin1String(titles.writeLogName),
                         QStringLiteral("01 ") + QString::fromStdString(frame),
                         QString::fromLatin1(writeAnswer.text()));
    }
}

}  // namespace core
