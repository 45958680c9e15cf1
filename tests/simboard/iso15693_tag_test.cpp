#include "simboard/iso15693_tag.hpp"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso15693_combiner.hpp"
#include "simboard/iso15693_tag_spec.hpp"

namespace {

using namespace simboard;

// The tag's UID E0 01 02 03 04 05 06 07 as it goes on air.
const std::string kUid = "07060504030201E0";
const std::string kOtherUid = "08060504030201E0";

// Whole SendRecv answers (tag frame, CRC low byte first, status byte), worked out by
// hand from the frame layout.
const std::string kNoTag = "8700";
const std::string kOk = "80040078F000";
const std::string kInventory = "800D000007060504030201E08FF000";
const std::string kBlock1 = "80080011223344043E00";
const std::string kErr01 = "80050101160700";
const std::string kErr02 = "800501028D3500";
const std::string kErr03 = "80050103042400";
const std::string kErr0F = "8005010F68EE00";
const std::string kErr10 = "800501101E0600";
const std::string kErr11 = "80050111971700";
const std::string kErr12 = "800501120C2500";
const std::string kErr15 = "80050115B35100";

ProtocolConfig normalRate() { return {Protocol::Iso15693, {0x0D}}; }
ProtocolConfig fastRate() { return {Protocol::Iso15693, {0x1D}}; }

// 300 blocks, so that both address widths and the range end can be reached.
// Block 1 11223344, block 2 55667788 (locked), block 0105 99AABBCC; sector 2
// (blocks 40-5F) is read and write protected by password 2, sector 3 (60-7F) write
// protected by password 3.
Iso15693TagConfig fixture() {
    Iso15693TagConfig c;
    c.uid = 0xE001020304050607ULL;
    c.dsfid = 0x00;
    c.afi = 0x32;
    c.icReference = 0x55;
    c.blockCount = 300;
    c.blockSize = 4;
    c.data.assign(300 * 4, 0);
    const Bytes b1{0x11, 0x22, 0x33, 0x44}, b2{0x55, 0x66, 0x77, 0x88},
        b105{0x99, 0xAA, 0xBB, 0xCC};
    std::copy(b1.begin(), b1.end(), c.data.begin() + 4);
    std::copy(b2.begin(), b2.end(), c.data.begin() + 8);
    std::copy(b105.begin(), b105.end(), c.data.begin() + 0x105 * 4);
    c.lockedBlocks = {2};
    c.sectorProtection = {0, 0, 0x02 | iso15693::kSectorReadProtected, 0x03};
    c.passwords[1] = {0xCA, 0xFE, 0xBA, 0xBE};
    c.passwords[2] = {0x0B, 0xAD, 0xF0, 0x0D};
    return c;
}

class Field {
  public:
    explicit Field(ProtocolConfig config = normalRate()) : config_(std::move(config)) {}

    Iso15693Tag& add(Iso15693TagConfig c) {
        auto tag = std::make_unique<Iso15693Tag>(std::move(c));
        Iso15693Tag& ref = *tag;
        antenna_.add(std::move(tag));
        return ref;
    }
    void setConfig(ProtocolConfig config) { config_ = std::move(config); }
    std::string send(const std::string& hex) {
        const auto frame = parseHex(hex);
        EXPECT_TRUE(frame) << hex;
        return antenna_.exchange(TagRequest{frame.value_or(Bytes{}), 0, config_});
    }
    Antenna& antenna() { return antenna_; }

