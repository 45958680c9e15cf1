#include "boardtools/board_tools_window.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

#include "core/protocol_setup.hpp"
#include "core/reconnect.hpp"
#include "core/status_bar.hpp"
#include "pass_probe.hpp"
#include "qstring_printer.hpp"
#include "reader/recording_reader.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"
#include "window_fixture.hpp"

using boardtools::BoardToolsWindow;
using reader::ReaderFunction;

namespace {

// The fixed clock's date, as every board tools entry starts.
const QString kDate = QStringLiteral("03-14-2026");

QString entry(const char* logName, const QString& answer) {
    return QStringLiteral("\r\n") + kDate + QStringLiteral(" \t>>> ") + QLatin1String(logName) +
           QStringLiteral("\r\n\t\t<<< ") + answer;
}

class BoardToolsTest
    : public testsupport::WindowFixture<BoardToolsWindow, core::WindowKind::BoardTools> {
  protected:
    explicit BoardToolsTest(reader::ReaderLibrary* reader = nullptr) : WindowFixture(reader) {
        tc.values().DemodGainValue = QStringLiteral("D1");
        tc.values().DllRevisionNumber = 51;
    }

    QString text(const QString& name) { return get<QLineEdit>(name)->text(); }
    // The last entry of the log, from its leading CR LF.
    QString lastEntry() {
        const QString& log = w->windowLogText();
        return log.mid(log.lastIndexOf(QStringLiteral("\r\n") + kDate));
    }
    std::vector<bool> pinOptions() {
        std::vector<bool> out;
        for (int i = 0; i < 3; ++i)
            out.push_back(get<QRadioButton>(QStringLiteral("OptPinState_%1").arg(i))->isChecked());
        return out;
    }
};

struct ButtonCase {
    const char* button;
    ReaderFunction function;
    const char* answerBox;
    const char* shown;  // what the answer box shows with a healthy board
    const char* logName;
};

const ButtonCase kButtons[] = {
    {"cmdGetMCUrevision", ReaderFunction::GetMcuRev, "txtGetMCUrevisionAnswer", "0003010401",
     "TQ73RNDLL_GETMCUREV"},
    {"cmdGetDLLrevision", ReaderFunction::GetDllRev, "txtGetDLLrevisionAnswer", "5.1.0",
     "TQ73RNDLL_GETDLLREV"},
    {"cmdFieldOff", ReaderFunction::FieldOff, "txtFieldOffAnswer", "0000", "TQ73RNDLL_FIELDOFF"},
    {"cmdEcho", ReaderFunction::Echo, "txtEchoAnswer", "5500", "TQ73RNDLL_ECHO"},
    {"cmdDEMO_USB_Connect", ReaderFunction::UsbConnect, "txtUSBConnectStatus", "0",
     "TQ73RNDLL_USB_CONNECT"},
    {"cmd_USBhandlecheck", ReaderFunction::UsbHandleCheck, "txtUSBHandleCheckStatus", "0",
     "TQ73RNDLL_USB_HANDLE_CHECK"},
    {"cmdGetIDn", ReaderFunction::Idn, "txtIDnAnswer", "000F54513733524E2D53494D2D32410000",
     "TQ73RNDLL_IDN"},
    {"cmdResetSPI", ReaderFunction::ResetSpi, "txtResetSequenceAnswer", "0000",
     "TQ73RNDLL_RESET_SPI"},
    {"cmdSendIRQPulse", ReaderFunction::SendIrqPulse, "txtSendIRQPulseAnswer", "0000",
     "TQ73RNDLL_PULSE_IRQ_IN"},
    {"cmdPollingReading", ReaderFunction::PollingReading, "txtPollingReadingAnswer", "0000",
     "TQ73RNDLL_POLLING_READING"},
    {"cmdNegativePulseOn_SPI_NSS", ReaderFunction::SendNssPulse, "txtNegPulse_SPI_NSS_Answer",
     "0000", "TQ73RNDLL_NSS_PULSE"},
    {"cmdGetInterfacePinState", ReaderFunction::GetInterfacePinState,
     "txtGetInterfacePinStateAnswer", "000101", "TQ73RNDLL_GET_INTERFACE_PIN_STATE"},
};

}  // namespace

