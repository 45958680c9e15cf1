#include <gtest/gtest.h>

#include "core/hex_checks.hpp"
#include "qstring_printer.hpp"
#include "scripted_ui.hpp"

namespace {

// A box whose text got past its key filter (a paste) is sent only when it holds hex; an
// odd count of digits or lower case goes out as typed. Anything else is refused by the
// box's name, with the beep a refused key gets and one message.
TEST(HexBox, HexOfAnyLengthPassesAnythingElseIsRefusedByName) {
    const struct {
        QString text;
        bool hex;
    } cases[] = {
        {QString(), true},  // an empty box is sent as it stands
        {QStringLiteral("A"), true},
        {QStringLiteral("0a1"), true},
        {QStringLiteral("0123456789ABCDEFabcdef"), true},
        {QString(300, QLatin1Char('F')), true},  // the box's length is not this check's
        {QStringLiteral("G5"), false},
        {QStringLiteral("5G"), false},
        {QStringLiteral("A1 B2"), false},
        {QStringLiteral(" 05"), false},
        {QStringLiteral("05\t"), false},
        {QStringLiteral("0x05"), false},
        {QStringLiteral("-1"), false},
        {QStringLiteral("\u00B5"), false},        // Latin-1, no digit
        {QStringLiteral("\uFF10\uFF11"), false},  // full-width digits are not hex
        {QStringLiteral("A\u0100"), false},       // beyond one byte: never read as "?"
        {QStringLiteral("0A\u00000B"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        testsupport::ScriptedUi ui;
        ui.allowAnyMessage();
        EXPECT_EQ(core::IsHexBox(ui, c.text, QStringLiteral("AFI")), c.hex);
        if (c.hex) {
            EXPECT_EQ(ui.beeps(), 0);
            EXPECT_TRUE(ui.messages().empty());
            continue;
        }
        EXPECT_EQ(ui.beeps(), 1);
        ASSERT_EQ(ui.messages().size(), 1U);
        const auto& m = ui.messages()[0];
        EXPECT_EQ(m.text, QStringLiteral("Not sent: the box \"AFI\" holds text that is not hex "
                                         "(digits 0-9, A-F; no blanks)"));
        EXPECT_EQ(m.title, QStringLiteral("Hexadecimal data required "));
        EXPECT_EQ(m.icon, core::MsgIcon::Exclamation);
        EXPECT_EQ(m.buttons, core::MsgButtons::Ok);
    }
}

}  // namespace
