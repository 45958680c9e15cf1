#pragma once

namespace core {

// Lets pending events run, `passes` times: how a long operation inside an event
// handler stays responsive to STOP buttons, loop boxes and window closing.
void pumpEvents(int passes = 1);

}  // namespace core
