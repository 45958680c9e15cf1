#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simboard/tag.hpp"
#include "simboard/tag_detector.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

// Everything about the board that simulated-board.ini can change.
struct BoardConfig {
    // Thirteen characters as the real board has; the 12th decides whether the tag
    // detection window trusts the Idle answer or reads register 62.
    std::string identification = "TQ73RN-SIM-2A";
    std::string libraryRevision = "5.1.0";
    Bytes firmwareRevision = {0x01, 0x04, 0x01};
    std::uint8_t interfacePinState = 0x01;  // SPI, as the board is delivered
    bool plugged = true;
    bool idleAnswerCarriesReason = true;
    TagDetector detector;
    // The tags on the antenna; nothing means the default antenna.
    std::optional<std::vector<TagSpec>> tags;

    bool operator==(const BoardConfig&) const = default;
};

inline constexpr const char* kBoardIniName = "simulated-board.ini";
inline constexpr std::size_t kMaxIdentificationLength = 60;

struct ParsedBoardIni {
    BoardConfig config;
    // One line per thing that was ignored, for whoever wonders why a key had no effect.
    std::vector<std::string> warnings;
};

// Reads simulated-board.ini text. Never fails: what cannot be read is ignored (and
// reported in `warnings`) and the default stands.
ParsedBoardIni parseBoardIni(std::string_view text);

}  // namespace simboard
