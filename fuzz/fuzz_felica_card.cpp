// Arbitrary request frames to FeliCa cards. The first byte picks the ini key whose value
// the text up to the first NUL byte is; then each frame is a length byte and that many
// bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "simboard/antenna.hpp"
#include "simboard/felica_card.hpp"
#include "simboard/hex.hpp"

namespace {

using namespace simboard;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void checkAnswer(const std::string& text) {
    check(text.size() >= 4 && text.size() <= 255 && text.size() % 2 == 0);
    check(parseHex(text).has_value());
}

constexpr const char* kKeys[] = {"idm", "pmm", "systemcode"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char* key = kKeys[data[0] % std::size(kKeys)];
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(data + 1, 0, size - 1));
    const std::size_t valueEnd = nul ? static_cast<std::size_t>(nul - data) : size;
    const std::string value(reinterpret_cast<const char*>(data + 1), valueEnd - 1);

    const ProtocolConfig config{Protocol::FeliCa, {0x51}};
    Antenna antenna;
    antenna.add(makeFelicaCard(TagSpec{"felica", {{key, value}}}));
    FelicaCardConfig other;
    other.systemCode = 0xFE00;
    antenna.add(std::make_unique<FelicaCard>(other));

    std::size_t pos = valueEnd + 1;
    while (pos < size) {
        const std::uint8_t length = data[pos++];
        const std::size_t n = std::min<std::size_t>(length, size - pos);
        const TagRequest request{Bytes(data + pos, data + pos + n), 0, config};
        pos += n;
        const std::vector<TagAnswer> answers = antenna.broadcast(request);
        for (const TagAnswer& a : answers) {
            // The length byte counts the frame without its CRC, and the CRC is right.
            check(a.bytes.size() >= 4 && a.bytes[0] == a.bytes.size() - 2);
            check(felicaCrcValid(a.bytes));
        }
        checkAnswer(combinerFor(Protocol::FeliCa)(CombineInput{answers, config, AnswerFault{}}));
    }
    return 0;
}
