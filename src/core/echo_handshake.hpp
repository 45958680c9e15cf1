#pragma once

#include <QString>
#include <functional>

#include "core/protocol_setup.hpp"

namespace core {

class AppContext;
class LogSink;
class RunScope;

// Where the handshake runs: a window's load repeats an echo after a reconnect, a run
// (auto-detection, calibration, tag detection) does not.
enum class EchoCaller { Load, Run };

// Shows a text in one of the window's boxes.
using ShowText = std::function<void(const QString&)>;

// Shows in the window's request and answer row that an echo begins: no request (an echo
// carries none) and no answer yet.
using ShowEchoStart = std::function<void()>;

// The echo a window's load or a detection run begins with: one echo, and a second one
// when the first failed or did not answer "5500"; each shown in the answer box and
// logged. One event pass lets queued clicks and closes run. The caller goes on whatever
// the board said; the result is true when the run must end (window closed or program
// quitting during the pass). A run's row still holds the last exchange of the run before:
// `showEchoStart` empties it before each echo, so that no older request or answer stands
// beside the echo's.
[[nodiscard]] bool EchoHandshake(RunScope& run, EchoCaller caller, BoardSetup reconnectSetup,
                                 LogSink& log, const ShowText& showAnswer,
                                 const ShowEchoStart& showEchoStart = {});

// The logged set-up a tag window's load sends after the handshake: the select (repeated
// once after a reconnect), then each register write once. `clearRequest` empties the
// window's request box, `showAnswer` shows the select's answer.
void sendLoadSetup(AppContext& ctx, BoardSetup setup, LogSink& log, const ShowText& clearRequest,
                   const ShowText& showAnswer);

}  // namespace core
