#include "fake_time.hpp"

#include <algorithm>

#include "core/pump.hpp"

namespace testsupport {

void FakeTiming::pause(int ms) {
    paused_ += ms;
    advance(ms);
    if (pauseHook_) pauseHook_();
    core::pumpEvents(1);
}

void FakeTiming::after(int ms, QObject* context, std::function<void()> fn) {
    timers_.push_back({now_ + ms, context, context != nullptr, std::move(fn)});
}

void FakeTiming::advance(int ms) {
    const qint64 target = now_ + ms;
    for (;;) {
        auto due = std::min_element(timers_.begin(), timers_.end(),
                                    [](const Timer& a, const Timer& b) { return a.due < b.due; });
        if (due == timers_.end() || due->due > target) break;
        Timer t = std::move(*due);
        timers_.erase(due);
        now_ = std::max(now_, t.due);
        if (t.hadContext && t.context.isNull()) continue;
        t.fn();
    }
    // A timer that pauses inside itself has already moved time past the target.
    now_ = std::max(now_, target);
}

int FakeTiming::pendingTimers() const { return static_cast<int>(timers_.size()); }

}  // namespace testsupport
