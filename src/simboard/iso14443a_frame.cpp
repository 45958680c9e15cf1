#include "simboard/iso14443a_frame.hpp"

#include <string>

#include "simboard/hex.hpp"

namespace simboard {

std::uint16_t crcA(const std::uint8_t* data, std::size_t size) {
    std::uint16_t crc = 0x6363;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x0001) ? static_cast<std::uint16_t>((crc >> 1) ^ 0x8408)
                                 : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

std::uint16_t crcA(const Bytes& bytes) { return crcA(bytes.data(), bytes.size()); }

void appendCrcA(Bytes& bytes) {
    const std::uint16_t crc = crcA(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
}

bool endsWithCrcA(const Bytes& bytes) {
    if (bytes.size() < 3) return false;
    const std::size_t n = bytes.size() - 2;
    const std::uint16_t crc = crcA(bytes.data(), n);
    return bytes[n] == (crc & 0xFF) && bytes[n + 1] == (crc >> 8);
}

std::optional<AirFrame> airFrameOf(const TagRequest& request) {
    if (request.frame.empty()) return std::nullopt;
    AirFrame air;
    // A count of 0 is how the transceiver is told "the whole byte".
    const int bits = request.flagByte & kFlagLastBitsMask;
    air.lastBits = bits == 0 ? 8 : bits;
    if (air.lastBits > 8) return std::nullopt;
    air.topaz = (request.flagByte & kFlagTopaz) != 0;
    air.bytes = request.frame;
    if (request.flagByte & kFlagAppendCrc) {
        if (air.lastBits != 8) return std::nullopt;
        appendCrcA(air.bytes);
    }
    return air;
}

bool isTopazTiming(const ProtocolConfig& config) {
    return config.protocol == Protocol::Iso14443A && config.params == Bytes{0x00, 0x03, 0x00};
}

std::optional<Bytes> parseHexSetting(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c != ' ' && c != '\t') digits.push_back(c);
    }
    return parseHex(digits);
}

}  // namespace simboard
