#pragma once

#include <optional>
#include <string>
#include <string_view>

// The SOLA memory tags (ISO14443-B): INITIATE, the slot markers of their anticollision
// and what an answer must hold to name a tag.
namespace transceiver {

inline constexpr std::string_view kSolaInitiate = "0600";
inline constexpr std::string_view kSolaPcall16 = "0604";
inline constexpr std::string_view kSolaGetUid = "0B";
inline constexpr std::string_view kSolaCompletion = "0F";
inline constexpr std::string_view kSolaResetToInventory = "0C";
// Slots 1 to 15 are called by slot markers; the tag of slot 0 answers PCALL16 itself.
inline constexpr int kSolaSlots = 15;

// The slot marker of slot n (1 to 15): the single byte n × 16 + 6 ("16" to "F6").
std::string solaSlotMarkerRequest(int slot);
// SELECT of a chip ID: "0E" and the ID's two digits.
std::string solaSelectRequest(std::string_view chipId);
// READ BLOCK "08" and WRITE BLOCK "09" with the block address in two digits (more when
// the address needs them: nothing is cut). The data written may carry blanks between
// its bytes; the request has none.
std::string solaReadBlockRequest(int address);
std::string solaWriteBlockRequest(int address, std::string_view data);

// A received frame without transceiver error: "80" first and "00" last. The length
// byte and the CRC are not examined.
bool isSolaFrame(std::string_view answer);
// The chip ID (characters 5-6, the frame's first byte) of such a frame, only when the
// frame holds it: 8 characters at least, so the status byte is never taken for an ID.
std::optional<std::string> solaChipId(std::string_view answer);
// The UID of a GET UID frame as the windows show it: the eight bytes in the reverse of
// their order on air, sixteen digits. Only when the frame holds eight bytes before its
// CRC and status byte (26 characters at least), so a CRC is never shown as a UID byte.
std::optional<std::string> solaUid(std::string_view answer);

}  // namespace transceiver
