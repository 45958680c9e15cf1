#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "transceiver/hex_text.hpp"

namespace transceiver {

// Characters `start` (1-based) to `start + length - 1` of `text`; whatever part of that
// range lies past the end of the text is left out, so decoders never read past an answer.
// A start below 1 or a length below 1 gives nothing.
std::string mid(std::string_view text, int start, int length);

// ---- Requests and frames ----------------------------------------------------------

// What precedes a frame given to the raw library call: the transceiver's own frames, or
// the board firmware's.
inline constexpr std::string_view kTransceiverRequest = "01";
inline constexpr std::string_view kFirmwareRequest = "02";

// Transceiver command codes.
inline constexpr std::string_view kCmdIdn = "01";
inline constexpr std::string_view kCmdProtocolSelect = "02";
inline constexpr std::string_view kCmdSendRecv = "04";
inline constexpr std::string_view kCmdIdle = "07";
inline constexpr std::string_view kCmdRdReg = "08";
inline constexpr std::string_view kCmdWrReg = "09";
inline constexpr std::string_view kCmdBaudRate = "0A";
inline constexpr std::string_view kCmdEcho = "55";

// Protocol codes of Protocol Select; the three card modes all use kProtocolCard.
inline constexpr std::string_view kProtocolFieldOff = "00";
inline constexpr std::string_view kProtocolIso15693 = "01";
inline constexpr std::string_view kProtocolIso14443A = "02";
inline constexpr std::string_view kProtocolIso14443B = "03";
inline constexpr std::string_view kProtocolFelica = "04";
inline constexpr std::string_view kProtocolCard = "05";

// The Select request that switches the field off.
inline constexpr std::string_view kFieldOffSelect = "0000";

// Register addresses and values the windows use.
inline constexpr std::string_view kRegWakeUpEvent = "62";
inline constexpr std::string_view kRegAnalogIndex = "68";
inline constexpr std::string_view kRegAnalogData = "69";
inline constexpr std::string_view kAnalogArcB = "01";

// Command code, length byte (number of data bytes), data. `data` is hex text without
// blanks; a trailing half byte is not counted in the length.
std::string TransceiverFrame(std::string_view code, std::string_view data);

std::string idnFrame();
// Protocol code and parameter bytes as the Select call takes them ("010D").
std::string selectRequest(std::string_view protocol, std::string_view parameters);
// The same as one transceiver frame: "02", length, protocol, parameters.
std::string protocolSelectFrame(std::string_view protocol, std::string_view parameters);
std::string sendRecvFrame(std::string_view tagBytes);
// `parameters`: the fourteen bytes after the length.
std::string idleFrame(std::string_view parameters);
std::string rdRegFrame(std::string_view address, std::string_view size = "01",
                       std::string_view reserved = "00");
// `increment`: move the register address on after each byte written.
std::string wrRegFrame(std::string_view address, bool increment, std::string_view data);
std::string baudRateFrame(std::uint8_t divider);
// The echo is the code alone, without a length byte.
std::string echoFrame();

// What the raw library call takes: "01" and a transceiver frame.
std::string transceiverRequest(std::string_view frame);
// "02", then a firmware frame of the same shape.
std::string firmwareRequest(std::string_view code, std::string_view data);
// The one firmware frame the windows send: the ISO15693 anticollision.
std::string iso15693AnticollisionRequest(std::string_view requestFlags);

// ---- Answers ----------------------------------------------------------------------

// Result codes (characters 1-2 of an answer).
inline constexpr std::string_view kResultDone = "00";
inline constexpr std::string_view kResultFrame = "80";
inline constexpr std::string_view kResultShortFrame = "90";
inline constexpr std::string_view kResultPseudo = "55";
inline constexpr std::string_view kErrorNoTag = "87";

// An answer split into its fields. Nothing is read beyond the text.
struct ParsedAnswer {
    std::string code;                // characters 1-2 (fewer when the text is shorter)
    int length = -1;                 // characters 3-4 as a number; -1 when absent or not hex
    std::vector<std::uint8_t> data;  // whole hex bytes from character 5 on
    // Hex only, an even number of digits, and (except for "90", whose length field
    // counts bits) as many data bytes as the length byte says.
    bool wellFormed = false;
};
ParsedAnswer parseAnswer(std::string_view answer);

enum class ShortFrame { Ack, Nak, Other };
// How a "90" answer's first data byte reads.
ShortFrame readShortFrame(std::string_view answer);

// ---- Explanation texts ------------------------------------------------------------

inline constexpr std::string_view kLineOk = "00 : Result code = OK";
inline constexpr std::string_view kLineWrRegOk = "00 : Result code = Data was successfully sent";
inline constexpr std::string_view kLineIdleOk = "00 : Result code = Device exits from Idle mode";
inline constexpr std::string_view kLineFrameOk = "80 : Result code = OK";
inline constexpr std::string_view kLineShortFrame = "90 : Error code = ";
inline constexpr std::string_view kLinePseudo = "55 : Pseudo-response of 0x55";

// The commands whose "00" answers read differently.
enum class Command { Idn, ProtocolSelect, SendRecv, Idle, RdReg, WrReg, BaudRate, Echo };

// The fixed error line of codes "82" and "86" to "8E"; nothing for any other code.
std::optional<std::string_view> errorLine(std::string_view code);
// The result line a command's answer code has: its result text when the command has
// one for that code, else the code's error line, else nothing (then CodeLine applies).
std::optional<std::string_view> resultLine(Command command, std::string_view code);

// Characters 3-4, " : Lenght of Data (", n, ")".
std::string LengthLine(std::string_view answer);
// After the "87" line: characters 3-4, " : Lenght of Data = ", n.
std::string noTagLengthLine(std::string_view answer);
// After the "90" line: characters 3-4, " : Valid bits (", n, ")".
std::string validBitsLine(std::string_view answer);
// For a code without a text of its own: characters 1-2, " : Error code ".
std::string CodeLine(std::string_view answer);

}  // namespace transceiver
