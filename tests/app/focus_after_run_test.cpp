// A run switches the window's command controls off, the clicked button among them. Qt
// moves the focus off a control that goes off, to the next one in the tab chain, and a
// window that scrolls inside its frame scrolls to that control: the button and its result
// jump away from the pointer, and Space then runs the next command. After the run the
// focus must be back on the clicked button, and nothing must have scrolled.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "run_pause.hpp"
#include "sending_buttons.hpp"
#include "shell/main_window.hpp"

namespace {

using apptest::SendingButton;
using apptest::WindowCase;

// Smaller than the screens the program is used on: every tool window but the smallest
// scrolls inside its frame.
constexpr QSize kSmallMainWindow(800, 600);

// Where every scroll area of the main window stands, both ways.
std::vector<int> scrollPositions(const QWidget* main) {
    std::vector<int> at;
    for (const QScrollArea* area : main->findChildren<QScrollArea*>()) {
        at.push_back(area->horizontalScrollBar()->value());
        at.push_back(area->verticalScrollBar()->value());
    }
    return at;
}

std::string focusName() {
    const QWidget* f = QApplication::focusWidget();
    return f ? f->objectName().toStdString() + " (" + f->metaObject()->className() + ")"
             : std::string("nothing");
}

class FocusAfterRun : public ::testing::TestWithParam<WindowCase> {
  protected:
    void SetUp() override {
        sending = apptest::sendingButtons(p, GetParam());
        main.resize(kSmallMainWindow);
        main.show();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    }

    // A fresh window in the view of `s`, active in the main window, and its button `s`.
    QAbstractButton* freshButton(const SendingButton& s) {
        window = apptest::freshWindow(p, GetParam(), s.view);
        QAbstractButton* b = window ? apptest::buttonOf(window, s) : nullptr;
        auto* frame = window ? qobject_cast<QMdiSubWindow*>(window->outerFrame()) : nullptr;
        frameScroll = frame ? qobject_cast<QScrollArea*>(frame->widget()) : nullptr;
        EXPECT_NE(frameScroll, nullptr);
        if (!b || !frameScroll) return nullptr;
        main.area()->setActiveSubWindow(frame);
        return b;
    }

    // What a user does: brings the button into sight and presses it, which gives it the
    // focus; where every scroll area then stands.
    std::vector<int> pressInSight(QAbstractButton* b) {
        frameScroll->ensureWidgetVisible(b);
        QCoreApplication::processEvents();
        const std::vector<int> before = scrollPositions(&main);
        QTest::mousePress(b, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), b) << "the press left the focus on " << focusName();
        return before;
    }

    void expectFocusOnAndNothingScrolled(QAbstractButton* b, const std::vector<int>& before) {
        QCoreApplication::processEvents();
        if (window->isClosing()) return;
        EXPECT_EQ(QApplication::focusWidget(), b) << "the focus is on " << focusName();
        EXPECT_EQ(scrollPositions(&main), before) << "a scroll area moved";
    }

    apptest::Program p;
    std::vector<SendingButton> sending;
    shell::MainWindow main{*p.tc.ctx};
    core::ToolWindow* window = nullptr;
    QScrollArea* frameScroll = nullptr;
};

TEST_P(FocusAfterRun, TheClickedButtonHasTheFocusAgainAndNothingScrolled) {
    int scrolling = 0;
    for (const SendingButton& s : sending) {
        SCOPED_TRACE(s.where());
        QAbstractButton* b = freshButton(s);
        ASSERT_NE(b, nullptr);
        const std::vector<int> before = pressInSight(b);
        if (frameScroll->verticalScrollBar()->maximum() > 0) ++scrolling;
        // The run goes on inside the release's click.
        QTest::mouseRelease(b, Qt::LeftButton);
        expectFocusOnAndNothingScrolled(b, before);
        apptest::closeEveryWindow(p);
    }
    // The windows larger than the main window scroll, so a jump would show.
    if (!sending.empty() && GetParam().kind != core::WindowKind::BoardTools) {
        EXPECT_GT(scrolling, 0);
    }
}

// STOP takes the focus when the user clicks it, and hides: the focus goes back to the
// button whose run it stopped, not down the tab chain.
TEST_P(FocusAfterRun, AfterAStopTheRunsButtonHasTheFocusAndNothingScrolled) {
    int stopped = 0;
    for (const SendingButton& s : sending) {
        SCOPED_TRACE(s.where());
        QAbstractButton* b = freshButton(s);
        ASSERT_NE(b, nullptr);
        pressInSight(b);
        std::vector<int> before;
        apptest::atFirstPause(
            window, [b] { QTest::mouseRelease(b, Qt::LeftButton); },
            [&] {
                QAbstractButton* stop = nullptr;
                for (const char* name : {"cmdStopCommand", "cmdStopLoop"}) {
                    auto* b = window->findChild<QAbstractButton*>(QLatin1String(name));
                    if (b && b->isVisible()) stop = b;
                }
                if (!stop) return;
                ++stopped;
                before = pressInSight(stop);
                QTest::mouseRelease(stop, Qt::LeftButton);
            });
        if (!before.empty()) expectFocusOnAndNothingScrolled(b, before);
        apptest::closeEveryWindow(p);
    }
    // The block reads of the three tag windows show STOP, the auto-detection its Stop Loop.
    const core::WindowKind kind = GetParam().kind;
    if (kind == core::WindowKind::Iso15693 || kind == core::WindowKind::Iso14443A ||
        kind == core::WindowKind::AutoDetect ||
        (kind == core::WindowKind::Iso14443B &&
         GetParam().product != QLatin1String("ISO14443-B"))) {
        EXPECT_GT(stopped, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, FocusAfterRun, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace
