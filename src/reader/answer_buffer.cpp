#include "reader/answer_buffer.hpp"

#include <algorithm>
#include <cstring>

namespace reader {

bool AnswerBuffer::hasNul() const { return std::memchr(bytes_.data(), '\0', kSize) != nullptr; }

std::string AnswerBuffer::text() const {
    const char* end = static_cast<const char*>(std::memchr(bytes_.data(), '\0', kSize));
    return std::string(bytes_.data(), end ? static_cast<std::size_t>(end - bytes_.data()) : kSize);
}

void AnswerBuffer::setText(std::string_view text) {
    const std::size_t n = std::min(text.size(), kSize - 1);
    std::memcpy(bytes_.data(), text.data(), n);
    bytes_[n] = '\0';
}

}  // namespace reader
