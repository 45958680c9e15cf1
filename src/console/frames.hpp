#pragma once

#include <string>
#include <string_view>

namespace console {

// Characters `start` (1-based) to `start + length - 1` of `text`; whatever part of that
// range lies outside the text is left out, so decoders never read past an answer.
std::string mid(std::string_view text, int start, int length);

}  // namespace console
