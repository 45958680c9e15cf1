// The console's answer verdict and its three decoders on any answer text: the verdict
// never lets a badly formed answer or a failed call be explained, and the decoders read
// only what the answer holds.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

#include "console/answer_decoder.hpp"
#include "fuzz_support.hpp"

namespace {

using fuzzsupport::check;

void checkLines(const console::ExplainLines& lines, const std::string& answer) {
    check(lines.size() <= 5);
    for (const auto& line : lines) {
        // A line names at most every byte of the answer, each with a blank, and its words.
        if (line) check(line->size() <= 2 * answer.size() + 128);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string answer = fuzzsupport::answerText(data, size);

    // The window explains only what the verdict lets through; the decoders must still
    // read any other text without fault.
    const bool explained =
        console::judgeAnswer(reader::kStatusOk, answer, true, console::FailureText::Generic).decode;
    const auto lines = [&](const console::ExplainLines& l) {
        if (explained) checkLines(l, answer);
    };
    for (const char* command : {"01", "02", "04", "07", "08", "09", "0A", "55", "", "4"}) {
        lines(console::decodeGenericAnswer(command, answer));
    }
    lines(console::decodeProtocolSelectAnswer(answer));
    lines(console::decodeIdleAnswer(answer));

    for (const reader::LibraryStatus status : {0, 1, 5, -1, INT_MIN, INT_MAX}) {
        for (const bool hadNul : {true, false}) {
            for (const auto failure :
                 {console::FailureText::Generic, console::FailureText::WithStatus}) {
                const console::AnswerVerdict v =
                    console::judgeAnswer(status, answer, hadNul, failure);
                const bool transactionError =
                    failure == console::FailureText::Generic
                        ? v.answerBox == console::kGenericTransactionError
                        : v.answerBox.rfind("Transaction error : " + std::to_string(status) + " (",
                                            0) == 0;
                if (v.decode) {
                    check(status == reader::kStatusOk && hadNul && v.answerBox == answer);
                } else if (!hadNul) {
                    // No NUL: a failed call never wrote the buffer (the link is lost), a
                    // good one wrote something that is not an answer text.
                    check(status == reader::kStatusOk ? v.answerBox == console::kNotCorrectData
                                                      : transactionError);
                } else {
                    // A badly formed text is bad data whatever the status.
                    check(v.answerBox == console::kNotCorrectData ||
                          (status != reader::kStatusOk && transactionError));
                }
            }
        }
    }
    return 0;
}
