#pragma once

namespace core {

// Lets pending events run, `passes` times: how a long operation inside an event
// handler stays responsive to STOP buttons, loop boxes and window closing.
void pumpEvents(int passes = 1);

// Told before each pass of pumpEvents. The program sets none; tests bound a run's loops
// here, since every pass of a run pumps whatever it sends to the board.
using PumpWatcher = void (*)();
void setPumpWatcher(PumpWatcher watcher);

}  // namespace core
