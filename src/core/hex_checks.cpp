#include "core/hex_checks.hpp"

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

}  // namespace core
