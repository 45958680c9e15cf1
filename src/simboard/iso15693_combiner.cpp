#include "simboard/iso15693_combiner.hpp"

#include "simboard/hex.hpp"

namespace simboard {

namespace {
bool crcVerifies(const Bytes& frame) {
    if (frame.size() < 2) return false;
    const Bytes body(frame.begin(), frame.end() - 2);
    const std::uint16_t crc = crc16Iso13239(body);
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}
}  // namespace

std::string combineIso15693(const CombineInput& in) {
    if (in.answers.empty()) return noTagAnswer();
    bool differ = false;
    Bytes frame = overlayFrames(in.answers, differ);
    std::uint8_t status = differ ? kIso15693Collision : 0x00;
    if (!crcVerifies(frame)) status |= kIso15693CrcError;
    Bytes data = applyCrcFault(std::move(frame), in.fault);
    data.push_back(applyStatusFault(status, in.fault));
    return resultAnswer("80", data);
}

}  // namespace simboard
