#include "console/protocol_select_model.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using console::ProtocolSelectModel;

namespace {

std::string frameText(const ProtocolSelectModel& m) {
    std::string out;
    for (int b = 0; b < 6; ++b) {
        if (!out.empty()) out += ' ';
        out += m.frameVisible(b) ? m.frame(b) : "--";
    }
    return out;
}

std::string bitsText(const ProtocolSelectModel& m) {
    std::string out;
    for (int b = 7; b >= 0; --b) out += m.bits0()[static_cast<std::size_t>(b)];
    return out;
}

}  // namespace

TEST(ProtocolSelectModel, FirstChoiceOfEachProtocolAfterLoad) {
    struct Case {
        int option;
        const char* frame;  // "--" marks a hidden box
        const char* request;
        int paramIndex;
    };
    const Case cases[] = {
        {0, "02 02 00 00 -- --", "01 02020000", 99}, {1, "02 02 01 0D -- --", "01 0202010D", 1},
        {2, "02 02 02 00 -- --", "01 02020200", 2},  {3, "02 02 03 01 -- --", "01 02020301", 3},
        {4, "02 02 04 51 -- --", "01 02020451", 4},  {5, "02 02 05 00 -- --", "01 02020500", 5},
        {6, "02 02 05 01 -- --", "01 02020501", 6},  {7, "02 02 05 01 -- --", "01 02020501", 7},
    };
    for (const auto& c : cases) {
        ProtocolSelectModel m;
        EXPECT_FALSE(m.sendVisible());
        m.chooseProtocol(c.option);
        EXPECT_TRUE(m.sendVisible());
        EXPECT_EQ(frameText(m), c.frame) << c.option;
        EXPECT_EQ(m.requestText(), c.request) << c.option;
        EXPECT_EQ(m.paramIndex(), c.paramIndex) << c.option;
        EXPECT_EQ(m.byte0Text(), m.frame(3)) << c.option;
    }
    ProtocolSelectModel m;
    m.chooseProtocol(1);
    EXPECT_EQ(bitsText(m), "00001101");
    EXPECT_EQ(m.itemText("cboAppendCRC"), " 1 : Append CRC ");
}

TEST(ProtocolSelectModel, ListChoicesWriteTheirFieldBitsAndTheByte) {
    struct Choice {
        const char* list;
        int item;
    };
    struct Case {
        int option;
        std::vector<Choice> choices;
        const char* bits;
        const char* byte0;
    };
    const std::vector<Case> cases = {
        {1, {{"cboISO15693reader_DataRate", 2}}, "00101101", "2D"},  // " 10 : 6k "
        {1, {{"cboISO15693reader_DataRate", 1}}, "00011101", "1D"},  // " 01 : 52k "
        {1,
         {{"cboISO15693reader_DataRate", 3}, {"cboISO15693reader_Subcarrier", 1}},
         "00111111",
         "3F"},
        {1,
         {{"cboISO15693reader_Delay", 0}, {"cboISO15693reader_Modulation", 0}},
         "00000001",
         "01"},
        {2,
         {{"cboISO14443Areader_TransDataRate", 1}, {"cboISO14443Areader_RecepDataRate", 3}},
         "01110000",
         "70"},
        {3, {{"cboISO14443Breader_TransDataRate", 3}, {"cboAppendCRC", 0}}, "11000000", "C0"},
        {4, {{"cboISO18092reader_TransDataRate", 0}}, "00010001", "11"},  // " 00 : RFU "
        {4, {{"cboISO18092reader_RecepDataRate", 2}}, "01100001", "61"},  // " 10 : 424k "
        {5, {{"cboISO14443Bcard_Clk", 1}}, "00000010", "02"},             // ClkRec sets bit 1
        {5,
         {{"cboISO14443Bcard_Field", 1}, {"cboISO14443Bcard_TransDataRate", 3}},
         "11001000",
         "C8"},
        {6, {{"cboISO14443Bcard_Clk", 1}, {"cboISO14443Bcard_Clk", 0}}, "00000001", "01"},
        {7, {{"cboISO18092card_Clk", 1}, {"cboISO18092card_Field", 1}}, "00001011", "0B"},
    };
    for (const auto& c : cases) {
        ProtocolSelectModel m;
        m.chooseProtocol(c.option);
        for (const auto& ch : c.choices) m.chooseItem(ch.list, ch.item);
        EXPECT_EQ(bitsText(m), c.bits) << c.option << " " << c.choices.front().list;
        EXPECT_EQ(m.byte0Text(), c.byte0) << c.option << " " << c.choices.front().list;
        EXPECT_EQ(m.frame(3), c.byte0);
    }
}

