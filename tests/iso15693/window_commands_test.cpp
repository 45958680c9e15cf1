#include <QCheckBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "core/hex_checks.hpp"
#include "loop_bound.hpp"
#include "widgets/log_view.hpp"
#include "window_fixture.hpp"

namespace iso15693test {
namespace {

using reader::ReaderFunction;

const QString kUidShown = QStringLiteral("E001020304050607");
const std::string kUid = "07060504030201E0";

using CommandTest = WindowTest;

// The flags byte and request of every command of the Inventory page, for the options a
// user sets before clicking.
TEST_F(CommandTest, RequestsFromTheWindowsOptions) {
    struct Case {
        const char* what;
        std::function<void(CommandTest&)> setUp;
        const char* button;
        std::string request;
    };
    auto none = [](CommandTest&) {};
    auto chosenTag = [](CommandTest& t) { t.type(QStringLiteral("txtTransponderUID"), kUidShown); };
    auto addressFlag = [chosenTag](CommandTest& t) {
        chosenTag(t);
        t.tick(QStringLiteral("chk_Select_Address_flag_1"));
    };
    const Case cases[] = {
        {"inventory, defaults", none, "cmdInventory", "260100"},
        {"inventory, low rate", [](CommandTest& t) { t.tick(QStringLiteral("optDataRate_0")); },
         "cmdInventory", "240100"},
        {"inventory, AFI and mask",
         [](CommandTest& t) {
             t.tick(QStringLiteral("chkInventoryAFIOptions"));
             t.type(QStringLiteral("txtInventoryOptionalAFI"), QStringLiteral("c"));
             t.type(QStringLiteral("txtInventoryMaskLenght"), QStringLiteral("0C"));
             t.type(QStringLiteral("txtInventoryMaskValue_0"), QStringLiteral("34"));
             t.type(QStringLiteral("txtInventoryMaskValue_1"), QStringLiteral("12"));
         },
         "cmdInventory", "36010C0C3412"},
        {"inventory, AFI box emptied",
         [](CommandTest& t) {
             t.tick(QStringLiteral("chkInventoryAFIOptions"));
             t.type(QStringLiteral("txtInventoryOptionalAFI"), QString());
         },
         "cmdInventory", "36010000"},
        {"inventory, mask length emptied",
         [](CommandTest& t) { t.type(QStringLiteral("txtInventoryMaskLenght"), QString()); },
         "cmdInventory", "260100"},
        {"inventory initiated", none, "cmdInventoryInitiated", "26D10200"},
        {"initiate, address flag", addressFlag, "cmdInitiate", "22D202"},
        {"select, defaults", chosenTag, "cmdSelect", "0225" + kUid},
        {"select, select flag and low two SC",
         [chosenTag](CommandTest& t) {
             chosenTag(t);
             t.tick(QStringLiteral("chk_Select_Address_flag_0"));
             t.tick(QStringLiteral("optDataRate_2"));
         },
         "cmdSelect", "1125" + kUid},
        {"select, no tag chosen", none, "cmdSelect", "0225"},
        {"reset to ready, address flag", addressFlag, "cmdResetToReady", "2226" + kUid},
        {"reset to ready, address flag without a tag",
         [](CommandTest& t) { t.tick(QStringLiteral("chk_Select_Address_flag_1")); },
         "cmdResetToReady", "2226"},
        {"stay quiet, high two SC", [](CommandTest& t) { t.tick(QStringLiteral("optDataRate_3")); },
         "cmdStayQuiet", "0302"},
        {"system info", none, "cmdGetSystemInfo", "022B"},
        {"system info, extension 1",
         [](CommandTest& t) { t.tick(QStringLiteral("optExtensionFlag_1")); }, "cmdGetSystemInfo",
         "0A2B"},
        {"system info, address flag", addressFlag, "cmdGetSystemInfo", "222B" + kUid},
        {"raw frame as typed, odd digits",
         [](CommandTest& t) {
             t.type(QStringLiteral("txt_ISO15693_AnyFrame"), QStringLiteral("02201"));
         },
         "cmd_ISO15693_SendFrame", "02201"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tc.values().TransponderUID.clear();  // a chosen tag outlives the window
        open();
        c.setUp(*this);
        tc.scripted.clearCalls();
        click(QString::fromLatin1(c.button));
        ASSERT_FALSE(sent().empty());
        EXPECT_EQ(sent().back(), c.request);
    }
}

TEST_F(CommandTest, FastCommandsSwitchTheParametersAroundThemselves) {
    open();
    click(QStringLiteral("cmdFastInitiate"));
    EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::Select),
              (std::vector<std::string>{"011D", "010D"}));
    EXPECT_EQ(sent(), std::vector<std::string>{"02C202"});
    tc.scripted.clearCalls();
    click(QStringLiteral("cmdFastInventoryInitiated"));
    EXPECT_EQ(sent(), std::vector<std::string>{"26C10200"});
    EXPECT_TRUE(log().endsWith(QStringLiteral(
        "FAST INVENTORY INITIATE\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, 26C10200\r\n\t\t\t<<< 8700"
        "\r\n03-14-2026 09:26:53\tTQ73RN CONFIGURATION : ISO15693 10% High Datarate One "
        "Subcarrier\r\n\t\t\t>>> TQ73RNDLL_SELECT, 010D\r\n\t\t\t<<< 0000")));
    EXPECT_EQ(get<QGroupBox>(QStringLiteral("FraINVENTORYresponse"))->title(),
              QStringLiteral("FAST INVENTORY INITIATED response"));
}

TEST_F(CommandTest, StatusFiveReconnectsAndRepeatsOnce) {
    open();
    // Normal parameters: the reconnect selects them again, the request goes once more.
    tc.scripted.queue(ReaderFunction::SendReceive, 5);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "80040078F000");
    tc.values().TransponderUID = QString::fromStdString(kUid);
    click(QStringLiteral("cmdSelect"));
    EXPECT_EQ(calls(), (std::vector<std::string>{
                           "TQ73RNDll_SendReceive 0225" + kUid, "TQ73RNDLL_USBconnect ",
                           "TQ73RNDLL_USBhandlecheck ", "TQ73RNDll_Select 010D",
                           "TQ73RNDll_SendReceive 0225" + kUid}));
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    EXPECT_EQ(log().count(QStringLiteral("\tSELECT\r\n")), 1);  // one entry, the final answer

