#pragma once

#include <QString>
#include <span>

#include "core/reconnect.hpp"
#include "detection/probe_sink.hpp"
#include "detection/protocols.hpp"
#include "reader/reader_library.hpp"

namespace core {
class RunScope;
class ToolWindow;
}  // namespace core

namespace detection {

// Where the two detection windows' probes differ.
struct ProbePolicy {
    // The tag detection window empties a probe's result controls before its exchanges;
    // the auto-detection window rewrites them as the answers come in.
    bool clearResultsFirst = false;
    // The tag detection window switches the field off before the ISO14443-A set-up.
    bool rfOffBeforeIso14443ASetup = false;
};

inline constexpr ProbePolicy kAutoDetectPolicy{false, false};
inline constexpr ProbePolicy kTagDetectionPolicy{true, true};

// Counts a probe returns beyond 0 and 1.
inline constexpr int kIso15693CrcFailed = 99;

// A probe button's click: its probe, never inside another run of the window (a probe
// inside a run's events would change the protocol under another probe's exchanges).
void probeButtonClicked(core::ToolWindow& window, ProbeSink& sink, ProbePolicy policy,
                        ProbeButton which);

// The slot box text without the chip ID of an earlier call: the first four characters
// of the box ("0 : " to "9 : ", and "10 :" to "15 :", whose blank goes with the cut).
QString slotLabel(const QString& boxText);
// Every slot box of `sink` back to its label.
void cutSlots(ProbeSink& sink);

// The echo handshake a detection run begins with, shown in `sink`'s row, which is emptied
// before each echo; true when the run must end.
[[nodiscard]] bool runStartEcho(core::RunScope& run, ProbeSink& sink, core::LogSink& log);

// The detection probes and the field-off exchange of a detection window. Each probe
// answers whether a tag of its protocol is in the field, shows every exchange in the
// sink's request and answer boxes, logs it when `boolLog`, sets the transceiver up for
// its protocol first when `boolConfigure`, and returns the count of tags it found.
//
// A probe lets events run at fixed points. When the run must end there (the window
// closed, the program quitting) the probe returns at once, touching nothing more; the
// caller sees it through its run.
class Probes {
  public:
    Probes(core::RunScope& run, ProbeSink& sink, ProbePolicy policy)
        : run_(run), sink_(sink), policy_(policy) {}

    // 0, 1, or kIso15693CrcFailed when a tag answered with a CRC that did not verify.
    int ProbeISO15693(bool boolLog, bool boolConfigure);
    // The memory tags answering in slots 0 (PCALL16) to 15 (slot markers): 0 to 16.
    int ProbeISO14443BInitiate(bool boolLog, bool boolConfigure);
    int ProbeISO14443BReqB(bool boolLog, bool boolConfigure);
    int ProbeISO14443A(bool boolLog, bool boolConfigure);
    int ProbeFeliCa(bool boolLog, bool boolConfigure);

    // Switches the field off; logged whatever the caller logs. The status of its last call.
    reader::LibraryStatus RfOff();

    // The probe of a protocol (in the order of the protocol boxes).
    int probe(int protocol, bool boolLog, bool boolConfigure);
    // What a probe button runs: its probe, logged, with the protocol the transceiver has
    // (the ISO14443-B button: the memory-tag probe, then REQB).
    void byHand(ProbeButton which);

  private:
    struct Exchange {
        reader::LibraryStatus status = reader::kStatusOk;
        QString answer;  // the buffer up to its first NUL, as the answer box shows it
    };
    // An exchange begins: the request box shows `request` (as the exchange shows it), the
    // answer box nothing. Done before the exchange's call, so that however long the board
    // takes the answer of the exchange before never stands beside the new request.
    void showExchangeStart(const QString& request);
    // One call with a fresh blank buffer, under the given reconnect rule.
    Exchange call(core::BoardSetup reconnectSetup, core::OnUnreachable rule,
                  reader::ReaderFunction function, const std::string& request) const;
    void log(bool boolLog, const char* title, const char* logName, const QString& request,
             const QString& answer);
    // The logged set-up of the ISO14443-A and FeliCa probes: the select (under
    // `selectRule`), then each register write once; `titles` the select's, then the writes'.
    void sendSetUp(bool boolLog, core::BoardSetup setup, core::OnUnreachable selectRule,
                   std::span<const char* const> titles);
    // The ISO14443-B set-up both memory-tag and REQB probes send. True when the run must end.
    bool sendIso14443BSetup(bool boolLog);
    // A tag exchange with events let run just before and just after its call, shown and
    // logged. True when the run must end.
    struct PumpedCall {
        core::BoardSetup reconnectSetup;
        core::OnUnreachable rule;
        bool showRequestFirst;  // the request box is filled before the events, not at the call
    };
    bool pumpedExchange(bool boolLog, const PumpedCall& how, const std::string& request,
                        const QString& title, Exchange& out);
    QString iso14443AExchange(bool boolLog, const std::string& request, const QString& title);
    // The probe's last pass of events, then its count (0 when the run must end).
    int finish(int count);

    core::RunScope& run_;
    ProbeSink& sink_;
    ProbePolicy policy_;
};

}  // namespace detection
