#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "simboard/combiner.hpp"
#include "simboard/tag.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

// The FeliCa frame CRC: preset 0000, polynomial 1021, not reflected, not complemented; on
// air the high byte goes first.
std::uint16_t felicaCrc(const std::uint8_t* data, std::size_t size);
bool felicaCrcValid(const Bytes& frame);

// One status byte after the frame, as for ISO14443-B, with the FeliCa CRC deciding it.
std::string combineFelica(const CombineInput& in);

struct FelicaCardConfig {
    std::array<std::uint8_t, 8> idm{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    std::array<std::uint8_t, 8> pmm{0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18};
    std::uint16_t systemCode = 0x1A2B;
};

// A FeliCa card that answers polling (REQC). The transceiver sends the polling request
// without its length byte and hands back the card's frame with it; a request that does
// carry a length byte is taken too.
class FelicaCard : public Tag {
  public:
    explicit FelicaCard(FelicaCardConfig config = {}) : config_(config) {}

    Protocol protocol() const override { return Protocol::FeliCa; }
    std::optional<TagAnswer> receive(const TagRequest& request) override;
    // Polling is answered in every state: nothing to reset.
    void fieldOff() override {}

    const FelicaCardConfig& config() const { return config_; }

  private:
    bool systemCodeMatches(std::uint16_t requested) const;

    FelicaCardConfig config_;
};

// Keys of a "felica" section, each optional (the default card's value otherwise):
//   idm         16 hex digits
//   pmm         16 hex digits
//   systemcode  4 hex digits
// nullptr when a value cannot be read.
std::unique_ptr<Tag> makeFelicaCard(const TagSpec& spec);

}  // namespace simboard
