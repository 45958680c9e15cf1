#include "core/settings_file.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <climits>
#include <cstring>

#include "file_size_limit.hpp"
#include "hostile_files.hpp"
#include "scratch_config_folder.hpp"
#include "test_context.hpp"

namespace {

using core::LoadUsageFile;
using core::SaveUsageFile;
using testsupport::ScratchConfigFolder;

class SettingsFile : public ::testing::Test {
  protected:
    SettingsFile() { t.values().BackColorSetting = QStringLiteral("&h00FFFFFF"); }

    QString filePath() const { return t.path(QString::fromLatin1(core::kUsageFileName)); }
    void writeFile(const QByteArray& content) {
        QFile f(filePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray readFile() const {
        QFile f(filePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ScratchConfigFolder config;
    testsupport::TestContext t;
};

TEST_F(SettingsFile, SavedRecordIsOneQuotedLineAndReadsBack) {
    ASSERT_TRUE(SaveUsageFile(*t.ctx, QStringLiteral("D:\\Logs\\"), QStringLiteral("255")));
    EXPECT_EQ(readFile(), QByteArray("\"D:\\Logs\\\",\"255\"\r\n"));
    EXPECT_EQ(readFile().size(), 18);
    // Saving changes nothing in memory.
    EXPECT_EQ(t.values().LastUsedFolder, QString());
    EXPECT_EQ(t.values().BackColorSetting, QStringLiteral("&h00FFFFFF"));

    LoadUsageFile(*t.ctx);
    EXPECT_EQ(t.values().LastUsedFolder, QStringLiteral("D:\\Logs\\"));
    EXPECT_EQ(t.values().BackColorSetting, QStringLiteral("255"));
}

TEST_F(SettingsFile, MissingOrIncompleteFileGivesTheDefaults) {
    const QByteArray incomplete[] = {
        "",
        "\r\n",
        "\"/home/user/logs/\"\r\n",  // only a folder item
        "\"/home/user/logs/\",",
        "\"unterminated folder",
    };
    LoadUsageFile(*t.ctx);  // no file at all
    EXPECT_EQ(t.values().LastUsedFolder, t.folder.path());
    EXPECT_EQ(t.values().BackColorSetting, QStringLiteral("&h00FFFFFF"));
    for (const auto& content : incomplete) {
        writeFile(content);
        LoadUsageFile(*t.ctx);
        EXPECT_EQ(t.values().LastUsedFolder, t.folder.path()) << content.toStdString();
        EXPECT_EQ(t.values().BackColorSetting, QStringLiteral("&h00FFFFFF"))
            << content.toStdString();
    }
}

TEST_F(SettingsFile, ItemsAreReadQuotedOrNotWithAnyLineEnd) {
    const struct {
        QByteArray content;
        const char* folder;
        const char* colour;
    } cases[] = {
        {"\"/data/logs/\",\"16777215\"\r\n", "/data/logs/", "16777215"},
        {"\"/data/logs/\",\"255\"\n", "/data/logs/", "255"},
        {"/data/logs/,255", "/data/logs/", "255"},
        {"  /data/logs/  , 255 \r\n", "/data/logs/", "255"},
        {"\"/data/logs/\"\r\n\"255\"\r\n", "/data/logs/", "255"},  // one item per line
        {"\"/data/logs/\"\r\"255\"", "/data/logs/", "255"},
        {"\"a,b\",\"1\",\"ignored\"\r\nmore", "a,b", "1"},
        {"\"/x/\"junk,\"2\"", "/x/", "2"},
        {",\"3\"", "", "3"},
        {"\"a \"\"b\"\" c\",\"5\"", "a \"b\" c", "5"},  // a doubled quote is one quote
        {"\"\"\"\",\"6\"", "\"", "6"},
        {"\"\",\"\"", "", ""},
        // Single-byte text, as the file is written: E9 is one character.
        {"\"/d\xe9j\xe0/\",\"4\"", "/d\xc3\xa9j\xc3\xa0/", "4"},
        {"\"/d\xc3\xa9/\",\"4\"", "/d\xc3\x83\xc2\xa9/", "4"},
        // Behind a UTF-8 byte-order mark the text is UTF-8.
        {"\xef\xbb\xbf\"/d\xc3\xa9/\",\"7\"", "/d\xc3\xa9/", "7"},
    };
    for (const auto& c : cases) {
        writeFile(c.content);
        LoadUsageFile(*t.ctx);
        EXPECT_EQ(t.values().LastUsedFolder, QString::fromUtf8(c.folder))
            << c.content.toStdString();
        EXPECT_EQ(t.values().BackColorSetting, QString::fromUtf8(c.colour))
            << c.content.toStdString();
    }
}

TEST_F(SettingsFile, AnyFolderNameReadsBackAsItWasWritten) {
    const struct {
        QString folder;
        QByteArray written;  // empty: not checked byte for byte
    } cases[] = {
        {QStringLiteral("D:\\Logs \"old\"\\"), "\"D:\\Logs \"\"old\"\"\\\",\"255\"\r\n"},
        {QStringLiteral("/a\"b/"), "\"/a\"\"b/\",\"255\"\r\n"},
        {QStringLiteral("\""), "\"\"\"\",\"255\"\r\n"},
        {QStringLiteral("/x/\",\""), {}},
        {QStringLiteral("/caf\u00e9/"), "\"/caf\xe9/\",\"255\"\r\n"},
        {QStringLiteral("/line\r\nbreak, comma/"), {}},
        // No single byte carries these: the file holds UTF-8 behind its mark, even a mark
        // that begins the name itself.
        {QStringLiteral("\ufeff/\ufeffx/"),
         "\xef\xbb\xbf\"\xef\xbb\xbf/\xef\xbb\xbfx/\",\"255\"\r\n"},
        {QStringLiteral("/\u65e5\u672c/\u00e9\""),
         "\xef\xbb\xbf\"/\xe6\x97\xa5\xe6\x9c\xac/\xc3\xa9\"\"\",\"255\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        ASSERT_TRUE(SaveUsageFile(*t.ctx, c.folder, QStringLiteral("255")));
        if (!c.written.isEmpty()) {
            EXPECT_EQ(readFile(), c.written);
        }
        LoadUsageFile(*t.ctx);
        EXPECT_EQ(t.values().LastUsedFolder, c.folder);
        EXPECT_EQ(t.values().BackColorSetting, QStringLiteral("255"));
    }
}

// A byte another program wrote comes back as the same byte.
TEST_F(SettingsFile, ASingleByteFileSurvivesAReadAndAWrite) {
    const QByteArray content = "\"C:\\R\xe9sultats\\\",\"&h00FFFFFF\"\r\n";
    writeFile(content);
    LoadUsageFile(*t.ctx);
    EXPECT_EQ(t.values().LastUsedFolder, QStringLiteral("C:\\R\u00e9sultats\\"));
    ASSERT_TRUE(SaveUsageFile(*t.ctx, t.values().LastUsedFolder, t.values().BackColorSetting));
    EXPECT_EQ(readFile(), content);
}

// Nothing standing under the settings file's name holds the program up.
TEST_F(SettingsFile, AFifoADeviceOrAHugeFileGivesTheDefaultsAtOnce) {
    for (testsupport::HostileFile kind : testsupport::kHostileFiles) {
        SCOPED_TRACE(testsupport::hostileFileName(kind));
        ASSERT_TRUE(testsupport::makeHostileFile(filePath(), kind, "\"/huge/\",\"1\"\r\n",
                                                 "\"/more/\",\"2\"\r\n"));
        testsupport::FifoRescue rescue(filePath());
        t.values().LastUsedFolder = QStringLiteral("before");
        LoadUsageFile(*t.ctx);
        EXPECT_EQ(t.values().LastUsedFolder, t.folder.path());
        EXPECT_EQ(t.values().BackColorSetting, QStringLiteral("&h00FFFFFF"));
        EXPECT_FALSE(core::readUsageFile(t.folder.path()).has_value());
        EXPECT_FALSE(rescue.fired()) << "the settings file was waited on";
    }
}

TEST_F(SettingsFile, BinaryGarbageIsReadWithoutFault) {
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i) garbage.append(static_cast<char>((i * 37) & 0xFF));
    garbage[10] = '\0';
    writeFile(garbage);
    LoadUsageFile(*t.ctx);
    const auto direct = core::parseUsageRecord(garbage);
    ASSERT_TRUE(direct.has_value());
    EXPECT_EQ(t.values().LastUsedFolder, direct->folder);
    EXPECT_EQ(t.values().BackColorSetting, direct->colour);
}

TEST_F(SettingsFile, AWriteThatCannotHappenIsReportedAndTheFolderUntouched) {
    // The settings path is taken by a folder: the file cannot replace it.
    ASSERT_TRUE(QDir(t.folder.path()).mkdir(QString::fromLatin1(core::kUsageFileName)));
    const auto result = SaveUsageFile(*t.ctx, QStringLiteral("/new/"), QStringLiteral("1"));
    EXPECT_FALSE(result.ok());
    // The message names the file first, then the system's reason.
    const QString named = QStringLiteral("The settings file ") +
                          QDir::toNativeSeparators(filePath()) +
                          QStringLiteral(" could not be written: ");
    EXPECT_TRUE(result.error().startsWith(named)) << result.error().toStdString();
    EXPECT_GT(result.error().size(), named.size()) << "no reason given";
    EXPECT_TRUE(QFileInfo(filePath()).isDir());
}

TEST_F(SettingsFile, AWriteCutShortIsReportedAndTheOldFileKept) {
    ASSERT_TRUE(SaveUsageFile(*t.ctx, QStringLiteral("/old/"), QStringLiteral("255")));
    const QByteArray before = readFile();

    core::UsageSaveResult result;
    {
        // Files may grow to 20 bytes only, so the new record cannot be written whole.
        testsupport::FileSizeLimit limit(20);
        ASSERT_TRUE(limit.ok());
        result = SaveUsageFile(*t.ctx, QStringLiteral("/a/much/longer/folder/than/before/"),
                               QStringLiteral("16777215"));
    }

    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error().endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))))
        << result.error().toStdString();
    EXPECT_EQ(readFile(), before);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(t.folder.path()).entryList(QDir::Files).filter(QStringLiteral("usage")).size(),
              1);
}

