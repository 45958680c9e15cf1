// A button acts on its click, a press and a release on it: a press the user drags off the
// button before letting go (having pressed the wrong one) sends nothing to the board.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

#include "sending_buttons.hpp"

namespace {

using apptest::SendingButton;
using apptest::WindowCase;

class PressDraggedOff : public ::testing::TestWithParam<WindowCase> {};

TEST_P(PressDraggedOff, APressDraggedOffASendingButtonSendsNothing) {
    const WindowCase& c = GetParam();
    apptest::Program p;
    for (const SendingButton& s : apptest::sendingButtons(p, c)) {
        SCOPED_TRACE(s.where());
        core::ToolWindow* w = apptest::freshWindow(p, c, s.view);
        QAbstractButton* b = w ? apptest::buttonOf(w, s) : nullptr;
        ASSERT_NE(b, nullptr);
        int calls = 0;
        p.watched.watch = [&](reader::ReaderFunction, std::string_view) { ++calls; };
        QTest::mousePress(b, Qt::LeftButton, {}, b->rect().center());
        QTest::mouseMove(b, b->rect().bottomRight() + QPoint(40, 40));
        QTest::mouseRelease(b, Qt::LeftButton, {}, b->rect().bottomRight() + QPoint(40, 40));
        QCoreApplication::processEvents();
        p.watched.watch = nullptr;
        EXPECT_EQ(calls, 0) << "the press alone called the board";
        apptest::closeEveryWindow(p);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, PressDraggedOff, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace
