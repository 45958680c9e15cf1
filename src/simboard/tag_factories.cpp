#include "simboard/tag_factories.hpp"

#include "simboard/felica_card.hpp"
#include "simboard/iso14443a_tag.hpp"
#include "simboard/iso14443b_card.hpp"
#include "simboard/iso15693_anticollision.hpp"
#include "simboard/iso15693_tag_spec.hpp"
#include "simboard/sola_tag.hpp"
#include "simboard/topaz_tag.hpp"

namespace simboard {

// A tag model registers with ONE line in each table below (plus the include of the
// header that declares its function).

const std::map<std::string, TagFactory>& tagFactories() {
    static const std::map<std::string, TagFactory> table = {
        // {"kind", makeKindTag},
        {"iso14443b", makeIso14443bCard}, {"sola", makeSolaTag},   {"felica", makeFelicaCard},
        {"iso14443a", makeIso14443aTag},  {"topaz", makeTopazTag}, {"iso15693", makeIso15693Tag},
    };
    return table;
}

const std::map<std::uint8_t, FirmwareHandler>& firmwareHandlers() {
    static const std::map<std::uint8_t, FirmwareHandler> table = {
        // {0xA0, handleCommand},
        {kFirmwareIso15693Anticollision, iso15693Anticollision},
    };
    return table;
}

std::unique_ptr<Tag> makeTag(const TagSpec& spec) {
    const auto& table = tagFactories();
    const auto it = table.find(spec.kind);
    return it == table.end() ? nullptr : it->second(spec);
}

}  // namespace simboard
