#include "simboard/iso14443a_frame.hpp"

#include <gtest/gtest.h>

#include <string>

#include "simboard/hex.hpp"

namespace {

using namespace simboard;

TEST(CrcA, MatchesPublishedValues) {
    struct Case {
        std::string data;
        std::string crcLowFirst;
    };
    const Case cases[] = {
        {"313233343536373839", "05BF"},  // the catalogue check value BF05 of "123456789"
        {"0000", "A01E"},
        {"5000", "57CD"},  // HALT as every type A reader sends it
        {"3000", "02A8"},  // READ of page 0
    };
    for (const Case& c : cases) {
        Bytes bytes = *parseHex(c.data);
        appendCrcA(bytes);
        EXPECT_EQ(toHex(bytes), c.data + c.crcLowFirst) << c.data;
        EXPECT_TRUE(endsWithCrcA(bytes)) << c.data;
        bytes.back() ^= 0x01;
        EXPECT_FALSE(endsWithCrcA(bytes)) << c.data;
    }
}

TEST(AirFrame, AppliesTheTransmissionFlagByte) {
    struct Case {
        std::string frame;
        std::uint8_t flag;
        bool sent;
        std::string air;
        int lastBits;
        bool topaz;
    };
    const Case cases[] = {
        {"26", 0x07, true, "26", 7, false},
        {"50", 0x00, true, "50", 8, false},  // 0 significant bits stands for the whole byte
        {"9320", 0x08, true, "9320", 8, false},
        {"5000", 0x28, true, "500057CD", 8, false},
        {"78000000000000", 0xA8, true,
         "78000000000000"
         "8748",
         8, true},
        {"93", 0x09, false, "", 0, false},  // more than 8 bits in a byte
        {"26", 0x27, false, "", 0, false},  // a CRC cannot follow a partial byte
        {"", 0x28, false, "", 0, false},
    };
    for (const Case& c : cases) {
        TagRequest request;
        request.frame = *parseHex(c.frame);
        request.flagByte = c.flag;
        const auto air = airFrameOf(request);
        ASSERT_EQ(air.has_value(), c.sent) << c.frame;
        if (!air) continue;
        EXPECT_EQ(toHex(air->bytes), c.air);
        EXPECT_EQ(air->lastBits, c.lastBits);
        EXPECT_EQ(air->topaz, c.topaz);
    }
}

}  // namespace
