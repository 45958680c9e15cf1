#pragma once

#include <gtest/gtest.h>

#include <QPointer>

#include "core/app_context.hpp"
#include "core/tool_window.hpp"

namespace testsupport {

// A loop that fails to end when it should would otherwise spin until ctest's timeout.
// Counted once a pass (from a reader hook, say), past its limit it fails the test at once
// and ends the window's runs the way closing the window does: the closing mark, the stop
// flag and every loop flag.
class LoopBound {
  public:
    // `counted` names what pass() counts, for the failure message (a bound counted from
    // every reader call rather than from the loop's own passes says "calls").
    LoopBound(core::ToolWindow* window, int limit, const char* counted = "passes")
        : window_(window), limit_(limit), counted_(counted) {}

    // One pass more; false once the loop has gone past its limit.
    bool pass() {
        if (++passes_ <= limit_) return true;
        if (!tripped_) {
            tripped_ = true;
            ADD_FAILURE() << "the loop went on past " << limit_ << " " << counted_;
        }
        if (window_) {
            window_->markClosing();
            core::ProgramValues& v = window_->ctx().values;
            v.StopRequested = true;
            v.AutoLoopEnabled = v.ScriptLoopEnabled = v.ReqBLoopEnabled = false;
            v.AnticollisionLoopEnabled = v.ReqCLoopEnabled = false;
        }
        return false;
    }
    int passes() const { return passes_; }
    bool tripped() const { return tripped_; }

  private:
    QPointer<core::ToolWindow> window_;
    int limit_;
    const char* counted_;
    int passes_ = 0;
    bool tripped_ = false;
};

}  // namespace testsupport
