#include "transceiver/iso14443a_answers.hpp"

#include <initializer_list>

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

namespace {

constexpr std::string_view kHaltFrame = "5000";
constexpr std::string_view kReadCommand = "30";
constexpr std::string_view kWriteCommand = "A2";
constexpr std::string_view kCompatibilityWriteCommand = "A0";
constexpr std::string_view kTopazRid = "78000000000000";
constexpr std::string_view kTopazReadCommand = "01";
constexpr std::string_view kTopazReadData = "00";  // the data byte a read carries
constexpr std::string_view kTopazWriteEraseCommand = "53";
constexpr std::string_view kTopazWriteNoEraseCommand = "1A";

std::string join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts) out += p;
    return out;
}

}  // namespace

std::string haltRequest() { return join({kHaltFrame, kFlagWithCrc}); }

std::string readRequest(std::uint8_t page) {
    return join({kReadCommand, hexByte(page), kFlagWithCrc});
}

std::string writeRequest(std::uint8_t page, std::string_view data) {
    return withoutBlanks(join({kWriteCommand, hexByte(page), data, kFlagWithCrc}));
}

std::string compatibilityWriteRequest(std::uint8_t page) {
    return join({kCompatibilityWriteCommand, hexByte(page), kFlagWithCrc});
}

std::string compatibilityWriteDataRequest(std::string_view data) {
    return withoutBlanks(join({data, kFlagWithCrc}));
}

std::string topazRidRequest() { return join({kTopazRid, kFlagTopaz}); }

std::string topazReadRequest(std::uint8_t address, std::string_view uid) {
    return join({kTopazReadCommand, hexByte(address), kTopazReadData, uid, kFlagTopaz});
}

std::string topazWriteRequest(TopazWrite kind, std::uint8_t address, std::string_view data,
                              std::string_view uid) {
    const std::string_view code =
        kind == TopazWrite::Erase ? kTopazWriteEraseCommand : kTopazWriteNoEraseCommand;
    return withoutBlanks(join({code, hexByte(address), data, uid, kFlagTopaz}));
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

ResponseStatus responseStatusOf(std::string_view answer) {
    ResponseStatus out;
    // "80", the length byte and the three trailing bytes at least.
    if (mid(answer, 1, 2) != kResultFrame || answer.size() < 10) return out;
    const std::string_view tail = answer.substr(answer.size() - 6);
    if (!isHexText(tail)) return out;
    out.present = true;
    out.status = static_cast<std::uint8_t>(hexValue(tail.substr(0, 2)));
    out.collisionByte = static_cast<std::uint8_t>(hexValue(tail.substr(2, 2)));
    out.collisionBit = static_cast<std::uint8_t>(hexValue(tail.substr(4, 2)));
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
