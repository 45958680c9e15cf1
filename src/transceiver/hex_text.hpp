#pragma once

#include <QString>
#include <cstdint>

namespace transceiver {

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
