#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "core/settings_file.hpp"
#include "hostile_files.hpp"
#include "script/script_file.hpp"
#include "script_fixture.hpp"

namespace {

class ScriptFilesTest : public scripttest::ScriptFixture {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = tc.path(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray content(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    static core::FileDialogResult chosen(const QString& path) {
        return {path, QFileInfo(path).fileName()};
    }
    void loadFile(const QString& path) {
        tc.ui.expectOpenDialog(chosen(path));
        click(QStringLiteral("cmdScriptLoad"));
    }
    void saveFile(const QString& path) {
        tc.ui.expectSaveDialog(chosen(path));
        click(QStringLiteral("cmdScriptSave"));
    }
    QString editorText() { return w->editorLines().join(QLatin1Char('\n')); }
    QString settingsFile() const { return core::usageFilePath(tc.ctx->programFolder()); }
};

}  // namespace

TEST_F(ScriptFilesTest, LoadReadsLineEndsOfEveryKindAndSaveWritesCrLfKeepingEveryByte) {
    const struct {
        const char* name;
        QByteArray file;
        const char* editor;
        std::optional<QByteArray> saved;  // nothing: an empty editor saves nothing
    } cases[] = {
        {"LF", "A\nB\n", "A\nB", QByteArray("A\r\nB")},
        {"CR LF", "A\r\nB\r\n", "A\nB", QByteArray("A\r\nB")},
        {"lone CR", "A\rB\r", "A\nB", QByteArray("A\r\nB")},
        {"one LF", "\n", "", std::nullopt},
        {"two LFs", "\n\n", "\n", QByteArray("\r\n")},
        {"no final line end", "A\r\nB", "A\nB", QByteArray("A\r\nB")},
        {"bytes 80-FF", QByteArray("\x80\xA0 \xE9\r\n\xFF", 7), "\x80\xA0 \xE9\n\xFF",
         QByteArray("\x80\xA0 \xE9\r\n\xFF", 7)},
    };
    tc.values().LastUsedFolder = tc.ctx->programFolder();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        type("previous");
        loadFile(write("in.txt", c.file));
        EXPECT_EQ(editorText(), QString::fromLatin1(c.editor));
        const QString out = tc.path("out.txt");
        QFile::remove(out);
        if (c.saved) {
            saveFile(out);
            EXPECT_EQ(content(out), *c.saved);
        } else {
            click(QStringLiteral("cmdScriptSave"));
            EXPECT_FALSE(QFile::exists(out));
        }
    }
    EXPECT_TRUE(tc.ui.messages().empty());
    EXPECT_TRUE(tc.ui.allRepliesUsed());
    EXPECT_FALSE(tc.ui.isBusy());
}

// The limits a script file is held to: far above any script a person types, far below
// what takes the editor long to lay out.
constexpr qsizetype kMiB = 1024 * 1024;
constexpr qsizetype kLongestLine = 4096;
constexpr qsizetype kMostLines = 100000;

TEST_F(ScriptFilesTest, AFileUpToTheLimitsLoadsWhole) {
    const struct {
        const char* name;
        qsizetype lineLength;
        qsizetype lines;
        qsizetype lastLength;  // the last line, cut to make the file 1 MiB, has no line end
    } cases[] = {
        {"1 MiB of short lines", 14, kMiB / 16, 14},
        {"lines of the longest length", kLongestLine, 256, kMiB - 255 * (kLongestLine + 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray line = QByteArray(c.lineLength, 'A') + "\r\n";
        QByteArray file;
        while (file.size() + line.size() <= kMiB) file += line;
        file += QByteArray(kMiB - file.size(), 'B');
        ASSERT_EQ(file.size(), kMiB);
        loadFile(write("limits.txt", file));
        const QStringList lines = w->editorLines();
        ASSERT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines.front().size(), c.lineLength);
        EXPECT_EQ(lines.back().size(), c.lastLength);
    }
    // The most lines a script may hold: empty lines, each ending in LF.
    loadFile(write("lines.txt", QByteArray(kMostLines, '\n')));
    EXPECT_EQ(w->editorLines().size(), kMostLines);
    EXPECT_TRUE(tc.ui.messages().empty());
}

TEST_F(ScriptFilesTest, AFileThatCannotBeLoadedLeavesTheEditorAndSaysWhy) {
    QFile big(tc.path("big.txt"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kMiB + 1));
    big.close();
    // The editor counts a lone CR as a line end too.
    write("wide.txt", "REM\rREM\r\n" + QByteArray(kLongestLine + 1, 'A') + "\r\nREM\r\n");
    write("many.txt", QByteArray(kMostLines + 1, '\n'));
    QDir(tc.folder.path()).mkdir("folder.txt");
    ASSERT_TRUE(testsupport::makeHostileFile(tc.path("fifo.txt"), testsupport::HostileFile::Fifo));
    ASSERT_TRUE(
        testsupport::makeHostileFile(tc.path("zero.txt"), testsupport::HostileFile::DevZeroLink));
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {tc.path("missing.txt"), QStringLiteral("No such file or directory")},
        {tc.path("folder.txt"), QStringLiteral("not a regular file")},
        {tc.path("big.txt"), QStringLiteral("it is larger than 1 MiB (no script is that long)")},
        {tc.path("wide.txt"),
         QStringLiteral("its line 3 is longer than 4096 characters (no script line is that long)")},
        {tc.path("many.txt"),
         QStringLiteral("it holds more than 100000 lines (no script is that long)")},
        // Chosen by mistake, they would block the load or never end it.
        {tc.path("fifo.txt"), QStringLiteral("not a regular file")},
        {tc.path("zero.txt"), QStringLiteral("not a regular file")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        type("TQ73RNDLL_ECHO");
        const QByteArray settingsBefore = content(settingsFile());
        tc.ui.expectMessage();
        testsupport::FifoRescue rescue(c.path);
        loadFile(c.path);
        EXPECT_FALSE(rescue.fired()) << "the load waited on the FIFO";
        EXPECT_EQ(editorText(), "TQ73RNDLL_ECHO");
        ASSERT_FALSE(tc.ui.messages().empty());
        const auto& m = tc.ui.messages().back();
        EXPECT_EQ(m.title, "   TQ73RN script tool");
        const QString start =
            "The script " + QDir::toNativeSeparators(c.path) + " could not be loaded: ";
        EXPECT_TRUE(m.text.startsWith(start)) << m.text.toStdString();
        EXPECT_EQ(m.text, start + c.reason);
        EXPECT_EQ(content(settingsFile()), settingsBefore);
    }
    // An empty file has nothing to load: the editor keeps its text, without a word.
    loadFile(write("empty.txt", {}));
    EXPECT_EQ(editorText(), "TQ73RNDLL_ECHO");
    EXPECT_EQ(tc.ui.messages().size(), 7u);
}

TEST_F(ScriptFilesTest, AFailedWriteIsToldAndWritesNothing) {
    type("TQ73RNDLL_ECHO");
    const QString path = tc.path("no such folder/s.txt");
    tc.ui.expectMessage();
    saveFile(path);
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_TRUE(tc.ui.messages()[0].text.startsWith("The script " + QDir::toNativeSeparators(path) +
                                                    " could not be saved: "));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(settingsFile()));

    // A character a single-byte file cannot hold is not written as something else.
    type(QStringLiteral("REM, 10 \u20AC"));
    tc.ui.expectMessage();
    saveFile(tc.path("euro.txt"));
    EXPECT_FALSE(QFile::exists(tc.path("euro.txt")));
    EXPECT_EQ(tc.ui.messages().size(), 2u);
}

// A name typed with blanks around it saves under the name without them, as the log's
// Save does: a file whose name ends in a blank is one nobody finds again.
TEST_F(ScriptFilesTest, ASavedScriptsNameLosesTheBlanksAroundIt) {
    tc.values().LastUsedFolder = tc.ctx->programFolder();
    type("A");
    const QString out = tc.path("blanks.txt");
    tc.ui.expectSaveDialog(chosen(QStringLiteral("  ") + out + QStringLiteral(" ")));
    click(QStringLiteral("cmdScriptSave"));
    EXPECT_EQ(content(out), QByteArray("A"));
    EXPECT_FALSE(QFile::exists(out + QLatin1Char(' ')));
}

TEST_F(ScriptFilesTest, SaveLogWritesTheLogAndClearLogEmptiesItAndItsBox) {
    run("TQ73RNDLL_ECHO\nREM, done");
    const QString entries =
        scripttest::callEntry("TQ73RNDLL_ECHO", "5500") + scripttest::kStamp + "REM,  done";
    auto* box = get<widgets::LogView>("rtfScriptLogEdit");
    EXPECT_EQ(box->toPlainText(), QString(entries).remove(QLatin1Char('\r')));
    const QString path = tc.path("log.txt");
    tc.ui.expectSaveDialog(chosen(path));
    click(QStringLiteral("cmdSaveScriptLog"));
    EXPECT_EQ(content(path), entries.toLatin1());

    click(QStringLiteral("cmdEraseLogScript"));
    EXPECT_EQ(log(), "");
    EXPECT_EQ(box->toPlainText(), "");
    // An empty log has nothing to save: no dialog opens.
    click(QStringLiteral("cmdSaveScriptLog"));
    EXPECT_TRUE(tc.ui.allRepliesUsed());
    EXPECT_EQ(tc.ui.dialogRequests().size(), 1u);
}

TEST_F(ScriptFilesTest, DialogsOpenWhereTheProgramStartedAndRecordANewFolderForNextTime) {
    tc.values().LastUsedFolder = tc.ctx->programFolder();
    tc.values().BackColorSetting = "255";
    QDir(tc.folder.path()).mkdir("scripts");
    type("TQ73RNDLL_ECHO");
    saveFile(tc.path("scripts/bare"));  // a bare name gets the suffix the filters show
    EXPECT_EQ(content(tc.path("scripts/bare.txt")), "TQ73RNDLL_ECHO");
    loadFile(tc.path("scripts/bare.txt"));

    ASSERT_EQ(tc.ui.dialogRequests().size(), 2u);
    EXPECT_EQ(tc.ui.dialogRequests()[0].filter, "txt File (*.txt)");
    EXPECT_EQ(tc.ui.dialogRequests()[1].filter, "Text File (*.txt)");
    for (const auto& r : tc.ui.dialogRequests())
        EXPECT_EQ(r.initialFolder, tc.ctx->programFolder());
    const auto record = core::parseUsageRecord(content(settingsFile()));
    ASSERT_TRUE(record);
    EXPECT_EQ(QDir::cleanPath(record->folder), QDir::cleanPath(tc.path("scripts")));
    EXPECT_EQ(record->colour, "255");
    EXPECT_EQ(tc.values().LastUsedFolder, tc.ctx->programFolder());

    // Cancelling reads and writes nothing.
    tc.ui.expectOpenDialog(std::nullopt);
    click(QStringLiteral("cmdScriptLoad"));
    tc.ui.expectSaveDialog(std::nullopt);
    click(QStringLiteral("cmdScriptSave"));
    EXPECT_EQ(editorText(), "TQ73RNDLL_ECHO");
    EXPECT_FALSE(tc.ui.isBusy());
    EXPECT_TRUE(tc.ui.messages().empty());
}

TEST_F(ScriptFilesTest, LoadAndUnloadClearTheScriptLoopFlagAndTheWindowLoadsEmpty) {
    type("TQ73RNDLL_ECHO");
    loopBox()->click();
    EXPECT_TRUE(tc.values().ScriptLoopEnabled);
    loopBox()->click();
    EXPECT_FALSE(shown("txtLOOPnumber") || shown("lblLOOPnumber"));
    EXPECT_FALSE(tc.values().ScriptLoopEnabled);
    loopBox()->click();
    tc.values().ReqCLoopEnabled = true;
    w->close();
    EXPECT_FALSE(tc.values().ScriptLoopEnabled);

    // The load clears the script's loop flag however it was left; the REQC loop of the
    // ISO18092 window is that window's own, on both ways.
    tc.values().ScriptLoopEnabled = true;
    open();
    EXPECT_FALSE(tc.values().ScriptLoopEnabled);
    EXPECT_TRUE(tc.values().ReqCLoopEnabled);
    EXPECT_EQ(w->windowTitle(), "   TQ73RN script tool");
    EXPECT_TRUE(editor()->toPlainText().isEmpty());
    EXPECT_TRUE(log().isEmpty());
    EXPECT_FALSE(loopBox()->isChecked());
    EXPECT_TRUE(shown("txtLOOPnumber") && shown("lblLOOPnumber"));
    EXPECT_FALSE(shown("lblLoopCount"));
    EXPECT_EQ(get<QLabel>("lblLOOPnumber")->text(), "0 for infinty loop");
    EXPECT_EQ(get<QLineEdit>("txtLOOPnumber")->toolTip(), "enter the number of LOOP");
}
