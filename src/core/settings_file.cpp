#include "core/settings_file.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "core/app_context.hpp"

namespace core {

namespace {

// More than any settings line; a file of garbage is not read whole.
constexpr qint64 kMaxRead = qint64{64} * 1024;

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
            const qsizetype close = indexOf('"');
            item = text_.sliced(pos_, close - pos_).toByteArray();
            pos_ = close < text_.size() ? close + 1 : close;
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

}  // namespace

QString usageFilePath(const QString& programFolder) {
    const QFileInfo folder(programFolder);
    const QString dir =
        (folder.isDir() && folder.isWritable()) ? folder.absoluteFilePath() : configFolder();
    return dir + QLatin1Char('/') + QLatin1String(kUsageFileName);
}

std::optional<UsageRecord> parseUsageRecord(QByteArrayView content) {
    ItemReader reader(content);
    const auto folder = reader.next();
    if (!folder) return std::nullopt;
    const auto colour = reader.next();
    if (!colour) return std::nullopt;
    return UsageRecord{QString::fromUtf8(*folder), QString::fromUtf8(*colour)};
}

QByteArray usageRecordText(const QString& folder, const QString& colour) {
    return '"' + folder.toUtf8() + "\",\"" + colour.toUtf8() + "\"\r\n";
}

void LoadUsageFile(AppContext& ctx) {
    QString folder = ctx.programFolder();
    QString colour = ctx.values.BackColorSetting;
    QFile file(usageFilePath(ctx.programFolder()));
    if (file.open(QIODevice::ReadOnly)) {
        if (const auto record = parseUsageRecord(file.read(kMaxRead))) {
            folder = record->folder;
            colour = record->colour;
        }
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return failed(file.errorString());
    const QByteArray line = usageRecordText(folder, colour);
    // The write is buffered: flush before committing, because a commit after a failed
    // flush has been seen to put the partly written file in place of the old one.
    if (file.write(line) != line.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failed(why);
    }
    if (!file.commit()) return failed(file.errorString());
    return {};
}

}  // namespace core
