#pragma once

#include <QString>

namespace core {

class Ui;

inline const QString kInvalidAddressText =
    QStringLiteral("Invalid Address: check for Hexadecimal format or Adress value");
inline const QString kInvalidAddressTitle = QStringLiteral("Hexadecimal Data Required");
inline const QString kInvalidDataText =
    QStringLiteral("Invalid Data: check for Hexadecimal format or # of data");
inline const QString kInvalidDataTitle = QStringLiteral("Hexadecimal data required ");

// The checks the address and data fields use: on failure the user is told why and the
// result is false.
bool IsHexAddress(Ui& ui, const QString& text);
bool IsHexData(Ui& ui, const QString& text, bool spaced = true);

}  // namespace core
