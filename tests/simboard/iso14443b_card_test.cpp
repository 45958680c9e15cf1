#include "simboard/iso14443b_card.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "simboard/hex.hpp"
#include "simboard/iso14443b_frames.hpp"

namespace simboard {
namespace {

Bytes bytes(const std::string& hex) {
    auto b = parseHex(hex);
    EXPECT_TRUE(b.has_value()) << hex;
    return b.value_or(Bytes{});
}

// The card's answer to one frame as hex, "-" for silence.
std::string send(Tag& tag, const std::string& hex) {
    TagRequest request;
    request.frame = bytes(hex);
    request.config.protocol = Protocol::Iso14443B;
    const auto answer = tag.receive(request);
    return answer ? toHex(answer->bytes) : "-";
}

// The public CRC_B check value: "123456789" gives 906E, sent low byte first.
TEST(Iso14443bCrc, ChecksFramesAgainstThePublicCheckValue) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"3132333435363738396E90", true},
        {"313233343536373839906E", false},  // high byte first
        {"3132333435363738396E91", false},
        {"0078F0", true},
        {"78F0", false},  // 0000 is the CRC of nothing, not F078
        {"6E", false},
        {"", false},
    };
    for (const auto& [hex, valid] : cases) EXPECT_EQ(iso14443bCrcValid(bytes(hex)), valid) << hex;
}

constexpr const char* kAtqb = "50A1B2C3D40000000000718500E811";  // extended: 4-byte protocol info
constexpr const char* kAttrib = "1DA1B2C3D400070100";

// Each case: the exchanges in order on a fresh card, "-" where the card stays silent.
TEST(Iso14443bCard, AnswersPollsHaltsAndAttribsByState) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> exchanges;
    };
    const std::vector<Case> cases = {
        {"REQB, extended ATQB offered by PARAM", {{"0500F0", kAtqb}}},
        {"REQB without the extended-ATQB bit", {{"050000", "50A1B2C3D40000000000718586AE"}}},
        {"slot count ignored", {{"0500F5", kAtqb}}},
        {"WUPB", {{"0500F8", kAtqb}}},
        {"REQB of two bytes (empty AFI box)", {{"05F0", "-"}}},
        {"REQB of four bytes", {{"0500F000", "-"}}},
        {"REQB answered again while ready", {{"0500F0", kAtqb}, {"0500F0", kAtqb}}},
        {"ATTRIB before any poll", {{kAttrib, "-"}}},
        {"ATTRIB after REQB", {{"0500F0", kAtqb}, {kAttrib, "10F9E0"}}},
        {"ATTRIB: CID from the low digit of param 4",
         {{"0500F0", kAtqb}, {"1DA1B2C3D400070102", "12EBC3"}}},
        {"ATTRIB with another PUPI", {{"0500F0", kAtqb}, {"1DA1B2C3D500070100", "-"}}},
        {"ATTRIB short of its parameters", {{"0500F0", kAtqb}, {"1DA1B2C3D4000701", "-"}}},
        {"active card ignores polls and a second ATTRIB",
         {{"0500F0", kAtqb},
          {kAttrib, "10F9E0"},
          {"0500F0", "-"},
          {"0500F8", "-"},
          {kAttrib, "-"}}},
        {"HLTB: REQB ignored, WUPB wakes",
         {{"0500F0", kAtqb}, {"50A1B2C3D4", "0078F0"}, {"0500F0", "-"}, {"0500F8", kAtqb}}},
        {"HLTB with another PUPI", {{"0500F0", kAtqb}, {"5011223344", "-"}, {"0500F0", kAtqb}}},
        {"HLTB of an idle card", {{"50A1B2C3D4", "-"}, {"0500F0", kAtqb}}},
        {"memory-tag commands are not the card's", {{"0600", "-"}, {"0B", "-"}, {"0500F0", kAtqb}}},
    };
    for (const Case& c : cases) {
        Iso14443bCard card;
        for (std::size_t i = 0; i < c.exchanges.size(); ++i) {
            EXPECT_EQ(send(card, c.exchanges[i].first), c.exchanges[i].second)
                << c.name << ", exchange " << i;
        }
    }
}

// The whole low digit of ATTRIB's fourth parameter byte is the CID, 8 to 15 included;
// the answer carries it beside MBLI 1.
TEST(Iso14443bCard, AttribAnswersCidsEightToFifteen) {
    const std::pair<char, const char*> cases[] = {
        {'8', "18B16C"}, {'9', "19387D"}, {'A', "1AA34F"}, {'B', "1B2A5E"},
        {'C', "1C952A"}, {'D', "1D1C3B"}, {'E', "1E8709"}, {'F', "1F0E18"},
    };
    for (const auto& [cid, answer] : cases) {
        Iso14443bCard card;
        send(card, "0500F0");
        EXPECT_EQ(send(card, std::string("1DA1B2C3D40007010") + cid), answer) << "CID " << cid;
    }
}

TEST(Iso14443bCard, AtqbCarriesAValidCrcB) {
    Iso14443bCard card;
    EXPECT_TRUE(iso14443bCrcValid(bytes(send(card, "0500F0"))));
    EXPECT_TRUE(iso14443bCrcValid(bytes(send(card, "050000"))));
}

TEST(Iso14443bCard, AfiSelectsByFamilyAndSubFamily) {
    Iso14443bCardConfig config;
    config.afi = 0x12;
    const std::vector<std::pair<std::string, bool>> cases = {
        {"00", true},  {"10", true},  {"02", true},  {"12", true},
        {"13", false}, {"20", false}, {"11", false}, {"22", false},
    };
    for (const auto& [afi, answers] : cases) {
        Iso14443bCard card(config);
        EXPECT_EQ(send(card, "05" + afi + "F0") != "-", answers) << "AFI " << afi;
    }
}

TEST(Iso14443bCard, FieldOffBringsAnActiveOrHaltedCardBack) {
    Iso14443bCard card;
    send(card, "0500F0");
    send(card, kAttrib);
    ASSERT_EQ(card.state(), Iso14443bCard::State::Active);
    card.fieldOff();
    EXPECT_EQ(send(card, "0500F0"), kAtqb);

    send(card, "50A1B2C3D4");
    ASSERT_EQ(card.state(), Iso14443bCard::State::Halted);
    card.fieldOff();
    EXPECT_EQ(send(card, "0500F0"), kAtqb);
}

TEST(Iso14443bCard, BuiltFromIniKeys) {
    TagSpec spec{"iso14443b",
                 {{"pupi", "01020304"},
                  {"appdata", "AABBCCDD"},
                  {"protocolinfo", "001185"},
                  {"afi", "00"},
                  {"mbli", "3"}}};
    auto tag = makeIso14443bCard(spec);
    ASSERT_NE(tag, nullptr);
    // A three-byte protocol info: the card has no extended ATQB even when offered one.
    const std::string atqb = send(*tag, "0500F0");
    EXPECT_EQ(atqb.substr(0, 24), "5001020304AABBCCDD001185");
    EXPECT_EQ(atqb.size(), 28u);
    EXPECT_EQ(send(*tag, "1D0102030400070105").substr(0, 2), "35");

    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"pupi", "010203"},
                                                          {"pupi", "0102030G"},
                                                          {"afi", "1"},
                                                          {"protocolinfo", "0011"},
                                                          {"protocolinfo", "0011850000"},
                                                          {"mbli", "10"}}) {
        EXPECT_EQ(makeIso14443bCard(TagSpec{"iso14443b", {{key, value}}}), nullptr)
            << key << "=" << value;
    }
}

}  // namespace
}  // namespace simboard
