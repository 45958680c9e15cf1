#include "simboard/sola_tag.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso14443b_frames.hpp"

namespace simboard {
namespace {

TagRequest requestOf(const std::string& hex) {
    TagRequest request;
    request.frame = parseHex(hex).value();
    request.config.protocol = Protocol::Iso14443B;
    return request;
}

std::string send(Tag& tag, const std::string& hex) {
    const auto answer = tag.receive(requestOf(hex));
    return answer ? toHex(answer->bytes) : "-";
}

// The transceiver's answer text for one request to every tag on the antenna.
std::string transceive(Antenna& antenna, const std::string& hex) {
    const TagRequest request = requestOf(hex);
    const std::vector<TagAnswer> answers = antenna.broadcast(request);
    return combineIso14443b(CombineInput{answers, request.config, AnswerFault{}});
}

std::string slotMarker(int slot) {
    std::string hex;
    appendHex(hex, static_cast<std::uint8_t>(slot * 16 + 6));
    return hex;
}

// The program's 16-slot anticollision: RESET TO INVENTORY, INITIATE, PCALL16 (slot 0), then
// slot markers 1 to 15. Each case lists the slots that answer; every other slot must get
// "8700". Several tags answering at once are heard OR-ed, and their CRC then fails.
TEST(SolaTag, InventoryOverSixteenSlots) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> chipIds;
        std::string initiateAnswer;
        std::map<int, std::string> slotAnswers;
    };
    const std::vector<Case> cases = {
        {"no tag", {}, "8700", {}},
        {"one tag, slot from its chip ID", {0x37}, "80043744B500", {{7, "80043744B500"}}},
        {"three tags in three slots",
         {0x12, 0x37, 0xAE},
         "8004BFEFFF20",
         {{2, "800412EBC300"}, {7, "80043744B500"}, {14, "8004AE0CBC00"}}},
        {"two tags in one slot collide", {0x27, 0x37}, "800437C5B520", {{7, "800437C5B520"}}},
        {"the same chip ID twice reads clean", {0x37, 0x37}, "80043744B500", {{7, "80043744B500"}}},
        {"slot 0 answers PCALL16", {0x40}, "8004407CB200", {{0, "8004407CB200"}}},
        {"slot 0 beside slot 7",
         {0x40, 0x37},
         "8004777CB720",
         {{0, "8004407CB200"}, {7, "80043744B500"}}},
    };
    for (const Case& c : cases) {
        Antenna antenna;
        for (std::uint8_t id : c.chipIds) {
            SolaTagConfig config;
            config.chipId = id;
            antenna.add(std::make_unique<SolaTag>(config));
        }
        EXPECT_EQ(transceive(antenna, "0C"), "8700") << c.name;
        EXPECT_EQ(transceive(antenna, "0600"), c.initiateAnswer) << c.name;
        std::map<int, std::string> answered;
        for (int slot = 0; slot <= 15; ++slot) {
            const std::string answer = transceive(antenna, slot == 0 ? "0604" : slotMarker(slot));
            if (answer != "8700") answered[slot] = answer;
        }
        EXPECT_EQ(answered, c.slotAnswers) << c.name;
    }
}

TEST(SolaTag, Pcall16AnswersFromSlotZeroOnly) {
    SolaTagConfig inSlotZero;
    inSlotZero.chipId = 0x40;
    SolaTag zero(inSlotZero);
    SolaTag seven;  // chip ID 37
    EXPECT_EQ(send(zero, "0604"), "-") << "before INITIATE";
    send(zero, "0600");
    send(seven, "0600");
    EXPECT_EQ(send(zero, "0604"), "407CB2");
    EXPECT_EQ(send(seven, "0604"), "-");
    EXPECT_EQ(send(zero, "06"), "-") << "slot marker 0 is a truncated INITIATE";
}

constexpr const char* kUidOnAir = "85766758493A2B1C2525";  // uid 1C2B3A4958677685, LSB first

