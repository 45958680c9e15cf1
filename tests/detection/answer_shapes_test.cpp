#include "detection/answer_shapes.hpp"

#include <gtest/gtest.h>

#include "transceiver/felica_answers.hpp"

namespace {

// Each answer a probe may meet, and the one shape it has (if any): a tag answering a
// probe of another protocol never passes for that protocol's tag.
TEST(AnswerShapes, EachAnswerHasOnlyItsOwnShape) {
    enum Shape { None, Inventory, Atqa, UidLevel, Atqb, ChipId, Polling };
    const struct {
        const char* what;
        const char* answer;
        Shape shape;
    } cases[] = {
        {"INVENTORY", "800D000008070605040302E044FE00", Inventory},
        {"INVENTORY, response flags 01", "800D010008070605040302E044FE00", None},
        {"INVENTORY, length byte one more", "800E000008070605040302E044FE00", None},
        {"INVENTORY, cut", "800D000008070605040302E0", None},
        {"ATQA", "80054400080000", Atqa},
        // An ISO15693 tag's error answer has an ATQA's size: the cascade after it decides.
        {"ISO15693 error 01", "80050101160700", Atqa},
        {"UID level", "80088804A1B29F080000", UidLevel},
        {"UID level, BCC of other bytes", "80088804A1B29E080000", None},
        {"UID level of a collision", "80088CADB6F7F9880103", None},
        {"extended ATQB", "801050A1B2C3D40000000000818100BCFA00", Atqb},
        {"ATQB", "800F50A1B2C3D400000000718500ABCD00", Atqb},
        {"ATQB, first byte 51", "801051A1B2C3D40000000000818100BCFA00", None},
        {"chip ID", "80043C970B00", ChipId},
        {"FeliCa polling", "8015120101020304050607081112131415161718ABCD00", Polling},
        {"no tag", "8700", None},
        {"short frame", "9007", None},
        {"nothing", "", None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(detection::isInventoryAnswer(c.answer), c.shape == Inventory) << c.what;
        EXPECT_EQ(detection::isAtqaAnswer(c.answer), c.shape == Atqa) << c.what;
        EXPECT_EQ(detection::isUidLevelAnswer(c.answer), c.shape == UidLevel) << c.what;
        EXPECT_EQ(detection::isAtqbAnswer(c.answer), c.shape == Atqb) << c.what;
        EXPECT_EQ(detection::isChipIdAnswer(c.answer), c.shape == ChipId) << c.what;
        EXPECT_EQ(transceiver::decodeFelicaPolling(c.answer).shaped, c.shape == Polling) << c.what;
    }
}

TEST(AnswerShapes, CollisionVerdicts) {
    EXPECT_EQ(
        detection::iso14443aCollisionVerdict(transceiver::responseStatusOf("80088CADB6F7F9880103")),
        "  88 -> collision at byte 1 bit 3 : several tags answered, no UID shown");
    EXPECT_EQ(
        detection::iso14443aCollisionVerdict(transceiver::responseStatusOf("80088804A1B29F200000")),
        "  20 -> collision (CRC error) : several tags answered, no UID shown");
    EXPECT_EQ(detection::felicaCollisionVerdict("20"),
              "  20 -> collision : several tags answered, no IDm shown");
}

}  // namespace
