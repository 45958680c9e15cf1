#include "iso15693/requests.hpp"

#include <gtest/gtest.h>

namespace {

using namespace iso15693;

const QString kUid = QStringLiteral("07060504030201E0");

Addressing addressed(CommandOptions o = {}) { return {o, kUid}; }

CommandOptions options(DataRate rate, bool select, bool address, bool lockBits) {
    CommandOptions o;
    o.rate = rate;
    o.selectFlag = select;
    o.addressFlag = address;
    o.lockBits = lockBits;
    return o;
}

TEST(FlagsTest, CommandFormFromTheOptionsAndTheCommandsRules) {
    struct Case {
        CommandOptions o;
        FlagRule option, extension;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {{}, FlagRule::Base, FlagRule::Base, 0x02},
        {options(DataRate::Low, false, false, false), FlagRule::Base, FlagRule::Base, 0x00},
        {options(DataRate::HighTwoSc, false, false, false), FlagRule::Base, FlagRule::Base, 0x03},
        {options(DataRate::LowTwoSc, true, true, false), FlagRule::Base, FlagRule::Base, 0x31},
        // "Block Locking status" counts only for the commands that read it.
        {options(DataRate::High, false, false, true), FlagRule::Options, FlagRule::Base, 0x42},
        {options(DataRate::High, false, false, true), FlagRule::Base, FlagRule::Base, 0x02},
        {options(DataRate::High, false, false, true), FlagRule::Cleared, FlagRule::Base, 0x02},
        {{}, FlagRule::Base, FlagRule::Set, 0x0A},
        {options(DataRate::High, true, true, false), FlagRule::Base, FlagRule::Set, 0x3A},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(commandFlags(c.o, c.option, c.extension), c.expected) << int(c.expected);
    }
    // A base with bits the rule clears: the extension goes, whatever the base held.
    CommandOptions based;
    based.base = 0x08;
    EXPECT_EQ(commandFlags(based, FlagRule::Base, FlagRule::Cleared), 0x02);
    EXPECT_EQ(commandFlags(based, FlagRule::Base, FlagRule::Base), 0x0A);
}

TEST(FlagsTest, InventoryForm) {
    struct Case {
        DataRate rate;
        bool afi, oneSlot;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {DataRate::High, false, true, 0x26},     {DataRate::High, true, true, 0x36},
        {DataRate::High, false, false, 0x06},    {DataRate::Low, false, true, 0x24},
        {DataRate::LowTwoSc, false, true, 0x25}, {DataRate::HighTwoSc, false, true, 0x27},
    };
    for (const Case& c : cases) {
        InventoryOptions o;
        o.rate = c.rate;
        o.afiFlag = c.afi;
        o.oneSlot = c.oneSlot;
        EXPECT_EQ(inventoryFlags(o), c.expected) << int(c.expected);
    }
}

TEST(RequestsTest, BlockCommands) {
    const Addressing plain{};
    const auto lockBitsAddressed = addressed(options(DataRate::High, false, true, true));
    struct Case {
        std::string request;
        std::string expected;
    };
    const Case cases[] = {
        {readSingleBlock(plain, 0x05, 1), "022005"},
        {readSingleBlock(lockBitsAddressed, 0x05, 1), "6220" + kUid.toStdString() + "05"},
        {readSingleBlock(plain, 0x123, 2), "0A202301"},
        {fastReadSingleBlock(plain, 0x05, 1), "02C00205"},
        {readMultipleBlock(Addressing{options(DataRate::High, false, false, true), {}}, 0x08, 4, 1),
         "42230803"},
        {fastReadMultipleBlock(plain, 0x10, 8, 2), "0AC302100007"},
        {writeSingleBlock(plain, 0x05, 1, QStringLiteral("01 02 03 04 ")), "02210501020304"},
        {writeSingleBlock(Addressing{options(DataRate::High, false, false, true), {}}, 0x0A, 1,
                          QStringLiteral("11 22 33 44 ")),
         "42210A11223344"},
        // LOCK keeps the base option flag: "Block Locking status" does not change it.
        {lockBlock(Addressing{options(DataRate::High, false, false, true), {}}, 0x0A, 1), "02220A"},
        {lockBlock(addressed(options(DataRate::High, true, true, false)), 0x0A, 2),
         "3A22" + kUid.toStdString() + "0A00"},
        {getMultipleBlockSecurityStatus(plain, 0x10, 32, 1), "022C101F"},
        {getMultipleBlockSecurityStatus(plain, 0x123, 32, 2), "0A2C23011F00"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.request, c.expected);
}

TEST(RequestsTest, TagStateAfiDsfidAndSystemInfo) {
    const Addressing plain{};
    const auto addressFlag = addressed(options(DataRate::High, false, true, false));
    const Addressing noTagChosen{options(DataRate::High, false, true, false), {}};
    EXPECT_EQ(selectTag({}, kUid), "0225" + kUid.toStdString());
    EXPECT_EQ(selectTag(options(DataRate::LowTwoSc, true, false, false), kUid),
              "1125" + kUid.toStdString());
    EXPECT_EQ(resetToReady(plain), "0226");
    EXPECT_EQ(resetToReady(addressFlag), "2226" + kUid.toStdString());
    EXPECT_EQ(resetToReady(noTagChosen), "2226");
    EXPECT_EQ(stayQuiet(plain), "0202");
    // The option box does not reach the state commands.
    EXPECT_EQ(stayQuiet(Addressing{options(DataRate::High, false, false, true), {}}), "0202");

    EXPECT_EQ(writeAfi(plain, QStringLiteral("12 ")), "022712");
    EXPECT_EQ(writeDsfid(plain, QStringLiteral("12")), "022912");
    EXPECT_EQ(lockAfi(plain), "0228");
    EXPECT_EQ(lockDsfid(addressed(options(DataRate::High, false, true, true))),
              "622A" + kUid.toStdString());
    EXPECT_EQ(lockAfi(noTagChosen), "2228");

    EXPECT_EQ(getSystemInfo(plain, false), "022B");
    EXPECT_EQ(getSystemInfo(plain, true), "0A2B");
    EXPECT_EQ(getSystemInfo(Addressing{options(DataRate::High, false, true, true), kUid}, false),
              "222B" + kUid.toStdString());
}

TEST(RequestsTest, MakersCustomCommands) {
    const Addressing plain{};
    const auto addressFlag = addressed(options(DataRate::High, false, true, false));
    const Addressing lockBits{options(DataRate::High, false, false, true), {}};
    struct Case {
        std::string request;
        std::string expected;
    };
    const Case cases[] = {
        {writeKill(plain, QStringLiteral("11 22 33 44 ")), "02B1020011223344"},
        {kill(plain, QStringLiteral("11223344")), "02A6020011223344"},
        {kill(addressFlag, QStringLiteral("11223344")),
         "22A602" + kUid.toStdString() + "0011223344"},
        {writeSectorPassword(plain, 2, QStringLiteral("11223344")), "02B1020211223344"},
        {presentPassword(plain, 3, QStringLiteral("11223344")), "02B3020311223344"},
        {lockSectorPassword(plain, 0x05, 1, QStringLiteral("03 ")), "02B2020503"},
        {lockSectorPassword(plain, 0x105, 2, QStringLiteral("03")), "0AB202050103"},
        {presentPassword(lockBits, 1, QStringLiteral("00000000")), "42B3020100000000"},
        // LOCK KILL: the lock command for the kill password (number 00), lock byte 01.
        {lockKill(plain), "02B2020001"},
        {lockKill(addressFlag), "22B202" + kUid.toStdString() + "0001"},
        {lockKill(lockBits), "42B2020001"},
        {initiate({}), "02D202"},
        // INITIATE never carries the UID, whatever "Address Flag" says.
        {initiate(options(DataRate::High, false, true, false)), "22D202"},
        {fastInitiate({}), "02C202"},
        // The energy-harvesting reads clear the option flag; the writes take it.
        {readEhConfig(lockBits), "02A002"},
        {checkEhEnable(plain), "02A302"},
        {writeEhConfig(lockBits, QStringLiteral("05")), "42A10205"},
        {setResetEhConfig(plain, "01"), "02A20201"},
        {setResetEhConfig(plain, "00"), "02A20200"},
        {writeDoConfig(addressFlag, QStringLiteral("01")), "22A402" + kUid.toStdString() + "01"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.request, c.expected);
}

TEST(RequestsTest, InventoriesWithAfiAndMask) {
    InventoryOptions o;
    InventoryOptions afi;
    afi.afiFlag = true;
    auto params = [](const char* afiText, const char* length, std::vector<QString> mask) {
        InventoryParameters p;
        p.afi = QString::fromLatin1(afiText);
        p.maskLength = QString::fromLatin1(length);
        p.mask = std::move(mask);
        return p;
    };
    const std::vector<QString> eight{"34", "12", "56", "78", "9A", "BC", "DE", "F0"};
    struct Case {
        std::string request;
        std::string expected;
    };
    const Case cases[] = {
        {inventory(o, params("00", "00", eight)), "260100"},
        {inventoryInitiated(o, params("00", "00", eight)), "26D10200"},
        {fastInventoryInitiated(o, params("00", "00", eight)), "26C10200"},
        {inventory(afi, params("00", "00", eight)), "36010000"},
        {fastInventoryInitiated(afi, params("00", "10", eight)),
         "36C102001034"
         "12"},
        {inventory(o, params("00", "0C", eight)), "26010C3412"},
        {inventory(o, params("00", "09", eight)), "2601093412"},
        {inventory(o, params("00", "08", eight)), "26010834"},
        {inventory(o, params("00", "40", eight)),
         "260140"
         "3412"
         "5678"
         "9ABC"
         "DEF0"},
        // Empty boxes go as their design value "00": the AFI flag always with its byte,
        // as many mask bytes as the length says.
        {inventory(afi, params("", "", eight)), "36010000"},
        {inventory(o, params("", "10", {"", ""})), "2601100000"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.request, c.expected);
    EXPECT_EQ(maskByteCount(QStringLiteral("00")), 0);
    EXPECT_EQ(maskByteCount(QStringLiteral("01")), 1);
    EXPECT_EQ(maskByteCount(QStringLiteral("40")), 8);
    EXPECT_EQ(maskByteCount(QString()), 0);
}

}  // namespace
