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
// PARAM of the window's REQB ("F0" to "F7") and WUPB ("F8" to "FF"): the slot-count
// exponent N in the three low bits. Only those bits of N are taken, so a REQB never
// turns into a WUPB.
std::string reqbParam(int n, bool wakeUp);
// ATTRIB: "1D", the PUPI (eight digits) and the four parameter bytes, each as typed.
std::string attribRequest(std::string_view pupi, std::string_view responseTime,
                          std::string_view maxFrameSize, std::string_view compliance,
                          std::string_view cid);

// A card answered: "80" first and the transceiver's status byte "00" last.
bool isReqbHit(std::string_view answer);
// The card's frame: the answer without the result code and length (4 characters) and
// without the CRC and status byte (6 characters). Empty when nothing is left between them.
std::string reqbFrame(std::string_view answer);
// The PUPI of an ATQB (characters 7-14: the four bytes after the ATQB's first byte 50).
std::string atqbPupi(std::string_view answer);

// The fields of an ATQB answer. The first byte, the PUPI and the application data stand
// at fixed places; the protocol info (three bytes, or four in an extended ATQB) and the
// CRC are found from the length byte, so the CRC is never read as protocol info. Each
// field holds only the characters the answer has.
struct AtqbFields {
    std::string answer;  // characters 5-36: up to 16 bytes after the length byte
    std::string firstByte;
    std::string pupi;
    std::string applicationData;
    std::string protocolInfo;
    std::string crc;
};
AtqbFields decodeAtqb(std::string_view answer);

}  // namespace transceiver
