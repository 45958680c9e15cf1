#include "transceiver/hex_text.hpp"

#include <gtest/gtest.h>

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

}  // namespace
