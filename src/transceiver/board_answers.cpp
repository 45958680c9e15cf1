#include "transceiver/board_answers.hpp"

#include <QStringList>
#include <algorithm>

namespace transceiver {

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

// The byte a pair of hex digits stands for, or -1 when there is no such pair there.
int byteAt(const QString& text, qsizetype at) {
    if (at < 0 || at + 2 > text.size()) return -1;
    const int high = hexDigit(text[at]);
    const int low = hexDigit(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

}  // namespace

int decodeDllRevisionNumber(const QString& answer) {
    const QString digits = answer.left(3).remove(QLatin1Char('.'));
    int value = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString decodeMcuRevisionText(const QString& answer) {
    const int announced = std::max(0, byteAt(answer, 2));
    QStringList parts;
    for (int i = 0; i < announced; ++i) {
        const int b = byteAt(answer, 4 + 2 * i);
        if (b < 0) break;
        parts << QString::number(b);
    }
    return parts.join(QLatin1Char('.'));
}

QString decodeIdnCharacters(const QString& answer) {
    QString out;
    const qsizetype last = answer.size() / 2 - 5;
    for (qsizetype i = 0; i <= last; ++i) {
        const int b = byteAt(answer, 4 + 2 * i);
        if (b <= 0) break;  // a NUL ends a text, as in every answer
        out += QChar(b);
    }
    return out;
}

}  // namespace transceiver
