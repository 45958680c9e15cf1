#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "core/hex_checks.hpp"
#include "loop_bound.hpp"
#include "widgets/memory_view.hpp"
#include "widgets/page_write_panel.hpp"
#include "window_fixture.hpp"

namespace iso15693test {
namespace {

using reader::ReaderFunction;

class MemoryTest : public SimWindowTest {
  public:
    MemoryTest() : SimWindowTest(countingTag()) {}

    widgets::MemoryView* readView() {
        return get<widgets::MemoryView>(QStringLiteral("lstReadView"));
    }
    std::vector<std::string> selects() {
        std::vector<std::string> r;
        for (const auto& e : recorder.callsTo(ReaderFunction::Select)) r.push_back(e.request);
        return r;
    }
};

TEST_F(MemoryTest, ReadRunsOverARangeThatWraps) {
    const QStringList lines{blockLine(0x3E), blockLine(0x3F), blockLine(0x00), blockLine(0x01)};
    const QStringList shown{"003E   " + lines[0], "003F   " + lines[1], "0000   " + lines[2],
                            "0001   " + lines[3]};
    struct Case {
        const char* button;
        std::vector<std::string> requests;
        std::vector<std::string> selects;
    };
    const Case cases[] = {
        {"cmdReadUser", {"02203E", "02203F", "022000", "022001"}, {}},
        {"cmdFastReadSingleBlock",
         {"02C0023E", "02C0023F", "02C00200", "02C00201"},
         {"011D", "010D"}},
        {"cmdReadMultipleBlock", {"02233E01", "02230001"}, {}},
        {"cmdFastReadMultipleBlock", {"02C3023E01", "02C3020001"}, {"011D", "010D"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        openUserMode("VEL-C", "3e", "1");
        click(QLatin1String(c.button));
        EXPECT_EQ(sentToBoard(), c.requests);
        EXPECT_EQ(selects(), c.selects);
        EXPECT_EQ(memoryLines(), lines);
        EXPECT_EQ(view(), shown);
        EXPECT_TRUE(readView()->isEnabled());
        EXPECT_EQ(text(QStringLiteral("txtUserAddress_0")), QStringLiteral("3E"));
        EXPECT_EQ(text(QStringLiteral("txtUserAddress_1")), QStringLiteral("01"));
        EXPECT_FALSE(get<QWidget>(QStringLiteral("cmdStopCommand"))->isVisibleTo(w));
        EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdReadUser"))->isEnabled());
    }
    EXPECT_TRUE(log().contains(QStringLiteral(
        "\tFAST READ MULTIPLE BLOCK\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, 02C3023E01\r\n\t\t\t<<< ")));
    // One entry per block read: block 01 of the counting tag answers 00 04 05 06 07.
    openUserMode("VEL-C", "01", "01");
    click(QStringLiteral("cmdReadUser"));
    EXPECT_TRUE(
        log().endsWith(QStringLiteral("\r\n03-14-2026 09:26:53\tREAD SINGLE BLOCK\r\n"
                                      "\t\t\t>>> TQ73RNDLL_SENDRECV, 022001\r\n"
                                      "\t\t\t<<< 8008000405060749A400")));
}

TEST_F(MemoryTest, LockedAndOutOfRangeBlocksAndTheSecurityByte) {
    // A product of 128 blocks in front of a tag of 64: block 40 is not there.
    openUserMode("DUONX-C", "3F", "40");
    click(QStringLiteral("cmdReadUser"));
    EXPECT_EQ(memoryLines(), (QStringList{blockLine(0x3F), "(10) Block address not available"}));
    click(QStringLiteral("cmdReadMultipleBlock"));
    EXPECT_EQ(memoryLines(), (QStringList{blockLine(0x3F), "(10) Block address not available"}));

    open("VEL-C");
    get<QTabBar>(QStringLiteral("tabStripchoice"))->setCurrentIndex(1);
    range("00", "02");
    tick(QStringLiteral("chkLockBits"));
    click(QStringLiteral("cmdReadUser"));
    EXPECT_EQ(memoryLines(), (QStringList{"00   " + blockLine(0), "01   " + blockLine(1),
                                          "00   " + blockLine(2)}));
    click(QStringLiteral("cmdReadMultipleBlock"));
    EXPECT_EQ(sentToBoard().back(), "42230002");
    EXPECT_EQ(memoryLines()[1], "01   " + blockLine(1));
}

TEST_F(MemoryTest, StopEndsTheRunAfterTheBlockUnderWay) {
    struct Case {
        const char* button;
        std::vector<std::string> selects;  // the fast run ends with the normal parameters
    };
    const Case cases[] = {{"cmdReadUser", {}},
                          {"cmdFastReadSingleBlock", {"011D", "010D"}},
                          {"cmdReadMultipleBlock", {}}};
    for (const Case& c : cases) {
        const char* button = c.button;
        SCOPED_TRACE(button);
        openUserMode("VEL-C", "00", "3F");
        hook.sendReceives = 0;
        hook.afterSendReceive = [&](int n) {
            auto* stop = get<QPushButton>(QStringLiteral("cmdStopCommand"));
            EXPECT_TRUE(stop->isVisibleTo(w));
            if (n == 3) stop->click();
        };
        click(QLatin1String(button));
        hook.afterSendReceive = nullptr;
        EXPECT_EQ(hook.sendReceives, 3);
        EXPECT_TRUE(view().isEmpty());
        EXPECT_FALSE(readView()->isEnabled());
        EXPECT_FALSE(get<QWidget>(QStringLiteral("cmdStopCommand"))->isVisibleTo(w));
        EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdReadUser"))->isEnabled());
        EXPECT_FALSE(tc.values().StopRequested);
        EXPECT_EQ(selects(), c.selects);
    }
}

TEST_F(MemoryTest, ViewKeysAndDoubleClickAfterARead) {
    openUserMode("VEL-C", "00", "3F");
    click(QStringLiteral("cmdReadUser"));
    EXPECT_EQ(tc.values().ReadViewTopLine, 49);
    EXPECT_EQ(view().first(), "0030   " + blockLine(0x30));
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(readView(), &home);
    EXPECT_EQ(view().first(), "0000   " + blockLine(0));
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(readView(), &pageDown);
    EXPECT_EQ(view().first(), "0010   " + blockLine(0x10));
    readView()->setCurrentRow(2);
    readView()->copySelectedLine();
    EXPECT_EQ(QApplication::clipboard()->text(), "0012   " + blockLine(0x12));
}

TEST_F(MemoryTest, PageWritesOverARangeWithALockedBlock) {
    openUserMode("VEL-C", "00", "02");
    setUpWrite("cmdWriteSingleBlock", "a1b2c3d4");
    EXPECT_EQ(get<QPushButton>(QStringLiteral("cmdWriteUser"))->text(),
              QStringLiteral("Write Single Block"));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("txtUserAddress_0"))->isEnabled());
    EXPECT_FALSE(readView()->isEnabled());
    write();
    EXPECT_EQ(sentToBoard(),
              (std::vector<std::string>{"022100A1B2C3D4", "022101A1B2C3D4", "022102A1B2C3D4"}));
    EXPECT_EQ(memoryLines(), (QStringList{"(00) No error during Prog sequence",
                                          "(12) Block is locked, content cannot be changed",
                                          "(00) No error during Prog sequence"}));
    EXPECT_EQ(view()[1], QStringLiteral("0001   (12) Block is locked, content cannot be changed"));
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdReadUser"))->isEnabled());
    EXPECT_TRUE(tc.values().PageWritePending);

    // Read back: the locked block kept its bytes.
    click(QStringLiteral("cmdReadUser"));
    EXPECT_EQ(memoryLines(), (QStringList{"A1 B2 C3 D4 ", blockLine(1), "A1 B2 C3 D4 "}));
}

TEST_F(MemoryTest, PageWriteAcrossTheWrapAndCancelInTheMiddle) {
    openUserMode("VEL-C", "3E", "01");
    setUpWrite("cmdWriteSingleBlock", "00000000");
    hook.sendReceives = 0;
    // A walk that misses its end would wrap on for ever.
    testsupport::LoopBound bound(w, 4);
    hook.afterSendReceive = [&](int n) {
        if (bound.pass() && n == 2) click(QStringLiteral("cmdCancelWriteTest"));
    };
    write();
    hook.afterSendReceive = nullptr;
    EXPECT_EQ(sentToBoard(), (std::vector<std::string>{"02213E00000000", "02213F00000000"}));
    EXPECT_TRUE(view().isEmpty());
    EXPECT_FALSE(readView()->isEnabled());
    EXPECT_FALSE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdReadUser"))->isEnabled());

    // The whole range this time: 3E, 3F, 00, 01.
    recorder.clearJournal();
    setUpWrite("cmdWriteSingleBlock", "00000000");
    testsupport::LoopBound wholeBound(w, 4);
    hook.afterSendReceive = [&](int) { (void)wholeBound.pass(); };
    write();
    hook.afterSendReceive = nullptr;
    EXPECT_EQ(sentToBoard().size(), 4u);
    ASSERT_FALSE(view().isEmpty());
    EXPECT_EQ(view().first(), QStringLiteral("003E   (00) No error during Prog sequence"));
}

TEST_F(MemoryTest, RefusedDataOrAddressLeavesThePanelOpenForCancel) {
    openUserMode("VEL-C", "00", "00");
    setUpWrite("cmdWriteSingleBlock", "a1b2c3");  // the last byte not typed
    tc.ui.expectMessage();
    write();
    EXPECT_TRUE(sentToBoard().empty());
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_EQ(tc.ui.messages()[0].text, core::kInvalidDataText);
    EXPECT_TRUE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdWriteUser"))->isEnabled());
    EXPECT_TRUE(get<QWidget>(QStringLiteral("PWData_0"))->isEnabled());
    EXPECT_FALSE(get<QWidget>(QStringLiteral("cmdReadUser"))->isEnabled());
    click(QStringLiteral("cmdCancelWriteTest"));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdReadUser"))->isEnabled());

    // Lock Sector Password opens without looking at the addresses; Write looks.
    open("DUONX-AE");
    get<QTabBar>(QStringLiteral("tabStripchoice"))->setCurrentIndex(1);
    get<QLineEdit>(QStringLiteral("txtUserAddress_0"))->setText(QStringLiteral("zz"));
    click(QStringLiteral("cmdLockSectorPassword"));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
    tc.ui.expectMessage();
    write();
    EXPECT_EQ(tc.ui.messages().back().text, core::kInvalidAddressText);
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdWriteUser"))->isEnabled());
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdCancelWriteTest"))->isEnabled());
    click(QStringLiteral("cmdCancelWriteTest"));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdReadUser"))->isEnabled());

    // A set-up with an address that is not hex opens nothing.
    tc.ui.expectMessage();
    click(QStringLiteral("cmdPresentSectorPassword"));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdReadUser"))->isEnabled());
}

TEST_F(MemoryTest, LockBlockOverARangeThatWraps) {
    openUserMode("VEL-C", "3F", "02");
    // A walk that misses its end would wrap on for ever.
    testsupport::LoopBound bound(w, 4);
    hook.afterSendReceive = [&](int) { (void)bound.pass(); };
    click(QStringLiteral("cmdLockBlock"));
    hook.afterSendReceive = nullptr;
    EXPECT_EQ(sentToBoard(), (std::vector<std::string>{"02223F", "022200", "022201", "022202"}));
    // Block 01 was locked already: the run went on, the last answer shows.
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    EXPECT_TRUE(log().contains(QStringLiteral("\tLOCK\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, 022201")));
    click(QStringLiteral("cmdGetMultipleBlockSecurityStatus"));
    EXPECT_EQ(memoryLines(), (QStringList{"01", "01", "01", "01"}));
}

// "to" past the memory is refused, never masked onto another block.
TEST_F(MemoryTest, AnAddressPastTheMemoryIsRefused) {
    struct Case {
        const char* product;
        const char* from;
        const char* to;
        const char* button;
    };
    const Case cases[] = {
        {"VEL-C", "10", "7F", "cmdLockBlock"},
        {"DUONX-AE", "0010", "800", "cmdReadUser"},
        {"DUONX-AE", "0010", "800", "cmdGetMultipleBlockSecurityStatus"},
    };
    tc.ui.allowAnyMessage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.product);
        openUserMode(c.product, c.from, c.to);
        EXPECT_EQ(text(QStringLiteral("txtUserAddress_1")), QLatin1String(c.to));
        const std::size_t messages = tc.ui.messages().size();
        click(QLatin1String(c.button));
        EXPECT_TRUE(sentToBoard().empty());
        ASSERT_EQ(tc.ui.messages().size(), messages + 1);
        EXPECT_EQ(tc.ui.messages().back().text,
                  QStringLiteral("Invalid Address: check for Hexadecimal format or Adress value"));
    }
}

