#include "simboard/iso15693_tag.hpp"

#include <algorithm>
#include <utility>

#include "simboard/hex.hpp"

namespace simboard {

using namespace iso15693;

namespace {

constexpr std::uint8_t kOk = 0x00;
constexpr std::uint8_t kErrorFlag = 0x01;

Bytes ok() { return Bytes{kOk}; }
Bytes error(std::uint8_t code) { return Bytes{kErrorFlag, code}; }
// A command the tag knows, in a frame too short or too long for it.
Bytes malformed() { return error(kErrNotRecognized); }

bool isFastCommand(std::uint8_t code) { return code >= 0xC0 && code <= 0xC3; }

// Bits 5-4 of the ISO15693 select parameter: 01 is the doubled (fast) rate.
bool fastRateSelected(const ProtocolConfig& config) {
    return !config.params.empty() && ((config.params[0] >> 4) & 0x03) == 0x01;
}

// ISO AFI matching: 00 reaches every tag, a zero nibble is a wildcard for that half.
bool afiMatches(std::uint8_t requested, std::uint8_t own) {
    if (requested == 0) return true;
    if ((requested & 0xF0) == 0) return (own & 0x0F) == requested;
    if ((requested & 0x0F) == 0) return (own & 0xF0) == requested;
    return own == requested;
}

std::uint64_t lowBits(std::uint64_t value, int bits) {
    return bits >= 64 ? value : value & ((std::uint64_t{1} << bits) - 1);
}

}  // namespace

// Reads a request front to back; every read says whether the bytes were there.
class Iso15693Tag::Cursor {
  public:
    explicit Cursor(const Bytes& frame) : frame_(frame) {}

    std::size_t left() const { return frame_.size() - pos_; }
    bool atEnd() const { return pos_ == frame_.size(); }

    bool byte(std::uint8_t& out) {
        if (left() < 1) return false;
        out = frame_[pos_++];
        return true;
    }
    // A little-endian number of `width` bytes.
    bool number(int width, int& out) {
        if (left() < static_cast<std::size_t>(width)) return false;
        out = 0;
        for (int i = 0; i < width; ++i) out |= frame_[pos_++] << (8 * i);
        return true;
    }
    bool uid(std::uint64_t& out) {
        if (left() < 8) return false;
        out = 0;
        for (int i = 0; i < 8; ++i) out |= std::uint64_t{frame_[pos_++]} << (8 * i);
        return true;
    }
    Bytes rest() {
        Bytes out(frame_.begin() + static_cast<std::ptrdiff_t>(pos_), frame_.end());
        pos_ = frame_.size();
        return out;
    }

