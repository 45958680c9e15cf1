#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "core/run_guard.hpp"
#include "script_fixture.hpp"

using reader::ReaderFunction;
using scripttest::callEntry;
using scripttest::errorEntry;
using scripttest::exchangeEntry;
using scripttest::kAnticollisionEnd;
using scripttest::kAnticollisionStart;
using scripttest::kStamp;

namespace {

using Calls = std::vector<std::pair<ReaderFunction, std::string>>;

class InterpreterTest : public scripttest::ScriptFixture {
  protected:
    Calls calls() const {
        Calls out;
        for (const auto& c : tc.scripted.calls()) out.emplace_back(c.function, c.request);
        return out;
    }
};

const QString kEcho = callEntry("TQ73RNDLL_ECHO", "5500");

}  // namespace

TEST_F(InterpreterTest, EveryKeywordCallsItsFunctionAndWritesItsEntry) {
    using F = ReaderFunction;
    tc.scripted.queue(F::SendReceive, 0, "80054400080000");
    tc.scripted.queue(F::SendReceive, 0, "80054400080001");
    tc.scripted.queue(F::SendReceive, 0, "8700");
    tc.scripted.queue(F::SendReceive, 0, "80043712AB00");
    tc.scripted.queue(F::SendReceive, 0, "80030EF1C200");
    run("REM, note, more\n"
        "rem, a b\n"
        "REM\n"
        "WAIT, 2\n"
        "TQ73RNDLL_USB_CONNECT\n"
        "TQ73RNDLL_USB_HANDLE_CHECK\n"
        "TQ73RNDLL_ECHO\n"
        "TQ73RNDLL_IDN\n"
        "tq73rndll_select, 02 00 01 80\n"
        "TQ73RNDLL_SENDRECV,2607\n"
        "tq73rndll_sendreceive, 26 07\n"
        "TQ73RNDLL_KVCMD, 010100\n"
        "TQ73RNDLL_KVCMD,02A00126\n"
        "TQ73RNDLL_FIELDOFF\n"
        "TQ73RNDLL_GETDLLREV\n"
        "TQ73RNDLL_PULSE_IRQ_IN\n"
        "TQ73RNDLL_NSS_PULSE\n"
        "TQ73RNDLL_POLLING_READING\n"
        "TQ73RNDLL_GETMCUREV\n"
        "TQ73RNDLL_MCUREV\n"
        "TQ73RNDLL_RESET_SPI\n"
        "TQ73RN_SOLAXX_SELECT\n"
        "TQ73RN_SOLAxx_Initiate\n"
        "TQ73RN_SOLAXX_SELECT\n"
        "TQ73RNDLL_GET_INTERFACE_PIN_STATE\n"
        "TQ73RNDLL_ECHO\n");

    EXPECT_EQ(calls(), (Calls{{F::UsbConnect, ""},
                              {F::UsbHandleCheck, ""},
                              {F::Echo, ""},
                              {F::Idn, ""},
                              {F::Select, "02000180"},
                              {F::SendReceive, "2607"},
                              {F::SendReceive, "2607"},
                              {F::KvCmd, "010100"},
                              {F::KvCmd, "02A00126"},
                              {F::FieldOff, ""},
                              {F::GetDllRev, ""},
                              {F::SendIrqPulse, ""},
                              {F::SendNssPulse, ""},
                              {F::PollingReading, ""},
                              {F::GetMcuRev, ""},
                              {F::GetMcuRev, ""},
                              {F::ResetSpi, ""},
                              {F::SendReceive, "0E00"},
                              {F::SendReceive, "0600"},
                              {F::SendReceive, "0E37"},
                              {F::GetInterfacePinState, ""}}));
    const QString expected =
        kStamp + "REM,  note" + kStamp + "REM, AB" + kStamp + "REM" + kStamp + "WAIT, 2" +
        callEntry("TQ73RNDLL_USB_CONNECT", "return 0 value : DEMO-TQ73RN-A reconnection ok") +
        callEntry("TQ73RNDLL_USB_HANDLE_CHECK",
                  "return 0 value : DEMO-TQ73RN-A always connected to USB port") +
        kEcho + callEntry("TQ73RNDLL_IDN", "000F54513733524E2D53494D2D32410000") +
        callEntry("TQ73RNDLL_SELECT, 02000180", "0000") +
        callEntry("TQ73RNDLL_SENDRECV, 2607", "80054400080000") +
        callEntry("TQ73RNDLL_SENDRECEIVE, 2607", "80054400080001") +
        callEntry("TQ73RNDLL_KVCMD, 01 0100", "0000") +
        callEntry("TQ73RNDLL_KVCMD, 02 A00126", "0000") + callEntry("TQ73RNDLL_FIELDOFF", "0000") +
        callEntry("TQ73RNDLL_GETDLLREV", "5.1.0") + callEntry("TQ73RNDLL_PULSE_IRQ_IN", "0000") +
        callEntry("TQ73RNDLL_NSS_PULSE", "0000") + callEntry("TQ73RNDLL_POLLING_READING", "0000") +
        callEntry("TQ73RNDLL_GETMCUREV", "0003010401") +
        callEntry("TQ73RNDLL_MCUREV", "0003010401") + callEntry("TQ73RNDLL_RESET_SPI", "0000") +
        callEntry("TQ73RN_SOLAXX_SELECT (Chip_ID = 00)", "8700") +
        callEntry("TQ73RN_SOLAXX_INITIATE", "80043712AB00 (Chip_ID = 37)") +
        callEntry("TQ73RN_SOLAXX_SELECT (Chip_ID = 37)", "80030EF1C200") +
        callEntry("TQ73RNDLL_GET_INTERFACE_PIN_STATE", "000101") +
        errorEntry("TQ73RNDLL_GET_INTERFACE_PIN_STATE",
                   "!!! Script Error : Command not yet implemented !!! ");
    EXPECT_EQ(log(), expected);
    // The run is over: the script can be edited and run again.
    EXPECT_TRUE(enabled("cmdLaunchScript") && enabled("cmdScriptLoad") && enabled("cmdScriptSave"));
    EXPECT_FALSE(editor()->isReadOnly());
}

