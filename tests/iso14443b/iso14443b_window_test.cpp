#include "iso14443b/iso14443b_window.hpp"

#include <gtest/gtest.h>

#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QTableWidget>
#include <algorithm>
#include <map>

#include "core/run_guard.hpp"
#include "core/status_bar.hpp"
#include "iso14443b/answers.hpp"
#include "tag_window_fixture.hpp"
#include "transceiver/sola_answers.hpp"

namespace {

using iso14443b::Iso14443bWindow;
using iso14443btest::duringNextPump;
using iso14443btest::LogLine;
using reader::ReaderFunction;

using Driver = iso14443btest::TagWindowDriver<Iso14443bWindow, core::WindowKind::Iso14443B>;

const char* const kSendRecv = "TQ73RNDLL_SENDRECV, ";

LogLine sendRecv(const char* title, const std::string& request, const std::string& answer) {
    return {QLatin1String(title), QLatin1String(kSendRecv) + QString::fromStdString(request),
            QString::fromStdString(answer)};
}

// ---- On the simulated board -----------------------------------------------------------------

class Iso14443bOnBoard : public ::testing::Test {
  protected:
    iso14443btest::RecordedBoard b;
    testsupport::TestContext tc{&b.bounded};
    Driver d{tc, &b.bounded};

    // The log entries after the load's three.
    std::vector<LogLine> commandLog() {
        auto all = d.log();
        return {all.begin() + 3, all.end()};
    }
    QString cell(int slot) {
        auto* grid = d.get<QTableWidget>(QStringLiteral("fgISO14443Banticol"));
        return grid->item(iso14443b::slotRow(slot), iso14443b::slotColumn(slot))->text();
    }
};

TEST_F(Iso14443bOnBoard, LoadSetsTheTransceiverUpAndShowsTheMemoryTagLayout) {
    ASSERT_NE(d.select("SOLA-A"), nullptr);
    EXPECT_EQ(d.w->windowLogText(),
              iso14443btest::kStamp + ">>> TQ73RNDLL_ECHO\r\n\t\t\t<<< 5500" +
                  iso14443btest::kStamp +
                  "TQ73RN CONFIGURATION : ISO14443-B protocol\r\n\t\t\t>>> TQ73RNDLL_SELECT, "
                  "03010180\r\n\t\t\t<<< 0000" +
                  iso14443btest::kStamp +
                  "TQ73RN CONFIGURATION : INCREASE DEMOD GAIN\r\n\t\t\t>>> TQ73RNDLL_KVCMD, 01 "
                  "090468010130\r\n\t\t\t<<< 0000");
    ASSERT_EQ(b.recorder.journal().size(), 3u);
    EXPECT_EQ(b.recorder.journal()[2].request, "01090468010130");
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_request")), "");
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_answer")), "");
    EXPECT_EQ(d.w->windowTitle(), "   ISO14443-B  user interface  SOLA-A");
    EXPECT_EQ(d.label(QStringLiteral("lbl_title_ISO14443B")),
              "ISO14443-B Cards user interface (SOLAxxx) :");
    EXPECT_FALSE(d.shown(QStringLiteral("Fra_14443B_ReqBWupB")));
    EXPECT_TRUE(d.shown(QStringLiteral("Frame1")));
    EXPECT_TRUE(d.shown(QStringLiteral("FraAnticol")));
    EXPECT_TRUE(d.shown(QStringLiteral("cmd_ISO14443B_SendFrame")));
    for (int slot : {0, 1, 7, 15}) EXPECT_EQ(cell(slot), iso14443b::slotCellText(slot));
}

TEST_F(Iso14443bOnBoard, OnlyTheExactGenericReferenceGetsTheCardLayout) {
    ASSERT_NE(d.select("ISO14443-B Cards commands"), nullptr);
    EXPECT_TRUE(d.w->genericLayout());
    EXPECT_EQ(d.label(QStringLiteral("lbl_title_ISO14443B")), "ISO14443-B user interface : ");
    EXPECT_TRUE(d.shown(QStringLiteral("Fra_14443B_ReqBWupB")));
    EXPECT_FALSE(d.shown(QStringLiteral("Frame1")));
    EXPECT_FALSE(d.shown(QStringLiteral("FraAnticol")));
    EXPECT_TRUE(d.shown(QStringLiteral("cmd_ISO14443B_SendFrame")));

    tc.ctx->windows().close(core::WindowKind::Iso14443B);
    tc.values().SelectedProduct.Reference = QStringLiteral("iso14443-B");
    d.w = static_cast<Iso14443bWindow*>(tc.ctx->windows().show(core::WindowKind::Iso14443B));
    EXPECT_FALSE(d.w->genericLayout());
    EXPECT_TRUE(d.shown(QStringLiteral("Frame1")));
}

TEST_F(Iso14443bOnBoard, ReqbDecodesAnExtendedAtqbAndAttribAttachesThePolledCard) {
    d.select("ISO14443-B Cards commands");
    d.click(QStringLiteral("cmd_ISO14443B_ReqB"));
    const std::string atqb = "801050A1B2C3D40000000000718500E81100";
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer")),
              "Answer : 50A1B2C3D40000000000718500E81100");
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_FirstByte")), "First Byte : 50");
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_Pupi")), "Pupi : A1B2C3D4");
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_ApplicationData")),
              "Application data : 00000000");
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_ProtocolInfo")), "Protocol Info : 00718500");
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_Crc")), "Crc : E811");
    EXPECT_EQ(d.box(QStringLiteral("txtAttriBrequest_Pupi")), "A1B2C3D4");

    d.click(QStringLiteral("cmd_ISO14443B_Attrib"));
    EXPECT_EQ(d.label(QStringLiteral("lblAttriBanswer_MBLI_CID")),
              "MBLI(4 bits) CID(4 bits) : 1 0");
    EXPECT_EQ(d.label(QStringLiteral("lblAttriBanswer_Crc")), "CRC : F9E0");
    EXPECT_EQ(commandLog(),
              (std::vector<LogLine>{sendRecv("REQB", "0500F0", atqb),
                                    sendRecv("ATTRIB", "1DA1B2C3D400070100", "800410F9E000")}));
}

