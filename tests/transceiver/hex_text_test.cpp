#include "transceiver/hex_text.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/hex_checks.hpp"
#include "core/program_values.hpp"
#include "scripted_ui.hpp"

namespace {

using transceiver::Hex4;
using transceiver::HexPad;
using transceiver::HexPadLong;

struct PadCase {
    const char* name;
    QString result;
    const char* expected;
};

TEST(HexFormatting, PadsWithinTheAllowedZerosAndNeverCuts) {
    const PadCase cases[] = {
        {"HexPad 5 w2", HexPad(5, 2), "05"},
        {"HexPad 255 w2", HexPad(255, 2), "FF"},
        {"HexPad too long for width", HexPad(0x123, 2), "123"},
        {"HexPad longer than width 1", HexPad(0x12345678, 1), "12345678"},
        {"HexPad w0", HexPad(5, 0), "5"},
        {"HexPad w1", HexPad(5, 1), "5"},
        {"HexPad seven zeros", HexPad(5, 8), "00000005"},
        {"HexPad eight zeros refused", HexPad(5, 9), "5"},
        {"HexPad negative", HexPad(-1, 2), "FFFFFFFF"},
        {"HexPad zero", HexPad(0, 2), "00"},
        {"HexPad wide width", HexPad(5, 255), "5"},
        {"HexPadLong eight zeros", HexPadLong(5, 9), "000000005"},
        {"HexPadLong nine zeros refused", HexPadLong(5, 10), "5"},
        {"HexPadLong colour", HexPadLong(0xFFC0C0, 8), "00FFC0C0"},
        {"Hex4 one digit", Hex4(10), "000A"},
        {"Hex4 four digits", Hex4(0x1234), "1234"},
        {"Hex4 five digits", Hex4(0x12345), "12345"},
        {"Hex4 zero", Hex4(0), "0000"},
        {"Hex4 negative", Hex4(-2), "FFFFFFFE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, QString::fromLatin1(c.expected)) << c.name;
    }
}

struct CheckCase {
    const char* text;
    bool valid;
};

TEST(HexChecks, AddressAcceptsHexOfEitherCaseAndShowsItsMessageOtherwise) {
    const CheckCase cases[] = {
        {"", false}, {"0G", false}, {"G0", false},  {"1 ", false}, {"12345Z", false},
        {"A", true}, {"1f", true},  {"00FF", true}, {"abc", true},
    };
    for (const auto& c : cases) {
        testsupport::ScriptedUi ui;
        ui.allowAnyMessage();
        EXPECT_EQ(core::IsHexAddress(ui, QString::fromLatin1(c.text)), c.valid) << c.text;
        if (c.valid) {
            EXPECT_TRUE(ui.messages().empty()) << c.text;
        } else {
            ASSERT_EQ(ui.messages().size(), 1U) << c.text;
            const auto& m = ui.messages()[0];
            EXPECT_EQ(m.text, QStringLiteral(
                                  "Invalid Address: check for Hexadecimal format or Adress value"));
            EXPECT_EQ(m.title, QStringLiteral("Hexadecimal Data Required"));
            EXPECT_EQ(m.icon, core::MsgIcon::Exclamation);
            EXPECT_EQ(m.buttons, core::MsgButtons::Ok);
        }
    }
}

TEST(HexChecks, AMemoryAddressPastTheHighestBlockIsRefusedNeverWrapped) {
    struct Case {
        const char* text;
        std::int32_t mask;
        bool valid;
    };
    const Case cases[] = {
        {"3F", 0x3F, true},          {"40", 0x3F, false},  {"43", 0x3F, false},
        {"0000003F", 0x3F, true},    {"FFF", 0x7F, false}, {"7F", 0x7F, true},
        {"100000000", 0x7FF, false},  // nine digits would wrap to 0 in 32 bits
        {"800", 0x7FF, false},       {"7FF", 0x7FF, true}, {"FFFF", -1, true},
        {"xyz", -1, false},
    };
    for (const auto& c : cases) {
        testsupport::ScriptedUi ui;
        ui.allowAnyMessage();
        EXPECT_EQ(core::IsMemoryAddress(ui, QString::fromLatin1(c.text), c.mask), c.valid)
            << c.text;
        ASSERT_EQ(ui.messages().size(), c.valid ? 0U : 1U) << c.text;
        if (!c.valid) {
            EXPECT_EQ(
                ui.messages()[0].text,
                QStringLiteral("Invalid Address: check for Hexadecimal format or Adress value"));
        }
    }
    core::ProgramValues noMemory;
    testsupport::ScriptedUi ui;
    EXPECT_TRUE(core::IsMemoryAddress(ui, QStringLiteral("FF"), noMemory))
        << "without a product's memory only the text is judged";
    core::ProgramValues memory;
    memory.MemorySizeBytes = 256;
    memory.AddressMask = 63;
    EXPECT_TRUE(core::IsMemoryAddress(ui, QStringLiteral("3F"), memory));
    ui.allowAnyMessage();
    EXPECT_FALSE(core::IsMemoryAddress(ui, QStringLiteral("40"), memory))
        << "the chosen product's highest block is the limit";
}

TEST(HexChecks, ANotHexBoxIsRefusedByName) {
    testsupport::ScriptedUi ui;
    ui.allowAnyMessage();
    core::RefuseNotHex(ui, QStringLiteral("AFI"));
    ASSERT_EQ(ui.messages().size(), 1U);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("Not sent: the box \"AFI\" holds text that is not hex (digits 0-9, "
                             "A-F; no blanks)"));
}

TEST(HexChecks, SpacedDataChecksEveryByteTheLastOneIncluded) {
    const CheckCase cases[] = {
        {"", false},         {"A1 ", true},
        {"a1 ff 00 ", true}, {"A1 B2", true},  // last pair without its separator, and valid
        {"A1-B2", true},                       // separators are not examined
        {"ZZ", false},                         // once passed unchecked
        {"A1 ZZ", false},                      // once passed unchecked
        {"A1 ZZ ", false},   {"A1 B", false},  // a lone last character is half a byte
        {"A", false},        {"A_ ", false},   // a half-typed row of the page-write panel
        {"A1 B2 C", false},
    };
    for (const auto& c : cases) {
        testsupport::ScriptedUi ui;
        ui.allowAnyMessage();
        EXPECT_EQ(core::IsHexData(ui, QString::fromLatin1(c.text)), c.valid) << c.text;
        EXPECT_EQ(ui.messages().size(), c.valid ? 0U : 1U) << c.text;
        if (!c.valid && !ui.messages().empty()) {
            const auto& m = ui.messages()[0];
            EXPECT_EQ(m.text,
                      QStringLiteral("Invalid Data: check for Hexadecimal format or # of data"));
            EXPECT_EQ(m.title, QStringLiteral("Hexadecimal data required "));
            EXPECT_EQ(m.icon, core::MsgIcon::Exclamation);
        }
    }
}

TEST(HexChecks, UnspacedDataChecksEveryPair) {
    const CheckCase cases[] = {
        {"", false},    {"A1B2", true},  {"a1b2c3", true}, {"A1 B", false},
        {"A1B", false}, {"A1ZZ", false}, {"ZZA1", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::isHexDataText(QString::fromLatin1(c.text), false), c.valid)
            << c.text;
    }
}

// A typed or received field is worth its leading hex digits and nothing after the first
// character that is no hex digit: "G5" is 0, never 5, and "5G" is 5.
TEST(HexReading, AFieldIsWorthItsLeadingHexDigitsOnly) {
    const struct {
        std::string_view text;
        std::uint32_t value;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"7", 7},
        {"0A", 0x0A},
        {"80", 0x80},
        {"ff", 0xFF},
        {"fF", 0xFF},
        {"00FF", 0xFF},
        {"FFFFFFFF", 0xFFFFFFFF},  // the widest a 32-bit number takes
        {"7FFFFFFF", 0x7FFFFFFF},
        {"G5", 0},
        {"g5", 0},
        {"Z", 0},
        {"5G", 5},
        {"1Z3", 1},
        {"A1 B2", 0xA1},
        {" 5", 0},
        {"-1", 0},
        {"+5", 0},
        {"0x10", 0},
        {"12\n", 0x12},
        {std::string_view("4\0005", 3), 4},  // 4, NUL, 5
        {"\2655", 0},                        // B5, 5: a Latin-1 letter is no digit either
    };
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::hexValue(c.text), c.value) << '"' << c.text << '"';
    }
}

