#include "hostile_files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <chrono>

namespace testsupport {

const char* hostileFileName(HostileFile kind) {
    switch (kind) {
        case HostileFile::Fifo:
            return "a FIFO";
        case HostileFile::DevZeroLink:
            return "a link to /dev/zero";
        case HostileFile::Huge:
            break;
    }
    return "a file of more than 5 MB";
}

bool makeHostileFile(const QString& path, HostileFile kind, const QByteArray& start,
                     const QByteArray& fill) {
    QFile::remove(path);
    const QByteArray name = QFile::encodeName(path);
    switch (kind) {
        case HostileFile::Fifo:
            return ::mkfifo(name.constData(), 0600) == 0;
        case HostileFile::DevZeroLink:
            return ::symlink("/dev/zero", name.constData()) == 0;
        case HostileFile::Huge:
            break;
    }
    if (fill.isEmpty()) return false;
    QByteArray content = start;
    while (content.size() <= 5 * 1024 * 1024) content += fill;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

FifoRescue::FifoRescue(const QString& path) : path_(QFile::encodeName(path).toStdString()) {
    thread_ = std::thread([this] {
        std::unique_lock lock(mutex_);
        // Long enough for any reader that does not wait to be done with the name.
        if (stop_.wait_for(lock, std::chrono::seconds(3), [this] { return stopping_; })) return;
        while (
            !stop_.wait_for(lock, std::chrono::milliseconds(100), [this] { return stopping_; })) {
            // Only a FIFO needs setting free (a device would take the byte as well).
            struct stat st {};
            if (::stat(path_.c_str(), &st) != 0 || !S_ISFIFO(st.st_mode)) continue;
            // Without a reader waiting, a non-blocking open for writing fails.
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0) continue;
            fired_ = true;
            (void)!::write(fd, "x", 1);
            ::close(fd);
        }
    });
}

FifoRescue::~FifoRescue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
}

}  // namespace testsupport
