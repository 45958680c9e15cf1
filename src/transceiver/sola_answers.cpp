#include "transceiver/sola_answers.hpp"

#include "transceiver/frames.hpp"

namespace transceiver {

std::string solaSlotMarkerRequest(int slot) {
    return hexByte(static_cast<std::uint8_t>((slot & 0x0F) * 16 + 6));
}

std::string solaSelectRequest(std::string_view chipId) { return "0E" + std::string(chipId); }

bool isSolaFrame(std::string_view answer) {
    return mid(answer, 1, 2) == kResultFrame && answer.size() >= 4 &&
           answer.substr(answer.size() - 2) == kResultDone;
}

std::optional<std::string> solaChipId(std::string_view answer) {
    constexpr std::size_t kShortestWithId = 8;
    if (!isSolaFrame(answer) || answer.size() < kShortestWithId) return std::nullopt;
    return mid(answer, 5, 2);
}

}  // namespace transceiver
