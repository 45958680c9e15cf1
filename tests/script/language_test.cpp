#include "script/language.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "qstring_printer.hpp"

using script::CheckedLine;
using script::Keyword;
using script::ScriptError;

namespace {

struct Case {
    const char* line;  // as typed (Latin-1)
    const char* cleaned;
    std::optional<Keyword> keyword;  // recognised keyword, when there is one
    std::optional<ScriptError> error;
    const char* data = "";
    int accepted = 0;  // data characters accepted before the verdict
};

CheckedLine check(const QString& raw) { return script::checkLine(script::cleanLine(raw).text); }

QString hexDigits(int n) { return QString(n, QLatin1Char('A')); }

}  // namespace

TEST(ScriptLanguage, EachRuleRefusesAtItsBoundaryAndAcceptsJustInside) {
    using E = ScriptError;
    using K = Keyword;
    const Case cases[] = {
        // Cleaning: blanks, tabs and line ends go, case does not count.
        {"TQ73RNDLL_ECHO", "TQ73RNDLL_ECHO", K::Echo, {}},
        {"\n tq73rndll_ echo\t\r", "TQ73RNDLL_ECHO", K::Echo, {}},
        {"TQ73RNDLL_ECHO,", "TQ73RNDLL_ECHO,", K::Echo, E::TooMuchData},
        {"TQ73RN_ISO14443-A_AnticolSelect123",
         "TQ73RN_ISO14443-A_ANTICOLSELECT123",
         K::AnticolSelect123,
         {}},
        {"TQ73RN_SOLAxx_Initiate, 00", "TQ73RN_SOLAXX_INITIATE,00", K::SolaInitiate, E::TooMuchData,
         "00"},
        {"TQ73RNDLL_MCUREV", "TQ73RNDLL_MCUREV", K::GetMcuRev, {}},
        // Comments: "REM" in capitals keeps its line; in lower case it is a line like any.
        {"REM", "REM", K::Rem, {}},
        {"REM, a b, c", "REM, a b, c", K::Rem, {}, " a b"},
        {"\trem, a b", "REM,AB", K::Rem, {}, "AB"},
        {"REM word", "REM word", {}, E::CommandNotRecognized},
        {"REMARK", "REMARK", {}, E::CommandNotRecognized},
        {",TQ73RNDLL_ECHO", ",TQ73RNDLL_ECHO", {}, E::CommandNotRecognized, "TQ73RNDLL_ECHO"},
        // Hex data: one non-empty field of hex pairs.
        {"TQ73RNDLL_SELECT", "TQ73RNDLL_SELECT", K::Select, E::NoData},
        {"TQ73RNDLL_SELECT,", "TQ73RNDLL_SELECT,", K::Select, E::NoData},
        {"TQ73RNDLL_SELECT,02,00", "TQ73RNDLL_SELECT,02,00", K::Select, E::NoData, "02"},
        {"TQ73RNDLL_SELECT, 02 0G 01", "TQ73RNDLL_SELECT,020G01", K::Select, E::NotHexadecimal,
         "020G01", 3},
        {"TQ73RNDLL_SELECT,0200110", "TQ73RNDLL_SELECT,0200110", K::Select, E::NotCompliant,
         "0200110", 7},
        {"TQ73RNDLL_SELECT,02000180", "TQ73RNDLL_SELECT,02000180", K::Select, {}, "02000180", 8},
        {"tq73rndll_sendreceive, 26 07", "TQ73RNDLL_SENDRECEIVE,2607", K::SendRecv, {}, "2607", 4},
        {"TQ73RNDLL_KVCMD, 01 01 00", "TQ73RNDLL_KVCMD,010100", K::KvCmd, {}, "010100", 6},
        {"TQ73RNDLL_KVCMD,030100", "TQ73RNDLL_KVCMD,030100", K::KvCmd, E::FirstByte, "030100", 6},
        {"TQ73RNDLL_KVCMD,0", "TQ73RNDLL_KVCMD,0", K::KvCmd, E::NotCompliant, "0", 1},
        // WAIT: decimal digits, at most seven of them, counted as characters.
        {"WAIT", "WAIT", K::Wait, E::NoData},
        {"WAIT,", "WAIT,", K::Wait, E::NoData},
        {"WAIT,1A", "WAIT,1A", K::Wait, E::NotHexadecimal, "1A", 1},
        {"WAIT, 0", "WAIT,0", K::Wait, {}, "0", 1},
        {"WAIT,9999999", "WAIT,9999999", K::Wait, {}, "9999999", 7},
        {"WAIT,00000001", "WAIT,00000001", K::Wait, E::WaitTooLong, "00000001", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const QString cleaned = script::cleanLine(QString::fromLatin1(c.line)).text;
        EXPECT_EQ(cleaned, QString::fromLatin1(c.cleaned));
        const CheckedLine line = script::checkLine(cleaned);
        EXPECT_FALSE(line.blank);
        EXPECT_EQ(line.spec ? std::optional(line.spec->keyword) : std::nullopt, c.keyword);
        EXPECT_EQ(line.error, c.error);
        EXPECT_EQ(line.data, QString::fromLatin1(c.data));
        EXPECT_EQ(line.acceptedDataCharacters, c.accepted);
    }
}

TEST(ScriptLanguage, DataLongerThanAFrameCarriesIsRefusedWhateverTheKeyword) {
    // 255 data bytes fit a frame's length byte; the raw command's data also holds "01",
    // the command code and the length in front of them.
    EXPECT_FALSE(check("TQ73RNDLL_SENDRECV," + hexDigits(510)).error);
    EXPECT_EQ(check("TQ73RNDLL_SENDRECV," + hexDigits(512)).error, ScriptError::NotCompliant);
    EXPECT_EQ(check("TQ73RNDLL_SELECT," + hexDigits(512)).error, ScriptError::NotCompliant);
    EXPECT_FALSE(check("TQ73RNDLL_KVCMD,01" + hexDigits(514)).error);
    EXPECT_EQ(check("TQ73RNDLL_KVCMD,01" + hexDigits(516)).error, ScriptError::NotCompliant);
}

TEST(ScriptLanguage, WaitValueAndBlankLines) {
    EXPECT_EQ(check("WAIT, 1 0").waitValue, 10);
    EXPECT_EQ(check("WAIT,9999999").waitValue, 9999999);
    for (const char* blank : {"", "\n", " \t ", "\r\n"}) {
        const CheckedLine line = check(QString::fromLatin1(blank));
        EXPECT_TRUE(line.blank) << blank;
        EXPECT_FALSE(line.error);
    }
}

TEST(ScriptLanguage, CapitalsStayInsideTheSingleByteCharacterSet) {
    EXPECT_EQ(script::toScriptUpper(QString::fromLatin1("az\xE0\xF7\xFE\xDF\xFF\xB5")),
              QString::fromLatin1("AZ\xC0\xF7\xDE\xDF\xFF\xB5"));
    EXPECT_EQ(script::cleanLine(QString::fromLatin1("rem, caf\xE9")).text,
              QString::fromLatin1("REM,CAF\xC9"));
}
