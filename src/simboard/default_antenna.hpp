#pragma once

#include <vector>

#include "simboard/antenna.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

// The tags on the antenna when simulated-board.ini names none: one of each kind, so
// that every window meets a tag.
std::vector<TagSpec> defaultTagSpecs();

// An antenna with a tag per spec; specs of unknown kinds, or that their factory
// refuses, are left out.
Antenna buildAntenna(const std::vector<TagSpec>& specs);
Antenna buildDefaultAntenna();

}  // namespace simboard
