#include "simboard/iso15693_anticollision.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "reader/answer_buffer.hpp"
#include "simboard/antenna.hpp"
#include "simboard/board_config.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso15693_tag.hpp"
#include "simboard/simulated_board.hpp"

namespace {

using namespace simboard;

const ProtocolConfig kIso15693{Protocol::Iso15693, {0x0D}};

Iso15693TagConfig tagWith(std::uint64_t uid, std::uint8_t dsfid = 0, std::uint8_t afi = 0) {
    Iso15693TagConfig c;
    c.uid = uid;
    c.dsfid = dsfid;
    c.afi = afi;
    return c;
}

Antenna antennaOf(const std::vector<Iso15693TagConfig>& tags) {
    Antenna antenna;
    for (const auto& c : tags) antenna.add(std::make_unique<Iso15693Tag>(c));
    return antenna;
}

std::string send(Antenna& antenna, const std::string& hex) {
    return antenna.exchange(TagRequest{*parseHex(hex), 0, kIso15693});
}

// The records of an anticollision answer as "DSFID:UID-on-air", after checking that
// the length byte and the count agree with what the answer holds.
std::multiset<std::string> records(const std::string& answer) {
    EXPECT_EQ(answer.substr(0, 2), "80");
    const int length = std::stoi(answer.substr(2, 2), nullptr, 16);
    EXPECT_EQ(answer.size(), 4u + 2u * length) << answer;
    std::multiset<std::string> out;
    if (length == 1) return out;
    const int count = std::stoi(answer.substr(4, 2), nullptr, 16);
    EXPECT_EQ(length, 1 + 9 * count) << answer;
    for (int k = 0; k < count; ++k) {
        const std::string r = answer.substr(6 + 18 * k, 18);
        out.insert(r.substr(0, 2) + ":" + r.substr(2));
    }
    return out;
}

// Three tags placed for the slot tests: UID low bytes 00, 10 and 05, so that with
// no mask the first two share slot 0 and the third sits in slot 5.
const std::uint64_t kT1 = 0xE002000000000000ULL;
const std::uint64_t kT2 = 0xE002000000000010ULL;
const std::uint64_t kT3 = 0xE002000000000005ULL;
const std::string kT1Air = "00000000000002E0";
const std::string kT2Air = "10000000000002E0";
const std::string kT3Air = "05000000000002E0";

TEST(Iso15693Collision, SeveralDifferentAnswersOverlayWithCollisionAndCrcBits) {
    Antenna antenna =
        antennaOf({tagWith(0xE001020304050607ULL), tagWith(0x0102030405060708ULL, 0x11)});
    // 00 00 07..E0 8F F0 overlaid with 00 11 08..01 + its CRC.
    EXPECT_EQ(send(antenna, "260100"), "800D00110F070705070303E1AFFA03");
    // Frames that agree bit for bit do not collide.
    EXPECT_EQ(send(antenna, "02A002"), "80050000470F00");
    // An addressed request picks one of them.
    EXPECT_EQ(send(antenna, "222B0807060504030201").substr(0, 4), "8012");
}

TEST(Iso15693Collision, SixteenSlotRequestReachesTheTagsOfSlotZeroAfterTheMask) {
    Antenna antenna = antennaOf({tagWith(kT1), tagWith(kT2), tagWith(kT3)});
    const struct {
        const char* request;
        std::multiset<std::string> answering;
    } cases[] = {
        {"060100", {kT1Air, kT2Air}},
        {"06010400", {kT1Air}},  // slot = UID bits 4-7
        {"06010810", {kT2Air}},  // slot = UID bits 8-11
        {"06010405", {kT3Air}},
        {"06010401", {}},
        {"260100", {kT1Air, kT2Air, kT3Air}},  // one slot: everyone at once
    };
    for (const auto& c : cases) {
        std::multiset<std::string> answering;
        for (const TagAnswer& a :
             antenna.broadcast(TagRequest{*parseHex(c.request), 0, kIso15693})) {
            answering.insert(toHex(Bytes(a.bytes.begin() + 2, a.bytes.begin() + 10)));
        }
        EXPECT_EQ(answering, c.answering) << c.request;
    }
}

TEST(Iso15693Anticollision, FindsEveryTagWhateverTheFlags) {
    const std::multiset<std::string> all{"00:" + kT1Air, "11:" + kT2Air, "22:" + kT3Air};
    for (const std::uint8_t flags : {0x26, 0x06, 0x36, 0x24, 0x27}) {
        Antenna antenna =
            antennaOf({tagWith(kT1, 0x00, 0x10), tagWith(kT2, 0x11, 0x21), tagWith(kT3, 0x22)});
        EXPECT_EQ(records(iso15693Anticollision(antenna, kIso15693, {flags})), all) << int{flags};
    }
}

TEST(Iso15693Anticollision, AnswersInTheLayoutTheWindowReads) {
    Antenna antenna =
        antennaOf({tagWith(0xE001020304050607ULL), tagWith(0x0102030405060708ULL, 0x11)});
    // Sixteen slots: slot 7 before slot 8.
    EXPECT_EQ(iso15693Anticollision(antenna, kIso15693, {0x06}),
              "8013020007060504030201E0110807060504030201");
}

TEST(Iso15693Anticollision, EdgeCases) {
    Antenna none;
    EXPECT_EQ(iso15693Anticollision(none, kIso15693, {0x26}), "800100");

    Antenna one = antennaOf({tagWith(kT1)});
    EXPECT_EQ(iso15693Anticollision(one, kIso15693, {}), "8200");
    EXPECT_EQ(iso15693Anticollision(one, kIso15693, {0x26, 0x00}), "8200");
    EXPECT_EQ(iso15693Anticollision(one, ProtocolConfig{}, {0x26}), "800100");

    // Quiet and killed tags keep silent; two tags of one UID make one record.
    Iso15693TagConfig killed = tagWith(kT3);
    killed.killCode = {1, 2, 3, 4};
    Antenna mixed = antennaOf({tagWith(kT1), tagWith(kT1), tagWith(kT2), killed});
    send(mixed, "2202" + kT2Air);
    send(mixed, "22A602" + kT3Air + "0001020304");
    EXPECT_EQ(records(iso15693Anticollision(mixed, kIso15693, {0x26})),
              std::multiset<std::string>{"00:" + kT1Air});
}

TEST(Iso15693Anticollision, StopsAtThirteenRecordsSoTheAnswerFitsTheBuffer) {
    std::vector<Iso15693TagConfig> tags;
    for (std::uint64_t i = 0; i < 20; ++i)
        tags.push_back(tagWith(0xE002000000000000ULL | (i * 0x1111)));
    Antenna antenna = antennaOf(tags);
    for (const std::uint8_t flags : {0x26, 0x06}) {
        const std::string answer = iso15693Anticollision(antenna, kIso15693, {flags});
        EXPECT_EQ(answer.substr(0, 6), "80760D");
        EXPECT_EQ(records(answer).size(), 13u);
        EXPECT_LE(answer.size(), reader::AnswerBuffer::kSize - 1);
    }
}

// Through the board as the program drives it.
class Iso15693OnBoard : public ::testing::Test {
  protected:
    std::string call(reader::LibraryStatus (SimulatedBoard::*fn)(std::string_view,
                                                                 reader::AnswerBuffer&),
                     const std::string& request) {
        reader::AnswerBuffer answer = reader::AnswerBuffer::blanks();
        EXPECT_EQ((board_.*fn)(request, answer), reader::kStatusOk);
        return answer.text();
    }
    std::string sendReceive(const std::string& r) { return call(&SimulatedBoard::sendReceive, r); }
    std::string kvCmd(const std::string& r) { return call(&SimulatedBoard::kvCmd, r); }
    std::string select(const std::string& r) { return call(&SimulatedBoard::select, r); }

