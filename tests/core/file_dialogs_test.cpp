#include "core/file_dialogs.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "file_size_limit.hpp"
#include "qstring_printer.hpp"

namespace {

TEST(FileDialogs, ANameTypedWithoutSuffixGetsTheFiltersOne) {
    const struct {
        const char* typed;
        const char* used;
    } cases[] = {
        {"/logs/run", "/logs/run.txt"},           {"/logs/run.", "/logs/run.txt"},
        {"/logs/run.txt", "/logs/run.txt"},       {"/logs/run.TXT", "/logs/run.TXT"},
        {"/logs/run.log", "/logs/run.log"},  // a suffix the user chose stays
        {"/logs.2012/run", "/logs.2012/run.txt"}, {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(core::withDefaultSuffix(QString::fromLatin1(c.typed), QStringLiteral("txt")),
                  QString::fromLatin1(c.used))
            << c.typed;
    }
}

// A write that fails names what the system said, not that the write was cancelled, and
// leaves the old file whole.
TEST(FileDialogs, AFailedWriteNamesTheSystemsReasonAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_EQ(core::writeWholeFile(path, "old"), std::nullopt);

    std::optional<QString> failure;
    {
        testsupport::FileSizeLimit limit(16);
        ASSERT_TRUE(limit.ok());
        failure = core::writeWholeFile(path, QByteArray(64, 'n'));
    }
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, QString::fromLocal8Bit(std::strerror(EFBIG)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("log.txt")});
}

}  // namespace