TEST_F(InterpreterTest, ALineThatBreaksARuleIsLoggedCleanedAndEndsTheRunUnsent) {
    const struct {
        const char* line;
        const char* cleaned;
        const char* message;
    } cases[] = {
        {"REM word", "REM word", "Command not recognized"},
        {"TQ73RNDLL_ECHO,", "TQ73RNDLL_ECHO,", "Too much Data parameters"},
        {"TQ73RNDLL_SELECT, 02, 00", "TQ73RNDLL_SELECT,02,00",
         "No Data found for this dll command"},
        {"WAIT, 1a", "WAIT,1A", "Data not in Hexadecimal format"},
        {"tq73rndll_sendrecv, 260", "TQ73RNDLL_SENDRECV,260",
         "Data not compliant with dll command"},
        {"TQ73RNDLL_KVCMD, 03 01 00", "TQ73RNDLL_KVCMD,030100",
         "1st byte needed to be equal to '01' or '02'"},
        {"WAIT,00000001", "WAIT,00000001", "Wait value is more than maximun accepted : 9999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        click(QStringLiteral("cmdEraseLogScript"));
        tc.scripted.clearCalls();
        run(QStringLiteral("TQ73RNDLL_ECHO\n") + QLatin1String(c.line) +
            QStringLiteral("\nTQ73RNDLL_FIELDOFF"));
        EXPECT_EQ(log(), kEcho + errorEntry(QLatin1String(c.cleaned),
                                            QStringLiteral("!!! Script Error : ") +
                                                QLatin1String(c.message) + " !!! "));
        EXPECT_EQ(calls(), (Calls{{ReaderFunction::Echo, ""}}));
        EXPECT_TRUE(enabled("cmdLaunchScript"));
    }
}

// Every keyword, with the first library call of its line finding the board unreachable:
// the keyword's own reconnect (or none) runs once, the call is not sent again, and the
// run goes on with the next line.
TEST_F(InterpreterTest, AnUnreachableBoardRunsTheKeywordsReconnectOnceAndTheRunGoesOn) {
    using F = ReaderFunction;
    const Calls reconnect = {{F::UsbConnect, ""}, {F::UsbHandleCheck, ""}};
    auto then = [](Calls calls, const Calls& more) {
        calls.insert(calls.end(), more.begin(), more.end());
        return calls;
    };
    // The call, then the plain reconnect or the ISO14443-B one.
    auto plain = [&](F f, std::string request = {}) {
        return then({{f, std::move(request)}}, reconnect);
    };
    auto iso14443B = [&](std::string request) {
        return then(plain(F::SendReceive, std::move(request)), {{F::Select, "0301"}});
    };
    const QString noAnswer;  // the buffer as the failed call left it: blanks, no NUL
    const struct {
        const char* line;
        std::optional<F> failing;  // none: the keyword calls no library function
        Calls calls;               // before the next line's FIELDOFF
        QString entries;
        bool runGoesOn = true;
    } cases[] = {
        {"REM,X", std::nullopt, {}, kStamp + "REM, X"},
        {"WAIT,0", std::nullopt, {}, kStamp + "WAIT, 0"},
        {"TQ73RNDLL_USB_CONNECT",
         F::UsbConnect,
         {{F::UsbConnect, ""}},
         callEntry("TQ73RNDLL_USB_CONNECT",
                   "return 5 value : DEMO-TQ73RN-A reconnection failed\r\n\t\t\t"
                   "verify DEMO-TQ73RN-A USB connection")},
        {"TQ73RNDLL_USB_HANDLE_CHECK",
         F::UsbHandleCheck,
         {{F::UsbHandleCheck, ""}},
         callEntry("TQ73RNDLL_USB_HANDLE_CHECK",
                   "return 5 value : DEMO-TQ73RN-A not connected USB port\r\n\t\t\t"
                   "use the 'TQ73RNDLL_USBconnect' function to reconnect your DEMO-TQ73RN-A")},
        {"TQ73RNDLL_ECHO", F::Echo, plain(F::Echo), callEntry("TQ73RNDLL_ECHO", noAnswer)},
        {"TQ73RNDLL_IDN", F::Idn, plain(F::Idn), callEntry("TQ73RNDLL_IDN", noAnswer)},
        {"TQ73RNDLL_SELECT,02000180", F::Select, plain(F::Select, "02000180"),
         callEntry("TQ73RNDLL_SELECT, 02000180", noAnswer)},
        {"TQ73RNDLL_SENDRECV,2607", F::SendReceive, plain(F::SendReceive, "2607"),
         callEntry("TQ73RNDLL_SENDRECV, 2607", noAnswer)},
        {"TQ73RNDLL_SENDRECEIVE,2607", F::SendReceive, plain(F::SendReceive, "2607"),
         callEntry("TQ73RNDLL_SENDRECEIVE, 2607", noAnswer)},
        {"TQ73RNDLL_KVCMD,010100", F::KvCmd, plain(F::KvCmd, "010100"),
         callEntry("TQ73RNDLL_KVCMD, 01 0100", noAnswer)},
        {"TQ73RNDLL_FIELDOFF", F::FieldOff, plain(F::FieldOff),
         callEntry("TQ73RNDLL_FIELDOFF", noAnswer)},
        {"TQ73RNDLL_GETDLLREV",
         F::GetDllRev,
         {{F::GetDllRev, ""}},
         callEntry("TQ73RNDLL_GETDLLREV", noAnswer)},
        {"TQ73RNDLL_PULSE_IRQ_IN", F::SendIrqPulse, plain(F::SendIrqPulse),
         callEntry("TQ73RNDLL_PULSE_IRQ_IN", noAnswer)},
        {"TQ73RNDLL_NSS_PULSE", F::SendNssPulse, plain(F::SendNssPulse),
         callEntry("TQ73RNDLL_NSS_PULSE", noAnswer)},
        {"TQ73RNDLL_POLLING_READING", F::PollingReading, plain(F::PollingReading),
         callEntry("TQ73RNDLL_POLLING_READING", noAnswer)},
        {"TQ73RNDLL_GETMCUREV", F::GetMcuRev, plain(F::GetMcuRev),
         callEntry("TQ73RNDLL_GETMCUREV", noAnswer)},
        {"TQ73RNDLL_MCUREV", F::GetMcuRev, plain(F::GetMcuRev),
         callEntry("TQ73RNDLL_MCUREV", noAnswer)},
        {"TQ73RNDLL_RESET_SPI", F::ResetSpi, plain(F::ResetSpi),
         callEntry("TQ73RNDLL_RESET_SPI", noAnswer)},
        {"TQ73RNDLL_GET_INTERFACE_PIN_STATE", F::GetInterfacePinState,
         plain(F::GetInterfacePinState),
         callEntry("TQ73RNDLL_GET_INTERFACE_PIN_STATE", noAnswer) +
             errorEntry("TQ73RNDLL_GET_INTERFACE_PIN_STATE",
                        "!!! Script Error : Command not yet implemented !!! "),
         false},
        {"TQ73RN_SOLAXX_SELECT", F::SendReceive, iso14443B("0E00"),
         callEntry("TQ73RN_SOLAXX_SELECT (Chip_ID = 00)", noAnswer)},
        {"TQ73RN_SOLAXX_INITIATE", F::SendReceive, iso14443B("0600"),
         callEntry("TQ73RN_SOLAXX_INITIATE", " (Chip_ID =   )")},
        // The first REQA finds the board gone: the script's own ISO14443-A select, and the
        // REQA is sent again only as the keyword's second REQA.
        {"TQ73RN_ISO14443-A_ANTICOLSELECT123", F::SendReceive,
         then(plain(F::SendReceive, "2607"), {{F::Select, "02000180"}, {F::SendReceive, "2607"}}),
         kAnticollisionStart + exchangeEntry("ISO14443-A REQA", "2607", noAnswer) +
             exchangeEntry("ISO14443-A REQA", "2607", "8700") + kAnticollisionEnd},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        click(QStringLiteral("cmdEraseLogScript"));
        tc.scripted.clearCalls();
        if (c.failing) tc.scripted.queueUntouched(*c.failing, reader::kStatusUnreachable);
        run(QLatin1String(c.line) + QStringLiteral("\nTQ73RNDLL_FIELDOFF"));
        Calls expected = c.calls;
        QString entries = c.entries;
        if (c.runGoesOn) {
            expected.emplace_back(F::FieldOff, "");
            entries += callEntry("TQ73RNDLL_FIELDOFF", "0000");
        }
        EXPECT_EQ(calls(), expected);
        EXPECT_EQ(log(), entries);
    }
}

TEST_F(InterpreterTest, AnotherFailedStatusIsOnlySeenInTheAnswerAndTheRunGoesOn) {
    tc.scripted.queue(ReaderFunction::Echo, 1, "8E00");
    run("TQ73RNDLL_ECHO\nTQ73RNDLL_ECHO");
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbConnect), 0);
    EXPECT_EQ(log(), callEntry("TQ73RNDLL_ECHO", "8E00") + kEcho);
}

