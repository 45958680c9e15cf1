// The ISO14443-B window's frames and the fields it shows of their answers.

#include <gtest/gtest.h>

#include "transceiver/iso14443b_answers.hpp"
#include "transceiver/sola_answers.hpp"

namespace {

using namespace transceiver;

TEST(Iso14443bFrames, PollingParamKeepsItsHighNibbleAndOnlyThreeBitsOfN) {
    const struct {
        const char* afi;
        int n;
        bool wakeUp;
        const char* request;
    } cases[] = {
        {"00", 0, false, "0500F0"},
        {"00", 0, true, "0500F8"},
        {"00", 5, false, "0500F5"},
        {"00", 5, true, "0500FD"},
        {"00", 7, true, "0500FF"},
        {"", 0, false, "05F0"},
        // A box read before its leave rule ran goes out as it stands.
        {"3", 1, false, "053F1"},
        // A stray high bit of N must not turn REQB into WUPB.
        {"00", 8 + 2, false, "0500F2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reqbRequest(c.afi, reqbParam(c.n, c.wakeUp)), c.request) << c.afi << ' ' << c.n;
    }
}

TEST(Iso14443bFrames, AttribJoinsThePupiAndTheFourParameterBytes) {
    EXPECT_EQ(attribRequest("A1B2C3D4", "00", "07", "01", "00"), "1DA1B2C3D400070100");
    EXPECT_EQ(attribRequest("", "", "", "", ""), "1D");
}

TEST(Iso14443bFrames, MemoryTagFrames) {
    const struct {
        std::string built;
        const char* expected;
    } cases[] = {
        {solaSlotMarkerRequest(0), "06"},
        {solaSlotMarkerRequest(8), "86"},
        {solaReadBlockRequest(0x0E), "080E"},
        {solaReadBlockRequest(0x7F), "087F"},
        {solaReadBlockRequest(0x100), "08100"},
        {solaWriteBlockRequest(3, "A5 A5 A5 A5 "), "0903A5A5A5A5"},
        {solaWriteBlockRequest(0x0F, "11223344"), "090F11223344"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);
}

TEST(Iso14443bFrames, AtqbFieldsFollowTheLengthByte) {
    // 12-byte ATQB (three bytes of protocol info), CRC AAAA, status 00: 34 characters.
    const std::string standard = "800F50A1B2C3D411223344718500AAAA00";
    // 13-byte extended ATQB (four bytes of protocol info): 36 characters.
    const std::string extended = "801050A1B2C3D41122334400718500BBBB00";
    const struct {
        std::string answer;
        AtqbFields expected;
    } cases[] = {
        {standard, {standard.substr(4), "50", "A1B2C3D4", "11223344", "718500", "AAAA"}},
        {extended, {extended.substr(4), "50", "A1B2C3D4", "11223344", "00718500", "BBBB"}},
        // Short of the protocol info: the fields show what there is, no CRC is made up.
        {"800550A1B200", {"50A1B200", "50", "A1B200", "", "", ""}},
        {"8000", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        const AtqbFields f = decodeAtqb(c.answer);
        EXPECT_EQ(f.answer, c.expected.answer) << c.answer;
        EXPECT_EQ(f.firstByte, c.expected.firstByte) << c.answer;
        EXPECT_EQ(f.pupi, c.expected.pupi) << c.answer;
        EXPECT_EQ(f.applicationData, c.expected.applicationData) << c.answer;
        EXPECT_EQ(f.protocolInfo, c.expected.protocolInfo) << c.answer;
        EXPECT_EQ(f.crc, c.expected.crc) << c.answer;
    }
}

TEST(Iso14443bFrames, GetUidShowsEightBytesReversedOrNothing) {
    EXPECT_EQ(solaUid("800B85766758493A2B1CABCD00"), "1C2B3A4958677685");
    // Seven UID bytes: the CRC would stand where the eighth byte belongs.
    EXPECT_EQ(solaUid("800A85766758493A2BABCD00"), std::nullopt);
    EXPECT_EQ(solaUid("800B85766758493A2B1CABCD01"), std::nullopt) << "status byte 01";
    EXPECT_EQ(solaUid("8700"), std::nullopt);
}

}  // namespace
