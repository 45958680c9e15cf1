// Arbitrary request frames to ISO14443-B cards, several per input so that state (ready,
// active, halted) carries from one frame to the next. The first byte picks the ini key
// whose value the text up to the first NUL byte is; then each frame is a length byte and
// that many bytes, and the length byte 7F switches the field off.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso14443b_card.hpp"
#include "simboard/iso14443b_frames.hpp"

namespace {

using namespace simboard;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

// What every answer must be: a whole hex text that fits the caller's buffer.
void checkAnswer(const std::string& text) {
    check(text.size() >= 4 && text.size() <= 255 && text.size() % 2 == 0);
    check(parseHex(text).has_value());
}

constexpr const char* kKeys[] = {"pupi", "afi", "appdata", "protocolinfo", "mbli"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char* key = kKeys[data[0] % std::size(kKeys)];
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(data + 1, 0, size - 1));
    const std::size_t valueEnd = nul ? static_cast<std::size_t>(nul - data) : size;
    const std::string value(reinterpret_cast<const char*>(data + 1), valueEnd - 1);

    const ProtocolConfig config{Protocol::Iso14443B, {0x01, 0x01, 0x80}};
    Antenna antenna;
    antenna.add(makeIso14443bCard(TagSpec{"iso14443b", {{key, value}}}));
    Iso14443bCardConfig other;
    other.afi = 0x12;
    other.protocolInfo = {0x00, 0x11, 0x85};
    antenna.add(std::make_unique<Iso14443bCard>(other));

    std::size_t pos = valueEnd + 1;
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