TEST_F(BoardToolsTest, LoadShowsTheGainInForceAndAnEditableEmptyLog) {
    open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("   DEMO-TQ73RN-A tool box"));
    EXPECT_EQ(get<QComboBox>(QStringLiteral("cboIso14443AModulationDepth"))->currentText(),
              QStringLiteral(" D : 95% "));
    EXPECT_EQ(get<QComboBox>(QStringLiteral("cboIso14443AReceiverGain"))->currentText(),
              QStringLiteral(" 1 : 32dB "));
    EXPECT_EQ(text(QStringLiteral("txtISO14443AModDepthReceiverGain")), QStringLiteral("D1"));
    auto* log = get<QTextEdit>(QStringLiteral("rtfTQ73RNDemoKitToolsEdit"));
    EXPECT_FALSE(log->isReadOnly());
    EXPECT_TRUE(log->toPlainText().isEmpty());
    EXPECT_TRUE(w->windowLogText().isEmpty());
    EXPECT_FALSE(get<QLineEdit>(QStringLiteral("txtAnyKVCmdRequest"))->isReadOnly());
    EXPECT_TRUE(get<QLineEdit>(QStringLiteral("txtAnyKVCmdAnswer"))->isReadOnly());
    // Loading calls nothing on the board.
    EXPECT_TRUE(tc.scripted.calls().empty());
}

TEST_F(BoardToolsTest, GainThatNoItemCarriesLeavesTheListsUnchosen) {
    tc.values().DemodGainValue = QStringLiteral("D2");
    open();
    EXPECT_EQ(get<QComboBox>(QStringLiteral("cboIso14443AModulationDepth"))->currentText(),
              QStringLiteral(" D : 95% "));
    EXPECT_EQ(get<QComboBox>(QStringLiteral("cboIso14443AReceiverGain"))->currentIndex(), -1);
}