// Exactly the digits 0-9, A-F and a-f are hex; every other character, of one byte or
// more, is not.
TEST(HexReading, OnlyTheSixteenDigitsOfEitherCaseAreHex) {
    constexpr char kUpper[] = "0123456789ABCDEF";
    constexpr char kLower[] = "0123456789abcdef";
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const auto c = static_cast<char16_t>(u);
        int expected = -1;
        for (int d = 0; d < 16; ++d) {
            if (c == static_cast<unsigned char>(kUpper[d]) ||
                c == static_cast<unsigned char>(kLower[d])) {
                expected = d;
            }
        }
        ASSERT_EQ(transceiver::hexDigitValue(c), expected) << "U+" << std::hex << u;
        ASSERT_EQ(transceiver::hexDigitValue(QChar(c)), expected) << "U+" << std::hex << u;
        if (u <= 0xFF) {
            const char one = static_cast<char>(u);
            ASSERT_EQ(transceiver::isHexText(std::string_view(&one, 1)), expected >= 0)
                << "byte " << std::hex << u;
        }
    }
    const struct {
        std::string_view text;
        bool hex;
    } texts[] = {
        {"", true},  // nothing that is not hex: an empty box goes out as it stands
        {"0123456789ABCDEFabcdef", true},
        {"A", true},
        {"A1 B2", false},
        {"A1G2", false},
        {"A1-", false},
        {"80\xFF", false},
        {std::string_view("80\0000", 4), false},  // 8, 0, NUL, 0
    };
    for (const auto& t : texts) {
        EXPECT_EQ(transceiver::isHexText(t.text), t.hex) << '"' << t.text << '"';
    }
}