TEST(ProtocolSelectModel, FelicaByteOneFollowsItsListsAndTheSlotCounterBox) {
    ProtocolSelectModel m;
    m.chooseProtocol(4);
    // The load ran the lists' handlers: " 1 : search for the reply " is bit 4.
    EXPECT_EQ(m.byte1Text(), "10");
    EXPECT_FALSE(m.frameVisible(4));

    m.setSlotCounter(true);
    EXPECT_EQ(frameText(m), "02 03 04 51 10 --");
    EXPECT_EQ(m.requestText(), "01 0203045110");

    m.chooseItem("cboISO18092reader_SlotCounter", 15);  // " F : 16 slots "
    EXPECT_EQ(m.byte1Text(), "1F");
    EXPECT_EQ(m.frame(4), "1F");
    m.chooseItem("cboISO18092reader_SlotCounter", 0);
    m.chooseItem("cboISO18092reader_Disregard_SlotCounter", 0);
    EXPECT_EQ(m.frame(4), "00");

    m.setSlotCounter(false);
    EXPECT_EQ(m.requestText(), "01 02020451");
    EXPECT_EQ(m.frame(4), "00");  // kept for the next tick
}

TEST(ProtocolSelectModel, OptionalBytesOneAndTwo) {
    ProtocolSelectModel m;
    m.chooseProtocol(2);
    m.setByte12Optional(true);
    EXPECT_EQ(frameText(m), "02 04 02 00 00 00");
    m.leaveByte12Box(0, "1");
    m.leaveByte12Box(1, "80");
    EXPECT_EQ(m.requestText(), "01 020402000180");

    m.setByte12Optional(false);
    EXPECT_EQ(frameText(m), "02 02 02 00 -- --");
    EXPECT_EQ(m.requestText(), "01 02020200");

    // The tick is kept across protocols: ISO14443-B comes up with both bytes.
    m.setByte12Optional(true);
    m.chooseProtocol(3);
    EXPECT_EQ(m.requestText(), "01 020403010180");
    m.chooseProtocol(1);
    EXPECT_EQ(frameText(m), "02 02 01 0D -- --");
}

TEST(ProtocolSelectModel, BitsAreSavedPerProtocolAcrossSwitches) {
    ProtocolSelectModel m;
    m.chooseProtocol(1);
    m.leaveBitBox(0, 5, "1");
    EXPECT_EQ(m.byte0Text(), "2D");
    m.chooseProtocol(3);
    EXPECT_EQ(m.byte0Text(), "01");
    m.chooseProtocol(1);
    EXPECT_EQ(m.byte0Text(), "2D");
    EXPECT_EQ(m.frame(3), "2D");

    // The two card options share their lists but not their bits.
    m.chooseProtocol(5);
    m.chooseItem("cboISO14443Bcard_Field", 1);
    EXPECT_EQ(m.byte0Text(), "08");
    m.chooseProtocol(6);
    EXPECT_EQ(m.byte0Text(), "01");
    EXPECT_EQ(m.itemIndex("cboISO14443Bcard_Field"), 1);
    m.chooseProtocol(5);
    EXPECT_EQ(m.byte0Text(), "08");

    // Field OFF never keeps what was typed under it.
    m.chooseProtocol(0);
    m.leaveBitBox(0, 0, "1");
    EXPECT_EQ(m.byte0Text(), "01");
    m.chooseProtocol(1);
    m.chooseProtocol(0);
    EXPECT_EQ(m.byte0Text(), "00");

    // A fresh panel starts from the defaults again.
    ProtocolSelectModel fresh;
    fresh.chooseProtocol(4);
    EXPECT_EQ(fresh.byte0Text(), "51");
}

