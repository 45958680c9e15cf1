#include "transceiver/iso14443a_answers.hpp"

#include "transceiver/frames.hpp"

namespace transceiver {

std::string transmissionFlag(int significantBits, bool appendCrc, bool splitFrame,
                             bool topazFrame) {
    auto flag = static_cast<std::uint8_t>(significantBits & kFlagBitCountMask);
    if (appendCrc) flag |= kFlagAppendCrc;
    if (splitFrame) flag |= kFlagSplitFrame;
    if (topazFrame) flag |= kFlagTopazFrame;
    return hexByte(flag);
}

std::string reqaRequest() { return std::string(kReqaCommand) + std::string(kFlagShortFrame); }

std::string wupaRequest() { return std::string(kWupaCommand) + std::string(kFlagShortFrame); }

std::string_view selectCode(int level) {
    switch (level) {
        case 2:
            return "95";
        case 3:
            return "97";
        default:
            return "93";
    }
}

std::string anticollisionRequest(int level, std::string_view nvb) {
    std::string out(selectCode(level));
    out += nvb;
    out += kFlagAnticollision;
    return out;
}

std::string selectRequest(int level, std::string_view uidPart) {
    std::string out(selectCode(level));
    out += kNvbSelect;
    out += uidPart;
    out += kFlagWithCrc;
    return out;
}

AnticollisionAnswer decodeAnticollisionAnswer(std::string_view answer) {
    AnticollisionAnswer out;
    out.frameReceived = mid(answer, 1, 2) == kResultFrame;
    out.uidPart = mid(answer, 5, 10);
    out.complete = out.frameReceived && out.uidPart.size() == 10;
    out.cascadeTag = mid(out.uidPart, 1, 2) == kCascadeTag;
    out.uidPiece = out.cascadeTag ? mid(out.uidPart, 3, 6) : mid(out.uidPart, 1, 8);
    out.bcc = mid(out.uidPart, 9, 2);
    if (out.complete && isHexText(out.uidPart)) {
        std::uint32_t x = 0;
        for (int i = 0; i < 4; ++i) x ^= hexValue(mid(out.uidPart, 1 + 2 * i, 2));
        out.bccMatches = x == hexValue(out.bcc);
    }
    return out;
}

bool cascadeContinues(int level, const AnticollisionAnswer& anticollision) {
    return level < kCascadeLevels && anticollision.cascadeTag;
}

std::optional<std::uint8_t> sakOf(std::string_view selectAnswer) {
    if (mid(selectAnswer, 1, 2) != kResultFrame) return std::nullopt;
    const std::string sak = mid(selectAnswer, 5, 2);
    if (sak.size() != 2 || !isHexText(sak)) return std::nullopt;
    return static_cast<std::uint8_t>(hexValue(sak));
}

}  // namespace transceiver
