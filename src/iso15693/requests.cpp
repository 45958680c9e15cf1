#include "iso15693/requests.hpp"

#include "transceiver/frames.hpp"
#include "transceiver/hex_text.hpp"

namespace iso15693 {

namespace {

// Command codes, and the IC manufacturer code of the maker's custom commands.
constexpr std::string_view kMaker = "02";
constexpr std::string_view kInventory = "01";
constexpr std::string_view kStayQuiet = "02";
constexpr std::string_view kReadSingle = "20";
constexpr std::string_view kWriteSingle = "21";
constexpr std::string_view kLock = "22";
constexpr std::string_view kReadMultiple = "23";
constexpr std::string_view kSelect = "25";
constexpr std::string_view kResetToReady = "26";
constexpr std::string_view kWriteAfi = "27";
constexpr std::string_view kLockAfi = "28";
constexpr std::string_view kWriteDsfid = "29";
constexpr std::string_view kLockDsfid = "2A";
constexpr std::string_view kSystemInfo = "2B";
constexpr std::string_view kSecurityStatus = "2C";
constexpr std::string_view kReadEh = "A0";
constexpr std::string_view kWriteEh = "A1";
constexpr std::string_view kSetResetEh = "A2";
constexpr std::string_view kCheckEh = "A3";
constexpr std::string_view kWriteDo = "A4";
constexpr std::string_view kKill = "A6";
constexpr std::string_view kWritePassword = "B1";
constexpr std::string_view kLockPassword = "B2";
constexpr std::string_view kPresentPassword = "B3";
// The kill code is password number 00 of the password commands; the lock byte 01 locks it.
constexpr std::string_view kKillPasswordNumber = "00";
constexpr std::string_view kLockByte = "01";
constexpr std::string_view kFastReadSingle = "C0";
constexpr std::string_view kFastInventoryInitiated = "C1";
constexpr std::string_view kFastInitiate = "C2";
constexpr std::string_view kFastReadMultiple = "C3";
constexpr std::string_view kInventoryInitiated = "D1";
constexpr std::string_view kInitiate = "D2";

std::string latin1(const QString& s) { return s.toLatin1().toStdString(); }

std::uint8_t applyRule(std::uint8_t flags, std::uint8_t bit, FlagRule rule, bool fromOptions) {
    switch (rule) {
        case FlagRule::Base:
            return flags;
        case FlagRule::Options:
            return fromOptions ? flags | bit : flags & ~bit;
        case FlagRule::Cleared:
            return flags & ~bit;
        case FlagRule::Set:
            return flags | bit;
    }
    return flags;
}

std::uint8_t withRate(std::uint8_t flags, DataRate rate) {
    flags &= ~(kFlagSubcarrier | kFlagDataRate);
    switch (rate) {
        case DataRate::Low:
            return flags;
        case DataRate::High:
            return flags | kFlagDataRate;
        case DataRate::LowTwoSc:
            return flags | kFlagSubcarrier;
        case DataRate::HighTwoSc:
            return flags | kFlagSubcarrier | kFlagDataRate;
    }
    return flags;
}

// Flags byte, command code, the maker code of a custom command, then the rest; blanks
// (a box that held one) never reach the tag.
std::string compose(std::uint8_t flags, std::string_view code, bool custom, std::string_view rest) {
    std::string r = transceiver::hexByte(flags);
    r += code;
    if (custom) r += kMaker;
    r += rest;
    return transceiver::withoutBlanks(r);
}

std::string addressed(const Addressing& a, FlagRule option, FlagRule extension,
                      std::string_view code, bool custom, std::string_view parameters = {}) {
    return compose(commandFlags(a.options, option, extension), code, custom,
                   a.uidPart() + std::string(parameters));
}

// A box's byte as the request carries it: an empty box is its design value "00".
std::string byteOrZero(const QString& text) { return text.isEmpty() ? "00" : latin1(text); }

std::string inventoryRequest(const InventoryOptions& o, const InventoryParameters& p,
                             std::string_view code, bool custom) {
    std::string rest;
    if (o.afiFlag) rest += byteOrZero(p.afi);
    rest += byteOrZero(p.maskLength);
    const int bytes = std::min<int>(maskByteCount(p.maskLength), static_cast<int>(p.mask.size()));
    for (int i = 0; i < bytes; ++i) rest += byteOrZero(p.mask[static_cast<std::size_t>(i)]);
    return compose(inventoryFlags(o), code, custom, rest);
}

}  // namespace

std::uint8_t commandFlags(const CommandOptions& o, FlagRule option, FlagRule extension) {
    std::uint8_t f = o.base;
    f = o.selectFlag ? f | kFlagSelect : f & ~kFlagSelect;
    f = o.addressFlag ? f | kFlagAddress : f & ~kFlagAddress;
    f = applyRule(f, kFlagOption, option, o.lockBits);
    f = applyRule(f, kFlagExtension, extension, false);
    return withRate(f, o.rate);
}

std::uint8_t inventoryFlags(const InventoryOptions& o) {
    std::uint8_t f = o.base | kFlagInventory;
    f = o.afiFlag ? f | kFlagAfi : f & ~kFlagAfi;
    f = o.oneSlot ? f | kFlagOneSlot : f & ~kFlagOneSlot;
    return withRate(f, o.rate);
}

int maskByteCount(const QString& maskLength) {
    const std::uint32_t bits = transceiver::hexValue(latin1(maskLength));
    return bits >= 1 ? static_cast<int>((bits - 1) / 8 + 1) : 0;
}

std::string blockAddress(std::int32_t address, int addressBytes) {
    if (addressBytes == 1) return latin1(transceiver::HexPad(address, 2));
    return transceiver::hexByte(static_cast<std::uint8_t>(address & 0xFF)) +
           transceiver::hexByte(static_cast<std::uint8_t>((address >> 8) & 0xFF));
}

std::string Addressing::uidPart() const {
    return options.addressFlag ? latin1(uid) : std::string();
}

std::string readSingleBlock(const Addressing& a, std::int32_t block, int addressBytes) {
    return addressed(a, FlagRule::Options, extensionFor(addressBytes), kReadSingle, false,
                     blockAddress(block, addressBytes));
}

std::string fastReadSingleBlock(const Addressing& a, std::int32_t block, int addressBytes) {
    return addressed(a, FlagRule::Options, extensionFor(addressBytes), kFastReadSingle, true,
                     blockAddress(block, addressBytes));
}

namespace {
std::string multiple(const Addressing& a, std::string_view code, bool custom, std::int32_t first,
                     int count, int addressBytes) {
    return addressed(a, FlagRule::Options, extensionFor(addressBytes), code, custom,
                     blockAddress(first, addressBytes) +
                         transceiver::hexByte(static_cast<std::uint8_t>((count - 1) & 0xFF)));
}
}  // namespace

std::string readMultipleBlock(const Addressing& a, std::int32_t first, int count,
                              int addressBytes) {
    return multiple(a, kReadMultiple, false, first, count, addressBytes);
}

std::string fastReadMultipleBlock(const Addressing& a, std::int32_t first, int count,
                                  int addressBytes) {
    return multiple(a, kFastReadMultiple, true, first, count, addressBytes);
}

std::string writeSingleBlock(const Addressing& a, std::int32_t block, int addressBytes,
                             const QString& data) {
    return addressed(a, FlagRule::Options, extensionFor(addressBytes), kWriteSingle, false,
                     blockAddress(block, addressBytes) + latin1(data));
}

std::string lockBlock(const Addressing& a, std::int32_t block, int addressBytes) {
    return addressed(a, FlagRule::Base, extensionFor(addressBytes), kLock, false,
                     blockAddress(block, addressBytes));
}

std::string getMultipleBlockSecurityStatus(const Addressing& a, std::int32_t first, int count,
                                           int addressBytes) {
    // The count goes in the width of the block address.
    return addressed(a, FlagRule::Cleared, extensionFor(addressBytes), kSecurityStatus, false,
                     blockAddress(first, addressBytes) + blockAddress(count - 1, addressBytes));
}

std::string selectTag(const CommandOptions& o, const QString& uid) {
    return compose(commandFlags(o, FlagRule::Base, FlagRule::Base), kSelect, false, latin1(uid));
}

std::string resetToReady(const Addressing& a) {
    return addressed(a, FlagRule::Base, FlagRule::Base, kResetToReady, false);
}

std::string stayQuiet(const Addressing& a) {
    return addressed(a, FlagRule::Base, FlagRule::Base, kStayQuiet, false);
}

std::string writeAfi(const Addressing& a, const QString& afi) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kWriteAfi, false, latin1(afi));
}

std::string lockAfi(const Addressing& a) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kLockAfi, false);
}

std::string writeDsfid(const Addressing& a, const QString& dsfid) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kWriteDsfid, false, latin1(dsfid));
}

std::string lockDsfid(const Addressing& a) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kLockDsfid, false);
}

std::string getSystemInfo(const Addressing& a, bool extensionFlag) {
    return addressed(a, FlagRule::Cleared, extensionFlag ? FlagRule::Set : FlagRule::Cleared,
                     kSystemInfo, false);
}

std::string writeKill(const Addressing& a, const QString& killCode) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kWritePassword, true,
                     std::string(kKillPasswordNumber) + latin1(killCode));
}

std::string kill(const Addressing& a, const QString& killCode) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kKill, true,
                     std::string(kKillPasswordNumber) + latin1(killCode));
}

std::string writeSectorPassword(const Addressing& a, int passwordNumber, const QString& password) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kWritePassword, true,
                     latin1(transceiver::HexPad(passwordNumber, 2)) + latin1(password));
}

std::string lockSectorPassword(const Addressing& a, std::int32_t block, int addressBytes,
                               const QString& data) {
    return addressed(a, FlagRule::Options, extensionFor(addressBytes), kLockPassword, true,
                     blockAddress(block, addressBytes) + latin1(data));
}

