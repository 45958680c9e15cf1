// A tool window closed through the close button of its frame in the main window closes as
// its menu closes it: a run of the window that is under way ends at its next pass of
// events and sends nothing more, the window and its frame are deleted (not only hidden),
// and the next opening builds a fresh window that shows nothing of the one closed.
//
// Each sending button of each view of each window is clicked with every loop of the
// window switched on, and the frame's close button is clicked while the click's first
// call to the board is answered: the close arrives as the user's would, at the run's
// next pass of events.

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QTimer>

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

// Closes `w` through its frame while `click` runs, at the click's first call to the board;
// with no call, or no click, once the click is over. Then opens the window again. True
// when the close arrived during the click's run.
bool closeThroughFrame(FramedProgram& p, const WindowCase& c, core::ToolWindow* w,
                       QAbstractButton* click, const std::vector<std::string>& asOpened) {
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
    bool queued = false;
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
    if (click) apptest::clickWatched(p, w, click);
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

INSTANTIATE_TEST_SUITE_P(EveryWindow, FrameClose, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace
