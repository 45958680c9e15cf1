#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "reader/answer_buffer.hpp"
#include "simboard/board_config.hpp"
#include "simboard/simulated_board.hpp"

// Each window's requests in the order a user meets them, through the library calls
// the windows make, with the whole answer text they read. Tag CRCs were worked out
// apart from the simulator; tags are described as a user would in simulated-board.ini.
namespace simboard {
namespace {

enum class Call { Select, SendReceive, KvCmd, Echo, FieldOff };

struct Step {
    Call call;
    std::string request;
    std::string answer;
};

struct Window {
    const char* name;
    const char* ini;  // empty: the default antenna
    std::vector<Step> steps;
};

Step sel(std::string r, std::string a = "0000") {
    return {Call::Select, std::move(r), std::move(a)};
}
Step tx(std::string r, std::string a) { return {Call::SendReceive, std::move(r), std::move(a)}; }
Step kv(std::string r, std::string a) { return {Call::KvCmd, std::move(r), std::move(a)}; }

const std::string kNoTag = "8700";
const std::string kOk15693 = "80040078F000";  // response flags 00 alone

// UID E0 01 02 03 04 05 06 07, sent least significant byte first.
const std::string kUid = "07060504030201E0";
const std::string kInventory = "800D000007060504030201E08FF000";

const Window kIso15693Window{
    "Iso15693",
    "[tag.1]\nkind=iso15693\nuid=E001020304050607\nic=22\nblocks=64\n"
    "data=1122334455667788\nlocked=01 03\n",
    {
        {Call::Echo, "", "5500"},
        sel("010D"),
        tx("260100", kInventory),
        tx("26D10200", kNoTag),  // not initiated yet
        tx("02D202", kInventory),
        tx("22D202", kInventory),  // the Address flag without a UID
        tx("26D10200", kInventory),
        // Reads, with and without the block security status.
        tx("022000", "80080011223344043E00"),
        tx("422000", "8009000011223344FC0600"),
        tx("422001", "8009000155667788922100"),
        tx("02230001", "800C001122334455667788DEC500"),
        tx("42230001", "800E000011223344015566778866BA00"),
        tx("022C0003", "80080000010001228400"),
        tx("022240", "800501101E0600"),
        // System information: block count in one byte, or two with the extension flag.
        tx("022B", "8012000F07060504030201E000003F0322002300"),
        tx("0A2B", "8013000F07060504030201E000003F000322C42700"),
        // Writes and locks.
        tx("02210155667788", "800501120C2500"),
        tx("0221020A0B0C0D", kOk15693),
        tx("022002", "8008000A0B0C0D3A4800"),
        tx("022202", kOk15693),
        tx("022202", "80050111971700"),
        tx("0A2C00000300", "80080000010101FA9D00"),
        // Addressed and selected.
        tx("2220" + kUid + "00", "80080011223344043E00"),
        tx("22200807060504030201E000", kNoTag),
        tx("122000", kNoTag),  // Select flag, nothing selected yet
        tx("0225" + kUid, kOk15693),
        tx("122000", "80080011223344043E00"),
        tx("1226", kOk15693),
        tx("122000", kNoTag),
        tx("2202" + kUid, kNoTag),  // STAY QUIET is never answered
        tx("260100", kNoTag),
        tx("2226" + kUid, kOk15693),
        tx("260100", kInventory),
        // The board's own anticollision.
        kv("02A00126", "800A010007060504030201E0"),
        kv("02A00106", "800A010007060504030201E0"),
        kv("02A00136", "800A010007060504030201E0"),
        // Fast commands under the fast setting, then back.
        sel("011D"),
        tx("02C202", kInventory),
        tx("26C10200", kInventory),
        tx("36C10200100706", kInventory),
        tx("36C10200103412", kNoTag),
        tx("02C00200", "80080011223344043E00"),
        tx("02C3020001", "800C001122334455667788DEC500"),
        sel("010D"),
    }};

const Window kIso15693Afi{"Iso15693AfiDsfidAndCustom",
                          "[tag.1]\nkind=iso15693\nuid=E001020304050607\nblocks=64\n",
                          {
                              sel("010D"),
                              tx("022712", kOk15693),
                              tx("0228", kOk15693),
                              tx("022713", "800501120C2500"),
                              tx("0228", "80050111971700"),
                              tx("022934", kOk15693),
                              tx("022A", kOk15693),
                              tx("022956", "800501120C2500"),
                              tx("36011200", "800D003407060504030201E0C7C700"),
                              tx("36011300", kNoTag),
                              tx("36010000", "800D003407060504030201E0C7C700"),
                              // Energy harvesting and the DO configuration.
                              tx("42A10205", kOk15693),
                              tx("02A002", "80050005EA5800"),
                              tx("02A20201", kOk15693),
                              tx("02A302", "80050001CE1E00"),
                              tx("22A402" + kUid + "01", kOk15693),
                              // A byte too many, then a custom command of another maker.
                              tx("02A00203", "800501028D3500"),
                              tx("02A003", kNoTag),
                          }};

const Window kIso15693Kill{"Iso15693PasswordsAndKill",
                           "[tag.1]\nkind=iso15693\nuid=E001020304050607\nblocks=64\n",
                           {
                               sel("010D"),
                               tx("02B30201AABBCCDD", "8005010F68EE00"),
                               tx("02B3020100000000", kOk15693),
                               tx("02B10200AABBCCDD", kOk15693),
                               tx("02A60200AABBCCDE", "8005010F68EE00"),
                               tx("02A60200AABBCCDD", kOk15693),
                               tx("260100", kNoTag),
                               kv("02A00126", "800100"),
                           }};

const Window kIso14443aWindow{
    "Iso14443a",
    "",
    {
        {Call::Echo, "", "5500"},
        sel("02000180"),
        kv("0109043A005804", "0000"),
        kv("010904680101D1", "0000"),
        kv("0109110B00241204880F1F3F3F01000505005500", "0000"),
        tx("2607", "80054400080000"),
        tx("932008", "80088804A1B29F080000"),
        tx("93708804A1B29F28", "800604DA17080000"),
        tx("952008", "8008C3D4E5F604080000"),
        tx("9570C3D4E5F60428", "800600FE51080000"),
        tx("A20411223344"
           "28",
           "90040A"),
        tx("A004"
           "28",
           "90040A"),
        tx("0102030405060708090A0B0C0D0E0F10"
           "28",
           "90040A"),
        tx("A20555667788"
           "28",
           "90040A"),
        tx("A20011223344"
           "28",
           "900404"),  // the UID page: refused with a NAK the console reads
        // A HALT without its CRC halts nothing: the tag answers the next REQA.
        tx("5000", kNoTag),
        tx("2607", "80054400080000"),
        tx("932008", "80088804A1B29F080000"),
        tx("93708804A1B29F28", "800604DA17080000"),
        tx("952008", "8008C3D4E5F604080000"),
        tx("9570C3D4E5F60428", "800600FE51080000"),
        tx("500028", kNoTag),
        tx("2607", kNoTag),
        tx("5207", "80054400080000"),
    }};

const Window kIso14443aScript{
    "Iso14443aTripleUidAndScriptPasses",
    "[tag.1]\nkind=iso14443a\nuid=04A1B2C3D4E5F6071829\n",
    {
        sel("02000180"), tx("2607", "80058400080000"), tx("932008", "80088804A1B29F080000"),
        tx("93708804A1B29F28", "800604DA17080000"), tx("952008", "800888C3D4E57A080000"),
        tx("957088C3D4E57A28", "800604DA17080000"), tx("972008", "8008F6071829C0080000"),
        tx("9770F6071829C028", "800600FE51080000"),
        // A tag left selected by the previous pass: the first REQA wakes nothing.
        tx("2607", kNoTag), tx("2607", "80058400080000"), tx("932008", "80088804A1B29F080000"),
        tx("93708804A1B29E28", kNoTag),  // a damaged part is not selected
    }};

const Window kIso14443aProbeSingle{"Iso14443aSingleUid",
                                   "[tag.1]\nkind=iso14443a\nuid=04A1B2C3\nsak=08\n",
                                   {
                                       sel("02000180"),
                                       tx("2607", "80050400080000"),
                                       tx("932008", "800804A1B2C3D4080000"),
                                       tx("937004A1B2C3D428", "800608B6DD080000"),
                                       sel("0000"),
                                       sel("02000180"),
                                       tx("2607", "80050400080000"),
                                   }};

const Window kTopaz{"Topaz",
                    "",
                    {
                        sel("02000300"),
                        kv("0109043A005804", "0000"),
                        tx("2607", "8005000C080000"),  // ATQA 0C00, low byte first
                        tx("78000000000000A8", "800B114811223344591B080000"),
                        tx("010A0011223344A8", "80070A0EAE0A080000"),
                        tx("010A00A8", kNoTag),
                        tx("53605A11223344A8", "8007605A2A86080000"),
                        tx("1A60A511223344A8", "800760FF8D74080000"),
                        tx("016000"
                           "11223344A8",
                           "800760FF8D74080000"),
                    }};

const Window kIso14443bWindow{"Iso14443b",
                              "",
                              {
                                  {Call::Echo, "", "5500"},
                                  sel("03010180"),
                                  kv("01090468010130", "0000"),
                                  tx("0500F0", "801050A1B2C3D40000000000718500E81100"),
                                  tx("1DA1B2C3D400070100", "800410F9E000"),
                                  tx("0500F0", kNoTag),  // an active card ignores polls
                                  sel("0000"),
                                  sel("03010180"),
                                  tx("0500F8", "801050A1B2C3D40000000000718500E81100"),
                                  tx("1D0000000000070100", kNoTag),  // another card's PUPI
                                  sel("0301"),
                                  tx("0500F0", "801050A1B2C3D40000000000718500E81100"),
                              }};

const Window kSola{"SolaAnticollisionAndMemory",
                   "[tag.1]\nkind=sola\nchipid=5A\nuid=8877665544332211\n",
                   {
                       sel("03010180"),
                       tx("0C", kNoTag),
                       tx("0600", "80045AA70D00"),
                       tx("16", kNoTag),
                       tx("96", kNoTag),
                       tx("A6", "80045AA70D00"),
                       tx("0E5A", "80045AA70D00"),
                       tx("0B", "800B11223344556677884AF700"),
                       tx("090211223344", kNoTag),  // the tag writes silently
                       tx("0802", "800711223344AD0D00"),
                       tx("0F", kNoTag),
                       tx("0B", kNoTag),
                   }};

const Window kFelica{"Felica",
                     "",
                     {
                         sel("0451"),
                         kv("01090468010150", "0000"),
                         kv("0109040A0102A1", "0000"),
                         tx("00FFFF0000", "80151201010203040506070811121314151617189EC600"),
                         tx("0600FFFF0000", "80151201010203040506070811121314151617189EC600"),
                     }};

// The detection probes and the script on one default board: field off between passes.
const Window kDetectionPass{"DetectionProbes",
                            "",
                            {
                                sel("0000"),
                                sel("010D"),
                                tx("260100", "800D000008070605040302E044FE00"),
                                sel("0000"),
                                sel("03010180"),
                                kv("01090468010130", "0000"),
                                tx("0C", kNoTag),
                                tx("0600", "80043744B500"),
                                tx("76", "80043744B500"),
                                tx("86", kNoTag),
                                tx("0500F0", "801050A1B2C3D40000000000718500E81100"),
                                sel("0000"),
                                sel("02000180"),
                                tx("2607", "80054400080000"),
                                sel("0000"),
                                sel("0451"),
                                tx("00FFFF0000", "80151201010203040506070811121314151617189EC600"),
                                {Call::FieldOff, "", "0000"},
                                // The script's own frames.
                                kv("010100", "000F54513733524E2D53494D2D324110EF"),
                                kv("0155", "5500"),
                                kv("010202010D", "0000"),
                                kv("010403260100", "800D000008070605040302E044FE00"),
                            }};

// Idle and register frames of the tag detection window and the console presets, on an
// empty antenna (amplitude A2).
const Window kTagDetector{"TagDetectorEmptyAntenna",
                          "[board]\nemptyAntenna=true\n",
                          {
                              kv("0803620100", "8200"),  // the "01" prefix is part of the request
                              kv("010803620100", "000100"),
                              kv("01070E03A100F80118002060600000"
                                 "3F01",
                                 "000102"),
                              kv("010803620100", "000102"),
                              kv("01070E03A100F8011800206060"
                                 "00FC"
                                 "3F01",
                                 "000101"),
                              kv("010803620100", "000101"),
                              kv("01070E03A100F8011800206060"
                                 "00A0"
                                 "3F01",
                                 "000102"),
                              kv("01070E03A100F8011800206060"
                                 "00A4"
                                 "3F01",
                                 "000101"),
                              kv("01090460011800", "0000"),
                              kv("01070E0B21007901180020606000FF3F01", "000101"),
                              kv("01070E0B21007901180020606098A83F01", "000101"),
                              // Console presets 0 to 3.
                              kv("01070E0804000400180000000000000000", "000108"),
                              kv("01070E0801003800180000600000000000", "000108"),
                              kv("01070E1001003800180000600000000000", "000110"),
                              kv("01070E0121003800180060600000000008", "000101"),
                              // The ARC_B register through the analog index.
                              kv("0109036800"
                                 "01",
                                 "0000"),
                              kv("010904680101"
                                 "30",
                                 "0000"),
                              kv("010803690100", "000130"),
                          }};

void PrintTo(const Window& w, std::ostream* os) { *os << w.name; }

// What the windows send when a box is empty or a user types the frame: the tag stays
// silent, or the transceiver refuses the text; nothing else changes.
const Window kEmptyBoxesAndRawFrames{
    "EmptyBoxesAndRawFrames",
    "",
    {
        kv("02A00126", "800100"),  // not set up for ISO15693 yet
        sel("010D"),
        tx("2220"
           "00",
           kNoTag),              // Address flag, no tag chosen
        tx("26010", "8200"),     // odd digit count
        tx("26 01 00", "8200"),  // blanks left in
        tx("2601zz", "8200"),
        tx("260100", "800D000008070605040302E044FE00"),
        sel("02000180"),
        tx("2607", "80054400080000"),
        tx("9308", kNoTag),  // the anticollision argument box empty
        tx("2607", "80054400080000"),
        sel("03010180"),
        tx("05F0", kNoTag),  // REQB with the AFI box empty
        tx("0500F0", "801050A1B2C3D40000000000718500E81100"),
        tx("0600", "80043744B500"),
        tx("0E", kNoTag),  // SELECT with the chip ID box empty
        tx("06", kNoTag),  // slot marker 0: a cut INITIATE
        tx("0E37", "80043744B500"),
        tx("0810", kNoTag),            // past the 16 blocks of the default tag
        kv("01090468010700", "0000"),  // HFO to RF, and back
        kv("01090468010710", "0000"),
        kv("0109046801", "8200"),
    }};

class WindowExchanges : public ::testing::TestWithParam<Window> {};

TEST_P(WindowExchanges, EveryRequestGetsTheAnswerTheWindowReads) {
    const Window& w = GetParam();
    SimulatedBoard board;
    if (*w.ini != '\0') {
        const ParsedBoardIni parsed = parseBoardIni(w.ini);
        ASSERT_TRUE(parsed.warnings.empty()) << parsed.warnings.front();
        board.applyConfig(parsed.config);
    }
    for (std::size_t i = 0; i < w.steps.size(); ++i) {
        const Step& s = w.steps[i];
        reader::AnswerBuffer answer = reader::AnswerBuffer::blanks();
        reader::LibraryStatus status = reader::kStatusOk;
        switch (s.call) {
            case Call::Select:
                status = board.select(s.request, answer);
                break;
            case Call::SendReceive:
                status = board.sendReceive(s.request, answer);
                break;
            case Call::KvCmd:
                status = board.kvCmd(s.request, answer);
                break;
            case Call::Echo:
                status = board.echo(answer);
                break;
            case Call::FieldOff:
                status = board.fieldOff(answer);
                break;
        }
        EXPECT_EQ(status, reader::kStatusOk) << "step " << i << ' ' << s.request;
        EXPECT_EQ(answer.text(), s.answer) << "step " << i << ' ' << s.request;
    }
}

INSTANTIATE_TEST_SUITE_P(PerWindow, WindowExchanges,
                         ::testing::Values(kIso15693Window, kIso15693Afi, kIso15693Kill,
                                           kIso14443aWindow, kIso14443aScript,
                                           kIso14443aProbeSingle, kTopaz, kIso14443bWindow, kSola,
                                           kFelica, kDetectionPass, kTagDetector,
                                           kEmptyBoxesAndRawFrames),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace simboard
