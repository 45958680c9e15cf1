#include "transceiver/iso15693_answers.hpp"

#include "transceiver/crc16.hpp"
#include "transceiver/frames.hpp"

namespace transceiver {

Iso15693Answer checkIso15693Answer(int libraryStatus, std::string_view answer) {
    Iso15693Answer out;
    if (libraryStatus != 0 || mid(answer, 1, 2) != kResultFrame) return out;
    const std::string lengthText = mid(answer, 3, 2);
    if (lengthText.size() != 2 || !isHexText(lengthText)) return out;
    const int l = static_cast<int>(hexValue(lengthText));
    // Room for the CRC and the status byte, and every character the length announces.
    if (l < 3 || answer.size() < 2 * static_cast<std::size_t>(l) + 4) return out;

    out.accepted = true;
    out.length = l;
    out.statusByte = mid(answer, 2 * l + 3, 2);
    const std::string frame = mid(answer, 5, 2 * l - 6);
    if (out.statusByte != kResultDone) {
        out.computedCrc =
            Crc16OfHexText(QString::fromLatin1(frame.data(), static_cast<qsizetype>(frame.size())))
                .toStdString();
        out.crc =
            out.computedCrc == mid(answer, 2 * l - 1, 4) ? CrcVerdict::Ok : CrcVerdict::Mismatch;
    }
    if (out.crc != CrcVerdict::Mismatch) out.tagResponse = frame;
    return out;
}

std::string crcVerdictText(const Iso15693Answer& answer) {
    switch (answer.crc) {
        case CrcVerdict::NotChecked:
            return {};
        case CrcVerdict::Ok:
            return "  " + answer.statusByte + " -> CRC OK";
        case CrcVerdict::Mismatch:
            return "  " + answer.statusByte + " -> CRC HS (expected=" + answer.computedCrc + ")";
    }
    return {};
}

std::string inventoryUid(std::string_view tagResponse) {
    // Flags and DSFID first, then the UID least significant byte first.
    constexpr int kFirstUidChar = 5;
    constexpr int kUidBytes = 8;
    if (tagResponse.size() < std::size_t{kFirstUidChar - 1 + 2 * kUidBytes}) {
        return {};
    }
    std::string uid;
    for (int i = kUidBytes - 1; i >= 0; --i) uid += mid(tagResponse, kFirstUidChar + 2 * i, 2);
    return uid;
}

Iso15693Inventory decodeIso15693Inventory(int libraryStatus, std::string_view answer) {
    Iso15693Inventory out;
    const Iso15693Answer checked = checkIso15693Answer(libraryStatus, answer);
    out.verdict = crcVerdictText(checked);
    if (!checked.accepted || checked.length != kIso15693InventoryLength) return out;
    if (checked.crc == CrcVerdict::Mismatch) {
        out.count = Iso15693Inventory::CrcFailed;
        return out;
    }
    out.uid = inventoryUid(checked.tagResponse);
    out.count = Iso15693Inventory::Found;
    return out;
}

}  // namespace transceiver
