#pragma once

#include <memory>
#include <optional>

#include "simboard/iso14443a_frame.hpp"
#include "simboard/tag.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

// A TOPAZ tag: 120 bytes in 15 blocks of 8, addressed byte by byte (block in bits 6-3,
// byte in bits 2-0, so the address is the linear offset). Block 0 holds the 7-byte
// UID, block D is reserved, block E holds the two lock bytes and one-time bits.
struct TopazTagConfig {
    Bytes memory;             // 120 bytes; the UID is its first 7
    std::uint8_t hr0 = 0x11;  // header ROM: static memory of 120 bytes, NDEF capable
    std::uint8_t hr1 = 0x48;
};

class TopazTag : public Tag {
  public:
    static constexpr std::size_t kMemoryBytes = 120;
    enum class State { Idle, Ready };

    // nullptr unless the memory is exactly 120 bytes.
    static std::unique_ptr<TopazTag> create(TopazTagConfig config);

    Protocol protocol() const override { return Protocol::Iso14443A; }
    // Only under the TOPAZ set-up (see isTopazTiming).
    bool hears(const ProtocolConfig& config) const override { return isTopazTiming(config); }
    std::optional<TagAnswer> receive(const TagRequest& request) override;
    void fieldOff() override { state_ = State::Idle; }

    State state() const { return state_; }
    const Bytes& memory() const { return config_.memory; }

  private:
    explicit TopazTag(TopazTagConfig config) : config_(std::move(config)) {}

    std::optional<TagAnswer> command(const Bytes& payload);
    bool writable(std::size_t address) const;

    TopazTagConfig config_;
    State state_ = State::Idle;
};

// The memory of a fresh tag: the UID, block 0 locked, a capability container for the
// 96 data bytes, `content` (an NDEF TLV area) from byte 12, zeros elsewhere.
Bytes topazMemory(const Bytes& uid7, const Bytes& content);

// simulated-board.ini kind "topaz": uid (hex, 7 bytes), memory (hex, 120 bytes; the
// uid key, when given, overrides its first 7), hr0, hr1 (hex bytes).
std::unique_ptr<Tag> makeTopazTag(const TagSpec& spec);

}  // namespace simboard
