// Hex formatting and checks, the CRC and the answer parser on arbitrary text.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "console/frames.hpp"
#include "shell/crc16.hpp"
#include "shell/hex_text.hpp"
#include "shell/ui.hpp"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool allHex(const QString& s) {
    for (QChar c : s) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) return false;
    }
    return true;
}

class CountingUi : public shell::Ui {
  public:
    int messages = 0;
    shell::MsgResult messageBox(const QString&, const QString&, shell::MsgIcon,
                                shell::MsgButtons) override {
        ++messages;
        return shell::MsgResult::Ok;
    }
    void beep() override {}
    std::optional<shell::FileDialogResult> saveFileDialog(
        const shell::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<shell::FileDialogResult> openFileDialog(
        const shell::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<QColor> colorDialog(const QColor&) override { return std::nullopt; }
    void setBusy(bool) override {}
    bool isBusy() const override { return false; }
};

void formatting(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return;
    std::int32_t value;
    std::memcpy(&value, data, sizeof value);
    const int width = data[4];
    const QString digits = QString::number(static_cast<std::uint32_t>(value), 16).toUpper();
    for (const QString& padded :
         {shell::HexPad(value, width), shell::HexPadLong(value, width), shell::Hex4(value)}) {
        // Never cut, only zeros in front, always upper-case hex.
        check(padded.endsWith(digits));
        check(allHex(padded));
        check(padded.size() - digits.size() <= 8);
        bool ok = false;
        check(padded.toUInt(&ok, 16) == static_cast<std::uint32_t>(value) && ok);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    formatting(data, size);

    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const QString crc = shell::Crc16OfHexText(text);
    check(crc.size() == 4 && allHex(crc));
    check(shell::Crc16OfHexText(text.toLower()) == shell::Crc16OfHexText(text.toUpper()) ||
          !shell::isHexDataText(text, false));

    CountingUi ui;
    const bool address = shell::IsHexAddress(ui, text);
    check(address == shell::isHexAddressText(text));
    const bool spaced = shell::IsHexData(ui, text, true);
    const bool unspaced = shell::IsHexData(ui, text, false);
    check(ui.messages == (address ? 0 : 1) + (spaced ? 0 : 1) + (unspaced ? 0 : 1));
    // Whole hex bytes pass both ways; accepted unspaced data is an address text too.
    if (unspaced) check(address && text.size() % 2 == 0);
    if (address && text.size() % 2 == 0) check(unspaced);

    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const console::ParsedAnswer parsed = console::parseAnswer(answer);
    check(parsed.code.size() <= 2);
    check(parsed.data.size() * 2 + 4 <= size || parsed.data.empty());
    if (parsed.wellFormed) check(console::isHexText(answer) && size % 2 == 0 && size >= 4);
    (void)console::LengthLine(answer);
    (void)console::CodeLine(answer);
    (void)console::validBitsLine(answer);
    (void)console::readShortFrame(answer);
    (void)console::mid(answer, static_cast<int>(size % 7), static_cast<int>(size % 5) - 1);
    return 0;
}