TEST_F(Iso14443bOnBoard, AThreeByteProtocolInfoIsNotMixedWithTheCrc) {
    b.setTags({{"iso14443b", {{"protocolinfo", "718500"}}}});
    d.select("ISO14443-B Cards commands");
    d.click(QStringLiteral("cmd_ISO14443B_ReqB"));
    const QString answer = QString::fromStdString(b.recorder.journal().back().answer);
    ASSERT_EQ(answer.size(), 34) << answer.toStdString();
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_ProtocolInfo")), "Protocol Info : 718500");
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_Crc")), "Crc : " + answer.mid(28, 4));
}

TEST_F(Iso14443bOnBoard, WupbLeavesThePupiBoxAndABadPollKeepsOrClearsAsItsCommandSays) {
    d.select("ISO14443-B Cards commands");
    d.type(QStringLiteral("txt_ISO14443B_ReqB_SN_2"), QStringLiteral("1"));
    d.type(QStringLiteral("txt_ISO14443B_ReqB_SN_0"), QStringLiteral("1"));
    d.type(QStringLiteral("txtAttriBrequest_Pupi"), QStringLiteral("1234"));
    EXPECT_EQ(d.box(QStringLiteral("txtAttriBrequest_Pupi")), "00001234");
    d.click(QStringLiteral("cmd_ISO14443B_WupB"));
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_Pupi")), "Pupi : A1B2C3D4");
    EXPECT_EQ(d.box(QStringLiteral("txtAttriBrequest_Pupi")), "00001234");

    // The card, attached, no longer answers polls.
    d.type(QStringLiteral("txtAttriBrequest_Pupi"), QStringLiteral("A1B2C3D4"));
    d.click(QStringLiteral("cmd_ISO14443B_Attrib"));
    d.click(QStringLiteral("cmd_ISO14443B_WupB"));
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_Pupi")), "Pupi : A1B2C3D4");
    d.click(QStringLiteral("cmd_ISO14443B_ReqB"));
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer_Pupi")), "Pupi : ");
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer")), "Answer : ");
    EXPECT_EQ(d.box(QStringLiteral("txtAttriBrequest_Pupi")), "00000000");

    EXPECT_EQ(b.sent(),
              (std::vector<std::string>{"0500FD", "1DA1B2C3D400070100", "0500FD", "0500F5"}));
}

struct AnticollisionCase {
    const char* name;
    std::vector<const char*> chipIds;
    std::vector<std::pair<int, const char*>> cells;  // slots that show a chip ID
    const char* uid;                                 // of a lone tag
};

