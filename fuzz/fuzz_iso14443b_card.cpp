// Arbitrary request frames to ISO14443-B cards, several per input so that state (ready,
// active, halted) carries from one frame to the next. The first byte picks the ini key
// whose value the text up to the first NUL byte is; then each frame is a length byte and
// that many bytes, and the length byte 7F switches the field off.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.hpp"
#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso14443b_card.hpp"
#include "simboard/iso14443b_frames.hpp"

namespace {

using fuzzsupport::check;
using fuzzsupport::checkAnswer;

using namespace simboard;

constexpr const char* kKeys[] = {"pupi", "afi", "appdata", "protocolinfo", "mbli"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto [key, value, rest] = fuzzsupport::keyedValue(data, size, kKeys);

    const ProtocolConfig config{Protocol::Iso14443B, {0x01, 0x01, 0x80}};
    Antenna antenna;
    antenna.add(makeIso14443bCard(TagSpec{"iso14443b", {{key, value}}}));
    Iso14443bCardConfig other;
    other.afi = 0x12;
    other.protocolInfo = {0x00, 0x11, 0x85};
    antenna.add(std::make_unique<Iso14443bCard>(other));

    std::size_t pos = rest;
    while (pos < size) {
        const std::uint8_t length = data[pos++];
        if (length == 0x7F) {
            antenna.fieldOff();
            continue;
        }
        const std::size_t n = std::min<std::size_t>(length, size - pos);
        const TagRequest request{Bytes(data + pos, data + pos + n), 0, config};
        pos += n;
        const std::vector<TagAnswer> answers = antenna.broadcast(request);
        for (const TagAnswer& a : answers) {
            // The shortest card frame is a one-byte answer and its CRC_B; the longest the
            // extended ATQB.
            check(a.bytes.size() >= 3 && a.bytes.size() <= 15 && a.lastByteBits == 8);
            check(iso14443bCrcValid(a.bytes));
        }
        checkAnswer(combinerFor(Protocol::Iso14443B)(CombineInput{answers, config, AnswerFault{}}));
    }
    return 0;
}
