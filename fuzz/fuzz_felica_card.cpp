// Arbitrary request frames to FeliCa cards. The first byte picks the ini key whose value
// the text up to the first NUL byte is; then each frame is a length byte and that many
// bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.hpp"
#include "simboard/antenna.hpp"
#include "simboard/felica_card.hpp"
#include "simboard/hex.hpp"

namespace {

using fuzzsupport::check;
using fuzzsupport::checkAnswer;

using namespace simboard;

constexpr const char* kKeys[] = {"idm", "pmm", "systemcode"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto [key, value, rest] = fuzzsupport::keyedValue(data, size, kKeys);

    const ProtocolConfig config{Protocol::FeliCa, {0x51}};
    Antenna antenna;
    antenna.add(makeFelicaCard(TagSpec{"felica", {{key, value}}}));
    FelicaCardConfig other;
    other.systemCode = 0xFE00;
    antenna.add(std::make_unique<FelicaCard>(other));

    std::size_t pos = rest;
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
