#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "widgets/log_view.hpp"
#include "window_fixture.hpp"

namespace iso15693test {
namespace {

using reader::ReaderFunction;

const QString kStamp = QStringLiteral("\r\n03-14-2026 09:26:53\t");
QString echoEntry(const char* answer) {
    return kStamp + QStringLiteral(">>> TQ73RNDLL_ECHO\r\n\t\t\t<<< ") + QLatin1String(answer);
}
QString selectEntry(const char* answer) {
    return kStamp +
           QStringLiteral(
               "TQ73RN CONFIGURATION : ISO15693 10% High Datarate One Subcarrier\r\n"
               "\t\t\t>>> TQ73RNDLL_SELECT, 010D\r\n\t\t\t<<< ") +
           QLatin1String(answer);
}

using LoadTest = WindowTest;

TEST_F(LoadTest, GreetsTheBoardAndSelectsTheProtocolLogged) {
    open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("   ISO15693  user interface  VEL-C"));
    EXPECT_EQ(log(), echoEntry("5500") + selectEntry("0000"));
    EXPECT_EQ(text("txt_ISO15693_request"), QString());
    EXPECT_EQ(text("txt_ISO15693_answer"), QString());
    EXPECT_TRUE(get<widgets::LogView>(QStringLiteral("rtfISO15693LogEdit"))->isReadOnly());
    EXPECT_FALSE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("cmdStopCommand"))->isVisibleTo(w));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("fraMode_1"))->isVisibleTo(w));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("fraMode_2"))->isVisibleTo(w));
    // AUTO LOOP is on the Inventory page; its count shows only while it is ticked.
    EXPECT_TRUE(get<QWidget>(QStringLiteral("FraLoop"))->isVisibleTo(w));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("txtLOOPnumber"))->isVisibleTo(w));
}

TEST_F(LoadTest, EchoNotAnsweringTriesOnceMore) {
    tc.scripted.queue(ReaderFunction::Echo, 0, "8200");
    open();
    EXPECT_EQ(log(), echoEntry("8200") + echoEntry("5500") + selectEntry("0000"));
}

TEST_F(LoadTest, UnpluggedBoardStillOpensTheWindow) {
    for (ReaderFunction f :
         {ReaderFunction::Echo, ReaderFunction::Select, ReaderFunction::UsbHandleCheck})
        tc.scripted.setDefault(f, 5, "");
    core::SelectProduct(*tc.ctx, QStringLiteral("VEL-C"));
    w = static_cast<iso15693::Iso15693Window*>(tc.ctx->windows().find(core::WindowKind::Iso15693));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), 4);
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Select), 2);
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbConnect), 3);
    EXPECT_EQ(log().count(QStringLiteral("TQ73RNDLL_ECHO")), 2);
    EXPECT_EQ(log().count(QStringLiteral("TQ73RNDLL_SELECT")), 1);
    EXPECT_TRUE(tc.ui.messages().empty());
}

