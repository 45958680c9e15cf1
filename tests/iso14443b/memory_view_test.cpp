// The memory view of the ISO14443-B window: block reads and writes of SOLA memory tags.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

#include "core/hex_checks.hpp"
#include "iso14443b/answers.hpp"
#include "iso14443b/iso14443b_window.hpp"
#include "tag_window_fixture.hpp"
#include "widgets/page_write_panel.hpp"

namespace {

using iso14443b::Iso14443bWindow;
using iso14443btest::duringNextPump;
using reader::ReaderFunction;

using Driver = iso14443btest::TagWindowDriver<Iso14443bWindow, core::WindowKind::Iso14443B>;

// Byte i of a fresh simulated tag holds i (its low eight bits): the memory line of a block.
QString freshBlock(int block) {
    QString line;
    for (int i = 0; i < 4; ++i)
        line += QStringLiteral("%1 ").arg((4 * block + i) & 0xFF, 2, 16, QLatin1Char('0'));
    return line.toUpper();
}

class MemoryViewTest : public ::testing::Test {
  protected:
    iso14443btest::RecordedBoard b;
    testsupport::TestContext tc{&b.bounded};
    Driver d{tc, &b.bounded};

    // The memory tag in the field, selected by the anticollision (it answers reads
    // and writes only when selected).
    void open(const char* product) {
        b.setTags({{"sola", {{"product", product}}}});
        ASSERT_NE(d.select(product), nullptr);
        d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
        b.recorder.clearJournal();
    }
    void range(const char* from, const char* to) {
        d.type(QStringLiteral("txtUserAddress_0"), QLatin1String(from));
        d.type(QStringLiteral("txtUserAddress_1"), QLatin1String(to));
    }
    QListWidget* view() { return d.get<QListWidget>(QStringLiteral("lstReadView")); }
    QStringList lines() {
        QStringList out;
        for (int i = 0; i < view()->count(); ++i) out << view()->item(i)->text();
        return out;
    }
    widgets::PageWritePanel* panel() {
        return d.get<widgets::PageWritePanel>(QStringLiteral("fraPageWrite"));
    }
    bool commandsOn() { return d.get<QWidget>(QStringLiteral("cmd_ISO14443B_Read"))->isEnabled(); }
};

TEST_F(MemoryViewTest, AddressBoxesTakeTheWidthOfTheMemory) {
    const struct {
        const char* product;
        int width;
        const char* to;
    } cases[] = {{"SOLA-A", 2, "7F"}, {"SOLT-A", 2, "7F"}, {"SOLA-B", 3, "07F"}};
    for (const auto& c : cases) {
        d.select(c.product);
        EXPECT_EQ(d.get<QLineEdit>(QStringLiteral("txtUserAddress_0"))->maxLength(), c.width);
        EXPECT_EQ(d.box(QStringLiteral("txtUserAddress_0")), QString(c.width, QLatin1Char('0')));
        EXPECT_EQ(d.box(QStringLiteral("txtUserAddress_1")), c.to);
        EXPECT_TRUE(view()->isHidden());
        EXPECT_TRUE(panel()->isHidden());
        EXPECT_TRUE(d.get<QWidget>(QStringLiteral("cmdStopCommand"))->isHidden());
    }
    d.select("ISO14443-B Cards commands");
    EXPECT_FALSE(d.shown(QStringLiteral("fraBlockRange")));
}

TEST_F(MemoryViewTest, ARangeReadWrapsAfterTheHighestBlock) {
    open("SOLA-B");
    range("7E", "2");
    d.click(QStringLiteral("cmd_ISO14443B_Read"));
    EXPECT_EQ(b.sent(), (std::vector<std::string>{"087E", "087F", "0800", "0801", "0802"}));
    EXPECT_EQ(lines(), (QStringList{"007E   " + freshBlock(126), "007F   " + freshBlock(127),
                                    "0000   " + freshBlock(0), "0001   " + freshBlock(1),
                                    "0002   " + freshBlock(2)}));
    EXPECT_EQ(d.box(QStringLiteral("txtUserAddress_0")), "07E");
    EXPECT_EQ(d.box(QStringLiteral("txtUserAddress_1")), "002");
    EXPECT_TRUE(view()->isEnabled());
    EXPECT_EQ(tc.values().ReadViewTopLine, 1);
    EXPECT_EQ(d.log().back().title, "READ");
    EXPECT_TRUE(commandsOn());
    EXPECT_FALSE(tc.ui.isBusy());
}

TEST_F(MemoryViewTest, AnAddressAboveTheMemoryIsRefusedAndALongRangeShowsItsLastSixteenBlocks) {
    open("SOLA-A");
    range("FF", "FF");
    tc.ui.expectMessage();
    d.click(QStringLiteral("cmd_ISO14443B_Read"));
    EXPECT_TRUE(b.sent().empty());
    EXPECT_EQ(d.box(QStringLiteral("txtUserAddress_0")), "FF");
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_EQ(tc.ui.messages()[0].text, core::kInvalidAddressText);

    d.w->close();
    open("SOLA-B");
    range("0", "13");
    d.click(QStringLiteral("cmd_ISO14443B_Read"));
    EXPECT_EQ(b.sent().size(), 20u);
    EXPECT_EQ(tc.values().ReadViewTopLine, 5);
    ASSERT_EQ(view()->count(), 16);
    EXPECT_EQ(lines().front(), "0004   " + freshBlock(4));
    EXPECT_EQ(lines().back(), "0013   " + freshBlock(19));
    EXPECT_EQ(d.box(QStringLiteral("txtUserAddress_0")), "000");
}

// Every block of the product's density can be typed and read; an address past it stays
// as typed, red, and is refused at Read.
TEST_F(MemoryViewTest, AddressBoxesTakeEveryBlockOfTheProductsDensityAndNoMore) {
    const struct {
        const char* product;
        const char* address;
        bool taken;
    } cases[] = {{"SOLA-A", "7F", true},  {"SOLT-A", "7F", true},   {"SOLA-A", "80", false},
                 {"SOLA-B", "07F", true}, {"SOLA-B", "080", false}, {"SOLA-B", "FFF", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " " + c.address);
        ASSERT_NE(d.select(c.product), nullptr);
        b.recorder.clearJournal();
        range(c.address, c.address);
        for (const char* box : {"txtUserAddress_0", "txtUserAddress_1"}) {
            EXPECT_EQ(d.box(QLatin1String(box)), QLatin1String(c.address));
            EXPECT_EQ(d.get<widgets::HexEntryBox>(QLatin1String(box))->showsRed(), !c.taken);
        }
        if (!c.taken) tc.ui.expectMessage();
        const std::size_t messages = tc.ui.messages().size();
        d.click(QStringLiteral("cmd_ISO14443B_Read"));
        const std::string block = QString::fromLatin1(c.address).right(2).toStdString();
        EXPECT_EQ(b.sent(),
                  c.taken ? std::vector<std::string>{"08" + block} : std::vector<std::string>{});
        ASSERT_EQ(tc.ui.messages().size(), messages + (c.taken ? 0 : 1));
        if (!c.taken) {
            EXPECT_EQ(tc.ui.messages().back().text, core::kInvalidAddressText);
        }
    }
}

TEST_F(MemoryViewTest, StopEndsTheReadAfterTheBlockUnderWay) {
    open("SOLA-B");
    range("0", "1D");
    duringNextPump(d.w, [&] {
        EXPECT_FALSE(commandsOn());
        EXPECT_TRUE(d.shown(QStringLiteral("cmdStopCommand")));
        EXPECT_TRUE(tc.ui.isBusy());
        duringNextPump(d.w, [&] { d.click(QStringLiteral("cmdStopCommand")); });
    });
    d.click(QStringLiteral("cmd_ISO14443B_Read"));
    EXPECT_EQ(b.sent().size(), 2u);
    EXPECT_EQ(tc.values().ReadViewLines.Size(), 2);
    EXPECT_FALSE(view()->isHidden());
    EXPECT_EQ(view()->count(), 0);
    EXPECT_FALSE(view()->isEnabled());
    EXPECT_EQ(d.box(QStringLiteral("txtUserAddress_1")), "01D");
    EXPECT_TRUE(commandsOn());
    EXPECT_FALSE(d.shown(QStringLiteral("cmdStopCommand")));
    EXPECT_FALSE(tc.values().StopRequested);
}

TEST_F(MemoryViewTest, AReadWithABadAddressReadsNothing) {
    open("SOLA-A");
    d.get<QLineEdit>(QStringLiteral("txtUserAddress_0"))->setText(QString());
    tc.ui.expectMessage();
    d.click(QStringLiteral("cmd_ISO14443B_Read"));
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_EQ(tc.ui.messages()[0].text, core::kInvalidAddressText);
    EXPECT_TRUE(b.sent().empty());
    EXPECT_TRUE(commandsOn());
}

// A Read refused for its address reads nothing and gives the view back usable: enabled
// where an earlier run left it on screen greyed, hidden where no run has shown it yet.
TEST_F(MemoryViewTest, AReadRefusedForItsAddressLeavesTheViewUsable) {
    const struct {
        const char* name;
        std::function<void()> earlierRun;
        bool shown;
    } cases[] = {
        {"no run yet", [] {}, false},
        {"stopped read",
         [&] {
             range("0", "F");
             duringNextPump(d.w, [&] { d.click(QStringLiteral("cmdStopCommand")); });
             d.click(QStringLiteral("cmd_ISO14443B_Read"));
             ASSERT_EQ(tc.values().ReadViewLines.Size(), 1);
         },
         true},
        {"cancelled write",
         [&] {
             range("0", "F");
             d.click(QStringLiteral("cmd_ISO14443B_Write"));
             duringNextPump(d.w, [&] { panel()->cancelButton()->click(); });
             panel()->writeButton()->click();
             ASSERT_EQ(tc.values().ReadViewLines.Size(), 1);
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open("SOLA-A");
        c.earlierRun();
        ASSERT_EQ(view()->isHidden(), !c.shown);
        ASSERT_FALSE(c.shown && view()->isEnabled()) << "the earlier run greys the view";

        range("0", "FF");  // past the 16 blocks
        b.recorder.clearJournal();
        const std::size_t messages = tc.ui.messages().size();
        tc.ui.expectMessage();
        d.click(QStringLiteral("cmd_ISO14443B_Read"));
        ASSERT_EQ(tc.ui.messages().size(), messages + 1);
        EXPECT_EQ(tc.ui.messages().back().text, core::kInvalidAddressText);
        EXPECT_TRUE(b.sent().empty());
        EXPECT_EQ(view()->isHidden(), !c.shown);
        EXPECT_TRUE(view()->isEnabled());
        EXPECT_TRUE(commandsOn());
        EXPECT_FALSE(tc.ui.isBusy());
    }
}

TEST_F(MemoryViewTest, AWriteFillsOneBlockWithTheFillByteAndShowsItsResult) {
    open("SOLA-A");
    range("3", "3");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    EXPECT_FALSE(panel()->isHidden());
    EXPECT_EQ(panel()->writeButton()->text(), "Write Single Block");
    EXPECT_EQ(panel()->row(0)->displayText(), "00 00 00 00 ");
    EXPECT_TRUE(panel()->row(1)->isHidden());
    EXPECT_FALSE(commandsOn());
    EXPECT_FALSE(view()->isEnabled());

    panel()->fillBox()->setText(QStringLiteral("A5"));
    EXPECT_EQ(panel()->row(0)->displayText(), "A5 A5 A5 A5 ");
    panel()->writeButton()->click();
    ASSERT_FALSE(b.sent().empty());
    EXPECT_EQ(b.sent().front(), "0903A5A5A5A5");
    EXPECT_EQ(lines(), (QStringList{"0003   " + iso14443b::kWriteOkLine}));
    EXPECT_TRUE(panel()->isHidden());
    EXPECT_FALSE(view()->isHidden());
    EXPECT_FALSE(view()->isEnabled());
    EXPECT_TRUE(commandsOn());

    // What was written reads back.
    b.recorder.clearJournal();
    d.click(QStringLiteral("cmd_ISO14443B_Read"));
    EXPECT_EQ(lines(), (QStringList{"0003   A5 A5 A5 A5 "}));
}

TEST_F(MemoryViewTest, TheTagWritesSilentlyAndTheReadBackTellsWhetherTheBlockTookTheData) {
    // A SOLA-B product, but a tag of 16 blocks: block 20 is beyond its memory.
    b.setTags({{"sola", {}}});
    ASSERT_NE(d.select("SOLA-B"), nullptr);
    d.click(QStringLiteral("cmd_ISO14443B_Anticollision"));
    range("5", "5");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    panel()->fillBox()->setText(QStringLiteral("3C"));
    b.recorder.clearJournal();
    panel()->writeButton()->click();
    auto log = d.log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2].title, "WRITE");
    EXPECT_EQ(log[log.size() - 2].answer, "8700") << "the tag stays silent";
    EXPECT_EQ(log.back().title, "READ");
    EXPECT_EQ(b.sent(), (std::vector<std::string>{"09053C3C3C3C", "0805"}));
    EXPECT_EQ(lines(), (QStringList{"0005   " + iso14443b::kWriteOkLine}));

    range("20", "20");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    panel()->fillBox()->setText(QStringLiteral("3C"));
    panel()->writeButton()->click();
    EXPECT_EQ(lines(), (QStringList{"0020   " + iso14443b::kWriteErrorLine}));
}

TEST_F(MemoryViewTest, AWriteOverAWrappingRangeWritesEveryBlockInOrder) {
    open("SOLA-B");
    range("7E", "2");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    panel()->writeButton()->click();
    std::vector<std::string> writes;
    for (const std::string& r : b.sent()) {
        if (r.rfind("09", 0) == 0) writes.push_back(r.substr(0, 4));
    }
    EXPECT_EQ(writes, (std::vector<std::string>{"097E", "097F", "0900", "0901", "0902"}));
    const QStringList l = lines();
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l.front(), "007E   " + iso14443b::kWriteOkLine);
    EXPECT_EQ(l.back(), "0002   " + iso14443b::kWriteOkLine);
}

