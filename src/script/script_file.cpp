#include "script/script_file.hpp"

#include <QFileInfo>

#include "core/small_file.hpp"

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
    // A FIFO or a device chosen by mistake is refused at once: it would block the load or
    // never end.
    const core::SmallFileRead file = core::readSmallFile(path, kMaxScriptFileBytes);
    if (file.outcome == core::SmallFileRead::Outcome::Read) {
        read.bytes = file.content;
    } else if (const QFileInfo info(path); info.isFile() && info.size() > kMaxScriptFileBytes) {
        read.error = QStringLiteral("larger than 16 MiB");
    } else {
        read.error = file.error;
    }
    return read;
}

}  // namespace script
