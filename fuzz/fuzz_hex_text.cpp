// Hex formatting and checks, the CRC and the answer parser on arbitrary text.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/hex_checks.hpp"
#include "core/ui.hpp"
#include "transceiver/crc16.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/hex_text.hpp"

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

class CountingUi : public core::Ui {
  public:
    int messages = 0;
    core::MsgResult messageBox(const QString&, const QString&, core::MsgIcon,
                               core::MsgButtons) override {
        ++messages;
        return core::MsgResult::Ok;
    }
    void beep() override {}
    std::optional<core::FileDialogResult> saveFileDialog(const core::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<core::FileDialogResult> openFileDialog(const core::FileDialogRequest&) override {
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
         {transceiver::HexPad(value, width), transceiver::HexPadLong(value, width),
          transceiver::Hex4(value)}) {
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

    const QString crc = transceiver::Crc16OfHexText(text);
    check(crc.size() == 4 && allHex(crc));
    check(transceiver::Crc16OfHexText(text.toLower()) ==
              transceiver::Crc16OfHexText(text.toUpper()) ||
          !transceiver::isHexDataText(text, false));

    CountingUi ui;
    const bool address = core::IsHexAddress(ui, text);
    check(address == transceiver::isHexAddressText(text));
    const bool spaced = core::IsHexData(ui, text, true);
    const bool unspaced = core::IsHexData(ui, text, false);
    check(ui.messages == (address ? 0 : 1) + (spaced ? 0 : 1) + (unspaced ? 0 : 1));
    // Whole hex bytes pass both ways; accepted unspaced data is an address text too.
    if (unspaced) check(address && text.size() % 2 == 0);
    if (address && text.size() % 2 == 0) check(unspaced);

    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const transceiver::ParsedAnswer parsed = transceiver::parseAnswer(answer);
    check(parsed.code.size() <= 2);
    check(parsed.data.size() * 2 + 4 <= size || parsed.data.empty());
    if (parsed.wellFormed) check(transceiver::isHexText(answer) && size % 2 == 0 && size >= 4);
    (void)transceiver::LengthLine(answer);
    (void)transceiver::CodeLine(answer);
    (void)transceiver::validBitsLine(answer);
    (void)transceiver::readShortFrame(answer);
    (void)transceiver::mid(answer, static_cast<int>(size % 7), static_cast<int>(size % 5) - 1);
    return 0;
}
