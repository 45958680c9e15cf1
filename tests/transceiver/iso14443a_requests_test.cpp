#include <gtest/gtest.h>

#include "transceiver/iso14443a_answers.hpp"

namespace {

using namespace transceiver;

TEST(Iso14443aRequests, TagFramesEndWithTheirTransmissionFlag) {
    const std::string sixteenBytes = "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 ";
    const struct {
        std::string built;
        const char* expected;
    } cases[] = {
        // HLTA: 50 00 and its CRC.
        {haltRequest(), "500028"},
        // What the user typed goes in as it stands, nothing at all included.
        {anticollisionRequest(1, ""), "9308"},
        {selectRequest(1, ""), "937028"},
        {readRequest(0x04), "300428"},
        {writeRequest(0x05, "11 22 33 44 "), "A2051122334428"},
        {compatibilityWriteRequest(0x04), "A00428"},
        {compatibilityWriteDataRequest(sixteenBytes), "0102030405060708090A0B0C0D0E0F1028"},
        {topazRidRequest(), "78000000000000A8"},
        {topazReadRequest(0x0A, "11223344"), "010A0011223344A8"},
        {topazReadRequest(0x0A, ""), "010A00A8"},
        {topazWriteRequest(TopazWrite::NoErase, 0x08, "5A ", "11223344"), "1A085A11223344A8"},
        {topazWriteRequest(TopazWrite::Erase, 0x08, "5A ", "11223344"), "53085A11223344A8"},
        {topazWriteRequest(TopazWrite::Erase, 0x7F, "00 ", ""), "537F00A8"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);
}

}  // namespace