TEST_F(MemoryViewTest, CancelEndsTheWriteAfterTheBlockUnderWay) {
    open("SOLA-A");
    range("0", "F");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    duringNextPump(d.w, [&] {
        EXPECT_TRUE(tc.ui.isBusy());
        panel()->cancelButton()->click();
    });
    panel()->writeButton()->click();
    EXPECT_EQ(tc.values().ReadViewLines.Size(), 1);
    EXPECT_EQ(view()->count(), 0);
    EXPECT_FALSE(view()->isEnabled());
    EXPECT_TRUE(panel()->isHidden());
    EXPECT_TRUE(commandsOn());
    EXPECT_FALSE(tc.values().PageWritePending);
    EXPECT_FALSE(tc.ui.isBusy());
}

// The window is built anew when it opens again: its panel has forgotten the fill byte and
// the rows it filled.
TEST_F(MemoryViewTest, TheFillBoxStartsEmptyInAWindowOpenedAgain) {
    open("SOLA-A");
    range("3", "3");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    panel()->fillBox()->setText(QStringLiteral("A5"));
    ASSERT_EQ(panel()->row(0)->displayText(), "A5 A5 A5 A5 ");

    d.w->close();  // with the panel open
    open("SOLA-A");
    EXPECT_EQ(panel()->fillBox()->displayText(), widgets::kEmptyFill);
    range("3", "3");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    EXPECT_EQ(panel()->fillBox()->displayText(), widgets::kEmptyFill);
    EXPECT_EQ(panel()->row(0)->displayText(), "00 00 00 00 ");
    panel()->writeButton()->click();
    ASSERT_FALSE(b.sent().empty());
    EXPECT_EQ(b.sent().front(), "090300000000");
}

