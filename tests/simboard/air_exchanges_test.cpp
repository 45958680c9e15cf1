#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "reader/answer_buffer.hpp"
#include "simboard/board_config.hpp"
#include "simboard/simulated_board.hpp"

// Whole exchanges as a reader puts them on air, each protocol under its own Protocol
// Select: the request with its CRC where the reader sends one (the append-CRC bit clear,
// or for type A the flag byte without its CRC bit), and the SendRecv answer: the tag's
// bytes as they come on air, its CRC, and the transceiver's trailing status. CRCs and
// answers were worked out by hand from the frame layouts of the standards; each capture
// runs on a fresh board, in order.
namespace simboard {
namespace {

struct Exchange {
    std::string request;
    std::string answer;
};

struct Capture {
    const char* name;
    const char* ini;
    const char* select;
    std::vector<Exchange> exchanges;
};

void PrintTo(const Capture& c, std::ostream* os) { *os << c.name; }

const std::string kNoTag = "8700";

// ISO15693: UID E0 01 02 03 04 05 06 07 (on air 07 06 ... E0), block 1 holds 11223344.
const char* const kIso15693Tag =
    "[tag.1]\nkind=iso15693\nuid=E001020304050607\nblocks=64\ndata=0000000011223344\n";
const std::string kInventory = "800D000007060504030201E08FF000";
const std::string kBlock1 = "80080011223344043E00";
const std::string kNotSupported = "80050101160700";
const std::string kNotRecognized = "800501028D3500";
const std::string kOptionNotSupported = "80050103042400";

const Capture kIso15693CrcBySender{"Iso15693CrcBySender",
                                   kIso15693Tag,
                                   "010C",  // 10% modulation, wait for SOF, no append CRC
                                   {
                                       {"260100"
                                        "F60A",
                                        kInventory},
                                       {"022001"
                                        "CE41",
                                        kBlock1},
                                       {"022D"
                                        "10C6",
                                        kNotSupported},
                                       {"022001FF"
                                        "33D0",
                                        kNotRecognized},
                                       {"422B"
                                        "40E5",
                                        kOptionNotSupported},
                                       {"022001"
                                        "CE40",
                                        kNoTag},            // CRC damaged
                                       {"022001", kNoTag},  // no CRC: "2001" is not one
                                       {"0000", kNoTag},    // a CRC with nothing before it
                                   }};

const Capture kIso15693CrcByTransceiver{"Iso15693CrcByTransceiver",
                                        kIso15693Tag,
                                        "010D",
                                        {
                                            {"260100", kInventory},
                                            {"022001", kBlock1},
                                            {"022D", kNotSupported},
                                            {"022001FF", kNotRecognized},
                                            {"422B", kOptionNotSupported},
                                            // A CRC added by hand is two bytes too many.
                                            {"022001"
                                             "CE41",
                                             kNotRecognized},
                                            {"260100"
                                             "F60A",
                                             kNoTag},
                                        }};

// ISO14443-B: the default card (PUPI A1B2C3D4) and SOLA tag (chip ID 37, block n holding
// 4n to 4n+3).
const char* const kIso14443bTags = "[tag.1]\nkind=iso14443b\n[tag.2]\nkind=sola\n";
const std::string kAtqb = "801050A1B2C3D40000000000718500E81100";

const Capture kIso14443bCrcBySender{"Iso14443bCrcBySender",
                                    kIso14443bTags,
                                    "0300",
                                    {
                                        {"0500F0"
                                         "FE08",
                                         kAtqb},
                                        {"1DA1B2C3D40007010A"
                                         "4E3B",
                                         "80041AA34F00"},  // CID 10, MBLI 1
                                        {"50A1B2C3D4"
                                         "024B",
                                         "80040078F000"},
                                        {"0500F0"
                                         "FE08",
                                         kNoTag},  // halted: only WUPB wakes it
                                        {"0600"
                                         "975B",
                                         "80043744B500"},
                                        {"0E37"
                                         "6BD0",
                                         "80043744B500"},
                                        {"0902AABBCCDD"
                                         "6177",
                                         kNoTag},  // WRITE BLOCK is never answered
                                        {"0802"
                                         "95E2",
                                         "8007AABBCCDDCB4F00"},
                                        {"0802"
                                         "95E3",
                                         kNoTag},
                                        {"0802", kNoTag},
                                    }};

const Capture kIso14443bCrcByTransceiver{"Iso14443bCrcByTransceiver",
                                         kIso14443bTags,
                                         "0301",
                                         {
                                             {"0500F0", kAtqb},
                                             {"1DA1B2C3D40007010A", "80041AA34F00"},
                                             {"50A1B2C3D4", "80040078F000"},
                                             {"0600", "80043744B500"},
                                             {"0E37", "80043744B500"},
                                             {"0902AABBCCDD", kNoTag},
                                             {"0802", "8007AABBCCDDCB4F00"},
                                             {"0802"
                                              "95E2",
                                              kNoTag},  // READ of four bytes
                                         }};

// FeliCa: IDm 0102030405060708, PMm 1112131415161718, system code 1A2B; the CRC goes
// high byte first and covers the length byte when there is one.
const std::string kPollingResponse = "80151201010203040506070811121314151617189EC600";

const Capture kFelicaCrcBySender{"FelicaCrcBySender",
                                 "[tag.1]\nkind=felica\n",
                                 "0450",
                                 {
                                     {"0600FFFF0000"
                                      "0921",
                                      kPollingResponse},
                                     {"00FFFF0000"
                                      "84C0",
                                      kPollingResponse},
                                     {"00FFFF0100"
                                      "B7F1",
                                      "80171401010203040506070811121314151617181A2B467500"},
                                     {"00FFFF0000"
                                      "C084",
                                      kNoTag},  // low byte first is not this CRC
                                     {"00FFFF0000", kNoTag},
                                 }};

const Capture kFelicaCrcByTransceiver{"FelicaCrcByTransceiver",
                                      "[tag.1]\nkind=felica\n",
                                      "0451",
                                      {
                                          {"00FFFF0000", kPollingResponse},
                                          {"0600FFFF0000", kPollingResponse},
                                          {"00FFFF0000"
                                           "84C0",
                                           kNoTag},
                                      }};

// Type A: a double-size tag as a real one answers (ATQA 44 03, SAK 24 then 20). The flag
// byte ends each request: 28 asks the transceiver for CRC_A, 08 sends the bytes as given.
const Capture kIso14443a{
    "Iso14443aRealAtqaAndSaks",
    "[tag.1]\nkind=iso14443a\nuid=04A1B2C3D4E5F6\natqa=4403\nsak1=24\nsak=20\n",
    "02000180",
    {
        {"2607", "80054403080000"},
        {"932008", "80088804A1B29F080000"},
        {"93708804A1B29F"
         "AE4C"
         "08",
         kNoTag},  // damaged CRC_A: back to idle
        {"5207", "80054403080000"},
        {"93708804A1B29F"
         "AE4B"
         "08",
         "800624D836080000"},
        {"9570C3D4E5F604"
         "28",
         "800620FC70080000"},
        {"3000"
         "02A8"
         "08",
         "801504A1B29FC3D4E5F604000000E110060087D6080000"},
        {"3000"
         "02A8"
         "28",
         kNoTag},  // CRC_A twice: not a READ
        {"5207", "80054403080000"},
        {"9370C3D4E5F604"
         "28",
         kNoTag},  // level 1 holds the cascade tag, not these bytes
        {"5207", "80054403080000"},
        {"93708804A1B29F"
         "28",
         "800624D836080000"},
        {"9570C3D4E5F604"
         "9E03"
         "08",
         "800620FC70080000"},
        {"5000"
         "57CD"
         "08",
         kNoTag},  // HALT
        {"2607", kNoTag},
        {"5207", "80054403080000"},
    }};

// TOPAZ: ATQA 0C00 low byte first, then the commands with CRC_A by hand (flag 88) or by
// the transceiver (flag A8).
const Capture kTopaz{"TopazAtqaAndCommands",
                     "[tag.1]\nkind=topaz\n",
                     "02000300",
                     {
                         {"2607", "8005000C080000"},
                         {"5207", "8005000C080000"},
                         {"78000000000000"
                          "8748"
                          "88",
                          "800B114811223344591B080000"},
                         {"010A0011223344"
                          "8FC0"
                          "88",
                          "80070A0EAE0A080000"},
                         {"010A0011223344"
                          "A8",
                          "80070A0EAE0A080000"},
                         {"010A0011223344"
                          "8FC1"
                          "88",
                          kNoTag},
                         {"00000011223344"
                          "5476"
                          "88",
                          "8900"},  // RALL: its 124 bytes do not fit the answer
                     }};

class AirExchanges : public ::testing::TestWithParam<Capture> {};

TEST_P(AirExchanges, EveryRequestGetsTheAnswerATagGivesOnAir) {
    const Capture& c = GetParam();
    const ParsedBoardIni parsed = parseBoardIni(c.ini);
    ASSERT_TRUE(parsed.warnings.empty()) << parsed.warnings.front();
    SimulatedBoard board(parsed.config);
    reader::AnswerBuffer answer;
    ASSERT_EQ(board.select(c.select, answer), reader::kStatusOk);
    ASSERT_EQ(answer.text(), "0000") << c.select;
    for (std::size_t i = 0; i < c.exchanges.size(); ++i) {
        const Exchange& e = c.exchanges[i];
        EXPECT_EQ(board.sendReceive(e.request, answer), reader::kStatusOk);
        EXPECT_EQ(answer.text(), e.answer) << "exchange " << i << ' ' << e.request;
    }
}

INSTANTIATE_TEST_SUITE_P(PerProtocol, AirExchanges,
                         ::testing::Values(kIso15693CrcBySender, kIso15693CrcByTransceiver,
                                           kIso14443bCrcBySender, kIso14443bCrcByTransceiver,
                                           kFelicaCrcBySender, kFelicaCrcByTransceiver, kIso14443a,
                                           kTopaz),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace simboard
