#pragma once

#include <optional>
#include <string>
#include <string_view>

// The SOLA memory tags (ISO14443-B): INITIATE, the slot markers of their anticollision
// and what an answer must hold to name a tag.
namespace transceiver {

inline constexpr std::string_view kSolaInitiate = "0600";
// Slots 1 to 15 are called by slot markers; slot 0 answers INITIATE itself.
inline constexpr int kSolaSlots = 15;

// The slot marker of slot n (1 to 15): the single byte n × 16 + 6 ("16" to "F6").
std::string solaSlotMarkerRequest(int slot);
// SELECT of a chip ID: "0E" and the ID's two digits.
std::string solaSelectRequest(std::string_view chipId);

// A received frame without transceiver error: "80" first and "00" last. The length
// byte and the CRC are not examined.
bool isSolaFrame(std::string_view answer);
// The chip ID (characters 5-6, the frame's first byte) of such a frame, only when the
// frame holds it: 8 characters at least, so the status byte is never taken for an ID.
std::optional<std::string> solaChipId(std::string_view answer);

}  // namespace transceiver
