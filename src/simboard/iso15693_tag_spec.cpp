#include "simboard/iso15693_tag_spec.hpp"

#include <charconv>
#include <string_view>

#include "simboard/hex.hpp"

namespace simboard {

namespace {

constexpr std::string_view kDefaultText = "TQ73RN simulated ISO15693 tag, 64 kbit. ";
constexpr std::string_view kSecretText = "Read behind password 1. ";
constexpr int kDefaultLockedBlock = 0x01;
constexpr int kDefaultProtectedSector = 1;

template <typename T>
bool parseNumber(std::string_view text, int base, T& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return ec == std::errc{} && end == text.data() + text.size() && !text.empty();
}

bool parseByte(std::string_view text, std::uint8_t& out) {
    unsigned value = 0;
    if (text.size() != 2 || !parseNumber(text, 16, value)) return false;
    out = static_cast<std::uint8_t>(value);
    return true;
}

bool parseLockedList(std::string_view text, std::vector<int>& out) {
    out.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of(" ,", pos);
        const std::string_view item =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!item.empty()) {
            int block = 0;
            if (!parseNumber(item, 16, block)) return false;
            out.push_back(block);
        }
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return true;
}

}  // namespace

Iso15693TagConfig defaultIso15693TagConfig() {
    Iso15693TagConfig c;
    c.uid = 0xE002030405060708ULL;
    c.blockSize = 4;
    c.blockCount = 64 * 1024 / 8 / c.blockSize;
    c.data.assign(kDefaultText.begin(), kDefaultText.end());
    const int secretAt = kDefaultProtectedSector * iso15693::kBlocksPerSector * c.blockSize;
    c.data.resize(static_cast<std::size_t>(secretAt), 0);
    c.data.insert(c.data.end(), kSecretText.begin(), kSecretText.end());
    c.lockedBlocks = {kDefaultLockedBlock};
    c.sectorProtection.assign(kDefaultProtectedSector + 1, 0);
    c.sectorProtection[kDefaultProtectedSector] = 1 | iso15693::kSectorReadProtected;
    c.passwords[0] = Bytes{0x11, 0x22, 0x33, 0x44};
    return c;
}

std::unique_ptr<Tag> makeIso15693Tag(const TagSpec& spec) {
    Iso15693TagConfig c = defaultIso15693TagConfig();
    const auto& keys = spec.keys;
    const auto value = [&](const char* key) -> const std::string* {
        const auto it = keys.find(key);
        return it == keys.end() ? nullptr : &it->second;
    };

    if (value("blocks") || value("size") || value("blocksize") || value("data")) {
        c.data.clear();
        c.lockedBlocks.clear();
        c.sectorProtection.clear();
        // Its passwords too: a tag of its own starts as a fresh one, all zero.
        c.passwords = Iso15693TagConfig{}.passwords;
    }
    if (const auto* v = value("uid")) {
        if (v->size() != 16 || !parseNumber(*v, 16, c.uid)) return nullptr;
    }
    if (const auto* v = value("dsfid"); v && !parseByte(*v, c.dsfid)) return nullptr;
    if (const auto* v = value("afi"); v && !parseByte(*v, c.afi)) return nullptr;
    if (const auto* v = value("ic"); v && !parseByte(*v, c.icReference)) return nullptr;
    if (const auto* v = value("blocksize")) {
        if (!parseNumber(*v, 10, c.blockSize) || c.blockSize < 1 || c.blockSize > 32) {
            return nullptr;
        }
    }
    if (const auto* v = value("size")) {
        int kbit = 0;
        if (!parseNumber(*v, 10, kbit) || kbit < 1 || kbit > 64 * 32) return nullptr;
        c.blockCount = kbit * 1024 / 8 / c.blockSize;
    }
    if (const auto* v = value("blocks")) {
        if (!parseNumber(*v, 10, c.blockCount)) return nullptr;
    }
    if (c.blockCount < 1 || c.blockCount > 65536) return nullptr;
    if (const auto* v = value("data")) {
        auto bytes = parseHex(*v);
        if (!bytes) return nullptr;
        c.data = std::move(*bytes);
    }
    if (const auto* v = value("locked"); v && !parseLockedList(*v, c.lockedBlocks)) {
        return nullptr;
    }
    if (const auto* v = value("family")) {
        if (*v == "password") {
            c.family = Iso15693Family::SectorPasswords;
        } else if (*v == "kill") {
            c.family = Iso15693Family::KillCode;
        } else {
            return nullptr;
        }
    }
    return std::make_unique<Iso15693Tag>(std::move(c));
}

}  // namespace simboard
