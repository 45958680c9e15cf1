#include "transceiver/crc16.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using transceiver::Crc16OfHexText;

TEST(Crc16OfHexText, MatchesThePublishedCheckValues) {
    const struct {
        const char* hex;
        const char* crc;
    } cases[] = {
        {"", "0000"},
        {"313233343536373839", "6E90"},  // "123456789": check value 906E
        {"616263", "259E"},              // "abc"
        {"00", "78F0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Crc16OfHexText(QString::fromLatin1(c.hex)), QString::fromLatin1(c.crc)) << c.hex;
    }
}

// The register over raw bytes, as the simulated tags and the decoders use it: preset
// FFFF, reflected polynomial 8408, complemented.
TEST(Crc16OfHexText, TheRegisterOverBytesGivesTheStandardsCheckValues) {
    const struct {
        std::vector<std::uint8_t> bytes;
        std::uint16_t crc;
    } cases[] = {
        {{}, 0x0000},
        {{'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 0x906E},
        {{'a', 'b', 'c'}, 0x9E25},
        {{0x00}, 0xF078},
        // Over a frame followed by its own CRC, low byte first: the residue F0B8,
        // complemented.
        {{'1', '2', '3', '4', '5', '6', '7', '8', '9', 0x6E, 0x90}, 0x0F47},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::crc16Iso13239(c.bytes), c.crc) << c.bytes.size() << " bytes";
    }
}

// Inventory answers of ISO15693 tags (flags, DSFID, UID least significant byte first)
// and the CRC the tag appends to them.
TEST(Crc16OfHexText, InventoryFramesGiveTheCrcTheirTagsSend) {
    EXPECT_EQ(Crc16OfHexText(QStringLiteral("000078563412000002E0")), QStringLiteral("B54D"));
    EXPECT_EQ(Crc16OfHexText(QStringLiteral("0000BC9A78563412FFE0")), QStringLiteral("AD18"));
}

TEST(Crc16OfHexText, LowerCaseDigitsGiveTheSameCrc) {
    EXPECT_EQ(Crc16OfHexText(QStringLiteral("0a1b2c3d4e5f")),
              Crc16OfHexText(QStringLiteral("0A1B2C3D4E5F")));
}

TEST(Crc16OfHexText, AnInventoryReplyWithItsCrcLeavesTheStandardResidue) {
    // Flags, DSFID, then an 8-byte UID least significant byte first.
    const QString reply = QStringLiteral("0000") + QStringLiteral("8877665544330AE0");
    const QString crc = Crc16OfHexText(reply);
    ASSERT_EQ(crc.size(), 4);
    // Over the reply and its own CRC (low byte first) the complemented register always
    // ends at 0F47, whatever the data: this is how a receiver checks a frame.
    EXPECT_EQ(Crc16OfHexText(reply + crc), QStringLiteral("470F"));
    // A single flipped bit breaks it.
    EXPECT_NE(Crc16OfHexText(QStringLiteral("0100") + QStringLiteral("8877665544330AE0") + crc),
              QStringLiteral("470F"));
}

TEST(Crc16OfHexText, TextThatIsNotWholeHexBytesGivesAResult) {
    EXPECT_EQ(Crc16OfHexText(QStringLiteral("0")), QStringLiteral("0000"));  // lone digit ignored
    EXPECT_EQ(Crc16OfHexText(QStringLiteral("616263F")), QStringLiteral("259E"));
    EXPECT_EQ(Crc16OfHexText(QStringLiteral("ZZ")), Crc16OfHexText(QStringLiteral("00")));
    EXPECT_EQ(Crc16OfHexText(QStringLiteral("1Z")), Crc16OfHexText(QStringLiteral("01")));
    // Far more than an answer holds.
    EXPECT_EQ(Crc16OfHexText(QString(4000, QLatin1Char('A'))).size(), 4);
}

}  // namespace