  private:
    Antenna antenna_;
    ProtocolConfig config_;
};

struct Step {
    std::string request;
    std::string answer;
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

class Iso15693Commands : public ::testing::TestWithParam<Scenario> {};

// Each scenario runs its requests in order on one fresh tag, so state carries over.
TEST_P(Iso15693Commands, AnswerEachRequestAsTheTagWould) {
    Field field;
    field.add(fixture());
    for (const Step& step : GetParam().steps) {
        EXPECT_EQ(field.send(step.request), step.answer) << "request " << step.request;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tag, Iso15693Commands,
    ::testing::Values(
        Scenario{"reads",
                 {
                     {"022001", kBlock1},
                     {"422001", "8009000011223344FC0600"},  // security status first
                     {"02230101", "800C001122334455667788DEC500"},
                     {"42230101", "800E000011223344015566778866BA00"},  // block 2 locked
                     {"0A200501", "80080099AABBCCD07600"},              // two-byte address 0105
                     {"0A202C01", kErr10},    // block 012C is past the end
                     {"0A232A0102", kErr10},  // range running past the end
                     {"022C0003", "80080000000100AFD600"},
                     {"0A2C00000300", "80080000000100AFD600"},  // first and count two bytes
                     {"02", kNoTag},                            // no command code at all
                 }},
        Scenario{"addressed and selected modes",
                 {
                     {"2220" + kUid + "01", kBlock1},
                     {"2220" + kOtherUid + "01", kNoTag},
                     {"222001", kNoTag},  // Address flag without a UID
                     {"122001", kNoTag},  // Select flag while not selected
                     {"0225" + kUid, kOk},
                     {"122001", kBlock1},
                     {"022001", kBlock1},  // a selected tag still hears plain requests
                     {"0225" + kOtherUid, kNoTag},
                     {"122001", kNoTag},  // another SELECT sent it back to Ready
                     {"0225" + kUid, kOk},
                     {"1226", kOk},
                     {"122001", kNoTag},
                 }},
        Scenario{"quiet tag",
                 {
                     {"260100", kInventory},
                     {"0202", kNoTag},  // STAY QUIET is never answered
                     {"260100", kNoTag},
                     {"022001", kNoTag},
                     {"2220" + kUid + "01", kBlock1},  // addressed requests still reach it
                     {"2226" + kUid, kOk},
                     {"260100", kInventory},
                 }},
        Scenario{"writes and locks",
                 {
                     {"02210399887766", kOk},
                     {"022003", "8008009988776609A900"},
                     {"02210211223344", kErr12},  // locked block
                     {"022103112233", kErr02},    // short data
                     {"0A210501"
                      "11223344",
                      kOk},
                     {"022203", kOk},
                     {"022203", kErr11},
                     {"02210311223344", kErr12},
                     {"0A222C01", kErr10},
                     {"022C0201", "80060001019DCE00"},  // blocks 2 and 3 now locked
                 }},
        Scenario{"AFI, DSFID and system information",
                 {
                     {"022B", "8012000F07060504030201E00032FF0355265B00"},  // count FF
                     {"0A2B", "8013000F07060504030201E000322B010355340900"},
                     {"022733", kOk},
                     {"0228", kOk},
                     {"0228", kErr11},
                     {"022734", kErr12},
                     {"022944", kOk},
                     {"022A", kOk},
                     {"022945", kErr12},
                     {"022B", "8012000F07060504030201E04433FF0355AFAB00"},
                 }},
        Scenario{"kill",
                 {
                     {"02A60200DEADBEEF", kErr0F},  // no kill code written yet
                     {"02B10200DEADBEEF", kOk},
                     {"02A60200DEADBEEE", kErr0F},
                     {"02A60200DEADBEEF", kOk},
                     {"260100", kNoTag},
                     {"2220" + kUid + "01", kNoTag},
                     {"0225" + kUid, kNoTag},
                 }},
        Scenario{"sector passwords",
                 {
                     {"022040", kErr15},
                     {"422060", "800900060000000017CC00"},  // write-only protection reads
                     {"02216012345678", kErr12},
                     {"02B30202CAFEBABF", kErr0F},
                     {"02B30202CAFEBABE", kOk},
                     {"022040", "8008000000000077CF00"},
                     {"02B1020301020304", kErr0F},  // password 3 not presented
                     {"02B302030BADF00D", kOk},
                     {"02216012345678", kOk},
                     {"022060", "8008001234567887A800"},
                     {"02B1020301020304", kOk},
                     {"02B302030BADF00D", kErr0F},  // replaced
                     {"02B2024000", kOk},           // sector 2 opened by its password holder
                     {"02B2026001", kOk},           // password 3 presented: may change 3
                     {"02B3020400000000", kErr0F},  // there is no password 4
                 }},
        Scenario{"energy harvesting and maker code",
                 {
                     {"02A002", "80050000470F00"},
                     {"02A10205", kOk},
                     {"02A002", "80050005EA5800"},
                     {"02A20201", kOk},
                     {"02A302", "80050001CE1E00"},
                     {"02A20202", kErr0F},
                     {"02A40207", kOk},
                     {"02A003", kNoTag},  // another maker's command
                     {"02A502", kErr01},
                 }},
        // 01: a request code the tag does not know; 02: a known command in a frame too
        // short or too long for it; 03: the option flag on a command that has no option.
        // None of them changes the tag.
        Scenario{"error codes",
                 {
                     {"022D", kErr01},
                     {"2240" + kUid, kErr01},
                     {"0220", kErr02},
                     {"022001FF", kErr02},
                     {"0A2001", kErr02},  // two address bytes announced, one sent
                     {"02210311223344FF", kErr02},
                     {"0222", kErr02},
                     {"0223", kErr02},
                     {"022B00", kErr02},
                     {"022C00", kErr02},
                     {"0227", kErr02},
                     {"022A00", kErr02},
                     {"022600", kErr02},
                     {"0225" + kUid + "00", kErr02},
                     {"02B302", kErr02},
                     {"02A10205FF", kErr02},
                     {"422B", kErr03},
                     {"422C0003", kErr03},
                     {"4226", kErr03},
                     {"4225" + kUid, kErr03},
                     {"122001", kNoTag},  // neither SELECT above selected the tag
                     {"022001", kBlock1},
                     {"422001", "8009000011223344FC0600"},  // reads do have an option
                 }},
        Scenario{"initiate",
                 {
                     {"26D10200", kNoTag},  // not initiated yet
                     {"02D202", kInventory},
                     {"22D202", kInventory},  // never carries a UID
                     {"26D10200", kInventory},
                     {"02C202", kInventory},
                     {"26C10200", kInventory},
                     {"0202", kNoTag},
                     {"02D202", kNoTag},
                 }}));

// Every command the tag answers takes a frame of one length only: a byte short or a byte
// too long gets the malformed answer (02), in either address width, and changes nothing.
// Each request goes to a fresh tag, after the one step it needs, if any. Where the tag stays
// silent on a bad frame (inventories, a custom command without the maker code, a UID cut
// short) the refusal is no answer at all.
TEST(Iso15693Tag, RefusesEveryCommandOneByteShortOrOneByteTooLong) {
    using State = Iso15693Tag::State;
    const std::string kAccepted = "answered, not malformed";
    const std::string kNoShorter = "";  // nothing but the command code to leave out
    const struct {
        const char* what;
        std::string request;
        std::string shorter = kErr02;
        std::string longer = kErr02;
        Step before = {};
        bool killFamily = false;
        State after = State::Ready;  // of the well-formed request
    } cases[] = {
        {"READ SINGLE BLOCK", "022001"},
        {"READ SINGLE BLOCK, two-byte address", "0A200100"},
        {"WRITE SINGLE BLOCK", "02210399887766"},
        {"WRITE SINGLE BLOCK, two-byte address", "0A21030099887766"},
        {"LOCK BLOCK", "022203"},
        {"LOCK BLOCK, two-byte address", "0A220300"},
        {"READ MULTIPLE BLOCKS", "02230101"},
        {"READ MULTIPLE BLOCKS, two-byte address", "0A23010001"},
        {"SELECT", "0225" + kUid, kNoTag, kErr02, {}, false, State::Selected},
        {"RESET TO READY", "0226", kNoShorter},
        {"STAY QUIET", "0202", kNoShorter, kNoTag, {}, false, State::Quiet},
        {"WRITE AFI", "022733"},
        {"LOCK AFI", "0228", kNoShorter},
        {"WRITE DSFID", "022944"},
        {"LOCK DSFID", "022A", kNoShorter},
        {"GET SYSTEM INFO", "022B", kNoShorter},
        {"GET MULTIPLE BLOCK SECURITY STATUS", "022C0003"},
        {"GET MULTIPLE BLOCK SECURITY STATUS, two-byte address", "0A2C00000300"},
        {"INVENTORY", "260100", kNoTag, kNoTag},
        {"INITIATE", "02D202", kNoTag, kNoTag},
        {"FAST INITIATE", "02C202", kNoTag, kNoTag},
        {"INVENTORY INITIATED", "26D10200", kNoTag, kNoTag, {"02D202", kInventory}},
        {"FAST INVENTORY INITIATED", "26C10200", kNoTag, kNoTag, {"02C202", kInventory}},
        {"FAST READ SINGLE BLOCK", "02C00201"},
        {"FAST READ SINGLE BLOCK, two-byte address", "0AC0020100"},
        {"FAST READ MULTIPLE BLOCK", "02C3020101"},
        {"FAST READ MULTIPLE BLOCK, two-byte address", "0AC302010001"},
        {"READ EH CONFIG", "02A002", kNoTag},
        {"CHECK EH ENABLE", "02A302", kNoTag},
        {"WRITE EH CONFIG", "02A10205"},
        {"SET RESET EH CONFIG", "02A20201"},
        {"WRITE DO CONFIG", "02A40207"},
        // A password is as long as the product's page, so a byte more or less is another
        // password, not a malformed frame.
        {"KILL", "02A60200DEADBEEF", kAccepted, kAccepted, {"02B10200DEADBEEF", kOk}},
        {"WRITE KILL", "02B10200DEADBEEF", kAccepted, kAccepted},
        {"WRITE SECTOR PASSWORD",
         "02B1020301020304",
         kAccepted,
         kAccepted,
         {"02B302030BADF00D", kOk}},
        {"PRESENT PASSWORD", "02B30202CAFEBABE", kAccepted, kAccepted},
        {"LOCK SECTOR PASSWORD", "02B2020000"},
        {"LOCK SECTOR PASSWORD, two-byte address", "0AB202000000"},
        {"LOCK KILL", "02B2020000", kErr02, kErr02, {}, true},
    };
    for (const auto& c : cases) {
        const std::string longer = c.request + "00";
        const std::string shorter = c.request.substr(0, c.request.size() - 2);
        const struct {
            std::string request;
            std::string answer;
            State after;
        } variants[] = {
            {c.request, kAccepted, c.after},
            {shorter, c.shorter, State::Ready},
            {longer, c.longer, State::Ready},
        };
        for (const auto& v : variants) {
            if (v.answer == kNoShorter) continue;
            Iso15693TagConfig config = fixture();
            if (c.killFamily) config.family = Iso15693Family::KillCode;
            Field field;
            const Iso15693Tag& tag = field.add(config);
            if (!c.before.request.empty()) {
                ASSERT_EQ(field.send(c.before.request), c.before.answer) << c.what;
            }
            const std::string answer = field.send(v.request);
            if (v.answer != kAccepted) {
                EXPECT_EQ(answer, v.answer) << c.what << ": " << v.request;
            } else if (v.after == State::Quiet) {
                EXPECT_EQ(answer, kNoTag) << c.what << ": " << v.request;
            } else {
                EXPECT_NE(answer, kErr02) << c.what << ": " << v.request;
                EXPECT_NE(answer, kNoTag) << c.what << ": " << v.request;
            }
            EXPECT_EQ(tag.state(), v.after) << c.what << ": " << v.request;
        }
    }
}

// READ MULTIPLE BLOCKS refuses a range with any read-protected block in it, wherever it
// stands, in either address width; once the sector's password is presented each range
// reads whole. One-byte blocks, so that a range past a whole sector fits an answer.
TEST(Iso15693Tag, AMultipleReadIsRefusedWhereverAProtectedBlockStandsInIt) {
    Iso15693TagConfig smallBlocks = fixture();
    smallBlocks.blockSize = 1;
    smallBlocks.data.assign(300, 0);
    const struct {
        const char* what;
        const char* request;  // READ MULTIPLE: first block, count - 1
        int blocks;
    } cases[] = {
        {"protected block first", "02235F02", 3},                // 5F | 60 61
        {"protected blocks in the middle", "02233F21", 34},      // 3F | 40-5F | 60
        {"protected block last", "02233E02", 3},                 // 3E 3F | 40
        {"two-byte address, protected last", "0A233E0002", 3},   // 3E 3F | 40
        {"two-byte address, protected first", "0A235F0002", 3},  // 5F | 60 61
    };
    for (const auto& c : cases) {
        Field field;
        field.add(smallBlocks);
        EXPECT_EQ(field.send(c.request), kErr15) << c.what;
        ASSERT_EQ(field.send("02B30202CAFEBABE"), kOk);
        const std::string answer = field.send(c.request);
        const auto frameBytes = static_cast<std::uint8_t>(1 + c.blocks + 2);  // flags, data, CRC
        ASSERT_EQ(answer.size(), 2 + 2 + 2 * std::size_t{frameBytes} + 2) << c.what;
        // The length counts the status byte after the frame.
        EXPECT_EQ(answer.substr(0, 6),
                  "80" + toHex(Bytes{static_cast<std::uint8_t>(frameBytes + 1)}) + "00")
            << c.what;
        EXPECT_EQ(answer.substr(6, 2 * static_cast<std::size_t>(c.blocks)),
                  std::string(2 * static_cast<std::size_t>(c.blocks), '0'))
            << c.what;
    }
    // A range beside the protected sector reads without a password.
    Field field;
    field.add(smallBlocks);
    EXPECT_EQ(field.send("02233D02").substr(0, 12), "800700000000");
}

// Which INVENTORY requests reach the tag (AFI 32, UID ...0607).
TEST(Iso15693Inventory, AfiMaskAndSlotDecideWhetherTheTagAnswers) {
    const struct {
        const char* request;
        bool answers;
    } cases[] = {
        {"260100", true},
        {"36013200", true},
        {"36013300", false},
        {"36013000", true},  // family 3, any sub-family
        {"36010200", true},  // any family, sub-family 2
        {"36011200", false},
        {"36010000", true},
        {"26010807", true},
        {"26010808", false},
        {"26010C07F6", true},  // only the low 12 bits of the mask count
        {"26010C0707", false},
        {"26014007060504030201E0", true},
        {"26014107060504030201E000", false},  // longer than a UID
        {"260108", false},                    // mask byte missing
        {"060100", false},                    // 16 slots: the tag sits in slot 7
        {"06010407", true},                   // after the mask, slot 0
        {"06010417", true},
        {"06010807", false},  // slot of UID bits 8-11: 6
    };
    for (const auto& c : cases) {
        Field field;
        field.add(fixture());
        EXPECT_EQ(field.send(c.request), c.answers ? kInventory : kNoTag) << c.request;
    }
}

TEST(Iso15693Tag, FieldOffForgetsStateButNotMemoryOrDeath) {
    Field field;
    Iso15693Tag& tag = field.add(fixture());
    field.send("02212099887766");
    field.send("02D202");
    field.send("02B30202CAFEBABE");
    EXPECT_EQ(field.send("02B2020006"), kOk);  // sector 0 now behind password 2
    EXPECT_EQ(field.send("022001"), kBlock1);  // which is presented
    field.send("0202");
    ASSERT_EQ(tag.state(), Iso15693Tag::State::Quiet);
    field.antenna().fieldOff();
    EXPECT_EQ(field.send("260100"), kInventory);
    EXPECT_EQ(field.send("26D10200"), kNoTag);  // no longer initiated
    EXPECT_EQ(field.send("022040"), kErr15);    // password forgotten
    EXPECT_EQ(field.send("022001"), kErr15);
    EXPECT_EQ(field.send("022020"), "8008009988776609A900");

    field.send("0225" + kUid);
    field.antenna().fieldOff();
    EXPECT_EQ(field.send("122001"), kNoTag);

    field.send("02B10200DEADBEEF");
    field.send("02A60200DEADBEEF");
    field.antenna().fieldOff();
    EXPECT_EQ(field.send("260100"), kNoTag);
}

// On a tag of the kill family the lock command (B2) locks the kill code: the same frame
// that locks a sector elsewhere.
TEST(Iso15693Tag, AKillFamilyTagLocksItsKillCodeWithTheLockCommand) {
    Iso15693TagConfig c = fixture();
    c.family = Iso15693Family::KillCode;
    Field field;
    field.add(c);
    const Step steps[] = {
        {"02B10200DEADBEEF", kOk},
        {"02B2020000", kOk},  // lock byte 00: nothing locked
        {"02B10200CAFEBABE", kOk},
        {"02B2020001", kOk},
        {"02B2020001", kErr11},
        {"02B10200DEADBEEF", kErr12},  // the code cannot be written any more
        {"02B2020101", kErr0F},        // the kill code is password number 00
        {"02B20200", kErr02},
        {"022C0003", "80080000000100AFD600"},  // no block, no sector changed
        {"02A60200DEADBEEF", kErr0F},
        {"02A60200CAFEBABE", kOk},  // and it still kills
        {"022001", kNoTag},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(field.send(step.request), step.answer) << "request " << step.request;
    }
}

TEST(Iso15693Tag, StrictRateAnswersFastCommandsOnlyAtTheFastRate) {
    Iso15693TagConfig c = fixture();
    c.strictDataRate = true;
    Field field;
    field.add(c);
    EXPECT_EQ(field.send("02C00201"), kNoTag);
    EXPECT_EQ(field.send("022001"), kBlock1);
    field.setConfig(fastRate());
    EXPECT_EQ(field.send("02C00201"), kBlock1);
    EXPECT_EQ(field.send("02C3020101"), "800C001122334455667788DEC500");
    EXPECT_EQ(field.send("022001"), kNoTag);
}

// A tag without energy harvesting does not know those commands at all.
TEST(Iso15693Tag, EnergyHarvestingCommandsAreUnknownToATagWithout) {
    Iso15693TagConfig c = fixture();
    c.energyHarvesting = false;
    Field field;
    field.add(c);
    for (const char* request : {"02A002", "02A10205", "02A20201", "02A302", "02A40207"}) {
        EXPECT_EQ(field.send(request), kErr01) << request;
    }
}

TEST(Iso15693Tag, HearsOnlyTheIso15693Protocol) {
    Field field({Protocol::Iso14443A, {0x00}});
    field.add(fixture());
    EXPECT_TRUE(field.antenna()
                    .broadcast(TagRequest{{0x26, 0x01, 0x00}, 0, {Protocol::Iso14443A, {0x00}}})
                    .empty());
}

// The public examples: the ISO/IEC 15693-3 CRC worked example, and an INVENTORY
// request whose CRC is known from the standard's frames.
TEST(Iso15693Crc, MatchesThePublishedValues) {
    EXPECT_EQ(crc16Iso13239({0x01, 0x02, 0x03, 0x04}), 0x3991);
    EXPECT_EQ(crc16Iso13239({0x26, 0x01, 0x00}), 0x0AF6);
    EXPECT_EQ(crc16Iso13239(*parseHex("313233343536373839")), 0x906E);
}

TEST(Iso15693TagSpec, DefaultTagIsTheLargestProductWithSomethingInEachCorner) {
    Field field;
    field.antenna().add(makeIso15693Tag(TagSpec{"iso15693", {}}));
    EXPECT_EQ(field.send("260100"), "800D000008070605040302E044FE00");
    // 64 kbit: 2048 blocks of four bytes, so 07FF is the last block.
    EXPECT_EQ(field.send("0A2B"), "8013000F08070605040302E00000FF07032ABE5700");
    EXPECT_EQ(field.send("0A200000"), "80080054513733004900");  // "TQ73"
    EXPECT_EQ(field.send("0A20FF07"), "8008000000000077CF00");
    EXPECT_EQ(field.send("0A200008"), kErr10);
    EXPECT_EQ(field.send("022101AABBCCDD"), kErr12);  // the locked block
    EXPECT_EQ(field.send("022020"), kErr15);          // the protected sector
    EXPECT_EQ(field.send("02B3020111223344"), kOk);
    EXPECT_EQ(field.send("022020"), "80080052656164484600");  // "Read"
}

TEST(Iso15693TagSpec, SectionKeysDescribeOtherTags) {
    using Keys = std::map<std::string, std::string>;
    const struct {
        Keys keys;
        bool builds;
        const char* request;  // sent to the tag built
        const char* answer;
    } cases[] = {
        {{{"uid", "E001020304050607"}, {"afi", "32"}, {"ic", "55"}, {"blocks", "300"}},
         true,
         "0A2B",
         "8013000F07060504030201E000322B010355340900"},
        {{{"data", "0000000011223344"}}, true, "022001", kBlock1.c_str()},
        {{{"size", "2"}, {"blocksize", "4"}}, true, "022040", kErr10.c_str()},
        // A size alone makes a fresh tag: its blocks hold zeros, not the default's corners.
        {{{"size", "2"}}, true, "022000", "8008000000000077CF00"},
        {{{"uid", "E001020304050607"}, {"dsfid", "00"}},
         true,
         "260100",
         "800D000007060504030201E08FF000"},
        {{{"blocks", "8"}, {"locked", "3, 05"}}, true, "022C0007", "800C0000000001000100007FE000"},
        {{{"uid", "E00102030405060"}}, false, "", ""},
        {{{"uid", "E00102030405060G"}}, false, "", ""},
        {{{"dsfid", "1"}}, false, "", ""},
        {{{"blocks", "0"}}, false, "", ""},
        {{{"blocks", "65537"}}, false, "", ""},
        {{{"blocksize", "33"}}, false, "", ""},
        {{{"data", "ABC"}}, false, "", ""},
        {{{"locked", "3;4"}}, false, "", ""},
        // Sector 1 has no password: a sector tag changes its byte, a kill tag knows no
        // password number 01 of its lock.
        {{{"blocks", "64"}, {"family", "password"}}, true, "02B2022001", kOk.c_str()},
        {{{"blocks", "64"}, {"family", "kill"}}, true, "02B2022001", kErr0F.c_str()},
        {{{"family", "sector"}}, false, "", ""},
    };
    for (const auto& c : cases) {
        auto tag = makeIso15693Tag(TagSpec{"iso15693", c.keys});
        ASSERT_EQ(tag != nullptr, c.builds) << testing::PrintToString(c.keys);
        if (!tag) continue;
        Field field;
        field.antenna().add(std::move(tag));
        EXPECT_EQ(field.send(c.request), c.answer) << c.request;
    }
}

}  // namespace
