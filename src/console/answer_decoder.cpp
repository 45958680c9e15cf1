#include "console/answer_decoder.hpp"

#include "transceiver/frames.hpp"

namespace console {

namespace {

int lengthOf(std::string_view answer) {
    return static_cast<int>(transceiver::hexValue(transceiver::mid(answer, 3, 2)) & 0xFF);
}

// Data byte k as two digits; nothing for a byte the answer does not hold.
std::string dataByte(std::string_view answer, int k) {
    return k < 0 ? std::string() : transceiver::mid(answer, 2 * k + 5, 2);
}

// The characters whose codes are data bytes first .. last.
std::string characters(std::string_view answer, int last) {
    std::string text;
    for (int k = 0; k <= last; ++k) {
        const std::string b = dataByte(answer, k);
        if (b.size() < 2) break;
        text += static_cast<char>(transceiver::hexValue(b) & 0xFF);
    }
    return text;
}

std::string code(std::string_view answer) { return transceiver::mid(answer, 1, 2); }

ExplainLines decodeSendRecv(std::string_view answer) {
    const std::string c = code(answer);
    const int n = lengthOf(answer);
    if (c == transceiver::kResultFrame) {
        std::string tag;
        for (int k = 0; k <= n - 4; ++k) tag += dataByte(answer, k) + " ";
        return {std::string(transceiver::kLineFrameOk), transceiver::LengthLine(answer),
                tag + ": Tag answer",
                dataByte(answer, n - 3) + " " + dataByte(answer, n - 2) + " : CRC",
                dataByte(answer, n - 1) + " : Protocol result"};
    }
    if (c == transceiver::kResultShortFrame) {
        const transceiver::ShortFrame f = transceiver::readShortFrame(answer);
        return {std::string(transceiver::kLineShortFrame), transceiver::validBitsLine(answer),
                f == transceiver::ShortFrame::Nak   ? "NAK"
                : f == transceiver::ShortFrame::Ack ? "ACK"
                                                    : "????"};
    }
    if (c == transceiver::kErrorNoTag)
        return {std::string(*transceiver::errorLine(c)), transceiver::noTagLengthLine(answer)};
    if (c != "82") {
        if (auto line = transceiver::errorLine(c))
            return {std::string(*line), transceiver::LengthLine(answer)};
    }
    return {};
}

// Answers with a text for "00" and for one other code, and CodeLine for everything else:
// the register and Idle commands word "82", BaudRate its pseudo-response "55" (its
// "82" gets the CodeLine like any other code).
ExplainLines twoLines(std::string_view answer, std::string_view okLine, std::string_view otherCode,
                      std::string_view otherLine) {
    const std::string c = code(answer);
    if (c == transceiver::kResultDone)
        return {std::string(okLine), transceiver::LengthLine(answer)};
    if (c == otherCode) return {std::string(otherLine), transceiver::LengthLine(answer)};
    return {transceiver::CodeLine(answer), transceiver::LengthLine(answer)};
}

ExplainLines registerLines(std::string_view answer, std::string_view okLine) {
    return twoLines(answer, okLine, "82", *transceiver::errorLine("82"));
}

}  // namespace

ExplainLines decodeGenericAnswer(std::string_view command, std::string_view answer) {
    const std::string c = code(answer);
    const int n = lengthOf(answer);
    if (command == transceiver::kCmdIdn) {
        if (c != transceiver::kResultDone) return {};
        return {std::string(transceiver::kLineOk), transceiver::LengthLine(answer),
                characters(answer, n - 3)};
    }
    if (command == transceiver::kCmdSendRecv) return decodeSendRecv(answer);
    if (command == transceiver::kCmdRdReg) {
        if (c == transceiver::kResultDone) {
            std::string data = "Data : ";
            for (int k = 0; k < n; ++k) data += dataByte(answer, k) + " ";
            return {std::string(transceiver::kLineOk), transceiver::LengthLine(answer), data};
        }
        return registerLines(answer, transceiver::kLineOk);
    }
    if (command == transceiver::kCmdWrReg) return registerLines(answer, transceiver::kLineWrRegOk);
    if (command == transceiver::kCmdBaudRate)
        return twoLines(answer, transceiver::kLineOk, transceiver::kResultPseudo,
                        transceiver::kLinePseudo);
    return {};
}

ExplainLines decodeProtocolSelectAnswer(std::string_view answer) {
    if (code(answer) != transceiver::kResultDone) return {};
    return {std::string(transceiver::kLineOk), transceiver::LengthLine(answer),
            characters(answer, lengthOf(answer) - 3)};
}

ExplainLines decodeIdleAnswer(std::string_view answer) {
    return registerLines(answer, transceiver::kLineIdleOk);
}

AnswerVerdict judgeAnswer(reader::LibraryStatus status, std::string_view answer, bool hadNul,
                          FailureText failure) {
    const bool failed = status != reader::kStatusOk;
    const AnswerVerdict transactionError =
        failure == FailureText::Generic
            ? AnswerVerdict{kGenericTransactionError, false}
            : AnswerVerdict{"Transaction error : " + std::to_string(status) + " (" +
                                transceiver::mid(answer, 1, 2) + ")",
                            false};
    // A failed call that never wrote the buffer is a broken link (an unplugged board),
    // not bad data sent by the board.
    if (failed && !hadNul) return transactionError;
    // An empty answer is what a failed call usually leaves, and a bare result code has no
    // length to disagree with: both are read for what they hold.
    const bool wellFormed = answer.size() < 4
                                ? answer.size() % 2 == 0 && transceiver::isHexText(answer)
                                : transceiver::parseAnswer(answer).wellFormed;
    if (!hadNul || !wellFormed) return {kNotCorrectData, false};
    if (failed) return transactionError;
    return {std::string(answer), true};
}

}  // namespace console
