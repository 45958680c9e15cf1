// The board tools' readings of any answer text (the identification and the interface pin
// state) and their check of a typed raw command, on any text a user could paste.
#include <cstddef>
#include <cstdint>
#include <string>

#include "boardtools/board_tools_logic.hpp"
#include "fuzz_support.hpp"
#include "transceiver/hex_text.hpp"

namespace {

using fuzzsupport::check;

void answers(const std::uint8_t* data, std::size_t size) {
    const std::string answer = fuzzsupport::answerText(data, size);
    const QString text = QString::fromLatin1(answer.data(), static_cast<qsizetype>(answer.size()));

    // Thirteen data bytes at the most, NULs left out.
    const QString identification = boardtools::identificationText(text);
    check(identification.size() <= 13 && !identification.contains(QChar(0)));

    const auto option = boardtools::pinStateOption(text);
    if (option) check(*option >= 0 && *option <= 2 && text.size() >= 6);
}

void rawCommand(const std::uint8_t* data, std::size_t size) {
    // Pasted text: single-byte, or any UTF-16 (an odd last byte is dropped).
    const QString typed = size > 0 && (data[0] & 1)
                              ? QString::fromUtf16(reinterpret_cast<const char16_t*>(data + 1),
                                                   static_cast<qsizetype>((size - 1) / 2))
                              : QString::fromLatin1(reinterpret_cast<const char*>(data),
                                                    static_cast<qsizetype>(size));
    const boardtools::RawCommand command = boardtools::checkRawCommand(typed);
    QString bytes = typed;
    bytes.remove(QLatin1Char(' '));
    switch (command.verdict) {
        case boardtools::RawCommand::Verdict::Send:
            // Exactly what was typed, blanks dropped, behind the transceiver's prefix.
            check(command.refusal().isEmpty());
            check(command.request == "01" + bytes.toStdString());
            check(transceiver::isHexText(command.request) && command.request.size() % 2 == 0);
            break;
        case boardtools::RawCommand::Verdict::Empty:
            check(bytes.isEmpty() && command.request.empty() && !command.refusal().isEmpty());
            break;
        case boardtools::RawCommand::Verdict::BadFormat:
            check(!bytes.isEmpty() && command.request.empty() && !command.refusal().isEmpty());
            check(bytes.size() % 2 != 0 || !transceiver::isHexText(transceiver::toLatin1(bytes)) ||
                  bytes != QString::fromLatin1(transceiver::toLatin1(bytes)));
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    answers(data, size);
    rawCommand(data, size);
    return 0;
}
