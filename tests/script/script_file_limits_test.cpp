#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "script/script_file.hpp"

namespace {

// The limits a script file is held to, written out here so that a changed limit shows.
constexpr qsizetype kMiB = 1024 * 1024;
constexpr qsizetype kLongestLine = 4096;
constexpr qsizetype kMostLines = 100000;

QByteArray line(qsizetype length) { return QByteArray(length, 'A'); }

QString tooLong(int lineNumber) {
    return QStringLiteral(
               "its line %1 is longer than 4096 characters (no script line is that "
               "long)")
        .arg(lineNumber);
}

const QString kTooLarge = QStringLiteral("it is larger than 1 MiB (no script is that long)");
const QString kTooMany = QStringLiteral("it holds more than 100000 lines (no script is that long)");

// Every limit exactly met is accepted and one beyond is refused with its text; a line too
// long is found wherever it stands, and named by its number as the editor counts lines.
TEST(ScriptFileLimits, EachLimitMetIsReadAndOneBeyondIsRefusedWithItsReason) {
    const QByteArray atLimit = line(kLongestLine);
    const QByteArray over = line(kLongestLine + 1);
    // One MiB exactly: 255 longest lines and a last line that fills it up.
    QByteArray mib;
    for (int i = 0; i < 255; ++i) mib += atLimit + "\r\n";
    mib += QByteArray(kMiB - mib.size(), 'B');
    const struct {
        const char* what;
        QByteArray file;
        QString error;  // empty: read whole
    } cases[] = {
        {"empty file", {}, {}},
        {"1 MiB", mib, {}},
        {"1 MiB and one byte", mib + "B", kTooLarge},
        {"1 MiB and one line end", mib + "\n", kTooLarge},

        {"longest line alone", atLimit, {}},
        {"longest line first", atLimit + "\r\nREM\r\nREM\r\n", {}},
        {"longest line in the middle", "REM\r\n" + atLimit + "\r\nREM", {}},
        {"longest line last, no line end", "REM\nREM\n" + atLimit, {}},
        {"longest line last, CR ends it", "REM\rREM\r" + atLimit + "\r", {}},
        {"longest lines only", atLimit + "\n" + atLimit + "\n" + atLimit + "\n", {}},
        {"overlong line alone", over, tooLong(1)},
        {"overlong line first", over + "\r\nREM\r\nREM\r\n", tooLong(1)},
        {"overlong line in the middle", "REM\r\n" + over + "\r\nREM", tooLong(2)},
        {"overlong line last, no line end", "REM\nREM\n" + over, tooLong(3)},
        {"overlong line last, CR LF ends it", "REM\r\nREM\r\n" + over + "\r\n", tooLong(3)},
        {"lone CRs count as line ends", "REM\rREM\r\rREM\r" + over + "\r", tooLong(5)},
        {"the first overlong line is named", atLimit + "\n" + over + "\n" + over, tooLong(2)},

        {"most lines, each with LF", QByteArray(kMostLines, '\n'), {}},
        {"most lines, each with CR LF", QByteArray("\r\n").repeated(kMostLines), {}},
        {"most lines, each with CR", QByteArray(kMostLines, '\r'), {}},
        {"most lines, the last without end", QByteArray(kMostLines - 1, '\n') + "A", {}},
        {"one line more, each with LF", QByteArray(kMostLines + 1, '\n'), kTooMany},
        {"one line more, each with CR LF", QByteArray("\r\n").repeated(kMostLines + 1), kTooMany},
        {"one line more, each with CR", QByteArray(kMostLines + 1, '\r'), kTooMany},
        {"one line more, the last without end", QByteArray(kMostLines, '\n') + "A", kTooMany},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(QStringLiteral("s%1.txt").arg(n++));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(c.file), c.file.size());
        f.close();
        const script::ScriptFileRead r = script::readScriptFile(path);
        EXPECT_EQ(r.error, c.error);
        if (c.error.isEmpty()) {
            ASSERT_TRUE(r.bytes.has_value());
            EXPECT_EQ(*r.bytes, c.file);
        } else {
            EXPECT_FALSE(r.bytes.has_value());
        }
    }
}

}  // namespace