// While the panel is open the address boxes are off with the other commands: set
// directly here, a "to" past the memory stands for an address that went bad. The refusal
// gives back the commands, to correct the address, and the panel's rows and Write, to
// correct the data or write again.
TEST_F(MemoryViewTest, AWriteRefusedForItsAddressGivesThePanelsRowsBack) {
    open("SOLA-A");
    range("3", "3");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    d.get<QLineEdit>(QStringLiteral("txtUserAddress_1"))->setText(QStringLiteral("FF"));
    tc.ui.expectMessage();
    panel()->writeButton()->click();
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_EQ(tc.ui.messages()[0].text, core::kInvalidAddressText);
    EXPECT_TRUE(b.sent().empty());
    EXPECT_FALSE(panel()->isHidden());
    EXPECT_TRUE(panel()->row(0)->isEnabled());
    EXPECT_TRUE(panel()->writeButton()->isEnabled());
    EXPECT_TRUE(commandsOn());
    EXPECT_FALSE(tc.ui.isBusy());

    range("3", "3");
    panel()->row(0)->setText(QStringLiteral("5A 5A 5A 5A "));
    panel()->writeButton()->click();
    ASSERT_FALSE(b.sent().empty());
    EXPECT_EQ(b.sent().front(), "09035A5A5A5A");
    EXPECT_EQ(lines(), (QStringList{"0003   " + iso14443b::kWriteOkLine}));
    EXPECT_TRUE(panel()->isHidden());
}

