// Frames to two TOPAZ tags whose UIDs share their first three bytes, several per
// input so that state and memory carry from one frame to the next. Each frame starts
// with an op byte: FF field off, FE REQA, FD RID, FC a command (code, address, data
// from the next three bytes) naming the first tag, else a raw frame (length in the
// low 4 bits, then the transmission flag byte and the bytes).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.hpp"
#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/topaz_tag.hpp"

namespace {

using fuzzsupport::check;

using namespace simboard;

void checkAnswer(const std::string& text) {
    check(text.size() >= 4 && text.size() <= 255 && text.size() % 2 == 0);
    const auto bytes = parseHex(text);
    check(bytes.has_value());
    const std::uint8_t code = (*bytes)[0];
    if (code == 0x80) {
        check((*bytes)[1] == bytes->size() - 2 && bytes->size() >= 6);
    } else {
        check((code == 0x87 || code == 0x89) && bytes->size() == 2);
    }
}

TopazTag* add(Antenna& antenna, const std::string& uid) {
    auto tag = makeTopazTag({"topaz", {{"uid", uid}}});
    check(tag != nullptr);
    auto* raw = static_cast<TopazTag*>(tag.get());
    antenna.add(std::move(tag));
    return raw;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProtocolConfig config{Protocol::Iso14443A, {0x00, 0x03, 0x00}};
    Antenna antenna;
    TopazTag* first = add(antenna, "11223344556677");
    TopazTag* second = add(antenna, "11223355667788");
    const Bytes before = first->memory();

    std::size_t pos = 0;
    while (pos < size) {
        const std::uint8_t op = data[pos++];
        TagRequest request{{}, 0xA8, config};
        if (op == 0xFF) {
            antenna.fieldOff();
            continue;
        }
        if (op == 0xFE) {
            request.frame = {0x26};
            request.flagByte = 0x07;
        } else if (op == 0xFD) {
            request.frame = {0x78, 0, 0, 0, 0, 0, 0};
        } else if (op == 0xFC) {
            if (size - pos < 3) break;
            request.frame = {data[pos], data[pos + 1], data[pos + 2], 0x11, 0x22, 0x33, 0x44};
            pos += 3;
        } else {
            if (pos >= size) break;
            request.flagByte = data[pos++];
            const std::size_t n = std::min<std::size_t>(op & 0x0F, size - pos);
            request.frame.assign(data + pos, data + pos + n);
            pos += n;
        }
        checkAnswer(antenna.exchange(request));
        for (const TopazTag* tag : {first, second}) {
            const Bytes& memory = tag->memory();
            check(memory.size() == TopazTag::kMemoryBytes);
        }
        const Bytes& memory = first->memory();
        // The UID block and the reserved block never change; lock bits are never lost.
        check(std::equal(before.begin(), before.begin() + 8, memory.begin()));
        check(std::equal(before.begin() + 0x68, before.begin() + 0x70, memory.begin() + 0x68));
        check((memory[0x70] & before[0x70]) == before[0x70]);
        check((memory[0x71] & before[0x71]) == before[0x71]);
    }
    return 0;
}
