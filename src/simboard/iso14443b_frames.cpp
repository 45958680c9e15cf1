#include "simboard/iso14443b_frames.hpp"

#include "simboard/hex.hpp"

namespace simboard {

bool iso14443bCrcValid(const Bytes& frame) { return endsWithCrc16Iso13239(frame); }

TagAnswer iso14443bAnswer(Bytes frame) {
    appendCrc16Iso13239(frame);
    return TagAnswer{std::move(frame)};
}

std::string combineWithStatusByte(const CombineInput& in, bool (*crcValid)(const Bytes&)) {
    if (in.answers.empty()) return noTagAnswer();
    Bytes heard;
    if (in.answers.size() == 1) {
        heard = in.answers.front().bytes;
    } else {
        bool differ = false;
        heard = overlayFrames(in.answers, differ);
    }
    const std::uint8_t status = crcValid(heard) ? 0x00 : kStatusCrcError;
    Bytes data = applyCrcFault(std::move(heard), in.fault);
    data.push_back(applyStatusFault(status, in.fault));
    return resultAnswer("80", data);
}

std::string combineIso14443b(const CombineInput& in) {
    return combineWithStatusByte(in, iso14443bCrcValid);
}

}  // namespace simboard
