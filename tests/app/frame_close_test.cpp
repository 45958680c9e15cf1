// A tool window closed through the close button of its frame in the main window closes as
// its menu closes it: a run of the window that is under way ends at its next pass of
// events and sends nothing more, the window and its frame are deleted (not only hidden),
// and the next opening builds a fresh window that shows nothing of the one closed.
//
// Each sending button of each view of each window is clicked with every loop of the
// window switched on, and the frame's close button is clicked while the click's first
// call to the board is answered: the close arrives as the user's would, at the run's
// next pass of events. A close may arrive at any pass of a run, not only its first: each
// button is clicked again on a fresh window, and the window closed at each pass of events
// of the click's run in turn.

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "run_pause.hpp"
#include "shell/main_window.hpp"
#include "shown_state.hpp"

namespace {

using apptest::SendingButton;
using apptest::WindowCase;

// The program as it runs: every tool window in a frame of the main window's area.
struct FramedProgram : apptest::Program {
    FramedProgram() {
        main.resize(1280, 1024);
        main.show();
    }
    shell::MainWindow main{*tc.ctx};
};

// Clicks the close button in the title bar of `frame`, as the user does: the pointer over
// the button, then pressed and released there.
void clickCloseButton(QMdiSubWindow* frame) {
    QStyleOptionTitleBar bar;
    bar.initFrom(frame);
    bar.subControls = QStyle::SC_All;
    bar.titleBarFlags = frame->windowFlags();
    bar.titleBarState = frame->windowState();
    bar.text = frame->windowTitle();
    bar.rect = QRect(0, 0, frame->width(),
                     frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, frame));
    const QPoint button =
        frame->style()
            ->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarCloseButton, frame)
            .center();
    QMouseEvent hover(QEvent::MouseMove, button, frame->mapToGlobal(button), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &hover);
    QTest::mouseClick(frame, Qt::LeftButton, {}, button);
}

// The controls that make a window's runs repeat until something ends them: the loop
// check boxes and the auto-detection's endless loop mode.
constexpr const char* kLoopControls[] = {
    "chkLoop",
    "chkUserLoop",
    "chkReqBWupBLoop",
    "chkAnticollisionLoop",
    "chkReqCLoop",
    "chkLoopOnScript",
    "optLoopAutoDetectionTool_1",
};

void switchLoopsOn(core::ToolWindow* w) {
    for (const char* name : kLoopControls) {
        auto* b = w->findChild<QAbstractButton*>(QLatin1String(name));
        if (b && b->isVisibleTo(w) && b->isEnabled() && !b->isChecked()) b->click();
    }
}

// The fewest clicks of a window of each kind (the fewest of its products) whose frame was
// closed while the click's run was under way: each loop, each block-range read, each
// auto-detection and tag detection run, and each button whose one exchange lets events run.
int leastClosedInRun(core::WindowKind kind) {
    using K = core::WindowKind;
    switch (kind) {
        case K::Iso15693:
            return 13;
        case K::AutoDetect:
            return 5;
        case K::Iso14443B:
        case K::TagDetection:
            return 2;
        case K::Console:
        case K::BoardTools:
        case K::Iso14443A:
        case K::Iso18092:
        case K::Script:
            return 1;
        default:
            return 0;  // the script help and the About box make no run
    }
}

// Closes `w` through its frame while `click` runs: at the click's first call to the
// board, or at its `atPause`-th pass of events when given; with no such call or pass, or
// no click, once the click is over. Then opens the window again. True when the close
// arrived during the click's run.
bool closeThroughFrame(FramedProgram& p, const WindowCase& c, core::ToolWindow* w,
                       QAbstractButton* click, const std::vector<std::string>& asOpened,
                       std::optional<int> atPause = std::nullopt) {
    QPointer<core::ToolWindow> window(w);
    QPointer<QMdiSubWindow> frame = qobject_cast<QMdiSubWindow*>(w->outerFrame());
    EXPECT_FALSE(frame.isNull()) << "the window has no frame in the main window";
    if (frame.isNull()) return false;

    bool closing = false;
    bool duringRun = false;
    const auto close = [&] {
        duringRun = window && window->runDepth() > 0;
        closing = true;
        clickCloseButton(frame.data());
    };
    bool queued = atPause.has_value();
    std::vector<std::string> callsAfterClose;
    p.watched.watch = [&](reader::ReaderFunction f, std::string_view request) {
        if (closing) {
            callsAfterClose.push_back(std::string(reader::exportedName(f)) + " " +
                                      std::string(request));
        }
        if (queued) return;
        queued = true;
        QTimer::singleShot(0, frame.data(), close);
    };
    if (click) {
        apptest::eachPause(
            w, [&] { apptest::clickWatched(p, w, click); },
            [&](int pass) {
                if (pass == atPause && !closing) close();
            });
    }
    // A click whose run lets no events run is over before the close arrives.
    QCoreApplication::processEvents();
    if (!closing && frame) close();
    p.watched.watch = nullptr;

    EXPECT_EQ(callsAfterClose, std::vector<std::string>{}) << "sent after the close";
    EXPECT_EQ(p.tc.ctx->windows().find(c.kind), nullptr) << "the registry still has it";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the window was not deleted";
    EXPECT_TRUE(frame.isNull()) << "its frame was not deleted";

    core::ToolWindow* again = p.open(c);
    EXPECT_NE(again, nullptr);
    if (again) {
        for (const std::string& kept : apptest::stateChanges(asOpened, apptest::shownState(again)))
            ADD_FAILURE() << "the window opened again differs from a fresh one: " << kept;
    }
    apptest::closeEveryWindow(p);
    return duringRun;
}