TEST_F(BoardToolsTest, LayoutFollowsTheLibraryRevisionAndKeepsEveryGroupReachable) {
    const QStringList rev5Only = {"cmdPollingReading",          "txtPollingReadingAnswer",
                                  "cmdNegativePulseOn_SPI_NSS", "txtNegPulse_SPI_NSS_Answer",
                                  "cmdDEMO_USB_Connect",        "txtUSBConnectStatus"};
    for (int revision : {0, 4, 5, 51}) {
        SCOPED_TRACE(revision);
        tc.values().DllRevisionNumber = revision;
        open();
        const bool rev5 = revision >= 5;
        for (const QString& name : rev5Only)
            EXPECT_EQ(get<QWidget>(name)->isVisibleTo(w), rev5) << name.toStdString();
        EXPECT_TRUE(get<QWidget>(QStringLiteral("cmd_USBhandlecheck"))->isVisibleTo(w));
        EXPECT_EQ(w->height(), widgets::twipsToPixels(w, rev5 ? 9930 : 9450));
        auto* tools = get<QWidget>(QStringLiteral("FraDemokitTools"));
        EXPECT_EQ(tools->height(), widgets::twipsToPixels(w, rev5 ? 6375 : 5895));
        // The pin-state group, the gain group and the raw command lie wholly inside the
        // tools frame, and the log frame starts below them.
        for (const char* name : {"FraGetInterfacePinState", "FraIso14443AregisterValue",
                                 "cmdSendAnyKVCmdRequest", "txtAnyKVCmdRequest"}) {
            const QWidget* c = get<QWidget>(QLatin1String(name));
            EXPECT_LE(c->geometry().bottom(), tools->height()) << name;
            EXPECT_TRUE(c->isVisibleTo(w)) << name;
        }
        EXPECT_GE(get<QWidget>(QStringLiteral("FraDemoKitToolsLog"))->y(),
                  get<QWidget>(QStringLiteral("cmdSendAnyKVCmdRequest"))->geometry().bottom());
        tc.ctx->windows().close(core::WindowKind::BoardTools);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(BoardToolsTest, EachButtonCallsItsFunctionOnceAndLogsItsAnswerBox) {
    open();
    for (const ButtonCase& c : kButtons) {
        SCOPED_TRACE(c.button);
        tc.scripted.clearCalls();
        click(QLatin1String(c.button));
        ASSERT_EQ(tc.scripted.calls().size(), 1u);
        EXPECT_EQ(tc.scripted.calls()[0].function, c.function);
        EXPECT_EQ(text(QLatin1String(c.answerBox)), QLatin1String(c.shown));
        EXPECT_EQ(lastEntry(), entry(c.logName, QLatin1String(c.shown)));
    }
    // The decoded displays.
    EXPECT_EQ(text(QStringLiteral("txtMCUrevision")), QStringLiteral("1.4.1"));
    EXPECT_EQ(text(QStringLiteral("txtDLLrevision")), QStringLiteral("5.1.0"));
    EXPECT_EQ(text(QStringLiteral("txtIDn")), QStringLiteral("TQ73RN-SIM-2A"));
    EXPECT_EQ(pinOptions(), (std::vector<bool>{false, true, false}));
    // Entries follow each other in the order of the clicks.
    EXPECT_EQ(w->windowLogText().count(QStringLiteral("\r\n") + kDate), 12);
}

TEST_F(BoardToolsTest, UnreachableBoardIsReconnectedAndAskedOnceMore) {
    open();
    struct Case {
        const char* button;
        ReaderFunction function;
        int firstStatus;
        int calls;  // of the function
        bool reconnects;
    } cases[] = {
        {"cmdGetMCUrevision", ReaderFunction::GetMcuRev, 5, 2, true},
        {"cmdGetMCUrevision", ReaderFunction::GetMcuRev, 1, 2, true},
        {"cmdEcho", ReaderFunction::Echo, 5, 2, true},
        {"cmdEcho", ReaderFunction::Echo, 1, 1, false},
        {"cmdGetIDn", ReaderFunction::Idn, 5, 2, true},
        {"cmdGetInterfacePinState", ReaderFunction::GetInterfacePinState, 5, 2, true},
        {"cmdGetDLLrevision", ReaderFunction::GetDllRev, 5, 1, false},
        {"cmd_USBhandlecheck", ReaderFunction::UsbHandleCheck, 5, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " status " + std::to_string(c.firstStatus));
        tc.scripted.clearCalls();
        tc.scripted.queue(c.function, c.firstStatus, "8F00");
        click(QLatin1String(c.button));
        EXPECT_EQ(tc.scripted.countOf(c.function), c.calls);
        if (c.function != ReaderFunction::UsbHandleCheck) {
            EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbHandleCheck), c.reconnects ? 1 : 0);
        } else {
            EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbConnect), 0);
            EXPECT_EQ(text(QStringLiteral("txtUSBHandleCheckStatus")), QStringLiteral("5"));
        }
    }
    // The repeat's healthy answer is what the window shows and logs.
    EXPECT_EQ(text(QStringLiteral("txtMCUrevision")), QStringLiteral("1.4.1"));
    EXPECT_EQ(text(QStringLiteral("txtIDn")), QStringLiteral("TQ73RN-SIM-2A"));
}