void PrintTo(const AnticollisionCase& c, std::ostream* os) { *os << c.name; }

class Iso14443bAnticollision : public Iso14443bOnBoard,
                               public ::testing::WithParamInterface<AnticollisionCase> {};

TEST_P(Iso14443bAnticollision, GridShowsTheSlotsThatAnsweredAndALoneTagIsSelected) {
    const AnticollisionCase& c = GetParam();
    std::vector<simboard::TagSpec> tags;
    for (const char* id : c.chipIds) tags.push_back({"sola", {{"chipid", id}}});
    b.setTags(tags);
    d.select("SOLA-A");
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));

    for (int slot = 0; slot < iso14443b::kSlotCount; ++slot) {
        QString chipId;
        for (const auto& [s, id] : c.cells) {
            if (s == slot) chipId = QLatin1String(id);
        }
        EXPECT_EQ(cell(slot), iso14443b::slotCellText(slot, chipId)) << "slot " << slot;
    }
    // Slot 0 is called by PCALL16, its tag answering it itself; the others by their slot marker.
    std::vector<std::string> expected{"0C", "0600", "0604"};
    for (int slot = 1; slot <= 15; ++slot)
        expected.push_back(transceiver::solaSlotMarkerRequest(slot));
    const bool lone = c.cells.size() == 1;
    if (lone) {
        expected.push_back(std::string("0E") + c.cells.front().second);
        expected.push_back("0B");
    }
    EXPECT_EQ(b.sent(), expected);
    EXPECT_EQ(d.box(QStringLiteral("txtAnticolUID")), QLatin1String(c.uid));
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_ChipID")),
              lone ? QLatin1String(c.cells.front().second) : QLatin1String("00"));
    const auto log = commandLog();
    ASSERT_EQ(log.size(), expected.size());
    EXPECT_EQ(log[2].title, "PCALL16");
    EXPECT_EQ(log[3].title, "SLOT MARKER (1)");
    EXPECT_EQ(log[17].title, "SLOT MARKER (15)");
}