TEST_F(MemoryTest, SecurityStatusOverMoreThan32BlocksAcrossTheWrap) {
    openUserMode("VEL-C", "30", "1F");
    click(QStringLiteral("cmdGetMultipleBlockSecurityStatus"));
    // The pieces end at the last block, the next one starts at block 0.
    EXPECT_EQ(sentToBoard(), (std::vector<std::string>{"022C300F", "022C001F"}));
    ASSERT_EQ(memoryLines().size(), 48);
    EXPECT_EQ(memoryLines()[16], QStringLiteral("00"));
    EXPECT_EQ(memoryLines()[17], QStringLiteral("01"));
    EXPECT_EQ(tc.values().ReadViewTopLine, 33);
    EXPECT_EQ(view().first(), QStringLiteral("0010   00"));
    EXPECT_TRUE(readView()->isEnabled());
}

TEST_F(MemoryTest, KillWithWrongAndRightCode) {
    openUserMode("VEL-C", "00", "00");
    setUpWrite("cmdWriteKill", "11223344");
    EXPECT_EQ(get<QPushButton>(QStringLiteral("cmdWriteUser"))->text(),
              QStringLiteral("Write Single Block"));
    write();
    EXPECT_EQ(sentToBoard().back(), "02B1020011223344");
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));

    setUpWrite("cmdKill", "99999999");
    EXPECT_EQ(get<QPushButton>(QStringLiteral("cmdWriteUser"))->text(),
              QStringLiteral("Write Single Block"));
    write();
    EXPECT_EQ(sentToBoard().back(), "02A6020099999999");
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("0F : unknown error code"));

    setUpWrite("cmdKill", "11223344");
    write();
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    click(QStringLiteral("cmdReadUser"));
    EXPECT_EQ(memoryLines(), QStringList{"8700"});  // killed: silent for good
}

