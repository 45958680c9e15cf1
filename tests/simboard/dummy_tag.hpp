#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "simboard/antenna.hpp"
#include "simboard/tag.hpp"

namespace simboard::testing {

// A tag that answers every request with a fixed frame and keeps what it heard.
class DummyTag : public Tag {
  public:
    DummyTag(Protocol protocol, Bytes answer, int lastByteBits = 8)
        : protocol_(protocol), answer_{std::move(answer), lastByteBits} {}

    Protocol protocol() const override { return protocol_; }
    std::optional<TagAnswer> receive(const TagRequest& request) override {
        received.push_back(request);
        if (silent) return std::nullopt;
        return answer_;
    }
    void fieldOff() override { ++fieldOffs; }

    std::vector<TagRequest> received;
    int fieldOffs = 0;
    bool silent = false;

  private:
    Protocol protocol_;
    TagAnswer answer_;
};

// Adds a DummyTag and keeps a pointer to it for the test's asserts.
inline DummyTag* addDummy(Antenna& antenna, Protocol protocol, Bytes answer, int lastByteBits = 8) {
    auto tag = std::make_unique<DummyTag>(protocol, std::move(answer), lastByteBits);
    DummyTag* raw = tag.get();
    antenna.add(std::move(tag));
    return raw;
}

}  // namespace simboard::testing
