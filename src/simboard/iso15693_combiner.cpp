#include "simboard/iso15693_combiner.hpp"

#include "simboard/hex.hpp"

namespace simboard {

std::string combineIso15693(const CombineInput& in) {
    if (in.answers.empty()) return noTagAnswer();
    bool differ = false;
    Bytes frame = overlayFrames(in.answers, differ);
    std::uint8_t status = differ ? kIso15693Collision : 0x00;
    if (!endsWithCrc16Iso13239(frame)) status |= kIso15693CrcError;
    Bytes data = applyCrcFault(std::move(frame), in.fault);
    data.push_back(applyStatusFault(status, in.fault));
    return resultAnswer("80", data);
}

}  // namespace simboard