TEST_F(BoardToolsTest, FailedCallsAreShownButNotDecoded) {
    open();
    // Earlier successes, so that clearing is visible.
    click(QStringLiteral("cmdGetDLLrevision"));
    click(QStringLiteral("cmdGetInterfacePinState"));
    ASSERT_EQ(pinOptions(), (std::vector<bool>{false, true, false}));

    struct Case {
        const char* button;
        ReaderFunction function;
        int status;
        const char* answer;
    } cases[] = {
        {"cmdGetMCUrevision", ReaderFunction::GetMcuRev, 3, "0003010401"},
        {"cmdGetMCUrevision", ReaderFunction::GetMcuRev, 0, "8F00"},
        {"cmdGetIDn", ReaderFunction::Idn, 3, "000F54513733524E2D53494D2D32410000"},
        {"cmdGetIDn", ReaderFunction::Idn, 0, "8200"},
        {"cmdGetInterfacePinState", ReaderFunction::GetInterfacePinState, 0, "820100"},
        {"cmdGetInterfacePinState", ReaderFunction::GetInterfacePinState, 3, "000100"},
        {"cmdGetInterfacePinState", ReaderFunction::GetInterfacePinState, 0, "000103"},
        {"cmdGetDLLrevision", ReaderFunction::GetDllRev, 3, "9.9.9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + c.answer);
        tc.scripted.queue(c.function, c.status, c.answer);
        click(QLatin1String(c.button));
        EXPECT_TRUE(lastEntry().endsWith(QStringLiteral("<<< ") + QLatin1String(c.answer)));
    }
    EXPECT_EQ(text(QStringLiteral("txtMCUrevision")), QString());
    EXPECT_EQ(text(QStringLiteral("txtGetMCUrevisionAnswer")), QStringLiteral("8F00"));
    EXPECT_EQ(text(QStringLiteral("txtIDn")), QString());
    EXPECT_EQ(pinOptions(), (std::vector<bool>{false, false, false}));
    // The library revision box keeps the last revision read with status 0.
    EXPECT_EQ(text(QStringLiteral("txtGetDLLrevisionAnswer")), QStringLiteral("9.9.9"));
    EXPECT_EQ(text(QStringLiteral("txtDLLrevision")), QStringLiteral("5.1.0"));
}

TEST_F(BoardToolsTest, FirmwareRevisionShowsOnlyTheBytesTheAnswerHolds) {
    open();
    tc.scripted.queue(ReaderFunction::GetMcuRev, 0, "000A0104");
    click(QStringLiteral("cmdGetMCUrevision"));
    EXPECT_EQ(text(QStringLiteral("txtMCUrevision")), QStringLiteral("1.4"));
    tc.scripted.queue(ReaderFunction::GetMcuRev, 0, "0000");
    click(QStringLiteral("cmdGetMCUrevision"));
    EXPECT_EQ(text(QStringLiteral("txtMCUrevision")), QString());
}

TEST_F(BoardToolsTest, PinStateChoosesOneOptionAndClearsTheOthers) {
    open();
    const std::pair<const char*, std::vector<bool>> cases[] = {
        {"000100", {true, false, false}},
        {"000102", {false, false, true}},
        {"000101", {false, true, false}},
        {"000103", {false, false, false}},
    };
    for (const auto& [answer, options] : cases) {
        tc.scripted.queue(ReaderFunction::GetInterfacePinState, 0, answer);
        click(QStringLiteral("cmdGetInterfacePinState"));
        EXPECT_EQ(pinOptions(), options) << answer;
    }
}

TEST_F(BoardToolsTest, FirmwareRevisionTellsTheStatusBarTheBoardAnswered) {
    open();
    auto& bar = tc.ctx->statusBar();
    struct Case {
        QString before;
        int status;
        QString after;
    } cases[] = {
        {QStringLiteral("Lab 3") + QLatin1String(core::kBoardNotConnectedPhrase), 0,
         QStringLiteral("Lab 3") + QLatin1String(core::kBoardConnectedPhrase)},
        {QStringLiteral("Lab 3"), 0, QStringLiteral("Lab 3")},
        // A failure other than 1 or 5 is not the firmware button's to report.
        {QStringLiteral("Lab 3") + QLatin1String(core::kBoardNotConnectedPhrase), 3,
         QStringLiteral("Lab 3") + QLatin1String(core::kBoardNotConnectedPhrase)},
    };
    for (const Case& c : cases) {
        bar.setPanelText(1, c.before);
        tc.scripted.queue(ReaderFunction::GetMcuRev, c.status, "0003010401");
        click(QStringLiteral("cmdGetMCUrevision"));
        EXPECT_EQ(bar.panelText(1), c.after);
    }
}

TEST_F(BoardToolsTest, UsbButtonsShowTheStatusNumberAndLeaveTheStatusBar) {
    open();
    auto& bar = tc.ctx->statusBar();
    bar.setPanelText(1, QLatin1String(core::kBoardNotConnectedPhrase));
    tc.scripted.queue(ReaderFunction::UsbConnect, 7);
    click(QStringLiteral("cmdDEMO_USB_Connect"));
    EXPECT_EQ(text(QStringLiteral("txtUSBConnectStatus")), QStringLiteral("7"));
    EXPECT_EQ(lastEntry(), entry("TQ73RNDLL_USB_CONNECT", QStringLiteral("7")));
    click(QStringLiteral("cmd_USBhandlecheck"));
    EXPECT_EQ(text(QStringLiteral("txtUSBHandleCheckStatus")), QStringLiteral("0"));
    EXPECT_EQ(bar.panelText(1), QLatin1String(core::kBoardNotConnectedPhrase));
}

TEST_F(BoardToolsTest, GainIsAppliedOnlyByTheRegisterButton) {
    open();
    choose(QStringLiteral("cboIso14443AModulationDepth"), QStringLiteral(" 3 : 25% "));
    choose(QStringLiteral("cboIso14443AReceiverGain"), QStringLiteral(" F : 8dB "));
    EXPECT_EQ(text(QStringLiteral("txtISO14443AModDepthReceiverGain")), QStringLiteral("3F"));
    EXPECT_EQ(tc.values().DemodGainValue, QStringLiteral("D1"));
    EXPECT_TRUE(tc.scripted.calls().empty());

    tc.scripted.queue(ReaderFunction::KvCmd, 3, "8200");
    click(QStringLiteral("cmdISO14443AchangeRegValue"));
    EXPECT_EQ(tc.values().DemodGainValue, QStringLiteral("3F"));
    EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::KvCmd),
              (std::vector<std::string>{"0109046801013F"}));
    // Its status is not tested: the answer is shown as it came.
    EXPECT_EQ(text(QStringLiteral("txtRegisterValue_Answer")), QStringLiteral("8200"));
    EXPECT_EQ(w->windowLogText(),
              QStringLiteral("\r\n") + kDate +
                  QStringLiteral(" \t>>> ISO14443A Register Value Changed (Modulation Depth & "
                                 "Receiver Gain)\r\n\t\t>>> TQ73RNDLL_KVCmd, 01 "
                                 "09046801013F\r\n\t\t<<< 8200"));

    // Every later ISO14443-A set-up sends the new value.
    tc.scripted.clearCalls();
    core::DEMO_TQ73RN_A_reconnect_iso14443A(*tc.ctx);
    const auto writes = tc.scripted.requestsTo(ReaderFunction::KvCmd);
    EXPECT_NE(std::find(writes.begin(), writes.end(), "0109046801013F"), writes.end());
}