INSTANTIATE_TEST_SUITE_P(
    Tags, Iso14443bAnticollision,
    ::testing::Values(
        AnticollisionCase{"One", {"37"}, {{7, "37"}}, "1C2B3A4958677685"},
        AnticollisionCase{"Three", {"12", "37", "5E"}, {{2, "12"}, {7, "37"}, {14, "5E"}}, ""},
        // Two tags in slot 5 answer at once: a garbled frame, which names no tag.
        AnticollisionCase{"TwoColliding", {"15", "25"}, {}, ""},
        AnticollisionCase{"SlotZeroBesideSeven", {"40", "37"}, {{0, "40"}, {7, "37"}}, ""},
        AnticollisionCase{"SlotZeroAlone", {"40"}, {{0, "40"}}, "1C2B3A4958677685"},
        AnticollisionCase{"None", {}, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The exchanges of an anticollision pass before its SELECT: RESET TO INVENTORY, INITIATE
// and the sixteen slots; a pass that finds a lone tag adds SELECT and GET UID.
constexpr std::size_t kInventoryExchanges = 18;
constexpr std::size_t kLoneTagPass = kInventoryExchanges + 2;
const QString kDefaultSolaUid = QStringLiteral("1C2B3A4958677685");

TEST_F(Iso14443bOnBoard, AnticollisionEmptiesTheUidAtEveryPassAndTheGridOnlyAtTheClick) {
    d.select("SOLA-A");  // the default antenna's memory tag: chip ID 37, slot 7
    const QString tagCell = iso14443b::slotCellText(7, QStringLiteral("37"));
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
    ASSERT_EQ(cell(7), tagCell);
    ASSERT_EQ(d.box(QStringLiteral("txtAnticolUID")), kDefaultSolaUid);

    // A second click, looping for two passes: the UID box and the tag's cell as the first
    // pump after each number of exchanges found them.
    d.tick(QStringLiteral("chkAnticollisionLoop"), true);
    b.bounded.bound(d.w, 2);
    b.recorder.clearJournal();
    std::map<std::size_t, std::pair<QString, QString>> seen;
    std::function<void()> watch = [&] {
        const std::size_t sent = b.sent().size();
        seen.try_emplace(sent, d.box(QStringLiteral("txtAnticolUID")), cell(7));
        if (sent >= 2 * kLoneTagPass) {
            d.tick(QStringLiteral("chkAnticollisionLoop"), false);
        } else {
            duringNextPump(d.w, watch);
        }
    };
    duringNextPump(d.w, watch);
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
    ASSERT_EQ(b.sent().size(), 2 * kLoneTagPass);

    // The first pump of a pass comes after its third exchange.
    const std::pair<QString, QString> firstPass{QString(), iso14443b::slotCellText(7)};
    const std::pair<QString, QString> afterFirstPass{kDefaultSolaUid, tagCell};
    const std::pair<QString, QString> secondPass{QString(), tagCell};
    EXPECT_EQ(seen[3], firstPass) << "the grid is reset at the click";
    EXPECT_EQ(seen[kLoneTagPass], afterFirstPass);
    EXPECT_EQ(seen[kLoneTagPass + 3], secondPass) << "the UID box, not the grid, at every pass";
    EXPECT_EQ(d.box(QStringLiteral("txtAnticolUID")), kDefaultSolaUid);
}

TEST_F(Iso14443bOnBoard, AnticollisionAsksForTheUidOnlyAfterAGoodSelect) {
    d.select("SOLA-A");
    const QString earlierUid = QStringLiteral("0102030405060708");  // from an earlier Get UID
    const struct {
        const char* name;
        const char* selectAnswer;  // nullptr: the tag's own answer
        const char* getUidAnswer;
        bool getUidSent;
        QString cardUid;  // txt_ISO14443B_UID afterwards
        QString anticolUid;
    } cases[] = {
        {"SELECT unanswered", "8700", nullptr, false, earlierUid, ""},
        {"SELECT with a CRC error", "80043744B520", nullptr, false, earlierUid, ""},
        {"GET UID unanswered", nullptr, "8700", true, "", ""},
        {"both answered", nullptr, nullptr, true, "", kDefaultSolaUid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        d.get<QLineEdit>(QStringLiteral("txt_ISO14443B_UID"))->setText(earlierUid);
        b.recorder.clearJournal();
        const auto answer = [](const char* text) {
            return simboard::CannedAnswer{reader::kStatusOk, std::string(text)};
        };
        const int selectCall = static_cast<int>(kInventoryExchanges) + 1;
        if (c.selectAnswer)
            b.board.faults().onCall(ReaderFunction::SendReceive, selectCall,
                                    answer(c.selectAnswer));
        if (c.getUidAnswer)
            b.board.faults().onCall(ReaderFunction::SendReceive, selectCall + 1,
                                    answer(c.getUidAnswer));
        d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));

        const auto sent = b.sent();
        ASSERT_EQ(sent.size(), kInventoryExchanges + (c.getUidSent ? 2 : 1));
        EXPECT_EQ(sent.back(), c.getUidSent ? "0B" : "0E37");
        EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_UID")), c.cardUid);
        EXPECT_EQ(d.box(QStringLiteral("txtAnticolUID")), c.anticolUid);
    }
}

TEST_F(Iso14443bOnBoard, SelectAndGetUidAfterAnInventoryOfThreeTags) {
    b.setTags({{"sola", {{"chipid", "12"}}},
               {"sola", {{"chipid", "37"}}},
               {"sola", {{"chipid", "5E"}, {"uid", "0102030405060708"}}}});
    d.select("SOLA-A");
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
    d.type(QStringLiteral("txt_ISO14443B_ChipID"), QStringLiteral("5e"));
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_ChipID")), "5E");
    d.click(QStringLiteral("cmd_ISO14443B_Select"));
    d.click(QStringLiteral("cmd_ISO14443B_GetUID"));
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_UID")), "0102030405060708");
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_request")), "0B");
    const auto log = commandLog();
    EXPECT_EQ(log[log.size() - 2].call, QLatin1String(kSendRecv) + "0E5E");
}

TEST_F(Iso14443bOnBoard, StatusFiveReconnectsSetsTheCardUpAgainAndRepeatsOnce) {
    d.select("SOLA-A");
    b.recorder.clearJournal();
    tc.ctx->statusBar().setPanelText(1, QLatin1String(core::kBoardNotConnectedPhrase));
    b.board.faults().queue(ReaderFunction::SendReceive, {reader::kStatusUnreachable, "8700"});
    d.click(QStringLiteral("cmd_ISO14443B_Initiate"));

    std::vector<std::pair<ReaderFunction, std::string>> calls;
    for (const auto& e : b.recorder.journal()) calls.emplace_back(e.function, e.request);
    const decltype(calls) expected{
        {ReaderFunction::SendReceive, "0600"},     {ReaderFunction::UsbConnect, ""},
        {ReaderFunction::UsbHandleCheck, ""},      {ReaderFunction::Select, "03010180"},
        {ReaderFunction::KvCmd, "01090468010130"}, {ReaderFunction::SendReceive, "0600"}};
    EXPECT_EQ(calls, expected);
    // One entry, with the repeat's answer, and the repeat's answer used.
    EXPECT_EQ(commandLog(), (std::vector<LogLine>{sendRecv("INITIATE", "0600", "80043744B500")}));
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_ChipID")), "37");
    EXPECT_EQ(tc.ctx->statusBar().panelText(1), QLatin1String(core::kBoardConnectedPhrase));
}

// ---- Exact requests and error paths on a scripted reader ------------------------------------

// The window opened for a product, on a scripted reader whose calls start after the load.
class ScriptedWindow : public ::testing::Test {
  protected:
    explicit ScriptedWindow(const char* product) : product_(product) {
        bounded.forwardTo(tc.scripted);
    }
    void SetUp() override {
        ASSERT_NE(d.select(product_), nullptr);
        r.clearCalls();
    }

    // The window calls the scripted reader through the pass bound.
    iso14443btest::PassBoundReader bounded;
    testsupport::TestContext tc{&bounded};
    Driver d{tc, &bounded};
    testsupport::ScriptedReader& r = tc.scripted;

  private:
    const char* product_;
};

class Iso14443bScripted : public ScriptedWindow {
  protected:
    Iso14443bScripted() : ScriptedWindow("SOLA-A") {}
};

TEST_F(Iso14443bScripted, EachMemoryTagButtonSendsItsFrameUnderItsTitle) {
    const struct {
        const char* button;
        const char* request;
        const char* title;
    } cases[] = {
        {"cmd_ISO14443B_Initiate", "0600", "INITIATE"},
        {"cmd_ISO14443B_Pcall16", "0604", "PCALL16"},
        {"cmd_ISO14443B_SlotMarker", "06", "SLOT MARKER"},
        {"cmd_ISO14443B_Select", "0E00", "SELECT"},
        {"cmd_ISO14443B_GetUID", "0B", "GET UID"},
        {"cmd_ISO14443B_Completion", "0F", "COMPLETION"},
        {"cmd_ISO14443B_ResetToInventory", "0C", "RESET TO INVENTORY"},
    };
    for (const auto& c : cases) {
        d.click(QLatin1String(c.button));
        ASSERT_FALSE(d.log().empty());
        EXPECT_EQ(d.log().back(), sendRecv(c.title, c.request, "8700")) << c.button;
    }
    EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive).size(), std::size(cases));
}

