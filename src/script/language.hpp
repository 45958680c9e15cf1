#pragma once

#include <QString>
#include <optional>

#include "reader/reader_library.hpp"

// The script language: one command a line, a keyword and comma-separated data.
namespace script {

enum class Keyword {
    Rem,
    Wait,
    UsbConnect,
    UsbHandleCheck,
    Echo,
    Idn,
    Select,
    SendRecv,
    KvCmd,
    FieldOff,
    GetDllRev,
    PulseIrqIn,
    NssPulse,
    PollingReading,
    GetMcuRev,
    ResetSpi,
    GetInterfacePinState,
    SolaInitiate,
    SolaSelect,
    AnticolSelect123,
};

// What a keyword takes after it.
enum class DataKind {
    Any,      // REM: any number of fields
    None,     // not even an empty field
    Hex,      // exactly one field of hex pairs
    Decimal,  // WAIT: one field of at most seven digits
};

// How a keyword's call treats a status 5 (the board cannot be reached).
enum class Reconnect { None, Plain, Iso14443B, OwnProcedure };

struct KeywordSpec {
    Keyword keyword;
    DataKind data;
    // The library function the keyword calls; none for REM, WAIT and the anticollision.
    std::optional<reader::ReaderFunction> function;
    Reconnect reconnect;
};

// The keyword a cleaned field 0 names (aliases included), compared exactly.
std::optional<KeywordSpec> keywordSpec(const QString& field0);

enum class ScriptError {
    CommandNotRecognized,
    TooMuchData,
    NoData,
    NotHexadecimal,
    NotCompliant,
    FirstByte,
    WaitTooLong,
    NotYetImplemented,
};
// The error texts as the log shows them (each ends in a blank).
QString errorMessage(ScriptError error);

// The upper-case form of a script line. Letters whose capital is not a single-byte
// character (ß, ÿ) stay as they are, so a line never leaves the script file's
// character set.
QString toScriptUpper(const QString& text);

// A line as the run reads it: line-end characters and tabs removed; a line that begins
// "REM" (in capitals) kept as it is, any other line without blanks and in capitals.
struct CleanedLine {
    QString text;
    bool beginsWithRem = false;  // the run lets events run once for such a line
};
CleanedLine cleanLine(const QString& raw);

// The most data digits a request can carry: a transceiver frame's length byte counts at
// most 255 data bytes. The raw command's data also holds "01" or "02", the command code
// and the length byte in front of the frame's data.
inline constexpr int kMaxFrameDataDigits = 510;
inline constexpr int kMaxRawCommandDigits = kMaxFrameDataDigits + 6;
// WAIT takes at most seven digits (the value 9999999).
inline constexpr int kMaxWaitDigits = 7;

// A cleaned line checked against the language.
struct CheckedLine {
    bool blank = false;  // no field at all: nothing to carry out
    std::optional<KeywordSpec> spec;
    QString keyword;  // field 0 as written (an alias is logged as such)
    QString data;     // the first data field, empty when there is none
    bool hasData = false;
    std::optional<ScriptError> error;
    // The data characters accepted before the verdict; the run lets events run once
    // after each, as a long line is checked.
    int acceptedDataCharacters = 0;
    // WAIT: the value.
    int waitValue = 0;
};
CheckedLine checkLine(const QString& cleaned);

}  // namespace script