class FrameClose : public ::testing::TestWithParam<WindowCase> {};

TEST_P(FrameClose, ClosingTheFrameEndsTheRunDeletesTheWindowAndTheNextOpeningIsFresh) {
    FramedProgram p;
    const WindowCase& c = GetParam();
    core::ToolWindow* w = p.open(c);
    ASSERT_NE(w, nullptr);
    const std::vector<std::string> asOpened = apptest::shownState(w);
    {
        SCOPED_TRACE("no click, the user's entries typed");
        apptest::typeEntries(w);
        switchLoopsOn(w);
        closeThroughFrame(p, c, w, nullptr, asOpened);
    }

    int closedInRun = 0;
    for (const SendingButton& s : apptest::sendingButtons(p, c)) {
        SCOPED_TRACE(s.where());
        w = apptest::freshWindow(p, c, s.view);
        ASSERT_NE(w, nullptr);
        switchLoopsOn(w);
        QAbstractButton* b = apptest::buttonOf(w, s);
        ASSERT_NE(b, nullptr);
        if (closeThroughFrame(p, c, w, b, asOpened)) ++closedInRun;
    }
    EXPECT_GE(closedInRun, leastClosedInRun(c.kind));
}

// The tag detection's window as its calibration on the simulated board leaves it: the
// empty antenna inside the window, a tag below it, so that a detection wakes on the tags
// the board holds and goes on to probe for them.
constexpr apptest::Typed kCalibrated[] = {
    {"txt_TagDetection_DacDataL_value", "98"},
    {"txt_TagDetection_DacDataH_value", "A8"},
};

// A fresh window of `c` in the view of `s`, the detector calibrated.
core::ToolWindow* calibratedWindow(FramedProgram& p, const SendingButton& s) {
    core::ToolWindow* w = apptest::freshWindow(p, s.window, s.view);
    if (w) apptest::typeEntries(w, kCalibrated);
    return w;
}

// The passes of a click's run at which the window is closed: each of the first ones, then
// a spread up to the last.
std::vector<int> closingPasses(int passes) {
    constexpr int kEach = 40;
    constexpr int kSpread = 10;
    std::vector<int> at;
    for (int k = 1; k <= std::min(passes, kEach); ++k) at.push_back(k);
    for (int i = 1; passes > kEach && i <= kSpread; ++i)
        at.push_back(kEach + (passes - kEach) * i / kSpread);
    return at;
}

// The fewest passes of events of the longest click of a window: one at least in each slot
// of the SOLA anticollision (the simulated board holds one SOLA chip, so a pass after the
// slot that finds it is followed by its SELECT), which the detections probe too.
int leastPassesOfOneClick(const WindowCase& c) {
    using K = core::WindowKind;
    constexpr int kSolaSlots = 16;
    switch (c.kind) {
        case K::Iso14443B:
            return c.product.startsWith(QLatin1String("SOL")) ? kSolaSlots : 0;
        case K::TagDetection:
        case K::AutoDetect:
            return kSolaSlots;
        default:
            return 0;
    }
}

TEST_P(FrameClose, AClosingAtAnyPassOfARunEndsItThere) {
    FramedProgram p;
    const WindowCase& c = GetParam();
    core::ToolWindow* w = p.open(c);
    ASSERT_NE(w, nullptr);
    const std::vector<std::string> asOpened = apptest::shownState(w);
    apptest::closeEveryWindow(p);

    int mostPasses = 0;
    for (const SendingButton& s : apptest::sendingButtons(p, c)) {
        w = calibratedWindow(p, s);
        ASSERT_NE(w, nullptr);
        QAbstractButton* b = apptest::buttonOf(w, s);
        ASSERT_NE(b, nullptr);
        const int passes = apptest::eachPause(
            w, [&] { apptest::clickWatched(p, w, b); }, [](int) {});
        apptest::closeEveryWindow(p);
        mostPasses = std::max(mostPasses, passes);
        for (int k : closingPasses(passes)) {
            SCOPED_TRACE(s.where() + ", closed at pass " + std::to_string(k) + " of " +
                         std::to_string(passes));
            w = calibratedWindow(p, s);
            ASSERT_NE(w, nullptr);
            b = apptest::buttonOf(w, s);
            ASSERT_NE(b, nullptr);
            EXPECT_TRUE(closeThroughFrame(p, c, w, b, asOpened, k))
                << "the run was over before that pass";
        }
    }
    EXPECT_GE(mostPasses, leastPassesOfOneClick(c));
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, FrameClose, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace
