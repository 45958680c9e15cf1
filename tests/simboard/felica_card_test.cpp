#include "simboard/felica_card.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"

namespace simboard {
namespace {

TagRequest requestOf(const std::string& hex) {
    TagRequest request;
    request.frame = parseHex(hex).value();
    request.config.protocol = Protocol::FeliCa;
    return request;
}

std::string send(Tag& tag, const std::string& hex) {
    const auto answer = tag.receive(requestOf(hex));
    return answer ? toHex(answer->bytes) : "-";
}

TEST(FelicaCrc, PublicCheckValueAndFrames) {
    const Bytes check{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(felicaCrc(check.data(), check.size()), 0x31C3);
    EXPECT_EQ(felicaCrc(nullptr, 0), 0x0000);
    const std::vector<std::pair<std::string, bool>> frames = {
        {"31323334353637383931C3", true},
        {"313233343536373839C331", false},  // low byte first is the type B order
        {"0000", true},
        {"00", false},
        {"", false},
    };
    for (const auto& [hex, valid] : frames) {
        EXPECT_EQ(felicaCrcValid(parseHex(hex).value()), valid) << hex;
    }
}

constexpr const char* kPollingAnswer =
    "1201"
    "0102030405060708"
    "1112131415161718"
    "9EC6";  // length, code, IDm, PMm, CRC

TEST(FelicaCard, AnswersPollingBySystemCode) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"00FFFF0000", kPollingAnswer},
        {"0600FFFF0000", kPollingAnswer},  // with the length byte
        {"00FFFF0003", kPollingAnswer},    // four time slots: answered in the first
        {"00FFFF0100",
         "1401"
         "0102030405060708"
         "1112131415161718"
         "1A2B"
         "4675"},  // system code asked
        {"001A2B0000", kPollingAnswer},
        {"00FF2B0000", kPollingAnswer},
        {"001AFF0000", kPollingAnswer},
        {"001A2C0000", "-"},
        {"0012FF0000", "-"},
        {"00FFFF00", "-"},
        {"00FFFF000000", "-"},
        {"0500FFFF0000", "-"},  // a length byte that does not fit
        {"01FFFF0000", "-"},
        {"", "-"},
    };
    for (const auto& [request, expected] : cases) {
        FelicaCard card;
        EXPECT_EQ(send(card, request), expected) << request;
    }
}

// The REQC answer as the program reads it: result code, length 15, then the 18-byte
// frame, its CRC and the status byte, 46 characters in all.
TEST(FelicaCard, ReqcAnswerTextThroughTheCombiner) {
    const TagRequest request = requestOf("00FFFF0000");
    const auto combine = [&](Antenna& antenna) {
        const std::vector<TagAnswer> answers = antenna.broadcast(request);
        return combineFelica(CombineInput{answers, request.config, AnswerFault{}});
    };

    Antenna empty;
    EXPECT_EQ(combine(empty), "8700");

    Antenna one;
    one.add(std::make_unique<FelicaCard>());
    const std::string text = combine(one);
    EXPECT_EQ(text, std::string("8015") + kPollingAnswer + "00");
    EXPECT_EQ(text.size(), 46u);

    Antenna two;
    two.add(std::make_unique<FelicaCard>());
    FelicaCardConfig other;
    other.idm[7] = 0x80;
    two.add(std::make_unique<FelicaCard>(other));
    const std::string collided = combine(two);
    EXPECT_EQ(collided.substr(0, 4), "8015");
    EXPECT_EQ(collided.substr(collided.size() - 2), "20");
}

TEST(FelicaCard, BuiltFromIniKeys) {
    auto tag = makeFelicaCard(TagSpec{
        "felica",
        {{"idm", "A0A1A2A3A4A5A6A7"}, {"pmm", "B0B1B2B3B4B5B6B7"}, {"systemcode", "1234"}}});
    ASSERT_NE(tag, nullptr);
    const std::string answer = send(*tag, "0012340100");
    EXPECT_EQ(answer.substr(0, 40), "1401A0A1A2A3A4A5A6A7B0B1B2B3B4B5B6B71234");
    EXPECT_TRUE(felicaCrcValid(parseHex(answer).value()));

    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"idm", "A0A1"},
                                                          {"pmm", "B0B1B2B3B4B5B6B7B8"},
                                                          {"systemcode", "12"},
                                                          {"systemcode", "12G4"}}) {
        EXPECT_EQ(makeFelicaCard(TagSpec{"felica", {{key, value}}}), nullptr)
            << key << "=" << value;
    }
}

}  // namespace
}  // namespace simboard
