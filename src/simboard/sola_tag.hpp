#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "simboard/tag.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

// Blocks of four bytes in each SOLA product: 4 kbit, except SOLA-A and SOLT-A which hold
// 64 bytes whatever their density says. Empty for a reference that is not a SOLA product.
std::optional<int> solaBlockCount(std::string_view reference);

struct SolaTagConfig {
    std::uint8_t chipId = 0x37;
    // As the program shows it: most significant byte first. On air it goes the other way.
    std::array<std::uint8_t, 8> uid{0x1C, 0x2B, 0x3A, 0x49, 0x58, 0x67, 0x76, 0x85};
    int blocks = 16;
    // Initial memory from block 0 on; what it does not cover reads as a counting pattern.
    Bytes memory;
};

// A SOLA memory tag on the ISO14443-B field, with its own command set and the states
// Ready -> Inventory -> Selected -> Deactivated.
class SolaTag : public Tag {
  public:
    enum class State { Ready, Inventory, Selected, Deactivated };

    explicit SolaTag(SolaTagConfig config = {});

    Protocol protocol() const override { return Protocol::Iso14443B; }
    std::optional<TagAnswer> receive(const TagRequest& request) override;
    void fieldOff() override { state_ = State::Ready; }

    // The tag settles its slot at INITIATE, from the low digit of its chip ID, and keeps
    // it at PCALL16, so that an inventory finds each tag where its chip ID says. A tag in
    // slot 0 answers INITIATE and PCALL16 only, the others INITIATE and their slot marker.
    int slot() const { return config_.chipId & 0x0F; }
    State state() const { return state_; }
    std::uint8_t chipId() const { return config_.chipId; }
    const Bytes& memory() const { return memory_; }

  private:
    std::optional<TagAnswer> chipIdAnswer() const;
    std::optional<TagAnswer> onSelect(const Bytes& frame);
    std::optional<TagAnswer> onRead(const Bytes& frame) const;
    void onWrite(const Bytes& frame);

    SolaTagConfig config_;
    Bytes memory_;
    State state_ = State::Ready;
};

// Keys of a "sola" section, each optional (the default tag's value otherwise):
//   chipid   2 hex digits; its low digit is the tag's slot
//   uid      16 hex digits, most significant byte first
//   product  a SOLA product reference, for its memory size
//   blocks   number of 4-byte blocks (decimal, 1 to 256); wins over product
//   data     hex bytes from block 0
// nullptr when a value cannot be read.
std::unique_ptr<Tag> makeSolaTag(const TagSpec& spec);

}  // namespace simboard
