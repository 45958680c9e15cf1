#include "script/interpreter.hpp"

#include <algorithm>

#include "core/app_context.hpp"
#include "core/log_sink.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "reader/answer_buffer.hpp"
#include "script/anticol_select.hpp"
#include "script/language.hpp"
#include "script/script_log.hpp"
#include "transceiver/hex_text.hpp"
#include "transceiver/sola_answers.hpp"

namespace script {

namespace {

const QString kLineEnd = QStringLiteral("\n");

// One pass after each accepted data character, in bursts the run helpers take as
// passes rather than as a timed pause.
bool pumpEachCharacter(RunHost& host, int characters) {
    while (characters > 0) {
        const int burst = std::min(characters, core::kMaxDirectPumpPasses);
        if (host.pumpEnds(burst)) return true;
        characters -= burst;
    }
    return false;
}

// WAIT: its count of passes, a long count as a timed pause taken in slices.
bool waitEnds(RunHost& host, int passes) {
    if (passes <= core::kMaxDirectPumpPasses) return host.pumpEnds(passes);
    for (int ms = core::timedPauseMs(passes); ms > 0; ms -= kWaitSliceMs) {
        if (host.pauseEnds(std::min(ms, kWaitSliceMs))) return true;
    }
    return false;
}

// The chip ID an INITIATE leaves: characters 5 and 6 of the buffer itself, where a tag's
// answer has its first byte. They are read from the buffer, not from the answer text, so
// an INITIATE that found no chip shows what its buffer holds there (the blanks it was
// filled with) instead of the chip of an earlier tag. The NUL that ends a shorter answer
// is shown as a blank: a log holds no NUL.
QString chipIdOfBuffer(const reader::AnswerBuffer& buffer) {
    QString id;
    for (const char c : {buffer.data()[4], buffer.data()[5]}) {
        id += c == '\0' ? QLatin1Char(' ') : QLatin1Char(c);
    }
    return id;
}

class Pass {
  public:
    Pass(core::AppContext& ctx, RunHost& host) : ctx_(ctx), host_(host) {}

    // One cleaned, non-blank line. Completed when the run goes on with the next line.
    RunEnd carryOut(const QString& cleaned, const CheckedLine& line);

  private:
    RunEnd fail(const QString& cleaned, ScriptError error) {
        host_.log().append(log_entry::error(now(), cleaned, errorMessage(error)));
        return RunEnd::ScriptError;
    }
    RunEnd call(const CheckedLine& line);
    QDateTime now() const { return ctx_.clock().now(); }

    core::AppContext& ctx_;
    RunHost& host_;
};

RunEnd Pass::carryOut(const QString& cleaned, const CheckedLine& line) {
    if (pumpEachCharacter(host_, line.acceptedDataCharacters)) return RunEnd::Abandoned;
    if (line.error) {
        if (*line.error == ScriptError::CommandNotRecognized && host_.pumpEnds(1)) {
            return RunEnd::Abandoned;
        }
        return fail(cleaned, *line.error);
    }
    switch (line.spec->keyword) {
        case Keyword::Rem:
            host_.log().append(log_entry::comment(now(), line.hasData ? &line.data : nullptr));
            return RunEnd::Completed;
        case Keyword::Wait:
            host_.log().append(log_entry::wait(now(), line.data));
            return waitEnds(host_, line.waitValue + 1) ? RunEnd::Abandoned : RunEnd::Completed;
        case Keyword::AnticolSelect123:
            return RunAnticolSelect123(ctx_, host_);
        default:
            break;
    }
    const RunEnd end = call(line);
    if (end == RunEnd::Completed && line.spec->keyword == Keyword::GetInterfacePinState) {
        return fail(cleaned, ScriptError::NotYetImplemented);
    }
    return end;
}

RunEnd Pass::call(const CheckedLine& line) {
    const KeywordSpec& spec = *line.spec;
    reader::ReaderLibrary& board = ctx_.reader();
    core::LogSink& log = host_.log();
    switch (spec.keyword) {
        case Keyword::UsbConnect:
            log.append(log_entry::callWithoutData(now(), line.keyword,
                                                  log_entry::usbConnectAnswer(board.usbConnect())));
            return RunEnd::Completed;
        case Keyword::UsbHandleCheck:
            log.append(log_entry::callWithoutData(
                now(), line.keyword, log_entry::usbHandleCheckAnswer(board.usbHandleCheck())));
            return RunEnd::Completed;
        default:
            break;
    }

    QString& chipId = ctx_.values.SolaChipId;
    std::string request;
    switch (spec.keyword) {
        case Keyword::Select:
        case Keyword::SendRecv:
        case Keyword::KvCmd:
            request = line.data.toStdString();
            break;
        case Keyword::SolaInitiate:
            request = std::string(transceiver::kSolaInitiate);
            break;
        case Keyword::SolaSelect:
            // The blanks of an INITIATE that named no chip are not sent as a chip ID.
            request = transceiver::withoutBlanks(
                transceiver::solaSelectRequest(chipId.toLatin1().toStdString()));
            break;
        default:
            break;
    }

    reader::AnswerBuffer buffer = reader::AnswerBuffer::blanks();
    const core::BoardSetup setup = spec.reconnect == Reconnect::Iso14443B
                                       ? core::BoardSetup::ScriptIso14443B
                                       : core::BoardSetup::None;
    const core::OnUnreachable rule = spec.reconnect == Reconnect::None
                                         ? core::OnUnreachable::Nothing
                                         : core::OnUnreachable::ReconnectOnly;
    core::callWithReconnect(ctx_, setup, rule, *spec.function, request, buffer);
    const QString answer = answerText(buffer);

    switch (spec.keyword) {
        case Keyword::Select:
        case Keyword::SendRecv:
            log.append(log_entry::callWithData(now(), line.keyword, line.data, answer));
            break;
        case Keyword::KvCmd:
            log.append(log_entry::rawCommand(now(), line.keyword, line.data, answer));
            break;
        case Keyword::SolaInitiate:
            chipId = chipIdOfBuffer(buffer);
            log.append(log_entry::initiate(now(), line.keyword, answer, chipId));
            break;
        case Keyword::SolaSelect:
            log.append(log_entry::select(now(), line.keyword, chipId, answer));
            break;
        default:
            log.append(log_entry::callWithoutData(now(), line.keyword, answer));
            break;
    }
    return RunEnd::Completed;
}

}  // namespace

QString answerText(const reader::AnswerBuffer& buffer) {
    if (!buffer.hasNul()) return {};
    const std::string text = buffer.text();
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList runLines(const QStringList& editorLines) {
    QStringList items;
    const qsizetype count = editorLines.size() > 1 && editorLines.back().isEmpty()
                                ? editorLines.size() - 1
                                : editorLines.size();
    for (qsizetype i = 0; i < count; ++i) {
        items.append(i == 0 ? editorLines[i] : kLineEnd + editorLines[i]);
    }
    return items;
}

RunEnd runScript(core::AppContext& ctx, const QStringList& editorLines, RunHost& host) {
    // Cleaning rewrites the list: a later pass reads the cleaned lines, so a blank line
    // is logged in the first pass only.
    QStringList items = runLines(editorLines);
    Pass pass(ctx, host);
    for (;;) {
        for (QString& item : items) {
            const bool blankLine = item == kLineEnd;
            const CleanedLine cleaned = cleanLine(item);
            item = cleaned.text;
            if (cleaned.beginsWithRem && host.pumpEnds(1)) return RunEnd::Abandoned;
            const CheckedLine line = checkLine(item);
            if (line.blank) {
                if (blankLine) host.log().append(log_entry::blankLine());
            } else if (const RunEnd end = pass.carryOut(item, line); end != RunEnd::Completed) {
                return end;
            }
            if (host.pumpEnds(1)) return RunEnd::Abandoned;
        }
        if (ctx.values.ScriptLoopEnabled) host.countPass();
        if (host.pumpEnds(1)) return RunEnd::Abandoned;
        if (!ctx.values.ScriptLoopEnabled) return RunEnd::Completed;
    }
}

}  // namespace script