TEST_F(Iso14443bScripted, SlotMarkerSpellsItsSlotFromTheBitBoxes) {
    const struct {
        const char* bits;  // indexes 3, 2, 1, 0
        const char* request;
    } cases[] = {{"0001", "16"}, {"1000", "86"}, {"1111", "F6"}, {"0000", "06"}};
    for (const auto& c : cases) {
        for (int i = 0; i < 4; ++i) {
            d.type(QStringLiteral("txt_ISO14443B_SN_%1").arg(3 - i),
                   QString(QLatin1Char(c.bits[i])));
        }
        d.click(QStringLiteral("cmd_ISO14443B_SlotMarker"));
        EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive).back(), c.request) << c.bits;
    }
}

TEST_F(Iso14443bScripted, ChipIdAndUidComeOnlyFromAGoodAnswerOfStatusZero) {
    r.queue(ReaderFunction::SendReceive, 0, "80045AA70D00");
    d.click(QStringLiteral("cmd_ISO14443B_Initiate"));
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_ChipID")), "5A");
    // A failed call whose buffer happens to read like a frame is not an answer.
    r.queue(ReaderFunction::SendReceive, 1, "80046BA70D00");
    d.click(QStringLiteral("cmd_ISO14443B_Initiate"));
    r.queue(ReaderFunction::SendReceive, 0, "8700");
    d.click(QStringLiteral("cmd_ISO14443B_Initiate"));
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_ChipID")), "5A");

    d.click(QStringLiteral("cmd_ISO14443B_Select"));
    EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive).back(), "0E5A");
    d.type(QStringLiteral("txt_ISO14443B_ChipID"), QString());
    d.click(QStringLiteral("cmd_ISO14443B_Select"));
    EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive).back(), "0E");

    r.queue(ReaderFunction::SendReceive, 0, "800B11223344556677884AF700");
    d.click(QStringLiteral("cmd_ISO14443B_GetUID"));
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_UID")), "8877665544332211");
    // Seven bytes: too short for a UID; the box shows none rather than CRC digits.
    r.queue(ReaderFunction::SendReceive, 0, "800A112233445566774AF700");
    d.click(QStringLiteral("cmd_ISO14443B_GetUID"));
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_UID")), "");
}

