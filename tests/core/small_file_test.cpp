#include "core/small_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "hostile_files.hpp"
#include "qstring_printer.hpp"

namespace {

using core::SmallFileRead;
using Outcome = SmallFileRead::Outcome;
using testsupport::HostileFile;

constexpr qint64 kMax = 64;

class SmallFile : public ::testing::Test {
  protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    void write(const char* name, const QByteArray& content) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QTemporaryDir dir;
};

TEST_F(SmallFile, ARegularFileUpToTheLimitIsReadWholeAndAnythingElseIsNot) {
    write("exact", QByteArray(kMax, 'a'));
    write("over", QByteArray(kMax + 1, 'b'));
    write("empty", QByteArray());
    ASSERT_TRUE(QFile::link(path("exact"), path("link")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(QFile::link(path("nowhere"), path("dangling")));

    const struct {
        const char* name;
        Outcome outcome;
        QByteArray content;
        QString error;  // what a message says about it
    } cases[] = {
        {"exact", Outcome::Read, QByteArray(kMax, 'a'), {}},
        {"empty", Outcome::Read, QByteArray(), {}},
        {"link", Outcome::Read, QByteArray(kMax, 'a'), {}},
        {"over", Outcome::Unreadable, QByteArray(), "larger than 64 bytes"},
        {"folder", Outcome::Unreadable, QByteArray(), "not a regular file"},
        {"absent", Outcome::Missing, QByteArray(), "No such file or directory"},
        {"dangling", Outcome::Missing, QByteArray(), "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SmallFileRead r = core::readSmallFile(path(c.name), kMax);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.content, c.content);
        EXPECT_EQ(r.error, c.error);
    }
}

TEST_F(SmallFile, AFifoADeviceOrAHugeFileIsRefusedAtOnce) {
    for (HostileFile kind : testsupport::kHostileFiles) {
        SCOPED_TRACE(testsupport::hostileFileName(kind));
        const QString name = path("hostile");
        ASSERT_TRUE(testsupport::makeHostileFile(name, kind, "start\n", "line\n"));
        testsupport::FifoRescue rescue(name);
        const SmallFileRead r = core::readSmallFile(name, kMax);
        EXPECT_EQ(r.outcome, Outcome::Unreadable);
        EXPECT_TRUE(r.content.isEmpty());
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_FALSE(rescue.fired()) << "the reader waited on the FIFO";
    }
}

// A file the system will not open, though it looked readable, is refused with the system's
// reason, for the user to act on. The reason here is a process out of file handles: the
// one refusal the tests can bring about whoever runs them.
TEST_F(SmallFile, AnOpenTheSystemRefusesIsToldWithItsReason) {
    write("plain", "content");
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
    const int next = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(next, 0);
    ::close(next);
    rlimit cramped = before;
    cramped.rlim_cur = static_cast<rlim_t>(next);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &cramped), 0);
    const SmallFileRead r = core::readSmallFile(path("plain"), kMax);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &before), 0);
    EXPECT_EQ(r.outcome, Outcome::Unreadable);
    EXPECT_TRUE(r.content.isEmpty());
    EXPECT_EQ(r.error, qt_error_string(EMFILE));
}

}  // namespace