  private:
    const Bytes& frame_;
    std::size_t pos_ = 0;
};

Iso15693Tag::Iso15693Tag(Iso15693TagConfig config)
    : uid_(config.uid),
      dsfid_(config.dsfid),
      afi_(config.afi),
      dsfidLocked_(config.dsfidLocked),
      afiLocked_(config.afiLocked),
      icReference_(config.icReference),
      blockCount_(std::clamp(config.blockCount, 1, 65536)),
      blockSize_(std::clamp(config.blockSize, 1, 32)),
      passwords_(std::move(config.passwords)),
      family_(config.family),
      killCode_(std::move(config.killCode)),
      energyHarvesting_(config.energyHarvesting),
      ehConfig_(config.ehConfig),
      ehEnable_(config.ehEnable),
      doConfig_(config.doConfig),
      strictDataRate_(config.strictDataRate) {
    memory_ = std::move(config.data);
    memory_.resize(static_cast<std::size_t>(blockCount_) * blockSize_, 0);
    locked_.assign(static_cast<std::size_t>(blockCount_), false);
    for (int b : config.lockedBlocks) {
        if (b >= 0 && b < blockCount_) locked_[static_cast<std::size_t>(b)] = true;
    }
    sectors_ = std::move(config.sectorProtection);
    sectors_.resize(
        static_cast<std::size_t>((blockCount_ + kBlocksPerSector - 1) / kBlocksPerSector), 0);
}

std::optional<TagAnswer> Iso15693Tag::receive(const TagRequest& request) {
    if (!hears(request.config)) return std::nullopt;
    auto answer = respond(request.frame, request.config);
    if (!answer) return std::nullopt;
    appendCrc16Iso13239(*answer);
    return TagAnswer{std::move(*answer)};
}

void Iso15693Tag::fieldOff() {
    state_ = State::Ready;
    initiated_ = false;
    presented_ = 0;
}

Bytes Iso15693Tag::block(int index) const {
    const auto start = memory_.begin() + static_cast<std::ptrdiff_t>(index) * blockSize_;
    return Bytes(start, start + blockSize_);
}

std::optional<Bytes> Iso15693Tag::respond(const Bytes& frame, const ProtocolConfig& config) {
    if (killed_) return std::nullopt;
    Cursor in(frame);
    std::uint8_t flags = 0;
    std::uint8_t code = 0;
    if (!in.byte(flags) || !in.byte(code)) return std::nullopt;
    // The custom range carries the maker code; another maker's command is not for us.
    if (code >= 0xA0 && code <= 0xDF) {
        std::uint8_t maker = 0;
        if (!in.byte(maker) || maker != kMakerCode) return std::nullopt;
    }
    if (strictDataRate_ && isFastCommand(code) != fastRateSelected(config)) return std::nullopt;
    if (flags & kFlagInventory) return inventory(flags, code, in);

    // INITIATE answers like an inventory and takes no UID whatever the flags say.
    if (code == 0xD2 || code == 0xC2) {
        if (state_ == State::Quiet || !in.atEnd()) return std::nullopt;
        initiated_ = true;
        Bytes answer = ok();
        const Bytes id = identity();
        answer.insert(answer.end(), id.begin(), id.end());
        return answer;
    }
    // SELECT always carries the UID; a selected tag that hears another UID steps back.
    if (code == 0x25) {
        std::uint64_t target = 0;
        if (!in.uid(target)) return std::nullopt;
        if (target != uid_) {
            if (state_ == State::Selected) state_ = State::Ready;
            return std::nullopt;
        }
        if (!in.atEnd()) return malformed();
        if (flags & kFlagOption) return error(kErrOptionNotSupported);
        state_ = State::Selected;
        return ok();
    }

    if (flags & kFlagAddress) {
        std::uint64_t target = 0;
        if (!in.uid(target) || target != uid_) return std::nullopt;
    } else if (state_ == State::Quiet) {
        return std::nullopt;
    }
    if ((flags & kFlagSelect) && state_ != State::Selected) return std::nullopt;

    if (code >= 0xA0 && code <= 0xDF) return custom(flags, code, in);
    return command(flags, code, in);
}

std::optional<Bytes> Iso15693Tag::inventory(std::uint8_t flags, std::uint8_t code, Cursor& in) {
    const bool initiatedOnly = code == 0xD1 || code == 0xC1;
    if (code != 0x01 && !initiatedOnly) return std::nullopt;
    if (state_ == State::Quiet || (initiatedOnly && !initiated_)) return std::nullopt;
    std::uint8_t afi = 0;
    if ((flags & kFlagAfi) && !in.byte(afi)) return std::nullopt;
    std::uint8_t maskLength = 0;
    if (!in.byte(maskLength)) return std::nullopt;
    const bool oneSlot = flags & kFlagOneSlot;
    if (maskLength > (oneSlot ? 64 : 60)) return std::nullopt;
    std::uint64_t mask = 0;
    const int maskBytes = (maskLength + 7) / 8;
    for (int i = 0; i < maskBytes; ++i) {
        std::uint8_t b = 0;
        if (!in.byte(b)) return std::nullopt;
        mask |= std::uint64_t{b} << (8 * i);
    }
    if (!in.atEnd()) return std::nullopt;

    if ((flags & kFlagAfi) && !afiMatches(afi, afi_)) return std::nullopt;
    if (lowBits(uid_, maskLength) != lowBits(mask, maskLength)) return std::nullopt;
    // One request is one slot: with 16 slots only the tags of slot 0 answer it, the
    // slot being the four UID bits after the mask.
    if (!oneSlot && ((uid_ >> maskLength) & 0x0F) != 0) return std::nullopt;

    Bytes answer = ok();
    const Bytes id = identity();
    answer.insert(answer.end(), id.begin(), id.end());
    return answer;
}

std::optional<Bytes> Iso15693Tag::command(std::uint8_t flags, std::uint8_t code, Cursor& in) {
    const int width = (flags & kFlagExtension) ? 2 : 1;
    const bool withStatus = flags & kFlagOption;
    int address = 0;
    int count = 0;
    switch (code) {
        case 0x20:  // READ SINGLE BLOCK
            if (!in.number(width, address) || !in.atEnd()) return malformed();
            if (address >= blockCount_) return error(kErrBlockUnavailable);
            if (!mayRead(address)) return error(kErrReadProtected);
            return readBlocks(address, 1, withStatus);
        case 0x21: {  // WRITE SINGLE BLOCK
            if (!in.number(width, address)) return malformed();
            const Bytes data = in.rest();
            if (data.size() != static_cast<std::size_t>(blockSize_)) return malformed();
            if (address >= blockCount_) return error(kErrBlockUnavailable);
            if (locked_[static_cast<std::size_t>(address)] || !mayWrite(address)) {
                return error(kErrLockedContent);
            }
            std::copy(data.begin(), data.end(),
                      memory_.begin() + static_cast<std::ptrdiff_t>(address) * blockSize_);
            return ok();
        }
        case 0x22:  // LOCK BLOCK
            if (!in.number(width, address) || !in.atEnd()) return malformed();
            if (address >= blockCount_) return error(kErrBlockUnavailable);
            if (locked_[static_cast<std::size_t>(address)]) return error(kErrAlreadyLocked);
            if (!mayWrite(address)) return error(kErrLockedContent);
            locked_[static_cast<std::size_t>(address)] = true;
            return ok();
        case 0x23:  // READ MULTIPLE BLOCKS: the count stays one byte whatever the width
            if (!in.number(width, address) || !in.number(1, count) || !in.atEnd()) {
                return malformed();
            }
            ++count;
            if (address + count > blockCount_) return error(kErrBlockUnavailable);
            for (int b = address; b < address + count; ++b) {
                if (!mayRead(b)) return error(kErrReadProtected);
            }
            return readBlocks(address, count, withStatus);
        case 0x26:  // RESET TO READY
            if (!in.atEnd()) return malformed();
            if (flags & kFlagOption) return error(kErrOptionNotSupported);
            state_ = State::Ready;
            return ok();
        case 0x02:  // STAY QUIET: never answered
            if (in.atEnd()) state_ = State::Quiet;
            return std::nullopt;
        case 0x27:    // WRITE AFI
        case 0x29: {  // WRITE DSFID
            std::uint8_t value = 0;
            if (!in.byte(value) || !in.atEnd()) return malformed();
            bool& locked = code == 0x27 ? afiLocked_ : dsfidLocked_;
            if (locked) return error(kErrLockedContent);
            (code == 0x27 ? afi_ : dsfid_) = value;
            return ok();
        }
        case 0x28:    // LOCK AFI
        case 0x2A: {  // LOCK DSFID
            if (!in.atEnd()) return malformed();
            bool& locked = code == 0x28 ? afiLocked_ : dsfidLocked_;
            if (locked) return error(kErrAlreadyLocked);
            locked = true;
            return ok();
        }
        case 0x2B: {  // GET SYSTEM INFO
            if (!in.atEnd()) return malformed();
            if (flags & kFlagOption) return error(kErrOptionNotSupported);
            Bytes answer{kOk, 0x0F};
            for (int i = 0; i < 8; ++i)
                answer.push_back(static_cast<std::uint8_t>(uid_ >> (8 * i)));
            answer.push_back(dsfid_);
            answer.push_back(afi_);
            // Without the extension flag the count must fit one byte; a bigger tag says FF.
            const int last = blockCount_ - 1;
            if (width == 2) {
                answer.push_back(static_cast<std::uint8_t>(last & 0xFF));
                answer.push_back(static_cast<std::uint8_t>(last >> 8));
            } else {
                answer.push_back(static_cast<std::uint8_t>(std::min(last, 0xFF)));
            }
            answer.push_back(static_cast<std::uint8_t>(blockSize_ - 1));
            answer.push_back(icReference_);
            return answer;
        }
        case 0x2C:  // GET MULTIPLE BLOCK SECURITY STATUS: first block and count in the width
            if (!in.number(width, address) || !in.number(width, count) || !in.atEnd()) {
                return malformed();
            }
            if (flags & kFlagOption) return error(kErrOptionNotSupported);
            ++count;
            if (address + count > blockCount_) return error(kErrBlockUnavailable);
            return securityStatuses(address, count);
        default:
            return error(kErrNotSupported);
    }
}

std::optional<Bytes> Iso15693Tag::custom(std::uint8_t flags, std::uint8_t code, Cursor& in) {
    const int width = (flags & kFlagExtension) ? 2 : 1;
    std::uint8_t value = 0;
    switch (code) {
        case 0xC0:  // FAST READ SINGLE BLOCK
        case 0xC3:  // FAST READ MULTIPLE BLOCK
            return command(flags, code == 0xC0 ? 0x20 : 0x23, in);
        case 0xA0:  // READ EH CONFIG
        case 0xA3:  // CHECK EH ENABLE
            if (!energyHarvesting_) return error(kErrNotSupported);
            if (!in.atEnd()) return malformed();
            return Bytes{kOk, code == 0xA0 ? ehConfig_ : ehEnable_};
        case 0xA1:  // WRITE EH CONFIG
        case 0xA2:  // SET RESET EH CONFIG
        case 0xA4:  // WRITE DO CONFIG
            if (!energyHarvesting_) return error(kErrNotSupported);
            if (!in.byte(value) || !in.atEnd()) return malformed();
            if (code == 0xA2 && value > 1) return error(kErrNoInformation);
            (code == 0xA1 ? ehConfig_ : code == 0xA2 ? ehEnable_ : doConfig_) = value;
            return ok();
        case 0xA6: {  // KILL
            if (!in.byte(value)) return malformed();
            const Bytes given = in.rest();
            const bool written = std::any_of(killCode_.begin(), killCode_.end(),
                                             [](std::uint8_t b) { return b != 0; });
            if (value != 0 || !written || given != killCode_) return error(kErrNoInformation);
            killed_ = true;
            return ok();
        }
        case 0xB1: {  // WRITE KILL (password 00) and WRITE SECTOR PASSWORD (01 to 03)
            if (!in.byte(value)) return malformed();
            const Bytes secret = in.rest();
            if (value > 3 || secret.empty() || secret.size() > 8) return error(kErrNoInformation);
            if (value == 0) {
                if (killCodeLocked_) return error(kErrLockedContent);
                killCode_ = secret;
                return ok();
            }
            // A password is only replaced by someone who knows it.
            if (!presented(value)) return error(kErrNoInformation);
            passwords_[value - 1u] = secret;
            return ok();
        }
        case 0xB2:  // LOCK SECTOR PASSWORD, or LOCK KILL
            return family_ == Iso15693Family::KillCode ? lockKill(in)
                                                       : lockSectorPassword(width, in);
        case 0xB3: {  // PRESENT PASSWORD
            if (!in.byte(value)) return malformed();
            const Bytes secret = in.rest();
            if (value < 1 || value > 3 || secret != passwords_[value - 1u]) {
                return error(kErrNoInformation);
            }
            presented_ |= 1u << value;
            return ok();
        }
        default:
            return error(kErrNotSupported);
    }
}

Bytes Iso15693Tag::lockSectorPassword(int width, Cursor& in) {
    int address = 0;
    std::uint8_t value = 0;
    if (!in.number(width, address) || !in.byte(value) || !in.atEnd()) return malformed();
    if (address >= blockCount_) return error(kErrBlockUnavailable);
    std::uint8_t& protection = sectors_[static_cast<std::size_t>(address / kBlocksPerSector)];
    if (!presented(protection & kSectorPasswordMask)) return error(kErrNoInformation);
    protection = value & (kSectorPasswordMask | kSectorReadProtected);
    return ok();
}

// A locked kill code can no longer be written, and still kills; a lock is for good.
Bytes Iso15693Tag::lockKill(Cursor& in) {
    std::uint8_t password = 0;
    std::uint8_t lock = 0;
    if (!in.byte(password) || !in.byte(lock) || !in.atEnd()) return malformed();
    if (password != 0) return error(kErrNoInformation);
    if (!(lock & 0x01)) return ok();
    if (killCodeLocked_) return error(kErrAlreadyLocked);
    killCodeLocked_ = true;
    return ok();
}

Bytes Iso15693Tag::readBlocks(int first, int count, bool withStatus) const {
    Bytes answer = ok();
    for (int b = first; b < first + count; ++b) {
        if (withStatus) answer.push_back(securityStatus(b));
        const Bytes data = block(b);
        answer.insert(answer.end(), data.begin(), data.end());
    }
    return answer;
}

Bytes Iso15693Tag::securityStatuses(int first, int count) const {
    Bytes answer = ok();
    for (int b = first; b < first + count; ++b) answer.push_back(securityStatus(b));
    return answer;
}

Bytes Iso15693Tag::identity() const {
    Bytes id{dsfid_};
    for (int i = 0; i < 8; ++i) id.push_back(static_cast<std::uint8_t>(uid_ >> (8 * i)));
    return id;
}

// Bit 0: the block is locked; bits 3-1: its sector's protection byte.
std::uint8_t Iso15693Tag::securityStatus(int block) const {
    return static_cast<std::uint8_t>((locked_[static_cast<std::size_t>(block)] ? 1 : 0) |
                                     (sectorProtection(block) << 1));
}

std::uint8_t Iso15693Tag::sectorProtection(int block) const {
    return sectors_[static_cast<std::size_t>(block / kBlocksPerSector)];
}

bool Iso15693Tag::mayRead(int block) const {
    const std::uint8_t p = sectorProtection(block);
    return !(p & kSectorReadProtected) || presented(p & kSectorPasswordMask);
}

bool Iso15693Tag::mayWrite(int block) const {
    return presented(sectorProtection(block) & kSectorPasswordMask);
}

}  // namespace simboard