// The chip ID is what INITIATE's buffer holds where a tag's answer has its first byte,
// whatever the answer: one that holds no chip shows blanks there, never the chip of the
// tag before it. The blanks are not sent.
TEST_F(InterpreterTest, InitiateTakesTheChipIdFromItsBufferWhateverTheAnswer) {
    using F = ReaderFunction;
    const struct {
        const char* name;
        std::optional<std::string> answer;  // none: the board unreachable, nothing written
        const char* chipId;
        const char* select;
    } cases[] = {
        {"another tag", "80045AA70D00", "5A", "0E5A"},
        {"no tag: the NUL that ends its answer reads as a blank", "8700", "  ", "0E"},
        {"the board unreachable", std::nullopt, "  ", "0E"},
        {"a transceiver error", "80045512AB01", "55", "0E55"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        click(QStringLiteral("cmdEraseLogScript"));
        tc.scripted.clearCalls();
        tc.scripted.queue(F::SendReceive, 0, "80043712AB00");  // chip 37 first
        if (c.answer) {
            tc.scripted.queue(F::SendReceive, 0, *c.answer);
        } else {
            tc.scripted.queueUntouched(F::SendReceive, reader::kStatusUnreachable);
        }
        run("TQ73RN_SOLAXX_INITIATE\nTQ73RN_SOLAXX_INITIATE\nTQ73RN_SOLAXX_SELECT");
        EXPECT_EQ(tc.scripted.requestsTo(F::SendReceive),
                  (std::vector<std::string>{"0600", "0600", c.select}));
        const QString id = QLatin1String(c.chipId);
        EXPECT_EQ(tc.values().SolaChipId, id);
        EXPECT_TRUE(log().endsWith(
            callEntry("TQ73RN_SOLAXX_INITIATE",
                      QString::fromStdString(c.answer.value_or("")) + " (Chip_ID = " + id + ")") +
            callEntry("TQ73RN_SOLAXX_SELECT (Chip_ID = " + id + ")", "8700")))
            << log().toStdString();
    }
}

TEST_F(InterpreterTest, TheChipIdLastsFromRunToRunUntilTheWindowLoadsAgain) {
    using F = ReaderFunction;
    tc.scripted.queue(F::SendReceive, 0, "80043712AB00");
    run("TQ73RN_SOLAXX_INITIATE");
    tc.scripted.clearCalls();
    run("TQ73RN_SOLAXX_SELECT");
    EXPECT_EQ(tc.scripted.requestsTo(F::SendReceive), (std::vector<std::string>{"0E37"}));

    w->close();
    open();
    EXPECT_EQ(tc.values().SolaChipId, "00");
    run("TQ73RN_SOLAXX_SELECT");
    EXPECT_EQ(tc.scripted.requestsTo(F::SendReceive), (std::vector<std::string>{"0E00"}));
}

TEST_F(InterpreterTest, ABlankLineIsLoggedInTheFirstPassOnlyAndAnEmptyFirstLineNever) {
    loop("2");
    run("\nTQ73RNDLL_ECHO\n\n\t\nREM\n");
    const QString rem = kStamp + "REM";
    EXPECT_EQ(log(), kEcho + "\r\n" + rem + kEcho + rem);
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), 2);
}

