#pragma once

#include <string>
#include <string_view>

// ISO14443-B cards: REQB and what its answer (the ATQB) carries.
namespace transceiver {

inline constexpr std::string_view kReqbCommand = "05";
// The AFI that calls cards of every application family.
inline constexpr std::string_view kAfiAll = "00";
// PARAM of the detection probes: the four high bits set, REQB (not WUPB), one slot.
inline constexpr std::string_view kReqbParam = "F0";

// "05", the AFI and the PARAM byte.
std::string reqbRequest(std::string_view afi = kAfiAll, std::string_view param = kReqbParam);

// A card answered: "80" first and the transceiver's status byte "00" last.
bool isReqbHit(std::string_view answer);
// The card's frame: the answer without the result code and length (4 characters) and
// without the CRC and status byte (6 characters). Empty when nothing is left between them.
std::string reqbFrame(std::string_view answer);
// The PUPI of an ATQB (characters 7-14: the four bytes after the ATQB's first byte 50).
std::string atqbPupi(std::string_view answer);

}  // namespace transceiver
