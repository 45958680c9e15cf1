#pragma once

#include <cstdint>
#include <string>

#include "simboard/combiner.hpp"
#include "simboard/tag.hpp"

namespace simboard {

// Whether the last two bytes of `frame` are the CRC_B (low byte first) of the bytes
// before them.
bool iso14443bCrcValid(const Bytes& frame);
// The frame with its CRC_B appended, as a tag sends it.
TagAnswer iso14443bAnswer(Bytes frame);

// Status byte after a frame whose CRC does not check: the bit the type A status byte
// uses for a CRC error. Type B and FeliCa have no bit-level collision detection, so two
// tags answering at once show up as a frame that fails its CRC.
inline constexpr std::uint8_t kStatusCrcError = 0x20;

// For the protocols whose SendRecv answer ends in one status byte: "8700" when no tag
// answered, else "80", the length, the frame as heard (several frames OR-ed as their
// carriers overlap) and the status byte, "00" when the heard frame passes `crcValid`
// (identical answers do) and kStatusCrcError otherwise.
std::string combineWithStatusByte(const CombineInput& in, bool (*crcValid)(const Bytes&));

// The ISO14443-B combiner: the card and the memory tags share CRC_B.
std::string combineIso14443b(const CombineInput& in);

}  // namespace simboard
