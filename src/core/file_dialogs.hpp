#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "core/settings_file.hpp"

namespace core {

class AppContext;

// What the windows' open and save dialogs share once the user has chosen a file.

// Where the dialogs open: `LastUsedFolder`, or the program's folder before it is known.
QString dialogFolder(const AppContext& ctx);

// The folder of a file, with its final separator, as the settings file records it.
QString folderOfPath(const QString& fullPath);

// Records the folder of a chosen file for the next start, when it is not the folder the
// dialogs open in already (`LastUsedFolder` itself keeps its value).
UsageSaveResult recordChosenFolder(AppContext& ctx, const QString& fullPath);

// A file name typed without a suffix gets `suffix` (without its dot), as the dialogs'
// filters show only files that have it.
QString withDefaultSuffix(const QString& fullPath, const QString& suffix);

// Puts `bytes` in place of the file's content, whole or not at all: a failed write never
// leaves half a file where the old one was. The system's error text on failure.
std::optional<QString> writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace core
