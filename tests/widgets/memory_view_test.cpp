#include "widgets/memory_view.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "test_context.hpp"
#include "transceiver/hex_text.hpp"

namespace {

using widgets::MemoryView;

TEST(BlockRangeTest, CountsAndWrapsModuloTheBlockCount) {
    struct Case {
        std::uint32_t from, to;
        std::int32_t mask;
        std::int32_t count;
        std::vector<std::int32_t> first;  // the first addresses of the range
    };
    const Case cases[] = {
        {0x05, 0x05, 0x3F, 1, {0x05}},
        {0x3E, 0x01, 0x3F, 4, {0x3E, 0x3F, 0x00, 0x01}},
        {0x05, 0x04, 0x3F, 0x40, {0x05, 0x06}},  // the whole memory from "from" on
        {0x7F, 0x00, 0x3F, 2, {0x3F, 0x00}},     // typed above the memory: reduced
        // A memory of 96 blocks (not a power of two): 5F is the last block, 60 is 00.
        {0x5E, 0x01, 0x5F, 4, {0x5E, 0x5F, 0x00, 0x01}},
        {0x60, 0x61, 0x5F, 2, {0x00, 0x01}},
        // No product (no memory): everything is block 0, never a division by zero.
        {0x07, 0x03, -1, 1, {0x00}},
    };
    for (const Case& c : cases) {
        const widgets::BlockRange r = widgets::blockRange(c.from, c.to, c.mask);
        EXPECT_EQ(r.count, c.count) << c.from << " " << c.to;
        for (std::size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(r.address(i), c.first[i]);
    }
}

class MemoryViewTest : public ::testing::Test {
  protected:
    MemoryViewTest() : view(*t.ctx) {
        t.values().AddressMask = 0x3F;
        view.resize(400, 400);
    }
    // `n` memory lines "L1 " ... "Ln ".
    void lines(int n) {
        t.values().ReadViewLines.Clear();
        for (int i = 1; i <= n; ++i)
            t.values().ReadViewLines.AddItem(QStringLiteral("L%1 ").arg(i));
    }
    QStringList shown() const {
        QStringList s;
        for (int i = 0; i < view.count(); ++i) s << view.item(i)->text();
        return s;
    }
    QString top() const { return view.count() ? view.item(0)->text() : QString(); }
    void press(int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&view, &e);
    }

    testsupport::TestContext t;
    MemoryView view;
};

TEST_F(MemoryViewTest, FillShowsTheLastSixteenLinesBehindTheirAddresses) {
    lines(3);
    view.fill(0x3E, 3);
    EXPECT_EQ(shown(), (QStringList{"003E   L1 ", "003F   L2 ", "0000   L3 "}));
    EXPECT_EQ(t.values().ReadViewTopLine, 1);

    lines(17);
    view.fill(0x10, 17);
    EXPECT_EQ(t.values().ReadViewTopLine, 2);
    EXPECT_EQ(view.count(), 16);
    EXPECT_EQ(top(), QStringLiteral("0011   L2 "));
    EXPECT_EQ(view.item(15)->text(), QStringLiteral("0020   L17 "));
}

TEST_F(MemoryViewTest, PagingKeysMoveTheWindowOverTheLines) {
    // A read from 3E to 10 (19 blocks) that wraps: the window starts at item 4 (0001).
    lines(19);
    view.fill(0x3E, 19);
    EXPECT_EQ(top(), QStringLiteral("0001   L4 "));
    view.setCurrentRow(0);
    press(Qt::Key_Up);
    EXPECT_EQ(top(), QStringLiteral("0000   L3 "));
    press(Qt::Key_Up);
    EXPECT_EQ(top(), QStringLiteral("003F   L2 "));
    EXPECT_EQ(view.currentRow(), 0);
    press(Qt::Key_Home);
    EXPECT_EQ(top(), QStringLiteral("003E   L1 "));
    press(Qt::Key_End);
    EXPECT_EQ(t.values().ReadViewTopLine, 4);

    // Down moves the window only from the last shown line, and not past the end.
    view.setCurrentRow(15);
    press(Qt::Key_Down);
    EXPECT_EQ(t.values().ReadViewTopLine, 4);
    press(Qt::Key_Home);
    view.setCurrentRow(15);
    press(Qt::Key_Down);
    EXPECT_EQ(t.values().ReadViewTopLine, 2);
    EXPECT_EQ(view.currentRow(), 15);
    view.setCurrentRow(5);
    press(Qt::Key_Down);  // inside the window: only the selection moves
    EXPECT_EQ(t.values().ReadViewTopLine, 2);
    EXPECT_EQ(view.currentRow(), 6);
}

TEST_F(MemoryViewTest, PageDownStopsAtTheLastWindowAndPageUpAtTheFirst) {
    lines(20);
    view.fill(0x00, 20);
    press(Qt::Key_Home);
    view.setCurrentRow(3);
    view.navigate(Qt::Key_PageDown);
    EXPECT_EQ(t.values().ReadViewTopLine, 5);  // size - 15, not 17
    EXPECT_EQ(view.currentRow(), 3);           // the selection is restored
    view.navigate(Qt::Key_PageUp);
    EXPECT_EQ(t.values().ReadViewTopLine, 1);

    lines(50);
    view.fill(0x00, 50);
    press(Qt::Key_Home);
    view.navigate(Qt::Key_PageDown);
    EXPECT_EQ(t.values().ReadViewTopLine, 17);
    EXPECT_EQ(top(), QStringLiteral("0010   L17 "));
    view.navigate(Qt::Key_PageDown);
    EXPECT_EQ(t.values().ReadViewTopLine, 33);
    view.navigate(Qt::Key_PageDown);
    EXPECT_EQ(t.values().ReadViewTopLine, 35);  // size - 15
    view.navigate(Qt::Key_PageUp);
    EXPECT_EQ(t.values().ReadViewTopLine, 19);
}

// Up and Left on the top line of the first window have nowhere to go: the view keeps its
// sixteen lines from the first one, none of them scrolled out of sight.
TEST_F(MemoryViewTest, UpOnTheFirstLineOfTheFirstWindowLeavesTheViewWhole) {
    lines(20);
    view.fill(0x00, 20);
    press(Qt::Key_Home);
    QStringList first;
    for (int i = 1; i <= 16; ++i)
        first << widgets::readViewLine(i - 1, QStringLiteral("L%1 ").arg(i));
    for (int key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Up}) {
        view.setCurrentRow(0);
        press(key);
        EXPECT_EQ(t.values().ReadViewTopLine, 1);
        EXPECT_EQ(shown(), first);
        EXPECT_EQ(view.currentRow(), 0);
        EXPECT_EQ(view.indexAt(QPoint(1, 1)).row(), 0);
        EXPECT_TRUE(view.viewport()->rect().contains(view.visualItemRect(view.item(15))));
    }
}

