#include "core/single_byte_text.hpp"

#include <gtest/gtest.h>

#include "qstring_printer.hpp"

namespace {

// Logs and the settings file are single-byte text whenever every character has a byte of
// its own (up to U+00FF); one character beyond makes the whole text UTF-8 behind the
// byte-order mark, so nothing is ever written as "?".
TEST(SingleByteText, SingleByteWhenEveryCharacterFitsElseMarkedUtf8) {
    const struct {
        const char* name;
        QString text;
        bool fits;
        QByteArray written;
    } cases[] = {
        {"empty", QString(), true, QByteArray()},
        {"plain", QStringLiteral("\r\n05-09-2012\t>>> A"), true,
         QByteArray("\r\n05-09-2012\t>>> A")},
        {"accented", QStringLiteral("R\u00e9sultats"), true, QByteArray("R\xe9sultats")},
        {"highest single byte", QStringLiteral("\u00ff"), true, QByteArray("\xff")},
        {"a NUL", QStringLiteral("a\u0000b"), true, QByteArray("a\0b", 3)},
        {"first beyond a byte", QStringLiteral("\u0100"), false,
         QByteArray("\xef\xbb\xbf\xc4\x80")},
        {"euro sign", QStringLiteral("5\u20ac"), false,
         QByteArray("\xef\xbb\xbf"
                    "5\xe2\x82\xac")},
        // Once one character needs UTF-8, the accented ones go as UTF-8 too.
        {"mixed", QStringLiteral("\u00e9\u65e5"), false,
         QByteArray("\xef\xbb\xbf\xc3\xa9\xe6\x97\xa5")},
        {"outside the basic plane", QString::fromUtf8("\xf0\x9f\x93\x81"), false,
         QByteArray("\xef\xbb\xbf\xf0\x9f\x93\x81")},
        {"a mark of its own", QStringLiteral("\ufeffx"), false,
         QByteArray("\xef\xbb\xbf\xef\xbb\xbfx")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(core::fitsSingleByte(c.text), c.fits);
        EXPECT_EQ(core::singleByteOrMarkedUtf8(c.text), c.written);
    }
}

}  // namespace
