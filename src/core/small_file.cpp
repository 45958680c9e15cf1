#include "core/small_file.hpp"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace core {

namespace {

bool openForReading(QFile& file) {
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK, opening a FIFO waits for a writer: should a FIFO take the
    // regular file's place after the look below, the open still returns at once.
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    return file.open(QIODevice::ReadOnly);
#endif
}

}  // namespace

SmallFileRead readSmallFile(const QString& path, qint64 maxBytes) {
    SmallFileRead result;
    const QFileInfo info(path);
    if (!info.exists()) return result;
    result.outcome = SmallFileRead::Outcome::Unreadable;
    if (!info.isFile() || info.size() > maxBytes) return result;

    QFile file(path);
    if (!openForReading(file)) return result;
    // What was opened is judged again: the name may have changed hands since the look.
    if (file.isSequential()) return result;
    QByteArray content = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError || content.size() > maxBytes) return result;
    result.outcome = SmallFileRead::Outcome::Read;
    result.content = std::move(content);
    return result;
}

}  // namespace core
