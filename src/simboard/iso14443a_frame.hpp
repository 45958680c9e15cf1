#pragma once

#include <cstdint>
#include <optional>

#include "simboard/tag.hpp"

namespace simboard {

// CRC_A and the air frame below are the simulator's own, on purpose (see hex.hpp): an
// independent implementation catches the program's mistakes.
// CRC_A: preset 6363, reflected polynomial 8408, not complemented; sent low byte first.
std::uint16_t crcA(const std::uint8_t* data, std::size_t size);
std::uint16_t crcA(const Bytes& bytes);
void appendCrcA(Bytes& bytes);
// Whether the last two bytes are the CRC_A of the bytes before them.
bool endsWithCrcA(const Bytes& bytes);

// Bits of the transmission flag byte that ends every ISO14443-A request.
constexpr std::uint8_t kFlagLastBitsMask = 0x0F;
constexpr std::uint8_t kFlagAppendCrc = 0x20;
constexpr std::uint8_t kFlagTopaz = 0x80;

// A request as it sounds on air once the transceiver has applied the flag byte.
struct AirFrame {
    Bytes bytes;         // with the CRC_A when the transceiver appended it
    int lastBits = 8;    // valid bits of the last byte
    bool topaz = false;  // end of frame in place of the parity (TOPAZ framing)

    bool isShortFrame() const { return bytes.size() == 1 && lastBits == 7 && !topaz; }
};

// Nothing when the transceiver would send nothing: no bytes, or a flag byte asking
// for more than 8 bits, or for a CRC after a partial byte.
std::optional<AirFrame> airFrameOf(const TagRequest& request);

// The TOPAZ set-up selects ISO14443-A with other timing parameters; on a real antenna
// both kinds of tag would answer REQA, the simulated one offers each kind only under
// its own set-up so that neither window meets a collision it cannot resolve.
bool isTopazTiming(const ProtocolConfig& config);

// A UID or memory setting of simulated-board.ini: hex text, blanks allowed between digits.
std::optional<Bytes> parseHexSetting(const std::string& text);

}  // namespace simboard
