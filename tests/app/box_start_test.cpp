// A request or an answer longer than its box shows from its first character: the result
// code and the length stand at its start, and a box that showed the end of a long answer
// would hide them. Qt leaves the cursor of a box at the end of the text it is given, and
// a box shows where its cursor is.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLineEdit>
#include <algorithm>
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

// A line edit draws its text two pixels in from each side of its contents.
constexpr int kLineEditTextMargin = 2;

bool cutByItsBox(const QLineEdit* box) {
    return box->fontMetrics().horizontalAdvance(box->text()) >
           box->contentsRect().width() - 2 * kLineEditTextMargin;
}

class BoxStart : public ::testing::TestWithParam<WindowCase> {
  protected:
    // Clicks every sending button of the window on a fresh window and hands the window, when
    // the click left it open, to `look` with the button.
    template <class Look>
    void afterEveryClick(apptest::Program& p, Look look) {
        for (const SendingButton& s : apptest::sendingButtons(p, GetParam())) {
            core::ToolWindow* w = apptest::freshWindow(p, GetParam(), s.view);
            QAbstractButton* b = w ? apptest::buttonOf(w, s) : nullptr;
            ASSERT_NE(b, nullptr);
            b->click();
            if (!w->isClosing()) look(w, s);
            apptest::closeEveryWindow(p);
        }
    }
};

TEST_P(BoxStart, EveryRequestAndAnswerBoxShowsItsTextFromItsFirstCharacter) {
    const WindowCase& c = GetParam();
    apptest::Program p;
    int shown = 0;
    int wider = 0;
    afterEveryClick(p, [&](core::ToolWindow* w, const SendingButton& s) {
        for (QLineEdit* box : shownExchangeBoxes(w)) {
            if (box->text().isEmpty()) continue;
            ++shown;
            wider += widerThanItsBox(box);
            EXPECT_EQ(box->cursorPosition(), 0)
                << box->objectName().toStdString() << " shows \"" << box->text().toStdString()
                << "\" from character " << box->cursorPosition() << " after " << s.where();
        }
    });
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

// The other boxes a click fills hold one value each (a revision, an identification, a UID,
// a register): the value shows whole, never cut at the box's edge.
TEST_P(BoxStart, EveryValueBoxAClickFillsShowsItsWholeValue) {
    apptest::Program p;
    afterEveryClick(p, [](core::ToolWindow* w, const SendingButton& s) {
        const std::vector<QLineEdit*> exchange = shownExchangeBoxes(w);
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            if (!box->isReadOnly() || !box->isVisibleTo(w) || box->text().isEmpty()) continue;
            if (std::find(exchange.begin(), exchange.end(), box) != exchange.end()) continue;
            EXPECT_FALSE(cutByItsBox(box)) << box->objectName().toStdString() << " cuts \""
                                           << box->text().toStdString() << "\" after " << s.where();
        }
    });
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, BoxStart, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace
