#include "detection/probes.hpp"

#include <span>

#include "core/app_context.hpp"
#include "core/echo_handshake.hpp"
#include "core/log_entry.hpp"
#include "core/log_sink.hpp"
#include "core/protocol_setup.hpp"
#include "core/run_guard.hpp"
#include "detection/answer_shapes.hpp"
#include "transceiver/felica_answers.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/iso14443a_answers.hpp"
#include "transceiver/iso14443b_answers.hpp"
#include "transceiver/iso15693_answers.hpp"
#include "transceiver/sola_answers.hpp"

namespace detection {

namespace {

using core::BoardSetup;
using core::OnUnreachable;
using reader::ReaderFunction;

constexpr char kTitleIso15693Setup[] =
    "TQ73RN CONFIGURATION : ISO15693 High Datarate One Subcarrier";
constexpr char kTitleInventory[] = "INVENTORY";
constexpr char kTitleIso14443BSelect[] = "TQ73RN CONFIGURATION : ISO14443-B protocol";
constexpr char kTitleIso14443BWrite[] = "TQ73RN CONFIGURATION : DEMO GAIN";
constexpr char kTitleInitiate[] = "INITIATE";
constexpr char kTitlePcall16[] = "PCALL16";
constexpr char kTitleReqb[] = "REQB";
// The select, then the register writes of a set-up, in the order they are sent.
constexpr const char* kTitlesIso14443ASetUp[] = {
    "TQ73RN CONFIGURATION : ISO14443-A protocol",
    "TQ73RN CONFIGURATION : ", "TQ73RN INCREASE DEMO GAIN : ", "TQ73RN INCREASE DEC TOLERANCE : "};
constexpr char kTitleReqa[] = "ISO14443-A REQA";
constexpr const char* kTitlesFelicaSetUp[] = {"TQ73RN CONFIGURATION : FELICA mode",
                                              "TQ73RN CONFIGURATION : IndexMod & Gain",
                                              "TQ73RN CONFIGURATION : Auto FDet"};
constexpr char kTitleReqc[] = "REQC";
constexpr char kTitleRfOff[] = "TQ73RN RF OFF";

constexpr char kUidPrefix[] = "UID = ";
constexpr char kChipIdPrefix[] = "Chip ID = ";

QString qs(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
std::string latin1(const QString& s) { return s.toLatin1().toStdString(); }

bool isFrame(const QString& answer) { return answer.startsWith(QLatin1String("80")); }

// A register write as the raw call takes it, and as the log shows it.
std::string rawWrite(const std::string& frame) { return transceiver::transceiverRequest(frame); }
QString loggedWrite(const std::string& frame) { return QStringLiteral("01 ") + qs(frame); }

}  // namespace

QString slotLabel(const QString& boxText) { return boxText.left(4); }

void cutSlots(ProbeSink& sink) {
    for (int i = 0; i < kSlotBoxes; ++i) sink.setSlot(i, slotLabel(sink.slot(i)));
}

bool runStartEcho(core::RunScope& run, ProbeSink& sink, core::LogSink& log) {
    return core::EchoHandshake(
        run, core::EchoCaller::Run, core::BoardSetup::None, log,
        [&sink](const QString& a) { sink.setAnswer(a); },
        [&sink] {
            sink.setRequest({});
            sink.setAnswer({});
        });
}

void Probes::showExchangeStart(const QString& request) {
    sink_.setRequest(request);
    sink_.setAnswer({});
}

Probes::Exchange Probes::call(BoardSetup reconnectSetup, OnUnreachable rule,
                              ReaderFunction function, const std::string& request) const {
    // Every call starts from a blank buffer: an answer that a failed call leaves unwritten
    // never shows the previous exchange's answer.
    reader::AnswerBuffer buffer = reader::AnswerBuffer::blanks();
    Exchange e;
    e.status = core::callWithReconnect(run_.ctx(), reconnectSetup, rule, function, request, buffer);
    e.answer = qs(buffer.text());
    return e;
}

void Probes::log(bool boolLog, const char* title, const char* logName, const QString& request,
                 const QString& answer) {
    if (!boolLog) return;
    sink_.log().appendTitled(QString::fromLatin1(title), QString::fromLatin1(logName), request,
                             answer);
}

int Probes::finish(int count) { return run_.pumpEnds() ? 0 : count; }

// ---- ISO15693 -------------------------------------------------------------------------

int Probes::ProbeISO15693(bool boolLog, bool boolConfigure) {
    if (policy_.clearResultsFirst) sink_.setResult(ResultBox::Iso15693, {});
    if (boolConfigure) {
        // A reconnect sends this select itself: it is not repeated.
        const std::string select =
            core::protocolSetupFor(BoardSetup::Iso15693, run_.ctx().values.DemodGainValue).select;
        // The set-up's exchange shows no request.
        showExchangeStart({});
        const Exchange e = call(BoardSetup::Iso15693, OnUnreachable::ReconnectOnly,
                                ReaderFunction::Select, select);
        sink_.setAnswer(e.answer);
        log(boolLog, kTitleIso15693Setup, core::kLogSelect, qs(select), e.answer);
        sink_.setRequest({});
        sink_.setAnswer({});
    }

    Exchange e;
    if (pumpedExchange(boolLog, {BoardSetup::Iso15693, OnUnreachable::ReconnectAndRepeat, false},
                       std::string(transceiver::kIso15693InventoryOneSlot),
                       QLatin1String(kTitleInventory), e)) {
        return 0;
    }

    const std::string answer = latin1(e.answer);
    transceiver::Iso15693Inventory inventory =
        transceiver::decodeIso15693Inventory(e.status, answer);
    if (!isInventoryAnswer(answer)) inventory.count = transceiver::Iso15693Inventory::None;
    // The verdict ends the entry's answer line.
    if (boolLog && !inventory.verdict.empty()) sink_.log().append(qs(inventory.verdict));
    sink_.setResult(ResultBox::Iso15693, inventory.count == transceiver::Iso15693Inventory::Found
                                             ? QLatin1String(kUidPrefix) + qs(inventory.uid)
                                             : QString());
    return inventory.count;
}

// ---- ISO14443-B -----------------------------------------------------------------------

bool Probes::sendIso14443BSetup(bool boolLog) {
    const core::ProtocolSetup setup =
        core::protocolSetupFor(BoardSetup::Iso14443B, run_.ctx().values.DemodGainValue);

    showExchangeStart(qs(setup.select));
    if (run_.pumpEnds()) return true;
    Exchange e = call(BoardSetup::Iso14443B, OnUnreachable::ReconnectAndRepeat,
                      ReaderFunction::Select, setup.select);
    if (run_.pumpEnds()) return true;
    sink_.setAnswer(e.answer);
    log(boolLog, kTitleIso14443BSelect, core::kLogSelect, qs(setup.select), e.answer);
    sink_.setRequest({});
    sink_.setAnswer({});

    for (const std::string& frame : setup.registerWrites) {
        showExchangeStart(qs(rawWrite(frame)));
        if (run_.pumpEnds()) return true;
        e = call(BoardSetup::Iso14443B, OnUnreachable::ReconnectAndRepeat, ReaderFunction::KvCmd,
                 rawWrite(frame));
        sink_.setAnswer(e.answer);
        log(boolLog, kTitleIso14443BWrite, core::kLogKvCmd, loggedWrite(frame), e.answer);
        sink_.setRequest({});
        sink_.setAnswer({});
    }
    return false;
}

bool Probes::pumpedExchange(bool boolLog, const PumpedCall& how, const std::string& request,
                            const QString& title, Exchange& out) {
    if (how.showRequestFirst) showExchangeStart(qs(request));
    if (run_.pumpEnds()) return true;
    if (!how.showRequestFirst) showExchangeStart(qs(request));
    out = call(how.reconnectSetup, how.rule, ReaderFunction::SendReceive, request);
    if (run_.pumpEnds()) return true;
    sink_.setAnswer(out.answer);
    if (boolLog) {
        sink_.log().appendTitled(title, QLatin1String(core::kLogSendRecv), qs(request), out.answer);
    }
    return false;
}

int Probes::ProbeISO14443BInitiate(bool boolLog, bool boolConfigure) {
    if (policy_.clearResultsFirst) cutSlots(sink_);
    if (boolConfigure && sendIso14443BSetup(boolLog)) return 0;
    if (policy_.clearResultsFirst) cutSlots(sink_);

    // INITIATE's own answer is not counted: every tag answers it, and the tag of slot 0
    // answers PCALL16 again, alone.
    const PumpedCall sola{BoardSetup::Iso14443B, OnUnreachable::ReconnectAndRepeat, true};
    Exchange e;
    if (pumpedExchange(boolLog, sola, std::string(transceiver::kSolaInitiate),
                       QLatin1String(kTitleInitiate), e)) {
        return 0;
    }
    int count = 0;
    for (int slot = 0; slot < kSlotBoxes; ++slot) {
        // A tag whose chip ID ends in 0 answers PCALL16 and no slot marker.
        const bool pcall = slot == 0;
        const std::string request = pcall ? std::string(transceiver::kSolaPcall16)
                                          : transceiver::solaSlotMarkerRequest(slot);
        const QString title =
            pcall ? QLatin1String(kTitlePcall16) : QStringLiteral("SLOT MARKER (%1)").arg(slot);
        if (pumpedExchange(boolLog, sola, request, title, e)) return 0;
        const std::string answer = latin1(e.answer);
        if (const auto chipId =
                isChipIdAnswer(answer) ? transceiver::solaChipId(answer) : std::nullopt) {
            sink_.setSlot(slot,
                          slotLabel(sink_.slot(slot)) + QLatin1String(kChipIdPrefix) + qs(*chipId));
            ++count;
        } else if (!policy_.clearResultsFirst) {
            sink_.setSlot(slot, slotLabel(sink_.slot(slot)));
        }
    }
    return finish(count);
}

int Probes::ProbeISO14443BReqB(bool boolLog, bool boolConfigure) {
    if (boolConfigure && sendIso14443BSetup(boolLog)) return 0;
    if (policy_.clearResultsFirst) sink_.setResult(ResultBox::Iso14443BCard, {});

    const std::string request = transceiver::reqbRequest();
    showExchangeStart(qs(request));
    const Exchange e = call(BoardSetup::Iso14443B, OnUnreachable::ReconnectAndRepeat,
                            ReaderFunction::SendReceive, request);
    sink_.setAnswer(e.answer);
    log(boolLog, kTitleReqb, core::kLogSendRecv, qs(request), e.answer);

    const std::string answer = latin1(e.answer);
    const bool hit = transceiver::isReqbHit(answer) && isAtqbAnswer(answer);
    // A hit too short to hold a frame shows nothing rather than an earlier card's.
    sink_.setResult(ResultBox::Iso14443BCard, hit ? qs(transceiver::reqbFrame(answer)) : QString());
    return finish(hit ? 1 : 0);
}

// ---- ISO14443-A and FeliCa ------------------------------------------------------------

void Probes::sendSetUp(bool boolLog, BoardSetup setup, OnUnreachable selectRule,
                       std::span<const char* const> titles) {
    const core::ProtocolSetup s = core::protocolSetupFor(setup, run_.ctx().values.DemodGainValue);
    const auto title = [&](std::size_t i) { return i < titles.size() ? titles[i] : ""; };
    // The set-up's exchanges show no request.
    showExchangeStart({});
    const Exchange e = call(setup, selectRule, ReaderFunction::Select, s.select);
    sink_.setAnswer(e.answer);
    log(boolLog, title(0), core::kLogSelect, qs(s.select), e.answer);
    // The register writes are neither judged nor repeated.
    for (std::size_t i = 0; i < s.registerWrites.size(); ++i) {
        const std::string& frame = s.registerWrites[i];
        showExchangeStart({});
        const Exchange w =
            call(BoardSetup::None, OnUnreachable::Nothing, ReaderFunction::KvCmd, rawWrite(frame));
        sink_.setAnswer(w.answer);
        log(boolLog, title(i + 1), core::kLogKvCmd, loggedWrite(frame), w.answer);
    }
    sink_.setRequest({});
    sink_.setAnswer({});
}

QString Probes::iso14443AExchange(bool boolLog, const std::string& request, const QString& title) {
    showExchangeStart(qs(request));
    const Exchange e = call(BoardSetup::Iso14443A, OnUnreachable::ReconnectAndRepeat,
                            ReaderFunction::SendReceive, request);
    sink_.setAnswer(e.answer);
    if (boolLog)
        sink_.log().appendTitled(title, QLatin1String(core::kLogSendRecv), qs(request), e.answer);
    return e.answer;
}

int Probes::ProbeISO14443A(bool boolLog, bool boolConfigure) {
    if (boolConfigure) {
        if (policy_.rfOffBeforeIso14443ASetup) {
            RfOff();
            if (run_.mustEnd()) return 0;
        }
        sendSetUp(boolLog, BoardSetup::Iso14443A, OnUnreachable::ReconnectAndRepeat,
                  kTitlesIso14443ASetUp);
    }

    sink_.setResult(ResultBox::Iso14443A, {});
    const QString atqa =
        iso14443AExchange(boolLog, transceiver::reqaRequest(), QLatin1String(kTitleReqa));
    if (!isAtqaAnswer(latin1(atqa))) return finish(0);

    QString uid;
    for (int level = 1; level <= transceiver::kCascadeLevels; ++level) {
        if (run_.pumpEnds()) return 0;
        const std::string anticol =
            latin1(iso14443AExchange(boolLog, transceiver::anticollisionRequest(level),
                                     QStringLiteral("ISO14443-A ANTICOL %1").arg(level)));
        // Several tags answered: their bits ORed are no tag's UID, and no SELECT can use them.
        const transceiver::ResponseStatus status = transceiver::responseStatusOf(anticol);
        if (status.severalTags()) {
            if (boolLog) sink_.log().append(qs(iso14443aCollisionVerdict(status)));
            sink_.setResult(ResultBox::Iso14443A, {});
            return finish(0);
        }
        // Only four UID bytes with their BCC go into a SELECT: anything else (a cut answer,
        // another protocol's tag) ends the cascade.
        if (!isUidLevelAnswer(anticol)) return finish(0);
        const transceiver::AnticollisionAnswer a = transceiver::decodeAnticollisionAnswer(anticol);
        uid += qs(a.uidPiece);
        sink_.setResult(ResultBox::Iso14443A, uid);

        const QString selected =
            iso14443AExchange(boolLog, transceiver::selectRequest(level, a.uidPart),
                              QStringLiteral("ISO14443-A SELECT %1").arg(level));
        if (!isFrame(selected)) return finish(0);
        if (!transceiver::cascadeContinues(level, a)) {
            if (run_.pumpEnds()) return 0;
            return finish(1);
        }
    }
    return finish(0);
}

// ---- FeliCa ---------------------------------------------------------------------------

int Probes::ProbeFeliCa(bool boolLog, bool boolConfigure) {
    if (policy_.clearResultsFirst) sink_.setResult(ResultBox::Felica, {});
    if (boolConfigure) {
        // The reconnect sends the whole set-up itself: the select is not repeated.
        sendSetUp(boolLog, BoardSetup::Felica, OnUnreachable::ReconnectOnly, kTitlesFelicaSetUp);
    }

    Exchange e;
    if (pumpedExchange(boolLog, {BoardSetup::Felica, OnUnreachable::ReconnectOnly, false},
                       transceiver::reqcRequest(), QLatin1String(kTitleReqc), e)) {
        return 0;
    }

    // Only a polling answer is a FeliCa tag, and only one tag's answer shows its IDm.
    const transceiver::FelicaPollingAnswer polling =
        transceiver::decodeFelicaPolling(latin1(e.answer));
    const bool answered = e.status == reader::kStatusOk && polling.shaped;
    if (answered && polling.severalTags() && boolLog)
        sink_.log().append(qs(felicaCollisionVerdict(polling.statusByte)));
    const bool hit = answered && !polling.severalTags();
    sink_.setResult(ResultBox::Felica, hit ? qs(polling.frame) : QString());
    return hit ? 1 : 0;
}

// ---- The probes by protocol and by button ---------------------------------------------

int Probes::probe(int protocol, bool boolLog, bool boolConfigure) {
    switch (protocol) {
        case Iso15693:
            return ProbeISO15693(boolLog, boolConfigure);
        case Iso14443A:
            return ProbeISO14443A(boolLog, boolConfigure);
        case Iso14443B:
            return ProbeISO14443BReqB(boolLog, boolConfigure);
        case Sola:
            return ProbeISO14443BInitiate(boolLog, boolConfigure);
        default:
            return ProbeFeliCa(boolLog, boolConfigure);
    }
}

void Probes::byHand(ProbeButton which) {
    switch (which) {
        case Iso15693Button:
            ProbeISO15693(true, false);
            break;
        case Iso14443AButton:
            ProbeISO14443A(true, false);
            break;
        case Iso14443BButton:
            ProbeISO14443BInitiate(true, false);
            if (!run_.mustEnd()) ProbeISO14443BReqB(true, false);
            break;
        case FelicaButton:
            ProbeFeliCa(true, false);
            break;
    }
}

void probeButtonClicked(core::ToolWindow& window, ProbeSink& sink, ProbePolicy policy,
                        ProbeButton which) {
    core::RunScope run(window, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    Probes(run, sink, policy).byHand(which);
}

// ---- RF off ---------------------------------------------------------------------------

reader::LibraryStatus Probes::RfOff() {
    const std::string request(transceiver::kFieldOffSelect);
    showExchangeStart(qs(request));
    const Exchange e = call(BoardSetup::Iso14443A, OnUnreachable::ReconnectAndRepeat,
                            ReaderFunction::Select, request);
    sink_.setRequest(qs(request));
    sink_.setAnswer(e.answer);
    log(true, kTitleRfOff, core::kLogSelect, qs(request), e.answer);
    (void)run_.pumpEnds();
    return e.status;
}

}  // namespace detection
