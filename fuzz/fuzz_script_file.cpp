// Script files on arbitrary bytes: the load against a plain reading of its rule (split at
// LF, no line for the last line end, one CR dropped at the end of each line), and a save
// that reads back as the lines it wrote.

#include <cstdint>

#include "fuzz_support.hpp"
#include "script/script_file.hpp"

namespace {

using fuzzsupport::check;

QString byTheRule(QByteArrayView bytes) {
    QList<QByteArrayView> pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        pieces.append(bytes.sliced(start, i - start));
        start = i + 1;
    }
    pieces.append(bytes.sliced(start));
    if (pieces.size() > 1 && pieces.back().isEmpty()) pieces.removeLast();
    QStringList lines;
    for (QByteArrayView piece : pieces) {
        if (piece.endsWith('\r')) piece.chop(1);
        lines.append(QString::fromLatin1(piece));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString text = script::editorTextOfFile(bytes);
    check(text == byTheRule(bytes));

    const QStringList lines = script::linesOfText(text);
    const std::optional<QByteArray> saved = script::fileOfLines(lines);
    check(saved.has_value());
    // Line ends are written as CR LF pairs and nothing else.
    for (qsizetype i = 0; i < saved->size(); ++i) {
        if (saved->at(i) == '\r') check(i + 1 < saved->size() && saved->at(i + 1) == '\n');
        if (saved->at(i) == '\n') check(i > 0 && saved->at(i - 1) == '\r');
    }
    // What was written loads back as the same lines, unless the last one is empty: the
    // line end before it then reads as the end of the file.
    if (lines.size() == 1 || !lines.back().isEmpty()) {
        check(script::linesOfText(script::editorTextOfFile(*saved)) == lines);
    }
    return 0;
}
