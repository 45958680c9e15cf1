#include "core/product_catalogue.hpp"

#include <QDir>
#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "core/app_context.hpp"
#include "core/small_file.hpp"

namespace core {

namespace {

constexpr int kRecordItems = 7;
const std::array<const char*, kRecordItems> kFieldNames = {
    "Reference", "Density", "PageSize", "NbAdressByte", "NbAdressByteRF", "TestMode", "Address"};
// The items of a record that hold numbers.
constexpr std::array<int, 5> kNumberFields = {1, 2, 3, 4, 6};

// Far more than the file the program ships (under a kilobyte) will ever grow to.
constexpr qint64 kMaxFileBytes = qint64{4} * 1024 * 1024;

QString fileProblem(const QString& what) {
    return QStringLiteral("File '%1': %2").arg(QLatin1String(kProductsFileName), what);
}

// Every message fills its values in one arg() call: a second call would fill again the
// "%2" of an item the first one put in, and the message would quote the item wrongly.

// An item of the file as a message quotes it: a short piece, printable characters only,
// so that a huge or binary item neither freezes the message box nor fills the screen.
QString piece(const QString& item) {
    constexpr qsizetype kMaxShown = 40;
    const QString ellipsis = QStringLiteral("...");
    const bool cut = item.size() > kMaxShown;
    QString shown = cut ? item.left(kMaxShown - ellipsis.size()) : item;
    for (QChar& c : shown) {
        if (!c.isPrint()) c = QLatin1Char('?');
    }
    return cut ? shown + ellipsis : shown;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct Items {
    std::vector<QString> items;
    std::size_t onFirstLine = 0;  // how many of them stand on the first line that has any
};

// The items of the file in order. Items are separated by commas or line ends; a
// quoted item runs to its closing quote (anything between that quote and the next
// comma is dropped); an unquoted item loses its surrounding blanks. Blank lines hold
// no item.
Items splitItems(const QByteArray& content) {
    Items result;
    std::vector<QString>& items = result.items;
    const qsizetype n = content.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype lineEnd = i;
        while (lineEnd < n && content[lineEnd] != '\n' && content[lineEnd] != '\r') ++lineEnd;
        const QByteArray line = content.mid(i, lineEnd - i);
        i = lineEnd;
        if (i < n && content[i] == '\r') ++i;
        if (i < n && content[i] == '\n' && (i == lineEnd || content[i - 1] == '\r')) ++i;

        if (line.trimmed().isEmpty()) continue;
        qsizetype p = 0;
        const qsizetype len = line.size();
        for (;;) {
            while (p < len && isBlank(line[p])) ++p;
            QByteArray item;
            if (p < len && line[p] == '"') {
                const qsizetype close = line.indexOf('"', p + 1);
                const qsizetype stop = close < 0 ? len : close;
                item = line.mid(p + 1, stop - p - 1);
                p = close < 0 ? len : close + 1;
                while (p < len && line[p] != ',') ++p;
            } else {
                const qsizetype comma = line.indexOf(',', p);
                const qsizetype stop = comma < 0 ? len : comma;
                item = line.mid(p, stop - p).trimmed();
                p = stop;
            }
            items.push_back(QString::fromLatin1(item));
            if (p >= len) break;
            ++p;  // the comma; a comma at the end of the line leaves one empty item
        }
        if (result.onFirstLine == 0) result.onFirstLine = items.size();
    }
    return result;
}

// A decimal whole number that fits 32 bits; an empty item reads as 0.
std::optional<std::int32_t> parseNumber(const QString& text) {
    if (text.isEmpty()) return 0;
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(v);
}

// The first line holds a whole record (seven items, numbers where numbers belong): the
// file starts without its line of headings.
bool startsWithRecord(const Items& split) {
    if (split.onFirstLine != kRecordItems) return false;
    return std::all_of(kNumberFields.begin(), kNumberFields.end(),
                       [&](int f) { return parseNumber(split.items[f]).has_value(); });
}

}  // namespace

QString productKey(const QString& caption) {
    const qsizetype blank = caption.indexOf(QLatin1Char(' '));
    return blank < 0 ? caption : caption.left(blank);
}

std::optional<MemoryGeometry> memoryGeometry(const Product& p, QString* problem) {
    auto fail = [&](const QString& what) -> std::optional<MemoryGeometry> {
        if (problem) *problem = fileProblem(what);
        return std::nullopt;
    };
    // No memory means no block: the address mask would be -1, which masks nothing.
    if (p.Density <= 0) {
        return fail(QStringLiteral("the Density of \"%1\" is %2 kbit; it must be 1 or more.")
                        .arg(piece(p.Reference), QString::number(p.Density)));
    }
    const qint64 bits = static_cast<qint64>(p.Density) * 1024;
    if (bits > std::numeric_limits<std::int32_t>::max()) {
        return fail(QStringLiteral("the Density of \"%1\" (%2 kbit) is not a memory size "
                                   "the program can use.")
                        .arg(piece(p.Reference), QString::number(p.Density)));
    }
    const auto densityBytes = static_cast<std::int32_t>(bits / 8);
    if (p.PageSize <= 0) {
        return fail(QStringLiteral("the PageSize of \"%1\" is %2; it must be 1 or more.")
                        .arg(piece(p.Reference), QString::number(p.PageSize)));
    }
    MemoryGeometry g;
    g.BlockSizeBytes = 4;
    if (p.Reference == QLatin1String("SOLA-A") || p.Reference == QLatin1String("SOLT-A")) {
        // Their 64 bytes set the width of the address boxes, but the blocks they address
        // are the four-byte blocks of their density: a mask of 64 bytes would refuse
        // "7F" of a 4-kbit record (or, masking, turn it into block 0F).
        g.MemorySizeBytes = 64;
        g.AddressMask = densityBytes / g.BlockSizeBytes - 1;
    } else {
        // A page larger than the whole memory leaves not one block: the highest block
        // address would be -1, shown as FF in the address boxes and read as block 0.
        if (p.PageSize > densityBytes) {
            return fail(QStringLiteral("the PageSize of \"%1\" is %2 bytes, more than the %3 "
                                       "bytes of its Density of %4 kbit; it must be %3 or less.")
                            .arg(piece(p.Reference), QString::number(p.PageSize),
                                 QString::number(densityBytes), QString::number(p.Density)));
        }
        g.MemorySizeBytes = densityBytes;
        g.AddressMask = g.MemorySizeBytes / p.PageSize - 1;
    }
    return g;
}

ProductLookup findProduct(const QByteArray& content, const QString& key) {
    ProductLookup result;
    auto invalid = [&](const QString& problem) {
        result.outcome = ProductLookup::Outcome::Invalid;
        result.problem = problem;
        return result;
    };
    const Items split = splitItems(content);
    const std::vector<QString>& items = split.items;
    if (items.empty()) return invalid(fileProblem(QStringLiteral("the file is empty.")));
    if (startsWithRecord(split)) {
        // Read as it stands, every record would be shifted by one item.
        return invalid(
            fileProblem(QStringLiteral("the heading line is missing: the first line is already the "
                                       "record of \"%1\".")
                            .arg(piece(items[0]))));
    }

    const std::size_t count = items.size();
    for (std::size_t at = 1; at < count; at += kRecordItems) {
        const QString& reference = items[at];
        const std::size_t present = std::min<std::size_t>(kRecordItems, count - at);
        if (present < kRecordItems) {
            return invalid(
                fileProblem(QStringLiteral("the last record (\"%1\") has %2 of its %3 items.")
                                .arg(piece(reference), QString::number(present),
                                     QString::number(kRecordItems))));
        }
        std::array<std::int32_t, kRecordItems> numbers{};
        for (int f : kNumberFields) {
            const auto v = parseNumber(items[at + f]);
            if (!v) {
                return invalid(fileProblem(
                    QStringLiteral("the %1 of \"%2\" is \"%3\", which is not a whole number.")
                        .arg(QLatin1String(kFieldNames[f]), piece(reference),
                             piece(items[at + f]))));
            }
            numbers[f] = *v;
        }
        if (reference != key) continue;

        Product p;
        p.Reference = reference;
        p.Density = numbers[1];
        p.PageSize = numbers[2];
        p.NbAdressByte = numbers[3];
        p.NbAdressByteRF = numbers[4];
        p.TestMode = items[at + 5];
        p.Address = numbers[6];
        QString problem;
        const auto geometry = memoryGeometry(p, &problem);
        if (!geometry) return invalid(problem);
        result.outcome = ProductLookup::Outcome::Found;
        result.product = p;
        result.geometry = *geometry;
        return result;
    }
    return result;
}

std::optional<ProductFamily> productFamily(const QString& key) {
    struct Row {
        const char* key;
        ProductFamily family;
    };
    static const ProductFamily iso15693{WindowKind::Iso15693, "   ISO15693  user interface  "};
    static const ProductFamily iso14443b{WindowKind::Iso14443B, "   ISO14443-B  user interface  "};
    static const ProductFamily iso14443a{WindowKind::Iso14443A, "   ISO14443-A  user interface  "};
    static const ProductFamily iso18092{WindowKind::Iso18092, "   ISO18092  user interface  "};
    static const Row rows[] = {
        {"VEL-C", iso15693},   {"VEL-D", iso15693},    {"VELS-A", iso15693},
        {"VELS-CX", iso15693}, {"DUONX-AE", iso15693}, {"DUONX-BE", iso15693},
        {"DUONX-C", iso15693}, {"DUONX-DE", iso15693}, {"ISO14443-B", iso14443b},
        {"SOLA-A", iso14443b}, {"SOLT-A", iso14443b},  {"SOLA-B", iso14443b},
        {"SOLA-C", iso14443b}, {"SOLX-A", iso14443b},  {"ISO14443-A", iso14443a},
        {"TOPAZ", iso14443a},  {"ISO18092", iso18092},
    };
    for (const Row& r : rows) {
        if (key == QLatin1String(r.key)) return r.family;
    }
    return std::nullopt;
}

void SelectProduct(AppContext& ctx, const QString& caption) {
    // The family window's load pumps events; a second menu choice arriving there
    // would close the window that is still loading.
    static bool selecting = false;
    if (selecting) return;
    struct Guard {
        Guard() { selecting = true; }
        ~Guard() { selecting = false; }
    } guard;

    const QString key = productKey(caption);
    const SmallFileRead file = readSmallFile(
        QDir(ctx.programFolder()).filePath(QLatin1String(kProductsFileName)), kMaxFileBytes);
    if (file.outcome != SmallFileRead::Outcome::Read) {
        // Only a file that is not there is "missing": one that is there but cannot be
        // read would send the user looking for a file that exists.
        ctx.ui().messageBox(
            file.outcome == SmallFileRead::Outcome::Missing
                ? QString::fromLatin1(kProductsFileMissingText)
                : fileProblem(QStringLiteral("the file is there but cannot be read.")),
            QLatin1String(kProductsMessageTitle), MsgIcon::Critical, MsgButtons::Ok);
        return;
    }

    // Everything is known to be usable before the first window closes.
    const ProductLookup found = findProduct(file.content, key);
    if (found.outcome == ProductLookup::Outcome::Invalid) {
        ctx.ui().messageBox(found.problem, QLatin1String(kProductsMessageTitle), MsgIcon::Critical,
                            MsgButtons::Ok);
        return;
    }
    if (found.outcome == ProductLookup::Outcome::NotFound) return;

    ProgramValues& v = ctx.values;
    v.SelectedProduct = found.product;
    WindowRegistry& windows = ctx.windows();
    for (WindowKind k : {WindowKind::StartupDetection, WindowKind::Iso14443A, WindowKind::Iso14443B,
                         WindowKind::Iso18092, WindowKind::Iso15693, WindowKind::Script,
                         WindowKind::TagDetection, WindowKind::AutoDetect}) {
        windows.close(k);
    }
    v.MemorySizeBytes = found.geometry.MemorySizeBytes;
    v.BlockSizeBytes = found.geometry.BlockSizeBytes;
    v.AddressMask = found.geometry.AddressMask;
    windows.close(WindowKind::About);

    const auto family = productFamily(key);
    if (!family) return;
    windows.close(family->window);
    ToolWindow* w = windows.show(family->window);
    if (w && !w->isClosing()) {
        w->setWindowTitle(QLatin1String(family->designCaption) + v.SelectedProduct.Reference);
    }
}

}  // namespace core