// A byte of an answer is read only where two hex digits stand: the end of the text, a
// lone last digit or a character that is no digit give -1, never a made-up byte.
TEST(HexReading, AByteIsReadOnlyWhereTheTextHoldsTwoDigits) {
    const struct {
        const char* text;
        qsizetype at;
        int byte;
    } cases[] = {
        {"0003010401", 0, 0x00},
        {"0003010401", 2, 0x03},
        {"0003010401", 8, 0x01},  // the last whole pair
        {"0003010401", 9, -1},    // one digit left
        {"0003010401", 10, -1},   // the end of the text
        {"0003010401", 100, -1},
        {"0003010401", -1, -1},
        {"0003010401", 1, 0x00},  // pairs need not start at an even place
        {"A5", 0, 0xA5},
        {"ff", 0, 0xFF},
        {"0a", 0, 0x0A},
        {"FF", 0, 0xFF},
        {"0G", 0, -1},
        {"G0", 0, -1},
        {" 5", 0, -1},
        {"5 ", 0, -1},
        {"", 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::hexByteAt(QString::fromLatin1(c.text), c.at), c.byte)
            << '"' << c.text << "\" at " << c.at;
    }
    const QString nul(QStringLiteral("0A\u00000B"));
    EXPECT_EQ(transceiver::hexByteAt(nul, 2), -1) << "a NUL is no digit";
}

TEST(HexFormatting, EveryByteIsTwoUpperCaseDigits) {
    for (int v = 0; v <= 0xFF; ++v) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", static_cast<unsigned>(v));
        ASSERT_EQ(transceiver::hexByte(static_cast<std::uint8_t>(v)), expected) << v;
    }
}

// Requests and answers cross the library as single-byte text: each of the 256 byte values
// is one character and comes back as the same byte, a NUL inside included.
TEST(SingleByteText, EveryByteIsOneCharacterBothWays) {
    std::string bytes;
    for (int b = 0; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    const QString text = transceiver::fromLatin1(bytes);
    ASSERT_EQ(text.size(), 256);
    for (int b = 0; b <= 0xFF; ++b) {
        EXPECT_EQ(text[b].unicode(), b) << b;
    }
    EXPECT_EQ(transceiver::toLatin1(text), bytes);
    EXPECT_EQ(transceiver::toLatin1(QStringLiteral("80\u00E9")), "80\xE9");
    EXPECT_EQ(transceiver::toLatin1(QString()), "");
    EXPECT_EQ(transceiver::fromLatin1(""), QString());
}

}  // namespace
