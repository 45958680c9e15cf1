#pragma once

#include <string>

#include "simboard/combiner.hpp"

namespace simboard {

// The transceiver's status byte after an ISO15693 frame: bit 0 the frame's CRC did
// not verify, bit 1 several tags answered at once.
constexpr std::uint8_t kIso15693CrcError = 0x01;
constexpr std::uint8_t kIso15693Collision = 0x02;

// ISO15693 answers as the transceiver reports them: the tag frame with its CRC, then
// the status byte. Tags that answer together overlay bit by bit; when they differ, the
// collision bit is set and the overlaid CRC (almost always) fails as well.
std::string combineIso15693(const CombineInput& in);

}  // namespace simboard
