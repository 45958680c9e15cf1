// A request or an answer longer than its box shows from its first character: the result
// code and the length stand at its start, and a box that showed the end of a long answer
// would hide them. Qt leaves the cursor of a box at the end of the text it is given, and
// a box shows where its cursor is.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLineEdit>
#include <string>
#include <vector>

#include "sending_buttons.hpp"

namespace {

using apptest::SendingButton;
using apptest::WindowCase;

// The boxes in which the window shows a request or an answer: the rows of its exchanges
// and its calls, which the user cannot type into.
std::vector<QLineEdit*> shownExchangeBoxes(core::ToolWindow* w) {
    std::vector<QLineEdit*> boxes;
    for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
        const QString name = box->objectName();
        if (box->isReadOnly() && (name.contains(QLatin1String("request"), Qt::CaseInsensitive) ||
                                  name.contains(QLatin1String("answer"), Qt::CaseInsensitive)))
            boxes.push_back(box);
    }
    return boxes;
}

bool widerThanItsBox(const QLineEdit* box) {
    return box->fontMetrics().horizontalAdvance(box->text()) > box->contentsRect().width();
}

class BoxStart : public ::testing::TestWithParam<WindowCase> {};

TEST_P(BoxStart, EveryRequestAndAnswerBoxShowsItsTextFromItsFirstCharacter) {
    const WindowCase& c = GetParam();
    apptest::Program p;
    int shown = 0;
    int wider = 0;
    for (const SendingButton& s : apptest::sendingButtons(p, c)) {
        core::ToolWindow* w = apptest::freshWindow(p, c, s.view);
        QAbstractButton* b = w ? apptest::buttonOf(w, s) : nullptr;
        ASSERT_NE(b, nullptr);
        b->click();
        if (!w->isClosing()) {
            for (QLineEdit* box : shownExchangeBoxes(w)) {
                if (box->text().isEmpty()) continue;
                ++shown;
                wider += widerThanItsBox(box);
                EXPECT_EQ(box->cursorPosition(), 0)
                    << box->objectName().toStdString() << " shows \"" << box->text().toStdString()
                    << "\" from character " << box->cursorPosition() << " after " << s.where();
            }
        }
        apptest::closeEveryWindow(p);
    }
    // The window's answers, and its request and answer rows.
    if (c.kind != core::WindowKind::Script && c.kind != core::WindowKind::ScriptHelp &&
        c.kind != core::WindowKind::About) {
        EXPECT_GT(shown, 0);
    }
    // The FeliCa polling answer is longer than the window's answer box.
    if (c.kind == core::WindowKind::Iso18092) {
        EXPECT_GT(wider, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, BoxStart, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace
