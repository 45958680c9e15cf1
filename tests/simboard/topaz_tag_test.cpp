#include "simboard/topaz_tag.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "reader/answer_buffer.hpp"
#include "simboard/board_config.hpp"
#include "simboard/hex.hpp"
#include "simboard/simulated_board.hpp"

namespace {

using namespace simboard;

// Whole answers worked out by hand: the tag frame with its CRC_A low byte first, then
// the transceiver's status 08 and the two collision indexes. The default tag's UID
// is 11 22 33 44 55 66 77; its first four bytes name it in every command.
const std::string kNoTag = "8700";
// ATQA 0C00, least significant byte first on air.
const std::string kAtqa = "8005000C080000";
const std::string kRid = "800B114811223344591B080000";
const std::string kUid4 = "11223344";

class TopazBoard {
  public:
    explicit TopazBoard(std::vector<TagSpec> tags = {TagSpec{"topaz", {}}})
        : board_(configWith(std::move(tags))) {
        select("02000300");
    }
    std::string send(const std::string& request) {
        reader::AnswerBuffer answer;
        board_.sendReceive(request, answer);
        return answer.text();
    }
    void select(const std::string& request) {
        reader::AnswerBuffer answer;
        board_.select(request, answer);
    }
    void run(const std::vector<std::pair<std::string, std::string>>& script) {
        for (const auto& [request, answer] : script) EXPECT_EQ(send(request), answer) << request;
    }

  private:
    static BoardConfig configWith(std::vector<TagSpec> tags) {
        BoardConfig config;
        config.tags = std::move(tags);
        return config;
    }
    SimulatedBoard board_;
};

TEST(TopazTag, AnswersReqaAndRidAsTheWindowsReadThem) {
    TopazBoard board;
    board.run({
        {"78000000000000A8", kNoTag},  // not woken yet
        {"2607", kAtqa},
        {"2607", kAtqa},  // a second REQA is answered too
        {"78000000000000A8", kRid},
        {"7800000000000028", kNoTag},  // without the TOPAZ end of frame
    });
}

TEST(TopazTag, ReadsAndWritesBytesOfTheTagItNames) {
    TopazBoard board;
    board.run({
        {"2607", kAtqa},
        {"010A00" + kUid4 + "A8", "80070A0EAE0A080000"},  // capability container size
        {"010C00" + kUid4 + "A8", "80070C039B85080000"},  // NDEF TLV starts
        {"010A00A8", kNoTag},                             // empty UID box: too short
        {"010A0011223345A8", kNoTag},                     // another tag's UID
        {"017800" + kUid4 + "A8", kNoTag},                // past the 120 bytes
        {"53605A" + kUid4 + "A8", "8007605A2A86080000"},  // WRITE-E replaces
        {"1A60A5" + kUid4 + "A8", "800760FF8D74080000"},  // WRITE-NE only sets bits
        {"016000" + kUid4 + "A8", "800760FF8D74080000"},
    });
}

TEST(TopazTag, KeepsReadOnlyAndLockedBlocks) {
    TopazBoard board;
    board.run({
        {"2607", kAtqa},
        {"5302AA" + kUid4 + "A8", kNoTag},  // block 0, the UID, is locked
        {"5368AA" + kUid4 + "A8", kNoTag},  // block D is reserved
        // Lock bits only gain bits: 01 | 04 locks block 2 as well.
        {"537004" + kUid4 + "A8", "80077005C9B9080000"},
        {"5310AA" + kUid4 + "A8", kNoTag},
        {"5308AA" + kUid4 + "A8", "800708AA30DA080000"},
    });
}

// The upper half of the memory: blocks 8 to C hold data and block E the lock bytes and
// one-time bits; byte 3 of each takes 5A.
TEST(TopazTag, WritesTheUpperBlocks) {
    TopazBoard board;
    board.run({
        {"2607", kAtqa},
        {"53435A" + kUid4 + "A8", "8007435A718F080000"},
        {"534B5A" + kUid4 + "A8", "80074B5AB141080000"},
        {"53535A" + kUid4 + "A8", "8007535AE01A080000"},
        {"535B5A" + kUid4 + "A8", "80075B5A20D4080000"},
        {"53635A" + kUid4 + "A8", "8007635A42AC080000"},
        {"53735A" + kUid4 + "A8", "8007735AD339080000"},
        {"014300" + kUid4 + "A8", "8007435A718F080000"},
    });
}

// Bit n of the second lock byte (71) locks block 8 + n, and that block alone: every
// other data block still takes a write.
TEST(TopazTag, EachBitOfTheSecondLockByteLocksItsOwnBlock) {
    const char* const lockBits[] = {"01", "02", "04", "08", "10"};
    for (int bit = 0; bit < 5; ++bit) {
        SCOPED_TRACE(std::string("lock byte 71 = ") + lockBits[bit]);
        TopazBoard board;
        board.send("2607");
        ASSERT_EQ(board.send("1A71" + std::string(lockBits[bit]) + kUid4 + "A8").substr(0, 8),
                  "800771" + std::string(lockBits[bit]));
        for (int block = 1; block <= 0x0C; ++block) {
            std::string address;
            appendHex(address, static_cast<std::uint8_t>(block * 8 + 3));
            const std::string answer = board.send("53" + address + "5A" + kUid4 + "A8");
            if (block == 8 + bit) {
                EXPECT_EQ(answer, kNoTag) << "block " << block;
            } else {
                EXPECT_EQ(answer.substr(0, 8), "8007" + address + "5A") << "block " << block;
            }
        }
    }
}

TEST(TopazTag, ReadAllDoesNotFitTheAnswerBuffer) {
    TopazBoard board;
    board.run({{"2607", kAtqa}, {"000000" + kUid4 + "A8", "8900"}});
}

TEST(TopazTag, FieldOffPutsItBackToIdle) {
    TopazBoard board;
    board.run({{"2607", kAtqa}, {"78000000000000A8", kRid}});
    board.select("0000");
    board.select("02000300");
    board.run({{"78000000000000A8", kNoTag}});
}

TEST(TopazTag, BuiltFromIniKeys) {
    const std::string memory(240, 'A');  // 120 bytes of AA
    const auto parsed = parseBoardIni("[tag.1]\nkind=topaz\nuid=01020304050607\nmemory=" + memory +
                                      "\nhr0=12\nhr1=4C\n");
    ASSERT_TRUE(parsed.config.tags.has_value());
    std::vector<TagSpec> tags = *parsed.config.tags;
    TopazBoard board(tags);
    EXPECT_EQ(board.send("2607"), kAtqa);
    EXPECT_EQ(board.send("78000000000000A8").substr(0, 16), "800B124C01020304");
    EXPECT_EQ(board
                  .send("010800"
                        "01020304"
                        "A8")
                  .substr(4, 4),
              "08AA");

    const std::map<std::string, std::string> refused[] = {
        {{"uid", "0102030405"}},
        {{"memory", "00"}},
        {{"hr0", "1234"}},
    };
    for (const auto& keys : refused) {
        EXPECT_EQ(makeTopazTag({"topaz", keys}), nullptr) << keys.begin()->first;
    }
}

}  // namespace
