#pragma once

#include <QString>
#include <cstdint>

namespace shell {

class Ui;

// Upper-case hex text of the 32-bit two's complement of `value`, padded with leading
// zeros. A text that is already as long as asked, or that would need more zeros than
// the procedure allows, comes back whole: a number is never cut to fit a width.
QString Hex4(std::int32_t value);                   // up to four digits
QString HexPad(std::int32_t value, int width);      // at most seven zeros
QString HexPadLong(std::int32_t value, int width);  // at most eight zeros

inline const QString kInvalidAddressText =
    QStringLiteral("Invalid Address: check for Hexadecimal format or Adress value");
inline const QString kInvalidAddressTitle = QStringLiteral("Hexadecimal Data Required");
inline const QString kInvalidDataText =
    QStringLiteral("Invalid Data: check for Hexadecimal format or # of data");
inline const QString kInvalidDataTitle = QStringLiteral("Hexadecimal data required ");

// The checks without their message boxes.
bool isHexAddressText(const QString& text);
// Spaced: two hex digits and a separator per byte (the separator is not examined); a
// final pair without its separator is checked like the others and a lone last
// character is refused. Unspaced: every pair of characters from the first on.
bool isHexDataText(const QString& text, bool spaced = true);

// The checks the address and data fields use: on failure the user is told why and the
// result is false.
bool IsHexAddress(Ui& ui, const QString& text);
bool IsHexData(Ui& ui, const QString& text, bool spaced = true);

}  // namespace shell