TEST_F(MemoryTest, EnergyHarvestingReadsAndWrites) {
    openUserMode("DUONX-AE", "0000", "0000");
    type(QStringLiteral("txtEHconfig"), QStringLiteral("5"));
    click(QStringLiteral("cmdWriteEHCfg"));
    EXPECT_EQ(sentToBoard().back(), "02A10205");
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    click(QStringLiteral("cmdReadEHconfig"));
    EXPECT_EQ(sentToBoard().back(), "02A002");
    EXPECT_EQ(text(QStringLiteral("txtEHstatus")), QStringLiteral("05"));
    click(QStringLiteral("cmdSetEHenable"));
    click(QStringLiteral("cmdCheckEHenable"));
    EXPECT_EQ(text(QStringLiteral("txtCheckEHenable")), QStringLiteral("01"));
    click(QStringLiteral("cmdResetEHenable"));
    EXPECT_EQ(sentToBoard().back(), "02A20200");
    click(QStringLiteral("cmdCheckEHenable"));
    EXPECT_EQ(text(QStringLiteral("txtCheckEHenable")), QStringLiteral("00"));
    tick(QStringLiteral("chkLockBits"));
    type(QStringLiteral("txtWriteDOconfig"), QStringLiteral("01"));
    click(QStringLiteral("cmdWriteDOconfig"));
    EXPECT_EQ(sentToBoard().back(), "42A40201");
    click(QStringLiteral("cmdReadEHconfig"));  // the reads clear the option flag
    EXPECT_EQ(sentToBoard().back(), "02A002");

    // An empty byte box: the data message, nothing sent.
    const std::size_t before = sentToBoard().size();
    type(QStringLiteral("txtEHconfig"), QString());
    tc.ui.expectMessage();
    click(QStringLiteral("cmdWriteEHCfg"));
    EXPECT_EQ(sentToBoard().size(), before);
    EXPECT_EQ(tc.ui.messages().back().text, core::kInvalidDataText);
}