    // Fast parameters: the reconnect selects the fast ones; a second 5 is not retried.
    tc.scripted.clearCalls();
    tc.scripted.queue(ReaderFunction::SendReceive, 5);
    tc.scripted.queue(ReaderFunction::SendReceive, 5);
    click(QStringLiteral("cmdFastInitiate"));
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::SendReceive), 2);
    // The select of the switch, the command's reconnect, the button's own extra one, the
    // normal parameters again.
    EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::Select),
              (std::vector<std::string>{"011D", "011D", "011D", "010D"}));
}

TEST_F(CommandTest, StateCommandResultsAndCrcVerdicts) {
    open();
    struct Case {
        const char* answer;
        const char* label;    // what the result label then shows
        const char* logTail;  // how the answer's log line ends
    };
    const Case cases[] = {
        {"80040078F000", "OK", "<<< 80040078F000"},
        {"8005010F68EE00", "0F : unknown error code", "<<< 8005010F68EE00"},
        // An unexpected flags byte leaves the label as it was.
        {"800702AABBCCA36B00", "0F : unknown error code", "<<< 800702AABBCCA36B00"},
        // A status byte other than 00 with a good CRC: the verdict after the answer.
        {"80040078F002", "OK", "<<< 80040078F002  02 -> CRC OK"},
        // A wrong CRC: no response, the label keeps its text.
        {"8005011011110A", "OK", "<<< 8005011011110A  0A -> CRC HS (expected=1E06)"},
        // Too short for its length byte: no response, no verdict.
        {"800801", "OK", "<<< 800801"},
        {"8700", "OK", "<<< 8700"},
    };
    for (const Case& c : cases) {
        tc.scripted.queue(ReaderFunction::SendReceive, 0, c.answer);
        click(QStringLiteral("cmdStayQuiet"));
        EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QLatin1String(c.label)) << c.answer;
        EXPECT_TRUE(log().endsWith(QLatin1String(c.logTail))) << c.answer;
    }
    // The log box stays read-only after a CRC verdict.
    EXPECT_TRUE(get<widgets::LogView>(QStringLiteral("rtfISO15693LogEdit"))->isReadOnly());
}

