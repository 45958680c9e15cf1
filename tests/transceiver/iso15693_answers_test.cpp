#include "transceiver/iso15693_answers.hpp"

#include <gtest/gtest.h>

namespace {

using transceiver::CrcVerdict;
using transceiver::Iso15693Inventory;

// The inventory frame of a tag with UID E002030405060708 (flags, DSFID, UID as received)
// and its CRC, low byte first.
constexpr char kFrame[] = "000008070605040302E0";
constexpr char kCrc[] = "44FE";
std::string inventoryAnswer(const std::string& crc, const std::string& status) {
    return std::string("800D") + kFrame + crc + status;
}

TEST(Iso15693Answers, InventoryCountUidAndVerdict) {
    const struct {
        const char* what;
        int status;
        std::string answer;
        int count;
        const char* uid;
        const char* verdict;
    } cases[] = {
        {"clean frame: no CRC computed", 0, inventoryAnswer(kCrc, "00"), 1, "E002030405060708", ""},
        {"status byte 00 trusts even a wrong CRC", 0, inventoryAnswer("0000", "00"), 1,
         "E002030405060708", ""},
        {"status 01, CRC verifies", 0, inventoryAnswer(kCrc, "01"), 1, "E002030405060708",
         "  01 -> CRC OK"},
        {"status 02, CRC wrong: the computed CRC is named", 0, inventoryAnswer("44FF", "02"), 99,
         "", "  02 -> CRC HS (expected=44FE)"},
        {"CRC compared as text, case included", 0, inventoryAnswer("44fe", "01"), 99, "",
         "  01 -> CRC HS (expected=44FE)"},
        {"no tag", 0, "8700", 0, "", ""},
        {"library status not 0", 1, inventoryAnswer(kCrc, "00"), 0, "", ""},
        {"short frame code", 0, "9000", 0, "", ""},
        {"empty buffer", 0, "", 0, "", ""},
        {"blank buffer", 0, std::string(256, ' '), 0, "", ""},
        // An error response (flags 01, code 0F) is a frame, but it carries no UID.
        {"error response, L 5", 0,
         "800501"
         "0F"
         "5A2B"
         "00",
         0, "", ""},
        {"L 14: not an inventory answer", 0, "800E" + std::string(kFrame) + "11" + kCrc + "00", 0,
         "", ""},
        {"text cut before the status byte", 0, "800D" + std::string(kFrame) + kCrc, 0, "", ""},
        {"text cut inside the UID", 0, "800D00000807", 0, "", ""},
        {"length byte not hex", 0, "80ZZ" + std::string(kFrame) + kCrc + "00", 0, "", ""},
        {"L below 3", 0, "800200", 0, "", ""},
    };
    for (const auto& c : cases) {
        const Iso15693Inventory r = transceiver::decodeIso15693Inventory(c.status, c.answer);
        EXPECT_EQ(r.count, c.count) << c.what;
        EXPECT_EQ(r.uid, c.uid) << c.what;
        EXPECT_EQ(r.verdict, c.verdict) << c.what;
    }
}

TEST(Iso15693Answers, GeneralCheckGivesTheTagResponseOfAnyLength) {
    // READ SINGLE BLOCK answer: flags 00 and four data bytes, L 8, status byte 01.
    const std::string frame = "0011223344";
    const auto good = transceiver::checkIso15693Answer(0, "8008" + frame + "043E" + "01");
    EXPECT_TRUE(good.accepted);
    EXPECT_EQ(good.length, 8);
    EXPECT_EQ(good.statusByte, "01");
    EXPECT_EQ(good.crc, CrcVerdict::Ok);
    EXPECT_EQ(good.computedCrc, "043E");
    EXPECT_TRUE(good.hasResponse());
    EXPECT_EQ(good.tagResponse, frame);

    // L 3: the frame is only its CRC; accepted with an empty response.
    const auto empty = transceiver::checkIso15693Answer(0, "8003" + std::string("1234") + "00");
    EXPECT_TRUE(empty.accepted);
    EXPECT_TRUE(empty.hasResponse());
    EXPECT_EQ(empty.tagResponse, "");
    EXPECT_EQ(transceiver::crcVerdictText(empty), "");

    // A mismatch keeps no response.
    const auto bad = transceiver::checkIso15693Answer(0, "8008" + frame + "0000" + "01");
    EXPECT_FALSE(bad.hasResponse());
    EXPECT_EQ(bad.tagResponse, "");
}

TEST(Iso15693Answers, InventoryUidNeedsTheEightBytes) {
    EXPECT_EQ(transceiver::inventoryUid("0000"
                                        "0102030405060708"),
              "0807060504030201");
    EXPECT_EQ(transceiver::inventoryUid("0000"
                                        "01020304050607"),
              "");
}

}  // namespace
