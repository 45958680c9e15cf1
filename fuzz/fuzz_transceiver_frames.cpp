// Arbitrary requests to the simulated board, several per input so that the selected
// protocol, the registers and the tags' states carry from one request to the next.
// Each request is a selector byte, a length byte and that many bytes; the selector
// picks the call and whether the bytes go as they are or as hex text (the hex form
// reaches the frame handlers, the raw form the text checks).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.hpp"
#include "reader/answer_buffer.hpp"
#include "simboard/hex.hpp"
#include "simboard/simulated_board.hpp"

namespace {

using fuzzsupport::check;

using namespace simboard;
using reader::ReaderFunction;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SimulatedBoard board;
    std::size_t at = 0;
    while (at + 2 <= size) {
        const std::uint8_t selector = data[at];
        const std::size_t length = data[at + 1];
        at += 2;
        const std::size_t take = std::min(length, size - at);
        const Bytes bytes(data + at, data + at + take);
        at += take;

        std::string body =
            (selector & 0x80) ? std::string(bytes.begin(), bytes.end()) : toHex(bytes);
        ReaderFunction f = ReaderFunction::KvCmd;
        std::string request;
        switch (selector & 0x07) {
            case 0:
                request = "01" + body;
                break;
            case 1:
                request = "02" + body;
                break;
            case 2:  // an Idle frame of the right shape, so the detector sees every window
                request = "01070E" +
                          toHex(Bytes(bytes.begin(),
                                      bytes.begin() + std::min<std::size_t>(14, bytes.size())));
                break;
            case 3:
                f = ReaderFunction::Select;
                request = body;
                break;
            case 4:
                f = ReaderFunction::SendReceive;
                request = body;
                break;
            case 5:
                f = ReaderFunction::FieldOff;
                break;
            case 6:
                f = ReaderFunction::Idn;
                break;
            default:
                check(board.usbConnect() == reader::kStatusOk);
                continue;
        }
        reader::AnswerBuffer answer = reader::AnswerBuffer::blanks();
        check(board.call(f, request, answer) == reader::kStatusOk);
        check(answer.hasNul());
        const std::string text = answer.text();
        check(text.size() >= 4 && text.size() <= 255 && text.size() % 2 == 0);
        check(parseHex(text).has_value());
    }
    return 0;
}
