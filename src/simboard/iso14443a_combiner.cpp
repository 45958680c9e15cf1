#include "simboard/iso14443a_combiner.hpp"

#include <algorithm>

#include "simboard/hex.hpp"
#include "simboard/iso14443a_frame.hpp"

namespace simboard {

namespace {

constexpr std::uint8_t kCollisionBit = 0x80;
constexpr std::uint8_t kCrcErrorBit = 0x20;
constexpr std::uint8_t kWholeFirstByte = 0x08;

std::size_t bitLength(const TagAnswer& a) {
    if (a.bytes.empty()) return 0;
    const int last = std::clamp(a.lastByteBits, 1, 8);
    return (a.bytes.size() - 1) * 8 + static_cast<std::size_t>(last);
}

bool bitAt(const Bytes& bytes, std::size_t bit) { return (bytes[bit / 8] >> (bit % 8)) & 1; }

// The first bit where one tag sends 1 and another 0. A silent tag does not disturb
// the others, so only bits that two or more tags send can collide.
std::optional<std::size_t> firstCollision(const std::vector<TagAnswer>& answers) {
    std::size_t longest = 0;
    for (const TagAnswer& a : answers) longest = std::max(longest, bitLength(a));
    for (std::size_t bit = 0; bit < longest; ++bit) {
        bool one = false;
        bool zero = false;
        for (const TagAnswer& a : answers) {
            if (bit >= bitLength(a)) continue;
            (bitAt(a.bytes, bit) ? one : zero) = true;
        }
        if (one && zero) return bit;
    }
    return std::nullopt;
}

}  // namespace

std::string combineIso14443a(const CombineInput& in) {
    if (in.answers.empty()) return noTagAnswer();

    bool differ = false;
    Bytes data = overlayFrames(in.answers, differ);
    std::size_t bits = 0;
    for (const TagAnswer& a : in.answers) bits = std::max(bits, bitLength(a));
    if (data.empty()) return noTagAnswer();

    if (data.size() == 1 && bits < 8) {
        std::string out = "90";
        appendHex(out, static_cast<std::uint8_t>(bits));
        appendHex(out, data.front());
        return out;
    }

    std::uint8_t status = kWholeFirstByte;
    std::uint8_t collisionByte = 0;
    std::uint8_t collisionBit = 0;
    if (const auto bit = firstCollision(in.answers)) {
        status |= kCollisionBit;
        collisionByte = static_cast<std::uint8_t>(*bit / 8);
        collisionBit = static_cast<std::uint8_t>(*bit % 8);
    }
    // Only a frame that carries a CRC_A can arrive with a damaged one.
    if (in.fault.corruptCrc && endsWithCrcA(data)) {
        data = applyCrcFault(std::move(data), in.fault);
        status |= kCrcErrorBit;
    }
    data.push_back(applyStatusFault(status, in.fault));
    data.push_back(collisionByte);
    data.push_back(collisionBit);
    return resultAnswer("80", data);
}

}  // namespace simboard
