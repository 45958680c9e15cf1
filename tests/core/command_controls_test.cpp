// The controls a run switches off hold the keyboard focus of the one that had it, or of the
// box inside it that had it: Qt would pass it down the tab chain to another control and
// scroll the window there. Switched on, they give it back.
#include "core/command_controls.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "test_context.hpp"

namespace {

TEST(CommandControlsFocus, TheFocusOfAControlOrOfABoxInsideOneComesBackAfterTheRun) {
    testsupport::TestContext t;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new QPushButton(QStringLiteral("Read"), &window);
    auto* frame = new QGroupBox(QStringLiteral("Options"), &window);
    auto* inFrame = new QLineEdit(frame);
    (new QVBoxLayout(frame))->addWidget(inFrame);
    auto* outside = new QLineEdit(&window);
    layout->addWidget(button);
    layout->addWidget(frame);
    layout->addWidget(outside);
    core::CommandControls controls(t.values(), core::CommandControls::StopFlag::Clears);
    controls.setControls({button, frame});
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    const struct {
        const char* name;
        QWidget* focused;
        QWidget* duringRun;  // where the focus stands while the controls are off
    } cases[] = {
        {"the control", button, nullptr},
        {"a box inside a control", inFrame, nullptr},
        {"a box the run leaves on", outside, outside},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.focused->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), c.focused);
        controls.EnableCommandControls(false);
        EXPECT_FALSE(button->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), c.duringRun);
        controls.EnableCommandControls(true);
        EXPECT_EQ(QApplication::focusWidget(), c.focused);
    }

    // A focus the user (or the run) gave meanwhile is left where it is.
    button->setFocus(Qt::OtherFocusReason);
    controls.EnableCommandControls(false);
    outside->setFocus(Qt::OtherFocusReason);
    controls.EnableCommandControls(true);
    EXPECT_EQ(QApplication::focusWidget(), outside);
}

}  // namespace
