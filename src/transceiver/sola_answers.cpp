#include "transceiver/sola_answers.hpp"

#include "transceiver/frames.hpp"

namespace transceiver {

std::string solaSlotMarkerRequest(int slot) {
    return hexByte(static_cast<std::uint8_t>((slot & 0x0F) * 16 + 6));
}

std::string solaSelectRequest(std::string_view chipId) { return "0E" + std::string(chipId); }

namespace {

// Two digits at least, as block addresses are written.
std::string addressText(int address) {
    const auto value = static_cast<unsigned>(address);
    if (value <= 0xFF) return hexByte(static_cast<std::uint8_t>(value));
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned v = value; v != 0; v >>= 4) out.insert(out.begin(), kDigits[v & 0xF]);
    return out;
}

}  // namespace

std::string solaReadBlockRequest(int address) { return "08" + addressText(address); }

std::string solaWriteBlockRequest(int address, std::string_view data) {
    return "09" + addressText(address) + withoutBlanks(data);
}

bool isSolaFrame(std::string_view answer) {
    return mid(answer, 1, 2) == kResultFrame && answer.size() >= 4 &&
           answer.substr(answer.size() - 2) == kResultDone;
}

std::optional<std::string> solaChipId(std::string_view answer) {
    constexpr std::size_t kShortestWithId = 8;
    if (!isSolaFrame(answer) || answer.size() < kShortestWithId) return std::nullopt;
    return mid(answer, 5, 2);
}

std::optional<std::string> solaUid(std::string_view answer) {
    constexpr int kUidBytes = 8;
    constexpr std::size_t kShortestWithUid = 4 + 2 * kUidBytes + 6;
    if (!isSolaFrame(answer) || answer.size() < kShortestWithUid) return std::nullopt;
    std::string uid;
    for (int i = kUidBytes - 1; i >= 0; --i) uid += mid(answer, 5 + 2 * i, 2);
    return uid;
}

}  // namespace transceiver