    SimulatedBoard board_;
};

TEST_F(Iso15693OnBoard, DefaultAntennaAnswersTheWindowsRequests) {
    EXPECT_EQ(sendReceive("260100"), "8700");  // no protocol selected yet
    EXPECT_EQ(select("010D"), "0000");
    EXPECT_EQ(sendReceive("260100"), "800D000008070605040302E044FE00");
    EXPECT_EQ(kvCmd("02A00126"), "800A010008070605040302E0");
    EXPECT_EQ(kvCmd("02A0012600"), "8200");
    EXPECT_EQ(sendReceive("0A200000"), "80080054513733004900");
    EXPECT_EQ(select("011D"), "0000");
    EXPECT_EQ(sendReceive("0AC0020000"), "80080054513733004900");
}

TEST_F(Iso15693OnBoard, FieldOffWakesAQuietTag) {
    select("010D");
    EXPECT_EQ(sendReceive("0202"), "8700");
    EXPECT_EQ(sendReceive("260100"), "8700");
    EXPECT_EQ(kvCmd("02A00126"), "800100");
    reader::AnswerBuffer answer;
    board_.fieldOff(answer);
    select("010D");
    EXPECT_EQ(sendReceive("260100"), "800D000008070605040302E044FE00");
}

TEST_F(Iso15693OnBoard, BoardDescriptionPutsSeveralTagsOnTheAntenna) {
    const ParsedBoardIni parsed = parseBoardIni(
        "[tag.a]\nkind=iso15693\nuid=E002000000000000\n"
        "[tag.b]\nkind=iso15693\nuid=E002000000000010\ndsfid=11\n"
        "[tag.c]\nkind=iso15693\nuid=E002000000000005\ndsfid=22\nblocks=8\ndata=CAFE0000\n");
    board_.applyConfig(parsed.config);
    select("010D");
    EXPECT_EQ(records(kvCmd("02A00106")),
              (std::multiset<std::string>{"00:" + kT1Air, "11:" + kT2Air, "22:" + kT3Air}));
    EXPECT_EQ(sendReceive("260100").substr(28), "03");  // collision and CRC error
    EXPECT_EQ(sendReceive("2220" + kT3Air + "00").substr(0, 12), "800800CAFE00");
}

}  // namespace
