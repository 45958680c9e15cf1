#include <gtest/gtest.h>

#include <QFile>

#include "core/product_catalogue.hpp"

namespace {

QByteArray shippedProductsFile() {
    QFile f(QStringLiteral(TQ_DATA_DIR "/TQ73RN_products.ini"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

core::ProductLookup lookUp(const char* key) {
    return core::findProduct(shippedProductsFile(), QString::fromLatin1(key));
}

const char* const kIso15693[] = {"VEL-C",    "VEL-D",    "VELS-A",  "VELS-CX",
                                 "DUONX-AE", "DUONX-BE", "DUONX-C", "DUONX-DE"};
const char* const kSola[] = {"SOLA-A", "SOLT-A", "SOLA-B", "SOLA-C", "SOLX-A"};
const char* const kCards[] = {"ISO14443-B", "ISO14443-A", "TOPAZ", "ISO18092"};

TEST(ShippedProductsFile, EveryMenuKeyHasAUsableRecord) {
    ASSERT_FALSE(shippedProductsFile().isEmpty());
    std::vector<const char*> keys(std::begin(kIso15693), std::end(kIso15693));
    keys.insert(keys.end(), std::begin(kSola), std::end(kSola));
    keys.insert(keys.end(), std::begin(kCards), std::end(kCards));
    for (const char* key : keys) {
        const auto found = lookUp(key);
        ASSERT_EQ(found.outcome, core::ProductLookup::Outcome::Found)
            << key << ": " << found.problem.toStdString();
        EXPECT_EQ(found.product.Reference, QString::fromLatin1(key));
        EXPECT_GT(found.product.PageSize, 0) << key;
        EXPECT_GT(found.geometry.AddressMask, 0) << key;
        EXPECT_TRUE(core::productFamily(found.product.Reference).has_value()) << key;
    }
}

TEST(ShippedProductsFile, Iso15693AddressWidthFollowsTheDensity) {
    bool smallOnes = false;
    bool largeOnes = false;
    for (const char* key : kIso15693) {
        const core::Product p = lookUp(key).product;
        EXPECT_GE(p.Density, 2) << key;
        EXPECT_LE(p.Density, 64) << key;
        // Above 8 kbit the tag window sends two-byte block addresses; the multiple-block
        // reads must agree with it.
        EXPECT_EQ(p.NbAdressByteRF, p.Density > 8 ? 2 : 1) << key;
        smallOnes |= p.Density <= 8;
        largeOnes |= p.Density > 8;
    }
    EXPECT_TRUE(smallOnes);
    EXPECT_TRUE(largeOnes);
}

TEST(ShippedProductsFile, MemoryTagsAreOf4KbitAndTheSmallOnesHold64Bytes) {
    for (const char* key : kSola) {
        const auto found = lookUp(key);
        EXPECT_EQ(found.product.Density, 4) << key;
        const bool small = QByteArray(key) == "SOLA-A" || QByteArray(key) == "SOLT-A";
        EXPECT_EQ(found.geometry.MemorySizeBytes, small ? 64 : 512) << key;
    }
}

TEST(ShippedProductsFile, TopazIsAddressedByTheByte) {
    const auto topaz = lookUp("TOPAZ");
    EXPECT_EQ(topaz.product.PageSize, 1);
    EXPECT_EQ(topaz.geometry.AddressMask, topaz.geometry.MemorySizeBytes - 1);
}

}  // namespace
