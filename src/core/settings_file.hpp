#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace core {

class AppContext;

inline constexpr char kUsageFileName[] = "usageTQ73RNsoftware.dat";

// Where the settings file lives: the program's folder when the file can really be created
// there (or already stands there, in a folder the system calls writable), otherwise the
// user's configuration folder under "TQ73RN/" (an installed program's folder is often
// read-only). Judging the folder may create and remove the file once.
QString usageFilePath(const QString& programFolder);

struct UsageRecord {
    QString folder;
    QString colour;
};

// The first two items of a settings file: quoted items without their quotes (a doubled
// quote inside stands for one), unquoted ones up to the next comma or line end (CR LF,
// LF or CR). Nothing when the content ends before the second item. Any bytes are
// accepted; the text is single-byte (Latin-1), or UTF-8 behind a UTF-8 byte-order mark.
std::optional<UsageRecord> parseUsageRecord(QByteArrayView content);
// One line: the two items in double quotes (a quote inside written twice), a comma
// between them, CR LF. Single-byte text when every character fits a byte; otherwise
// UTF-8 behind a byte-order mark, so any folder name reads back as it was.
QByteArray usageRecordText(const QString& folder, const QString& colour);

// The record of the settings file of a program in `programFolder`; nothing when the
// file is missing, is not a regular file of a few kilobytes, cannot be read or is
// incomplete.
std::optional<UsageRecord> readUsageFile(const QString& programFolder);

// Sets LastUsedFolder and BackColorSetting from the settings file; a missing,
// unreadable or incomplete file leaves the colour as it is and makes the folder the
// program's folder.
void LoadUsageFile(AppContext& ctx);

class UsageSaveResult {
  public:
    UsageSaveResult() = default;
    static UsageSaveResult failure(QString why) {
        UsageSaveResult r;
        r.error_ = std::move(why);
        r.ok_ = false;
        return r;
    }
    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    // What went wrong, for callers that tell the user; empty on success.
    const QString& error() const { return error_; }

  private:
    bool ok_ = true;
    QString error_;
};

// Replaces the file's content by one record. The new content goes to a temporary file
// that replaces the old one only once it is completely written, so a failed write
// leaves the previous settings as they were. The values in memory are not changed.
UsageSaveResult SaveUsageFile(AppContext& ctx, const QString& folder, const QString& colour);

}  // namespace core
