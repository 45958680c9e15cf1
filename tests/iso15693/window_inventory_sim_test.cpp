#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "simboard/board_config.hpp"
#include "window_fixture.hpp"

namespace iso15693test {
namespace {

using reader::ReaderFunction;

// The default antenna's ISO15693 tag.
const QString kDefaultUid = QStringLiteral("E002030405060708");

using InventorySimTest = SimWindowTest;

TEST_F(InventorySimTest, InventoryListsTheOneTagAndALoopRepeatsUntilUnticked) {
    open();
    click(QStringLiteral("cmdInventory"));
    EXPECT_EQ(items(QStringLiteral("lstTransponderUID")),
              (QStringList{"\tUID\t\t\tDSFID", "", " 00\tE002030405060708\t\t00"}));
    EXPECT_EQ(sentToBoard(), std::vector<std::string>{"260100"});

    // "Inventory loop": the same request pass after pass while the box stays ticked.
    recorder.clearJournal();
    tick(QStringLiteral("chkLoop"));
    auto* loop = get<QCheckBox>(QStringLiteral("chkLoop"));
    auto* inventoryButton = get<QPushButton>(QStringLiteral("cmdInventory"));
    testsupport::LoopBound bound(w, 5);
    // Unticked during the fifth pass: the loop ends after it.
    hook.afterSendReceive = [&](int n) {
        if (!withinBound(bound, loop)) return;
        EXPECT_FALSE(inventoryButton->isEnabled());
        if (n == 5) loop->setChecked(false);
    };
    hook.sendReceives = 0;
    inventoryButton->click();
    EXPECT_EQ(sentToBoard().size(), 5u);
    EXPECT_TRUE(inventoryButton->isEnabled());  // the controls are back after the loop
}

class ThreeTagsTest : public SimWindowTest {
  protected:
    static std::unique_ptr<simboard::SimulatedBoard> threeTags() {
        simboard::BoardConfig config;
        config.tags = std::vector<simboard::TagSpec>{
            {"iso15693", {{"uid", "E002000000000010"}, {"dsfid", "01"}}},
            {"iso15693", {{"uid", "E002000000000021"}, {"dsfid", "02"}}},
            {"iso15693", {{"uid", "E002000000000032"}, {"dsfid", "03"}}},
        };
        return std::make_unique<simboard::SimulatedBoard>(config);
    }
    ThreeTagsTest() : SimWindowTest(threeTags()) {}

    QStringList tagLines() {
        QStringList lines = items(QStringLiteral("lstTransponderUID")).mid(2);
        return lines;
    }
};

TEST_F(ThreeTagsTest, OneSlotCollidesSixteenSlotsAndTheBoardAnticollisionFindThem) {
    open();
    // One slot: the three answers collide and the CRC check rejects what is heard.
    click(QStringLiteral("cmdInventory"));
    EXPECT_EQ(tagLines(), QStringList{"No detected answer"});
    EXPECT_TRUE(log().contains(QStringLiteral(" -> CRC HS (expected=")));

    // Sixteen slots: one request is slot 0, where only the first tag answers.
    tick(QStringLiteral("optInventorySlot_1"));
    click(QStringLiteral("cmdInventory"));
    EXPECT_EQ(sentToBoard().back(), "060100");
    EXPECT_EQ(tagLines(), QStringList{" 00\tE002000000000010\t\t01"});

    // The board's anticollision lists all three, one slot or sixteen.
    for (const char* slotOption : {"optInventorySlot_1", "optInventorySlot_0"}) {
        tick(QLatin1String(slotOption));
        recorder.clearJournal();
        click(QStringLiteral("cmdAntiCollisionIso15693"));
        const auto kv = recorder.callsTo(ReaderFunction::KvCmd);
        ASSERT_EQ(kv.size(), 1u);
        EXPECT_EQ(kv[0].request,
                  std::string_view(slotOption).back() == '1' ? "02A00106" : "02A00126");
        QStringList lines = tagLines();
        ASSERT_EQ(lines.size(), 3) << slotOption;
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral(" 01\t")));
        EXPECT_TRUE(lines[2].startsWith(QStringLiteral(" 03\t")));
        for (QString& l : lines) l = l.mid(4);
        std::sort(lines.begin(), lines.end());
        EXPECT_EQ(lines, (QStringList{"E002000000000010\t\t01", "E002000000000021\t\t02",
                                      "E002000000000032\t\t03"}));
    }
    EXPECT_TRUE(
        log().contains(QStringLiteral("\tANTICOLLISION\r\n\t\t\t>>> TQ73RNDLL_KVCMD, 02A00126")));
}

