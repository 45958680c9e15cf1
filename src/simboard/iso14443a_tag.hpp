#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "simboard/iso14443a_frame.hpp"
#include "simboard/tag.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

struct Iso14443aTagConfig {
    Bytes uid;                // 4, 7 or 10 bytes, in the order the tag sends them
    Bytes memory;             // whole pages of 4 bytes, page 0 first
    std::uint8_t sak = 0x00;  // the SAK of the last cascade level
    // The ATQA in the order it goes on air, least significant byte first. Without one
    // the tag announces its UID size and bit frame anticollision: 04 00, 44 00 or 84 00.
    std::optional<std::array<std::uint8_t, 2>> atqa;
    // The SAK of cascade levels 1 and 2 while the UID goes on: the cascade bit (04) set,
    // and whatever else the tag's maker put beside it.
    std::array<std::uint8_t, 2> cascadeSak{0x04, 0x04};
};

// An ISO/IEC 14443-3 type A tag with page memory: wake-up, anticollision and selection
// over up to three cascade levels, then READ, WRITE and COMPATIBILITY WRITE.
//
// A tag with a 7-byte UID keeps it in pages 0 to 2 as its reads show it (UID bytes and
// their check bytes); those pages cannot be written, except that the last two bytes
// of page 2 and the whole of page 3 only gain bits, as one-time fields do.
class Iso14443aTag : public Tag {
  public:
    enum class State { Idle, Ready, Active, Halt };

    // nullptr when the UID has another length, or starts its last cascade level with
    // the cascade tag 88 (a reader would take it for a longer UID), or when a SAK says
    // the opposite of what its level is (the cascade bit set on the last level, clear
    // on another).
    static std::unique_ptr<Iso14443aTag> create(Iso14443aTagConfig config);

    Protocol protocol() const override { return Protocol::Iso14443A; }
    bool hears(const ProtocolConfig& config) const override;
    std::optional<TagAnswer> receive(const TagRequest& request) override;
    void fieldOff() override;

    State state() const { return state_; }
    const Bytes& memory() const { return config_.memory; }
    const Bytes& uid() const { return config_.uid; }

  private:
    explicit Iso14443aTag(Iso14443aTagConfig config);

    int levels() const { return static_cast<int>(config_.uid.size() / 3); }
    std::size_t pages() const { return config_.memory.size() / 4; }
    // The four bytes of a cascade level and their BCC, as ANTICOLLISION reveals them.
    Bytes levelPart(int level) const;
    TagAnswer atqa() const;

    std::optional<TagAnswer> inReady(const AirFrame& air);
    std::optional<TagAnswer> inActive(const AirFrame& air);
    std::optional<TagAnswer> anticollision(const AirFrame& air, const Bytes& part);
    bool writePage(std::size_t page, const std::uint8_t* data);
    // A frame the tag does not expect: silence, and back to where it was woken from.
    std::optional<TagAnswer> fallBack();
    std::optional<TagAnswer> nak();

    Iso14443aTagConfig config_;
    State state_ = State::Idle;
    bool wokenFromHalt_ = false;
    int level_ = 0;
    std::optional<std::size_t> compatibilityPage_;
};

// The memory of a type 2 tag with a 7-byte UID: UID pages, lock bytes, the capability
// container announcing `dataBytes` bytes, then `content` (an NDEF TLV area) padded
// with zeros to the end.
Bytes type2Memory(const Bytes& uid7, std::size_t dataBytes, const Bytes& content);

// An NDEF TLV holding one well-known Text record (language "en"), then the
// terminator TLV: the content both default tags carry.
Bytes ndefTextTlv(const std::string& text);

// simulated-board.ini kind "iso14443a": uid (hex, 4, 7 or 10 bytes), memory (hex,
// the whole memory), sak (hex byte, the last level's), atqa (hex, 2 bytes as on air),
// sak1 and sak2 (hex bytes, levels 1 and 2 of a UID that goes on past them). Without
// keys: the default tag. nullptr when a value cannot be read or names a level the UID
// does not have.
std::unique_ptr<Tag> makeIso14443aTag(const TagSpec& spec);

}  // namespace simboard
