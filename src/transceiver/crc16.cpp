#include "transceiver/crc16.hpp"

#include <vector>

#include "transceiver/hex_text.hpp"

namespace transceiver {

namespace {

// A pair read the way the hex fields are read everywhere: its leading hex digits.
std::uint8_t pairValue(QChar high, QChar low) {
    const int h = hexDigitValue(high);
    if (h < 0) return 0;
    const int l = hexDigitValue(low);
    if (l < 0) return static_cast<std::uint8_t>(h);
    return static_cast<std::uint8_t>(h * 16 + l);
}

}  // namespace

std::uint16_t crc16Iso13239(std::span<const std::uint8_t> bytes) {
    std::uint16_t reg = 0xFFFF;
    for (std::uint8_t b : bytes) {
        reg ^= b;
        for (int bit = 0; bit < 8; ++bit) {
            reg = (reg & 1U) ? static_cast<std::uint16_t>((reg >> 1) ^ 0x8408U)
                             : static_cast<std::uint16_t>(reg >> 1);
        }
    }
    return static_cast<std::uint16_t>(~reg);
}

QString Crc16OfHexText(const QString& hexText) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(hexText.size() / 2));
    for (qsizetype i = 0; i + 1 < hexText.size(); i += 2) {
        bytes.push_back(pairValue(hexText[i], hexText[i + 1]));
    }
    const std::uint16_t crc = crc16Iso13239(bytes);
    return HexPad(crc & 0xFF, 2) + HexPad(crc >> 8, 2);
}

}  // namespace transceiver
