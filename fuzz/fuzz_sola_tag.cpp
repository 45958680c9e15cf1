// Arbitrary request frames to SOLA memory tags, several per input so that state
// (inventory, selected, deactivated) and memory carry from one frame to the next. The
// first byte picks the ini key whose value the text up to the first NUL byte is; then
// each frame is a length byte and that many bytes, and the length byte 7F switches the
// field off.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.hpp"
#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso14443b_frames.hpp"
#include "simboard/sola_tag.hpp"

namespace {

using fuzzsupport::check;
using fuzzsupport::checkAnswer;

using namespace simboard;

constexpr const char* kKeys[] = {"chipid", "uid", "product", "blocks", "data"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto [key, value, rest] = fuzzsupport::keyedValue(data, size, kKeys);

    const ProtocolConfig config{Protocol::Iso14443B, {0x01, 0x01, 0x80}};
    // Two tags share slot 7, a third sits in slot 0 with a small memory.
    std::vector<SolaTag*> tags;
    Antenna antenna;
    for (const SolaTagConfig& c :
         {SolaTagConfig{0x37, {}, 16, {}}, SolaTagConfig{0x27, {}, 128, {}},
          SolaTagConfig{0x40, {}, 2, {}}}) {
        auto tag = std::make_unique<SolaTag>(c);
        tags.push_back(tag.get());
        antenna.add(std::move(tag));
    }
    antenna.add(makeSolaTag(TagSpec{"sola", {{key, value}}}));

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
            // A chip ID, a block or a UID, each followed by CRC_B.
            const std::size_t body = a.bytes.size() - 2;
            check(a.bytes.size() >= 3 && (body == 1 || body == 4 || body == 8));
            check(iso14443bCrcValid(a.bytes));
        }
        // A tag never grows or shrinks its memory.
        check(tags[0]->memory().size() == 64 && tags[1]->memory().size() == 512 &&
              tags[2]->memory().size() == 8);
        checkAnswer(combinerFor(Protocol::Iso14443B)(CombineInput{answers, config, AnswerFault{}}));
    }
    return 0;
}