TEST_F(LoadTest, ProductLayouts) {
    struct Case {
        const char* product;
        bool kill, eh, passwords, lockBlock, multiple, extensionShown, extensionOne;
        int addressBytes;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"VEL-C", true, false, false, true, true, false, false, 1, "00", "3F"},
        {"VELS-A", true, false, false, true, false, false, false, 1, "000", "0FF"},
        {"DUONX-AE", false, true, true, false, true, true, false, 2, "0000", "07FF"},
        {"DUONX-C", false, false, true, false, true, false, true, 1, "000", "07F"},
        {"VELS-CX", false, false, true, false, true, false, true, 2, "000", "1FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.product);
        open(c.product);
        auto shown = [&](const char* name) {
            return !get<QWidget>(QString::fromLatin1(name))->isHidden();
        };
        EXPECT_EQ(shown("FraKill"), c.kill);
        EXPECT_EQ(shown("FraEnergyHarvesting"), c.eh);
        EXPECT_EQ(shown("FraPasswordRF"), c.passwords);
        EXPECT_EQ(shown("cmdLockBlock"), c.lockBlock);
        EXPECT_EQ(shown("cmdReadMultipleBlock"), c.multiple);
        EXPECT_EQ(shown("cmdFastReadMultipleBlock"), c.multiple);
        EXPECT_TRUE(shown("cmdInitiate"));
        EXPECT_TRUE(shown("cmdGetMultipleBlockSecurityStatus"));
        EXPECT_EQ(shown("optExtensionFlag_0"), c.extensionShown);
        EXPECT_EQ(get<QRadioButton>(QStringLiteral("optExtensionFlag_1"))->isChecked(),
                  c.extensionOne);
        EXPECT_FALSE(shown("cboPageSize"));
        EXPECT_EQ(tc.values().AddressByteCount, c.addressBytes);
        EXPECT_EQ(text(QStringLiteral("txtUserAddress_0")), QLatin1String(c.from));
        EXPECT_EQ(text(QStringLiteral("txtUserAddress_1")), QLatin1String(c.to));
        EXPECT_EQ(get<QLineEdit>(QStringLiteral("txtUserAddress_1"))->maxLength(),
                  int(qstrlen(c.to)));
        EXPECT_EQ(get<QComboBox>(QStringLiteral("cboPageSize"))->currentText(),
                  QStringLiteral("4"));
    }
}

TEST_F(LoadTest, AnticollisionButtonFollowsTheFirmwareRevision) {
    struct Case {
        const char* revision;
        bool shown;
    };
    const Case cases[] = {{"1.4.1", true},   {"1.10.0", true}, {"2.0", true},
                          {"1.4.1.1", true}, {"1.4.0", false}, {"1.3.9", false},
                          {"1.3.15", false}, {"", false},      {"1.x", false}};
    for (const Case& c : cases) {
        tc.values().McuRevisionText = QLatin1String(c.revision);
        open();
        EXPECT_EQ(get<QWidget>(QStringLiteral("cmdAntiCollisionIso15693"))->isVisibleTo(w), c.shown)
            << c.revision;
    }
}

TEST(AddressDigitsTest, FromTheMemorySize) {
    EXPECT_EQ(iso15693::addressDigits(128), 2);
    EXPECT_EQ(iso15693::addressDigits(256), 2);
    EXPECT_EQ(iso15693::addressDigits(512), 3);
    EXPECT_EQ(iso15693::addressDigits(2048), 3);
    EXPECT_EQ(iso15693::addressDigits(8192), 4);
    // A products record with density 0 has no memory: one digit, never a failure.
    EXPECT_EQ(iso15693::addressDigits(0), 1);
    EXPECT_EQ(iso15693::addressDigits(1), 1);
}

TEST_F(LoadTest, ChoosingTheProductAgainBringsTheDesignStateBack) {
    open();
    tick(QStringLiteral("chk_Select_Address_flag_1"));
    tick(QStringLiteral("optDataRate_0"));
    tick(QStringLiteral("chkLoop"));
    open();
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("chk_Select_Address_flag_1"))->isChecked());
    EXPECT_TRUE(get<QRadioButton>(QStringLiteral("optDataRate_1"))->isChecked());
    EXPECT_FALSE(w->inventoryLoopEnabled());
    EXPECT_EQ(text(QStringLiteral("txtTransponderUID")), QStringLiteral("Transponder UID"));
}

TEST_F(LoadTest, TabChangeHidesTheViewAndTheLoop) {
    open();
    tick(QStringLiteral("chkUserLoop"));
    EXPECT_TRUE(tc.values().AutoLoopEnabled);
    tc.values().PageWriteMode = 5;
    get<QTabBar>(QStringLiteral("tabStripchoice"))->setCurrentIndex(1);
    EXPECT_FALSE(tc.values().AutoLoopEnabled);
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("chkUserLoop"))->isChecked());
    EXPECT_EQ(tc.values().PageWriteMode, 0);
    EXPECT_TRUE(get<QWidget>(QStringLiteral("fraMode_2"))->isVisibleTo(w));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("fraMode_1"))->isVisibleTo(w));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("lstReadView"))->isVisibleTo(w));
}

}  // namespace
}  // namespace iso15693test