TEST_F(BoardToolsTest, RegisterButtonSendsTheStartValue) {
    open();
    click(QStringLiteral("cmdISO14443AchangeRegValue"));
    EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::KvCmd),
              (std::vector<std::string>{"010904680101D1"}));
    EXPECT_EQ(tc.values().DemodGainValue, QStringLiteral("D1"));
}

TEST_F(BoardToolsTest, RegisterButtonNeverSendsHalfASetting) {
    tc.values().DemodGainValue.clear();
    open();
    EXPECT_EQ(get<QComboBox>(QStringLiteral("cboIso14443AModulationDepth"))->currentIndex(), -1);
    choose(QStringLiteral("cboIso14443AModulationDepth"), QStringLiteral(" 3 : 25% "));
    EXPECT_EQ(text(QStringLiteral("txtISO14443AModDepthReceiverGain")), QStringLiteral("3"));
    click(QStringLiteral("cmdISO14443AchangeRegValue"));
    EXPECT_TRUE(tc.scripted.calls().empty());
    EXPECT_TRUE(tc.values().DemodGainValue.isEmpty());
}

TEST_F(BoardToolsTest, RawCommandIsCheckedBeforeItIsSent) {
    open();
    auto* request = get<QLineEdit>(QStringLiteral("txtAnyKVCmdRequest"));
    struct Case {
        const char* typed;
        const char* sent;  // nullptr: nothing sent
        const char* logged;
    } cases[] = {
        {"", nullptr, "TQ73RNDll_KVCmd, \r\n\t\t<<< Command not sent = no request found"},
        {"010", nullptr, "TQ73RNDll_KVCmd, \r\n\t\t<<< Command not sent = request format problem"},
        {"0100", "010100", "TQ73RNDll_KVCmd, 010100\r\n\t\t<<< 0000"},
        {"01 00", "010100", "TQ73RNDll_KVCmd, 010100\r\n\t\t<<< 0000"},
        {"01 00 ", "010100", "TQ73RNDll_KVCmd, 010100\r\n\t\t<<< 0000"},
        {"01 0X", nullptr,
         "TQ73RNDll_KVCmd, \r\n\t\t<<< Command not sent = request format problem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        tc.scripted.clearCalls();
        get<QLineEdit>(QStringLiteral("txtAnyKVCmdAnswer"))->setText(QStringLiteral("before"));
        request->setText(QLatin1String(c.typed));
        click(QStringLiteral("cmdSendAnyKVCmdRequest"));
        if (c.sent) {
            EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::KvCmd),
                      (std::vector<std::string>{c.sent}));
            EXPECT_EQ(text(QStringLiteral("txtAnyKVCmdAnswer")), QStringLiteral("0000"));
        } else {
            EXPECT_TRUE(tc.scripted.calls().empty());
            EXPECT_EQ(text(QStringLiteral("txtAnyKVCmdAnswer")), QStringLiteral("before"));
        }
        EXPECT_EQ(lastEntry(), QStringLiteral("\r\n") + kDate + QStringLiteral(" \t>>> ") +
                                   QLatin1String(c.logged));
    }
}

