#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>

#include "core/command_controls.hpp"
#include "script/interpreter.hpp"
#include "script_fixture.hpp"

using reader::ReaderFunction;

namespace {

class RunLifetimeTest : public scripttest::ScriptFixture {
  protected:
    void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

}  // namespace

// A run ends at the pump after the close, wherever it is: between lines, or a second
// into a wait of a hundred.
TEST_F(RunLifetimeTest, ClosingTheWindowEndsTheRunAtItsNextPumpAndThenDeletesTheWindow) {
    const struct {
        const char* name;
        const char* script;
        int closeAtMs;  // -1: in the pump after the first line
    } cases[] = {
        {"between lines", "TQ73RNDLL_ECHO\nTQ73RNDLL_FIELDOFF", -1},
        {"in a long wait", "TQ73RNDLL_ECHO\nWAIT,9999999\nTQ73RNDLL_FIELDOFF", 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        tc.values().ScriptLoopEnabled = false;
        loop("0");
        const qint64 pausedBefore = tc.timing.totalPaused();
        QPointer<script::ScriptWindow> window = w;
        auto close = [this] { tc.ctx->windows().close(core::WindowKind::Script); };
        if (c.closeAtMs < 0) {
            QMetaObject::invokeMethod(w, close, Qt::QueuedConnection);
        } else {
            tc.timing.after(c.closeAtMs, w, close);
        }
        run(QLatin1String(c.script));

        EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), 1);
        EXPECT_EQ(tc.scripted.countOf(ReaderFunction::FieldOff), 0);
        EXPECT_LE(tc.timing.totalPaused() - pausedBefore, c.closeAtMs + script::kWaitSliceMs);
        EXPECT_FALSE(tc.values().ScriptLoopEnabled);
        flushDeletes();
        EXPECT_TRUE(window.isNull());
        tc.scripted.clearCalls();
    }
}

TEST_F(RunLifetimeTest, QuittingEndsTheRunInALongWaitWithoutTouchingTheWindow) {
    tc.timing.after(1000, w, [this] {
        core::setShutdownFlags(tc.values());
        tc.ctx->setQuitting(true);
    });
    run("TQ73RNDLL_ECHO\nWAIT,9999999\nTQ73RNDLL_FIELDOFF");
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::FieldOff), 0);
    EXPECT_LE(tc.timing.totalPaused(), 1000 + script::kWaitSliceMs);
    // The run left its controls as they were: nothing of a closing program is touched.
    EXPECT_FALSE(enabled("cmdLaunchScript"));
    tc.ctx->setQuitting(false);
}
