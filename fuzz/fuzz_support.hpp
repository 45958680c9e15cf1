// What the fuzz targets share: the check that stops the fuzzer on a broken rule, what
// every simulated answer must be, and the split of an input into an ini key, its value
// and the bytes left for frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "simboard/hex.hpp"

namespace fuzzsupport {

inline void check(bool ok) {
    if (!ok) __builtin_trap();
}

// A whole hex text that fits the caller's 256-character buffer with its NUL.
inline void checkAnswer(const std::string& text) {
    check(text.size() >= 4 && text.size() <= 255 && text.size() % 2 == 0);
    check(simboard::parseHex(text).has_value());
}

// The first byte picks one of `keys`; the text up to the first NUL byte after it is the
// key's value; what follows the NUL is left for the target.
struct KeyedValue {
    const char* key;
    std::string value;
    std::size_t restOffset;  // where the bytes after the value start (may equal size)
};

inline KeyedValue keyedValue(const std::uint8_t* data, std::size_t size,
                             std::span<const char* const> keys) {
    const char* key = keys[data[0] % keys.size()];
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(data + 1, 0, size - 1));
    const std::size_t valueEnd = nul ? static_cast<std::size_t>(nul - data) : size;
    return {key, std::string(reinterpret_cast<const char*>(data + 1), valueEnd - 1),
            valueEnd < size ? valueEnd + 1 : size};
}

}  // namespace fuzzsupport
