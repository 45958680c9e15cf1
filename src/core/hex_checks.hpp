#pragma once

#include <QString>
#include <cstdint>

namespace core {

class Ui;
struct ProgramValues;

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
// IsHexAddress, and the address is a block of the memory whose highest block is
// `addressMask`: an address past the memory would reach another block once masked, so it
// is refused with the same message. A mask below 0 (no memory known) checks the text only.
bool IsMemoryAddress(Ui& ui, const QString& text, std::int32_t addressMask);
// The same for the memory of the product chosen last.
bool IsMemoryAddress(Ui& ui, const QString& text, const ProgramValues& values);

// What a command says when one of its boxes holds text that is not hex and nothing was
// sent: the box is named, so the user knows which one to mend.
QString notHexRefusalText(const QString& boxName);
// The refusal shown as a message (a window without an answer row of its own).
void RefuseNotHex(Ui& ui, const QString& boxName);
// Text pasted past a box's key filter may hold anything: true when `text` is hex (odd
// digit counts and lower case go out as typed), else the box named `boxName` is refused.
bool IsHexBox(Ui& ui, const QString& text, const QString& boxName);

}  // namespace core
