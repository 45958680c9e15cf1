#include "script/script_file.hpp"

#include <QFile>

namespace script {

QString editorTextOfFile(QByteArrayView bytes) {
    QString text = QString::fromLatin1(bytes);
    // One CR before each LF, as the pairs are met from the left: "A CR CR LF" keeps one.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // The last line: its LF, or else the CR that ends it.
    if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    return text;
}

std::optional<QByteArray> fileOfLines(const QStringList& lines) {
    const QString text = lines.join(QLatin1String("\r\n"));
    for (QChar c : text) {
        if (c.unicode() > 0xFF) return std::nullopt;
    }
    return text.toLatin1();
}

QStringList linesOfText(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r') && c != QChar::ParagraphSeparator &&
            c != QChar::LineSeparator) {
            continue;
        }
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < size && text[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    lines.append(text.mid(start));
    return lines;
}

ScriptFileRead readScriptFile(const QString& path) {
    ScriptFileRead read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = file.errorString();
        return read;
    }
    // One byte past the limit tells a file at the limit from a larger one, whatever size
    // the file system reports (a file may grow while it is read).
    const QByteArray bytes = file.read(kMaxScriptFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        read.error = file.errorString();
        return read;
    }
    if (bytes.size() > kMaxScriptFileBytes) {
        read.error = QStringLiteral("larger than 16 MiB");
        return read;
    }
    read.bytes = bytes;
    return read;
}

}  // namespace script