TEST_F(InterpreterTest, AnEmptyEditorRunsNothingAndChangesNothing) {
    loop("3");
    launch();
    EXPECT_TRUE(tc.scripted.calls().empty());
    EXPECT_TRUE(log().isEmpty());
    EXPECT_FALSE(counter()->isVisibleTo(w));
    EXPECT_TRUE(loopBox()->isChecked());
    EXPECT_EQ(countText(), "3");
}

// ---- Repetition ------------------------------------------------------------------------

TEST_F(InterpreterTest, ACountedLoopRunsItsPassesThenSwitchesItselfAndAutoLoopOff) {
    const struct {
        const char* count;
        int passes;
        const char* counter;
    } cases[] = {
        {"3", 3, "2"},   {"1", 1, "0"},   {"01", 1, "0"},  // a number, not the text "1"
        {"007", 7, "6"}, {"abc", 1, "0"},  // no count: one pass, never an endless loop
        {"-1", 1, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        tc.scripted.clearCalls();
        tc.values().AutoLoopEnabled = true;
        loop(QLatin1String(c.count));
        run("TQ73RNDLL_ECHO");
        EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), c.passes);
        EXPECT_EQ(counter()->text(), QLatin1String(c.counter));
        EXPECT_TRUE(counter()->isVisibleTo(w));
        EXPECT_EQ(countText(), "0");
        EXPECT_FALSE(shown("txtLOOPnumber") || shown("lblLOOPnumber"));
        EXPECT_FALSE(loopBox()->isChecked());
        EXPECT_FALSE(tc.values().ScriptLoopEnabled);
        EXPECT_FALSE(tc.values().AutoLoopEnabled);
    }
}

