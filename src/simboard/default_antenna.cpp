#include "simboard/default_antenna.hpp"

namespace simboard {

std::vector<TagSpec> defaultTagSpecs() {
    // One line per tag model: `{"kind", {}},` takes the kind's own defaults.
    return {
        // {"kind", {}},
        {"iso14443b", {}}, {"sola", {}},  {"felica", {}},
        {"iso14443a", {}}, {"topaz", {}}, {"iso15693", {}},
    };
}

Antenna buildAntenna(const std::vector<TagSpec>& specs) {
    Antenna antenna;
    for (const TagSpec& spec : specs) antenna.add(makeTag(spec));
    return antenna;
}

Antenna buildDefaultAntenna() { return buildAntenna(defaultTagSpecs()); }

}  // namespace simboard