TEST_F(InventorySimTest, SelectThenACommandInSelectedMode) {
    open();
    tick(QStringLiteral("chk_Select_Address_flag_0"));
    click(QStringLiteral("cmdGetSystemInfo"));  // nothing is selected yet
    EXPECT_TRUE(items(QStringLiteral("lstSystemInfo")).isEmpty());

    type(QStringLiteral("txtTransponderUID"), kDefaultUid);
    tick(QStringLiteral("chk_Select_Address_flag_0"), false);
    click(QStringLiteral("cmdSelect"));
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));

    tick(QStringLiteral("chk_Select_Address_flag_0"));
    click(QStringLiteral("cmdGetSystemInfo"));
    const QStringList info = items(QStringLiteral("lstSystemInfo"));
    ASSERT_EQ(info.size(), 6);
    EXPECT_EQ(info[0], QStringLiteral(" UID : \t\tE002030405060708"));
    EXPECT_EQ(info[5], QStringLiteral(" IC reference : \t2Ah"));
    EXPECT_EQ(sentToBoard().back(), "122B");
}

TEST_F(InventorySimTest, StayQuietThenInventoryFindsNoTag) {
    open();
    click(QStringLiteral("cmdInventory"));
    auto* list = get<QListWidget>(QStringLiteral("lstTransponderUID"));
    emit list->itemClicked(list->item(2));
    EXPECT_EQ(tc.values().TransponderUID, QStringLiteral("08070605040302E0"));
    tick(QStringLiteral("chk_Select_Address_flag_1"));
    click(QStringLiteral("cmdStayQuiet"));
    EXPECT_EQ(sentToBoard().back(),
              "2202"
              "08070605040302E0");
    click(QStringLiteral("cmdInventory"));
    EXPECT_EQ(items(QStringLiteral("lstTransponderUID")).last(),
              QStringLiteral("No detected answer"));
    // An initiate wakes nothing either; a reset to ready addressed to it brings it back.
    click(QStringLiteral("cmdResetToReady"));
    EXPECT_EQ(label(QStringLiteral("lblWriteTime")), QStringLiteral("OK"));
    click(QStringLiteral("cmdInventory"));
    EXPECT_EQ(items(QStringLiteral("lstTransponderUID")).last(),
              QStringLiteral(" 00\tE002030405060708\t\t00"));
}

TEST_F(InventorySimTest, ClosingTheWindowDuringAnInventoryLoopEndsIt) {
    open();
    tick(QStringLiteral("chkLoop"));
    auto* loop = get<QCheckBox>(QStringLiteral("chkLoop"));
    testsupport::LoopBound bound(w, 3);
    hook.sendReceives = 0;
    hook.afterSendReceive = [&](int n) {
        if (!withinBound(bound, loop)) return;
        if (n == 3) tc.ctx->windows().close(core::WindowKind::Iso15693);
    };
    click(QStringLiteral("cmdInventory"));
    hook.afterSendReceive = nullptr;
    EXPECT_EQ(hook.sendReceives, 3);
    EXPECT_EQ(tc.ctx->windows().find(core::WindowKind::Iso15693), nullptr);
    w = nullptr;
}

}  // namespace
}  // namespace iso15693test
