// Frames to ISO14443-A tags, several per input so that state (cascade level,
// selection, halt, a pending compatibility write) carries from one frame to the next.
// The first byte chooses which of five tags are on the antenna: three single-size
// UIDs of which two collide, a double and a triple one. Then each frame starts with
// an op byte whose top three bits choose: 0 a raw frame (length in the low 5 bits,
// then the transmission flag byte and the bytes), 1 REQA or WUPA, 2 ANTICOLLISION at
// the level in the low bits, 3 the SELECT a reader builds from the last answer,
// 4 READ, 5 WRITE, 6 COMPATIBILITY WRITE (both parts), 7 HALT or field off; pages
// and data come from the bytes that follow.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.hpp"
#include "simboard/antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso14443a_tag.hpp"

namespace {

using fuzzsupport::check;

using namespace simboard;

// Every answer: a whole hex text that fits the caller's buffer, in one of the shapes
// the transceiver reports.
void checkAnswer(const std::string& text) {
    check(text.size() >= 4 && text.size() <= 255 && text.size() % 2 == 0);
    const auto bytes = parseHex(text);
    check(bytes.has_value());
    const std::uint8_t code = (*bytes)[0];
    if (code == 0x87 || code == 0x89) {
        check(bytes->size() == 2);
    } else if (code == 0x90) {
        check(text == "90040A" || text == "900404");
    } else {
        check(code == 0x80 && (*bytes)[1] == bytes->size() - 2 && bytes->size() >= 6);
        const std::size_t n = bytes->size();
        const std::uint8_t status = (*bytes)[n - 3];
        check((status & ~0xA0) == 0x08);
        check((*bytes)[n - 2] < n - 5 && (*bytes)[n - 1] < 8);
        if (!(status & 0x80)) check((*bytes)[n - 2] == 0 && (*bytes)[n - 1] == 0);
    }
}

Iso14443aTag* add(Antenna& antenna, const std::string& uid) {
    Iso14443aTagConfig config;
    config.uid = *parseHex(uid);
    auto tag = Iso14443aTag::create(std::move(config));
    check(tag != nullptr);
    Iso14443aTag* raw = tag.get();
    antenna.add(std::move(tag));
    return raw;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProtocolConfig config{Protocol::Iso14443A, {0x00, 0x01, 0x80}};
    if (size == 0) return 0;
    // The first byte chooses which of the five tags are on the antenna, so that a
    // lone tag can be selected and several can collide.
    const std::uint8_t present = data[0];
    Antenna antenna;
    std::vector<Iso14443aTag*> tags;
    const char* const uids[] = {"11223344", "112A3344", "10203040", "04A1B2C3D4E5F6",
                                "04A1B2C3D4E5F6071829"};
    const Iso14443aTag* doubleSize = nullptr;
    for (int i = 0; i < 5; ++i) {
        if (!(present & (1 << i))) continue;
        tags.push_back(add(antenna, uids[i]));
        if (i == 3) doubleSize = tags.back();
    }
    const Bytes uidPages =
        doubleSize ? Bytes(doubleSize->memory().begin(), doubleSize->memory().begin() + 9)
                   : Bytes{};

    std::string lastAnswer;
    std::uint8_t lastSel = 0x93;
    std::size_t pos = 1;
    const auto next = [&]() -> std::uint8_t { return pos < size ? data[pos++] : 0; };
    while (pos < size) {
        const std::uint8_t op = data[pos++];
        TagRequest request{{}, 0x28, config};
        switch (op >> 5) {
            case 0: {
                request.flagByte = next();
                const std::size_t n = std::min<std::size_t>(op & 0x1F, size - pos);
                request.frame.assign(data + pos, data + pos + n);
                pos += n;
                break;
            }
            case 1:
                request.frame = {static_cast<std::uint8_t>((op & 1) ? 0x52 : 0x26)};
                request.flagByte = 0x07;
                break;
            case 2:
                lastSel = static_cast<std::uint8_t>(0x93 + 2 * (op % 3));
                request.frame = {lastSel, 0x20};
                request.flagByte = 0x08;
                break;
            case 3: {
                if (lastAnswer.size() < 14 || lastAnswer.compare(0, 2, "80") != 0) continue;
                request.frame = {lastSel, 0x70};
                const Bytes part = *parseHex(lastAnswer.substr(4, 10));
                request.frame.insert(request.frame.end(), part.begin(), part.end());
                break;
            }
            case 4:
                request.frame = {0x30, next()};
                break;
            case 5:
                request.frame = {0xA2, next(), next(), next(), next(), next()};
                break;
            case 6:
                request.frame = {0xA0, next()};
                checkAnswer(antenna.exchange(request));
                request.frame.clear();
                for (int i = 0; i < 16; ++i) request.frame.push_back(next());
                break;
            default:
                if (op & 1) {
                    antenna.fieldOff();
                    continue;
                }
                request.frame = {0x50, 0x00};
                break;
        }
        lastAnswer = antenna.exchange(request);
        checkAnswer(lastAnswer);
        for (const Iso14443aTag* tag : tags) {
            check(tag->memory().size() % 4 == 0 && tag->memory().size() >= 16);
        }
        // The UID pages of a 7-byte-UID tag never change, whatever is written.
        if (doubleSize) {
            check(std::equal(uidPages.begin(), uidPages.end(), doubleSize->memory().begin()));
        }
    }
    return 0;
}
