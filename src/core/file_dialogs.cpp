#include "core/file_dialogs.hpp"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "core/app_context.hpp"

namespace core {

QString dialogFolder(const AppContext& ctx) {
    return ctx.values.LastUsedFolder.isEmpty() ? ctx.programFolder() : ctx.values.LastUsedFolder;
}

QString folderOfPath(const QString& fullPath) {
    QString folder = QDir::toNativeSeparators(QFileInfo(fullPath).absolutePath());
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    return folder;
}

UsageSaveResult recordChosenFolder(AppContext& ctx, const QString& fullPath) {
    const QString folder = folderOfPath(fullPath);
    // The folder read at start-up may be written with or without its final separator.
    if (QDir::cleanPath(folder) == QDir::cleanPath(ctx.values.LastUsedFolder)) return {};
    return SaveUsageFile(ctx, folder, ctx.values.BackColorSetting);
}

QString withDefaultSuffix(const QString& fullPath, const QString& suffix) {
    if (fullPath.isEmpty() || !QFileInfo(fullPath).suffix().isEmpty()) return fullPath;
    return fullPath + (fullPath.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) +
           suffix;
}

std::optional<QString> writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // The reason is taken before anything else runs: cancelling puts its own text in
        // place of the error, and when the system took part of the data before refusing
        // the rest (a disk that fills up on the way), the toolkit has no reason but
        // "Unknown error" while errno still holds the refusing call's own.
        const int refused = errno;
        const QString why =
            refused != 0 ? QString::fromLocal8Bit(std::strerror(refused)) : file.errorString();
        // A commit after a failed write could put a partial file in place of the old one.
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

}  // namespace core
