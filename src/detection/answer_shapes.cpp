#include "detection/answer_shapes.hpp"

#include <cstdint>

#include "transceiver/frames.hpp"

namespace detection {

namespace {

using transceiver::ParsedAnswer;

// The data bytes of a well-formed "80" answer, when there are `size` of them.
bool frameOfSize(const ParsedAnswer& p, std::size_t size) {
    return p.wellFormed && p.code == transceiver::kResultFrame && p.data.size() == size;
}

constexpr std::size_t kTypeATrailing = 3;  // status, collision byte and bit indexes
constexpr std::size_t kCrcAndStatus = 3;

}  // namespace

bool isInventoryAnswer(std::string_view answer) {
    constexpr std::size_t kFlagsDsfidUid = 10;
    const ParsedAnswer p = transceiver::parseAnswer(answer);
    return frameOfSize(p, kFlagsDsfidUid + kCrcAndStatus) && p.data[0] == 0x00;
}

bool isAtqaAnswer(std::string_view answer) {
    return frameOfSize(transceiver::parseAnswer(answer), 2 + kTypeATrailing);
}

bool isUidLevelAnswer(std::string_view answer) {
    const ParsedAnswer p = transceiver::parseAnswer(answer);
    if (!frameOfSize(p, 5 + kTypeATrailing)) return false;
    return (p.data[0] ^ p.data[1] ^ p.data[2] ^ p.data[3]) == p.data[4];
}

bool isAtqbAnswer(std::string_view answer) {
    constexpr std::uint8_t kAtqbFirstByte = 0x50;
    constexpr std::size_t kWithThreeBytesOfInfo = 1 + 4 + 4 + 3;
    const ParsedAnswer p = transceiver::parseAnswer(answer);
    return (frameOfSize(p, kWithThreeBytesOfInfo + kCrcAndStatus) ||
            frameOfSize(p, kWithThreeBytesOfInfo + 1 + kCrcAndStatus)) &&
           p.data[0] == kAtqbFirstByte;
}

bool isChipIdAnswer(std::string_view answer) {
    return frameOfSize(transceiver::parseAnswer(answer), 1 + kCrcAndStatus);
}

std::string iso14443aCollisionVerdict(const transceiver::ResponseStatus& status) {
    std::string out = "  " + transceiver::hexByte(status.status) + " -> collision";
    if (status.collision()) {
        out += " at byte " + std::to_string(status.collisionByte) + " bit " +
               std::to_string(status.collisionBit);
    } else {
        out += " (CRC error)";
    }
    return out + " : several tags answered, no UID shown";
}

std::string felicaCollisionVerdict(std::string_view statusByte) {
    return "  " + std::string(statusByte) + " -> collision : several tags answered, no IDm shown";
}

}  // namespace detection