// Red is what the Send button refuses, whichever way the text came in.
TEST_F(BoardToolsTest, RawRequestIsRedExactlyWhenItWouldBeRefused) {
    open();
    auto* request = get<widgets::HexEntryBox>(QStringLiteral("txtAnyKVCmdRequest"));
    for (const char* pasted : {"", "0", "010", "0100", "01 00", "01 00 ", " 01 0", "01 0X", "zz"}) {
        SCOPED_TRACE(pasted);
        request->setText(QLatin1String(pasted));
        const bool red = request->showsRed();
        EXPECT_EQ(request->commit(), !red);
        EXPECT_EQ(request->showsRed(), red);
        tc.scripted.clearCalls();
        click(QStringLiteral("cmdSendAnyKVCmdRequest"));
        EXPECT_EQ(tc.scripted.calls().empty(), red);
    }
    // Typed digit by digit: red while the digits are odd in number.
    request->clear();
    for (const char* key : {"0", "1", "0", "0"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QLatin1String(key));
        QCoreApplication::sendEvent(request, &press);
        EXPECT_EQ(request->showsRed(), request->text().size() % 2 != 0)
            << request->text().toStdString();
    }
    EXPECT_EQ(request->text(), QStringLiteral("0100"));
}

// Save Log writes single-byte text: what the user types into the log must survive it.
TEST_F(BoardToolsTest, TypedLogTextTheFileCannotHoldIsRefusedWithABeep) {
    open();
    click(QStringLiteral("cmdEcho"));
    auto* log = get<QTextEdit>(QStringLiteral("rtfTQ73RNDemoKitToolsEdit"));
    log->moveCursor(QTextCursor::End);
    auto type = [log](const QString& text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QCoreApplication::sendEvent(log, &press);
    };
    // A character composed through an input method (a dead key, say) comes as its commit.
    auto compose = [log](const QString& text) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(log, &commit);
    };
    type(QStringLiteral(" caf\u00E9"));
    type(QStringLiteral("\u20AC"));
    EXPECT_EQ(tc.ui.beeps(), 1);
    compose(QStringLiteral("\u00E8"));
    compose(QStringLiteral("\u20AC"));
    EXPECT_EQ(tc.ui.beeps(), 2);
    QApplication::clipboard()->setText(QStringLiteral(" \u03A9 ohm"));
    log->paste();
    EXPECT_EQ(tc.ui.beeps(), 3);
    QApplication::clipboard()->setText(QStringLiteral(" 25\u00B0C"));
    log->paste();
    EXPECT_EQ(tc.ui.beeps(), 3);
    EXPECT_TRUE(log->toPlainText().endsWith(QStringLiteral("5500 caf\u00E9\u00E8 25\u00B0C")))
        << log->toPlainText().toStdString();

    const QString path = tc.path(QStringLiteral("tools.txt"));
    tc.ui.expectSaveDialog(core::FileDialogResult{path, QStringLiteral("tools.txt")});
    click(QStringLiteral("cmdSaveLog"));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), (entry("TQ73RNDLL_ECHO", QStringLiteral("5500")) +
                                QStringLiteral(" caf\u00E9\u00E8 25\u00B0C"))
                                   .toLatin1());
}

