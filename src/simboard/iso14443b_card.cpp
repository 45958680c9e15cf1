#include "simboard/iso14443b_card.hpp"

#include <algorithm>

#include "simboard/hex.hpp"
#include "simboard/iso14443b_frames.hpp"

namespace simboard {

namespace {
constexpr std::uint8_t kApf = 0x05;
constexpr std::uint8_t kAttrib = 0x1D;
constexpr std::uint8_t kHaltB = 0x50;
constexpr std::uint8_t kAtqbFirstByte = 0x50;
// PARAM bits: b4 wake-up (WUPB), b5 the reader takes an extended ATQB. The remaining high
// bits are RFU and the program always sets them, so they are not looked at.
constexpr std::uint8_t kParamWakeUp = 0x08;
constexpr std::uint8_t kParamExtendedAtqb = 0x10;

}  // namespace

Iso14443bCard::Iso14443bCard(Iso14443bCardConfig config) : config_(std::move(config)) {
    // A card always has at least the three standard bytes; a fourth means it can give the
    // extended ATQB, and more would not be a protocol info at all.
    config_.protocolInfo.resize(std::clamp<std::size_t>(config_.protocolInfo.size(), 3, 4), 0x00);
    config_.mbli &= 0x0F;
}

std::optional<TagAnswer> Iso14443bCard::receive(const TagRequest& request) {
    const Bytes& frame = request.frame;
    if (frame.empty()) return std::nullopt;
    switch (frame[0]) {
        case kApf:
            return onPoll(frame);
        case kAttrib:
            return onAttrib(frame);
        case kHaltB:
            return onHalt(frame);
        default:
            return std::nullopt;
    }
}

std::optional<TagAnswer> Iso14443bCard::onPoll(const Bytes& frame) {
    if (frame.size() != 3) return std::nullopt;
    const std::uint8_t param = frame[2];
    const bool wakeUp = (param & kParamWakeUp) != 0;
    if (state_ == State::Active) return std::nullopt;
    if (state_ == State::Halted && !wakeUp) return std::nullopt;
    if (!afiMatches(frame[1])) return std::nullopt;
    // However many slots the reader offers, the card answers in the first one: a
    // simulated antenna gains nothing from a random slot but lost determinism.
    state_ = State::Ready;
    return atqb((param & kParamExtendedAtqb) != 0);
}

std::optional<TagAnswer> Iso14443bCard::onAttrib(const Bytes& frame) {
    if (frame.size() < 9 || state_ != State::Ready || !pupiMatches(frame)) return std::nullopt;
    state_ = State::Active;
    const std::uint8_t cid = frame[8] & 0x0F;
    return iso14443bAnswer(Bytes{static_cast<std::uint8_t>((config_.mbli << 4) | cid)});
}

std::optional<TagAnswer> Iso14443bCard::onHalt(const Bytes& frame) {
    if (frame.size() != 5 || !pupiMatches(frame)) return std::nullopt;
    if (state_ != State::Ready && state_ != State::Active) return std::nullopt;
    state_ = State::Halted;
    return iso14443bAnswer(Bytes{0x00});
}

bool Iso14443bCard::pupiMatches(const Bytes& frame) const {
    return frame.size() >= 5 &&
           std::equal(config_.pupi.begin(), config_.pupi.end(), frame.begin() + 1);
}

bool Iso14443bCard::afiMatches(std::uint8_t requested) const {
    // 00 calls every card; a zero nibble calls every family or every sub-family.
    const std::uint8_t family = requested >> 4;
    const std::uint8_t subFamily = requested & 0x0F;
    const bool familyOk = family == 0 || family == (config_.afi >> 4);
    const bool subFamilyOk = subFamily == 0 || subFamily == (config_.afi & 0x0F);
    return familyOk && subFamilyOk;
}

TagAnswer Iso14443bCard::atqb(bool extended) const {
    Bytes frame{kAtqbFirstByte};
    frame.insert(frame.end(), config_.pupi.begin(), config_.pupi.end());
    frame.insert(frame.end(), config_.applicationData.begin(), config_.applicationData.end());
    const std::size_t infoBytes = extended ? config_.protocolInfo.size() : 3;
    frame.insert(frame.end(), config_.protocolInfo.begin(),
                 config_.protocolInfo.begin() + static_cast<std::ptrdiff_t>(infoBytes));
    return iso14443bAnswer(std::move(frame));
}

namespace {
// The bytes of `text` when it holds exactly `minBytes` to `maxBytes` of them.
std::optional<Bytes> hexField(const std::string& text, std::size_t minBytes, std::size_t maxBytes) {
    auto bytes = parseHex(text);
    if (!bytes || bytes->size() < minBytes || bytes->size() > maxBytes) return std::nullopt;
    return bytes;
}
}  // namespace

std::unique_ptr<Tag> makeIso14443bCard(const TagSpec& spec) {
    Iso14443bCardConfig c;
    for (const auto& [key, value] : spec.keys) {
        if (key == "pupi") {
            const auto b = hexField(value, 4, 4);
            if (!b) return nullptr;
            std::copy(b->begin(), b->end(), c.pupi.begin());
        } else if (key == "afi") {
            const auto b = hexField(value, 1, 1);
            if (!b) return nullptr;
            c.afi = b->front();
        } else if (key == "appdata") {
            const auto b = hexField(value, 4, 4);
            if (!b) return nullptr;
            std::copy(b->begin(), b->end(), c.applicationData.begin());
        } else if (key == "protocolinfo") {
            const auto b = hexField(value, 3, 4);
            if (!b) return nullptr;
            c.protocolInfo = *b;
        } else if (key == "mbli") {
            const auto b = hexField("0" + value, 1, 1);
            if (!b) return nullptr;
            c.mbli = b->front();
        }
    }
    return std::make_unique<Iso14443bCard>(std::move(c));
}

}  // namespace simboard