// A folder that exists, that the system calls writable, and where nobody, root included,
// can create the settings file: its path leaves no room for the file's name.
QString crampedFolder(const QString& base) {
    const qsizetype length = PATH_MAX - 8;  // the folder fits; the folder and the name do not
    QString path = base;
    while (length - path.size() > 202) path += QLatin1Char('/') + QString(200, QLatin1Char('d'));
    path += QLatin1Char('/') + QString(length - path.size() - 1, QLatin1Char('e'));
    return QDir().mkpath(path) ? path : QString();
}

TEST(SettingsFileLocation, TheFileStaysBesideTheProgramOnlyWhereItCanBeCreatedOrAlreadyIs) {
    const ScratchConfigFolder config;
    const QString name = QString::fromLatin1(core::kUsageFileName);
    const QString inConfig = config.settingsFile();

    testsupport::TestContext t;
    QTemporaryDir scratch;
    const QString cramped = crampedFolder(scratch.path());
    ASSERT_FALSE(cramped.isEmpty());
    ASSERT_TRUE(QFileInfo(cramped).isDir());
    ASSERT_TRUE(QFileInfo(cramped).isWritable()) << "the permission bits must not tell";
    ASSERT_FALSE(QFile(cramped + QLatin1Char('/') + name).open(QIODevice::WriteOnly));
    QTemporaryDir holding;
    QFile saved(holding.filePath(name));
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
    saved.write("\"/saved/\",\"1\"\r\n");
    saved.close();

    const struct {
        const char* name;
        QString folder;
        QString expected;
    } cases[] = {
        {"no such folder", QStringLiteral("/nonexistent-program-folder"), inConfig},
        {"a folder that cannot take the file", cramped, inConfig},
        {"a folder that can", t.folder.path(), t.path(name)},
        // What was saved beside the program is read there, not lost.
        {"a folder that holds the file", holding.path(), holding.filePath(name)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(core::usageFilePath(c.folder), c.expected);
    }
    // Judging a folder leaves nothing in it.
    EXPECT_FALSE(QFileInfo::exists(t.path(name)));
    const auto held = core::readUsageFile(holding.path());
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(held->folder, QStringLiteral("/saved/"));

    // A program in the folder that cannot take the file keeps its settings all the same.
    core::AppContext ctx(t.scripted, t.ui, t.clock, t.timing, cramped);
    ASSERT_TRUE(SaveUsageFile(ctx, QStringLiteral("/logs/"), QStringLiteral("255")));
    EXPECT_TRUE(QFileInfo(inConfig).isFile());
    EXPECT_TRUE(QDir(cramped).isEmpty());
    LoadUsageFile(ctx);
    EXPECT_EQ(ctx.values.LastUsedFolder, QStringLiteral("/logs/"));
    EXPECT_EQ(ctx.values.BackColorSetting, QStringLiteral("255"));
}

}  // namespace