TEST_F(CommandTest, SystemInfoOfATagAndNothingWithoutOne) {
    open();
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "8012000F07060504030201E000003F0322002300");
    click(QStringLiteral("cmdGetSystemInfo"));
    EXPECT_EQ(
        items(QStringLiteral("lstSystemInfo")),
        (QStringList{" UID : \t\tE001020304050607", " DSFID : \t\t00h", " AFI : \t\t00h",
                     " Memory size : \t3Fh", " Block size : \t03h", " IC reference : \t22h"}));
    click(QStringLiteral("cmdGetSystemInfo"));  // the default answer: no tag
    EXPECT_TRUE(items(QStringLiteral("lstSystemInfo")).isEmpty());
}

TEST_F(CommandTest, InventoryFailuresShowInTheList) {
    open();
    tc.values().ReadViewLines.Clear();
    click(QStringLiteral("cmdInventory"));
    EXPECT_EQ(items(QStringLiteral("lstTransponderUID")),
              (QStringList{"\tUID\t\t\tDSFID", "", "No detected answer"}));
    tc.scripted.queue(ReaderFunction::SendReceive, 0,
                      "8005010F"
                      "68EE"
                      "00");
    click(QStringLiteral("cmdInitiate"));
    EXPECT_EQ(items(QStringLiteral("lstTransponderUID")).last(),
              QStringLiteral("(01) Answer format problemz"));
    EXPECT_EQ(get<QGroupBox>(QStringLiteral("FraINVENTORYresponse"))->title(),
              QStringLiteral("INITIATE response"));
    // The memory view's lines are the memory's only.
    EXPECT_EQ(tc.values().ReadViewLines.Size(), 0);
}

TEST_F(CommandTest, EmptyRawFrameSendsNothingAndPastedTextIsRefused) {
    open();
    const QString before = log();
    click(QStringLiteral("cmd_ISO15693_SendFrame"));
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(log(), before);

    // A frame pasted with blanks between its bytes goes without them.
    auto* box = get<QLineEdit>(QStringLiteral("txt_ISO15693_AnyFrame"));
    box->setText(QStringLiteral("02 20 00"));
    click(QStringLiteral("cmd_ISO15693_SendFrame"));
    EXPECT_EQ(sent(), std::vector<std::string>{"022000"});
    EXPECT_EQ(box->text(), QStringLiteral("022000"));

    tc.scripted.clearCalls();
    const QString sentOnce = log();
    box->setText(QStringLiteral("02 2x"));
    tc.ui.expectMessage();
    click(QStringLiteral("cmd_ISO15693_SendFrame"));
    EXPECT_TRUE(sent().empty());
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_EQ(tc.ui.messages()[0].text, core::notHexRefusalText(QStringLiteral("Send any frame")));
    EXPECT_EQ(tc.ui.beeps(), 1);
    EXPECT_EQ(log(), sentOnce);
}

// What a box holds that is not hex never goes out: the inventory names the box and sends
// nothing, not even the fast parameters. A box the request does not carry is not looked at.
TEST_F(CommandTest, InventoriesRefuseABoxThatIsNotHexAndSendNothing) {
    struct Case {
        const char* box;
        const char* pasted;
        const char* caption;  // empty: the box is not sent, the inventory goes out
    };
    const Case cases[] = {
        {"txtInventoryOptionalAFI", "xyz!", "AFI option flag"},
        {"txtInventoryMaskLenght", "g", "Mask Lenght"},
        {"txtInventoryMaskValue_0", "zz", "Mask Value"},
        {"txtInventoryMaskValue_1", "zz", ""},
    };
    for (const char* button :
         {"cmdInventory", "cmdInventoryInitiated", "cmdFastInventoryInitiated"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(button) + " " + c.box);
            open();
            tick(QStringLiteral("chkInventoryAFIOptions"));
            type(QStringLiteral("txtInventoryMaskLenght"), QStringLiteral("08"));
            get<QLineEdit>(QLatin1String(c.box))->setText(QLatin1String(c.pasted));
            const QStringList list = items(QStringLiteral("lstTransponderUID"));
            const std::size_t messages = tc.ui.messages().size();
            tc.scripted.clearCalls();
            if (*c.caption) tc.ui.expectMessage();
            click(QLatin1String(button));
            if (!*c.caption) {
                EXPECT_EQ(tc.scripted.countOf(ReaderFunction::SendReceive), 1);
                continue;
            }
            EXPECT_TRUE(tc.scripted.calls().empty());
            ASSERT_EQ(tc.ui.messages().size(), messages + 1);
            EXPECT_EQ(tc.ui.messages().back().text,
                      core::notHexRefusalText(QLatin1String(c.caption)));
            EXPECT_EQ(items(QStringLiteral("lstTransponderUID")), list);
        }
    }
}

TEST_F(CommandTest, MaskLengthShowsTheMaskBoxesItNeeds) {
    open();
    auto shownBoxes = [&] {
        int n = 0;
        for (int i = 0; i < 8; ++i) {
            n += get<QWidget>(QStringLiteral("txtInventoryMaskValue_%1").arg(i))->isVisibleTo(w);
        }
        return n;
    };
    struct Case {
        const char* typed;
        const char* shown;
        int boxes;
    };
    const Case cases[] = {{"5", "05", 1},  {"41", "00", 0}, {"FF", "00", 0},
                          {"C0", "40", 8}, {"09", "09", 2}, {"0C", "0C", 2}};
    for (const Case& c : cases) {
        type(QStringLiteral("txtInventoryMaskLenght"), QLatin1String(c.typed));
        EXPECT_EQ(text(QStringLiteral("txtInventoryMaskLenght")), QLatin1String(c.shown));
        EXPECT_EQ(shownBoxes(), c.boxes) << c.typed;
    }
    // The user types the mask most significant byte first: box 7 stands at the left, box 0
    // at the right, the bytes between in their order.
    for (int i = 1; i < 8; ++i) {
        const auto x = [&](int box) {
            return get<QWidget>(QStringLiteral("txtInventoryMaskValue_%1").arg(box))->x();
        };
        EXPECT_LT(x(i), x(i - 1)) << "box " << i;
    }
}

// ---- The chosen tag -----------------------------------------------------------------------

