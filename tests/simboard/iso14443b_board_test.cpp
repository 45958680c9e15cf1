#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "reader/answer_buffer.hpp"
#include "simboard/board_config.hpp"
#include "simboard/simulated_board.hpp"

// The ISO14443-B card, the SOLA tags and the FeliCa card as the program meets them: through
// the reader library calls of the simulated board.
namespace simboard {
namespace {

std::string call(SimulatedBoard& board, bool isSelect, const std::string& request) {
    reader::AnswerBuffer answer;
    const auto status =
        isSelect ? board.select(request, answer) : board.sendReceive(request, answer);
    EXPECT_EQ(status, reader::kStatusOk) << request;
    return answer.text();
}
std::string select(SimulatedBoard& board, const std::string& r) { return call(board, true, r); }
std::string send(SimulatedBoard& board, const std::string& r) { return call(board, false, r); }

std::string slotMarker(int slot) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string{kDigits[slot], '6'};
}

// Slot number -> answer text for the slots that answered, after RESET TO INVENTORY and
// INITIATE, as the window's anticollision and the detection probe run them.
std::vector<std::pair<int, std::string>> inventory(SimulatedBoard& board) {
    send(board, "0C");
    send(board, "0600");
    std::vector<std::pair<int, std::string>> answered;
    for (int slot = 1; slot <= 15; ++slot) {
        const std::string text = send(board, slotMarker(slot));
        if (text != "8700") answered.emplace_back(slot, text);
    }
    return answered;
}

TEST(Iso14443bBoard, DefaultAntennaAnswersTheBWindowAndProbes) {
    SimulatedBoard board;
    select(board, "03010180");
    // The REQB probe's 36-character hit, protocol info at the window's fixed positions.
    EXPECT_EQ(send(board, "0500F0"), "801050A1B2C3D40000000000718500E81100");
    EXPECT_EQ(send(board, "1DA1B2C3D400070100"), "800410F9E000");

    EXPECT_EQ(inventory(board), (std::vector<std::pair<int, std::string>>{{7, "80043744B500"}}));
    EXPECT_EQ(send(board, "0E37"), "80043744B500");
    EXPECT_EQ(send(board, "0B"), "800B85766758493A2B1C252500");
    EXPECT_EQ(send(board, "0800"), "80070001020329A700");
    EXPECT_EQ(send(board, "0901DEADBEEF"), "8700");
    EXPECT_EQ(send(board, "0801"), "8007DEADBEEFCBE500");
    EXPECT_EQ(send(board, "0810"), "8700") << "the default tag holds 16 blocks";

    select(board, "0451");
    const std::string reqc = send(board, "00FFFF0000");
    EXPECT_EQ(reqc, "80151201010203040506070811121314151617189EC600");
    EXPECT_EQ(reqc.size(), 46u);
}

TEST(Iso14443bBoard, EachTagAnswersOnlyUnderItsProtocol) {
    BoardConfig config;
    config.tags = std::vector<TagSpec>{{"iso14443b", {}}, {"sola", {}}, {"felica", {}}};
    SimulatedBoard board(config);
    const std::vector<std::pair<std::string, std::vector<std::string>>> silent = {
        {"02000180", {"0500F0", "0600", "00FFFF0000"}},
        {"010D", {"0500F0", "0600", "00FFFF0000"}},
        {"0451", {"0500F0", "0600"}},
        {"03010180", {"00FFFF0000"}},
    };
    for (const auto& [protocol, requests] : silent) {
        select(board, protocol);
        for (const std::string& r : requests)
            EXPECT_EQ(send(board, r), "8700") << protocol << " " << r;
    }
    // The script's short ISO14443-B select reaches both kinds of B tags too.
    select(board, "0301");
    EXPECT_EQ(send(board, "0500F0").substr(0, 4), "8010");
    EXPECT_EQ(send(board, "0600"), "80043744B500");
}

TEST(Iso14443bBoard, FieldOffResetsTheTags) {
    SimulatedBoard board;
    select(board, "03010180");
    send(board, "0500F0");
    ASSERT_EQ(send(board, "1DA1B2C3D400070100"), "800410F9E000");
    send(board, "0600");
    ASSERT_EQ(send(board, "0E37"), "80043744B500");

    select(board, "0000");
    select(board, "03010180");
    EXPECT_EQ(send(board, "0B"), "8700") << "no longer selected";
    EXPECT_EQ(send(board, "1DA1B2C3D400070100"), "8700") << "idle card: no ATTRIB before REQB";
    EXPECT_EQ(send(board, "0500F0").substr(0, 4), "8010") << "no longer active";
}

// Tags as simulated-board.ini describes them: several SOLA tags fill several slots, two
// in one slot collide, and the single tag the anticollision needs is then missing.
TEST(Iso14443bBoard, SolaTagsFromTheIniFile) {
    const struct {
        const char* name;
        std::string tags;
        std::vector<std::pair<int, std::string>> expected;
    } cases[] = {
        {"three tags",
         "[tag.1]\nkind=sola\nchipid=12\n[tag.2]\nkind=sola\nchipid=37\n"
         "[tag.3]\nkind=sola\nchipid=AE\n",
         {{2, "800412EBC300"}, {7, "80043744B500"}, {14, "8004AE0CBC00"}}},
        {"two tags in slot 7",
         "[tag.1]\nkind=sola\nchipid=27\n[tag.2]\nkind=sola\nchipid=37\n",
         {{7, "800437C5B520"}}},
        {"a B card alone", "[tag.1]\nkind=iso14443b\n", {}},
    };
    for (const auto& c : cases) {
        const ParsedBoardIni ini = parseBoardIni(c.tags);
        ASSERT_TRUE(ini.config.tags.has_value()) << c.name;
        SimulatedBoard board(ini.config);
        select(board, "03010180");
        EXPECT_EQ(inventory(board), c.expected) << c.name;
    }
}

TEST(Iso14443bBoard, CardAndFelicaKeysFromTheIniFile) {
    const ParsedBoardIni ini = parseBoardIni(
        "[tag.1]\nkind=iso14443b\npupi=01020304\nprotocolinfo=007185\n"
        "[tag.2]\nkind=felica\nidm=A0A1A2A3A4A5A6A7\n"
        "[tag.3]\nkind=sola\nproduct=SOLA-B\n");
    SimulatedBoard board(ini.config);
    select(board, "03010180");
    // A three-byte protocol info: the 12-byte ATQB, 34 characters.
    EXPECT_EQ(send(board, "0500F0").substr(0, 14), "800F5001020304");
    send(board, "0600");
    send(board, "0E37");
    EXPECT_EQ(send(board, "087F").substr(0, 4), "8007") << "SOLA-B: 128 blocks";
    select(board, "0451");
    EXPECT_EQ(send(board, "00FFFF0000").substr(0, 24), "80151201A0A1A2A3A4A5A6A7");
}

}  // namespace
}  // namespace simboard
