#include "simboard/hex.hpp"

namespace simboard {

namespace {
int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

std::optional<Bytes> parseHex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    Bytes out;
    out.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = digitValue(text[i]);
        const int lo = digitValue(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return out;
}

void appendHex(std::string& out, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0x0F]);
}

std::string toHex(const Bytes& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) appendHex(out, b);
    return out;
}

std::uint16_t crc16Iso13239(const Bytes& bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0x8408)
                            : static_cast<std::uint16_t>(crc >> 1);
    }
    return static_cast<std::uint16_t>(~crc);
}

void appendCrc16Iso13239(Bytes& bytes) {
    const std::uint16_t crc = crc16Iso13239(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
}

bool endsWithCrc16Iso13239(const Bytes& frame) {
    if (frame.size() < 2) return false;
    const std::size_t n = frame.size() - 2;
    const std::uint16_t crc = crc16Iso13239(Bytes(frame.begin(), frame.end() - 2));
    return frame[n] == (crc & 0xFF) && frame[n + 1] == (crc >> 8);
}

}  // namespace simboard
