#include "simboard/iso14443a_tag.hpp"

#include <algorithm>

namespace simboard {

namespace {

constexpr std::uint8_t kReqa = 0x26;
constexpr std::uint8_t kWupa = 0x52;
constexpr std::uint8_t kCascadeTag = 0x88;
constexpr std::uint8_t kSakUidIncomplete = 0x04;
constexpr std::uint8_t kNvbSelect = 0x70;
constexpr std::uint8_t kRead = 0x30;
constexpr std::uint8_t kWrite = 0xA2;
constexpr std::uint8_t kCompatibilityWrite = 0xA0;
constexpr std::uint8_t kHalt = 0x50;
constexpr std::uint8_t kAck = 0x0A;
// The refusal the program reads as a NAK (it knows 01 and 04; 01 would claim a
// transmission error).
constexpr std::uint8_t kNakRefused = 0x04;
constexpr std::size_t kMaxMemoryBytes =
    std::size_t{256} * 4;  // READ and WRITE carry a one-byte page

std::uint8_t selectCode(int level) { return static_cast<std::uint8_t>(0x93 + 2 * level); }

std::uint8_t xorOf(const std::uint8_t* data, std::size_t size) {
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < size; ++i) x ^= data[i];
    return x;
}

TagAnswer fourBits(std::uint8_t value) { return TagAnswer{{value}, 4}; }

// Pages 0 to 2 of a 7-byte-UID tag: the UID with the check byte of each cascade level.
void writeUidPages(Bytes& memory, const Bytes& uid7) {
    memory[0] = uid7[0];
    memory[1] = uid7[1];
    memory[2] = uid7[2];
    memory[3] = static_cast<std::uint8_t>(kCascadeTag ^ xorOf(uid7.data(), 3));
    std::copy(uid7.begin() + 3, uid7.end(), memory.begin() + 4);
    memory[8] = xorOf(uid7.data() + 3, 4);
}

const Bytes kDefaultUid = {0x04, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
constexpr std::size_t kDefaultDataBytes = 48;
const char* const kDefaultText = "TQ73RN simulated tag";

}  // namespace

Bytes ndefTextTlv(const std::string& text) {
    // Built front to back in one buffer: status byte, language "en", then the text.
    const std::size_t payloadSize = 1 + 2 + text.size();
    const std::size_t recordSize = 4 + payloadSize;
    Bytes tlv;
    tlv.reserve(2 + recordSize + 1);
    tlv.push_back(0x03);
    tlv.push_back(static_cast<std::uint8_t>(recordSize));
    // Message begin and end, short record, well-known type "T".
    for (std::uint8_t b :
         {std::uint8_t{0xD1}, std::uint8_t{0x01}, static_cast<std::uint8_t>(payloadSize),
          std::uint8_t{'T'}, std::uint8_t{2}, std::uint8_t{'e'}, std::uint8_t{'n'}}) {
        tlv.push_back(b);
    }
    for (char c : text) tlv.push_back(static_cast<std::uint8_t>(c));
    tlv.push_back(0xFE);
    return tlv;
}

Bytes type2Memory(const Bytes& uid7, std::size_t dataBytes, const Bytes& content) {
    Bytes memory(16 + dataBytes, 0x00);
    writeUidPages(memory, uid7);
    // Capability container: NDEF magic number, version 1.0, size in 8-byte units,
    // read and write access granted.
    memory[12] = 0xE1;
    memory[13] = 0x10;
    memory[14] = static_cast<std::uint8_t>(dataBytes / 8);
    memory[15] = 0x00;
    std::copy_n(content.begin(), std::min(content.size(), dataBytes), memory.begin() + 16);
    return memory;
}

std::unique_ptr<Iso14443aTag> Iso14443aTag::create(Iso14443aTagConfig config) {
    const std::size_t n = config.uid.size();
    if (n != 4 && n != 7 && n != 10) return nullptr;
    if (config.uid[(n / 3 - 1) * 3] == kCascadeTag) return nullptr;
    if (config.sak & kSakUidIncomplete) return nullptr;
    for (std::size_t level = 0; level + 1 < n / 3; ++level) {
        if (!(config.cascadeSak[level] & kSakUidIncomplete)) return nullptr;
    }
    if (config.memory.size() > kMaxMemoryBytes) return nullptr;
    if (config.memory.empty()) config.memory.assign(64, 0x00);
    config.memory.resize(std::max<std::size_t>((config.memory.size() + 3) / 4 * 4, n == 7 ? 16 : 4),
                         0x00);
    if (n == 7) writeUidPages(config.memory, config.uid);
    return std::unique_ptr<Iso14443aTag>(new Iso14443aTag(std::move(config)));
}

Iso14443aTag::Iso14443aTag(Iso14443aTagConfig config) : config_(std::move(config)) {}

bool Iso14443aTag::hears(const ProtocolConfig& config) const {
    return config.protocol == Protocol::Iso14443A && !isTopazTiming(config);
}

void Iso14443aTag::fieldOff() {
    state_ = State::Idle;
    wokenFromHalt_ = false;
    level_ = 0;
    compatibilityPage_.reset();
}

Bytes Iso14443aTag::levelPart(int level) const {
    const auto& uid = config_.uid;
    const std::size_t offset = static_cast<std::size_t>(level) * 3;
    Bytes part;
    if (level + 1 < levels()) {
        part = {kCascadeTag, uid[offset], uid[offset + 1], uid[offset + 2]};
    } else {
        part.assign(uid.begin() + static_cast<std::ptrdiff_t>(offset),
                    uid.begin() + static_cast<std::ptrdiff_t>(offset) + 4);
    }
    part.push_back(xorOf(part.data(), 4));
    return part;
}

TagAnswer Iso14443aTag::atqa() const {
    if (config_.atqa) return TagAnswer{{(*config_.atqa)[0], (*config_.atqa)[1]}, 8};
    // UID size in bits 7-6, bit frame anticollision announced in bit 2.
    return TagAnswer{{static_cast<std::uint8_t>(((levels() - 1) << 6) | 0x04), 0x00}, 8};
}

std::optional<TagAnswer> Iso14443aTag::receive(const TagRequest& request) {
    const auto air = airFrameOf(request);
    if (!air) return std::nullopt;
    const bool wakeUp = air->isShortFrame() && (air->bytes[0] & 0x7F) == kWupa;
    const bool request7 = air->isShortFrame() && (air->bytes[0] & 0x7F) == kReqa;
    switch (state_) {
        case State::Idle:
        case State::Halt:
            // A halted tag hears only WUPA.
            if (wakeUp || (request7 && state_ == State::Idle)) {
                wokenFromHalt_ = state_ == State::Halt;
                state_ = State::Ready;
                level_ = 0;
                return atqa();
            }
            return std::nullopt;
        case State::Ready:
            return inReady(*air);
        case State::Active:
            return inActive(*air);
    }
    return std::nullopt;
}

std::optional<TagAnswer> Iso14443aTag::fallBack() {
    state_ = wokenFromHalt_ ? State::Halt : State::Idle;
    level_ = 0;
    compatibilityPage_.reset();
    return std::nullopt;
}

std::optional<TagAnswer> Iso14443aTag::nak() {
    fallBack();
    return fourBits(kNakRefused);
}

std::optional<TagAnswer> Iso14443aTag::inReady(const AirFrame& air) {
    if (air.topaz || air.bytes.size() < 2 || air.bytes[0] != selectCode(level_)) {
        return fallBack();
    }
    const Bytes part = levelPart(level_);
    if (air.bytes[1] != kNvbSelect) return anticollision(air, part);

    if (air.bytes.size() != 9 || air.lastBits != 8 || !endsWithCrcA(air.bytes) ||
        !std::equal(part.begin(), part.end(), air.bytes.begin() + 2)) {
        return fallBack();
    }
    TagAnswer sak;
    if (level_ + 1 < levels()) {
        sak.bytes = {config_.cascadeSak[static_cast<std::size_t>(level_)]};
        ++level_;
    } else {
        state_ = State::Active;
        sak.bytes = {config_.sak};
    }
    appendCrcA(sak.bytes);
    return sak;
}

std::optional<TagAnswer> Iso14443aTag::anticollision(const AirFrame& air, const Bytes& part) {
    // NVB: whole bytes sent (SEL and NVB included) in the high nibble, extra bits in
    // the low one.
    const std::size_t byteCount = air.bytes[1] >> 4;
    const std::size_t bitCount = air.bytes[1] & 0x0F;
    if (byteCount < 2 || byteCount > 6 || bitCount > 7) return fallBack();
    const std::size_t known = (byteCount - 2) * 8 + bitCount;
    const std::size_t frameBytes = byteCount + (bitCount ? 1 : 0);
    const int lastBits = bitCount ? static_cast<int>(bitCount) : 8;
    if (air.bytes.size() != frameBytes || air.lastBits != lastBits) {
        return fallBack();
    }
    for (std::size_t bit = 0; bit < known; ++bit) {
        const int sent = (air.bytes[2 + bit / 8] >> (bit % 8)) & 1;
        const int mine = (part[bit / 8] >> (bit % 8)) & 1;
        // Another tag's UID: this one keeps quiet and waits for its turn.
        if (sent != mine) return std::nullopt;
    }
    // The rest of the level from the byte the reader split; the transceiver merges the
    // bits it sent and those it received, so that byte comes back whole.
    TagAnswer answer;
    answer.bytes.assign(part.begin() + static_cast<std::ptrdiff_t>(known / 8), part.end());
    return answer;
}

std::optional<TagAnswer> Iso14443aTag::inActive(const AirFrame& air) {
    if (air.topaz || air.lastBits != 8 || !endsWithCrcA(air.bytes)) return fallBack();
    const Bytes payload(air.bytes.begin(), air.bytes.end() - 2);

    if (compatibilityPage_) {
        // Second part of COMPATIBILITY WRITE: 16 bytes, of which the first 4 are kept.
        const std::size_t page = *compatibilityPage_;
        compatibilityPage_.reset();
        if (payload.size() != 16) return fallBack();
        return writePage(page, payload.data()) ? fourBits(kAck) : *nak();
    }

    const std::uint8_t command = payload[0];
    if (command == kRead && payload.size() == 2) {
        const std::size_t page = payload[1];
        if (page >= pages()) return nak();
        // Past the last page the read rolls over to page 0.
        TagAnswer answer;
        const std::size_t size = config_.memory.size();
        for (std::size_t i = 0; i < 16; ++i) {
            answer.bytes.push_back(config_.memory[(page * 4 + i) % size]);
        }
        appendCrcA(answer.bytes);
        return answer;
    }
    if (command == kWrite && payload.size() == 6) {
        return writePage(payload[1], payload.data() + 2) ? fourBits(kAck) : *nak();
    }
    if (command == kCompatibilityWrite && payload.size() == 2) {
        if (payload[1] >= pages()) return nak();
        compatibilityPage_ = payload[1];
        return fourBits(kAck);
    }
    if (command == kHalt && payload.size() == 2 && payload[1] == 0x00) {
        state_ = State::Halt;
        level_ = 0;
        return std::nullopt;
    }
    return fallBack();
}

bool Iso14443aTag::writePage(std::size_t page, const std::uint8_t* data) {
    if (page >= pages()) return false;
    std::uint8_t* target = config_.memory.data() + page * 4;
    if (config_.uid.size() != 7 || page > 3) {
        std::copy_n(data, 4, target);
        return true;
    }
    if (page < 2) return false;
    // Lock bytes and capability container: bits can be set, never cleared.
    for (std::size_t i = page == 2 ? 2 : 0; i < 4; ++i) target[i] |= data[i];
    return true;
}

std::unique_ptr<Tag> makeIso14443aTag(const TagSpec& spec) {
    Iso14443aTagConfig config;
    config.uid = kDefaultUid;
    if (const auto it = spec.keys.find("uid"); it != spec.keys.end()) {
        const auto uid = parseHexSetting(it->second);
        if (!uid) return nullptr;
        config.uid = *uid;
    }
    if (const auto it = spec.keys.find("memory"); it != spec.keys.end()) {
        const auto memory = parseHexSetting(it->second);
        if (!memory) return nullptr;
        config.memory = *memory;
    } else if (config.uid.size() == 7) {
        config.memory = type2Memory(config.uid, kDefaultDataBytes, ndefTextTlv(kDefaultText));
    }
    const auto byteKey = [&](const char* key, std::uint8_t& target) {
        const auto it = spec.keys.find(key);
        if (it == spec.keys.end()) return true;
        const auto value = parseHexSetting(it->second);
        if (!value || value->size() != 1) return false;
        target = value->front();
        return true;
    };
    if (!byteKey("sak", config.sak)) return nullptr;
    // A level SAK for a level the UID does not go on past would never be sent.
    const std::size_t cascadeLevels = std::max<std::size_t>(config.uid.size() / 3, 1) - 1;
    for (std::size_t level = 0; level < config.cascadeSak.size(); ++level) {
        const std::string key = "sak" + std::to_string(level + 1);
        if (level >= cascadeLevels && spec.keys.count(key)) return nullptr;
        if (!byteKey(key.c_str(), config.cascadeSak[level])) return nullptr;
    }
    if (const auto it = spec.keys.find("atqa"); it != spec.keys.end()) {
        const auto atqa = parseHexSetting(it->second);
        if (!atqa || atqa->size() != 2) return nullptr;
        config.atqa = std::array<std::uint8_t, 2>{(*atqa)[0], (*atqa)[1]};
    }
    return Iso14443aTag::create(std::move(config));
}

}  // namespace simboard
