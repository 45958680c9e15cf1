#include "simboard/iso14443a_tag.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "reader/answer_buffer.hpp"
#include "simboard/board_config.hpp"
#include "simboard/simulated_board.hpp"

namespace {

using namespace simboard;

// Answers are written out by hand: the tag frame (CRC_A low byte first where the tag
// sends one), then the transceiver's status 08 (8 bits in the first byte, no error)
// and the two collision indexes.
const std::string kNoTag = "8700";
const std::string kAck = "90040A";
const std::string kNak = "900404";
const std::string kSakDone = "800600FE51080000";
const std::string kSakCascade = "800604DA17080000";

struct Exchange {
    std::string request;
    std::string answer;
};

class Iso14443aBoard {
  public:
    explicit Iso14443aBoard(std::vector<TagSpec> tags) : board_(configWith(std::move(tags))) {
        select("02000180");
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
    void run(const std::vector<Exchange>& script) {
        for (const Exchange& e : script) EXPECT_EQ(send(e.request), e.answer) << e.request;
    }
    SimulatedBoard& board() { return board_; }

  private:
    static BoardConfig configWith(std::vector<TagSpec> tags) {
        BoardConfig config;
        config.tags = std::move(tags);
        return config;
    }
    SimulatedBoard board_;
};

TagSpec tagWithUid(const std::string& uid) { return {"iso14443a", {{"uid", uid}}}; }

// Single, double and triple UIDs through the whole cascade: ATQA announcing the UID
// size, the cascade tag 88 and BCC at every level but the last, SAK 04 while the UID
// goes on and the tag's own SAK at the end.
TEST(Iso14443aTag, RunsTheCascadeForEveryUidSize) {
    struct Case {
        std::string uid;
        std::vector<Exchange> script;
    };
    const std::vector<Case> cases = {
        {"11223344",
         {{"2607", "80050400080000"},
          {"932008", "80081122334444080000"},
          {"93701122334444"
           "28",
           kSakDone}}},
        {"04A1B2C3D4E5F6",
         {{"2607", "80054400080000"},
          {"932008", "80088804A1B29F080000"},
          {"93708804A1B29F"
           "28",
           kSakCascade},
          {"952008", "8008C3D4E5F604080000"},
          {"9570C3D4E5F604"
           "28",
           kSakDone}}},
        {"04A1B2C3D4E5F6071829",
         {{"2607", "80058400080000"},
          {"932008", "80088804A1B29F080000"},
          {"93708804A1B29F"
           "28",
           kSakCascade},
          {"952008", "800888C3D4E57A080000"},
          {"957088C3D4E57A"
           "28",
           kSakCascade},
          {"972008", "8008F6071829C0080000"},
          {"9770F6071829C0"
           "28",
           kSakDone}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uid);
        Iso14443aBoard board({tagWithUid(c.uid)});
        board.run(c.script);
        // Selected: the tag now reads its memory.
        EXPECT_EQ(board.send("300028").substr(0, 4), "8015");
    }
}

TEST(Iso14443aTag, IgnoresFramesItDoesNotExpectAndFallsBackToIdle) {
    Iso14443aBoard board({tagWithUid("11223344")});
    board.run({
        {"300028", kNoTag},  // READ before selection
        {"2607", "80050400080000"},
        {"952008", kNoTag},  // wrong cascade level: back to idle
        {"932008", kNoTag},
        {"2607", "80050400080000"},
        {"93701122334400"
         "28",
         kNoTag},  // bad BCC
        {"932008", kNoTag},
        {"2607", "80050400080000"},
        {"93701122334444"
         "28",
         kSakDone},
        {"2607", kNoTag},            // a selected tag drops back to idle...
        {"2607", "80050400080000"},  // ...so a second REQA wakes it
        {"932008", "80081122334444080000"},
        {"93701122334444"
         "08",
         kNoTag},  // SELECT without its CRC
    });
    // A SELECT whose last byte is not whole is no SELECT, even when the bit left out is a
    // 0 and the CRC the user wrote in (8E 25 here) still reads right.
    Iso14443aBoard other({tagWithUid("01020304")});
    other.run({
        {"2607", "80050400080000"},
        {"932008", "80080102030404080000"},
        {"937001020304048E25"
         "07",
         kNoTag},
    });
}

TEST(Iso14443aTag, HaltKeepsTheTagQuietUntilWupa) {
    struct Case {
        std::string halt;
        bool halted;
    };
    const Case cases[] = {
        {"500028", true},  // 50 00 with its CRC: a real HALT
        {"5000", false},   // the byte 50 alone: not a HALT, the tag just falls back
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.halt);
        Iso14443aBoard board({tagWithUid("11223344")});
        board.run({{"2607", "80050400080000"},
                   {"932008", "80081122334444080000"},
                   {"93701122334444"
                    "28",
                    kSakDone},
                   {c.halt, kNoTag},
                   {"2607", c.halted ? kNoTag : "80050400080000"}});
        if (c.halted) board.run({{"5207", "80050400080000"}});
        // Woken from HALT, an unexpected frame sends it back to HALT, not to idle.
        board.run({{"300028", kNoTag}, {"2607", c.halted ? kNoTag : "80050400080000"}});
    }
}

// The default tag: 7-byte UID, 16 pages, capability container and NDEF Text record.
class DefaultTagMemory : public ::testing::Test {
  protected:
    DefaultTagMemory() : board_({TagSpec{"iso14443a", {}}}) { activate(); }
    void activate() {
        board_.run({{"2607", "80054400080000"},
                    {"932008", "80088804A1B29F080000"},
                    {"93708804A1B29F"
                     "28",
                     kSakCascade},
                    {"952008", "8008C3D4E5F604080000"},
                    {"9570C3D4E5F604"
                     "28",
                     kSakDone}});
    }
    Iso14443aBoard board_;
};

TEST_F(DefaultTagMemory, ReadsFourPagesRollingOverAtTheEnd) {
    board_.run({
        {"300028", "801504A1B29FC3D4E5F604000000E110060087D6080000"},
        {"300428", "8015031BD101175402656E54513733524E206422080000"},
        {"300F28", "80150000000004A1B29FC3D4E5F60400000054BF080000"},
    });
}

TEST_F(DefaultTagMemory, WritesChangeMemory) {
    board_.run({
        {"A2051122334428", kAck},
        {"300528", "8015112233446E54513733524E2073696D75268D080000"},
        // COMPATIBILITY WRITE: address first, then 16 bytes of which 4 are kept.
        {"A00628", kAck},
        {"AABBCCDD"
         "000000000000000000000000"
         "28",
         kAck},
        {"A2030000000028", kAck},  // the capability container only gains bits
        {"300028", "801504A1B29FC3D4E5F604000000E110060087D6080000"},
    });
    const std::string page6 = board_.send("300628").substr(4, 8);
    EXPECT_EQ(page6, "AABBCCDD");
}

TEST_F(DefaultTagMemory, RefusesPagesItCannotWriteOrDoesNotHave) {
    struct Case {
        std::string request;
    };
    const Case cases[] = {
        {"A2000102030428"},  // UID page
        {"A2100102030428"},  // past the last page
        {"301028"},
        {"A01028"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        EXPECT_EQ(board_.send(c.request), kNak);
        // A NAK leaves the tag idle.
        EXPECT_EQ(board_.send("300028"), kNoTag);
        activate();
    }
    EXPECT_EQ(board_.send("300028").substr(4, 8), "04A1B29F");
}

TEST(Iso14443aTag, TwoTagsCollideAtTheFirstDifferingBit) {
    // 22 and 2A differ in bit 3 of the second byte; their BCCs 44 and 4C too.
    Iso14443aBoard board({tagWithUid("11223344"), tagWithUid("112A3344")});
    board.run({
        {"2607", "80050400080000"},          // same ATQA: no collision
        {"932008", "8008112A33444C880103"},  // OR of both, collision byte 1 bit 3
        // Twelve bits known (11 and the low nibble A): only the second tag goes on,
        // and the byte the reader split comes back whole.
        {"9334110A"
         "04",
         "80072A33444C080000"},
        {"9370112A33444C"
         "28",
         kSakDone},
    });
    // The first tag heard a SELECT that was not its own and went idle.
    EXPECT_EQ(board.send("2607"), "80050400080000");
}

// The faults a test can ask of the board: a damaged CRC is reported in the error
// status (and only a frame that carries a CRC can have one), a forced status stands
// as given.
TEST(Iso14443aTag, ReportsRequestedAnswerFaults) {
    struct Case {
        AnswerFault fault;
        std::string anticollision;
        std::string select;
    };
    const Case cases[] = {
        {{std::nullopt, true}, "80081122334444080000", "800600A4F4280000"},
        {{std::uint8_t{0x28}, false}, "80081122334444280000", "800600FE51280000"},
    };
    for (const Case& c : cases) {
        Iso14443aBoard board({tagWithUid("11223344")});
        board.board().setAnswerFault(c.fault);
        board.run({{"2607", "80050400" + std::string(c.fault.statusByte ? "28" : "08") + "0000"},
                   {"932008", c.anticollision},
                   {"93701122334444"
                    "28",
                    c.select}});
    }
}

TEST(Iso14443aTag, FieldOffResetsTheState) {
    Iso14443aBoard board({tagWithUid("11223344")});
    board.run({{"2607", "80050400080000"},
               {"932008", "80081122334444080000"},
               {"93701122334444"
                "28",
                kSakDone},
               {"500028", kNoTag}});
    board.select("0000");
    board.select("02000180");
    board.run({{"2607", "80050400080000"}});
}

// The default antenna: each kind of type A tag is offered only under its own set-up.
TEST(Iso14443aTag, DefaultAntennaOffersEachKindUnderItsOwnSetUp) {
    SimulatedBoard board;
    reader::AnswerBuffer answer;
    const auto send = [&](const std::string& request) {
        board.sendReceive(request, answer);
        return answer.text();
    };
    board.select("02000300", answer);
    EXPECT_EQ(send("2607"), "8005000C080000");
    board.select("02000180", answer);
    EXPECT_EQ(send("2607"), "80054400080000");
    EXPECT_EQ(send("932008"), "80088804A1B29F080000");
}

// A tag described as a real one answers: its own ATQA (least significant byte first, as
// on air) and the SAK of each cascade level, the cascade bit 04 set until the last.
TEST(Iso14443aTag, IniKeysGiveTheRealAtqaAndLevelSaks) {
    struct Case {
        TagSpec spec;
        std::vector<Exchange> script;
    };
    const std::vector<Case> cases = {
        {{"iso14443a", {{"atqa", "44 03"}, {"sak1", "24"}, {"sak", "20"}}},
         {{"2607", "80054403080000"},
          {"932008", "80088804A1B29F080000"},
          {"93708804A1B29F"
           "28",
           "800624D836080000"},
          {"952008", "8008C3D4E5F604080000"},
          {"9570C3D4E5F604"
           "28",
           "800620FC70080000"}}},
        {{"iso14443a",
          {{"uid", "04A1B2C3D4E5F6071829"}, {"sak1", "64"}, {"sak2", "24"}, {"sak", "08"}}},
         {{"2607", "80058400080000"},
          {"93708804A1B29F"
           "28",
           "800664DC74080000"},
          {"957088C3D4E57A"
           "28",
           "800624D836080000"},
          {"9770F6071829C0"
           "28",
           "800608B6DD080000"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec.keys.begin()->second);
        Iso14443aBoard board({c.spec});
        board.run(c.script);
    }
}

TEST(Iso14443aTag, BuiltFromIniKeys) {
    const auto parsed = parseBoardIni(
        "[tag.1]\nkind=iso14443a\nuid=11 22 33 44\nsak=20\nmemory=0102030405060708\n");
    ASSERT_TRUE(parsed.config.tags.has_value());
    SimulatedBoard sim(parsed.config);
    reader::AnswerBuffer answer;
    sim.select("02000180", answer);
    for (const std::string request : {"2607", "932008"}) sim.sendReceive(request, answer);
    sim.sendReceive(
        "93701122334444"
        "28",
        answer);
    EXPECT_EQ(answer.text(), "800620FC70080000");  // SAK 20 with its CRC
    sim.sendReceive("300128", answer);             // two pages, read round and round
    EXPECT_EQ(answer.text().substr(4, 32), "05060708010203040506070801020304");

    const std::map<std::string, std::string> refused[] = {
        {{"uid", "1122334455"}},               // no such UID size
        {{"uid", "88223344"}},                 // would read as a cascade tag
        {{"uid", "11223344"}, {"sak", "04"}},  // SAK claiming the UID goes on
        {{"uid", "1122334G"}},
        {{"memory", std::string(2050, '0')}},  // more pages than a READ can address
        {{"sak1", "20"}},                      // a level SAK without the cascade bit
        {{"sak2", "24"}},                      // level 2 is the last of a 7-byte UID
        {{"uid", "11223344"}, {"sak1", "24"}},
        {{"uid", "04A1B2C3D4E5F6071829"}, {"sak2", "00"}},
        {{"sak1", "2"}},
        {{"atqa", "44"}},
        {{"atqa", "440300"}},
        {{"atqa", "440G"}},
    };
    for (const auto& keys : refused) {
        EXPECT_EQ(makeIso14443aTag({"iso14443a", keys}), nullptr) << keys.begin()->second;
    }
}

}  // namespace
