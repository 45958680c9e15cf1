#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace transceiver {

// Two upper-case hex digits.
std::string hexByte(std::uint8_t value);
// The value of the leading hex digits of `text` (either case), 0 when there are none;
// this is how typed and received hex fields are read throughout.
std::uint32_t hexValue(std::string_view text);
bool isHexText(std::string_view text);
// Requests are shown and logged with blanks; the library gets them without.
std::string withoutBlanks(std::string_view text);

// The value of one hex digit of either case, or -1 for any other character.
int hexDigitValue(char16_t c);
inline int hexDigitValue(QChar c) { return hexDigitValue(c.unicode()); }
// The byte written as two hex digits at `at` (0-based), or -1 when the text ends there or
// holds no hex byte: answers are only ever read as far as they go.
int hexByteAt(const QString& text, qsizetype at);

// Requests and answers are single-byte text: every character is one Latin-1 byte.
std::string toLatin1(const QString& text);
QString fromLatin1(std::string_view text);

// Upper-case hex text of the 32-bit two's complement of `value`, padded with leading
// zeros. A text that is already as long as asked, or that would need more zeros than
// the procedure allows, comes back whole: a number is never cut to fit a width.
QString Hex4(std::int32_t value);                   // up to four digits
QString HexPad(std::int32_t value, int width);      // at most seven zeros
QString HexPadLong(std::int32_t value, int width);  // at most eight zeros

// The checks of typed addresses and data (core/hex_checks.hpp adds their message boxes).
bool isHexAddressText(const QString& text);
// Spaced: two hex digits and a separator per byte (the separator is not examined); a
// final pair without its separator is checked like the others and a lone last
// character is refused. Unspaced: every pair of characters from the first on.
bool isHexDataText(const QString& text, bool spaced = true);

}  // namespace transceiver