TEST_F(MemoryViewTest, HalfTypedPanelDataWritesNothingAndKeepsThePanelOpen) {
    open("SOLA-A");
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    panel()->row(0)->setText(QStringLiteral("A"));
    tc.ui.expectMessage();
    panel()->writeButton()->click();
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_EQ(tc.ui.messages()[0].text, core::kInvalidDataText);
    EXPECT_TRUE(b.sent().empty());
    EXPECT_FALSE(panel()->isHidden());
    EXPECT_TRUE(panel()->row(0)->isEnabled());
    EXPECT_TRUE(panel()->writeButton()->isEnabled());
    EXPECT_FALSE(commandsOn());
    panel()->cancelButton()->click();
    EXPECT_TRUE(commandsOn());
}

// The window's command controls, which every block run switches off and on together.
const char* const kCommandControls[] = {"cmd_ISO14443B_Initiate",
                                        "cmd_ISO14443B_Select",
                                        "cmd_ISO14443B_ResetToInventory",
                                        "cmd_ISO14443B_SlotMarker",
                                        "cmd_ISO14443B_Pcall16",
                                        "cmd_ISO14443B_Completion",
                                        "cmd_ISO14443B_GetUID",
                                        "txt_ISO14443B_ChipID",
                                        "txt_ISO14443B_SN_0",
                                        "txt_ISO14443B_SN_1",
                                        "txt_ISO14443B_SN_2",
                                        "txt_ISO14443B_SN_3",
                                        "txt_ISO14443B_UID",
                                        "cmd_ISO14443B_Read",
                                        "cmd_ISO14443B_Write",
                                        "txtUserAddress_0",
                                        "txtUserAddress_1",
                                        "cmd_ISO14443B_SendFrame",
                                        "txt_ISO14443B_AnyFrame",
                                        "cmdSaveLog",
                                        "cmdClearLog"};