// The wheel pages as Page Down and Page Up do, one page a notch, over the lines and over
// the bar beside them; a finer wheel pages once its turns add up to a notch.
TEST_F(MemoryViewTest, TheWheelPagesTheViewANotchAPage) {
    lines(50);
    view.fill(0x00, 50);
    press(Qt::Key_Home);
    view.setCurrentRow(3);
    const struct {
        QWidget* over;
        int angle;
        int top;
    } turns[] = {
        {view.viewport(), -120, 17},    {view.viewport(), -120, 33}, {view.viewport(), -120, 35},
        {view.viewport(), -120, 35},    {view.viewport(), 120, 19},  {view.positionBar(), 120, 3},
        {view.positionBar(), -120, 19}, {view.viewport(), 60, 19},   {view.viewport(), 60, 3},
        {view.viewport(), 240, 1},
    };
    for (const auto& turn : turns) {
        SCOPED_TRACE(std::to_string(turn.angle) + " to " + std::to_string(turn.top));
        const QPointF at(4, 4);
        QWheelEvent e(at, turn.over->mapToGlobal(at), QPoint(), QPoint(0, turn.angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(turn.over, &e);
        EXPECT_EQ(t.values().ReadViewTopLine, turn.top);
        EXPECT_EQ(top(), widgets::readViewLine(turn.top - 1, QStringLiteral("L%1 ").arg(turn.top)));
        EXPECT_EQ(view.count(), 16);
        EXPECT_EQ(view.currentRow(), 3);
        EXPECT_EQ(view.positionBar()->value(), turn.top);
    }
}

// The bar shows where the sixteen lines stand among all the lines read, and moving it
// moves them; with nothing more to show it stands still.
TEST_F(MemoryViewTest, TheBarBesideTheLinesShowsAndMovesTheWindow) {
    QScrollBar* bar = view.positionBar();
    view.show();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->isEnabled());  // nothing read yet

    lines(40);
    view.fill(0x10, 40);
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 25);  // the last window starts at line 40 - 15
    EXPECT_EQ(bar->pageStep(), 16);
    EXPECT_EQ(bar->value(), 25);
    const QRect shown = view.viewport()->geometry();
    EXPECT_EQ(bar->geometry().left(), shown.right() + 1);
    EXPECT_EQ(bar->geometry().height(), shown.height());

    view.setCurrentRow(2);
    bar->setValue(10);
    EXPECT_EQ(t.values().ReadViewTopLine, 10);
    EXPECT_EQ(top(), QStringLiteral("0019   L10 "));
    EXPECT_EQ(view.currentRow(), 2);
    press(Qt::Key_End);
    EXPECT_EQ(bar->value(), 25);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(t.values().ReadViewTopLine, 9);

    for (int n : {16, 3}) {
        lines(n);
        view.fill(0x00, n);
        EXPECT_FALSE(bar->isEnabled()) << n;
    }
    lines(40);
    view.fill(0x00, 40);
    view.empty();
    EXPECT_FALSE(bar->isEnabled());
}

TEST_F(MemoryViewTest, SixteenLinesOrFewerNeverScroll) {
    lines(16);
    view.fill(0x00, 16);
    for (int key : {Qt::Key_End, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home}) {
        view.navigate(key);
        EXPECT_EQ(t.values().ReadViewTopLine, 1);
        EXPECT_EQ(top(), QStringLiteral("0000   L1 "));
    }
}

TEST_F(MemoryViewTest, KeysOnAnEmptyViewDoNothing) {
    lines(40);
    t.values().ReadViewTopLine = 7;
    for (int key : {Qt::Key_End, Qt::Key_Home, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_Down})
        press(key);
    EXPECT_EQ(view.count(), 0);
    EXPECT_EQ(t.values().ReadViewTopLine, 7);

    view.fill(0x00, 40);
    view.empty();
    press(Qt::Key_Home);
    EXPECT_EQ(view.count(), 0);
}

TEST_F(MemoryViewTest, DoubleClickCopiesTheSelectedLineWhole) {
    lines(5);
    view.fill(0x00, 5);
    view.setCurrentRow(3);
    view.copySelectedLine();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("0003   L4 "));
    view.clearSelection();
    view.copySelectedLine();
    EXPECT_EQ(QApplication::clipboard()->text(), QString());
}

}  // namespace
