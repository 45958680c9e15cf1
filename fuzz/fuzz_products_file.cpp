// The products-file reader on arbitrary file content and look-up keys.

#include <cstdint>

#include "core/product_catalogue.hpp"
#include "fuzz_support.hpp"

namespace {

// What a found product must give, worked out here on its own in 64 bits: SOLA-A and
// SOLT-A hold 64 bytes but address the four-byte blocks of their density; any other
// product holds its density and addresses its pages.
void checkGeometry(const core::Product& p, const core::MemoryGeometry& g) {
    using fuzzsupport::check;
    // A density that gives no memory, or no page, is refused, never found.
    check(p.Density >= 1 && p.PageSize >= 1);
    const std::int64_t densityBytes = std::int64_t{p.Density} * 1024 / 8;
    check(densityBytes * 8 <= INT32_MAX);
    check(g.BlockSizeBytes == 4);
    const bool small =
        p.Reference == QLatin1String("SOLA-A") || p.Reference == QLatin1String("SOLT-A");
    // A page larger than the memory it divides is refused too; the small tags' pages
    // divide nothing, their blocks being four bytes. Whatever is found has a block.
    check(small || p.PageSize <= densityBytes);
    check(g.AddressMask >= 0);
    if (small) {
        check(g.MemorySizeBytes == 64);
        check(g.AddressMask == densityBytes / 4 - 1);
    } else {
        check(g.MemorySizeBytes == densityBytes);
        check(g.AddressMask == densityBytes / p.PageSize - 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // Short keys let the fuzzer reach the found path; the others are the menu's.
    static const char* const keys[] = {"A",        "1",          "SOLA-A",  "SOLT-A",
                                       "VEL-C",    "ISO14443-B", "TOPAZ",   "ISO18092",
                                       "DUONX-AE", "ISO14443-A", "VELS-CX", ""};
    const QString key = QString::fromLatin1(keys[data[0] % (sizeof keys / sizeof *keys)]);
    const QByteArray content(reinterpret_cast<const char*>(data + 1),
                             static_cast<qsizetype>(size - 1));
    const core::ProductLookup r = core::findProduct(content, key);
    switch (r.outcome) {
        case core::ProductLookup::Outcome::Found:
            // A found product is one the program can work with, whatever the file held.
            fuzzsupport::check(r.product.Reference == key);
            checkGeometry(r.product, r.geometry);
            break;
        case core::ProductLookup::Outcome::Invalid:
            fuzzsupport::check(!r.problem.isEmpty());
            break;
        case core::ProductLookup::Outcome::NotFound:
            break;
    }
    (void)core::productKey(QString::fromLatin1(content));
    return 0;
}
