#include "script/language.hpp"

#include <QStringList>
#include <array>

namespace script {

namespace {

using reader::ReaderFunction;

struct KeywordRow {
    const char* name;
    KeywordSpec spec;
};

constexpr std::array kKeywords = {
    KeywordRow{"REM", {Keyword::Rem, DataKind::Any, std::nullopt, Reconnect::None}},
    KeywordRow{"WAIT", {Keyword::Wait, DataKind::Decimal, std::nullopt, Reconnect::None}},
    KeywordRow{"TQ73RNDLL_USB_CONNECT",
               {Keyword::UsbConnect, DataKind::None, ReaderFunction::UsbConnect, Reconnect::None}},
    KeywordRow{
        "TQ73RNDLL_USB_HANDLE_CHECK",
        {Keyword::UsbHandleCheck, DataKind::None, ReaderFunction::UsbHandleCheck, Reconnect::None}},
    KeywordRow{"TQ73RNDLL_ECHO",
               {Keyword::Echo, DataKind::None, ReaderFunction::Echo, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_IDN",
               {Keyword::Idn, DataKind::None, ReaderFunction::Idn, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_SELECT",
               {Keyword::Select, DataKind::Hex, ReaderFunction::Select, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_SENDRECV",
               {Keyword::SendRecv, DataKind::Hex, ReaderFunction::SendReceive, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_SENDRECEIVE",
               {Keyword::SendRecv, DataKind::Hex, ReaderFunction::SendReceive, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_KVCMD",
               {Keyword::KvCmd, DataKind::Hex, ReaderFunction::KvCmd, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_FIELDOFF",
               {Keyword::FieldOff, DataKind::None, ReaderFunction::FieldOff, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_GETDLLREV",
               {Keyword::GetDllRev, DataKind::None, ReaderFunction::GetDllRev, Reconnect::None}},
    KeywordRow{
        "TQ73RNDLL_PULSE_IRQ_IN",
        {Keyword::PulseIrqIn, DataKind::None, ReaderFunction::SendIrqPulse, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_NSS_PULSE",
               {Keyword::NssPulse, DataKind::None, ReaderFunction::SendNssPulse, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_POLLING_READING",
               {Keyword::PollingReading, DataKind::None, ReaderFunction::PollingReading,
                Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_GETMCUREV",
               {Keyword::GetMcuRev, DataKind::None, ReaderFunction::GetMcuRev, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_MCUREV",
               {Keyword::GetMcuRev, DataKind::None, ReaderFunction::GetMcuRev, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_RESET_SPI",
               {Keyword::ResetSpi, DataKind::None, ReaderFunction::ResetSpi, Reconnect::Plain}},
    KeywordRow{"TQ73RNDLL_GET_INTERFACE_PIN_STATE",
               {Keyword::GetInterfacePinState, DataKind::None, ReaderFunction::GetInterfacePinState,
                Reconnect::Plain}},
    KeywordRow{
        "TQ73RN_SOLAXX_INITIATE",
        {Keyword::SolaInitiate, DataKind::None, ReaderFunction::SendReceive, Reconnect::Iso14443B}},
    KeywordRow{
        "TQ73RN_SOLAXX_SELECT",
        {Keyword::SolaSelect, DataKind::None, ReaderFunction::SendReceive, Reconnect::Iso14443B}},
    KeywordRow{"TQ73RN_ISO14443-A_ANTICOLSELECT123",
               {Keyword::AnticolSelect123, DataKind::None, std::nullopt, Reconnect::OwnProcedure}},
};

bool isHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool isDecimalDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Counts the leading characters that pass `accept`; true when all of them do.
template <class Accept>
bool acceptAll(const QString& field, Accept accept, int& accepted) {
    accepted = 0;
    for (QChar c : field) {
        if (!accept(c)) return false;
        ++accepted;
    }
    return true;
}

std::optional<ScriptError> checkHexData(const CheckedLine& line, int fieldCount, int& accepted) {
    if (fieldCount != 2 || line.data.isEmpty()) return ScriptError::NoData;
    if (!acceptAll(line.data, isHexDigit, accepted)) return ScriptError::NotHexadecimal;
    const bool raw = line.spec->keyword == Keyword::KvCmd;
    // A request longer than a frame can carry would reach the board cut or refused.
    if (line.data.size() % 2 != 0 ||
        line.data.size() > (raw ? kMaxRawCommandDigits : kMaxFrameDataDigits)) {
        return ScriptError::NotCompliant;
    }
    if (raw && !line.data.startsWith(QLatin1String("01")) &&
        !line.data.startsWith(QLatin1String("02"))) {
        return ScriptError::FirstByte;
    }
    return std::nullopt;
}

std::optional<ScriptError> checkWait(CheckedLine& line, int fieldCount, int& accepted) {
    if (fieldCount != 2 || line.data.isEmpty()) return ScriptError::NoData;
    if (!acceptAll(line.data, isDecimalDigit, accepted)) return ScriptError::NotHexadecimal;
    // The length is what counts: "00000001" is refused although its value is small.
    if (line.data.size() > kMaxWaitDigits) return ScriptError::WaitTooLong;
    line.waitValue = line.data.toInt();
    return std::nullopt;
}

}  // namespace

std::optional<KeywordSpec> keywordSpec(const QString& field0) {
    for (const KeywordRow& row : kKeywords) {
        if (field0 == QLatin1String(row.name)) return row.spec;
    }
    return std::nullopt;
}

QString errorMessage(ScriptError error) {
    const char* text = "";
    switch (error) {
        case ScriptError::CommandNotRecognized:
            text = "Command not recognized";
            break;
        case ScriptError::TooMuchData:
            text = "Too much Data parameters";
            break;
        case ScriptError::NoData:
            text = "No Data found for this dll command";
            break;
        case ScriptError::NotHexadecimal:
            text = "Data not in Hexadecimal format";
            break;
        case ScriptError::NotCompliant:
            text = "Data not compliant with dll command";
            break;
        case ScriptError::FirstByte:
            text = "1st byte needed to be equal to '01' or '02'";
            break;
        case ScriptError::WaitTooLong:
            text = "Wait value is more than maximun accepted : 9999999";
            break;
        case ScriptError::NotYetImplemented:
            text = "Command not yet implemented";
            break;
    }
    return QStringLiteral("!!! Script Error : ") + QLatin1String(text) + QStringLiteral(" !!! ");
}

QString toScriptUpper(const QString& text) {
    QString upper = text;
    for (QChar& c : upper) {
        const char16_t u = c.unicode();
        // a-z, and à-þ but the division sign: their capitals lie 32 below.
        if ((u >= u'a' && u <= u'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) {
            c = QChar(static_cast<char16_t>(u - 0x20));
        }
    }
    return upper;
}

CleanedLine cleanLine(const QString& raw) {
    CleanedLine line;
    line.text = raw;
    line.text.remove(QLatin1Char('\r'));
    line.text.remove(QLatin1Char('\n'));
    line.text.remove(QLatin1Char('\t'));
    line.beginsWithRem = line.text.startsWith(QLatin1String("REM"));
    if (!line.beginsWithRem) {
        line.text.remove(QLatin1Char(' '));
        line.text = toScriptUpper(line.text);
    }
    return line;
}

CheckedLine checkLine(const QString& cleaned) {
    CheckedLine line;
    if (cleaned.isEmpty()) {
        line.blank = true;
        return line;
    }
    const QStringList fields = cleaned.split(QLatin1Char(','));
    line.keyword = fields.front();
    line.hasData = fields.size() > 1;
    if (line.hasData) line.data = fields[1];
    line.spec = keywordSpec(line.keyword);
    if (!line.spec) {
        line.error = ScriptError::CommandNotRecognized;
        return line;
    }
    const int fieldCount = static_cast<int>(fields.size());
    switch (line.spec->data) {
        case DataKind::Any:
            break;
        case DataKind::None:
            if (line.hasData) line.error = ScriptError::TooMuchData;
            break;
        case DataKind::Hex:
            line.error = checkHexData(line, fieldCount, line.acceptedDataCharacters);
            break;
        case DataKind::Decimal:
            line.error = checkWait(line, fieldCount, line.acceptedDataCharacters);
            break;
    }
    return line;
}

}  // namespace script
