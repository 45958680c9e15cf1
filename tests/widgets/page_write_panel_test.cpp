#include "widgets/page_write_panel.hpp"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "core/hex_checks.hpp"
#include "core/run_guard.hpp"
#include "core/tool_window.hpp"
#include "entry_keys.hpp"
#include "test_context.hpp"
#include "transceiver/hex_text.hpp"

namespace {

using widgets::PageWritePanel;

class PageWritePanelTest : public ::testing::Test {
  protected:
    PageWritePanelTest() { t.values().BlockSizeBytes = 4; }

    PageWritePanel& panel(PageWritePanel::FillTrigger trigger) {
        panel_ = std::make_unique<PageWritePanel>(*t.ctx, trigger);
        return *panel_;
    }
    QStringList shownRows() const {
        QStringList s;
        for (int i = 0; i < PageWritePanel::kRows; ++i) {
            if (!panel_->row(i)->isHidden()) s << panel_->row(i)->displayText();
        }
        return s;
    }

    testsupport::TestContext t;
    std::unique_ptr<PageWritePanel> panel_;
};

TEST_F(PageWritePanelTest, LaysOutFullRowsAndARowForTheRest) {
    PageWritePanel& p = panel(PageWritePanel::FillTrigger::OnLeave);
    struct Case {
        int bytes;
        QStringList rows;
    };
    const Case cases[] = {
        {1, {"00 "}},
        {4, {"00 00 00 00 "}},
        {6, {"00 00 00 00 ", "00 00 "}},
        {16, {"00 00 00 00 ", "00 00 00 00 ", "00 00 00 00 ", "00 00 00 00 "}},
    };
    for (const Case& c : cases) {
        p.ShowPageWritePanel(c.bytes);
        EXPECT_EQ(shownRows(), c.rows) << c.bytes;
        EXPECT_EQ(p.data(c.bytes), c.rows.join(QString()));
        EXPECT_FALSE(p.writeButton()->isHidden());
    }
    // More bytes than sixteen rows hold: sixteen full rows, no more.
    p.ShowPageWritePanel(100);
    EXPECT_EQ(shownRows().size(), 16);
    EXPECT_EQ(p.layoutBytes(), 64);
    // The ISO15693 window shows Write only on its User Mode page.
    p.ShowPageWritePanel(4, false);
    EXPECT_TRUE(p.writeButton()->isHidden());
    EXPECT_FALSE(p.cancelButton()->isHidden());
}

TEST_F(PageWritePanelTest, RowsReadWithTheirPromptsSoHalfTypedBytesAreRefused) {
    PageWritePanel& p = panel(PageWritePanel::FillTrigger::OnLeave);
    p.ShowPageWritePanel(4);
    p.row(0)->setText(QStringLiteral("1a2b3c4"));
    EXPECT_EQ(p.data(4), QStringLiteral("1A 2B 3C 4_ "));
    EXPECT_FALSE(transceiver::isHexDataText(p.data(4)));
    p.row(0)->setText(QStringLiteral("11223344"));
    EXPECT_EQ(p.data(4), QStringLiteral("11 22 33 44 "));
}

TEST_F(PageWritePanelTest, FillOnLeaveRepeatsTheByteOverTheLaidOutBytes) {
    PageWritePanel& p = panel(PageWritePanel::FillTrigger::OnLeave);
    p.ShowPageWritePanel(6);
    p.fillBox()->setText(QStringLiteral("5a"));
    EXPECT_EQ(shownRows(), (QStringList{"00 00 00 00 ", "00 00 "}));  // not before leaving
    p.fillBoxLeft();
    EXPECT_EQ(shownRows(), (QStringList{"5A 5A 5A 5A ", "5A 5A "}));

    // One digit: the data message, the rows keep their text.
    t.ui.expectMessage();
    p.fillBox()->setText(QStringLiteral("7"));
    p.fillBoxLeft();
    ASSERT_EQ(t.ui.messages().size(), 1u);
    EXPECT_EQ(t.ui.messages()[0].text, core::kInvalidDataText);
    EXPECT_EQ(shownRows(), (QStringList{"5A 5A 5A 5A ", "5A 5A "}));

    // Nothing typed ("__"): nothing happens.
    p.resetFill();
    EXPECT_EQ(p.fillBox()->displayText(), widgets::kEmptyFill);
    p.fillBoxLeft();
    EXPECT_EQ(t.ui.messages().size(), 1u);
}

TEST_F(PageWritePanelTest, FillOnChangeActsOnceBothDigitsAreTyped) {
    PageWritePanel& p = panel(PageWritePanel::FillTrigger::OnChange);
    p.ShowPageWritePanel(16);
    p.fillBox()->setText(QStringLiteral("A"));  // the first digit leaves a prompt: no verdict yet
    EXPECT_TRUE(t.ui.messages().empty());
    EXPECT_EQ(p.data(16), QString(QStringLiteral("00 ")).repeated(16));
    p.fillBox()->setText(QStringLiteral("A5"));
    EXPECT_EQ(p.data(16), QString(QStringLiteral("A5 ")).repeated(16));
    p.resetFill();  // the reset changes no row and shows no message
    EXPECT_EQ(p.data(16), QString(QStringLiteral("A5 ")).repeated(16));
    t.ui.expectMessage();
    p.fillBox()->setText(QStringLiteral("ZZ"));  // whole, and not hex
    EXPECT_EQ(t.ui.messages().size(), 1u);
    EXPECT_EQ(p.data(16), QString(QStringLiteral("A5 ")).repeated(16));
    p.fillBoxLeft();  // leaving does nothing more in this variant
    EXPECT_EQ(t.ui.messages().size(), 1u);
}

TEST_F(PageWritePanelTest, AClickIntoTheEmptyFillBoxStartsTheByteAtItsFirstPrompt) {
    PageWritePanel& p = panel(PageWritePanel::FillTrigger::OnLeave);
    p.ShowPageWritePanel(4);
    p.show();
    QLineEdit* fill = p.fillBox();
    const QPointF end(fill->width() - 2, fill->height() / 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, end, fill->mapToGlobal(end), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(fill, &click);
    }
    for (QChar c : QStringLiteral("5a")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(fill, &key);
    }
    EXPECT_EQ(fill->displayText(), "5A");
}

class RangeWriteTest : public ::testing::Test {
  protected:
    RangeWriteTest() : window(*t.ctx, core::WindowKind::Iso15693) {}
    testsupport::TestContext t;
    core::ToolWindow window;
    std::vector<std::int32_t> written;
};

TEST_F(RangeWriteTest, WritesFromFromToToAcrossTheWrap) {
    core::RunScope run(window);
    const auto range = widgets::blockRange(0x0E, 0x02, 0x0F);
    const auto end =
        widgets::writeBlockRange(run, range, [&](std::int32_t a) { written.push_back(a); });
    EXPECT_EQ(end, widgets::RangeWriteEnd::Completed);
    EXPECT_EQ(written, (std::vector<std::int32_t>{0x0E, 0x0F, 0x00, 0x01, 0x02}));
    EXPECT_FALSE(t.values().PageWritePending);
}

TEST_F(RangeWriteTest, CancelEndsTheLoopAfterTheBlockInProgress) {
    core::RunScope run(window);
    const auto range = widgets::blockRange(0x00, 0x0F, 0x0F);
    const auto end = widgets::writeBlockRange(run, range, [&](std::int32_t a) {
        written.push_back(a);
        if (a == 0x03) t.values().PageWritePending = false;  // Cancel in the pause
    });
    EXPECT_EQ(end, widgets::RangeWriteEnd::Cancelled);
    EXPECT_EQ(written, (std::vector<std::int32_t>{0x00, 0x01, 0x02, 0x03}));
}

TEST_F(RangeWriteTest, ClosingTheWindowAbandonsTheLoop) {
    core::RunScope run(window);
    const auto range = widgets::blockRange(0x00, 0x0F, 0x0F);
    const auto end = widgets::writeBlockRange(run, range, [&](std::int32_t a) {
        written.push_back(a);
        if (a == 0x01) window.markClosing();
    });
    EXPECT_EQ(end, widgets::RangeWriteEnd::Abandoned);
    EXPECT_EQ(written.size(), 2u);
}

// A row or the fill box takes a paste whole or not at all: a row that kept the bytes that
// fit would write data the user never pasted.
TEST_F(PageWritePanelTest, APasteLongerThanARowIsRefusedWholeWithABeep) {
    PageWritePanel& p = panel(PageWritePanel::FillTrigger::OnLeave);
    p.ShowPageWritePanel(4);
    QLineEdit* row = p.row(0);
    QLineEdit* fill = p.fillBox();
    struct Case {
        QLineEdit* box;
        int cursor;  // -1: the whole text selected
        const char* pasted;
        const char* after;  // what the box shows; the box before the paste when refused
        bool refused;
    };
    const Case cases[] = {
        {row, -1, "11 22 33 44", "11 22 33 44 ", false},
        {row, -1, "11223344", "11 22 33 44 ", false},
        {row, -1, "11 22 33 44 55", "00 00 00 00 ", true},
        {row, -1, "112233445", "00 00 00 00 ", true},
        {row, 3, "22 33 44", "00 22 33 44 ", false},
        {row, 3, "22 33 44 55", "00 00 00 00 ", true},
        {fill, -1, "AB", "AB", false},
        {fill, -1, "ABC", "__", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        c.box->setText(c.box == row ? QStringLiteral("00 00 00 00 ") : QString());
        if (c.cursor < 0) {
            c.box->selectAll();
        } else {
            c.box->setCursorPosition(c.cursor);
        }
        const int beeps = t.ui.beeps();
        testsupport::pasteWithKeys(c.box, QLatin1String(c.pasted));
        EXPECT_EQ(c.box->displayText(), QLatin1String(c.after));
        EXPECT_EQ(t.ui.beeps() - beeps, c.refused ? 1 : 0);
    }
}

}  // namespace
