#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "core/product.hpp"
#include "core/window_kind.hpp"

namespace core {

class AppContext;

inline constexpr char kProductsFileName[] = "TQ73RN_products.ini";
inline constexpr char kProductsFileMissingText[] = "File 'TQ73RN_products.ini' is missing";
inline constexpr char kProductsMessageTitle[] = "DEMO-TQ73RN-A";

// The memory layout the tag windows derive from the selected product.
struct MemoryGeometry {
    std::int32_t MemorySizeBytes = 0;
    std::uint8_t BlockSizeBytes = 0;
    std::int32_t AddressMask = 0;
};

// What a look-up in the products file gives: the product, nothing (not in the file,
// which is no error), or the reason the file cannot be used.
struct ProductLookup {
    enum class Outcome { Found, NotFound, Invalid };
    Outcome outcome = Outcome::NotFound;
    Product product;
    MemoryGeometry geometry;
    QString problem;  // for Invalid: what is wrong, in words for the user
};

// Looks `key` up in the content of a products file: one heading item, then records
// of seven items (reference, density, page size, address bytes, RF address bytes,
// test mode, address); a file whose first line is a whole record lacks its heading and
// is Invalid. The first record whose reference equals the key exactly wins;
// records after it are not read. The winning record is checked whole, geometry
// included, so a caller can act on a Found result without anything failing later.
ProductLookup findProduct(const QByteArray& content, const QString& key);

// The geometry of a product, or a problem text when the record cannot give one
// (a density or a page size of 0 or less, a density whose size does not fit 32 bits, a
// page larger than the memory it divides).
std::optional<MemoryGeometry> memoryGeometry(const Product& product, QString* problem = nullptr);

// The look-up key of a menu caption: the caption up to its first blank.
QString productKey(const QString& caption);

struct ProductFamily {
    WindowKind window;
    const char* designCaption;
};
// The window family a key belongs to; nullopt for a key no menu entry passes.
std::optional<ProductFamily> productFamily(const QString& key);

// Selects the product named by a product menu entry's caption: looks it up in the
// products file beside the program (read only when it is a regular file of a few MB),
// and when found replaces the selection and the
// geometry, closes the windows that could be working on another product and opens
// the product's window afresh. A call made while a selection is still loading its
// window is ignored.
void SelectProduct(AppContext& ctx, const QString& caption);

}  // namespace core