TEST_F(MemoryTest, ClosingTheWindowDuringAReadEndsTheRun) {
    openUserMode("VEL-C", "00", "3F");
    hook.sendReceives = 0;
    hook.afterSendReceive = [&](int n) {
        if (n == 5) tc.ctx->windows().close(core::WindowKind::Iso15693);
    };
    click(QStringLiteral("cmdFastReadSingleBlock"));
    hook.afterSendReceive = nullptr;
    EXPECT_EQ(hook.sendReceives, 5);
    w = nullptr;
}

// The default tag: sector 1 (blocks 20 to 3F) read-protected by password 1 = 11223344.
using PasswordTest = SimWindowTest;

TEST_F(PasswordTest, PresentWrongAndRightPasswordThenWriteAndLockOne) {
    open("DUONX-AE");
    get<QTabBar>(QStringLiteral("tabStripchoice"))->setCurrentIndex(1);
    type(QStringLiteral("txtUserAddress_0"), QStringLiteral("20"));
    type(QStringLiteral("txtUserAddress_1"), QStringLiteral("20"));
    click(QStringLiteral("cmdReadUser"));
    EXPECT_EQ(tc.values().ReadViewLines.Contenu(), QStringList{"(15) Block is read-protected"});

    click(QStringLiteral("cmdPresentSectorPassword"));
    get<QLineEdit>(QStringLiteral("PWData_0"))->setText(QStringLiteral("00000000"));
    click(QStringLiteral("cmdWriteUser"));
    EXPECT_EQ(sentToBoard().back(), "02B3020100000000");
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("0F : unknown error code"));

    click(QStringLiteral("cmdPresentSectorPassword"));
    get<QLineEdit>(QStringLiteral("PWData_0"))->setText(QStringLiteral("11223344"));
    click(QStringLiteral("cmdWriteUser"));
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    click(QStringLiteral("cmdReadUser"));
    EXPECT_NE(tc.values().ReadViewLines.item(1), QStringLiteral("(15) Block is read-protected"));

    // Password "2": a fresh one, 00000000, presented before it is changed.
    tick(QStringLiteral("OptPasswordNumber_1"));
    click(QStringLiteral("cmdWriteSectorPassword"));
    EXPECT_EQ(get<QPushButton>(QStringLiteral("cmdWriteUser"))->text(),
              QStringLiteral("Write Password"));
    get<QLineEdit>(QStringLiteral("PWData_0"))->setText(QStringLiteral("55667788"));
    click(QStringLiteral("cmdWriteUser"));
    EXPECT_EQ(sentToBoard().back(), "02B1020255667788");

    // Lock Sector Password: one byte for the sector of the "from" block, two address bytes.
    click(QStringLiteral("cmdLockSectorPassword"));
    get<QLineEdit>(QStringLiteral("PWData_0"))->setText(QStringLiteral("00"));
    click(QStringLiteral("cmdWriteUser"));
    EXPECT_EQ(sentToBoard().back(), "0AB202200000");
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
}

