#include "transceiver/iso14443b_answers.hpp"

#include "transceiver/frames.hpp"

namespace transceiver {

std::string reqbRequest(std::string_view afi, std::string_view param) {
    std::string out(kReqbCommand);
    out += afi;
    out += param;
    return out;
}

std::string reqbParam(int n, bool wakeUp) {
    const unsigned param = (wakeUp ? 0xF8u : 0xF0u) | (static_cast<unsigned>(n) & 0x7u);
    return hexByte(static_cast<std::uint8_t>(param));
}

std::string attribRequest(std::string_view pupi, std::string_view responseTime,
                          std::string_view maxFrameSize, std::string_view compliance,
                          std::string_view cid) {
    std::string out = "1D";
    for (std::string_view part : {pupi, responseTime, maxFrameSize, compliance, cid}) out += part;
    return out;
}

bool isReqbHit(std::string_view answer) {
    return mid(answer, 1, 2) == kResultFrame && answer.size() >= 4 &&
           answer.substr(answer.size() - 2) == kResultDone;
}

std::string reqbFrame(std::string_view answer) {
    const int n = static_cast<int>(answer.size());
    return mid(answer, 5, n - 10);
}

std::string atqbPupi(std::string_view answer) {
    const std::string pupi = mid(answer, 7, 8);
    return pupi.size() == 8 ? pupi : std::string();
}

AtqbFields decodeAtqb(std::string_view answer) {
    AtqbFields f;
    f.answer = mid(answer, 5, 32);
    f.firstByte = mid(answer, 5, 2);
    f.pupi = mid(answer, 7, 8);
    f.applicationData = mid(answer, 15, 8);
    // The length byte counts the ATQB, its two CRC bytes and the status byte. Without a
    // readable one, the bytes the answer holds stand in for it.
    const ParsedAnswer parsed = parseAnswer(answer);
    const int bytes = parsed.length >= 0 ? parsed.length : static_cast<int>(parsed.data.size());
    // Data byte k stands at characters 5 + 2k and 6 + 2k.
    auto at = [](int byte) { return 5 + 2 * byte; };
    constexpr int kProtocolInfoByte = 9;
    const int crcByte = bytes - 3;
    f.protocolInfo = mid(answer, at(kProtocolInfoByte), 2 * (crcByte - kProtocolInfoByte));
    if (crcByte >= kProtocolInfoByte) f.crc = mid(answer, at(crcByte), 4);
    return f;
}

}  // namespace transceiver
