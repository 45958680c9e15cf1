#include "core/small_file.hpp"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace core {

namespace {

const QString kNotRegular = QStringLiteral("not a regular file");

QString tooLarge(qint64 maxBytes) { return QStringLiteral("larger than %1 bytes").arg(maxBytes); }

// On failure `error` gets the system's words.
bool openForReading(QFile& file, QString& error) {
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK, opening a FIFO waits for a writer: should a FIFO take the
    // regular file's place after the look below, the open still returns at once.
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = qt_error_string(errno);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
#else
    if (file.open(QIODevice::ReadOnly)) return true;
    error = file.errorString();
    return false;
#endif
}

}  // namespace

SmallFileRead readSmallFile(const QString& path, qint64 maxBytes) {
    SmallFileRead result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = qt_error_string(ENOENT);
        return result;
    }
    result.outcome = SmallFileRead::Outcome::Unreadable;
    if (!info.isFile()) {
        result.error = kNotRegular;
        return result;
    }
    if (info.size() > maxBytes) {
        result.error = tooLarge(maxBytes);
        return result;
    }

    QFile file(path);
    if (!openForReading(file, result.error)) return result;
    // What was opened is judged again: the name may have changed hands since the look.
    if (file.isSequential()) {
        result.error = kNotRegular;
        return result;
    }
    QByteArray content = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    if (content.size() > maxBytes) {
        result.error = tooLarge(maxBytes);
        return result;
    }
    result.outcome = SmallFileRead::Outcome::Read;
    result.content = std::move(content);
    return result;
}

}  // namespace core