// One tag, chip ID 37, 16 blocks holding 00 01 02 ... at first; each case runs its
// exchanges in order on a fresh tag, "-" where the tag stays silent.
TEST(SolaTag, SelectThenGetUidReadAndWriteBlock) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> exchanges;
    };
    const std::vector<Case> cases = {
        {"nothing before INITIATE, and no write",
         {{"0E37", "-"},
          {"0B", "-"},
          {"0800", "-"},
          {"0900DEADBEEF", "-"},
          {"37", "-"},
          {"0600", "3744B5"},
          {"0E37", "3744B5"},
          {"0800", "0001020329A7"}}},
        {"inventoried but not selected", {{"0600", "3744B5"}, {"0B", "-"}, {"0800", "-"}}},
        {"select, get UID, read",
         {{"0600", "3744B5"},
          {"0E37", "3744B5"},
          {"0B", kUidOnAir},
          {"0800", "0001020329A7"},
          {"0801", "04050607E097"},
          {"080F", "3C3D3E3F0FBB"},
          {"0810", "-"}}},
        {"write, silently, then read back",
         {{"0600", "3744B5"},
          {"0E37", "3744B5"},
          {"0901DEADBEEF", "-"},
          {"0801", "DEADBEEFCBE5"},
          {"0800", "0001020329A7"}}},
        {"malformed writes change nothing",
         {{"0600", "3744B5"},
          {"0E37", "3744B5"},
          {"0901DEADBE", "-"},
          {"0901DEADBEEF00", "-"},
          {"0910DEADBEEF", "-"},
          {"0801", "04050607E097"}}},
        {"select of another chip ID deselects",
         {{"0600", "3744B5"}, {"0E37", "3744B5"}, {"0E38", "-"}, {"0B", "-"}, {"76", "3744B5"}}},
        {"reset to inventory",
         {{"0600", "3744B5"}, {"0E37", "3744B5"}, {"0C", "-"}, {"0800", "-"}, {"0600", "3744B5"}}},
        {"completion deactivates until the field goes off",
         {{"0600", "3744B5"}, {"0E37", "3744B5"}, {"0F", "-"}, {"0600", "-"}, {"0E37", "-"}}},
        {"INITIATE is not for a selected tag",
         {{"0600", "3744B5"}, {"0E37", "3744B5"}, {"0600", "-"}, {"0B", kUidOnAir}}},
        {"ISO14443-B card commands are not the tag's",
         {{"0600", "3744B5"}, {"0E37", "3744B5"}, {"0500F0", "-"}, {"1DA1B2C3D400070100", "-"}}},
    };
    for (const Case& c : cases) {
        SolaTag tag;
        for (std::size_t i = 0; i < c.exchanges.size(); ++i) {
            EXPECT_EQ(send(tag, c.exchanges[i].first), c.exchanges[i].second)
                << c.name << ", exchange " << i << " (" << c.exchanges[i].first << ")";
        }
    }
}

TEST(SolaTag, FieldOffResetsStateButKeepsMemory) {
    SolaTag tag;
    send(tag, "0600");
    send(tag, "0E37");
    send(tag, "0902CAFEF00D");
    send(tag, "0F");
    ASSERT_EQ(tag.state(), SolaTag::State::Deactivated);
    tag.fieldOff();
    EXPECT_EQ(tag.state(), SolaTag::State::Ready);
    EXPECT_EQ(send(tag, "0B"), "-");
    send(tag, "0600");
    send(tag, "0E37");
    EXPECT_EQ(send(tag, "0802").substr(0, 8), "CAFEF00D");
}

TEST(SolaTag, MemorySizeFollowsTheProduct) {
    const std::vector<std::pair<std::string, std::optional<int>>> sizes = {
        {"SOLA-A", 16},           {"SOLT-A", 16},  {"SOLA-B", 128},
        {"SOLA-C", 128},          {"SOLX-A", 128}, {"ISO14443-B", std::nullopt},
        {"sola-a", std::nullopt},
    };
    for (const auto& [product, blocks] : sizes) {
        EXPECT_EQ(solaBlockCount(product), blocks) << product;
        auto tag = makeSolaTag(TagSpec{"sola", {{"product", product}}});
        if (!blocks) {
            EXPECT_EQ(tag, nullptr) << product;
            continue;
        }
        ASSERT_NE(tag, nullptr) << product;
        send(*tag, "0600");
        send(*tag, "0E37");
        std::string last, beyond;
        appendHex(last, static_cast<std::uint8_t>(*blocks - 1));
        appendHex(beyond, static_cast<std::uint8_t>(*blocks));
        EXPECT_NE(send(*tag, "08" + last), "-") << product;
        EXPECT_EQ(send(*tag, "08" + beyond), "-") << product;
    }
}

TEST(SolaTag, BuiltFromIniKeys) {
    auto tag = makeSolaTag(TagSpec{
        "sola",
        {{"chipid", "5A"}, {"uid", "0102030405060708"}, {"blocks", "4"}, {"data", "A1A2A3A4B1"}}});
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(send(*tag, "0600"), "5AA70D");
    EXPECT_EQ(send(*tag, "AE"), "-") << "slot 10 was not called";
    EXPECT_EQ(send(*tag, "A6"), "5AA70D");
    send(*tag, "0E5A");
    EXPECT_EQ(send(*tag, "0B").substr(0, 16), "0807060504030201");
    EXPECT_EQ(send(*tag, "0800").substr(0, 8), "A1A2A3A4");
    EXPECT_EQ(send(*tag, "0801").substr(0, 8), "B1050607") << "data covers one byte of block 1";
    EXPECT_EQ(send(*tag, "0804"), "-");

    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"chipid", "5"},
                                                          {"chipid", "5A5A"},
                                                          {"uid", "01020304"},
                                                          {"blocks", "0"},
                                                          {"blocks", "257"},
                                                          {"blocks", "12x"},
                                                          {"data", "A1A"},
                                                          {"product", "TOPAZ"}}) {
        EXPECT_EQ(makeSolaTag(TagSpec{"sola", {{key, value}}}), nullptr) << key << "=" << value;
    }
}

}  // namespace
}  // namespace simboard
