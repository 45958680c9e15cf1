#include "iso14443b/answers.hpp"

#include <gtest/gtest.h>

#include "qstring_printer.hpp"

namespace {

using namespace iso14443b;

TEST(Iso14443bAnswers, OnlyAReceivedFrameWithStatusZeroIsGood) {
    const struct {
        reader::LibraryStatus status;
        const char* text;
        bool good;
        bool noTag;
    } cases[] = {
        {0, "80043744B500", true, false},
        {0, "8000", true, false},
        {0, "80043744B520", false, false},  // the transceiver's status byte reports an error
        {0, "8700", false, true},
        {0, "", false, false},
        {0, "    ", false, false},  // the blanks of a buffer nobody wrote
        // A failed call is never a success, whatever the buffer holds.
        {1, "80043744B500", false, false},
        {5, "80043744B500", false, false},
        {1, "8700", false, false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(isGoodAnswer(c.status, text), c.good) << c.status << ' ' << c.text;
        EXPECT_EQ(isNoTagAnswer(c.status, text), c.noTag) << c.status << ' ' << c.text;
    }
}

TEST(Iso14443bAnswers, BitBoxesSpellANumberMostSignificantFirst) {
    EXPECT_EQ(bitBoxesValue({"1", "0", "1"}), 5);
    EXPECT_EQ(bitBoxesValue({"0", "0", "0", "1"}), 1);
    EXPECT_EQ(bitBoxesValue({"1", "0", "0", "0"}), 8);
    EXPECT_EQ(bitBoxesValue({"1", "1", "1", "1"}), 15);
    EXPECT_EQ(bitBoxesValue({"", "1", ""}), 2) << "an emptied box counts as 0";
    EXPECT_EQ(bitBoxesValue({"3", "0", "0"}), 4) << "only the lowest bit of a box";
}

TEST(Iso14443bAnswers, AtqbLabelsCarryTheirRunTimePrefixes) {
    const AtqbLabels bare = atqbPrefixes();
    EXPECT_EQ(bare.answer, "Answer : ");
    EXPECT_EQ(bare.firstByte, "First Byte : ");
    EXPECT_EQ(bare.pupi, "Pupi : ");
    EXPECT_EQ(bare.applicationData, "Application data : ");
    EXPECT_EQ(bare.protocolInfo, "Protocol Info : ");
    EXPECT_EQ(bare.crc, "Crc : ");

    const AtqbLabels l = atqbLabels(QStringLiteral("800F50A1B2C3D411223344718500AAAA00"));
    EXPECT_EQ(l.answer, "Answer : 50A1B2C3D411223344718500AAAA00");
    EXPECT_EQ(l.pupi, "Pupi : A1B2C3D4");
    EXPECT_EQ(l.protocolInfo, "Protocol Info : 718500");
    EXPECT_EQ(l.crc, "Crc : AAAA");
}

TEST(Iso14443bAnswers, AttribAnswerSplitsMbliAndCid) {
    const AttribLabels l = attribLabels(QStringLiteral("800412ABCD00"));
    EXPECT_EQ(l.mbliCid, "MBLI(4 bits) CID(4 bits) : 1 2");
    EXPECT_EQ(l.crc, "CRC : ABCD");
    const AttribLabels shortAnswer = attribLabels(QStringLiteral("8000"));
    EXPECT_EQ(shortAnswer.mbliCid, "MBLI(4 bits) CID(4 bits) :  ");
    EXPECT_EQ(shortAnswer.crc, "CRC : ");
}

TEST(Iso14443bAnswers, SlotsFillTheGridColumnByColumn) {
    const struct {
        int slot, row, column;
    } cases[] = {{0, 0, 0}, {1, 1, 0}, {3, 3, 0}, {4, 0, 1}, {7, 3, 1}, {13, 1, 3}, {15, 3, 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(slotRow(c.slot), c.row) << c.slot;
        EXPECT_EQ(slotColumn(c.slot), c.column) << c.slot;
    }
    EXPECT_EQ(slotCellText(0), "0: ");
    EXPECT_EQ(slotCellText(15), "15: ");
    EXPECT_EQ(slotCellText(7, QStringLiteral("37")), "7:  ChipID = 37 ");
}

TEST(Iso14443bAnswers, AddressWidthFollowsTheByteCount) {
    const struct {
        std::int32_t bytes;
        int width;
    } cases[] = {{2, 1},
                 {16, 1},
                 {23, 1},
                 {24, 2},
                 {64, 2},
                 {256, 2},
                 {363, 2},
                 {364, 3},
                 {512, 3},
                 {5793, 3},
                 {5794, 4},
                 {8192, 4},
                 // No logarithm for these: the boxes keep their design width.
                 {1, 2},
                 {0, 2},
                 {-8, 2}};
    for (const auto& c : cases) EXPECT_EQ(addressWidth(c.bytes), c.width) << c.bytes;
}

TEST(Iso14443bAnswers, BlockCountWrapsAfterTheHighestAddress) {
    EXPECT_EQ(blockCount(0x0E, 0x02, 0x0F), 5);
    EXPECT_EQ(blockCount(3, 3, 0x0F), 1);
    EXPECT_EQ(blockCount(0x00, 0x13, 0x7F), 20);
    EXPECT_EQ(blockCount(0x0C, 0x0F, 0x0F), 4);
    EXPECT_EQ(blockCount(0x01, 0x00, 0x0F), 16);
}

TEST(Iso14443bAnswers, ReadLinesHoldThePairsTheAnswerHas) {
    EXPECT_EQ(blockLine(QStringLiteral("800711223344AD0D00"), 4), "11 22 33 44 ");
    EXPECT_EQ(blockLine(QStringLiteral("800711223344AD0D00"), 2), "11 22 ");
    EXPECT_EQ(blockLine(QStringLiteral("80031100"), 4), "11 00 ");
    EXPECT_EQ(blockData(QStringLiteral("800711223344AD0D00"), 4), "11223344");
}

TEST(Iso14443bAnswers, ReqcLabelsShowIdmAndPmm) {
    const ReqcLabels l =
        reqcLabels(QStringLiteral("80151201010203040506070811121314151617189EC600"));
    EXPECT_EQ(l.answer, "Answer : 12010102030405060708111213141516");
    EXPECT_EQ(l.manufId, "Manuf ID : 0102030405060708");
    EXPECT_EQ(l.manufParameter, "Manuf Parameter : 1112131415161718");
    const ReqcLabels shortAnswer = reqcLabels(QStringLiteral("800412010102"));
    EXPECT_EQ(shortAnswer.answer, "Answer : 12010102");
    EXPECT_EQ(shortAnswer.manufId, "Manuf ID : ");
    EXPECT_EQ(shortAnswer.manufParameter, "Manuf Parameter : ");
}

}  // namespace
