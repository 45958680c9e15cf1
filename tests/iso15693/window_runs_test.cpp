#include <QApplication>
#include <QPushButton>
#include <functional>

#include "core/hex_checks.hpp"
#include "window_fixture.hpp"

namespace iso15693test {
namespace {

using reader::ReaderFunction;

// ---- On the simulated board ---------------------------------------------------------------

class UserModeRunTest : public SimWindowTest {
  public:
    UserModeRunTest() : SimWindowTest(countingTag()) {}
};

// A run of the User Mode page shows the hourglass and keeps Anticollision and the
// energy-harvesting frame off (their exchanges would fall between the run's) until its
// end, however it ends.
TEST_F(UserModeRunTest, ARunHoldsTheHourglassAndTheControlsOutsideTheCommandListUntilItsEnd) {
    struct Case {
        const char* product;
        const char* setUp;  // the page-write set-up before the button, if any
        const char* button;
    };
    const Case cases[] = {
        {"DUONX-AE", nullptr, "cmdReadUser"},
        {"DUONX-AE", nullptr, "cmdFastReadSingleBlock"},
        {"DUONX-AE", nullptr, "cmdReadMultipleBlock"},
        {"DUONX-AE", nullptr, "cmdFastReadMultipleBlock"},
        {"DUONX-AE", nullptr, "cmdGetMultipleBlockSecurityStatus"},
        {"DUONX-AE", nullptr, "cmdLockAFI"},
        {"DUONX-AE", nullptr, "cmdLockDSFID"},
        {"DUONX-AE", "cmdWriteSingleBlock", "cmdWriteUser"},
        {"VEL-C", nullptr, "cmdLockBlock"},
        {"VEL-C", nullptr, "cmdLockKill"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        openUserMode(c.product, "0", "1");
        if (c.setUp) setUpWrite(c.setUp, "00000000");
        auto* anticollision = get<QWidget>(QStringLiteral("cmdAntiCollisionIso15693"));
        auto* harvesting = get<QWidget>(QStringLiteral("FraEnergyHarvesting"));
        int exchanges = 0;
        hook.afterSendReceive = [&](int) {
            ++exchanges;
            EXPECT_TRUE(tc.ui.isBusy());
            EXPECT_FALSE(anticollision->isEnabled());
            EXPECT_FALSE(harvesting->isEnabled());
        };
        click(QLatin1String(c.button));
        hook.afterSendReceive = nullptr;
        EXPECT_GT(exchanges, 0);
        EXPECT_FALSE(tc.ui.isBusy());
        EXPECT_TRUE(anticollision->isEnabled());
        EXPECT_TRUE(harvesting->isEnabled());
    }
}

TEST_F(UserModeRunTest, AnAnticollisionClickDuringAPassIsNotASecondPass) {
    open();
    auto* anticollision = get<QPushButton>(QStringLiteral("cmdAntiCollisionIso15693"));
    hook.afterKvCmd = [&](int n) {
        if (n == 1) anticollision->click();
    };
    anticollision->click();
    hook.afterKvCmd = nullptr;
    EXPECT_EQ(hook.kvCmds, 1);
    EXPECT_EQ(items(QStringLiteral("lstTransponderUID")).last(),
              QStringLiteral(" 01\tE001020304050607\t\t00"));
}

TEST_F(UserModeRunTest, AWriteOverMoreThan16BlocksShowsTheLast16ResultLines) {
    openUserMode("VEL-C", "00", "11");
    setUpWrite("cmdWriteSingleBlock", "00000000");
    write();
    ASSERT_EQ(memoryLines().size(), 18);
    EXPECT_EQ(memoryLines()[1], QStringLiteral("(12) Block is locked, content cannot be changed"));
    EXPECT_EQ(tc.values().ReadViewTopLine, 3);
    const QStringList shown = view();
    ASSERT_EQ(shown.size(), 16);
    EXPECT_EQ(shown.first(), QStringLiteral("0002   (00) No error during Prog sequence"));
    EXPECT_EQ(shown.last(), QStringLiteral("0011   (00) No error during Prog sequence"));
}

TEST_F(UserModeRunTest, AfterACompletedWriteTheAddressBoxesAreWritableAgain) {
    struct Case {
        const char* product;
        const char* setUp;
        const char* data;
    };
    const Case cases[] = {
        {"VEL-C", "cmdWriteSingleBlock", "00000000"},
        {"VEL-C", "cmdWriteAFI", "00"},
        {"VEL-C", "cmdWriteKill", "11223344"},
        {"VEL-C", "cmdKill", "99999999"},  // a wrong code: the tag stays
        {"DUONX-AE", "cmdPresentSectorPassword", "00000000"},
        {"DUONX-AE", "cmdLockSectorPassword", "00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setUp);
        openUserMode(c.product, "0", "0");
        setUpWrite(c.setUp, c.data);
        write();
        EXPECT_FALSE(get<QWidget>(QStringLiteral("fraPageWrite"))->isVisibleTo(w));
        for (const char* box : {"txtUserAddress_0", "txtUserAddress_1"}) {
            EXPECT_FALSE(get<QLineEdit>(QLatin1String(box))->isReadOnly()) << box;
            EXPECT_TRUE(get<QLineEdit>(QLatin1String(box))->isEnabled()) << box;
        }
    }
}

// A tag of the kill family: LOCK (B2) with the kill password number locks its kill code.
class KillFamilyTest : public SimWindowTest {
  public:
    KillFamilyTest()
        : SimWindowTest([] {
              simboard::BoardConfig config;
              config.tags = std::vector<simboard::TagSpec>{
                  {"iso15693",
                   {{"uid", "E001020304050607"}, {"blocks", "64"}, {"family", "kill"}}}};
              return std::make_unique<simboard::SimulatedBoard>(config);
          }()) {}
};

TEST_F(KillFamilyTest, LockKillLocksTheKillCodeAndNoBlock) {
    // The range as the page opens: the whole tag.
    openUserMode("VEL-C", "00", "3F");
    setUpWrite("cmdWriteKill", "11223344");
    write();
    forgetCalls();
    click(QStringLiteral("cmdLockKill"));
    EXPECT_EQ(sentToBoard(), std::vector<std::string>{"02B2020001"});
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    EXPECT_TRUE(log().endsWith(QStringLiteral(
        "\tLOCK KILL\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, 02B2020001\r\n\t\t\t<<< 80040078F000")));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdLockKill"))->isEnabled());

    // No block was locked.
    click(QStringLiteral("cmdGetMultipleBlockSecurityStatus"));
    EXPECT_EQ(memoryLines(), QStringList(64, QStringLiteral("00")));

    // The kill code stays as it was, and still kills.
    setUpWrite("cmdWriteKill", "55667788");
    write();
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("12 : unknown error code"));
    click(QStringLiteral("cmdLockKill"));
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("11 : unknown error code"));
    setUpWrite("cmdKill", "11223344");
    write();
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    click(QStringLiteral("cmdReadUser"));
    EXPECT_EQ(memoryLines().first(), QStringLiteral("8700"));
}

// ---- On the scripted reader -----------------------------------------------------------------

using ScriptedUserModeTest = WindowTest;

TEST_F(ScriptedUserModeTest, FastReadsReconnectUnderTheFastParametersAndTheRawFrameRepeats) {
    struct Case {
        const char* button;
        std::vector<std::string> calls;
    };
    const std::string reconnect[] = {"TQ73RNDLL_USBconnect ", "TQ73RNDLL_USBhandlecheck "};
    const Case cases[] = {
        {"cmdFastReadSingleBlock",
         {"TQ73RNDll_Select 011D", "TQ73RNDll_SendReceive 02C00205", reconnect[0], reconnect[1],
          "TQ73RNDll_Select 011D", "TQ73RNDll_SendReceive 02C00205", "TQ73RNDll_Select 010D"}},
        {"cmdFastReadMultipleBlock",
         {"TQ73RNDll_Select 011D", "TQ73RNDll_SendReceive 02C3020500", reconnect[0], reconnect[1],
          "TQ73RNDll_Select 011D", "TQ73RNDll_SendReceive 02C3020500", "TQ73RNDll_Select 010D"}},
        {"cmd_ISO15693_SendFrame",
         {"TQ73RNDll_SendReceive 022000", reconnect[0], reconnect[1], "TQ73RNDll_Select 010D",
          "TQ73RNDll_SendReceive 022000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        openUserMode("VEL-C", "05", "05");
        type(QStringLiteral("txt_ISO15693_AnyFrame"), QStringLiteral("022000"));
        forgetCalls();
        tc.scripted.queue(ReaderFunction::SendReceive, 5);
        click(QLatin1String(c.button));
        EXPECT_EQ(calls(), c.calls);
    }
    EXPECT_EQ(log().count(QStringLiteral("\tSEND FRAME\r\n")), 1);
}

TEST_F(ScriptedUserModeTest, PasswordCommandsTakeTheChosenNumberAndTheFromBlock) {
    struct Case {
        const char* option;
        const char* setUp;
        const char* data;
        std::string request;
    };
    const Case cases[] = {
        {"OptPasswordNumber_2", "cmdPresentSectorPassword", "11223344", "02B3020311223344"},
        {"OptPasswordNumber_2", "cmdWriteSectorPassword", "11223344", "02B1020311223344"},
        {"OptPasswordNumber_1", "cmdPresentSectorPassword", "11223344", "02B3020211223344"},
        // The sector of the "from" block, two address bytes low first.
        {"OptPasswordNumber_0", "cmdLockSectorPassword", "05", "0AB202400005"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setUp);
        openUserMode("DUONX-AE", "0040", "0020");
        tick(QLatin1String(c.option));
        setUpWrite(c.setUp, c.data);
        write();
        EXPECT_EQ(sent(), std::vector<std::string>{c.request});
    }
}

// What the result label shows after a block read is that read's, never the "OK" of a lock or
// a write before it.
TEST_F(ScriptedUserModeTest, EveryBlockReadEmptiesTheResultLabel) {
    struct Filler {
        const char* what;
        std::function<void(ScriptedUserModeTest&)> run;
    };
    const Filler fillers[] = {
        {"lock", [](ScriptedUserModeTest& t) { t.click(QStringLiteral("cmdLockAFI")); }},
        {"write",
         [](ScriptedUserModeTest& t) {
             t.setUpWrite("cmdWriteSingleBlock", "11223344");
             t.write();
         }},
    };
    for (const char* read : {"cmdReadUser", "cmdFastReadSingleBlock", "cmdReadMultipleBlock",
                             "cmdFastReadMultipleBlock", "cmdGetMultipleBlockSecurityStatus"}) {
        for (const Filler& f : fillers) {
            SCOPED_TRACE(std::string(read) + " after a " + f.what);
            openUserMode("VEL-C", "05", "05");
            tc.scripted.queue(ReaderFunction::SendReceive, 0, "80040078F000");
            f.run(*this);
            ASSERT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
            forgetCalls();
            click(QLatin1String(read));
            EXPECT_FALSE(sent().empty());
            EXPECT_EQ(label(QStringLiteral("lblWriteTime")).toStdString(), "");
        }
    }
}

// A read whose last block goes unanswered has still read: its view shows a line per block,
// the error lines included, and takes clicks; only a stopped read empties it.
TEST_F(ScriptedUserModeTest, AReadEndingOnAnUnansweredBlockShowsItsLines) {
    for (const char* read : {"cmdReadUser", "cmdFastReadSingleBlock", "cmdReadMultipleBlock",
                             "cmdFastReadMultipleBlock"}) {
        SCOPED_TRACE(read);
        openUserMode("VEL-C", "05", "06");
        tc.scripted.queue(ReaderFunction::SendReceive, 0, "80080011223344F000");
        tc.scripted.setDefault(ReaderFunction::SendReceive, 0, "8700");
        click(QLatin1String(read));
        auto* view = get<QListWidget>(QStringLiteral("lstReadView"));
        EXPECT_TRUE(view->isVisibleTo(w));
        EXPECT_TRUE(view->isEnabled());
        EXPECT_FALSE(view->count() == 0);
        tc.scripted.setHealthyDefaults();
    }
}

// A lock cannot be undone on the tag: when an address box is refused, nothing of the lock
// reaches the reader, whichever box and whatever it holds.
TEST_F(ScriptedUserModeTest, ALockWithARefusedAddressBoxSendsNothing) {
    struct Lock {
        const char* product;
        const char* setUp;  // the page-write set-up before the button, if any
        const char* button;
        const char* inside;  // an address of the product's memory, in its box's width
        const char* past;    // the first address past it
    };
    const Lock locks[] = {
        {"VEL-C", nullptr, "cmdLockAFI", "01", "40"},
        {"VEL-C", nullptr, "cmdLockDSFID", "01", "40"},
        {"VEL-C", nullptr, "cmdLockBlock", "01", "40"},
        {"DUONX-AE", "cmdLockSectorPassword", "cmdWriteUser", "0001", "0800"},
    };
    struct Boxes {
        const char* what;
        const char* from;  // null: the lock's address inside the memory
        const char* to;
        bool fromPast = false;
        bool toPast = false;
    };
    const Boxes refused[] = {
        {"from not hex", "0x", nullptr},
        {"to not hex", nullptr, "g1"},
        {"from with a blank", "0 1", nullptr},
        {"from empty", "", nullptr},
        {"to empty", nullptr, ""},
        {"from past the memory", nullptr, nullptr, true, false},
        {"to past the memory", nullptr, nullptr, false, true},
    };
    tc.ui.allowAnyMessage();
    for (const Lock& l : locks) {
        for (const Boxes& b : refused) {
            SCOPED_TRACE(std::string(l.setUp ? l.setUp : l.button) + ", " + b.what);
            openUserMode(l.product, l.inside, l.inside);
            // Pasted past the boxes' key filter and not left (a box left empty takes
            // zeros): what the lock reads is this.
            if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
            const char* from = b.fromPast ? l.past : b.from ? b.from : l.inside;
            const char* to = b.toPast ? l.past : b.to ? b.to : l.inside;
            get<QLineEdit>(QStringLiteral("txtUserAddress_0"))->setText(QLatin1String(from));
            get<QLineEdit>(QStringLiteral("txtUserAddress_1"))->setText(QLatin1String(to));
            if (l.setUp) setUpWrite(l.setUp, "01");
            forgetCalls();
            const std::size_t messages = tc.ui.messages().size();
            click(QLatin1String(l.button));
            EXPECT_EQ(calls(), std::vector<std::string>{});
            // One message, the address one: the other box is not looked at after it.
            EXPECT_EQ(tc.ui.messages().size(), messages + 1);
            if (tc.ui.messages().size() > messages) {
                EXPECT_EQ(tc.ui.messages().back().text.toStdString(),
                          core::kInvalidAddressText.toStdString());
            }
        }
    }
}

// The multiple-block reads carry the block address in the product's RF address bytes;
// every other block command in the window's own.
TEST_F(ScriptedUserModeTest, MultipleReadsTakeTheProductsRfAddressBytes) {
    struct Case {
        const char* record;
        const char* from;
        const char* to;
        std::string single;
        std::string multiple;
        std::string fastMultiple;
    };
    const Case cases[] = {
        {"\"VEL-D\",16,4,2,1,\"0\",0", "005", "006", "0A200500", "02230501", "02C3020501"},
        {"\"VEL-D\",4,4,1,2,\"0\",0", "05", "06", "022005", "0A23050001", "0AC302050001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        useProductRecord(c.record);
        for (const auto& [button, request] : std::vector<std::pair<const char*, std::string>>{
                 {"cmdReadUser", c.single},
                 {"cmdReadMultipleBlock", c.multiple},
                 {"cmdFastReadMultipleBlock", c.fastMultiple}}) {
            openUserMode("VEL-D", c.from, c.to);
            click(QLatin1String(button));
            ASSERT_FALSE(sent().empty()) << button;
            EXPECT_EQ(sent().front(), request) << button;
        }
    }
}

// A memory of four blocks of 32 bytes: eight blocks from a multiple of eight would run
// past its end.
TEST_F(ScriptedUserModeTest, AMultipleReadStopsItsLastPieceAtTheEndOfTheMemory) {
    useProductRecord("\"VEL-D\",1,32,1,1,\"0\",0");
    for (const auto& [button, requests] :
         std::vector<std::pair<const char*, std::vector<std::string>>>{
             {"cmdReadMultipleBlock", {"02230201", "02230001"}},
             {"cmdFastReadMultipleBlock", {"02C3020201", "02C3020001"}}}) {
        openUserMode("VEL-D", "02", "01");
        click(QLatin1String(button));
        EXPECT_EQ(sent(), requests) << button;
        EXPECT_EQ(memoryLines().size(), 4) << button;
    }
}

// The request box is written once, before the call; after it only the answer box changes
// (a whole-tag read writes each box once per block). The box's modified mark, set from
// inside the call, stays only when no text is written in the box after it.
TEST_F(UserModeRunTest, TheRequestBoxIsWrittenOnlyBeforeTheCall) {
    struct Case {
        const char* button;
        const char* frame;  // typed into the raw-frame box first, when given
    };
    const Case cases[] = {{"cmdInventory", nullptr},
                          {"cmdReadUser", nullptr},
                          {"cmdAntiCollisionIso15693", nullptr},
                          {"cmd_ISO15693_SendFrame", "260100"}};
    open();
    auto* request = get<QLineEdit>(QStringLiteral("txt_ISO15693_request"));
    auto* answer = get<QLineEdit>(QStringLiteral("txt_ISO15693_answer"));
    QString answerInside = QStringLiteral("not called");
    auto markRequest = [&](int) {
        answerInside = answer->text();
        request->setModified(true);
    };
    hook.afterSendReceive = markRequest;
    hook.afterKvCmd = markRequest;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        if (c.frame) type(QStringLiteral("txt_ISO15693_AnyFrame"), QLatin1String(c.frame));
        answerInside = QStringLiteral("not called");
        click(QLatin1String(c.button));
        EXPECT_EQ(answerInside, QString());
        EXPECT_FALSE(request->text().isEmpty());
        EXPECT_TRUE(request->isModified());
        EXPECT_FALSE(answer->text().isEmpty());
    }
    hook.afterSendReceive = nullptr;
    hook.afterKvCmd = nullptr;
}

}  // namespace
}  // namespace iso15693test