TEST_F(Iso14443bScripted, AnyFrameGoesAsTypedAndNothingGoesForAnEmptyOrNotHexBox) {
    d.click(QStringLiteral("cmd_ISO14443B_SendFrame"));
    EXPECT_TRUE(r.calls().empty());
    EXPECT_EQ(d.log().size(), 3u);

    for (const char* frame : {"0", "0b1f"}) {
        d.type(QStringLiteral("txt_ISO14443B_AnyFrame"), QLatin1String(frame));
        d.click(QStringLiteral("cmd_ISO14443B_SendFrame"));
        EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive).back(), frame);
        EXPECT_EQ(d.log().back().title, "SEND FRAME");
        EXPECT_EQ(d.box(QStringLiteral("txt_ISO14443B_AnyFrame")), frame) << "never rewritten";
    }
    d.expectPastedFramesPackedOrRefused(QStringLiteral("txt_ISO14443B_AnyFrame"),
                                        QStringLiteral("cmd_ISO14443B_SendFrame"),
                                        [&] { return r.requestsTo(ReaderFunction::SendReceive); });
}

// A parameter box holding pasted text that is not hex: its command sends nothing and names
// the box.
TEST(Iso14443bBoxes, ACommandRefusesABoxThatIsNotHexByItsName) {
    const struct {
        const char* product;
        const char* box;
        const char* button;
        const char* name;
    } cases[] = {
        {"ISO14443-B Cards commands", "txt_iso14443B_reqB_afi", "cmd_ISO14443B_ReqB", "afi"},
        {"ISO14443-B Cards commands", "txt_iso14443B_reqB_afi", "cmd_ISO14443B_WupB", "afi"},
        {"ISO14443-B Cards commands", "txtAttriBrequest_Pupi", "cmd_ISO14443B_Attrib", "Pupi"},
        {"ISO14443-B Cards commands", "txtAttriBrequest_CID", "cmd_ISO14443B_Attrib",
         "CID(8bits) card identifier"},
        {"SOLA-A", "txt_ISO14443B_ChipID", "cmd_ISO14443B_Select", "Chip Id"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        testsupport::TestContext tc;
        Driver d{tc};
        ASSERT_NE(d.select(c.product), nullptr);
        tc.scripted.clearCalls();
        d.type(QLatin1String(c.box), QStringLiteral("g!"));
        tc.ui.expectMessage();
        d.click(QLatin1String(c.button));
        EXPECT_TRUE(tc.scripted.requestsTo(ReaderFunction::SendReceive).empty());
        ASSERT_EQ(tc.ui.messages().size(), 1u);
        EXPECT_EQ(tc.ui.messages()[0].text, core::notHexRefusalText(QLatin1String(c.name)));
    }
}

TEST_F(Iso14443bScripted, AnAnswerThatNeverCameShowsTheBlankBufferNotTheLastAnswer) {
    r.queue(ReaderFunction::SendReceive, 0, "80045AA70D00");
    d.click(QStringLiteral("cmd_ISO14443B_Initiate"));
    r.queueUntouched(ReaderFunction::SendReceive, 1);
    d.click(QStringLiteral("cmd_ISO14443B_Pcall16"));
    EXPECT_EQ(d.log().back().answer, QString(256, QLatin1Char(' ')));
}

TEST_F(Iso14443bScripted, UntickingLoopEndsTheAnticollisionAfterItsPass) {
    d.tick(QStringLiteral("chkAnticollisionLoop"), true);
    bounded.bound(d.w, 2);
    EXPECT_TRUE(tc.values().AnticollisionLoopEnabled);
    std::function<void()> watch = [&] {
        if (r.requestsTo(ReaderFunction::SendReceive).size() >= 2 * 18) {
            d.tick(QStringLiteral("chkAnticollisionLoop"), false);
        } else {
            duringNextPump(d.w, watch);
        }
    };
    duringNextPump(d.w, watch);
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
    EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive).size(), 2u * 18u);
    EXPECT_FALSE(tc.values().AnticollisionLoopEnabled);
}