TEST_F(PasswordTest, AfiAndDsfidWritesAndLocks) {
    open("VEL-C");
    get<QTabBar>(QStringLiteral("tabStripchoice"))->setCurrentIndex(1);
    click(QStringLiteral("cmdWriteAFI"));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("lstReadView"))->isVisibleTo(w));
    get<QLineEdit>(QStringLiteral("PWData_0"))->setText(QStringLiteral("12"));
    click(QStringLiteral("cmdWriteUser"));
    EXPECT_EQ(sentToBoard().back(), "022712");
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    click(QStringLiteral("cmdLockAFI"));
    EXPECT_EQ(sentToBoard().back(), "0228");
    click(QStringLiteral("cmdWriteAFI"));
    get<QLineEdit>(QStringLiteral("PWData_0"))->setText(QStringLiteral("34"));
    click(QStringLiteral("cmdWriteUser"));
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("12 : unknown error code"));
    click(QStringLiteral("cmdLockDSFID"));
    EXPECT_EQ(sentToBoard().back(), "022A");
}

TEST_F(MemoryTest, ReadViewErrorAnswerOfTheEnergyReadsShowsXX) {
    openUserMode("DUONX-AE", "0000", "0000");
    board->faults().queue(ReaderFunction::SendReceive, {0, std::string("8005010F68EE00")});
    click(QStringLiteral("cmdReadEHconfig"));
    EXPECT_EQ(text(QStringLiteral("txtEHstatus")), QStringLiteral("XX"));
    board->faults().queue(ReaderFunction::SendReceive, {0, std::string("8700")});
    click(QStringLiteral("cmdReadEHconfig"));
    EXPECT_EQ(text(QStringLiteral("txtEHstatus")), QStringLiteral("XX"));  // no answer: kept
}

