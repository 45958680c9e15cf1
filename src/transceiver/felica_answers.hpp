#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// FeliCa polling (REQC) and its answer: "80", the length byte, the tag's frame (its LEN
// byte, response code 01, IDm, PMm and, when asked for, the system code), the frame's two
// CRC bytes and the transceiver's status byte.
namespace transceiver {

inline constexpr std::string_view kReqcCommand = "00";
inline constexpr std::string_view kSystemCodeAny = "FFFF";

// "00", the system code, the request code and the time slot: "00FFFF0000" by default.
std::string reqcRequest(std::string_view systemCode = kSystemCodeAny,
                        std::string_view requestCode = "00", std::string_view timeSlot = "00");

// The tag's frame: characters 5 to length-6, every byte after the length byte but the
// CRC and the status byte. Empty for an answer of 10 characters or fewer.
std::string felicaFrame(std::string_view answer);
// IDm (characters 9-24) and PMm (characters 25-40); empty when the answer is too short.
std::string felicaIdm(std::string_view answer);
std::string felicaPmm(std::string_view answer);

// The response code of a polling answer.
inline constexpr std::uint8_t kFelicaPollingResponse = 0x01;

// A polling answer as a tag sends it: hex throughout, "80", a length byte that counts
// what follows, then the frame (its own LEN byte equal to its size, response code 01,
// IDm and PMm, the system code when asked for), the CRC and the status byte. Another
// protocol's answer to the same bytes, or a cut one, does not have this shape.
struct FelicaPollingAnswer {
    bool shaped = false;
    std::string frame;       // as felicaFrame cuts it, when shaped
    std::string statusByte;  // the transceiver's last byte, when shaped
    // Several tags answered at once: the frame is the OR of their frames, so its IDm is
    // no tag's own (the transceiver reports that, or the CRC it broke, in its status).
    bool severalTags() const { return shaped && statusByte != "00"; }
};
FelicaPollingAnswer decodeFelicaPolling(std::string_view answer);

}  // namespace transceiver
