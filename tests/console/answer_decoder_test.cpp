#include "console/answer_decoder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using console::ExplainLines;

namespace {

// Lines as text, "-" for a hidden box.
std::vector<std::string> shown(const ExplainLines& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(l ? *l : "-");
    return out;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(AnswerDecoder, GenericPanelExplainsEachCommandsCodes) {
    struct Case {
        const char* command;
        std::string answer;
        Lines lines;
    };
    const std::vector<Case> cases = {
        // IDN: the characters of every data byte but the last two.
        {"01",
         "000F54513733524E2D53494D2D32410102",
         {"00 : Result code = OK", "0F : Lenght of Data (15)", "TQ73RN-SIM-2A"}},
        {"01", "8200", {}},
        // SendRecv frames: tag answer, CRC, protocol result.
        {"04",
         "80051122AABB00",
         {"80 : Result code = OK", "05 : Lenght of Data (5)", "11 22 : Tag answer", "AA BB : CRC",
          "00 : Protocol result"}},
        {"04",
         "8003AABB00",
         {"80 : Result code = OK", "03 : Lenght of Data (3)", ": Tag answer", "AA BB : CRC",
          "00 : Protocol result"}},
        // Too short for a CRC and a result: the missing bytes are left out.
        {"04",
         "800100",
         {"80 : Result code = OK", "01 : Lenght of Data (1)", ": Tag answer", "  : CRC",
          "00 : Protocol result"}},
        {"04",
         "8000",
         {"80 : Result code = OK", "00 : Lenght of Data (0)", ": Tag answer", "  : CRC",
          " : Protocol result"}},
        {"04", "90040A", {"90 : Error code = ", "04 : Valid bits (4)", "ACK"}},
        {"04", "900401", {"90 : Error code = ", "04 : Valid bits (4)", "NAK"}},
        {"04", "900404", {"90 : Error code = ", "04 : Valid bits (4)", "NAK"}},
        {"04", "900755", {"90 : Error code = ", "07 : Valid bits (7)", "????"}},
        {"04", "8600", {"86 : Error code = Communication error", "00 : Lenght of Data (0)"}},
        {"04",
         "8700",
         {"87 : Error code = Frame wait time out or no TAG", "00 : Lenght of Data = 0"}},
        {"04", "8800", {"88 : Error code = Invalid SOF", "00 : Lenght of Data (0)"}},
        {"04",
         "8E00",
         {"8E : Error code = Reception lost without EOF received", "00 : Lenght of Data (0)"}},
        {"04", "8200", {}},
        {"04", "", {}},
        // RdReg: every data byte.
        {"08", "00020102", {"00 : Result code = OK", "02 : Lenght of Data (2)", "Data : 01 02 "}},
        {"08", "0000", {"00 : Result code = OK", "00 : Lenght of Data (0)", "Data : "}},
        {"08", "8200", {"82 : Error code = Invalid command lenght", "00 : Lenght of Data (0)"}},
        {"08", "8700", {"87 : Error code ", "00 : Lenght of Data (0)"}},
        {"08", "", {" : Error code ", " : Lenght of Data (0)"}},
        {"09",
         "0000",
         {"00 : Result code = Data was successfully sent", "00 : Lenght of Data (0)"}},
        {"09", "8200", {"82 : Error code = Invalid command lenght", "00 : Lenght of Data (0)"}},
        {"09", "8C00", {"8C : Error code ", "00 : Lenght of Data (0)"}},
        {"0A", "5500", {"55 : Pseudo-response of 0x55", "00 : Lenght of Data (0)"}},
        {"0A", "55", {"55 : Pseudo-response of 0x55", " : Lenght of Data (0)"}},
        {"0A", "0000", {"00 : Result code = OK", "00 : Lenght of Data (0)"}},
        {"0A", "8300", {"83 : Error code ", "00 : Lenght of Data (0)"}},
        // BaudRate has no line of its own for an invalid length.
        {"0A", "8200", {"82 : Error code ", "00 : Lenght of Data (0)"}},
        // Echo shows only the raw answer.
        {"55", "5500", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shown(console::decodeGenericAnswer(c.command, c.answer)), c.lines)
            << c.command << " " << c.answer;
    }
}

TEST(AnswerDecoder, ProtocolSelectAndIdlePanels) {
    EXPECT_EQ(shown(console::decodeProtocolSelectAnswer("0000")),
              (Lines{"00 : Result code = OK", "00 : Lenght of Data (0)", ""}));
    EXPECT_EQ(shown(console::decodeProtocolSelectAnswer("0003410102")),
              (Lines{"00 : Result code = OK", "03 : Lenght of Data (3)", "A"}));
    EXPECT_EQ(shown(console::decodeProtocolSelectAnswer("8200")), Lines{});

    EXPECT_EQ(shown(console::decodeIdleAnswer("000101")),
              (Lines{"00 : Result code = Device exits from Idle mode", "01 : Lenght of Data (1)"}));
    EXPECT_EQ(shown(console::decodeIdleAnswer("8200")),
              (Lines{"82 : Error code = Invalid command lenght", "00 : Lenght of Data (0)"}));
    // Idle words every other code alike, the no-tag code included.
    EXPECT_EQ(shown(console::decodeIdleAnswer("8700")),
              (Lines{"87 : Error code ", "00 : Lenght of Data (0)"}));
}

TEST(AnswerDecoder, VerdictOnTheAnswerBox) {
    using console::FailureText;
    using console::judgeAnswer;
    const std::string blanks(256, ' ');
    // A well-formed answer is decoded whatever its size.
    const std::string long80 = "8064" + std::string(200, 'A');
    const std::string exactly128 = "003E" + std::string(124, '0');
    struct Case {
        int status;
        std::string answer;
        bool hadNul;
        FailureText failure;
        std::string box;
        bool decode;
    };
    const std::vector<Case> cases = {
        {0, "0000", true, FailureText::Generic, "0000", true},
        {0, long80, true, FailureText::Generic, long80, true},
        {0, exactly128, true, FailureText::WithStatus, exactly128, true},
        {0, "55", true, FailureText::Generic, "55", true},
        {0, "5", true, FailureText::Generic, "Not correct data sent by DEMO-TQ73RN-A", false},
        {0, blanks, false, FailureText::Generic, "Not correct data sent by DEMO-TQ73RN-A", false},
        {0, "80ZZ", true, FailureText::Generic, "Not correct data sent by DEMO-TQ73RN-A", false},
        {0, "8005AABB", true, FailureText::WithStatus, "Not correct data sent by DEMO-TQ73RN-A",
         false},
        // A bad answer the library wrote outranks a failed status...
        {5, "80ZZ", true, FailureText::Generic, "Not correct data sent by DEMO-TQ73RN-A", false},
        {1, "8005AABB", true, FailureText::WithStatus, "Not correct data sent by DEMO-TQ73RN-A",
         false},
        // ...but a failed call that left the buffer untouched is a broken link.
        {5, blanks, false, FailureText::Generic,
         "Transaction error : Check your reader connections", false},
        {5, blanks, false, FailureText::WithStatus, "Transaction error : 5 (  )", false},
        {-1, blanks, false, FailureText::WithStatus, "Transaction error : -1 (  )", false},
        {3, "", true, FailureText::Generic, "Transaction error : Check your reader connections",
         false},
        {3, "", true, FailureText::WithStatus, "Transaction error : 3 ()", false},
        {5, "8700", true, FailureText::WithStatus, "Transaction error : 5 (87)", false},
    };
    for (const auto& c : cases) {
        const auto v = judgeAnswer(c.status, c.answer, c.hadNul, c.failure);
        EXPECT_EQ(v.answerBox, c.box) << c.status << " " << c.answer;
        EXPECT_EQ(v.decode, c.decode) << c.status << " " << c.answer;
    }
}
