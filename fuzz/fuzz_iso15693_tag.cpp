// Arbitrary request frames to ISO15693 tags, several per input so that state (quiet,
// selected, passwords, kill, locks) carries from one frame to the next. Each frame is
// a length byte then that many bytes; a length byte with the top bit set runs the
// board's anticollision instead, with the low bit choosing one slot or sixteen.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.hpp"
#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso15693_anticollision.hpp"
#include "simboard/iso15693_tag.hpp"
#include "simboard/iso15693_tag_spec.hpp"

namespace {

using fuzzsupport::check;
using fuzzsupport::checkAnswer;

using namespace simboard;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const ProtocolConfig config{Protocol::Iso15693,
                                {(data[0] & 1) ? std::uint8_t{0x1D} : std::uint8_t{0x0D}}};
    Iso15693TagConfig small;
    small.uid = 0xE002000000000001ULL;
    small.blockCount = 8;
    small.sectorProtection = {0x06};
    small.strictDataRate = data[0] & 2;
    Antenna antenna;
    antenna.add(std::make_unique<Iso15693Tag>(small));
    antenna.add(makeIso15693Tag(TagSpec{"iso15693", {}}));

    std::size_t pos = 1;
    while (pos < size) {
        const std::uint8_t length = data[pos++];
        if (length & 0x80) {
            const Bytes flags{static_cast<std::uint8_t>((length & 1) ? 0x26 : 0x06)};
            checkAnswer(iso15693Anticollision(antenna, config, flags));
            continue;
        }
        if (length == 0x7F) {
            antenna.fieldOff();
            continue;
        }
        const std::size_t n = std::min<std::size_t>(length, size - pos);
        const Bytes frame(data + pos, data + pos + n);
        pos += n;
        for (const TagAnswer& a : antenna.broadcast(TagRequest{frame, 0, config})) {
            // A tag answer is at least its flags byte and its CRC, and the CRC is right.
            check(a.bytes.size() >= 3 && a.lastByteBits == 8);
            const Bytes body(a.bytes.begin(), a.bytes.end() - 2);
            const std::uint16_t crc = crc16Iso13239(body);
            check(a.bytes[a.bytes.size() - 2] == (crc & 0xFF) && a.bytes.back() == (crc >> 8));
        }
        checkAnswer(antenna.exchange(TagRequest{frame, 0, config}));
    }
    return 0;
}
