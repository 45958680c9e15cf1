#include "transceiver/hex_text.hpp"

namespace transceiver {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

QString hexDigits(std::int32_t value) {
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper();
}

QString padded(std::int32_t value, int width, int maxZeros) {
    QString digits = hexDigits(value);
    const qsizetype zeros = width - digits.size();
    if (zeros < 1 || zeros > maxZeros) return digits;
    return QString(zeros, QLatin1Char('0')) + digits;
}

bool isHexDigit(QChar c) { return hexDigitValue(c) >= 0; }

bool isHexPair(const QString& text, qsizetype at) {
    return at + 1 < text.size() && isHexDigit(text[at]) && isHexDigit(text[at + 1]);
}

}  // namespace

int hexDigitValue(char16_t u) {
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return -1;
}

int hexByteAt(const QString& text, qsizetype at) {
    if (at < 0 || at + 2 > text.size()) return -1;
    const int high = hexDigitValue(text[at]);
    const int low = hexDigitValue(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

std::string hexByte(std::uint8_t value) { return {kDigits[value >> 4], kDigits[value & 0xF]}; }

std::uint32_t hexValue(std::string_view text) {
    std::uint32_t v = 0;
    for (char c : text) {
        const int d = hexDigitValue(static_cast<unsigned char>(c));
        if (d < 0) break;
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return v;
}

bool isHexText(std::string_view text) {
    for (char c : text) {
        if (hexDigitValue(static_cast<unsigned char>(c)) < 0) return false;
    }
    return true;
}

std::string withoutBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != ' ') out += c;
    }
    return out;
}

std::string toLatin1(const QString& text) { return text.toLatin1().toStdString(); }

QString fromLatin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

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