std::string lockKill(const Addressing& a) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kLockPassword, true,
                     std::string(kKillPasswordNumber) + std::string(kLockByte));
}

std::string presentPassword(const Addressing& a, int passwordNumber, const QString& password) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kPresentPassword, true,
                     latin1(transceiver::HexPad(passwordNumber, 2)) + latin1(password));
}

std::string inventory(const InventoryOptions& o, const InventoryParameters& p) {
    return inventoryRequest(o, p, kInventory, false);
}

std::string inventoryInitiated(const InventoryOptions& o, const InventoryParameters& p) {
    return inventoryRequest(o, p, kInventoryInitiated, true);
}

std::string fastInventoryInitiated(const InventoryOptions& o, const InventoryParameters& p) {
    return inventoryRequest(o, p, kFastInventoryInitiated, true);
}

std::string initiate(const CommandOptions& o) {
    return compose(commandFlags(o, FlagRule::Base, FlagRule::Base), kInitiate, true, {});
}

std::string fastInitiate(const CommandOptions& o) {
    return compose(commandFlags(o, FlagRule::Base, FlagRule::Base), kFastInitiate, true, {});
}

std::string readEhConfig(const Addressing& a) {
    return addressed(a, FlagRule::Cleared, FlagRule::Cleared, kReadEh, true);
}

std::string checkEhEnable(const Addressing& a) {
    return addressed(a, FlagRule::Cleared, FlagRule::Cleared, kCheckEh, true);
}

std::string writeEhConfig(const Addressing& a, const QString& config) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kWriteEh, true, latin1(config));
}

std::string setResetEhConfig(const Addressing& a, std::string_view enable) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kSetResetEh, true, enable);
}

std::string writeDoConfig(const Addressing& a, const QString& config) {
    return addressed(a, FlagRule::Options, FlagRule::Base, kWriteDo, true, latin1(config));
}

}  // namespace iso15693
