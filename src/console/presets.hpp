#pragma once

#include <array>
#include <string>

namespace console {

// The six example Idle frames, each filling all sixteen boxes of the Idle panel.
struct IdlePreset {
    const char* caption;
    std::array<const char*, 16> frame;
};
const std::array<IdlePreset, 6>& idlePresets();
const std::array<const char*, 16>& idleByteLabels();

// Register read choices: the register address and the caption of its label.
struct ReadRegisterPreset {
    const char* caption;
    const char* address;
    const char* addressCaption;
};
const std::array<ReadRegisterPreset, 2>& readRegisterPresets();

enum class WriteDataBox {
    Unchanged,   // data box hidden, read-only, text kept
    SavedValue,  // editable, holds the remembered ARC_B value
    Fixed,       // read-only, holds `data`
};

struct WriteRegisterPreset {
    const char* caption;
    std::array<const char*, 4> boxes;  // boxes 1 to 4
    WriteDataBox dataBox;
    const char* data;
};
const std::array<WriteRegisterPreset, 4>& writeRegisterPresets();

// The ARC_B value is a single register byte: a longer value would be written into the
// registers that follow it, since the flag moves the address on after each byte.
constexpr int kArcBValueDigits = 2;
// SendRecv carries at most 255 data bytes: its length is one byte.
constexpr int kSendRecvDataDigits = 510;

// The data box once left: an odd digit count gets a trailing "0".
std::string evenDataText(const std::string& text);
// The SendRecv length byte for a data text.
std::string sendRecvLength(const std::string& data);

}  // namespace console