TEST_F(Iso14443bScripted, EveryAnticollisionPassEndsWithAPauseOfTenThousandAndOneEventPasses) {
    const qint64 pause = core::timedPauseMs(10001);
    d.tick(QStringLiteral("chkAnticollisionLoop"), true);
    bounded.bound(d.w, 3);
    // The time paused so far, as each pass opened; the third unticks the box.
    std::vector<qint64> pausedAtPass;
    bounded.atPass = [&] {
        pausedAtPass.push_back(tc.timing.totalPaused());
        if (pausedAtPass.size() == 3) d.tick(QStringLiteral("chkAnticollisionLoop"), false);
    };
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
    EXPECT_EQ(pausedAtPass, (std::vector<qint64>{0, pause, 2 * pause}))
        << "one whole pause between two passes, none before the first or inside a pass";
    EXPECT_EQ(tc.timing.totalPaused(), 3 * pause) << "the last pass pauses before the loop ends";
    EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive).size(), 3u * 18u);
}

TEST_F(Iso14443bScripted, ASecondAnticollisionStartDuringTheRunIsIgnoredOtherCommandsRun) {
    bounded.bound(d.w, 1);
    duringNextPump(d.w, [&] {
        d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
        d.click(QStringLiteral("cmd_ISO14443B_Completion"));
    });
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
    const auto sent = r.requestsTo(ReaderFunction::SendReceive);
    EXPECT_EQ(sent.size(), 19u);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "0F"), 1);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "0C"), 1);
}

TEST_F(Iso14443bScripted, ClosingTheWindowEndsTheLoopAtItsNextPump) {
    d.tick(QStringLiteral("chkAnticollisionLoop"), true);
    bounded.bound(d.w, 1);
    QPointer<Iso14443bWindow> w = d.w;
    duringNextPump(d.w, [&] { w->close(); });
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
    // Ended at the pump after the first slot's call (PCALL16); the window waits for deletion.
    EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive).size(), 3u);
    EXPECT_FALSE(tc.values().AnticollisionLoopEnabled);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

class Iso14443bGenericScripted : public ScriptedWindow {
  protected:
    Iso14443bGenericScripted() : ScriptedWindow("ISO14443-B Cards commands") {}
};

TEST_F(Iso14443bGenericScripted, UntickingLoopEndsTheReqbRunAfterThatPassAndASecondStartIsIgnored) {
    d.tick(QStringLiteral("chkReqBWupBLoop"), true);
    bounded.bound(d.w, 3);
    int pauses = 0;
    std::function<void()> watch = [&] {
        ++pauses;
        if (pauses == 1) d.click(QStringLiteral("cmd_ISO14443B_WupB"));  // ignored
        if (pauses == 3) {
            d.tick(QStringLiteral("chkReqBWupBLoop"), false);
        } else {
            duringNextPump(d.w, watch);
        }
    };
    duringNextPump(d.w, watch);
    d.click(QStringLiteral("cmd_ISO14443B_ReqB"));
    EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive),
              (std::vector<std::string>{"0500F0", "0500F0", "0500F0"}));
    EXPECT_FALSE(tc.values().ReqBLoopEnabled);
    // Each pass paused through the timing source.
    EXPECT_EQ(tc.timing.totalPaused(), 3 * core::timedPauseMs(10001));
}

TEST_F(Iso14443bGenericScripted, ABoxChangedDuringAPauseIsReadByTheNextPass) {
    d.tick(QStringLiteral("chkReqBWupBLoop"), true);
    bounded.bound(d.w, 2);
    duringNextPump(d.w, [&] {
        // Not left yet: its leave rule has not made it "03".
        d.get<QLineEdit>(QStringLiteral("txt_iso14443B_reqB_afi"))->setText(QStringLiteral("3"));
        duringNextPump(d.w, [&] { d.tick(QStringLiteral("chkReqBWupBLoop"), false); });
    });
    d.click(QStringLiteral("cmd_ISO14443B_ReqB"));
    EXPECT_EQ(r.requestsTo(ReaderFunction::SendReceive),
              (std::vector<std::string>{"0500F0", "053F0"}));
}

}  // namespace

