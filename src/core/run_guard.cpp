#include "core/run_guard.hpp"

#include <algorithm>

#include "core/app_context.hpp"
#include "core/pump.hpp"

namespace core {

int timedPauseMs(int passes) {
    // About a hundred passes a millisecond on the machines the pass counts were chosen
    // for; never less than one millisecond so that a pause always yields.
    return std::max(1, passes / 100);
}

RunScope::RunScope(ToolWindow& window, Start start) : window_(&window), ctx_(window.ctx()) {
    // A click queued before the window closed (or the program began to quit) starts nothing.
    if (window.isClosing() || ctx_.quitting()) return;
    if (start == Start::Exclusive) {
        if (!window.tryEnterExclusiveRun()) return;
        exclusive_ = true;
    }
    started_ = true;
    window.enterRun();
}

RunScope::~RunScope() {
    if (!started_ || window_.isNull()) return;
    // What the run changed last is drawn at the next repaint, not necessarily now: a
    // loop of short runs must not repaint after every one of them.
    if (!mustEnd()) window_->holdRepaints();
    if (exclusive_) window_->leaveExclusiveRun();
    // May schedule the window's deletion when it was closed during the run.
    window_->leaveRun();
}

bool RunScope::mustEnd() const {
    return ctx_.quitting() || window_.isNull() || window_->isClosing();
}

bool RunScope::pumpEnds(int passes) {
    if (passes > kMaxDirectPumpPasses) return pauseEnds(timedPauseMs(passes));
    if (!window_.isNull()) window_->holdRepaints();
    pumpEvents(passes);
    return mustEnd();
}

bool RunScope::pauseEnds(int ms) {
    ctx_.timing().pause(ms);
    return mustEnd();
}

}  // namespace core
