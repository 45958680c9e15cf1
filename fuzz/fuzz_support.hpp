// What the fuzz targets share: the check that stops the fuzzer on a broken rule, what
// every simulated answer must be, the split of an input into an ini key, its value
// and the bytes left for frames, and answer texts made of fuzz bytes.
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

// An answer text made of fuzz bytes. The first byte chooses: the bytes as they are (any
// text a library could leave behind), or the bytes written as hex digits, with the
// length byte made to agree, an odd digit dropped or lower-case digits on request, so
// the decoders are reached past their format checks as often as they are stopped there.
inline std::string answerText(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    const std::uint8_t how = data[0];
    if ((how & 1) == 0) return std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    const char* digits = (how & 8) ? "0123456789abcdef" : "0123456789ABCDEF";
    std::string hex;
    for (std::size_t i = 1; i < size; ++i) {
        std::uint8_t b = data[i];
        if ((how & 2) && i == 2) b = static_cast<std::uint8_t>(size - 3);  // the length byte
        hex += digits[b >> 4];
        hex += digits[b & 0x0F];
    }
    if ((how & 4) && !hex.empty()) hex.pop_back();
    return hex;
}

}  // namespace fuzzsupport