TEST_F(CommandTest, UidFromTheBoxTheLabelAndTheList) {
    open();
    QString& uid = tc.values().TransponderUID;
    auto* box = get<widgets::HexEntryBox>(QStringLiteral("txtTransponderUID"));

    type(QStringLiteral("txtTransponderUID"), QStringLiteral("e001020304050607"));
    EXPECT_EQ(uid, QString::fromStdString(kUid));
    EXPECT_EQ(box->text(), kUidShown);
    EXPECT_FALSE(box->showsRed());

    type(QStringLiteral("txtTransponderUID"), QStringLiteral("E0010203040506"));
    EXPECT_TRUE(uid.isEmpty());
    EXPECT_TRUE(box->showsRed());

    // Leaving the opening text as it is keeps the UID chosen before.
    uid = QString::fromStdString(kUid);
    type(QStringLiteral("txtTransponderUID"), QStringLiteral("Transponder UID"));
    EXPECT_EQ(uid, QString::fromStdString(kUid));
    EXPECT_EQ(box->text(), QStringLiteral("TRANSPONDER UID"));
    EXPECT_FALSE(box->showsRed());

    // The label takes the box as it stands, byte pairs reversed, case kept.
    auto clickLabel = [&] {
        QMouseEvent press(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(get<QLabel>(QStringLiteral("lblChoosenTag")), &press);
    };
    // Every hex digit of either case is taken; anything else, or half a byte (an odd
    // frame), leaves no UID.
    const struct {
        const char* box;
        const char* uid;
    } labelCases[] = {
        {"abCD", "CDab"},
        {"0123456789abcdef", "efcdab8967452301"},
        {"89ABCDEF01234567", "67452301EFCDAB89"},
        {"ABC", ""},
        {"Transponder UID", ""},
        {"0G", ""},
        {"9:", ""},
        {"/0", ""},
    };
    for (const auto& c : labelCases) {
        SCOPED_TRACE(c.box);
        uid = QStringLiteral("before");
        box->setText(QLatin1String(c.box));
        clickLabel();
        EXPECT_EQ(uid, QLatin1String(c.uid));
    }

    // A list line gives the box its UID; the header and the empty line are refused.
    tc.scripted.queue(ReaderFunction::SendReceive, 0,
                      "800D0000"
                      "07060504030201E0"
                      "8FF000");
    click(QStringLiteral("cmdInventory"));
    auto* list = get<QListWidget>(QStringLiteral("lstTransponderUID"));
    ASSERT_EQ(list->count(), 3);
    emit list->itemClicked(list->item(2));
    EXPECT_EQ(box->text(), kUidShown);
    EXPECT_EQ(uid, QString::fromStdString(kUid));
    emit list->itemClicked(list->item(0));
    EXPECT_TRUE(uid.isEmpty());
    EXPECT_TRUE(box->showsRed());
}

// The list says why it holds no tag where a tag line would stand; such a line is no tag.
TEST_F(CommandTest, AClickOnAMessageLineKeepsTheChosenTag) {
    open();
    type(QStringLiteral("txtTransponderUID"), kUidShown);
    auto* list = get<QListWidget>(QStringLiteral("lstTransponderUID"));
    for (const char* answer : {"8700", "8005010F68EE00"}) {
        SCOPED_TRACE(answer);
        tc.scripted.queue(ReaderFunction::SendReceive, 0, answer);
        click(QStringLiteral("cmdInventory"));
        ASSERT_EQ(list->count(), 3);
        emit list->itemClicked(list->item(2));
        EXPECT_EQ(tc.values().TransponderUID, QString::fromStdString(kUid));
        EXPECT_EQ(text(QStringLiteral("txtTransponderUID")), kUidShown);
        EXPECT_FALSE(get<widgets::HexEntryBox>(QStringLiteral("txtTransponderUID"))->showsRed());
    }
    tick(QStringLiteral("chk_Select_Address_flag_1"));
    click(QStringLiteral("cmdStayQuiet"));
    EXPECT_EQ(sent().back(), "2202" + kUid);
}

// ---- AUTO LOOP ---------------------------------------------------------------------------------

TEST_F(CommandTest, AutoLoopCounts) {
    open();
    HookReader hook(tc.scripted);
    tc.ctx->setReader(hook);
    // Past its bound a loop is ended as closing the window ends it: AUTO LOOP's flag is
    // cleared and the run returns at its next pause.
    auto counted = [&](const char* count) {
        tick(QStringLiteral("chkUserLoop"));
        type(QStringLiteral("txtLOOPnumber"), QLatin1String(count));
        hook.sendReceives = 0;
        QStringList counters;
        testsupport::LoopBound bound(w, 3);
        hook.afterSendReceive = [&](int) {
            if (bound.pass()) counters << label(QStringLiteral("lblLoopCount"));
        };
        click(QStringLiteral("cmdSelect"));
        hook.afterSendReceive = nullptr;
        return counters;
    };
    EXPECT_EQ(counted("3"), (QStringList{"1", "2", "3"}));
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("chkUserLoop"))->isChecked());
    EXPECT_EQ(text(QStringLiteral("txtLOOPnumber")), QStringLiteral("0"));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("txtLOOPnumber"))->isVisibleTo(w));

    EXPECT_EQ(counted("1"), QStringList{"1"});
    EXPECT_FALSE(tc.values().AutoLoopEnabled);
    // A count read as a number: "03" is three passes.
    EXPECT_EQ(counted("03").size(), 3);

    // 0: no end of its own; unticking AUTO LOOP ends it after the pass under way.
    tick(QStringLiteral("chkUserLoop"));
    type(QStringLiteral("txtLOOPnumber"), QStringLiteral("0"));
    hook.sendReceives = 0;
    testsupport::LoopBound bound(w, 7);
    hook.afterSendReceive = [&](int n) {
        if (bound.pass() && n == 7) tick(QStringLiteral("chkUserLoop"), false);
    };
    click(QStringLiteral("cmdStayQuiet"));
    EXPECT_EQ(hook.sendReceives, 7);
    EXPECT_EQ(label(QStringLiteral("lblLoopCount")), QStringLiteral("7"));

    // Unticked: one pass, and the counter is emptied.
    hook.sendReceives = 0;
    hook.afterSendReceive = nullptr;
    click(QStringLiteral("cmdResetToReady"));
    EXPECT_EQ(hook.sendReceives, 1);
    EXPECT_EQ(label(QStringLiteral("lblLoopCount")), QString());
    tc.ctx->setReader(tc.scripted);
}

}  // namespace
}  // namespace iso15693test
