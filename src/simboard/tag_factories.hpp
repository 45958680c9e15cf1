#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "simboard/antenna.hpp"
#include "simboard/tag.hpp"

namespace simboard {

// One tag as simulated-board.ini (or the default antenna) describes it: its kind
// ("iso15693", "iso14443a", "topaz", "iso14443b", "sola", "felica") and the rest of
// its section's keys as written (key names are case-sensitive).
struct TagSpec {
    std::string kind;
    std::map<std::string, std::string> keys;

    bool operator==(const TagSpec&) const = default;
};

// Builds a tag from its spec; nullptr when the keys cannot make a tag. A missing key
// takes the kind's default.
using TagFactory = std::unique_ptr<Tag> (*)(const TagSpec& spec);

// The kinds the board can build. A kind is absent until its tag model registers here.
const std::map<std::string, TagFactory>& tagFactories();
// nullptr for an unknown kind or a spec its factory refuses.
std::unique_ptr<Tag> makeTag(const TagSpec& spec);

// A board-firmware command ("02", code, length, data through KVCmd): gets the
// antenna, the current configuration and the command's data; returns the answer text.
using FirmwareHandler = std::string (*)(Antenna& antenna, const ProtocolConfig& config,
                                        const Bytes& data);
// Handlers by command code; a code without a handler gets "8200".
const std::map<std::uint8_t, FirmwareHandler>& firmwareHandlers();

}  // namespace simboard
