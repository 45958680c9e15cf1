// The products-file reader on arbitrary file content and look-up keys.

#include <cstdint>
#include <cstdlib>

#include "core/product_catalogue.hpp"

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
        case core::ProductLookup::Outcome::Found: {
            // A found product is one the program can work with, whatever the file held.
            const core::MemoryGeometry& g = r.geometry;
            if (r.product.Reference != key || r.product.PageSize <= 0 || g.MemorySizeBytes < 0 ||
                g.BlockSizeBytes != 4 ||
                g.AddressMask != g.MemorySizeBytes / r.product.PageSize - 1) {
                std::abort();
            }
            break;
        }
        case core::ProductLookup::Outcome::Invalid:
            if (r.problem.isEmpty()) std::abort();
            break;
        case core::ProductLookup::Outcome::NotFound:
            break;
    }
    (void)core::productKey(QString::fromLatin1(content));
    return 0;
}