TEST_F(InterpreterTest, ACountOfZeroLoopsUntilTheBoxIsUnticked) {
    tc.values().AutoLoopEnabled = true;
    loop("0");
    // Each pass waits a second of virtual time; the user unticks during the third.
    tc.timing.after(2500, w, [this] { loopBox()->click(); });
    run("TQ73RNDLL_ECHO\nWAIT,100000");
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), 3);
    EXPECT_EQ(counter()->text(), "2");
    EXPECT_EQ(countText(), "0");
    EXPECT_FALSE(tc.values().ScriptLoopEnabled);
    // Only a counted loop's end switches AUTO LOOP off.
    EXPECT_TRUE(tc.values().AutoLoopEnabled);
}

TEST_F(InterpreterTest, TickingTheBoxDuringARunRepeatsItAsCounted) {
    tc.timing.after(500, w, [this] { loop("2"); });
    run("TQ73RNDLL_ECHO\nWAIT,100000");
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), 2);
    EXPECT_FALSE(loopBox()->isChecked());
    // The counter is shown only by a run that starts with the box ticked.
    EXPECT_FALSE(counter()->isVisibleTo(w));
}

TEST_F(InterpreterTest, AnErrorEndsACountedRunWithTheLoopLeftAsItStands) {
    loop("3");
    run("TQ73RNDLL_ECHO\nTQ73RNDLL_SELECT,0");
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), 1);
    EXPECT_TRUE(loopBox()->isChecked());
    EXPECT_TRUE(tc.values().ScriptLoopEnabled);
    EXPECT_EQ(countText(), "3");
    EXPECT_EQ(counter()->text(), "0");
    EXPECT_TRUE(enabled("cmdLaunchScript"));
}

TEST_F(InterpreterTest, DuringARunTheScriptIsLockedWhileTheLogAndLoopStayUsable) {
    tc.timing.after(500, w, [this] {
        EXPECT_FALSE(enabled("cmdLaunchScript") || enabled("cmdScriptLoad") ||
                     enabled("cmdScriptSave"));
        EXPECT_TRUE(editor()->isReadOnly());
        EXPECT_TRUE(enabled("cmdEraseLogScript") && enabled("chkLoopOnScript"));
        click(QStringLiteral("cmdEraseLogScript"));
    });
    run("TQ73RNDLL_ECHO\nWAIT,100000\nTQ73RNDLL_FIELDOFF");
    // The run goes on writing into the emptied log.
    EXPECT_EQ(log(), callEntry("TQ73RNDLL_FIELDOFF", "0000"));
    EXPECT_FALSE(editor()->isReadOnly());
}

TEST_F(InterpreterTest, AWaitLastsItsCountOfPassesAsATimedPause) {
    // 9999999 passes: a pause of about a hundred seconds.
    run("WAIT,9999999");
    EXPECT_EQ(tc.timing.totalPaused(), core::timedPauseMs(10000000));
    EXPECT_EQ(log(), kStamp + "WAIT, 9999999");
}
