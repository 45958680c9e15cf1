#include "simboard/sola_tag.hpp"

#include <algorithm>
#include <charconv>

#include "simboard/hex.hpp"
#include "simboard/iso14443b_frames.hpp"

namespace simboard {

namespace {
constexpr std::uint8_t kInitiateCode = 0x06;
constexpr std::uint8_t kInitiateParam = 0x00;
constexpr std::uint8_t kPcall16Param = 0x04;
constexpr std::uint8_t kSlotMarkerLowDigit = 0x06;
constexpr std::uint8_t kSelect = 0x0E;
constexpr std::uint8_t kGetUid = 0x0B;
constexpr std::uint8_t kReadBlock = 0x08;
constexpr std::uint8_t kWriteBlock = 0x09;
constexpr std::uint8_t kCompletion = 0x0F;
constexpr std::uint8_t kResetToInventory = 0x0C;
constexpr int kBlockBytes = 4;
// Block addresses travel in one byte.
constexpr int kMaxBlocks = 256;
}  // namespace

std::optional<int> solaBlockCount(std::string_view reference) {
    if (reference == "SOLA-A" || reference == "SOLT-A") return 16;
    if (reference == "SOLA-B" || reference == "SOLA-C" || reference == "SOLX-A") {
        return 4 * 1024 / 8 / kBlockBytes;
    }
    return std::nullopt;
}

SolaTag::SolaTag(SolaTagConfig config) : config_(std::move(config)) {
    config_.blocks = std::clamp(config_.blocks, 1, kMaxBlocks);
    memory_.resize(static_cast<std::size_t>(config_.blocks) * kBlockBytes);
    for (std::size_t i = 0; i < memory_.size(); ++i) {
        memory_[i] =
            i < config_.memory.size() ? config_.memory[i] : static_cast<std::uint8_t>(i & 0xFF);
    }
}

std::optional<TagAnswer> SolaTag::receive(const TagRequest& request) {
    const Bytes& frame = request.frame;
    if (frame.empty() || state_ == State::Deactivated) return std::nullopt;
    const std::uint8_t code = frame[0];

    if (frame.size() == 1 && (code & 0x0F) == kSlotMarkerLowDigit && code != kInitiateCode) {
        const bool mine = state_ == State::Inventory && (code >> 4) == slot();
        return mine ? chipIdAnswer() : std::nullopt;
    }
    if (code == kInitiateCode && frame.size() == 2) {
        if (frame[1] == kInitiateParam && state_ != State::Selected) {
            state_ = State::Inventory;
            return chipIdAnswer();
        }
        if (frame[1] == kPcall16Param && state_ == State::Inventory && slot() == 0) {
            return chipIdAnswer();
        }
        return std::nullopt;
    }
    if (code == kSelect) return onSelect(frame);
    if (state_ != State::Selected) return std::nullopt;

    switch (code) {
        case kGetUid:
            if (frame.size() != 1) return std::nullopt;
            return iso14443bAnswer(Bytes(config_.uid.rbegin(), config_.uid.rend()));
        case kReadBlock:
            return onRead(frame);
        case kWriteBlock:
            // The tag writes and keeps silent; a reader checks a write by reading the
            // block back.
            onWrite(frame);
            return std::nullopt;
        case kCompletion:
            if (frame.size() == 1) state_ = State::Deactivated;
            return std::nullopt;
        case kResetToInventory:
            if (frame.size() == 1) state_ = State::Inventory;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::optional<TagAnswer> SolaTag::chipIdAnswer() const {
    return iso14443bAnswer(Bytes{config_.chipId});
}

std::optional<TagAnswer> SolaTag::onSelect(const Bytes& frame) {
    if (frame.size() != 2 || state_ == State::Ready) return std::nullopt;
    if (frame[1] == config_.chipId) {
        state_ = State::Selected;
        return chipIdAnswer();
    }
    // Selecting another tag sends this one back among the inventoried tags.
    if (state_ == State::Selected) state_ = State::Inventory;
    return std::nullopt;
}

std::optional<TagAnswer> SolaTag::onRead(const Bytes& frame) const {
    if (frame.size() != 2 || frame[1] >= config_.blocks) return std::nullopt;
    const auto first = memory_.begin() + std::ptrdiff_t{frame[1]} * kBlockBytes;
    return iso14443bAnswer(Bytes(first, first + kBlockBytes));
}

void SolaTag::onWrite(const Bytes& frame) {
    if (frame.size() != 2 + kBlockBytes || frame[1] >= config_.blocks) return;
    std::copy(frame.begin() + 2, frame.end(),
              memory_.begin() + std::ptrdiff_t{frame[1]} * kBlockBytes);
}

std::unique_ptr<Tag> makeSolaTag(const TagSpec& spec) {
    SolaTagConfig c;
    const auto value = [&](const char* key) -> const std::string* {
        const auto it = spec.keys.find(key);
        return it == spec.keys.end() ? nullptr : &it->second;
    };
    if (const auto* v = value("chipid")) {
        const auto b = parseHex(*v);
        if (!b || b->size() != 1) return nullptr;
        c.chipId = b->front();
    }
    if (const auto* v = value("uid")) {
        const auto b = parseHex(*v);
        if (!b || b->size() != c.uid.size()) return nullptr;
        std::copy(b->begin(), b->end(), c.uid.begin());
    }
    if (const auto* v = value("product")) {
        const auto blocks = solaBlockCount(*v);
        if (!blocks) return nullptr;
        c.blocks = *blocks;
    }
    if (const auto* v = value("blocks")) {
        const char* end = v->data() + v->size();
        const auto [ptr, ec] = std::from_chars(v->data(), end, c.blocks);
        if (v->empty() || ec != std::errc{} || ptr != end || c.blocks < 1 ||
            c.blocks > kMaxBlocks) {
            return nullptr;
        }
    }
    if (const auto* v = value("data")) {
        auto b = parseHex(*v);
        if (!b) return nullptr;
        c.memory = std::move(*b);
    }
    return std::make_unique<SolaTag>(std::move(c));
}

}  // namespace simboard
