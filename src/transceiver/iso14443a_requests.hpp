#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace transceiver {

// The tag frames of ISO/IEC 14443 type A and of TOPAZ tags, as SendRecv takes them: the
// tag bytes, then the transmission flag byte that tells the transceiver how to send
// them. Parts typed by the user (the anticollision argument, the data for SELECT, the
// TOPAZ UID) go in as they stand: the tag's answer tells whether they were right.

// The transmission flag byte: bits 3-0 the significant bits of the last byte sent,
// bit 5 append the CRC, bit 7 TOPAZ framing.
namespace flag {
inline constexpr std::string_view kShortFrame = "07";     // REQA, WUPA: seven bits
inline constexpr std::string_view kHalt = "00";           // the HALT as the window sends it
inline constexpr std::string_view kAnticollision = "08";  // whole bytes, no CRC
inline constexpr std::string_view kWithCrc = "28";        // SELECT, READ, WRITE
inline constexpr std::string_view kTopaz = "A8";          // every TOPAZ command but REQA
}  // namespace flag

// The select code of cascade level 1, 2 or 3: "93", "95", "97".
std::string cascadeSelectCode(int level);

std::string reqaRequest();
std::string wupaRequest();
// The byte 50 and the flag byte 00: the HALT as this tool has always sent it.
std::string haltRequest();
// `nvb`: the second byte as typed ("20" names no UID bit).
std::string anticollisionRequest(int level, std::string_view nvb);
// `uidPart`: the level's four UID bytes and their check byte, as typed or received.
std::string cascadeSelectRequest(int level, std::string_view uidPart);

// One-byte page addresses; the caller refuses an address that does not fit.
std::string readRequest(std::uint8_t page);
// `data`: hex text, blanks allowed (they are removed).
std::string writeRequest(std::uint8_t page, std::string_view data);
std::string compatibilityWriteRequest(std::uint8_t page);
std::string compatibilityWriteDataRequest(std::string_view data);

std::string topazReqaRequest();
std::string topazRidRequest();
// `uid`: the tag's four UID bytes as the RID answer gave them (empty: none sent).
std::string topazReadRequest(std::uint8_t address, std::string_view uid);
enum class TopazWrite { Erase, NoErase };
std::string topazWriteRequest(TopazWrite kind, std::uint8_t address, std::string_view data,
                              std::string_view uid);

}  // namespace transceiver
