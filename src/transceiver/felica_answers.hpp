#pragma once

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

}  // namespace transceiver
