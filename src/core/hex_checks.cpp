#include "core/hex_checks.hpp"

#include "core/program_values.hpp"
#include "core/ui.hpp"
#include "transceiver/hex_text.hpp"

namespace core {

bool IsHexAddress(Ui& ui, const QString& text) {
    if (transceiver::isHexAddressText(text)) return true;
    ui.messageBox(kInvalidAddressText, kInvalidAddressTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    return false;
}

bool IsHexData(Ui& ui, const QString& text, bool spaced) {
    if (transceiver::isHexDataText(text, spaced)) return true;
    ui.messageBox(kInvalidDataText, kInvalidDataTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    return false;
}

bool IsMemoryAddress(Ui& ui, const QString& text, std::int32_t addressMask) {
    if (!IsHexAddress(ui, text)) return false;
    if (addressMask < 0) return true;
    // Leading zeros aside, more than eight digits cannot be a block of any memory (and
    // would wrap in 32 bits).
    qsizetype first = 0;
    while (first < text.size() - 1 && text[first] == QLatin1Char('0')) ++first;
    const QString digits = text.mid(first);
    if (digits.size() <= 8 && transceiver::hexValue(transceiver::toLatin1(digits)) <=
                                  static_cast<std::uint32_t>(addressMask)) {
        return true;
    }
    ui.messageBox(kInvalidAddressText, kInvalidAddressTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    return false;
}

bool IsMemoryAddress(Ui& ui, const QString& text, const ProgramValues& values) {
    return IsMemoryAddress(ui, text, values.MemorySizeBytes > 0 ? values.AddressMask : -1);
}

QString notHexRefusalText(const QString& boxName) {
    return QStringLiteral(
               "Not sent: the box \"%1\" holds text that is not hex (digits 0-9, "
               "A-F; no blanks)")
        .arg(boxName);
}

void RefuseNotHex(Ui& ui, const QString& boxName) {
    ui.beep();
    ui.messageBox(notHexRefusalText(boxName), kInvalidDataTitle, MsgIcon::Exclamation,
                  MsgButtons::Ok);
}

bool IsHexBox(Ui& ui, const QString& text, const QString& boxName) {
    if (transceiver::isHexText(transceiver::toLatin1(text))) return true;
    RefuseNotHex(ui, boxName);
    return false;
}

}  // namespace core
