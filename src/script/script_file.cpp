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

namespace {

const QString kTooLarge = QStringLiteral("it is larger than 1 MiB (no script is that long)");
const QString kLineTooLong =
    QStringLiteral("its line %1 is longer than %2 characters (no script line is that long)");
const QString kTooManyLines =
    QStringLiteral("it holds more than %1 lines (no script is that long)");

// What the line limits find, lines counted as the editor counts them (a line ends at LF,
// CR LF or a lone CR).
struct LineCheck {
    qsizetype overlongLine = 0;  // the first line longer than a script line can be
    bool tooManyLines = false;
};

LineCheck checkLines(QByteArrayView bytes) {
    LineCheck check;
    qsizetype line = 1;
    qsizetype length = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            // The line end of the last line makes no line after it.
            if (i + 1 < bytes.size() && ++line > kMaxScriptLines) {
                check.tooManyLines = true;
                return check;
            }
            length = 0;
        } else if (++length > kMaxScriptLineCharacters) {
            check.overlongLine = line;
            return check;
        }
    }
    return check;
}

}  // namespace

ScriptFileRead readScriptFile(const QString& path) {
    ScriptFileRead read;
    // A FIFO or a device chosen by mistake is refused at once: it would block the load or
    // never end.
    const core::SmallFileRead file = core::readSmallFile(path, kMaxScriptFileBytes);
    if (file.outcome != core::SmallFileRead::Outcome::Read) {
        const QFileInfo info(path);
        read.error = info.isFile() && info.size() > kMaxScriptFileBytes ? kTooLarge : file.error;
    } else if (const LineCheck check = checkLines(file.content); check.overlongLine > 0) {
        read.error = kLineTooLong.arg(check.overlongLine).arg(kMaxScriptLineCharacters);
    } else if (check.tooManyLines) {
        read.error = kTooManyLines.arg(kMaxScriptLines);
    } else {
        read.bytes = file.content;
    }
    return read;
}

}  // namespace script