// A log scrolled to its last entry shows its top line whole, whatever the box's height.
TEST_F(BoardToolsTest, LogShowsWholeLinesAtItsEnd) {
    open();
    auto* log = get<QTextEdit>(QStringLiteral("rtfTQ73RNDemoKitToolsEdit"));
    const int designHeight = log->height();
    for (int i = 0; i < 20; ++i) click(QStringLiteral("cmdEcho"));
    for (int extra = 0; extra < 20; extra += 3) {
        SCOPED_TRACE(extra);
        log->resize(log->width(), designHeight + extra);
        log->moveCursor(QTextCursor::End);
        ASSERT_GT(log->verticalScrollBar()->maximum(), 0);
        EXPECT_EQ(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
        const QRect top = log->cursorRect(log->cursorForPosition(QPoint(1, 1)));
        EXPECT_GE(top.top(), 0);
        EXPECT_LE(log->cursorRect().bottom(), log->viewport()->height());
    }
}

TEST_F(BoardToolsTest, ClosingDuringTheButtonsPauseCallsAndWritesNothing) {
    open();
    QTimer::singleShot(0, [this] { tc.ctx->windows().close(core::WindowKind::BoardTools); });
    QPointer<BoardToolsWindow> guard(w);
    click(QStringLiteral("cmdEcho"));
    EXPECT_TRUE(tc.scripted.calls().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

namespace {

// The simulated board behind a journal.
class BoardToolsOnSimulatedBoard : public BoardToolsTest {
  protected:
    BoardToolsOnSimulatedBoard() : BoardToolsTest(&journal) {}
    simboard::SimulatedBoard board;
    reader::RecordingReader journal{board};
};

}  // namespace

TEST_F(BoardToolsOnSimulatedBoard, ButtonsDecodeTheBoardsOwnAnswers) {
    open();
    for (const char* b : {"cmdGetMCUrevision", "cmdGetIDn", "cmdGetInterfacePinState",
                          "cmdGetDLLrevision", "cmdEcho"})
        click(QLatin1String(b));
    EXPECT_EQ(text(QStringLiteral("txtMCUrevision")), QStringLiteral("1.4.1"));
    EXPECT_EQ(text(QStringLiteral("txtIDn")),
              QString::fromStdString(board.config().identification));
    EXPECT_EQ(pinOptions(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(text(QStringLiteral("txtDLLrevision")),
              QString::fromStdString(board.config().libraryRevision));

    choose(QStringLiteral("cboIso14443AModulationDepth"), QStringLiteral(" 3 : 25% "));
    choose(QStringLiteral("cboIso14443AReceiverGain"), QStringLiteral(" F : 8dB "));
    click(QStringLiteral("cmdISO14443AchangeRegValue"));
    EXPECT_EQ(text(QStringLiteral("txtRegisterValue_Answer")), QStringLiteral("0000"));
    EXPECT_EQ(board.transceiver().registers().analog(0x01), 0x3F);
}

TEST_F(BoardToolsOnSimulatedBoard, UnpluggedBoardIsReportedInTheStatusBar) {
    open();
    tc.ctx->statusBar().setPanelText(1, QLatin1String(core::kBoardConnectedPhrase));
    board.unplug();
    journal.clearJournal();
    click(QStringLiteral("cmdEcho"));
    // Echo, the reconnect's connect and check, and the one repeat.
    EXPECT_EQ(journal.callsTo(ReaderFunction::Echo).size(), 2u);
    EXPECT_EQ(journal.callsTo(ReaderFunction::UsbHandleCheck).size(), 1u);
    EXPECT_EQ(text(QStringLiteral("txtEchoAnswer")), QString());
    EXPECT_EQ(lastEntry(), entry("TQ73RNDLL_ECHO", QString()));
    EXPECT_EQ(tc.ctx->statusBar().panelText(1), QLatin1String(core::kBoardNotConnectedPhrase));

    board.replug();
    click(QStringLiteral("cmdGetMCUrevision"));
    EXPECT_EQ(text(QStringLiteral("txtMCUrevision")), QStringLiteral("1.4.1"));
    EXPECT_EQ(tc.ctx->statusBar().panelText(1), QLatin1String(core::kBoardConnectedPhrase));
}

namespace {

// Whether a button lets pending events run between its call and its log entry.
class BoardToolsPasses : public BoardToolsTest {
  protected:
    BoardToolsPasses() : BoardToolsTest(&probe) {
        probe.setHealthyDefaults();
        probe.logLength = [this] { return w->windowLogText().size(); };
    }
    testsupport::PassProbe probe;
};

}  // namespace

// One more pass of events unless the board did what was asked: status 0 and an answer
// that begins "00". The library revision passes on a failed status alone, the USB
// buttons never.
TEST_F(BoardToolsPasses, OnePassUnlessTheBoardAnsweredDone) {
    open();
    probe.expectPasses(
        {
            {"cmdEcho", ReaderFunction::Echo, 0, "5500", true},
            {"cmdEcho", ReaderFunction::Echo, 0, "0055", false},
            {"cmdSendIRQPulse", ReaderFunction::SendIrqPulse, 0, "0000", false},
            {"cmdSendIRQPulse", ReaderFunction::SendIrqPulse, 2, "0000", true},
            {"cmdNegativePulseOn_SPI_NSS", ReaderFunction::SendNssPulse, 0, "8200", true},
            {"cmdFieldOff", ReaderFunction::FieldOff, 0, "0000", false},
            {"cmdFieldOff", ReaderFunction::FieldOff, 0, "", true},
            {"cmdResetSPI", ReaderFunction::ResetSpi, 3, "", true},
            {"cmdPollingReading", ReaderFunction::PollingReading, 0, "0000", false},
            {"cmdGetIDn", ReaderFunction::Idn, 0, "000F54513733524E2D53494D2D32410000", false},
            {"cmdGetIDn", ReaderFunction::Idn, 0, "8F00", true},
            {"cmdGetInterfacePinState", ReaderFunction::GetInterfacePinState, 0, "000101", false},
            {"cmdGetInterfacePinState", ReaderFunction::GetInterfacePinState, 4, "000101", true},
            {"cmdGetMCUrevision", ReaderFunction::GetMcuRev, 0, "0003010401", false},
            {"cmdGetMCUrevision", ReaderFunction::GetMcuRev, 0, "8F00", true},
            {"cmdGetDLLrevision", ReaderFunction::GetDllRev, 0, "5.1.0", false},
            {"cmdGetDLLrevision", ReaderFunction::GetDllRev, 3, "5.1.0", true},
            {"cmd_USBhandlecheck", ReaderFunction::UsbHandleCheck, 3, "", false},
            {"cmdDEMO_USB_Connect", ReaderFunction::UsbConnect, 3, "", false},
        },
        [this](const QString& button) { click(button); });
}
