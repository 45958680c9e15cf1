#include "transceiver/board_answers.hpp"

#include <QStringList>
#include <algorithm>

#include "transceiver/hex_text.hpp"

namespace transceiver {

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
    const int announced = std::max(0, hexByteAt(answer, 2));
    QStringList parts;
    for (int i = 0; i < announced; ++i) {
        const int b = hexByteAt(answer, 4 + 2 * i);
        if (b < 0) break;
        parts << QString::number(b);
    }
    return parts.join(QLatin1Char('.'));
}

QString decodeIdnCharacters(const QString& answer) {
    QString out;
    const qsizetype last = answer.size() / 2 - 5;
    for (qsizetype i = 0; i <= last; ++i) {
        const int b = hexByteAt(answer, 4 + 2 * i);
        if (b <= 0) break;  // a NUL ends a text, as in every answer
        out += QChar(b);
    }
    return out;
}

}  // namespace transceiver
