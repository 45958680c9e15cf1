#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simboard/tag.hpp"

// The simulator parses hex text and frames and computes every CRC with code of its own,
// on purpose: it stands on the other side of the USB cable, and an implementation
// independent of the program's catches the program's mistakes instead of sharing them.
namespace simboard {

// Bytes of a hex text of an even number of digits (either case); nothing when the
// text is odd or holds anything but hex digits. The empty text gives no bytes.
std::optional<Bytes> parseHex(std::string_view text);

// Two upper-case digits per byte: the board never answers in lower case, since some
// windows compare answer texts with texts they compute.
std::string toHex(const Bytes& bytes);
void appendHex(std::string& out, std::uint8_t byte);

// ISO/IEC 13239 CRC-16 (preset FFFF, reflected polynomial 8408, complemented), as the
// ISO15693 and ISO14443-B tags send it: low byte first on air.
std::uint16_t crc16Iso13239(const Bytes& bytes);
// The CRC appended low byte first.
void appendCrc16Iso13239(Bytes& bytes);
// Whether the last two bytes are that CRC (low byte first) of the bytes before them.
bool endsWithCrc16Iso13239(const Bytes& frame);

}  // namespace simboard
