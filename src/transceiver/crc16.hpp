#pragma once

#include <QString>
#include <cstdint>
#include <span>

namespace transceiver {

// The CRC-16 of ISO/IEC 13239 that ISO15693 tags append: preset FFFF, reflected
// polynomial 8408, result complemented.
std::uint16_t crc16Iso13239(std::span<const std::uint8_t> bytes);

// That CRC over the bytes of a hex text, as four upper-case digits, low byte first, the
// order the tag sends them, so callers compare it with the reply's text as it stands.
// Digits of either case. Callers only pass whole hex bytes; anything else still gives a
// result and never fails: a lone last digit is ignored, and a pair is worth its leading
// hex digits (a pair with a non-hex first character counts as 00, "1Z" as 01).
QString Crc16OfHexText(const QString& hexText);

}  // namespace transceiver
