#pragma once

#include <string>

#include "simboard/combiner.hpp"

namespace simboard {

// The ISO14443-A and TOPAZ answers as the transceiver reports them.
//
// A whole frame: "80", the length, the frames overlaid bit by bit as they sound on
// air, then the error status (bit 7 collision, bit 5 CRC error, bits 3-0 the valid
// bits of the first byte, always 8 here), the index of the first byte with a collision
// and the index of its first colliding bit (bits counted from the least significant,
// the order they go on air); both indexes 0 when nothing collided. A frame of fewer
// than 8 bits (ACK, NAK): "90", the bit count, the byte. No answer: "8700".
std::string combineIso14443a(const CombineInput& in);

}  // namespace simboard
