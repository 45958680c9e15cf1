#pragma once

#include <QByteArray>
#include <QString>

namespace core {

// What reading one of the program's own small files (settings, products) gives.
struct SmallFileRead {
    enum class Outcome { Read, Missing, Unreadable };
    Outcome outcome = Outcome::Missing;
    QByteArray content;  // the whole file, when Read
    // Why it was not read, for a message: the system's words where it gave any ("No such
    // file or directory", "Permission denied"), else "not a regular file" or "larger than
    // N bytes".
    QString error;
};

// Reads the whole file when it is a regular file of at most `maxBytes`. Anything else
// standing under that name (a FIFO, a device, a folder, a file too large, one that cannot
// be opened or read) is Unreadable: a name beside the program must never block it or
// make it read without end.
SmallFileRead readSmallFile(const QString& path, qint64 maxBytes);

}  // namespace core
