// A click that reaches a window after it began to close, or while the program quits, does
// nothing: no call to the board, no line in the log, no box changed. Such a click is real:
// closing a window while one of its runs lets events run only hides it, and a click queued
// behind the close (or behind the main window's close) is delivered by that run's next
// pass of events. A handler that went on past its run's refusal would send its frame
// for a window the user has closed, or to a board the program is letting go of.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>

#include "core/command_controls.hpp"
#include "core/run_guard.hpp"
#include "sending_buttons.hpp"

namespace {

using apptest::SendingButton;
using apptest::WindowCase;

enum class Late { WindowClosing, ProgramQuitting };

// The fewest buttons found sending in a window of each kind (the fewest of its products).
std::size_t leastSendingButtons(core::WindowKind kind) {
    using K = core::WindowKind;
    switch (kind) {
        case K::Console:
            return 18;
        case K::BoardTools:
            return 14;
        case K::Iso15693:
            return 18;
        case K::Iso14443A:
        case K::Iso14443B:
            return 4;
        case K::Iso18092:
        case K::TagDetection:
            return 2;
        case K::AutoDetect:
            return 5;
        case K::Script:
            return 1;
        default:
            return 0;  // the help, the notes and the About box call no board
    }
}

// Every label and every box the user cannot type into shows a text no handler writes, so
// that a handler's write shows even where it would write what the box already held (an
// empty count, say). The boxes the user types into keep what he typed: a handler that
// reads them must find them as the user left them.
void markDisplays(core::ToolWindow* w) {
    const QString mark = QStringLiteral("(before the late click)");
    for (QLabel* l : w->findChildren<QLabel*>()) l->setText(mark);
    for (QLineEdit* e : w->findChildren<QLineEdit*>()) {
        if (e->isReadOnly()) e->setText(mark);
    }
}

// Clicks `s` on a fresh window, then once more as the click arrives late: queued while a
// run of the window lets events run, then the window closed or the program told to quit,
// then delivered by that run's next pass of events. The first click leaves in the log and
// the boxes what a late one could add to or wipe.
void expectLateClickDoesNothing(apptest::Program& p, const SendingButton& s, Late late) {
    core::ToolWindow* w = apptest::freshWindow(p, s.window, s.view);
    ASSERT_NE(w, nullptr);
    QAbstractButton* b = apptest::buttonOf(w, s);
    ASSERT_NE(b, nullptr);
    apptest::clickWatched(p, w, b);
    {
        // The run that keeps the window alive while it lets events run.
        core::RunScope pause(*w);
        ASSERT_TRUE(pause.started());
        QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
        if (late == Late::WindowClosing) {
            p.tc.ctx->windows().close(s.window.kind);
            ASSERT_TRUE(w->isClosing());
        } else {
            core::setShutdownFlags(p.tc.values());
            p.tc.ctx->setQuitting(true);
        }
        markDisplays(w);
        const apptest::Boxes before = apptest::boxesOf(w);
        std::vector<std::string> calls;
        testsupport::LoopBound bound(w, apptest::kCallsPerClick, "calls");
        p.watched.before = [&](reader::ReaderFunction f, std::string_view request) {
            calls.push_back(std::string(reader::exportedName(f)) + " " + std::string(request));
            bound.pass();
        };
        const bool ends = pause.pumpEnds();
        p.watched.before = nullptr;
        EXPECT_TRUE(ends);
        EXPECT_EQ(calls, std::vector<std::string>{}) << "the click called the board";
        for (const std::string& changed : apptest::changedBoxes(before, apptest::boxesOf(w)))
            ADD_FAILURE() << "the click changed " << changed;
    }
    p.tc.ctx->setQuitting(false);
    p.tc.values().StopRequested = false;
    apptest::closeEveryWindow(p);
}

class LateClick : public ::testing::TestWithParam<WindowCase> {};

TEST_P(LateClick, ASendingButtonDoesNothingOnceItsWindowClosesOrTheProgramQuits) {
    apptest::Program p;
    const std::vector<SendingButton> sending = apptest::sendingButtons(p, GetParam());
    EXPECT_GE(sending.size(), leastSendingButtons(GetParam().kind));
    for (const SendingButton& s : sending) {
        for (Late late : {Late::WindowClosing, Late::ProgramQuitting}) {
            SCOPED_TRACE(s.where() +
                         (late == Late::WindowClosing ? ", window closing" : ", program quitting"));
            expectLateClickDoesNothing(p, s, late);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, LateClick, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace
