#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The ISO15693 window's requests: the request flags byte composed from the window's
// options, and every tag command it sends, as hex text without blanks for
// TQ73RNDll_SendReceive (the transceiver appends the tag CRC).
namespace iso15693 {

// The options of `optDataRate`, in their order in the window.
enum class DataRate { Low = 0, High = 1, LowTwoSc = 2, HighTwoSc = 3 };

// Request flags (ISO/IEC 15693-3); 0x10 and 0x20 mean AFI and one slot in inventories.
inline constexpr std::uint8_t kFlagSubcarrier = 0x01;
inline constexpr std::uint8_t kFlagDataRate = 0x02;
inline constexpr std::uint8_t kFlagInventory = 0x04;
inline constexpr std::uint8_t kFlagExtension = 0x08;
inline constexpr std::uint8_t kFlagSelect = 0x10;
inline constexpr std::uint8_t kFlagAddress = 0x20;
inline constexpr std::uint8_t kFlagOption = 0x40;
inline constexpr std::uint8_t kFlagAfi = 0x10;
inline constexpr std::uint8_t kFlagOneSlot = 0x20;

// The window's options that the command form of the flags byte reads.
struct CommandOptions {
    DataRate rate = DataRate::High;
    bool selectFlag = false;   // "Select Flag"
    bool addressFlag = false;  // "Address Flag"
    bool lockBits = false;     // "Block Locking status"
    std::uint8_t base = 0;     // the window's base flags value
};

// How a command treats the option flag (0x40) and the protocol extension flag (0x08).
enum class FlagRule {
    Base,     // keeps the base value
    Options,  // the option flag from "Block Locking status"
    Cleared,
    Set,
};

// The flags byte of a command for one tag.
std::uint8_t commandFlags(const CommandOptions& o, FlagRule option, FlagRule extension);
// The extension rule of a block command: set for two block-address bytes.
inline FlagRule extensionFor(int addressBytes) {
    return addressBytes == 1 ? FlagRule::Cleared : FlagRule::Set;
}

// The window's options that the inventory form of the flags byte reads.
struct InventoryOptions {
    DataRate rate = DataRate::High;
    bool afiFlag = false;  // " AFI option flag"
    bool oneSlot = true;   // "1 slot"
    std::uint8_t base = 0;
};
std::uint8_t inventoryFlags(const InventoryOptions& o);

// The inventory parameters as the boxes hold them. An empty AFI, mask-length or mask
// box counts as "00": a request with the AFI flag but no AFI byte, or with fewer mask
// bytes than its length says, would be read wrongly by every tag.
struct InventoryParameters {
    QString afi;                // sent only with the AFI flag
    QString maskLength;         // bits, as hex
    std::vector<QString> mask;  // box 0 first
};
// The number of mask bytes a mask length (hex text) needs: one per started 8 bits.
int maskByteCount(const QString& maskLength);

// A block address: one byte (two digits, more when the value needs them), or two bytes
// low byte first.
std::string blockAddress(std::int32_t address, int addressBytes);

// Commands. `uid` is `TransponderUID`, put after the command code (and maker code)
// when "Address Flag" is ticked; empty adds nothing.
struct Addressing {
    CommandOptions options;
    QString uid;
    // The UID goes into the request when "Address Flag" is ticked.
    std::string uidPart() const;
};

std::string readSingleBlock(const Addressing& a, std::int32_t block, int addressBytes);
std::string fastReadSingleBlock(const Addressing& a, std::int32_t block, int addressBytes);
std::string readMultipleBlock(const Addressing& a, std::int32_t first, int count, int addressBytes);
std::string fastReadMultipleBlock(const Addressing& a, std::int32_t first, int count,
                                  int addressBytes);
std::string writeSingleBlock(const Addressing& a, std::int32_t block, int addressBytes,
                             const QString& data);
std::string lockBlock(const Addressing& a, std::int32_t block, int addressBytes);
std::string getMultipleBlockSecurityStatus(const Addressing& a, std::int32_t first, int count,
                                           int addressBytes);

// SELECT always carries the UID it is given.
std::string selectTag(const CommandOptions& o, const QString& uid);
std::string resetToReady(const Addressing& a);
std::string stayQuiet(const Addressing& a);

std::string writeAfi(const Addressing& a, const QString& afi);
std::string lockAfi(const Addressing& a);
std::string writeDsfid(const Addressing& a, const QString& dsfid);
std::string lockDsfid(const Addressing& a);

// `extensionFlag`: "Extension Flag = 1" chosen.
std::string getSystemInfo(const Addressing& a, bool extensionFlag);

std::string writeKill(const Addressing& a, const QString& killCode);
std::string kill(const Addressing& a, const QString& killCode);
std::string writeSectorPassword(const Addressing& a, int passwordNumber, const QString& password);
std::string lockSectorPassword(const Addressing& a, std::int32_t block, int addressBytes,
                               const QString& data);
std::string presentPassword(const Addressing& a, int passwordNumber, const QString& password);
// LOCK KILL: the lock command for the kill password (number 00), lock byte 01; once
// locked, the kill code can no longer be written.
std::string lockKill(const Addressing& a);

std::string inventory(const InventoryOptions& o, const InventoryParameters& p);
std::string inventoryInitiated(const InventoryOptions& o, const InventoryParameters& p);
std::string fastInventoryInitiated(const InventoryOptions& o, const InventoryParameters& p);
// INITIATE and FAST INITIATE never carry the UID, whatever "Address Flag" says.
std::string initiate(const CommandOptions& o);
std::string fastInitiate(const CommandOptions& o);

std::string readEhConfig(const Addressing& a);
std::string checkEhEnable(const Addressing& a);
std::string writeEhConfig(const Addressing& a, const QString& config);
// `enable`: "01" sets, "00" resets.
std::string setResetEhConfig(const Addressing& a, std::string_view enable);
std::string writeDoConfig(const Addressing& a, const QString& config);

}  // namespace iso15693
