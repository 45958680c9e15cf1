#include "simboard/topaz_tag.hpp"

#include <algorithm>

#include "simboard/iso14443a_tag.hpp"

namespace simboard {

namespace {

constexpr std::uint8_t kReqa = 0x26;
constexpr std::uint8_t kWupa = 0x52;
// ATQA 0C00: no UID size or bit frame anticollision announced, proprietary coding 0C.
// Least significant byte first on air, as every ATQA.
constexpr std::uint8_t kAtqaLow = 0x00;
constexpr std::uint8_t kAtqaHigh = 0x0C;
constexpr std::uint8_t kRid = 0x78;
constexpr std::uint8_t kRall = 0x00;
constexpr std::uint8_t kRead = 0x01;
constexpr std::uint8_t kWriteErase = 0x53;
constexpr std::uint8_t kWriteNoErase = 0x1A;
// Every command: code, address, data, then the first four UID bytes (zeros for RID).
constexpr std::size_t kCommandBytes = 7;
constexpr std::size_t kUidEchoBytes = 4;
constexpr std::size_t kReservedBlock = 0x0D;
constexpr std::size_t kLockBlock = 0x0E;
constexpr std::size_t kLock0 = 0x70;
constexpr std::size_t kLock1 = 0x71;

const Bytes kDefaultUid = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
const char* const kDefaultText = "TQ73RN TOPAZ tag";

}  // namespace

Bytes topazMemory(const Bytes& uid7, const Bytes& content) {
    Bytes memory(TopazTag::kMemoryBytes, 0x00);
    std::copy_n(uid7.begin(), std::min<std::size_t>(uid7.size(), 7), memory.begin());
    // Capability container: NDEF magic number, version 1.0, 120 bytes, open access.
    memory[8] = 0xE1;
    memory[9] = 0x10;
    memory[10] = 0x0E;
    memory[11] = 0x00;
    std::copy_n(content.begin(), std::min<std::size_t>(content.size(), 0x68 - 12),
                memory.begin() + 12);
    memory[kLock0] = 0x01;  // the UID block is read-only
    return memory;
}

std::unique_ptr<TopazTag> TopazTag::create(TopazTagConfig config) {
    if (config.memory.size() != kMemoryBytes) return nullptr;
    return std::unique_ptr<TopazTag>(new TopazTag(std::move(config)));
}

std::optional<TagAnswer> TopazTag::receive(const TagRequest& request) {
    const auto air = airFrameOf(request);
    if (!air) return std::nullopt;
    if (air->isShortFrame()) {
        const std::uint8_t code = air->bytes[0] & 0x7F;
        if (code != kReqa && code != kWupa) return std::nullopt;
        // Answered again while ready, so a second REQA click is not met by silence.
        state_ = State::Ready;
        return TagAnswer{{kAtqaLow, kAtqaHigh}, 8};
    }
    if (state_ != State::Ready || !air->topaz || air->lastBits != 8 ||
        air->bytes.size() != kCommandBytes + 2 || !endsWithCrcA(air->bytes)) {
        return std::nullopt;
    }
    return command(Bytes(air->bytes.begin(), air->bytes.end() - 2));
}

bool TopazTag::writable(std::size_t address) const {
    const std::size_t block = address >> 3;
    if (block == kReservedBlock) return false;
    if (block == kLockBlock) return true;
    const std::uint8_t lock = config_.memory[block < 8 ? kLock0 : kLock1];
    return ((lock >> (block % 8)) & 1) == 0;
}

std::optional<TagAnswer> TopazTag::command(const Bytes& payload) {
    const std::uint8_t code = payload[0];
    const std::size_t address = payload[1];
    const std::uint8_t data = payload[2];
    auto& memory = config_.memory;
    TagAnswer answer;
    if (code == kRid) {
        answer.bytes = {config_.hr0, config_.hr1};
        answer.bytes.insert(answer.bytes.end(), memory.begin(), memory.begin() + kUidEchoBytes);
        appendCrcA(answer.bytes);
        return answer;
    }
    // Every other command names the tag by its UID.
    if (!std::equal(memory.begin(), memory.begin() + kUidEchoBytes, payload.begin() + 3)) {
        return std::nullopt;
    }
    const bool inMemory = address < kMemoryBytes;
    if (code == kRall) {
        answer.bytes = {config_.hr0, config_.hr1};
        answer.bytes.insert(answer.bytes.end(), memory.begin(), memory.end());
    } else if (code == kRead && inMemory) {
        answer.bytes = {static_cast<std::uint8_t>(address), memory[address]};
    } else if ((code == kWriteErase || code == kWriteNoErase) && inMemory && writable(address)) {
        // Without erase, and in the one-time block, bits can only be set.
        const bool orOnly = code == kWriteNoErase || (address >> 3) == kLockBlock;
        memory[address] = orOnly ? static_cast<std::uint8_t>(memory[address] | data) : data;
        answer.bytes = {static_cast<std::uint8_t>(address), memory[address]};
    } else {
        return std::nullopt;
    }
    appendCrcA(answer.bytes);
    return answer;
}

std::unique_ptr<Tag> makeTopazTag(const TagSpec& spec) {
    TopazTagConfig config;
    Bytes uid = kDefaultUid;
    const auto uidKey = spec.keys.find("uid");
    if (uidKey != spec.keys.end()) {
        const auto parsed = parseHexSetting(uidKey->second);
        if (!parsed || parsed->size() != 7) return nullptr;
        uid = *parsed;
    }
    if (const auto it = spec.keys.find("memory"); it != spec.keys.end()) {
        const auto memory = parseHexSetting(it->second);
        if (!memory || memory->size() != TopazTag::kMemoryBytes) return nullptr;
        config.memory = *memory;
        if (uidKey != spec.keys.end()) std::copy(uid.begin(), uid.end(), config.memory.begin());
    } else {
        config.memory = topazMemory(uid, ndefTextTlv(kDefaultText));
    }
    for (auto [key, target] : {std::pair{"hr0", &config.hr0}, std::pair{"hr1", &config.hr1}}) {
        if (const auto it = spec.keys.find(key); it != spec.keys.end()) {
            const auto value = parseHexSetting(it->second);
            if (!value || value->size() != 1) return nullptr;
            *target = value->front();
        }
    }
    return TopazTag::create(std::move(config));
}

}  // namespace simboard
