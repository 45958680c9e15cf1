#pragma once

#include <cstdint>
#include <string>

#include "simboard/antenna.hpp"

namespace simboard {

// The board firmware's command A0: finds every ISO15693 tag on the antenna.
constexpr std::uint8_t kFirmwareIso15693Anticollision = 0xA0;
// As many records as a 256-character answer can carry.
constexpr int kAnticollisionMaxRecords = 13;

// `data` is the one request flags byte (data rate, AFI, slots). The answer is "80",
// the length, the record count, then per tag its DSFID and its UID least significant
// byte first; "800100" when no tag answers. The AFI flag is kept and AFI 00 sent, so
// tags of every family answer.
std::string iso15693Anticollision(Antenna& antenna, const ProtocolConfig& config,
                                  const Bytes& data);

}  // namespace simboard
