#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace reader {

// The caller-owned answer area every library function writes into. Callers rely on
// what a failed call leaves behind (their own pre-fill), so it is a real buffer and not
// a returned string.
class AnswerBuffer {
  public:
    static constexpr std::size_t kSize = 256;

    AnswerBuffer() { fillZero(); }

    static AnswerBuffer blanks() {
        AnswerBuffer b;
        b.fillBlanks();
        return b;
    }

    void fillZero() { bytes_.fill('\0'); }
    void fillBlanks() { bytes_.fill(' '); }

    char* data() { return bytes_.data(); }
    const char* data() const { return bytes_.data(); }

    // True when the buffer holds a NUL: its text ends there.
    bool hasNul() const;
    // The characters up to the first NUL; all 256 characters when there is none.
    std::string text() const;
    // Writes text followed by a NUL; text longer than 255 characters is cut.
    void setText(std::string_view text);

  private:
    std::array<char, kSize> bytes_{};
};

}  // namespace reader