namespace {

TEST_F(Iso14443bOnBoard, EveryProductOfTheMenuOpensTheWindowWithItsLayoutAndClearsTheLoops) {
    const struct {
        const char* caption;
        bool generic;
    } cases[] = {{"ISO14443-B Cards commands", true},
                 {"SOLA-A", false},
                 {"SOLT-A", false},
                 {"SOLA-B", false},
                 {"SOLA-C", false},
                 {"SOLX-A", false}};
    for (const auto& c : cases) {
        tc.values().ScriptLoopEnabled = true;
        tc.values().ReqBLoopEnabled = true;
        tc.values().AnticollisionLoopEnabled = true;
        ASSERT_NE(d.select(c.caption), nullptr) << c.caption;
        EXPECT_EQ(d.w->genericLayout(), c.generic) << c.caption;
        EXPECT_EQ(d.shown(QStringLiteral("fraBlockRange")), !c.generic) << c.caption;
        EXPECT_FALSE(tc.values().ScriptLoopEnabled);
        EXPECT_FALSE(tc.values().ReqBLoopEnabled);
        EXPECT_FALSE(tc.values().AnticollisionLoopEnabled);
        EXPECT_FALSE(d.get<QCheckBox>(QStringLiteral("chkAnticollisionLoop"))->isChecked());
    }
    d.tick(QStringLiteral("chkAnticollisionLoop"), true);
    d.w->close();
    EXPECT_FALSE(tc.values().AnticollisionLoopEnabled);
}

TEST_F(Iso14443bOnBoard, EntryBoxesTakeTheirKeysAndRewriteTheirValueOnLeaving) {
    d.select("ISO14443-B Cards commands");
    const struct {
        const char* box;
        const char* typed;  // keys typed into the emptied box
        const char* left;   // the text once the box is left
        int beeps;
    } cases[] = {
        {"txt_iso14443B_reqB_afi", "5", "05", 0},
        {"txtAttriBrequest_MaxFrameSize", "7", "07", 0},
        {"txtAttriBrequest_CID", "af", "AF", 0},
        {"txtAttriBrequest_CID", "", "", 0},
        {"txtAttriBrequest_Pupi", "1234", "00001234", 0},
        {"txtAttriBrequest_Pupi", "g1-", "00000001", 2},
        {"txt_ISO14443B_ReqB_SN_1", "2", "0", 1},
        {"txt_ISO14443B_ReqB_SN_1", "1", "1", 0},
        {"txt_ISO14443B_AnyFrame", "A1b", "A1b", 0},
    };
    for (const auto& c : cases) {
        auto* box = d.get<widgets::HexEntryBox>(QLatin1String(c.box));
        box->clear();
        const int before = tc.ui.beeps();
        for (const char* k = c.typed; *k; ++k) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(*k)));
            QCoreApplication::sendEvent(box, &press);
        }
        box->commit();
        EXPECT_EQ(box->text(), QLatin1String(c.left)) << c.box << " " << c.typed;
        EXPECT_EQ(tc.ui.beeps() - before, c.beeps) << c.box << " " << c.typed;
    }
    // Two characters at most in a byte box.
    EXPECT_EQ(d.get<QLineEdit>(QStringLiteral("txtAttriBrequest_MaxFrameSize"))->maxLength(), 2);
    // An odd raw frame shows red; the button stays usable.
    auto* frame = d.get<widgets::HexEntryBox>(QStringLiteral("txt_ISO14443B_AnyFrame"));
    EXPECT_TRUE(frame->showsRed());
    EXPECT_TRUE(d.get<QWidget>(QStringLiteral("cmd_ISO14443B_SendFrame"))->isEnabled());
}

}  // namespace

namespace {

TEST_F(Iso14443bOnBoard, SaveLogWritesTheLogAndClearLogEmptiesIt) {
    d.select("SOLA-A");
    d.click(QStringLiteral("cmd_ISO14443B_Initiate"));
    d.expectSaveAndClearLog(QStringLiteral("rtfISO14443BLogEdit"));
}

}  // namespace
