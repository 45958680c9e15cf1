#include "script/anticol_select.hpp"

#include "core/app_context.hpp"
#include "core/log_entry.hpp"
#include "core/log_sink.hpp"
#include "core/reconnect.hpp"
#include "reader/answer_buffer.hpp"
#include "script/script_log.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/iso14443a_answers.hpp"

namespace script {

namespace {

// One exchange with its titled entry. The buffer starts blank every time, so a call
// that wrote nothing is judged as no answer, never by the answer before it.
QString exchange(core::AppContext& ctx, core::LogSink& log, const std::string& request,
                 const QString& title) {
    reader::AnswerBuffer buffer = reader::AnswerBuffer::blanks();
    core::callWithReconnect(ctx, core::BoardSetup::ScriptIso14443A,
                            core::OnUnreachable::ReconnectOnly, reader::ReaderFunction::SendReceive,
                            request, buffer);
    QString answer = answerText(buffer);
    log.append(core::log_entry::titled(ctx.clock().now(), title, QLatin1String(core::kLogSendRecv),
                                       QString::fromStdString(request), answer));
    return answer;
}

bool frameReceived(const QString& answer) {
    return answer.startsWith(QLatin1String(transceiver::kResultFrame));
}

}  // namespace

RunEnd RunAnticolSelect123(core::AppContext& ctx, RunHost& host) {
    core::LogSink& log = host.log();
    log.append(log_entry::anticollisionStart(ctx.clock().now()));

    const QString reqaTitle = QStringLiteral("ISO14443-A REQA");
    // A tag left selected by an earlier pass ignores the first REQA and falls back to
    // idle: the second one wakes it.
    if (!frameReceived(exchange(ctx, log, transceiver::reqaRequest(), reqaTitle)) &&
        !frameReceived(exchange(ctx, log, transceiver::reqaRequest(), reqaTitle))) {
        log.append(log_entry::anticollisionEnd());
        return RunEnd::Completed;
    }
    if (host.pumpEnds(1)) return RunEnd::Abandoned;

    QString uid;
    for (int level = 1; level <= transceiver::kCascadeLevels; ++level) {
        const QString n = QString::number(level);
        const QString anticol = exchange(ctx, log, transceiver::anticollisionRequest(level),
                                         QStringLiteral("ISO14443-A ANTICOL ") + n);
        const transceiver::AnticollisionAnswer part =
            transceiver::decodeAnticollisionAnswer(anticol.toStdString());
        // A short answer holds no whole UID part: a SELECT of it would select nothing, and
        // the UID shown would be wrong.
        if (!part.frameReceived || !part.complete) return RunEnd::Completed;
        uid += QString::fromStdString(part.uidPiece);

        const QString selected = exchange(ctx, log, transceiver::selectRequest(level, part.uidPart),
                                          QStringLiteral("ISO14443-A SELECT ") + n);
        if (!frameReceived(selected)) return RunEnd::Completed;
        if (level == transceiver::kCascadeLevels) break;
        if (host.pumpEnds(1)) return RunEnd::Abandoned;
        if (!transceiver::cascadeContinues(level, part)) break;
        if (host.pumpEnds(1)) return RunEnd::Abandoned;
    }

    if (host.pumpEnds(2)) return RunEnd::Abandoned;
    log.append(log_entry::anticollisionResult(uid));
    log.append(log_entry::anticollisionEnd());
    return RunEnd::Completed;
}

}  // namespace script
