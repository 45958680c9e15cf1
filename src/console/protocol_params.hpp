#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace console {

// One drop-down list of the Protocol Select panel: a named field of parameter byte 0
// (or of the FeliCa reader's byte 1) and the values it offers.
struct ParamList {
    const char* name;  // control name
    int byteIndex;     // 0 or 1
    int lowBit;        // lowest bit of the field
    int width;         // bits in the field: 1, 2 or 4
    std::vector<std::string> items;
    int initialItem;
};

// Every list, in the order the console fills them when it loads.
const std::vector<ParamList>& paramLists();
const ParamList* findParamList(std::string_view name);

// The bits an item writes, as "0"/"1" texts indexed by bit number; bits outside the
// field are left empty. The value is read from the item's own digits, never from its
// position, so the list order carries no meaning.
std::array<std::string, 8> bitsForItem(const ParamList& list, std::string_view item);

// A reserved field, shown by an "RFU" label level with its bits.
struct RfuField {
    int highBit;
    int lowBit;
};

enum class ExtraBytes { None, Optional12, FelicaByte1 };

// One option of the protocol choice.
struct ProtocolOption {
    const char* caption;
    int paramIndex;  // 99: none (field off)
    const char* protocolCode;
    const char* byte0Title;
    std::array<const char*, 8> defaultBits;  // bit 0 first
    std::vector<const char*> lists;          // byte-0 lists shown
    std::vector<RfuField> rfu;
    ExtraBytes extra;
    const char* extraTitle;
};

constexpr int kProtocolOptionCount = 8;
constexpr int kNoProtocolShown = 99;

const std::array<ProtocolOption, kProtocolOptionCount>& protocolOptions();

// Parameter byte from eight bit texts, bit 0 first; each text is read as a number the
// way a typed box is (empty or non-numeric reads as 0, only its lowest bit counts).
int byteFromBits(const std::array<std::string, 8>& bits);

// Two upper-case hex digits of `text` read as hex, masked to a byte; empty stays empty.
std::string normaliseByteText(std::string_view text);
// A bit box's text once left: "0" when empty, else the lowest bit of its value.
std::string normaliseBitText(std::string_view text);

}  // namespace console
