#pragma once

#include <QString>
#include <cstdint>

namespace core {

// One record of the products file.
struct Product {
    QString Reference;
    std::int32_t Density = 0;   // kbit
    std::int32_t PageSize = 0;  // bytes per block
    std::int32_t NbAdressByte = 0;
    std::int32_t NbAdressByteRF = 0;
    QString TestMode;
    std::int32_t Address = 0;

    bool operator==(const Product&) const = default;
};

}  // namespace core
