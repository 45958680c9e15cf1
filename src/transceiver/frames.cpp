#include "transceiver/frames.hpp"

#include <array>

namespace transceiver {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int digitValue(char c) { return hexDigitValue(static_cast<unsigned char>(c)); }

// A count as the system writes numbers: two digits at least, never cut.
std::string countText(std::size_t n) {
    if (n <= 0xFF) return hexByte(static_cast<std::uint8_t>(n));
    std::string out;
    for (; n != 0; n >>= 4) out.insert(out.begin(), kDigits[n & 0xF]);
    return out;
}

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (auto p : parts) out += p;
    return out;
}

}  // namespace

std::string mid(std::string_view text, int start, int length) {
    if (start < 1 || length <= 0) return {};
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return {};
    return std::string(text.substr(from, static_cast<std::size_t>(length)));
}

std::string TransceiverFrame(std::string_view code, std::string_view data) {
    return concat({code, countText(data.size() / 2), data});
}

std::string idnFrame() { return TransceiverFrame(kCmdIdn, {}); }

std::string selectRequest(std::string_view protocol, std::string_view parameters) {
    return concat({protocol, parameters});
}

std::string protocolSelectFrame(std::string_view protocol, std::string_view parameters) {
    return TransceiverFrame(kCmdProtocolSelect, selectRequest(protocol, parameters));
}

std::string sendRecvFrame(std::string_view tagBytes) {
    return TransceiverFrame(kCmdSendRecv, tagBytes);
}

std::string idleFrame(std::string_view parameters) {
    return TransceiverFrame(kCmdIdle, parameters);
}

std::string rdRegFrame(std::string_view address, std::string_view size, std::string_view reserved) {
    return TransceiverFrame(kCmdRdReg, concat({address, size, reserved}));
}

std::string wrRegFrame(std::string_view address, bool increment, std::string_view data) {
    return TransceiverFrame(kCmdWrReg, concat({address, increment ? "01" : "00", data}));
}

std::string baudRateFrame(std::uint8_t divider) {
    return TransceiverFrame(kCmdBaudRate, hexByte(divider));
}

std::string echoFrame() { return std::string(kCmdEcho); }

std::string transceiverRequest(std::string_view frame) {
    return concat({kTransceiverRequest, frame});
}

std::string firmwareRequest(std::string_view code, std::string_view data) {
    return concat({kFirmwareRequest, TransceiverFrame(code, data)});
}

std::string iso15693AnticollisionRequest(std::string_view requestFlags) {
    return firmwareRequest("A0", requestFlags);
}

ParsedAnswer parseAnswer(std::string_view answer) {
    ParsedAnswer p;
    p.code = mid(answer, 1, 2);
    const std::string lengthField = mid(answer, 3, 2);
    if (lengthField.size() == 2 && isHexText(lengthField)) {
        p.length = static_cast<int>(hexValue(lengthField));
    }
    const std::string_view rest = answer.size() > 4 ? answer.substr(4) : std::string_view{};
    for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
        const int high = digitValue(rest[i]);
        const int low = digitValue(rest[i + 1]);
        if (high < 0 || low < 0) break;
        p.data.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    const bool hexAndEven = answer.size() >= 4 && answer.size() % 2 == 0 && isHexText(answer);
    if (!hexAndEven) return p;
    if (p.code == kResultShortFrame) {
        // The length field counts the valid bits of the short frame in the first byte.
        p.wellFormed = !p.data.empty();
    } else {
        p.wellFormed = static_cast<std::size_t>(p.length) == p.data.size();
    }
    return p;
}

ShortFrame readShortFrame(std::string_view answer) {
    const std::string first = mid(answer, 5, 2);
    if (first == "0A") return ShortFrame::Ack;
    if (first == "01" || first == "04") return ShortFrame::Nak;
    return ShortFrame::Other;
}

std::optional<std::string_view> errorLine(std::string_view code) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kLines{{
        {"82", "82 : Error code = Invalid command lenght"},
        {"86", "86 : Error code = Communication error"},
        {"87", "87 : Error code = Frame wait time out or no TAG"},
        {"88", "88 : Error code = Invalid SOF"},
        {"89", "89 : Error code = Receive buffer overflow"},
        {"8A", "8A : Error code = framing error (start bit=0, stop bit=1)"},
        {"8B", "8B : Error code = EGT time out (for Iso14443-B)"},
        {"8C", "8C : Error code = Invalid lenght. Used in Felica, when field Lenght < 3"},
        {"8D", "8D : Error code = CRC error (used in Felica protocol)"},
        {"8E", "8E : Error code = Reception lost without EOF received"},
    }};
    for (const auto& [c, line] : kLines) {
        if (c == code) return line;
    }
    return std::nullopt;
}

std::optional<std::string_view> resultLine(Command command, std::string_view code) {
    if (code == kResultDone) {
        switch (command) {
            case Command::Idn:
            case Command::ProtocolSelect:
            case Command::RdReg:
            case Command::BaudRate:
                return kLineOk;
            case Command::WrReg:
                return kLineWrRegOk;
            case Command::Idle:
                return kLineIdleOk;
            case Command::SendRecv:
            case Command::Echo:
                break;
        }
    }
    if (code == kResultFrame) return kLineFrameOk;
    if (code == kResultShortFrame) return kLineShortFrame;
    if (code == kResultPseudo && command == Command::BaudRate) return kLinePseudo;
    return errorLine(code);
}

namespace {
std::string lengthDigits(std::string_view answer) { return mid(answer, 3, 2); }
std::string lengthNumber(std::string_view answer) {
    return std::to_string(hexValue(lengthDigits(answer)));
}
}  // namespace

std::string LengthLine(std::string_view answer) {
    return lengthDigits(answer) + " : Lenght of Data (" + lengthNumber(answer) + ")";
}

std::string noTagLengthLine(std::string_view answer) {
    return lengthDigits(answer) + " : Lenght of Data = " + lengthNumber(answer);
}

std::string validBitsLine(std::string_view answer) {
    return lengthDigits(answer) + " : Valid bits (" + lengthNumber(answer) + ")";
}

std::string CodeLine(std::string_view answer) { return mid(answer, 1, 2) + " : Error code "; }

}  // namespace transceiver
