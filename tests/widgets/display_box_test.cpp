// A box in which the program shows a request, an answer or an explanation shows each text
// it is given from the first character, also when the text is longer than the box; a user
// who clicked into it moves through it as he likes until the next text comes.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <functional>

#include "widgets/window_builder.hpp"

namespace {

// An answer far wider than a box 1000 twips wide.
const QString kLongAnswer =
    QStringLiteral("8014010203040506070812FC0000000000000000000000000000000000000000ABCD00");

TEST(DisplayBox, EveryTextItIsGivenShowsFromItsFirstCharacter) {
    QWidget window;
    const widgets::WindowBuilder b(&window);
    // The button whose click gave the answer keeps the focus.
    auto* send = b.place(new QPushButton(QStringLiteral("Send"), &window),
                         QStringLiteral("cmdSend"), 0, 0, 1000, 375);
    QLineEdit* box = b.display(&window, QStringLiteral("txtAnswer"), 0, 480, 1000);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    send->setFocus();
    ASSERT_GT(box->fontMetrics().horizontalAdvance(kLongAnswer), box->width());

    const struct {
        const char* name;
        std::function<void()> act;
        int cursor;  // where the box's cursor, and so its view, stands afterwards
    } steps[] = {
        {"a long answer", [&] { box->setText(kLongAnswer); }, 0},
        {"the same answer again", [&] { box->setText(kLongAnswer); }, 0},
        {"the user clicks into the box and goes to its end",
         [&] {
             QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2));
             QTest::keyClick(box, Qt::Key_End);
         },
         static_cast<int>(kLongAnswer.size())},
        {"the next answer while the box has the focus", [&] { box->setText(kLongAnswer.left(40)); },
         0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(box->cursorPosition(), step.cursor);
    }
}

}  // namespace
