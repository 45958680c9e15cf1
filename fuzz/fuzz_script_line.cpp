// The script line checker on arbitrary lines, and on lines that begin with a keyword (the
// first byte picks it) so that the data rules are reached: what it accepts is what the
// library calls can take, and reading a cleaned line again changes nothing (every pass of
// a run reads the lines the first pass cleaned).

#include <cstdint>
#include <iterator>

#include "fuzz_support.hpp"
#include "script/language.hpp"

namespace {

using fuzzsupport::check;

bool isHex(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// Keywords as a person may type them, and near misses.
constexpr const char* kKeywords[] = {
    "REM",
    "rem",
    "WAIT",
    "wait ",
    "TQ73RNDLL_ECHO",
    "TQ73RNDLL_SELECT",
    "tq73rndll_select",
    "TQ73RNDLL_SENDRECV",
    "TQ73RNDLL_SENDRECEIVE",
    "TQ73RNDLL_KVCMD",
    "TQ73RNDLL_KVCMD, 01",
    "TQ73RNDLL_KVCMD, 02",
    "TQ73RNDLL_USB_CONNECT",
    "TQ73RN_SOLAxx_Initiate",
    "TQ73RN_ISO14443-A_AnticolSelect123",
    "TQ73RNDLL_GET_INTERFACE_PIN_STATE",
};

void checkOne(const QString& raw) {
    const script::CleanedLine cleaned = script::cleanLine(raw);
    const script::CleanedLine again = script::cleanLine(cleaned.text);
    check(again.text == cleaned.text);
    for (QChar c : cleaned.text) {
        check(c != QLatin1Char('\r') && c != QLatin1Char('\n') && c != QLatin1Char('\t'));
        check(cleaned.beginsWithRem || c != QLatin1Char(' '));
    }

    const script::CheckedLine line = script::checkLine(cleaned.text);
    check(line.blank == cleaned.text.isEmpty());
    check(line.acceptedDataCharacters >= 0 && line.acceptedDataCharacters <= line.data.size());
    if (line.blank || line.error || !line.spec) return;
    switch (line.spec->data) {
        case script::DataKind::None:
            check(!line.hasData);
            break;
        case script::DataKind::Hex: {
            const bool raw = line.spec->keyword == script::Keyword::KvCmd;
            check(!line.data.isEmpty() && line.data.size() % 2 == 0);
            check(line.data.size() <=
                  (raw ? script::kMaxRawCommandDigits : script::kMaxFrameDataDigits));
            for (QChar c : line.data) check(isHex(c));
            check(!raw || line.data.startsWith(QLatin1String("01")) ||
                  line.data.startsWith(QLatin1String("02")));
            check(line.acceptedDataCharacters == line.data.size());
            break;
        }
        case script::DataKind::Decimal:
            check(line.data.size() >= 1 && line.data.size() <= script::kMaxWaitDigits);
            check(line.waitValue >= 0 && line.waitValue <= 9999999);
            break;
        case script::DataKind::Any:
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* text = reinterpret_cast<const char*>(data);
    checkOne(QString::fromLatin1(text, static_cast<qsizetype>(size)));
    if (size > 0) {
        // A keyword whose data has begun takes the rest as more of it.
        const QLatin1String keyword(kKeywords[data[0] % std::size(kKeywords)]);
        const QString separator =
            keyword.contains(QLatin1Char(',')) ? QString() : QStringLiteral(",");
        checkOne(keyword + separator +
                 QString::fromLatin1(text + 1, static_cast<qsizetype>(size - 1)));
    }
    return 0;
}
