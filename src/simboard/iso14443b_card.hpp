#pragma once

#include <array>
#include <cstdint>

#include "simboard/tag.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

struct Iso14443bCardConfig {
    std::array<std::uint8_t, 4> pupi{0xA1, 0xB2, 0xC3, 0xD4};
    std::array<std::uint8_t, 4> applicationData{0x00, 0x00, 0x00, 0x00};
    // Three bytes, or four for a card that offers the extended ATQB: bit rate 00, frame
    // size code 7 with ISO14443-4 compliance, FWI 8 with CID supported, SFGI 0.
    Bytes protocolInfo{0x00, 0x71, 0x85, 0x00};
    std::uint8_t afi = 0x00;
    // High digit of the ATTRIB answer (the card's buffer size code).
    std::uint8_t mbli = 0x1;
};

// A generic ISO14443-B card: REQB/WUPB with AFI filtering, ATQB, ATTRIB and HLTB.
class Iso14443bCard : public Tag {
  public:
    enum class State { Idle, Ready, Active, Halted };

    explicit Iso14443bCard(Iso14443bCardConfig config = {});

    Protocol protocol() const override { return Protocol::Iso14443B; }
    std::optional<TagAnswer> receive(const TagRequest& request) override;
    void fieldOff() override { state_ = State::Idle; }

    State state() const { return state_; }
    const Iso14443bCardConfig& config() const { return config_; }

  private:
    std::optional<TagAnswer> onPoll(const Bytes& frame);
    std::optional<TagAnswer> onAttrib(const Bytes& frame);
    std::optional<TagAnswer> onHalt(const Bytes& frame);
    bool pupiMatches(const Bytes& frame) const;
    bool afiMatches(std::uint8_t requested) const;
    TagAnswer atqb(bool extended) const;

    Iso14443bCardConfig config_;
    State state_ = State::Idle;
};

// Keys of an "iso14443b" section, each optional (the default card's value otherwise):
//   pupi          8 hex digits, as sent on air
//   afi           2 hex digits
//   appdata       8 hex digits (application data)
//   protocolinfo  6 hex digits, or 8 for a card that gives the extended ATQB
//   mbli          1 hex digit
// nullptr when a value cannot be read.
std::unique_ptr<Tag> makeIso14443bCard(const TagSpec& spec);

}  // namespace simboard
