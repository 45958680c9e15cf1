#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QThread>

#include "core/command_controls.hpp"
#include "core/counted_loop.hpp"
#include "core/pump.hpp"
#include "core/run_guard.hpp"
#include "host_window.hpp"
#include "loop_bound.hpp"
#include "test_context.hpp"

namespace {

using core::WindowKind;
using reader::ReaderFunction;
using testsupport::HostWindow;

// Runs `fn` inside the next event pump, as a click or a close arriving during a run.
void duringNextPump(QObject* context, std::function<void()> fn) {
    QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}

void flushDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class RunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        t.scripted.setHealthyDefaults();
        t.ctx->windows().registerFactory(WindowKind::Iso15693,
                                         [](core::AppContext& c) { return new HostWindow(c); });
        host = static_cast<HostWindow*>(t.ctx->windows().show(WindowKind::Iso15693));
        ASSERT_NE(host, nullptr);
    }
    void TearDown() override {
        delete host.data();
        flushDeferredDeletes();
    }

    testsupport::TestContext t;
    QPointer<HostWindow> host;
};

TEST_F(RunTest, StopEndsTheRangeAfterTheBlockUnderWayWithControlsBackOnAndFlagClear) {
    host->afterBlock = [&](int block) {
        // While the run is on, its controls are off and STOP is offered.
        EXPECT_FALSE(host->cmdReadUser->isEnabled());
        EXPECT_FALSE(host->cmdStopCommand->isHidden());
        EXPECT_TRUE(t.ui.isBusy());
        if (block == 1) duringNextPump(host, [&] { host->cmdStopCommand->click(); });
    };
    host->cmdReadUser->click();

    EXPECT_EQ(host->lastEnd, HostWindow::End::Stopped);
    EXPECT_EQ(host->blocksRead, (std::vector<int>{0, 1}));
    EXPECT_TRUE(host->cmdReadUser->isEnabled());
    EXPECT_TRUE(host->cmdOther->isEnabled());
    EXPECT_TRUE(host->cmdStopCommand->isHidden());
    EXPECT_FALSE(t.values().StopRequested);
    EXPECT_FALSE(t.ui.isBusy());
}

TEST_F(RunTest, ACompletedRunLeavesTheControlsOnAndTheFlagClear) {
    t.values().StopRequested = true;  // left over, e.g. by a closed detection window
    host->cmdReadUser->click();
    EXPECT_EQ(host->lastEnd, HostWindow::End::Completed);
    EXPECT_EQ(host->blocksRead.size(), 4u);
    EXPECT_TRUE(host->cmdReadUser->isEnabled());
    EXPECT_FALSE(t.values().StopRequested);
}