TEST_F(MemoryViewTest, ABlockRunSwitchesEveryCommandOffAndARefusedWriteSetUpSwitchesThemOn) {
    open("SOLA-A");
    range("0", "1");
    // The names of the command controls enabled now; the anticollision is never one of
    // them and stays usable.
    const auto enabledCommands = [&] {
        QStringList on;
        for (const char* name : kCommandControls) {
            if (d.get<QWidget>(QLatin1String(name))->isEnabled()) on << QLatin1String(name);
        }
        EXPECT_TRUE(d.get<QWidget>(QStringLiteral("cmd_ISO14443B_Anticollision"))->isEnabled());
        EXPECT_TRUE(d.get<QWidget>(QStringLiteral("chkAnticollisionLoop"))->isEnabled());
        return on;
    };
    QStringList all;
    for (const char* name : kCommandControls) all << QLatin1String(name);
    ASSERT_EQ(enabledCommands(), all);

    QStringList duringRead = all;
    duringNextPump(d.w, [&] { duringRead = enabledCommands(); });
    d.click(QStringLiteral("cmd_ISO14443B_Read"));
    EXPECT_EQ(duringRead, QStringList{});
    EXPECT_EQ(enabledCommands(), all);

    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    EXPECT_EQ(enabledCommands(), QStringList{}) << "while the panel is open";
    QStringList duringWrite = all;
    duringNextPump(d.w, [&] { duringWrite = enabledCommands(); });
    panel()->writeButton()->click();
    EXPECT_EQ(duringWrite, QStringList{});
    EXPECT_EQ(enabledCommands(), all);

    // "to" past the memory: the set-up says so, opens nothing and gives every command back.
    range("0", "FF");
    tc.ui.expectMessage();
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_EQ(tc.ui.messages()[0].text, core::kInvalidAddressText);
    EXPECT_TRUE(panel()->isHidden());
    EXPECT_EQ(enabledCommands(), all);
}

