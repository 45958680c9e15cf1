#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simboard {

using Bytes = std::vector<std::uint8_t>;

// The reader protocol chosen by the last Protocol Select.
enum class Protocol : std::uint8_t {
    None = 0x00,  // field off, or nothing selected since power-up
    Iso15693 = 0x01,
    Iso14443A = 0x02,
    Iso14443B = 0x03,
    FeliCa = 0x04,
    CardEmulation = 0x05,
};

// The protocol code and its parameter bytes, as given to Protocol Select.
struct ProtocolConfig {
    Protocol protocol = Protocol::None;
    Bytes params;

    bool operator==(const ProtocolConfig&) const = default;
};

// One request as the transceiver puts it on air.
struct TagRequest {
    // The bytes for the tag. For ISO14443-A the trailing transmission flag byte is not
    // part of it; it is in `flagByte`.
    Bytes frame;
    std::uint8_t flagByte = 0;
    ProtocolConfig config;
};

// What one tag sends back, as on air: its frame with its own CRC where the protocol
// has one. `lastByteBits` counts the valid bits of the last byte (short frames).
struct TagAnswer {
    Bytes bytes;
    int lastByteBits = 8;

    bool operator==(const TagAnswer&) const = default;
};

// A virtual tag on the simulated antenna.
class Tag {
  public:
    virtual ~Tag() = default;

    // The reader protocol this tag answers under.
    virtual Protocol protocol() const = 0;
    // Whether the tag hears requests under this configuration. Most tags only look at
    // the protocol; some also at its timing parameters.
    virtual bool hears(const ProtocolConfig& config) const { return config.protocol == protocol(); }
    // One request in, zero or one answer out. A frame the tag does not accept in its
    // state gets no answer, as on air.
    virtual std::optional<TagAnswer> receive(const TagRequest& request) = 0;
    // The RF field went off: back to the power-up state (memory is kept).
    virtual void fieldOff() = 0;
};

}  // namespace simboard
