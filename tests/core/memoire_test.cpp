#include "core/memoire.hpp"

#include <gtest/gtest.h>

#include "core/program_values.hpp"

namespace {

using core::Memoire;

TEST(Memoire, KeepsItemsInOrderCountedFromOne) {
    Memoire lines;
    lines.Clear();  // on an empty list: nothing happens
    EXPECT_EQ(lines.Size(), 0);

    lines.AddItem(QStringLiteral("00 01 02 03 "));
    lines.AddItem(QStringLiteral("04 05 06 07 "));
    lines.AddItem(QStringLiteral("no Tag answer"));
    ASSERT_EQ(lines.Size(), 3);
    EXPECT_EQ(lines.Contenu().first(), QStringLiteral("00 01 02 03 "));
    EXPECT_EQ(lines.item(1), QStringLiteral("00 01 02 03 "));
    EXPECT_EQ(lines.item(3), QStringLiteral("no Tag answer"));
    // Outside the list: nothing, never a fault (the read view asks from its top line on).
    EXPECT_EQ(lines.item(0), QString());
    EXPECT_EQ(lines.item(4), QString());

    lines.Clear();
    EXPECT_EQ(lines.Size(), 0);
    EXPECT_TRUE(lines.Contenu().isEmpty());
}

TEST(ProgramValues, StartWithNoProductAndNoGeometry) {
    const core::ProgramValues v;
    EXPECT_EQ(v.SelectedProduct, core::Product{});
    EXPECT_EQ(v.SelectedProduct.Density, 0);
    EXPECT_TRUE(v.SelectedProduct.Reference.isEmpty());
    EXPECT_EQ(v.MemorySizeBytes, 0);
    EXPECT_EQ(v.BlockSizeBytes, 0);
    EXPECT_EQ(v.AddressMask, 0);
    EXPECT_EQ(v.ReadViewLines.Size(), 0);
    EXPECT_EQ(v.DllRevisionNumber, 0);
    EXPECT_TRUE(v.LastUsedFolder.isEmpty());
    EXPECT_TRUE(v.BackColorSetting.isEmpty());
    EXPECT_TRUE(v.TransponderUID.isEmpty());
    EXPECT_FALSE(v.StopRequested);
}

}  // namespace
