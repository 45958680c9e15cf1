#include "transceiver/hex_text.hpp"

namespace transceiver {

namespace {

QString hexDigits(std::int32_t value) {
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper();
}

QString padded(std::int32_t value, int width, int maxZeros) {
    const QString digits = hexDigits(value);
    const qsizetype zeros = width - digits.size();
    if (zeros < 1 || zeros > maxZeros) return digits;
    return QString(zeros, QLatin1Char('0')) + digits;
}

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

bool isHexPair(const QString& text, qsizetype at) {
    return at + 1 < text.size() && isHexDigit(text[at]) && isHexDigit(text[at + 1]);
}

}  // namespace

QString Hex4(std::int32_t value) { return padded(value, 4, 3); }
QString HexPad(std::int32_t value, int width) { return padded(value, width, 7); }
QString HexPadLong(std::int32_t value, int width) { return padded(value, width, 8); }

bool isHexAddressText(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text) {
        if (!isHexDigit(c)) return false;
    }
    return true;
}

bool isHexDataText(const QString& text, bool spaced) {
    if (text.isEmpty()) return false;
    const qsizetype step = spaced ? 3 : 2;
    // Every byte is checked, the last one too even without its separator: data that
    // slipped past here would go out in a tag write.
    for (qsizetype at = 0; at < text.size(); at += step) {
        if (!isHexPair(text, at)) return false;
    }
    return true;
}

}  // namespace transceiver
