#include "transceiver/frames.hpp"

#include <gtest/gtest.h>

namespace {

using namespace transceiver;

TEST(Frames, BuildersComposeCodeLengthAndData) {
    const struct {
        std::string built;
        const char* expected;
    } cases[] = {
        {transceiver::idnFrame(), "0100"},
        {transceiver::protocolSelectFrame(transceiver::kProtocolIso15693, "0D"), "0202010D"},
        {transceiver::protocolSelectFrame(transceiver::kProtocolIso14443A, "000180"),
         "020402000180"},
        {transceiver::protocolSelectFrame(transceiver::kProtocolFieldOff, "00"), "02020000"},
        {transceiver::selectRequest(transceiver::kProtocolIso14443A, "000180"), "02000180"},
        {transceiver::sendRecvFrame("260100"), "0403260100"},
        {transceiver::sendRecvFrame(""), "0400"},
        {transceiver::idleFrame("0804000400180000000000000000"),
         "070E0804000400180000000000000000"},
        {transceiver::rdRegFrame(transceiver::kRegWakeUpEvent), "0803620100"},
        {transceiver::wrRegFrame(transceiver::kRegAnalogIndex, false, transceiver::kAnalogArcB),
         "0903680001"},
        {transceiver::wrRegFrame(transceiver::kRegAnalogIndex, true, "01D1"), "0904680101D1"},
        {transceiver::baudRateFrame(0x0A), "0A010A"},
        {transceiver::echoFrame(), "55"},
        {transceiver::transceiverRequest(transceiver::echoFrame()), "0155"},
        {transceiver::transceiverRequest(transceiver::rdRegFrame(transceiver::kRegWakeUpEvent)),
         "010803620100"},
        {transceiver::iso15693AnticollisionRequest("26"), "02A00126"},
        {transceiver::withoutBlanks("01 0803620100"), "010803620100"},
        {transceiver::withoutBlanks(" 04 03 26 01 00 "), "0403260100"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);
}

TEST(Frames, LengthByteOfLongDataIsNeverCut) {
    EXPECT_EQ(transceiver::TransceiverFrame("04", std::string(2 * 255, 'A')).substr(0, 4), "04FF");
    EXPECT_EQ(transceiver::TransceiverFrame("04", std::string(2 * 256, 'A')).substr(0, 5), "04100");
}

// A half byte at the end of the data is sent as it stands but is no byte of the length:
// five digits count 2 and seven count 3 (neither rounded up nor rounded half to even).
TEST(Frames, TrailingHalfByteIsNotCountedInTheLength) {
    const struct {
        std::string built;
        const char* expected;
    } cases[] = {
        {transceiver::TransceiverFrame("04", "2"), "04002"},
        {transceiver::TransceiverFrame("04", "26010"), "040226010"},
        {transceiver::TransceiverFrame("04", "2601000"), "04032601000"},
        {transceiver::sendRecvFrame("26010"), "040226010"},
        {transceiver::sendRecvFrame("2601000"), "04032601000"},
        {transceiver::protocolSelectFrame(transceiver::kProtocolIso15693, "0"), "0201010"},
        {transceiver::protocolSelectFrame(transceiver::kProtocolIso14443A, "00018"), "02030200018"},
        {transceiver::idleFrame("080400040018000000000000000"), "070D080400040018000000000000000"},
        {transceiver::rdRegFrame("62", "01", "0"), "080262010"},
        {transceiver::wrRegFrame(transceiver::kRegAnalogIndex, true, "01D"), "0903680101D"},
        {transceiver::wrRegFrame(transceiver::kRegAnalogIndex, false, "0"), "090268000"},
        {transceiver::firmwareRequest("A0", "260"), "02A001260"},
        {transceiver::iso15693AnticollisionRequest("2"), "02A0002"},
        {transceiver::TransceiverFrame("04", std::string(2 * 255 + 1, 'A')).substr(0, 4), "04FF"},
        {transceiver::TransceiverFrame("04", std::string(2 * 256 + 1, 'A')).substr(0, 5), "04100"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);
}

TEST(Frames, EveryResultAndErrorLineHasItsExactText) {
    const struct {
        transceiver::Command command;
        const char* code;
        const char* line;
    } cases[] = {
        {transceiver::Command::Idn, "00", "00 : Result code = OK"},
        {transceiver::Command::ProtocolSelect, "00", "00 : Result code = OK"},
        {transceiver::Command::RdReg, "00", "00 : Result code = OK"},
        {transceiver::Command::BaudRate, "00", "00 : Result code = OK"},
        {transceiver::Command::WrReg, "00", "00 : Result code = Data was successfully sent"},
        {transceiver::Command::Idle, "00", "00 : Result code = Device exits from Idle mode"},
        {transceiver::Command::SendRecv, "80", "80 : Result code = OK"},
        {transceiver::Command::SendRecv, "90", "90 : Error code = "},
        {transceiver::Command::BaudRate, "55", "55 : Pseudo-response of 0x55"},
        {transceiver::Command::WrReg, "82", "82 : Error code = Invalid command lenght"},
        {transceiver::Command::SendRecv, "86", "86 : Error code = Communication error"},
        {transceiver::Command::SendRecv, "87", "87 : Error code = Frame wait time out or no TAG"},
        {transceiver::Command::SendRecv, "88", "88 : Error code = Invalid SOF"},
        {transceiver::Command::SendRecv, "89", "89 : Error code = Receive buffer overflow"},
        {transceiver::Command::SendRecv, "8A",
         "8A : Error code = framing error (start bit=0, stop bit=1)"},
        {transceiver::Command::SendRecv, "8B", "8B : Error code = EGT time out (for Iso14443-B)"},
        {transceiver::Command::SendRecv, "8C",
         "8C : Error code = Invalid lenght. Used in Felica, when field Lenght < 3"},
        {transceiver::Command::SendRecv, "8D",
         "8D : Error code = CRC error (used in Felica protocol)"},
        {transceiver::Command::SendRecv, "8E",
         "8E : Error code = Reception lost without EOF received"},
    };
    for (const auto& c : cases) {
        const auto line = transceiver::resultLine(c.command, c.code);
        ASSERT_TRUE(line.has_value()) << c.code;
        EXPECT_EQ(*line, c.line) << c.code;
    }
}

TEST(Frames, CodesWithoutTextOfTheirOwnHaveNoLine) {
    for (const char* code : {"83", "84", "85", "8F", "81", "FF", "", "8"}) {
        EXPECT_FALSE(transceiver::errorLine(code).has_value()) << code;
        EXPECT_FALSE(transceiver::resultLine(transceiver::Command::SendRecv, code).has_value())
            << code;
    }
    // "00" is not a result of SendRecv and "55" only answers BaudRate.
    EXPECT_FALSE(transceiver::resultLine(transceiver::Command::SendRecv, "00").has_value());
    EXPECT_FALSE(transceiver::resultLine(transceiver::Command::Idn, "55").has_value());
}

TEST(Frames, LinesBuiltFromTheAnswer) {
    EXPECT_EQ(transceiver::LengthLine("800F"), "0F : Lenght of Data (15)");
    EXPECT_EQ(transceiver::LengthLine("0000"), "00 : Lenght of Data (0)");
    EXPECT_EQ(transceiver::LengthLine("00FF"), "FF : Lenght of Data (255)");
    EXPECT_EQ(transceiver::noTagLengthLine("8700"), "00 : Lenght of Data = 0");
    EXPECT_EQ(transceiver::validBitsLine("90040A"), "04 : Valid bits (4)");
    EXPECT_EQ(transceiver::CodeLine("8300"), "83 : Error code ");
    // Short answers give short lines, never a read past the text.
    EXPECT_EQ(transceiver::LengthLine("8"), " : Lenght of Data (0)");
    EXPECT_EQ(transceiver::CodeLine(""), " : Error code ");
}

// Characters 3-4 of an answer are read like every hex field, as far as their hex digits
// go: a length field "G5" is worth 0 and "5G" is worth 5; lower case reads as upper.
TEST(Frames, LinesReadTheLengthFieldAsFarAsItsHexDigitsGo) {
    const struct {
        const char* answer;
        const char* length;
        const char* noTag;
        const char* validBits;
    } cases[] = {
        {"80G5", "G5 : Lenght of Data (0)", "G5 : Lenght of Data = 0", "G5 : Valid bits (0)"},
        {"805G", "5G : Lenght of Data (5)", "5G : Lenght of Data = 5", "5G : Valid bits (5)"},
        {"80 5", " 5 : Lenght of Data (0)", " 5 : Lenght of Data = 0", " 5 : Valid bits (0)"},
        {"80ff01", "ff : Lenght of Data (255)", "ff : Lenght of Data = 255",
         "ff : Valid bits (255)"},
        {"870A", "0A : Lenght of Data (10)", "0A : Lenght of Data = 10", "0A : Valid bits (10)"},
        {"803", "3 : Lenght of Data (3)", "3 : Lenght of Data = 3", "3 : Valid bits (3)"},
        {"80", " : Lenght of Data (0)", " : Lenght of Data = 0", " : Valid bits (0)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::LengthLine(c.answer), c.length) << c.answer;
        EXPECT_EQ(transceiver::noTagLengthLine(c.answer), c.noTag) << c.answer;
        EXPECT_EQ(transceiver::validBitsLine(c.answer), c.validBits) << c.answer;
    }
}

TEST(Frames, ShortFrameReadsAckNakOrNeither) {
    EXPECT_EQ(transceiver::readShortFrame("90040A"), transceiver::ShortFrame::Ack);
    EXPECT_EQ(transceiver::readShortFrame("900401"), transceiver::ShortFrame::Nak);
    EXPECT_EQ(transceiver::readShortFrame("900404"), transceiver::ShortFrame::Nak);
    EXPECT_EQ(transceiver::readShortFrame("900400"), transceiver::ShortFrame::Other);
    EXPECT_EQ(transceiver::readShortFrame("9004"), transceiver::ShortFrame::Other);
    EXPECT_EQ(transceiver::readShortFrame("90040"), transceiver::ShortFrame::Other);
}

TEST(Frames, ParserSplitsAnswersAndSaysWhetherTheyAreWellFormed) {
    const struct {
        const char* answer;
        const char* code;
        int length;
        std::vector<std::uint8_t> data;
        bool wellFormed;
    } cases[] = {
        {"", "", -1, {}, false},
        {"8", "8", -1, {}, false},
        {"80", "80", -1, {}, false},
        {"800", "80", -1, {}, false},
        {"8700", "87", 0, {}, true},
        {"80030102", "80", 3, {0x01, 0x02}, false},          // fewer bytes than announced
        {"8002010203", "80", 2, {0x01, 0x02, 0x03}, false},  // more bytes than announced
        {"8002010", "80", 2, {0x01}, false},                 // odd length
        {"80020A0b", "80", 2, {0x0A, 0x0B}, true},           // lower case is hex too
        {"8002ZZ00", "80", 2, {}, false},
        {"80G2", "80", -1, {}, false},
        {"000F54513733524E2D53494D2D32410000",
         "00",
         15,
         {0x54, 0x51, 0x37, 0x33, 0x52, 0x4E, 0x2D, 0x53, 0x49, 0x4D, 0x2D, 0x32, 0x41, 0x00, 0x00},
         true},
        {"90040A", "90", 4, {0x0A}, true},  // the length counts bits
        {"9004", "90", 4, {}, false},
    };
    for (const auto& c : cases) {
        const transceiver::ParsedAnswer p = transceiver::parseAnswer(c.answer);
        EXPECT_EQ(p.code, c.code) << c.answer;
        EXPECT_EQ(p.length, c.length) << c.answer;
        EXPECT_EQ(p.data, c.data) << c.answer;
        EXPECT_EQ(p.wellFormed, c.wellFormed) << c.answer;
    }
}

TEST(Frames, ParserStopsAtTheEndOfAFullBuffer) {
    // 256 characters and no NUL: the most a buffer can hand over.
    std::string full = "80FF" + std::string(252, 'A');
    const transceiver::ParsedAnswer p = transceiver::parseAnswer(full);
    EXPECT_EQ(p.length, 255);
    EXPECT_EQ(p.data.size(), 126U);
    EXPECT_FALSE(p.wellFormed);
}

TEST(Frames, MidNeverLeavesTheText) {
    EXPECT_EQ(transceiver::mid("800F01", 5, 2), "01");
    EXPECT_EQ(transceiver::mid("800F01", 5, 10), "01");
    EXPECT_EQ(transceiver::mid("800F01", 7, 2), "");
    EXPECT_EQ(transceiver::mid("800F01", 0, 2), "");
    EXPECT_EQ(transceiver::mid("800F01", 1, -1), "");
    EXPECT_EQ(transceiver::mid("800F01", 1, 0), "");
    EXPECT_EQ(transceiver::mid("800F01", 6, 1), "1");
    EXPECT_EQ(transceiver::mid("800F01", 1, 6), "800F01");
    EXPECT_EQ(transceiver::mid("800F01", -3, 5), "");
    EXPECT_EQ(transceiver::mid("", 1, 2), "");
}

}  // namespace
