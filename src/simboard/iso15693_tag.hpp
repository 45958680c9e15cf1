#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "simboard/tag.hpp"

namespace simboard {

// Request flags of ISO/IEC 15693, and the ones that change meaning in inventories.
namespace iso15693 {
constexpr std::uint8_t kFlagSubcarrier = 0x01;
constexpr std::uint8_t kFlagDataRate = 0x02;
constexpr std::uint8_t kFlagInventory = 0x04;
constexpr std::uint8_t kFlagExtension = 0x08;
constexpr std::uint8_t kFlagSelect = 0x10;
constexpr std::uint8_t kFlagAddress = 0x20;
constexpr std::uint8_t kFlagOption = 0x40;
constexpr std::uint8_t kFlagAfi = 0x10;      // inventory form
constexpr std::uint8_t kFlagOneSlot = 0x20;  // inventory form

constexpr std::uint8_t kMakerCode = 0x02;
constexpr int kBlocksPerSector = 32;

// Error codes a tag answers after the error flag.
constexpr std::uint8_t kErrNotSupported = 0x01;        // a request code the tag does not know
constexpr std::uint8_t kErrNotRecognized = 0x02;       // a known command in a malformed frame
constexpr std::uint8_t kErrOptionNotSupported = 0x03;  // the option flag where it means nothing
constexpr std::uint8_t kErrNoInformation = 0x0F;
constexpr std::uint8_t kErrBlockUnavailable = 0x10;
constexpr std::uint8_t kErrAlreadyLocked = 0x11;
constexpr std::uint8_t kErrLockedContent = 0x12;
constexpr std::uint8_t kErrReadProtected = 0x15;

// The sector protection byte: which password guards the sector (0: none), and whether
// reads need it too (writes always do).
constexpr std::uint8_t kSectorPasswordMask = 0x03;
constexpr std::uint8_t kSectorReadProtected = 0x04;
}  // namespace iso15693

// The maker's two families read their lock command (B2) differently, and its frames
// cannot tell them apart: "02B2020001" locks sector 00 behind password 1 on one, and the
// kill code (password number 00, lock byte 01) on the other.
enum class Iso15693Family {
    SectorPasswords,  // B2: a block address (in the address width) and the sector's byte
    KillCode,         // B2: the password number 00 and a lock byte, bit 0 locking the code
};

// Everything a tag is made of when it is put on the antenna.
struct Iso15693TagConfig {
    Iso15693Family family = Iso15693Family::SectorPasswords;
    // Most significant byte first (E0, maker code, ...); on air it goes the other way.
    std::uint64_t uid = 0xE002030405060708ULL;
    std::uint8_t dsfid = 0x00;
    std::uint8_t afi = 0x00;
    bool dsfidLocked = false;
    bool afiLocked = false;
    std::uint8_t icReference = 0x2A;
    int blockCount = 64;
    int blockSize = 4;
    // Memory from block 0; missing bytes are zero, extra bytes are dropped.
    Bytes data;
    std::vector<int> lockedBlocks;
    // Protection byte per sector of 32 blocks; missing sectors are open.
    std::vector<std::uint8_t> sectorProtection;
    std::array<Bytes, 3> passwords{Bytes(4, 0), Bytes(4, 0), Bytes(4, 0)};
    // All zero means no kill code has been written yet, and KILL is refused.
    Bytes killCode = Bytes(4, 0);
    bool energyHarvesting = true;
    std::uint8_t ehConfig = 0x00;
    std::uint8_t ehEnable = 0x00;
    std::uint8_t doConfig = 0x00;
    // When set, the fast commands are only heard under the 53 kbit/s select, the others
    // only under the normal one: shows a run that forgets to switch the rate.
    bool strictDataRate = false;
};

// A tag of the maker's ISO15693 family: the ISO/IEC 15693-3 command set and the custom
// commands (maker code 02) the tool sends.
class Iso15693Tag : public Tag {
  public:
    enum class State { Ready, Selected, Quiet };

    explicit Iso15693Tag(Iso15693TagConfig config);

    Protocol protocol() const override { return Protocol::Iso15693; }
    std::optional<TagAnswer> receive(const TagRequest& request) override;
    void fieldOff() override;

    std::uint64_t uid() const { return uid_; }
    State state() const { return state_; }
    bool killed() const { return killed_; }
    int blockCount() const { return blockCount_; }
    int blockSize() const { return blockSize_; }
    Bytes block(int index) const;
    bool blockLocked(int index) const { return locked_.at(static_cast<std::size_t>(index)); }
    std::uint8_t afi() const { return afi_; }
    std::uint8_t dsfid() const { return dsfid_; }

  private:
    class Cursor;

    // The answer without CRC, or nothing when the tag stays silent.
    std::optional<Bytes> respond(const Bytes& frame, const ProtocolConfig& config);

    std::optional<Bytes> inventory(std::uint8_t flags, std::uint8_t code, Cursor& in);
    std::optional<Bytes> command(std::uint8_t flags, std::uint8_t code, Cursor& in);
    std::optional<Bytes> custom(std::uint8_t flags, std::uint8_t code, Cursor& in);
    Bytes lockSectorPassword(int width, Cursor& in);
    Bytes lockKill(Cursor& in);

    Bytes readBlocks(int first, int count, bool withStatus) const;
    Bytes securityStatuses(int first, int count) const;
    Bytes identity() const;  // DSFID and UID, as INVENTORY and INITIATE answer them
    std::uint8_t securityStatus(int block) const;
    std::uint8_t sectorProtection(int block) const;
    bool mayRead(int block) const;
    bool mayWrite(int block) const;
    bool presented(int password) const { return password == 0 || (presented_ >> password) & 1; }

    std::uint64_t uid_;
    std::uint8_t dsfid_;
    std::uint8_t afi_;
    bool dsfidLocked_;
    bool afiLocked_;
    std::uint8_t icReference_;
    int blockCount_;
    int blockSize_;
    Bytes memory_;
    std::vector<bool> locked_;
    std::vector<std::uint8_t> sectors_;
    std::array<Bytes, 3> passwords_;
    Iso15693Family family_;
    Bytes killCode_;
    bool killCodeLocked_ = false;
    bool energyHarvesting_;
    std::uint8_t ehConfig_;
    std::uint8_t ehEnable_;
    std::uint8_t doConfig_;
    bool strictDataRate_;

    State state_ = State::Ready;
    bool initiated_ = false;
    bool killed_ = false;
    unsigned presented_ = 0;  // bit n: password n presented since the field came on
};

}  // namespace simboard
