// The cuts of the ISO14443-B, SOLA and FeliCa answers.

#include <gtest/gtest.h>

#include <string>

#include "transceiver/felica_answers.hpp"
#include "transceiver/iso14443b_answers.hpp"
#include "transceiver/sola_answers.hpp"

namespace {

TEST(SolaAnswers, SlotMarkersAndChipIds) {
    EXPECT_EQ(transceiver::solaSlotMarkerRequest(1), "16");
    EXPECT_EQ(transceiver::solaSlotMarkerRequest(7), "76");
    EXPECT_EQ(transceiver::solaSlotMarkerRequest(15), "F6");
    EXPECT_EQ(transceiver::solaSelectRequest("3C"), "0E3C");

    const struct {
        const char* answer;
        bool frame;
        std::optional<std::string> chipId;
    } cases[] = {
        {"80043C970B00", true, "3C"},
        {"80043C970B01", false, std::nullopt},  // transceiver error in the status byte
        {"8700", false, std::nullopt},
        {"8000", true, std::nullopt},     // "80…00" but no room for a chip ID
        {"80013C", false, std::nullopt},  // no status byte "00" at the end
        {"80013C00", true, "3C"},         // the shortest answer that holds an ID
        {"", false, std::nullopt},
        {"80", false, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::isSolaFrame(c.answer), c.frame) << c.answer;
        EXPECT_EQ(transceiver::solaChipId(c.answer), c.chipId) << c.answer;
    }
}

TEST(Iso14443bAnswers, ReqbRequestHitAndFrame) {
    EXPECT_EQ(transceiver::reqbRequest(), "0500F0");
    EXPECT_EQ(transceiver::reqbRequest("12", "08"), "051208");

    // Extended ATQB: 13 bytes of frame, then its CRC and the status byte, which the length
    // byte counts: 16 bytes, 36 characters in all.
    const std::string atqb = "50A1B2C3D4000000000071850000";
    const std::string answer = "8010" + atqb.substr(0, 26) + "ABCD" + "00";
    ASSERT_EQ(answer.size(), 36u);
    ASSERT_EQ(std::stoul(answer.substr(2, 2), nullptr, 16) * 2, answer.size() - 4)
        << "the length byte counts the bytes that follow it";
    EXPECT_TRUE(transceiver::isReqbHit(answer));
    EXPECT_EQ(transceiver::reqbFrame(answer), answer.substr(4, 26));
    EXPECT_EQ(transceiver::atqbPupi(answer), "A1B2C3D4");
    // The decoder finds the CRC from the length byte.
    EXPECT_EQ(transceiver::decodeAtqb(answer).crc, "ABCD");
    EXPECT_EQ(transceiver::decodeAtqb(answer).protocolInfo, atqb.substr(18, 8));

    EXPECT_FALSE(transceiver::isReqbHit("8010" + atqb.substr(0, 26) + "ABCD" + "20"));
    EXPECT_FALSE(transceiver::isReqbHit("8700"));
    EXPECT_TRUE(transceiver::isReqbHit("8000"));
    EXPECT_EQ(transceiver::reqbFrame("8003ABCDEF00"), "AB");
    EXPECT_EQ(transceiver::reqbFrame("80030BCD00"), "");
    EXPECT_EQ(transceiver::reqbFrame(""), "");
    EXPECT_EQ(transceiver::atqbPupi("80045012"), "");
}

TEST(FelicaAnswers, PollRequestAndCuts) {
    EXPECT_EQ(transceiver::reqcRequest(), "00FFFF0000");
    EXPECT_EQ(transceiver::reqcRequest("1A2B", "01", "00"), "001A2B0100");

    // LEN, response code 01, IDm, PMm: 18 bytes, then CRC and status: 46 characters.
    const std::string frame =
        "1201"
        "0102030405060708"
        "1112131415161718";
    const std::string answer = "8015" + frame + "ABCD" + "00";
    ASSERT_EQ(answer.size(), 46u);
    EXPECT_EQ(transceiver::felicaFrame(answer), frame);
    EXPECT_EQ(transceiver::felicaFrame(answer).size(), 36u);
    EXPECT_EQ(transceiver::felicaIdm(answer), "0102030405060708");
    EXPECT_EQ(transceiver::felicaPmm(answer), "1112131415161718");

    EXPECT_EQ(transceiver::felicaFrame("800312ABCD00"), "12") << "12 characters: one byte";
    EXPECT_EQ(transceiver::felicaFrame("8002ABCD00"), "") << "10 characters: nothing";
    EXPECT_EQ(transceiver::felicaFrame("80"), "");
    EXPECT_EQ(transceiver::felicaIdm("80031201"), "");
    EXPECT_EQ(transceiver::felicaPmm(answer.substr(0, 30)), "");
}

// Only a polling answer names a FeliCa tag; its status byte tells whether one tag sent it.
TEST(FelicaAnswers, PollingAnswerShape) {
    const std::string idmPmm =
        "0102030405060708"
        "1112131415161718";
    const struct {
        const char* what;
        std::string answer;
        bool shaped;
        const char* statusByte;
        bool severalTags;
    } cases[] = {
        {"one tag", "80151201" + idmPmm + "ABCD00", true, "00", false},
        {"with its system code", "80171401" + idmPmm + "1A2BABCD00", true, "00", false},
        {"several tags: status 20", "80151201" + idmPmm + "ABCD20", true, "20", true},
        {"an ISO15693 tag's error answer", "80050101160700", false, "", false},
        {"no IDm and PMm", "800312ABCD00", false, "", false},
        {"LEN not the frame's size", "80151301" + idmPmm + "ABCD00", false, "", false},
        {"response code not 01", "80151203" + idmPmm + "ABCD00", false, "", false},
        {"length byte not what follows", "80161201" + idmPmm + "ABCD00", false, "", false},
        {"cut", "80151201" + idmPmm.substr(0, 20), false, "", false},
        {"not hex", "80151201" + idmPmm + "ABCDZ0", false, "", false},
        {"no tag", "8700", false, "", false},
        {"a short frame", "9007", false, "", false},
        {"nothing", "", false, "", false},
    };
    for (const auto& c : cases) {
        const transceiver::FelicaPollingAnswer a = transceiver::decodeFelicaPolling(c.answer);
        EXPECT_EQ(a.shaped, c.shaped) << c.what;
        EXPECT_EQ(a.statusByte, c.statusByte) << c.what;
        EXPECT_EQ(a.severalTags(), c.severalTags) << c.what;
        EXPECT_EQ(a.frame, c.shaped ? transceiver::felicaFrame(c.answer) : "") << c.what;
    }
}

}  // namespace
