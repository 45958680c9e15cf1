#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <algorithm>
#include <vector>

#include "core/app_context.hpp"
#include "core/pump.hpp"
#include "core/tool_window.hpp"

namespace testsupport {

// A loop that fails to end when it should would otherwise spin until ctest's timeout.
// Counted once a pass (from a reader hook, say), past its limit it fails the test at once
// and ends the window's runs the way closing the window does: the closing mark, the stop
// flag and every loop flag.
//
// Whatever the test counts, a live bound also counts every event pump: a pass that no
// longer makes what the test counts (its opening call dropped, say) still pumps, so a
// loop that will not end trips the bound all the same.
class LoopBound {
  public:
    // More pumps than any test makes while one bound lives (a script's WAIT of a hundred
    // seconds makes 2000), few enough that an endless loop gets there within seconds.
    static constexpr int kPumpLimit = 5000;

    // `counted` names what pass() counts, for the failure message (a bound counted from
    // every reader call rather than from the loop's own passes says "calls").
    LoopBound(core::ToolWindow* window, int limit, const char* counted = "passes")
        : window_(window), limit_(limit), counted_(counted) {
        live().push_back(this);
        core::setPumpWatcher(&LoopBound::pumped);
    }
    ~LoopBound() {
        std::erase(live(), this);
        if (live().empty()) core::setPumpWatcher(nullptr);
    }
    LoopBound(const LoopBound&) = delete;
    LoopBound& operator=(const LoopBound&) = delete;

    // One pass more; false once the loop has gone past its limit.
    bool pass() {
        if (++passes_ <= limit_) return true;
        trip(limit_, counted_);
        return false;
    }
    int passes() const { return passes_; }
    bool tripped() const { return tripped_; }

  private:
    static std::vector<LoopBound*>& live() {
        static std::vector<LoopBound*> bounds;
        return bounds;
    }
    static void pumped() {
        for (LoopBound* b : live()) {
            if (++b->pumps_ > kPumpLimit) b->trip(kPumpLimit, "event pumps");
        }
    }
    void trip(int limit, const char* counted) {
        if (!tripped_) {
            tripped_ = true;
            ADD_FAILURE() << "the loop went on past " << limit << " " << counted;
        }
        if (window_) {
            window_->markClosing();
            core::ProgramValues& v = window_->ctx().values;
            v.StopRequested = true;
            v.AutoLoopEnabled = v.ScriptLoopEnabled = v.ReqBLoopEnabled = false;
            v.AnticollisionLoopEnabled = v.ReqCLoopEnabled = false;
        }
    }

    QPointer<core::ToolWindow> window_;
    int limit_;
    const char* counted_;
    int passes_ = 0;
    int pumps_ = 0;
    bool tripped_ = false;
};

}  // namespace testsupport