// Whatever a page left open is gone after a change of page, whichever way the change goes:
// a page change starts from the window's resting state, never from the last page's.
TEST_F(MemoryTest, APageChangeLeavesNothingOfThePageBefore) {
    struct Case {
        const char* leftover;
        std::function<void()> leave;
    };
    const Case cases[] = {
        {"a read in the view",
         [&] {
             openUserMode("VEL-C", "00", "01");
             click(QStringLiteral("cmdReadUser"));
             ASSERT_TRUE(readView()->isVisibleTo(w));
         }},
        {"a write set-up with a fill byte typed",
         [&] {
             openUserMode("VEL-C", "00", "01");
             click(QStringLiteral("cmdReadUser"));
             click(QStringLiteral("cmdWriteSingleBlock"));
             get<QLineEdit>(QStringLiteral("mskFillPage"))->setText(QStringLiteral("5A"));
             ASSERT_TRUE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
         }},
        {"AUTO LOOP ticked",
         [&] {
             open("VEL-C");
             tick(QStringLiteral("chkUserLoop"));
             ASSERT_TRUE(tc.values().AutoLoopEnabled);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.leftover);
        c.leave();
        auto* tabs = get<QTabBar>(QStringLiteral("tabStripchoice"));
        const int first = tabs->currentIndex();
        for (const int page : {1 - first, first}) {
            SCOPED_TRACE(page);
            tabs->setCurrentIndex(page);
            EXPECT_EQ(get<QWidget>(QStringLiteral("fraMode_1"))->isVisibleTo(w), page == 0);
            EXPECT_EQ(get<QWidget>(QStringLiteral("fraMode_2"))->isVisibleTo(w), page == 1);
            EXPECT_FALSE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
            EXPECT_FALSE(readView()->isVisibleTo(w));
            EXPECT_FALSE(get<QCheckBox>(QStringLiteral("chkUserLoop"))->isChecked());
            EXPECT_TRUE(get<QWidget>(QStringLiteral("txtLOOPnumber"))->isHidden());
            EXPECT_TRUE(get<QWidget>(QStringLiteral("lblLOOPnumber"))->isHidden());
            EXPECT_FALSE(tc.values().AutoLoopEnabled);
            EXPECT_EQ(tc.values().PageWriteMode, 0);
            EXPECT_EQ(get<QLineEdit>(QStringLiteral("mskFillPage"))->displayText(),
                      QStringLiteral("__"));
        }
    }
}

}  // namespace
}  // namespace iso15693test
