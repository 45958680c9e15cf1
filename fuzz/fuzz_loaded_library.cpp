// Answers copied back from a loaded reader library: a library file that writes anything
// (more than 256 characters, no NUL, nothing at all, into the request as well) is bound
// through the program's own loader. The caller gets exactly the first 256 characters the
// library left in its area, its own request stays as it was, and what the program's
// decoders make of such an answer never goes wrong.
#include <QLibrary>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "boardtools/board_tools_logic.hpp"
#include "console/answer_decoder.hpp"
#include "core/loaded_reader_library.hpp"
#include "fuzz_support.hpp"
#include "reader/answer_buffer.hpp"
#include "transceiver/board_answers.hpp"

namespace {

using fuzzsupport::check;
using reader::AnswerBuffer;
using reader::ReaderFunction;

using ScriptFn = void (*)(const char*, std::size_t, const char*, std::size_t, std::int32_t);

constexpr std::size_t kRoom = 4096;  // what the library is given to write into

core::LoadedReaderLibrary& library() {
    static core::LoadedReaderLibrary loaded(QStringLiteral(TQ_FUZZ_HOSTILE_LIBRARY));
    return loaded;
}

ScriptFn script() {
    static const ScriptFn fn = [] {
        QLibrary same(QStringLiteral(TQ_FUZZ_HOSTILE_LIBRARY));
        return reinterpret_cast<ScriptFn>(same.resolve("hostileLibraryScript"));
    }();
    return fn;
}

// `bytes` repeated up to `size` characters.
std::vector<char> repeated(const std::vector<char>& bytes, std::size_t size) {
    std::vector<char> out;
    if (bytes.empty()) return out;
    while (out.size() < size) out.push_back(bytes[out.size() % bytes.size()]);
    return out;
}

void decode(reader::LibraryStatus status, const AnswerBuffer& answer) {
    const std::string text = answer.text();
    check(text.size() <= AnswerBuffer::kSize);
    const QString qtext = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const console::AnswerVerdict v =
        console::judgeAnswer(status, text, answer.hasNul(), console::FailureText::WithStatus);
    check(!v.decode || (answer.hasNul() && v.answerBox == text));
    (void)console::decodeGenericAnswer("04", text);
    (void)console::decodeProtocolSelectAnswer(text);
    (void)transceiver::decodeDllRevisionNumber(qtext);
    (void)transceiver::decodeMcuRevisionText(qtext);
    check(!transceiver::decodeIdnCharacters(qtext).contains(QChar(0)));
    check(boardtools::identificationText(qtext).size() <= 13);
    (void)boardtools::pinStateOption(qtext);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check(library().isLoaded() && script() != nullptr);
    if (size < 3) return 0;
    const std::uint8_t how = data[0];
    const auto status = static_cast<reader::LibraryStatus>(static_cast<std::int8_t>(data[1]));
    const std::size_t split = 3 + std::min<std::size_t>(data[2], size - 3);
    std::vector<char> written(data + 3, data + split);
    const std::vector<char> request(data + split, data + size);
    switch ((how >> 1) & 3) {
        case 1:  // past the answer's 256 characters
            written = repeated(written, 300);
            break;
        case 2:  // the whole room
            written = repeated(written, kRoom);
            break;
        case 3:  // nothing at all
            written.clear();
            break;
        default:
            break;
    }
    script()(written.data(), written.size(), request.data(), request.size(), status);

    const std::string sent = "0100";
    for (int f = 0; f <= static_cast<int>(ReaderFunction::GetInterfacePinState); ++f) {
        const auto function = static_cast<ReaderFunction>(f);
        AnswerBuffer answer = (how & 1) ? AnswerBuffer::blanks() : AnswerBuffer();
        std::array<char, AnswerBuffer::kSize> expected{};
        std::memcpy(expected.data(), answer.data(), AnswerBuffer::kSize);
        const bool hasAnswer =
            function != ReaderFunction::UsbConnect && function != ReaderFunction::UsbHandleCheck;
        if (hasAnswer && !written.empty()) {
            std::memcpy(expected.data(), written.data(),
                        std::min(written.size(), AnswerBuffer::kSize));
        }
        check(library().call(function, sent, answer) == status);
        check(std::memcmp(answer.data(), expected.data(), AnswerBuffer::kSize) == 0);
        check(sent == "0100");
        if (function == ReaderFunction::Idn) decode(status, answer);
    }
    return 0;
}
