// The start-up detection's decoders on any answer text: the library revision number, the
// firmware revision and the identification characters.
#include <QRegularExpression>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.hpp"
#include "transceiver/board_answers.hpp"

namespace {

using fuzzsupport::check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string answer = fuzzsupport::answerText(data, size);
    const QString text = QString::fromLatin1(answer.data(), static_cast<qsizetype>(answer.size()));
    // Whole bytes after the status and length bytes.
    const qsizetype dataBytes = text.size() >= 4 ? (text.size() - 4) / 2 : 0;

    // At most three characters, dots left out: a number of up to three digits.
    const int revision = transceiver::decodeDllRevisionNumber(text);
    check(revision >= 0 && revision <= 999);

    // Decimal bytes joined by dots, no more than the answer holds or its length byte says.
    const QString firmware = transceiver::decodeMcuRevisionText(text);
    static const QRegularExpression dotted(QStringLiteral("^(\\d{1,3}(\\.\\d{1,3})*)?$"));
    check(dotted.match(firmware).hasMatch());
    const qsizetype parts = firmware.isEmpty() ? 0 : firmware.count(QLatin1Char('.')) + 1;
    check(parts <= dataBytes && parts <= 255);

    // Every data byte but the CRC, up to the first NUL.
    const QString identification = transceiver::decodeIdnCharacters(text);
    check(!identification.contains(QChar(0)));
    check(identification.size() <= std::max<qsizetype>(0, dataBytes - 2));
    for (QChar c : identification) check(c.unicode() <= 0xFF);
    return 0;
}
