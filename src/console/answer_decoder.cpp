#include "console/answer_decoder.hpp"

#include "console/frames.hpp"

namespace console {

namespace {

int lengthOf(std::string_view answer) {
    return static_cast<int>(hexValue(mid(answer, 3, 2)) & 0xFF);
}

// Data byte k as two digits; nothing for a byte the answer does not hold.
std::string dataByte(std::string_view answer, int k) {
    return k < 0 ? std::string() : mid(answer, 2 * k + 5, 2);
}

// The characters whose codes are data bytes first .. last.
std::string characters(std::string_view answer, int last) {
    std::string text;
    for (int k = 0; k <= last; ++k) {
        const std::string b = dataByte(answer, k);
        if (b.size() < 2) break;
        text += static_cast<char>(hexValue(b) & 0xFF);
    }
    return text;
}

std::string code(std::string_view answer) { return mid(answer, 1, 2); }

ExplainLines decodeSendRecv(std::string_view answer) {
    const std::string c = code(answer);
    const int n = lengthOf(answer);
    if (c == kResultFrame) {
        std::string tag;
        for (int k = 0; k <= n - 4; ++k) tag += dataByte(answer, k) + " ";
        return {std::string(kLineFrameOk), LengthLine(answer), tag + ": Tag answer",
                dataByte(answer, n - 3) + " " + dataByte(answer, n - 2) + " : CRC",
                dataByte(answer, n - 1) + " : Protocol result"};
    }
    if (c == kResultShortFrame) {
        const ShortFrame f = readShortFrame(answer);
        return {std::string(kLineShortFrame), validBitsLine(answer),
                f == ShortFrame::Nak   ? "NAK"
                : f == ShortFrame::Ack ? "ACK"
                                       : "????"};
    }
    if (c == kErrorNoTag) return {std::string(*errorLine(c)), noTagLengthLine(answer)};
    if (c != "82") {
        if (auto line = errorLine(c)) return {std::string(*line), LengthLine(answer)};
    }
    return {};
}

// Answers with a text for "00" and for one other code, and CodeLine for everything else:
// the register and Idle commands word "82", BaudRate its pseudo-response "55" (its
// "82" gets the CodeLine like any other code).
ExplainLines twoLines(std::string_view answer, std::string_view okLine, std::string_view otherCode,
                      std::string_view otherLine) {
    const std::string c = code(answer);
    if (c == kResultDone) return {std::string(okLine), LengthLine(answer)};
    if (c == otherCode) return {std::string(otherLine), LengthLine(answer)};
    return {CodeLine(answer), LengthLine(answer)};
}

ExplainLines registerLines(std::string_view answer, std::string_view okLine) {
    return twoLines(answer, okLine, "82", *errorLine("82"));
}

}  // namespace

ExplainLines decodeGenericAnswer(std::string_view command, std::string_view answer) {
    const std::string c = code(answer);
    const int n = lengthOf(answer);
    if (command == kCmdIdn) {
        if (c != kResultDone) return {};
        return {std::string(kLineOk), LengthLine(answer), characters(answer, n - 3)};
    }
    if (command == kCmdSendRecv) return decodeSendRecv(answer);
    if (command == kCmdRdReg) {
        if (c == kResultDone) {
            std::string data = "Data : ";
            for (int k = 0; k < n; ++k) data += dataByte(answer, k) + " ";
            return {std::string(kLineOk), LengthLine(answer), data};
        }
        return registerLines(answer, kLineOk);
    }
    if (command == kCmdWrReg) return registerLines(answer, kLineWrRegOk);
    if (command == kCmdBaudRate) return twoLines(answer, kLineOk, kResultPseudo, kLinePseudo);
    return {};
}

ExplainLines decodeProtocolSelectAnswer(std::string_view answer) {
    if (code(answer) != kResultDone) return {};
    return {std::string(kLineOk), LengthLine(answer), characters(answer, lengthOf(answer) - 3)};
}

ExplainLines decodeIdleAnswer(std::string_view answer) {
    return registerLines(answer, kLineIdleOk);
}

AnswerVerdict judgeAnswer(reader::LibraryStatus status, std::string_view answer, bool hadNul,
                          FailureText failure) {
    // An empty answer is what a failed call usually leaves, and a bare result code has no
    // length to disagree with: both are read for what they hold.
    const bool wellFormed = answer.size() < 4 ? answer.size() % 2 == 0 && isHexText(answer)
                                              : parseAnswer(answer).wellFormed;
    if (!hadNul || !wellFormed) return {kNotCorrectData, false};
    if (status != reader::kStatusOk) {
        if (failure == FailureText::Generic) return {kGenericTransactionError, false};
        return {"Transaction error : " + std::to_string(status) + " (" + mid(answer, 1, 2) + ")",
                false};
    }
    return {std::string(answer), true};
}

}  // namespace console
