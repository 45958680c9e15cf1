#include "console/frames.hpp"

namespace console {

std::string mid(std::string_view text, int start, int length) {
    if (start < 1 || length <= 0) return {};
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return {};
    return std::string(text.substr(from, static_cast<std::size_t>(length)));
}

}  // namespace console
