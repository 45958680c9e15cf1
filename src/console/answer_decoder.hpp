#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/reader_library.hpp"

namespace console {

// The explanation lines of one answer, by box; a box without a line stays hidden (a
// line may be empty and still shown).
using ExplainLines = std::vector<std::optional<std::string>>;

// The generic panel's decoder; `command` is the command code in its box 0.
ExplainLines decodeGenericAnswer(std::string_view command, std::string_view answer);
ExplainLines decodeProtocolSelectAnswer(std::string_view answer);
ExplainLines decodeIdleAnswer(std::string_view answer);

inline constexpr char kNotCorrectData[] = "Not correct data sent by DEMO-TQ73RN-A";
inline constexpr char kGenericTransactionError[] =
    "Transaction error : Check your reader connections";

// How the generic panel words a failed exchange, and how the other two panels do.
enum class FailureText { Generic, WithStatus };

// What the answer box shows after an exchange, and whether the lines are explained.
struct AnswerVerdict {
    std::string answerBox;
    bool decode = false;
};
// A failed call that left the buffer untouched (no NUL) reads as a failed transaction.
// Any other answer that is not well formed (no NUL in the buffer, not hex, or a length
// byte that disagrees with its data) is reported as such before the status is looked
// at; a well-formed answer of any size is decoded.
AnswerVerdict judgeAnswer(reader::LibraryStatus status, std::string_view answer, bool hadNul,
                          FailureText failure);

}  // namespace console
