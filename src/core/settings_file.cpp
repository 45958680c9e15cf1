#include "core/settings_file.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

#include "core/app_context.hpp"
#include "core/file_dialogs.hpp"
#include "core/single_byte_text.hpp"
#include "core/small_file.hpp"

namespace core {

namespace {

// More than any settings line; a larger file is not the program's.
constexpr qint64 kMaxRead = qint64{64} * 1024;

QByteArray quoted(QByteArray item) {
    // A double quote inside an item is written twice, so the item cannot end there.
    item.replace('"', "\"\"");
    return '"' + item + '"';
}

QString configFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/TQ73RN");
}

class ItemReader {
  public:
    explicit ItemReader(QByteArrayView text) : text_(text) {}

    // The next item, or nothing at the end of the text.
    std::optional<QByteArray> next() {
        skipBlanks();
        if (pos_ >= text_.size()) return std::nullopt;
        QByteArray item;
        if (text_[pos_] == '"') {
            ++pos_;
            for (;;) {
                const qsizetype close = indexOf('"');
                item += text_.sliced(pos_, close - pos_);
                pos_ = close < text_.size() ? close + 1 : close;
                if (pos_ >= text_.size() || text_[pos_] != '"') break;
                item += '"';  // a doubled quote is one quote of the item
                ++pos_;
            }
            // Whatever stands between the closing quote and the delimiter is dropped.
            pos_ = delimiterFrom(pos_);
        } else {
            const qsizetype end = delimiterFrom(pos_);
            item = text_.sliced(pos_, end - pos_).toByteArray().trimmed();
            pos_ = end;
        }
        consumeDelimiter();
        return item;
    }

  private:
    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }
    qsizetype indexOf(char c) const {
        qsizetype i = pos_;
        while (i < text_.size() && text_[i] != c) ++i;
        return i;
    }
    qsizetype delimiterFrom(qsizetype i) const {
        while (i < text_.size() && text_[i] != ',' && text_[i] != '\r' && text_[i] != '\n') ++i;
        return i;
    }
    void consumeDelimiter() {
        if (pos_ >= text_.size()) return;
        const char c = text_[pos_];
        if (c == ',' || c == '\n') {
            ++pos_;
        } else if (c == '\r') {
            ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        }
    }

    QByteArrayView text_;
    qsizetype pos_ = 0;
};

// Whether the settings file could be created at `path`, judged by creating it (and
// removing it at once): the permission bits say nothing for root, and a folder refuses a
// file for reasons they do not show (a read-only mount, a path too long for the name).
bool canCreate(const QString& path) {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
    probe.close();
    probe.remove();
    return true;
}

}  // namespace

QString usageFilePath(const QString& programFolder) {
    const QFileInfo folder(programFolder);
    if (folder.isDir()) {
        const QString inProgramFolder =
            folder.absoluteFilePath() + QLatin1Char('/') + QLatin1String(kUsageFileName);
        // A file that stands there already is judged as it always was, so that settings
        // saved beside the program are still read there.
        const QFileInfo file(inProgramFolder);
        const bool standing = file.exists() || file.isSymLink();
        const bool here = standing ? folder.isWritable() : canCreate(inProgramFolder);
        if (here) return inProgramFolder;
    }
    return configFolder() + QLatin1Char('/') + QLatin1String(kUsageFileName);
}

std::optional<UsageRecord> parseUsageRecord(QByteArrayView content) {
    const bool utf8 = content.startsWith(QByteArrayView(kUtf8Mark, kUtf8MarkSize));
    ItemReader reader(utf8 ? content.sliced(kUtf8MarkSize) : content);
    const auto folder = reader.next();
    if (!folder) return std::nullopt;
    const auto colour = reader.next();
    if (!colour) return std::nullopt;
    if (utf8) {
        // Each item is decoded whole: a plain UTF-8 decoding would drop a byte-order mark
        // that begins an item, and a name that begins with one would come back without it.
        const auto decoded = [](const QByteArray& item) {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
            return QString(decoder(item));
        };
        return UsageRecord{decoded(*folder), decoded(*colour)};
    }
    return UsageRecord{QString::fromLatin1(*folder), QString::fromLatin1(*colour)};
}

// The file is single-byte text, or UTF-8 behind the mark when a name needs it, so no
// folder is ever recorded with a "?" in place of a character; the mark cannot begin a
// single-byte record, which always starts with a double quote.
QByteArray usageRecordText(const QString& folder, const QString& colour) {
    const bool oneByte = fitsSingleByte(folder) && fitsSingleByte(colour);
    const auto encoded = [oneByte](const QString& item) {
        return quoted(oneByte ? item.toLatin1() : item.toUtf8());
    };
    return (oneByte ? QByteArray() : QByteArray(kUtf8Mark, kUtf8MarkSize)) + encoded(folder) + ',' +
           encoded(colour) + "\r\n";
}

std::optional<UsageRecord> readUsageFile(const QString& programFolder) {
    const SmallFileRead file = readSmallFile(usageFilePath(programFolder), kMaxRead);
    if (file.outcome != SmallFileRead::Outcome::Read) return std::nullopt;
    return parseUsageRecord(file.content);
}

void LoadUsageFile(AppContext& ctx) {
    QString folder = ctx.programFolder();
    QString colour = ctx.values.BackColorSetting;
    if (const auto record = readUsageFile(ctx.programFolder())) {
        folder = record->folder;
        colour = record->colour;
    }
    ctx.values.LastUsedFolder = folder;
    ctx.values.BackColorSetting = colour;
}

UsageSaveResult SaveUsageFile(AppContext& ctx, const QString& folder, const QString& colour) {
    const QString path = usageFilePath(ctx.programFolder());
    const auto failed = [&path](const QString& why) {
        return UsageSaveResult::failure(
            QStringLiteral("The settings file %1 could not be written: %2")
                .arg(QDir::toNativeSeparators(path), why));
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return failed(QStringLiteral("its folder cannot be created"));
    }
    if (const auto why = writeWholeFile(path, usageRecordText(folder, colour))) {
        return failed(*why);
    }
    return {};
}

}  // namespace core
