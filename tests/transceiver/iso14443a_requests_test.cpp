#include "transceiver/iso14443a_requests.hpp"

#include <gtest/gtest.h>

namespace {

using namespace transceiver;

TEST(Iso14443aRequests, TagFramesEndWithTheirTransmissionFlag) {
    const std::string sixteenBytes = "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 ";
    const struct {
        std::string built;
        const char* expected;
    } cases[] = {
        {reqaRequest(), "2607"},
        {wupaRequest(), "5207"},
        // The byte 50 and the flag 00: not the two bytes 50 00 with a CRC.
        {haltRequest(), "5000"},
        {anticollisionRequest(1, "20"), "932008"},
        {anticollisionRequest(2, "20"), "952008"},
        {anticollisionRequest(3, "20"), "972008"},
        // What the user typed goes in as it stands, nothing at all included.
        {anticollisionRequest(1, ""), "9308"},
        {cascadeSelectRequest(1, ""), "937028"},
        {cascadeSelectRequest(1, "8804A1B29F"), "93708804A1B29F28"},
        {cascadeSelectRequest(3, "F6071829C0"), "9770F6071829C028"},
        {readRequest(0x04), "300428"},
        {writeRequest(0x05, "11 22 33 44 "), "A2051122334428"},
        {compatibilityWriteRequest(0x04), "A00428"},
        {compatibilityWriteDataRequest(sixteenBytes), "0102030405060708090A0B0C0D0E0F1028"},
        {topazReqaRequest(), "2607"},
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