TEST_F(MemoryViewTest, TheAnticollisionStillRunsInsideARead) {
    open("SOLA-A");
    range("0", "1");
    duringNextPump(d.w, [&] { d.click(QStringLiteral("cmd_ISO14443B_Anticollision")); });
    d.click(QStringLiteral("cmd_ISO14443B_Read"));
    // Read 0, the anticollision's 20 exchanges (it selects the tag again), read 1.
    const auto sent = b.sent();
    ASSERT_EQ(sent.size(), 22u);
    EXPECT_EQ(sent.front(), "0800");
    EXPECT_EQ(sent.back(), "0801");
    EXPECT_EQ(lines().back(), "0001   " + freshBlock(1));
}

// A silent write: the tag writes and does not answer; the block read back decides.
struct SilentWriteCase {
    const char* name;
    reader::LibraryStatus writeStatus;
    const char* writeAnswer;
    const char* readBack;  // nullptr: no read-back expected
    const QString& line;
};

void PrintTo(const SilentWriteCase& c, std::ostream* os) { *os << c.name; }

class SilentWrite : public ::testing::TestWithParam<SilentWriteCase> {
  protected:
    testsupport::TestContext tc;
    Driver d{tc};
};

TEST_P(SilentWrite, TheReadBackDecidesTheResultLine) {
    const SilentWriteCase& c = GetParam();
    ASSERT_NE(d.select("SOLA-A"), nullptr);
    d.type(QStringLiteral("txtUserAddress_0"), QStringLiteral("3"));
    d.type(QStringLiteral("txtUserAddress_1"), QStringLiteral("3"));
    d.click(QStringLiteral("cmd_ISO14443B_Write"));
    auto* panel = d.get<widgets::PageWritePanel>(QStringLiteral("fraPageWrite"));
    panel->fillBox()->setText(QStringLiteral("A5"));
    tc.scripted.clearCalls();
    tc.scripted.queue(ReaderFunction::SendReceive, c.writeStatus, c.writeAnswer);
    if (c.readBack) tc.scripted.queue(ReaderFunction::SendReceive, 0, c.readBack);
    panel->writeButton()->click();

    std::vector<std::string> expected{"0903A5A5A5A5"};
    if (c.readBack) expected.push_back("0803");
    EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::SendReceive), expected);
    EXPECT_EQ(d.log().back().title, c.readBack ? "READ" : "WRITE");
    EXPECT_EQ(tc.values().ReadViewLines.Contenu(), QStringList{c.line});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SilentWrite,
    ::testing::Values(
        SilentWriteCase{"BlockHoldsTheData", 0, "8700", "8007A5A5A5A5ABCD00",
                        iso14443b::kWriteOkLine},
        SilentWriteCase{"BlockHoldsOtherData", 0, "8700", "800700A5A5A5ABCD00",
                        iso14443b::kWriteErrorLine},
        SilentWriteCase{"ReadBackFails", 0, "8700", "8700", iso14443b::kWriteErrorLine},
        SilentWriteCase{"Confirmed", 0, "8007A5A5A5A5ABCD00", nullptr, iso14443b::kWriteOkLine},
        // A write the transceiver saw fail, or a failed call, is not read back.
        SilentWriteCase{"ReceiveError", 0, "8600", nullptr, iso14443b::kWriteErrorLine},
        SilentWriteCase{"FailedCall", 1, "8700", nullptr, iso14443b::kWriteErrorLine}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