TEST(ProtocolSelectModel, AppendCrcListFollowsTheRestoredBitOnly) {
    ProtocolSelectModel m;
    m.chooseProtocol(1);
    m.chooseItem("cboISO15693reader_DataRate", 2);
    m.leaveBitBox(0, 0, "0");
    m.chooseProtocol(3);
    EXPECT_EQ(m.itemText("cboAppendCRC"), " 1 : Append CRC ");
    m.chooseProtocol(1);
    EXPECT_EQ(m.itemText("cboAppendCRC"), " 0 : No Append CRC ");
    EXPECT_EQ(m.itemText("cboISO15693reader_DataRate"), " 10 : 6k ");
}

TEST(ProtocolSelectModel, LeaveRulesOfTheEntryBoxes) {
    ProtocolSelectModel m;
    m.chooseProtocol(4);

    m.leaveBitBox(0, 3, "");  // an emptied bit box reads 0
    EXPECT_EQ(m.bits0()[3], "0");
    m.leaveBitBox(0, 1, "1");
    EXPECT_EQ(m.byte0Text(), "53");

    // A typed byte stands until the bits are formed again.
    m.leaveByte0Box("7f");
    EXPECT_EQ(m.byte0Text(), "7F");
    EXPECT_EQ(m.frame(3), "7F");
    m.chooseItem("cboAppendCRC", 1);
    EXPECT_EQ(m.frame(3), "53");

    // Frame box 4 feeds the optional byte 1 whichever protocol is shown.
    m.leaveFrameBox(4, "a");
    EXPECT_EQ(m.frame(4), "0A");
    EXPECT_EQ(m.byte12Text(0), "0A");
    m.leaveFrameBox(3, "1ff");
    EXPECT_EQ(m.frame(3), "FF");

    // An empty parameter box stays empty and shortens the frame; it is copied nowhere, so
    // the optional byte keeps the last value typed.
    m.leaveFrameBox(3, "");
    EXPECT_EQ(m.requestText(), "01 020204");
    m.leaveFrameBox(4, "");
    EXPECT_EQ(m.frame(4), "");
    EXPECT_EQ(m.byte12Text(0), "0A");

    m.leaveByte1Box("3");
    EXPECT_EQ(m.frame(4), "03");
}

TEST(ProtocolSelectModel, ATypedBitFormsItsByteAndFrameAtOnce) {
    ProtocolSelectModel m;
    m.chooseProtocol(4);
    m.setSlotCounter(true);
    ASSERT_EQ(m.frame(4), "10");  // " 1 : search for the reply "

    m.typeBitBox(1, 2, "1");
    EXPECT_EQ(m.byte1Text(), "14");
    EXPECT_EQ(m.requestText(), "01 0203045114");
    m.typeBitBox(0, 1, "1");
    EXPECT_EQ(m.byte0Text(), "53");
    EXPECT_EQ(m.requestText(), "01 0203045314");

    // A box emptied while typing reads 0, and is kept as "0" when the protocol changes.
    m.typeBitBox(0, 0, "");
    EXPECT_EQ(m.frame(3), "52");
    m.chooseProtocol(1);
    m.chooseProtocol(4);
    EXPECT_EQ(bitsText(m), "01010010");

    // Pasted text that is not a bit changes nothing, typed or left.
    for (const char* bad : {"2", "10", "x"}) {
        m.typeBitBox(1, 4, bad);
        m.leaveBitBox(1, 4, bad);
        EXPECT_EQ(m.frame(4), "14") << bad;
    }
}