TEST_F(RunTest, ASecondStartFromInsideTheRunsOwnPumpIsRefused) {
    host->afterBlock = [&](int block) {
        if (block == 0) duringNextPump(host, [&] { host->readUser(); });
    };
    host->readUser();
    // The nested start returned at once; the outer run read its range once.
    EXPECT_EQ(host->blocksRead, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(host->lastEnd, HostWindow::End::Completed);
}

TEST_F(RunTest, UntickingTheLoopBoxEndsThePollingLoopAfterTheCurrentCycle) {
    host->chkLoop->setChecked(true);
    host->afterCycle = [&](int cycle) {
        if (cycle == 3) duringNextPump(host, [&] { host->chkLoop->setChecked(false); });
    };
    host->cmdPoll->click();
    EXPECT_EQ(host->lastEnd, HostWindow::End::Completed);
    EXPECT_EQ(host->cycles, 3);
    // Its long pause went through the timing source, not a burst of passes.
    EXPECT_EQ(t.timing.totalPaused(), 3 * core::timedPauseMs(10001));
}

// A test bounds a loop by what each pass is meant to send. A loop that no longer sends it,
// and will not end, still pumps: the bound counts its pumps too and ends the run there.
TEST_F(RunTest, ALoopThatStarvesItsBoundsCountIsEndedByItsPumps) {
    testing::TestPartResultArray failures;
    int pumps = 0;
    {
        const testing::ScopedFakeTestPartResultReporter intercept(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        const testsupport::LoopBound bound(host, 3);  // nothing tells it of a pass
        core::RunScope run(*host);
        // Held to twice the bound's pumps here, so that a bound blind to them fails this
        // test rather than hanging it.
        while (pumps < 2 * testsupport::LoopBound::kPumpLimit && !run.pumpEnds()) ++pumps;
    }
    ASSERT_EQ(failures.size(), 1);
    EXPECT_THAT(failures.GetTestPartResult(0).message(),
                testing::HasSubstr("the loop went on past 5000 event pumps"));
    EXPECT_EQ(pumps, testsupport::LoopBound::kPumpLimit);
}

TEST_F(RunTest, ACountOfThreeRunsThreePassesAndEndsHiddenAtZero) {
    host->lastBlock = 0;
    host->chkUserLoop->setChecked(true);
    host->txtLOOPnumber->setText(QStringLiteral("3"));
    host->cmdReadUser->click();

    EXPECT_EQ(host->blocksRead.size(), 3u);
    EXPECT_EQ(host->counterAtPass, (std::vector<QString>{"1", "2", "3"}));
    EXPECT_EQ(host->txtLOOPnumber->text(), QStringLiteral("0"));
    EXPECT_TRUE(host->txtLOOPnumber->isHidden());
    EXPECT_TRUE(host->lblLOOPnumber->isHidden());
    EXPECT_FALSE(host->chkUserLoop->isChecked());
    EXPECT_FALSE(t.values().AutoLoopEnabled);
}

TEST_F(RunTest, ClosingTheWindowInsideItsRunEndsTheRunAndDeletesTheWindowAfterwards) {
    host->afterBlock = [&](int block) {
        if (block == 1) duringNextPump(host, [&] { host->close(); });
    };
    host->readUser();

    ASSERT_FALSE(host.isNull()) << "deleted while its run was on the stack";
    EXPECT_EQ(host->lastEnd, HostWindow::End::Abandoned);
    EXPECT_EQ(host->blocksRead, (std::vector<int>{0, 1}));
    EXPECT_EQ(host->unloads, 1);
    EXPECT_TRUE(host->isHidden());
    // The run touched nothing of the closed window on its way out.
    EXPECT_FALSE(host->cmdOther->isEnabled());
    EXPECT_EQ(t.ctx->windows().find(WindowKind::Iso15693), nullptr);
    flushDeferredDeletes();
    EXPECT_TRUE(host.isNull());
    // A new window of the kind can be opened at once.
    EXPECT_NE(t.ctx->windows().show(WindowKind::Iso15693), nullptr);
    delete t.ctx->windows().find(WindowKind::Iso15693);
}

TEST_F(RunTest, QuittingTheProgramInsideARunEndsItWithoutTouchingTheWindow) {
    host->chkLoop->setChecked(true);
    host->afterBlock = [&](int block) {
        if (block == 1) {
            duringNextPump(host, [&] {
                core::setShutdownFlags(t.values());
                t.ctx->setQuitting(true);
            });
        }
    };
    host->readUser();

    EXPECT_EQ(host->lastEnd, HostWindow::End::Abandoned);
    EXPECT_EQ(host->blocksRead, (std::vector<int>{0, 1}));
    EXPECT_FALSE(host->cmdOther->isEnabled());
    EXPECT_TRUE(t.values().StopRequested);
    EXPECT_FALSE(t.values().ReqBLoopEnabled);
    // Nothing new starts while the program is on its way out.
    EXPECT_EQ(t.ctx->windows().show(WindowKind::Console), nullptr);
    host->readUser();
    EXPECT_EQ(host->lastEnd, HostWindow::End::Refused);
    EXPECT_EQ(host->blocksRead.size(), 2u);
}

TEST_F(RunTest, ClosingTheMdiFrameDuringARunOnlyHidesItUntilTheRunEnds) {
    delete host.data();
    QMdiArea area;
    t.ctx->windows().setHost([&](core::ToolWindow* w) { area.addSubWindow(w); });
    host = static_cast<HostWindow*>(t.ctx->windows().show(WindowKind::Iso15693));
    ASSERT_NE(host, nullptr);
    QPointer<QMdiSubWindow> frame = qobject_cast<QMdiSubWindow*>(host->parentWidget());
    ASSERT_FALSE(frame.isNull());
    EXPECT_FALSE(frame->testAttribute(Qt::WA_DeleteOnClose));

    host->afterBlock = [&](int block) {
        if (block == 0) duringNextPump(host, [&] { frame->close(); });
    };
    host->readUser();
    ASSERT_FALSE(host.isNull());
    EXPECT_EQ(host->lastEnd, HostWindow::End::Abandoned);
    EXPECT_EQ(host->blocksRead, (std::vector<int>{0}));
    flushDeferredDeletes();
    EXPECT_TRUE(frame.isNull());
    EXPECT_TRUE(host.isNull());
}

TEST_F(RunTest, AWindowClosedDuringItsLoadIsNotShownAndIsDeletedAfterTheLoad) {
    // A load that pumps events (the echo at the start of a tag window's load) with no
    // run scope of its own: the registry keeps the window alive until the load returns.
    struct ClosingLoad : HostWindow {
        ClosingLoad(core::AppContext& c, bool& deletedInLoad)
            : HostWindow(c, WindowKind::Iso14443B), deletedInLoad_(deletedInLoad) {}
        void load() override {
            HostWindow::load();
            QPointer<ClosingLoad> self(this);
            bool& deleted = deletedInLoad_;
            duringNextPump(this, [this] { close(); });
            core::pumpEvents(1);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            deleted = self.isNull();
        }
        bool& deletedInLoad_;
    };
    bool deletedInLoad = false;
    QPointer<ClosingLoad> w;
    t.ctx->windows().registerFactory(WindowKind::Iso14443B, [&](core::AppContext& c) {
        w = new ClosingLoad(c, deletedInLoad);
        return w.data();
    });
    EXPECT_EQ(t.ctx->windows().show(WindowKind::Iso14443B), nullptr);
    EXPECT_FALSE(deletedInLoad);
    ASSERT_FALSE(w.isNull());
    flushDeferredDeletes();
    EXPECT_TRUE(w.isNull());
}

TEST_F(RunTest, ClosingEveryWindowSurvivesAWindowClosedDuringAnotherOnesUnload) {
    // An unload that lets pending events run (the tag detection window's does): a close
    // queued for the next window arrives there, and with a second pass that window is
    // deleted before its turn comes.
    struct PumpingUnload : HostWindow {
        using HostWindow::HostWindow;
        void unload() override {
            HostWindow::unload();
            core::pumpEvents(2);
        }
    };
    delete host.data();
    t.ctx->windows().registerFactory(WindowKind::Iso15693,
                                     [](core::AppContext& c) { return new PumpingUnload(c); });
    t.ctx->windows().registerFactory(WindowKind::Iso14443B, [](core::AppContext& c) {
        return new HostWindow(c, WindowKind::Iso14443B);
    });
    QPointer<HostWindow> first =
        static_cast<HostWindow*>(t.ctx->windows().show(WindowKind::Iso15693));
    QPointer<HostWindow> second =
        static_cast<HostWindow*>(t.ctx->windows().show(WindowKind::Iso14443B));
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());
    duringNextPump(second, [&] { second->close(); });

    t.ctx->windows().closeAll();

    EXPECT_EQ(t.ctx->windows().find(WindowKind::Iso15693), nullptr);
    EXPECT_EQ(t.ctx->windows().find(WindowKind::Iso14443B), nullptr);
    flushDeferredDeletes();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

struct CountCase {
    const char* count;
    const char* counter;
    bool lastPass;
    const char* countAfter;
    const char* counterAfter;
};

TEST(CountedLoopStep, ReadsTheCountAsANumberAndEndsOnAnythingElse) {
    const CountCase cases[] = {
        {"0", "4", false, "0", "5"},  // endless: only the counter moves
        {"3", "1", false, "2", "2"},
        {"2", "0", false, "1", "1"},
        {"1", "3", true, "0", "3"},   // the last pass leaves the counter
        {"01", "1", true, "0", "1"},  // one pass, not an endless loop
        {"007", "1", false, "6", "2"},
        {"00", "1", false, "00", "2"},  // zero however written
        {"3x", "1", true, "0", "1"},    // unreadable: end after this pass
        {"-2", "1", true, "0", "1"},
        {"", "1", true, "0", "1"},
        {" 3", "1", true, "0", "1"},
        {"1234567890", "1", true, "0", "1"},  // more digits than the box holds
        {"5", "", false, "4", "1"},           // a counter with no number counts as 0
        {"999999999", "7", false, "999999998", "8"},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(std::string("count \"") + c.count + "\" counter \"" + c.counter + "\"");
        const core::CountedLoopStep s = core::countedLoopStep(c.count, c.counter);
        EXPECT_EQ(s.lastPass, c.lastPass);
        EXPECT_EQ(s.countText, QString::fromLatin1(c.countAfter));
        EXPECT_EQ(s.counterText, QString::fromLatin1(c.counterAfter));
    }
}

// One step of a counted loop on its controls, after a pass: nothing while the loop flag
// is off; the last pass turns the flag off, hides the count box and its caption and
// unticks the loop box; any other pass counts on and leaves them as they are.
TEST(CountedLoopControls, AStepAppliesToTheControlsOnlyWhileTheFlagIsOn) {
    struct Case {
        const char* name;
        bool flag;
        const char* count;
        const char* counter;
        bool flagAfter;
        const char* countAfter;
        const char* counterAfter;
    };
    const Case cases[] = {
        {"flag off", false, "3", "1", false, "3", "1"},
        {"flag off, last pass", false, "1", "1", false, "1", "1"},
        {"passes left", true, "3", "1", true, "2", "2"},
        {"endless", true, "0", "7", true, "0", "8"},
        {"last pass", true, "1", "4", false, "0", "4"},
        {"no count", true, "", "4", false, "0", "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        auto* loopBox = new QCheckBox(&window);
        auto* countBox = new QLineEdit(QLatin1String(c.count), &window);
        auto* countLabel = new QLabel(QStringLiteral("0 for infinty loop"), &window);
        auto* counter = new QLabel(QLatin1String(c.counter), &window);
        loopBox->setChecked(true);
        window.show();
        bool flag = c.flag;
        EXPECT_EQ(core::advanceCountedLoop({loopBox, countBox, countLabel, counter}, flag),
                  c.flagAfter);
        EXPECT_EQ(flag, c.flagAfter);
        EXPECT_EQ(countBox->text(), QLatin1String(c.countAfter));
        EXPECT_EQ(counter->text(), QLatin1String(c.counterAfter));
        const bool ended = c.flag && !c.flagAfter;
        EXPECT_EQ(countBox->isHidden(), ended);
        EXPECT_EQ(countLabel->isHidden(), ended);
        EXPECT_EQ(loopBox->isChecked(), !ended);
    }
}

TEST_F(RunTest, AnExclusiveRunReleasesItsWindowHoweverItEnds) {
    enum class Ending { Normally, ByStop, ByClosing };
    for (const Ending ending : {Ending::Normally, Ending::ByStop, Ending::ByClosing}) {
        SCOPED_TRACE(static_cast<int>(ending));
        host->afterBlock = [&](int block) {
            if (block != 1) return;
            if (ending == Ending::ByStop)
                duringNextPump(host, [&] { host->cmdStopCommand->click(); });
            if (ending == Ending::ByClosing) duringNextPump(host, [&] { host->close(); });
        };
        host->readUser();
        if (ending == Ending::ByClosing) {
            flushDeferredDeletes();
            ASSERT_TRUE(host.isNull());
            host = static_cast<HostWindow*>(t.ctx->windows().show(WindowKind::Iso15693));
            ASSERT_NE(host, nullptr);
        }
        host->afterBlock = nullptr;
        host->blocksRead.clear();
        host->readUser();
        EXPECT_EQ(host->lastEnd, HostWindow::End::Completed);
        EXPECT_EQ(host->blocksRead, (std::vector<int>{0, 1, 2, 3}));
    }
}

// Counts the paints of a widget and what the log showed at each.
class PaintWatch : public QObject {
  public:
    PaintWatch(QWidget* target, std::function<int()> shown) : shown_(std::move(shown)) {
        target->installEventFilter(this);
    }
    int paints = 0;
    int lastShown = -1;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            lastShown = shown_();
        }
        return false;
    }

  private:
    std::function<int()> shown_;
};

void letTheScreenCatchUp() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 4 * core::ToolWindow::kRepaintIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

TEST_F(RunTest, AShownRunDrawsAtAScreenRateAndEndsWithItsLastEntryOnScreen) {
    ASSERT_TRUE(host->isVisible());
    letTheScreenCatchUp();
    PaintWatch watch(host->rtfLog->viewport(), [&] { return host->rtfLog->lineCount(); });
    host->lastBlock = 599;
    int paintsDuringRun = 0;
    host->afterBlock = [&](int) { paintsDuringRun = watch.paints; };
    QElapsedTimer took;
    took.start();
    host->cmdReadUser->click();
    const qint64 runMs = took.elapsed();

    EXPECT_EQ(host->lastEnd, HostWindow::End::Completed);
    // Far fewer paints than exchanges, about one per repaint interval the run lasted.
    EXPECT_LE(paintsDuringRun, 3 + runMs / core::ToolWindow::kRepaintIntervalMs * 2);
    EXPECT_LT(paintsDuringRun, 600 / 4);
    letTheScreenCatchUp();
    EXPECT_TRUE(host->updatesEnabled());
    EXPECT_EQ(watch.lastShown, host->rtfLog->lineCount());
    EXPECT_GT(host->rtfLog->lineCount(), 600);
}

}  // namespace
