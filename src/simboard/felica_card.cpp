#include "simboard/felica_card.hpp"

#include "simboard/hex.hpp"
#include "simboard/iso14443b_frames.hpp"

namespace simboard {

namespace {
constexpr std::uint8_t kPolling = 0x00;
constexpr std::uint8_t kPollingResponse = 0x01;
constexpr std::uint8_t kRequestSystemCode = 0x01;
constexpr std::size_t kPollingBytes = 5;  // code, system code, request code, time slot
}  // namespace

std::uint16_t felicaCrc(const std::uint8_t* data, std::size_t size) {
    std::uint16_t crc = 0x0000;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint16_t>(data[i] << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                 : static_cast<std::uint16_t>(crc << 1);
        }
    }
    return crc;
}

bool felicaCrcValid(const Bytes& frame) {
    if (frame.size() < 2) return false;
    const std::size_t n = frame.size() - 2;
    const std::uint16_t crc = felicaCrc(frame.data(), n);
    return frame[n] == (crc >> 8) && frame[n + 1] == (crc & 0xFF);
}

std::string combineFelica(const CombineInput& in) {
    return combineWithStatusByte(in, felicaCrcValid);
}

std::optional<TagAnswer> FelicaCard::receive(const TagRequest& request) {
    Bytes frame = request.frame;
    if (frame.size() == kPollingBytes + 1 && frame[0] == frame.size()) frame.erase(frame.begin());
    if (frame.size() != kPollingBytes || frame[0] != kPolling) return std::nullopt;
    if (!systemCodeMatches(static_cast<std::uint16_t>(frame[1] << 8 | frame[2]))) {
        return std::nullopt;
    }

    // Length byte first; it counts itself. Whatever the time slot count, the answer comes
    // in the first slot, which keeps the simulated field deterministic.
    Bytes answer{0x00, kPollingResponse};
    answer.insert(answer.end(), config_.idm.begin(), config_.idm.end());
    answer.insert(answer.end(), config_.pmm.begin(), config_.pmm.end());
    if (frame[3] == kRequestSystemCode) {
        answer.push_back(static_cast<std::uint8_t>(config_.systemCode >> 8));
        answer.push_back(static_cast<std::uint8_t>(config_.systemCode & 0xFF));
    }
    answer[0] = static_cast<std::uint8_t>(answer.size());
    const std::uint16_t crc = felicaCrc(answer.data(), answer.size());
    answer.push_back(static_cast<std::uint8_t>(crc >> 8));
    answer.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return TagAnswer{std::move(answer)};
}

bool FelicaCard::systemCodeMatches(std::uint16_t requested) const {
    // FF in either byte of the requested code stands for any value of that byte.
    const int high = requested >> 8;
    const int low = requested & 0xFF;
    const bool highOk = high == 0xFF || high == (config_.systemCode >> 8);
    const bool lowOk = low == 0xFF || low == (config_.systemCode & 0xFF);
    return highOk && lowOk;
}

std::unique_ptr<Tag> makeFelicaCard(const TagSpec& spec) {
    FelicaCardConfig c;
    for (const auto& [key, text] : spec.keys) {
        const auto b = parseHex(text);
        if (key == "idm" || key == "pmm") {
            if (!b || b->size() != 8) return nullptr;
            std::copy(b->begin(), b->end(), (key == "idm" ? c.idm : c.pmm).begin());
        } else if (key == "systemcode") {
            if (!b || b->size() != 2) return nullptr;
            c.systemCode = static_cast<std::uint16_t>((*b)[0] << 8 | (*b)[1]);
        }
    }
    return std::make_unique<FelicaCard>(c);
}

}  // namespace simboard
