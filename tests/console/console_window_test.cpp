#include "console/console_window.hpp"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <map>

#include "core/run_guard.hpp"
#include "core/status_bar.hpp"
#include "qstring_printer.hpp"
#include "reader/recording_reader.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"
#include "window_fixture.hpp"

using console::ConsoleWindow;
using reader::ReaderFunction;
using widgets::HexEntryBox;

// Readable failures for texts.

namespace {

class ConsoleWindowTest
    : public testsupport::WindowFixture<ConsoleWindow, core::WindowKind::Console> {
  protected:
    explicit ConsoleWindowTest(reader::ReaderLibrary* reader = nullptr) : WindowFixture(reader) {}

    QString text(const QString& name) {
        if (auto* e = w->findChild<QLineEdit*>(name)) return e->text();
        return get<QLabel>(name)->text();
    }
    bool shown(const QString& name) { return get<QWidget>(name)->isVisibleTo(w); }

    void pick(const char* entry) {
        choose(QStringLiteral("cboTQ73RN_CommandList"), QString::fromLatin1(entry));
    }
    void type(const QString& name, const QString& value) {
        auto* box = get<HexEntryBox>(name);
        box->setText(value);
        box->commit();
    }
    std::vector<std::string> kvRequests() { return tc.scripted.requestsTo(ReaderFunction::KvCmd); }
    // A key typed into a box as the keyboard delivers it: through its key filter.
    void key(const QString& name, Qt::Key k, const QString& typed = {}) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(get<QWidget>(name), &press);
    }
};

// The console on the simulated board, wrapped in a journal of calls.
struct SimulatedBoardHolder {
    simboard::SimulatedBoard board;
    reader::RecordingReader recording{board};
};

class ConsoleOnBoardTest : protected SimulatedBoardHolder, public ConsoleWindowTest {
  protected:
    ConsoleOnBoardTest() : ConsoleWindowTest(&recording) {}
    simboard::SimulatedBoard& simulated() { return board; }
};

}  // namespace

TEST_F(ConsoleWindowTest, LoadShowsOnlyTheListAndChecksTheUsbLink) {
    tc.values().ScriptLoopEnabled = true;
    w = static_cast<ConsoleWindow*>(tc.ctx->windows().show(core::WindowKind::Console));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("   TQ73RN user interface"));
    EXPECT_FALSE(tc.values().ScriptLoopEnabled);
    EXPECT_EQ(tc.values().SolaChipId, QStringLiteral("00"));
    auto* list = get<QComboBox>(QStringLiteral("cboTQ73RN_CommandList"));
    EXPECT_EQ(list->count(), 9);
    EXPECT_EQ(list->currentText(), QStringLiteral(" TQ73RN Command List "));
    for (const char* panel : {"FraCommandCodeXX", "FraCommandCode02", "FraCommandCode07"}) {
        EXPECT_FALSE(shown(QString::fromLatin1(panel))) << panel;
    }
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbHandleCheck), 1);
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::KvCmd), 0);
}

TEST_F(ConsoleWindowTest, UnpluggedBoardAtLoadIsReconnectedAndShownNotConnected) {
    tc.ctx->statusBar().setPanelText(1, QString::fromLatin1(core::kBoardConnectedPhrase));
    tc.scripted.setDefault(ReaderFunction::UsbHandleCheck, 1);
    open();
    EXPECT_TRUE(shown(QStringLiteral("cboTQ73RN_CommandList")));
    EXPECT_EQ(tc.ctx->statusBar().panelText(1),
              QString::fromLatin1(core::kBoardNotConnectedPhrase));
    // Every pick checks the link again; the reconnect is not repeated beyond that.
    tc.scripted.clearCalls();
    pick(" 01 : IDN ");
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbHandleCheck), 2);
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbConnect), 1);
}

TEST_F(ConsoleWindowTest, EachCommandSendsTheFrameComposedFromItsBoxes) {
    open();
    struct Case {
        const char* entry;
        std::function<void()> compose;
        const char* sent;
        const char* requestBox;
    };
    const std::vector<Case> cases = {
        {" 01 : IDN ", [] {}, "010100", " 0100"},
        {" 04 : SendRecv ", [this] { type(QStringLiteral("txtCodeXXFrameData"), "260100"); },
         "010403260100", " 0403260100"},
        // An odd digit count gets a trailing 0 and the length follows the data.
        {" 04 : SendRecv ", [this] { type(QStringLiteral("txtCodeXXFrameData"), "ABC"); },
         "010402ABC0", " 0402ABC0"},
        {" 08 : RdReg ", [] {}, "010803620100", " 0803620100"},
        {" 08 : RdReg ", [this] { click(QStringLiteral("optCmd08ReadRegister_1")); },
         "010803690100", " 0803690100"},
        {" 09 : WrReg ", [this] { click(QStringLiteral("optCmd09WriteRegister_0")); },
         "010903680001", " 0903680001"},
        {" 09 : WrReg ",
         [this] {
             click(QStringLiteral("optCmd09WriteRegister_1"));
             type(QStringLiteral("txtCodeXXFrameData"), "D1");
         },
         "010904680101D1", " 0904680101D1"},
        {" 09 : WrReg ", [this] { click(QStringLiteral("optCmd09WriteRegister_3")); },
         "01090468010710", " 090468010710"},
        {" 0A : BaudRate ", [this] { type(QStringLiteral("txtCodeXXFrame_2"), "5"); }, "010A0105",
         " 0A0105"},
        {" 55 : Echo-code ", [] {}, "0155", " 55"},
        {" 07 : Idle ", [] {}, "01070E0804000400180000000000000000",
         " 070E0804000400180000000000000000"},
        {" 02 : Protocol Select ", [this] { click(QStringLiteral("OptProtocolCode_1")); },
         "010202010D", " 0202010D"},
    };
    for (const auto& c : cases) {
        tc.scripted.clearCalls();
        pick(c.entry);
        c.compose();
        const std::string code = std::string(c.entry).substr(1, 2);
        const QString suffix = code == "02" ? "02" : code == "07" ? "07" : "XX";
        click(QStringLiteral("cmdSendCommandCode") + suffix);
        EXPECT_EQ(kvRequests(), std::vector<std::string>{c.sent}) << c.entry;
        EXPECT_EQ(text(QStringLiteral("txtCommandCode%1Request").arg(suffix)),
                  QString::fromLatin1(c.requestBox))
            << c.entry;
    }
}

TEST_F(ConsoleWindowTest, IdlePresetsFillEveryBox) {
    open();
    pick(" 07 : Idle ");
    type(QStringLiteral("txtCode07Frame_9"), "");  // an emptied box is sent as 00
    type(QStringLiteral("txtCode07Frame_12"), "f");
    click(QStringLiteral("cmdSendCommandCode07"));
    const char* presets[] = {
        "070E0804000400180000000000000000", "070E0801003800180000600000000000",
        "070E1001003800180000600000000000", "070E0121003800180060600000000008",
        "070E0A21007901180020606064743F08", "070E03A100F801180020606000003F01",
    };
    EXPECT_EQ(kvRequests().back(), "01070E080400040018000000000F000000");
    for (int k = 0; k < 6; ++k) {
        click(QStringLiteral("optIDLEframe_%1").arg(k));
        click(QStringLiteral("cmdSendCommandCode07"));
        EXPECT_EQ(kvRequests().back(), std::string("01") + presets[k]) << k;
    }
}

TEST_F(ConsoleWindowTest, AnswersAreExplainedLineByLine) {
    open();
    pick(" 04 : SendRecv ");
    type(QStringLiteral("txtCodeXXFrameData"), "260100");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "800E000123456789ABCDEF0102AABB00");
    click(QStringLiteral("cmdSendCommandCodeXX"));
    EXPECT_EQ(text(QStringLiteral("txtCommandCodeXXAnswer")),
              QStringLiteral("800E000123456789ABCDEF0102AABB00"));
    const QString expected[] = {"80 : Result code = OK", "0E : Lenght of Data (14)",
                                "00 01 23 45 67 89 AB CD EF 01 02 : Tag answer", "AA BB : CRC",
                                "00 : Protocol result"};
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("txtCommandCodeXXAnswerExplain_%1").arg(i);
        EXPECT_TRUE(shown(name)) << i;
        EXPECT_EQ(text(name), expected[i]) << i;
    }

    // A code without a row leaves every explanation box hidden.
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "8200");
    click(QStringLiteral("cmdSendCommandCodeXX"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(shown(QStringLiteral("txtCommandCodeXXAnswerExplain_%1").arg(i))) << i;
    }

    // Picking a command empties the request, the answer and the explanations.
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    pick(" 07 : Idle ");
    click(QStringLiteral("cmdSendCommandCode07"));
    EXPECT_EQ(text(QStringLiteral("txtCommandCode07AnswerExplain_0")),
              QStringLiteral("00 : Result code = Device exits from Idle mode"));
    pick(" 07 : Idle ");
    EXPECT_EQ(text(QStringLiteral("txtCommandCode07Answer")), QString());
    EXPECT_FALSE(shown(QStringLiteral("txtCommandCode07AnswerExplain_0")));
}

// Each command's answers fill the explanation boxes that its table names, a line written
// empty included, and leave every other box hidden, also one that the Send before showed.
TEST_F(ConsoleWindowTest, OnlyTheExplanationBoxesAnAnswerWritesAreShown) {
    open();
    struct Case {
        const char* entry;
        const char* answer;
        int lines;  // boxes 0 to lines - 1 shown, the rest hidden
    };
    const Case cases[] = {
        {" 01 : IDN ", "0004414200AA", 3},
        {" 01 : IDN ", "0002AABB", 3},  // no character: the third line is written empty
        {" 01 : IDN ", "8200", 0},
        {" 04 : SendRecv ", "800E000123456789ABCDEF0102AABB00", 5},
        {" 04 : SendRecv ", "900101", 3},
        {" 04 : SendRecv ", "8600", 2},
        {" 04 : SendRecv ", "8700", 2},
        {" 04 : SendRecv ", "8200", 0},
        {" 08 : RdReg ", "0001AA", 3},
        {" 08 : RdReg ", "8200", 2},
        {" 08 : RdReg ", "8300", 2},
        {" 09 : WrReg ", "0000", 2},
        {" 09 : WrReg ", "8500", 2},
        {" 0A : BaudRate ", "5500", 2},
        {" 0A : BaudRate ", "8300", 2},
        {" 55 : Echo-code ", "5500", 0},
        {" 02 : Protocol Select ", "0002AABB", 3},
        {" 02 : Protocol Select ", "8200", 0},
        {" 07 : Idle ", "0000", 2},
        {" 07 : Idle ", "8200", 2},
    };
    QString shownEntry;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.entry) + c.answer);
        const QString entry = QString::fromLatin1(c.entry);
        const QString id = entry.mid(1, 2) == QLatin1String("02")   ? QStringLiteral("02")
                           : entry.mid(1, 2) == QLatin1String("07") ? QStringLiteral("07")
                                                                    : QStringLiteral("XX");
        // The same entry stays picked, for each Send to meet the boxes of the one before.
        if (entry != shownEntry) {
            pick(c.entry);
            if (id == QLatin1String("02")) click(QStringLiteral("OptProtocolCode_1"));
            shownEntry = entry;
        }
        tc.scripted.queue(ReaderFunction::KvCmd, 0, c.answer);
        click(QStringLiteral("cmdSendCommandCode") + id);
        ASSERT_EQ(text(QStringLiteral("txtCommandCode%1Answer").arg(id)),
                  QString::fromLatin1(c.answer));
        const int boxes = id == QLatin1String("XX") ? 5 : id == QLatin1String("02") ? 3 : 2;
        for (int i = 0; i < boxes; ++i) {
            const QString box = QStringLiteral("txtCommandCode%1AnswerExplain_%2").arg(id).arg(i);
            EXPECT_EQ(shown(box), i < c.lines) << i;
            if (i >= c.lines) {
                EXPECT_EQ(text(box), QString()) << i;
            }
        }
        EXPECT_EQ(w->findChild<QLineEdit*>(
                      QStringLiteral("txtCommandCode%1AnswerExplain_%2").arg(id).arg(boxes)),
                  nullptr);
    }
}

TEST_F(ConsoleWindowTest, FailedExchangesReconnectOnceAndSayWhy) {
    tc.ctx->statusBar().setPanelText(1, QString::fromLatin1(core::kBoardConnectedPhrase));
    open();
    pick(" 01 : IDN ");

    // 5, reconnect, one repeat that succeeds.
    tc.scripted.queue(ReaderFunction::KvCmd, 5, "");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    tc.scripted.clearCalls();
    click(QStringLiteral("cmdSendCommandCodeXX"));
    EXPECT_EQ(kvRequests(), (std::vector<std::string>{"010100", "010100"}));
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbConnect), 1);
    EXPECT_EQ(text(QStringLiteral("txtCommandCodeXXAnswerExplain_0")),
              QStringLiteral("00 : Result code = OK"));

    // 5 twice with the board gone: no third call.
    tc.scripted.setDefault(ReaderFunction::UsbHandleCheck, 1);
    tc.scripted.queue(ReaderFunction::KvCmd, 5, "");
    tc.scripted.queue(ReaderFunction::KvCmd, 5, "");
    tc.scripted.clearCalls();
    click(QStringLiteral("cmdSendCommandCodeXX"));
    EXPECT_EQ(kvRequests().size(), 2u);
    EXPECT_EQ(text(QStringLiteral("txtCommandCodeXXAnswer")),
              QStringLiteral("Transaction error : Check your reader connections"));
    EXPECT_EQ(tc.ctx->statusBar().panelText(1),
              QString::fromLatin1(core::kBoardNotConnectedPhrase));

    // The other panels carry the status and the answer's code.
    pick(" 07 : Idle ");
    tc.scripted.queue(ReaderFunction::KvCmd, 3, "8700");
    click(QStringLiteral("cmdSendCommandCode07"));
    EXPECT_EQ(text(QStringLiteral("txtCommandCode07Answer")),
              QStringLiteral("Transaction error : 3 (87)"));
    // A buffer the library never wrote is no answer at all.
    tc.scripted.queueUntouched(ReaderFunction::KvCmd, 0);
    click(QStringLiteral("cmdSendCommandCode07"));
    EXPECT_EQ(text(QStringLiteral("txtCommandCode07Answer")),
              QStringLiteral("Not correct data sent by DEMO-TQ73RN-A"));
    EXPECT_FALSE(shown(QStringLiteral("txtCommandCode07AnswerExplain_0")));
}

TEST_F(ConsoleWindowTest, EachSendWritesOneLogEntry) {
    open();
    pick(" 01 : IDN ");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    click(QStringLiteral("cmdSendCommandCodeXX"));
    pick(" 07 : Idle ");
    tc.scripted.queueUntouched(ReaderFunction::KvCmd, 0);
    click(QStringLiteral("cmdSendCommandCode07"));
    const QString expected = QStringLiteral(
        "\r\n03-14-2026 09:26:53\t>>> TQ73RNDll_KVCmd, 01 0100\r\n\t\t\t<<< 0000"
        "\r\n03-14-2026 09:26:53\t>>> TQ73RNDll_KVCmd, 01 "
        "070E0804000400180000000000000000\r\n\t\t\t<<< Not correct data sent by "
        "DEMO-TQ73RN-A");
    EXPECT_EQ(w->consoleLogText(), expected);
    EXPECT_TRUE(get<widgets::LogView>(QStringLiteral("rtfTQ73RNLogEdit"))
                    ->toPlainText()
                    .endsWith(QStringLiteral("<<< Not correct data sent by DEMO-TQ73RN-A")));
    click(QStringLiteral("cmdClearLog"));
    EXPECT_EQ(w->consoleLogText(), QString());
}

TEST_F(ConsoleWindowTest, PickingACommandBringsBackItsBoxes) {
    open();
    pick(" 08 : RdReg ");
    click(QStringLiteral("optCmd08ReadRegister_1"));
    EXPECT_EQ(text(QStringLiteral("lblCmdCodeXX_2")),
              QStringLiteral("Register address for ARC_B register"));
    pick(" 02 : Protocol Select ");
    pick(" 01 : IDN ");
    EXPECT_FALSE(shown(QStringLiteral("txtCodeXXFrame_2")));
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrame_2")), QStringLiteral("69"));
    pick(" 0A : BaudRate ");
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrame_2")), QStringLiteral("00"));
    EXPECT_FALSE(get<QLineEdit>(QStringLiteral("txtCodeXXFrame_2"))->isReadOnly());
    type(QStringLiteral("txtCodeXXFrame_2"), "7");
    pick(" 08 : RdReg ");
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrame_2")), QStringLiteral("69"));
    EXPECT_EQ(text(QStringLiteral("lblCmdCodeXX_2")), QStringLiteral("Register Address"));
    EXPECT_TRUE(get<QLineEdit>(QStringLiteral("txtCodeXXFrame_2"))->isReadOnly());
    pick(" 0A : BaudRate ");
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrame_2")), QStringLiteral("07"));
    EXPECT_TRUE(shown(QStringLiteral("FraCommandCode0Abaudrate")));

    // SendRecv data longer than the one-byte ARC_B value comes back whole after WrReg.
    pick(" 04 : SendRecv ");
    type(QStringLiteral("txtCodeXXFrameData"), "26010000");
    pick(" 09 : WrReg ");
    pick(" 04 : SendRecv ");
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrameData")), QStringLiteral("26010000"));
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrame_1")), QStringLiteral("04"));

    // A reopened console has forgotten everything.
    tc.ctx->windows().close(core::WindowKind::Console);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    open();
    pick(" 08 : RdReg ");
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrame_2")), QStringLiteral("62"));
}

// A pick that reaches the console after its close began, or while the program quits,
// does nothing: the pick checks the board's handle, and a console on its way out must not
// call the board nor change what it shows.
TEST_F(ConsoleWindowTest, ALatePickCallsNothingAndShowsNothingNew) {
    for (const bool quitting : {false, true}) {
        SCOPED_TRACE(quitting ? "quitting" : "closing");
        open();
        pick(" 07 : Idle ");
        // A run on the stack, as when the pick is delivered by a pause of a Send.
        core::RunScope held(*w);
        ASSERT_TRUE(held.started());
        if (quitting) {
            tc.ctx->setQuitting(true);
        } else {
            tc.ctx->windows().close(core::WindowKind::Console);
            ASSERT_TRUE(w->isClosing());
        }
        tc.scripted.clearCalls();
        pick(" 02 : Protocol Select ");
        EXPECT_TRUE(tc.scripted.calls().empty());
        EXPECT_TRUE(shown(QStringLiteral("FraCommandCode07")));
        EXPECT_FALSE(shown(QStringLiteral("FraCommandCode02")));
        tc.ctx->setQuitting(false);
    }
}

// A pick shows no exchange that was not made under it: whatever the panel shown before
// held (filled by a Send from Protocol Select, Idle, SendRecv or the entry itself), the
// picked entry's panel comes up with empty request, answer and explanation boxes, and so
// do the others. Only the board buttons' answer boxes keep their last answer until their
// button is clicked again.
TEST_F(ConsoleWindowTest, APickShowsItsPanelWithoutAnyEarlierExchange) {
    open();
    struct PanelBoxes {
        const char* id;
        const char* frame;
        int explanations;
    };
    const PanelBoxes panels[] = {{"XX", "FraCommandCodeXX", 5},
                                 {"02", "FraCommandCode02", 3},
                                 {"07", "FraCommandCode07", 2}};
    auto idOf = [](const QString& entry) {
        const QString code = entry.mid(1, 2);
        if (code == QLatin1String("02") || code == QLatin1String("07")) return code;
        return entry == QLatin1String(console::kCommandListHeader) ? QString()
                                                                   : QStringLiteral("XX");
    };
    auto boxesOf = [](const PanelBoxes& p) {
        const QString id = QString::fromLatin1(p.id);
        QStringList names = {QStringLiteral("txtCommandCode%1Request").arg(id),
                             QStringLiteral("txtCommandCode%1Answer").arg(id)};
        for (int k = 0; k < p.explanations; ++k)
            names << QStringLiteral("txtCommandCode%1AnswerExplain_%2").arg(id).arg(k);
        return names;
    };
    // The board buttons' answers, which no pick touches.
    pick(" 07 : Idle ");
    tc.scripted.queue(ReaderFunction::Echo, 0, "5500");
    click(QStringLiteral("cmdEcho"));
    ASSERT_EQ(text(QStringLiteral("txtEchoAnswer")), QStringLiteral("5500"));

    auto* list = get<QComboBox>(QStringLiteral("cboTQ73RN_CommandList"));
    ASSERT_EQ(list->count(), 9);
    int linesShownBefore = 0;  // explanation lines the walk saw filled before a pick
    for (int i = 0; i < list->count(); ++i) {
        const QString entry = list->itemText(i);
        for (const QString& last :
             {QStringLiteral(" 02 : Protocol Select "), QStringLiteral(" 07 : Idle "),
              QStringLiteral(" 04 : SendRecv "), entry}) {
            const QString lastId = idOf(last);
            if (lastId.isEmpty()) continue;  // the header has no Send
            SCOPED_TRACE(entry.toStdString() + ", the last Send from" + last.toStdString());
            pick(last.toLatin1().constData());
            if (lastId == QLatin1String("02")) click(QStringLiteral("OptProtocolCode_1"));
            tc.scripted.queue(ReaderFunction::KvCmd, 0,
                              last.contains(QLatin1String("SendRecv"))
                                  ? "800E000123456789ABCDEF0102AABB00"
                                  : "0000");
            click(QStringLiteral("cmdSendCommandCode") + lastId);
            ASSERT_FALSE(text(QStringLiteral("txtCommandCode%1Request").arg(lastId)).isEmpty());
            ASSERT_FALSE(text(QStringLiteral("txtCommandCode%1Answer").arg(lastId)).isEmpty());
            for (const PanelBoxes& p : panels) {
                for (const QString& name : boxesOf(p)) {
                    if (name.contains(QLatin1String("Explain")) && shown(name)) ++linesShownBefore;
                }
            }

            pick(entry.toLatin1().constData());

            const QString id = idOf(entry);
            for (const PanelBoxes& p : panels) {
                EXPECT_EQ(shown(QString::fromLatin1(p.frame)), QLatin1String(p.id) == id)
                    << p.frame;
                for (const QString& name : boxesOf(p)) {
                    EXPECT_EQ(text(name), QString()) << name.toStdString();
                    if (name.contains(QLatin1String("Explain"))) {
                        EXPECT_FALSE(shown(name)) << name.toStdString();
                    }
                }
            }
            EXPECT_EQ(text(QStringLiteral("txtEchoAnswer")), QStringLiteral("5500"));
        }
    }
    // Protocol Select's three lines, Idle's two and SendRecv's five before every entry, and
    // the entry's own lines.
    EXPECT_GE(linesShownBefore, 9 * (3 + 2 + 5));
}

// A command's panel shows the same controls whatever the user did under another command:
// an option ticked under one entry (a write mode of WrReg, a protocol of Protocol Select)
// never brings a box, caption or list of its own into the panel of the entry picked next.
TEST_F(ConsoleWindowTest, APickShowsTheSameControlsWhateverWasTickedUnderAnotherEntry) {
    open();
    auto* list = get<QComboBox>(QStringLiteral("cboTQ73RN_CommandList"));
    QStringList entries;
    for (int i = 1; i < list->count(); ++i) entries << list->itemText(i);
    ASSERT_EQ(entries.size(), 8);
    auto shownControls = [this] {
        QStringList names;
        for (const QWidget* c : w->findChildren<QWidget*>()) {
            if (!c->objectName().isEmpty() && c->isVisibleTo(w)) names << c->objectName();
        }
        names.sort();
        return names;
    };
    std::map<QString, QStringList> asFirstPicked;
    for (const QString& entry : entries) {
        pick(entry.toLatin1().constData());
        asFirstPicked[entry] = shownControls();
    }

    int ticked = 0;
    for (const QString& before : entries) {
        tc.ctx->windows().close(core::WindowKind::Console);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        open();
        pick(before.toLatin1().constData());
        QStringList options;
        for (const QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            if ((qobject_cast<const QRadioButton*>(b) || qobject_cast<const QCheckBox*>(b)) &&
                b->isVisibleTo(w) && b->isEnabled())
                options << b->objectName();
        }
        for (const QString& option : options) {
            for (const QString& entry : entries) {
                if (entry == before) continue;
                SCOPED_TRACE(
                    (before + QStringLiteral(" with ") + option + QStringLiteral(", then ") + entry)
                        .toStdString());
                pick(before.toLatin1().constData());
                click(option);
                pick(entry.toLatin1().constData());
                EXPECT_EQ(shownControls(), asFirstPicked[entry]);
            }
            ++ticked;
        }
    }
    // Protocol Select's eight protocols and WrReg's write modes at the least.
    EXPECT_GE(ticked, 8 + 4);
}

TEST_F(ConsoleWindowTest, ArcBValueIsOneByteAndSurvivesOtherPresets) {
    open();
    pick(" 09 : WrReg ");
    EXPECT_FALSE(shown(QStringLiteral("txtCodeXXFrameData")));
    click(QStringLiteral("optCmd09WriteRegister_2"));
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrameData")), QStringLiteral("00"));
    EXPECT_TRUE(get<QLineEdit>(QStringLiteral("txtCodeXXFrameData"))->isReadOnly());
    click(QStringLiteral("optCmd09WriteRegister_1"));
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrameData")), QStringLiteral("00"));

    auto* data = get<HexEntryBox>(QStringLiteral("txtCodeXXFrameData"));
    data->clear();
    for (const char* key : {"d", "1", "7"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(key));
        QCoreApplication::sendEvent(data, &press);
    }
    EXPECT_EQ(data->text(), QStringLiteral("d1"));
    EXPECT_EQ(tc.ui.beeps(), 1);
    data->commit();
    click(QStringLiteral("optCmd09WriteRegister_3"));
    EXPECT_EQ(data->text(), QStringLiteral("10"));
    click(QStringLiteral("optCmd09WriteRegister_1"));
    EXPECT_EQ(data->text(), QStringLiteral("d1"));
    EXPECT_EQ(text(QStringLiteral("txtCodeXXFrame_1")), QStringLiteral("04"));

    type(QStringLiteral("txtCodeXXFrameData"), "D");
    EXPECT_EQ(w->savedArcBValue(), QStringLiteral("D0"));
}

TEST_F(ConsoleWindowTest, ProtocolPanelFollowsChoicesAndKeepsBitsPerProtocol) {
    open();
    pick(" 02 : Protocol Select ");
    EXPECT_FALSE(shown(QStringLiteral("cmdSendCommandCode02")));
    click(QStringLiteral("OptProtocolCode_1"));
    EXPECT_TRUE(shown(QStringLiteral("cmdSendCommandCode02")));
    EXPECT_TRUE(shown(QStringLiteral("cboISO15693reader_DataRate")));
    EXPECT_FALSE(shown(QStringLiteral("cboISO14443Areader_TransDataRate")));
    EXPECT_FALSE(shown(QStringLiteral("txtCode02Frame_4")));
    EXPECT_EQ(get<QComboBox>(QStringLiteral("cboAppendCRC"))->currentText(),
              QStringLiteral(" 1 : Append CRC "));

    type(QStringLiteral("txtBitsByte0_5"), "1");
    EXPECT_EQ(text(QStringLiteral("txtByte0Configuration")), QStringLiteral("2D"));
    click(QStringLiteral("OptProtocolCode_3"));
    EXPECT_EQ(text(QStringLiteral("txtCode02Frame_3")), QStringLiteral("01"));
    EXPECT_TRUE(shown(QStringLiteral("OptByte12optional")));
    click(QStringLiteral("OptProtocolCode_1"));
    EXPECT_EQ(text(QStringLiteral("txtCode02Frame_3")), QStringLiteral("2D"));
    EXPECT_EQ(text(QStringLiteral("txtBitsByte0_5")), QStringLiteral("1"));

    auto* rate = get<QComboBox>(QStringLiteral("cboISO15693reader_DataRate"));
    rate->setCurrentIndex(1);
    emit rate->activated(1);  // " 01 : 52k "
    EXPECT_EQ(text(QStringLiteral("txtCode02Frame_3")), QStringLiteral("1D"));

    click(QStringLiteral("OptProtocolCode_4"));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("txtByte1Configuration"))->isEnabled());
    click(QStringLiteral("chkiso18092_SlotCounterByte1"));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("txtByte1Configuration"))->isEnabled());
    EXPECT_TRUE(shown(QStringLiteral("txtCode02Frame_4")));
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    click(QStringLiteral("cmdSendCommandCode02"));
    EXPECT_EQ(kvRequests().back(),
              "0102030451"
              "10");
    EXPECT_EQ(text(QStringLiteral("txtCommandCode02AnswerExplain_0")),
              QStringLiteral("00 : Result code = OK"));
    EXPECT_TRUE(shown(QStringLiteral("txtCommandCode02AnswerExplain_2")));
}

TEST_F(ConsoleWindowTest, BoardButtonsLogTheirAnswer) {
    open();
    pick(" 07 : Idle ");
    tc.scripted.queue(ReaderFunction::Echo, 5, "");
    tc.scripted.queue(ReaderFunction::Echo, 0, "5500");
    tc.scripted.queue(ReaderFunction::SendNssPulse, 2, "");
    click(QStringLiteral("cmdEcho"));
    click(QStringLiteral("cmdSendIRQPulse"));
    click(QStringLiteral("cmdNegativePulseOn_SPI_NSS"));
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), 2);
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::UsbConnect), 1);
    EXPECT_EQ(text(QStringLiteral("txtEchoAnswer")), QStringLiteral("5500"));
    EXPECT_EQ(text(QStringLiteral("txtSendIRQPulseAnswer")), QStringLiteral("0000"));
    EXPECT_EQ(text(QStringLiteral("txtNegPulse_SPI_NSS_Answer")), QString());
    EXPECT_EQ(w->consoleLogText(),
              QStringLiteral("\r\n03-14-2026 09:26:53\t>>> TQ73RNDLL_ECHO\r\n\t\t\t<<< 5500"
                             "\r\n03-14-2026 09:26:53\t>>> TQ73RNDLL_PULSE_IRQ_IN\r\n\t\t\t<<< 0000"
                             "\r\n03-14-2026 09:26:53\t>>> TQ73RNDLL_NSS_PULSE\r\n\t\t\t<<< "));
}

TEST_F(ConsoleWindowTest, SendCommitsTheFocusedBoxFirst) {
    open();
    w->show();
    QApplication::setActiveWindow(w);
    pick(" 04 : SendRecv ");
    auto* data = get<HexEntryBox>(QStringLiteral("txtCodeXXFrameData"));
    data->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), data);
    data->setText(QStringLiteral("ABC"));
    // A shortcut or the default button sends without taking the focus.
    click(QStringLiteral("cmdSendCommandCodeXX"));
    EXPECT_EQ(kvRequests(), std::vector<std::string>{"010402ABC0"});
}

TEST_F(ConsoleWindowTest, PastedTextThatIsNotHexIsRefusedAndTheAnswerBoxSaysWhichBox) {
    open();
    struct Case {
        const char* entry;
        std::function<void()> prepare;
        const char* box;
        const char* pasted;
        const char* named;
    };
    const std::vector<Case> cases = {
        // Blanks as well: the box is red, so nothing of it may go out.
        {" 04 : SendRecv ", [] {}, "txtCodeXXFrameData", "26 01 00", "<Data>"},
        {" 09 : WrReg ", [this] { click(QStringLiteral("optCmd09WriteRegister_1")); },
         "txtCodeXXFrameData", "Z1", "value"},
        {" 0A : BaudRate ", [] {}, "txtCodeXXFrame_2", "G", "<BaudRate>"},
        {" 07 : Idle ", [] {}, "txtCode07Frame_2", "0 ", "<WFUFlags>"},
        {" 07 : Idle ", [] {}, "txtCode07Frame_15", "\u00e9", "<MaxSleep>"},
        {" 02 : Protocol Select ", [this] { click(QStringLiteral("OptProtocolCode_1")); },
         "txtCode02Frame_3", "Z1", "parameter byte 0"},
    };
    int beeps = tc.ui.beeps();
    for (const auto& c : cases) {
        pick(c.entry);
        c.prepare();
        const QString code = QString::fromLatin1(c.entry).mid(1, 2);
        const QString id = code == "02" || code == "07" ? code : QStringLiteral("XX");
        // A frame sent before, so the boxes hold an exchange to clear.
        tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
        click(QStringLiteral("cmdSendCommandCode") + id);
        ASSERT_FALSE(text(QStringLiteral("txtCommandCode%1Request").arg(id)).isEmpty());

        auto* box = get<HexEntryBox>(QString::fromLatin1(c.box));
        const QString kept = box->text();
        const QString length = text(QStringLiteral("txtCodeXXFrame_1"));
        const QString arcB = w->savedArcBValue();
        type(QString::fromLatin1(c.box), QString::fromUtf8(c.pasted));
        EXPECT_TRUE(box->showsRed()) << c.box;
        // Refused text feeds nothing: not the SendRecv length, not the ARC_B value.
        EXPECT_EQ(text(QStringLiteral("txtCodeXXFrame_1")), length) << c.box;
        EXPECT_EQ(w->savedArcBValue(), arcB) << c.box;
        tc.scripted.clearCalls();
        click(QStringLiteral("cmdSendCommandCode") + id);

        const QString refusal =
            QStringLiteral(
                "Not sent: the box \"%1\" holds text that is not hex (digits 0-9, "
                "A-F; no blanks)")
                .arg(QString::fromUtf8(c.named));
        EXPECT_EQ(tc.scripted.countOf(ReaderFunction::KvCmd), 0) << c.box;
        EXPECT_EQ(tc.ui.beeps(), ++beeps) << c.box;
        EXPECT_EQ(text(QStringLiteral("txtCommandCode%1Answer").arg(id)), refusal) << c.box;
        EXPECT_EQ(text(QStringLiteral("txtCommandCode%1Request").arg(id)), QString()) << c.box;
        EXPECT_FALSE(shown(QStringLiteral("txtCommandCode%1AnswerExplain_0").arg(id))) << c.box;
        EXPECT_TRUE(w->consoleLogText().endsWith(
            QStringLiteral("\r\n03-14-2026 09:26:53\t>>> TQ73RNDll_KVCmd, \r\n\t\t\t<<< ") +
            refusal))
            << c.box;

        // The same box holding hex again is no longer red, and the frame goes out.
        type(QString::fromLatin1(c.box), kept);
        EXPECT_FALSE(box->showsRed()) << c.box;
        tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
        click(QStringLiteral("cmdSendCommandCode") + id);
        EXPECT_EQ(tc.scripted.countOf(ReaderFunction::KvCmd), 1) << c.box;
    }
}

TEST_F(ConsoleWindowTest, AHiddenProtocolSelectBoxIsNotSentSoNotRefused) {
    open();
    pick(" 02 : Protocol Select ");
    click(QStringLiteral("OptProtocolCode_2"));
    click(QStringLiteral("OptByte12optional"));
    type(QStringLiteral("txtCode02Frame_5"), "Z1");
    click(QStringLiteral("cmdSendCommandCode02"));
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::KvCmd), 0);
    EXPECT_EQ(text(QStringLiteral("txtCommandCode02Answer")),
              QStringLiteral("Not sent: the box \"parameter byte 2\" holds text that is not hex "
                             "(digits 0-9, A-F; no blanks)"));
    click(QStringLiteral("OptByte12optional"));
    click(QStringLiteral("cmdSendCommandCode02"));
    EXPECT_EQ(kvRequests(), std::vector<std::string>{"0102020200"});
}

// A click as the window system delivers it: a press and a release at the target's centre,
// which the window's event filters see.
std::vector<std::unique_ptr<QMouseEvent>> clickEvents(QWidget* target) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    std::vector<std::unique_ptr<QMouseEvent>> events;
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        events.push_back(std::make_unique<QMouseEvent>(
            type, at, target->mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
    }
    return events;
}
// Queues the click, to arrive during a later pump.
void postClick(QWidget* target) {
    for (auto& e : clickEvents(target)) QCoreApplication::postEvent(target, e.release());
}
// Delivers the click now.
void sendClick(QWidget* target) {
    for (auto& e : clickEvents(target)) QCoreApplication::sendEvent(target, e.get());
}

TEST_F(ConsoleWindowTest, OnlyASecondSendRunsInsideThePause) {
    open();
    w->show();
    pick(" 01 : IDN ");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    click(QStringLiteral("cmdSendCommandCodeXX"));  // one entry to keep
    auto* send = get<QPushButton>(QStringLiteral("cmdSendCommandCodeXX"));
    auto* clear = get<QPushButton>(QStringLiteral("cmdClearLog"));
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0001AA");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0002BBBB");
    tc.scripted.clearCalls();
    postClick(clear);
    postClick(send);
    click(QStringLiteral("cmdSendCommandCodeXX"));
    // The Clear Log click was dropped; the second Send ran to its end inside the first.
    EXPECT_EQ(kvRequests().size(), 2u);
    const QString log = w->consoleLogText();
    EXPECT_TRUE(
        log.startsWith(QStringLiteral("\r\n03-14-2026 09:26:53\t>>> TQ73RNDll_KVCmd, 01 0100"
                                      "\r\n\t\t\t<<< 0000")));
    EXPECT_EQ(log.count(QStringLiteral(">>> ")), 3);
    EXPECT_LT(log.indexOf(QStringLiteral("0001AA")), log.indexOf(QStringLiteral("0002BBBB")));
}

// During a Send's pause every kind of user input aimed at a control other than a Send
// button is dropped: the command list, a protocol option and Clear Log would each change
// the boxes or the log that the paused exchange goes on with.
TEST_F(ConsoleWindowTest, NoInputButASendReachesTheConsoleDuringAPause) {
    open();
    w->show();
    w->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w->window()));
    pick(" 02 : Protocol Select ");
    click(QStringLiteral("OptProtocolCode_1"));
    auto* list = get<QComboBox>(QStringLiteral("cboTQ73RN_CommandList"));
    auto* option = get<QRadioButton>(QStringLiteral("OptProtocolCode_2"));
    auto* clear = get<QPushButton>(QStringLiteral("cmdClearLog"));
    // A key of Clear Log's own, for a shortcut to have a control of the console to reach.
    clear->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    const QList<QWidget*> targets{list, option, clear};
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    click(QStringLiteral("cmdSendCommandCode02"));  // an entry for Clear Log to take

    auto mouse = [](QWidget* t, QEvent::Type type) {
        const QPointF at(t->width() / 2.0, t->height() / 2.0);
        QMouseEvent e(type, at, t->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(t, &e);
    };
    auto key = [](QWidget* t, QEvent::Type type, Qt::Key k) {
        QKeyEvent e(type, k, Qt::NoModifier, k == Qt::Key_Space ? QStringLiteral(" ") : QString());
        QCoreApplication::sendEvent(t, &e);
    };
    // A release or a key release ends what a press before the pause began.
    struct Kind {
        const char* name;
        std::function<void(QWidget*)> deliver;
        std::function<void(QWidget*)> beforeThePause = [](QWidget*) {};
    };
    const Kind kinds[] = {
        {"press", [&](QWidget* t) { mouse(t, QEvent::MouseButtonPress); }},
        {"release", [&](QWidget* t) { mouse(t, QEvent::MouseButtonRelease); },
         [&](QWidget* t) { mouse(t, QEvent::MouseButtonPress); }},
        {"double click", [&](QWidget* t) { mouse(t, QEvent::MouseButtonDblClick); }},
        {"key press",
         [&](QWidget* t) {
             key(t, QEvent::KeyPress, Qt::Key_Space);
             key(t, QEvent::KeyPress, Qt::Key_Down);
         }},
        {"key release", [&](QWidget* t) { key(t, QEvent::KeyRelease, Qt::Key_Space); },
         [&](QWidget* t) { key(t, QEvent::KeyPress, Qt::Key_Space); }},
        {"shortcut",
         [&](QWidget* t) {
             if (t == clear) QTest::keyClick(w->window(), Qt::Key_L, Qt::ControlModifier);
         }},
        {"wheel",
         [&](QWidget* t) {
             const QPointF at(t->width() / 2.0, t->height() / 2.0);
             QWheelEvent e(at, t->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                           Qt::NoModifier, Qt::NoScrollPhase, false);
             QCoreApplication::sendEvent(t, &e);
         }},
    };
    // What any of that input would change.
    auto state = [&] {
        QStringList s{list->currentText(), QString::number(list->view()->isVisible()),
                      QString::number(option->isDown()), QString::number(clear->isDown())};
        for (int i = 0; i < 8; ++i) {
            if (auto* o = w->findChild<QRadioButton*>(QStringLiteral("OptProtocolCode_%1").arg(i)))
                s << QString::number(o->isChecked());
        }
        return s;
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        for (QWidget* t : {static_cast<QWidget*>(option), static_cast<QWidget*>(clear)})
            kind.beforeThePause(t);
        const QStringList before = state();
        const QString log = w->consoleLogText();
        tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
        tc.scripted.clearCalls();
        bool delivered = false;
        tc.timing.setPauseHook([&] {
            if (delivered) return;
            delivered = true;
            for (QWidget* t : targets) kind.deliver(t);
        });
        click(QStringLiteral("cmdSendCommandCode02"));
        tc.timing.setPauseHook(nullptr);
        EXPECT_TRUE(delivered);
        EXPECT_EQ(state(), before);
        EXPECT_EQ(kvRequests().size(), 1u);
        const QString after = w->consoleLogText();
        EXPECT_TRUE(after.startsWith(log));
        EXPECT_EQ(after.count(QStringLiteral(">>> ")), log.count(QStringLiteral(">>> ")) + 1);
        list->hidePopup();
        option->setDown(false);
        clear->setDown(false);
    }
}

TEST_F(ConsoleWindowTest, SendsClickedFasterThanTheyRunNestOnlyAFewDeep) {
    open();
    w->show();
    pick(" 01 : IDN ");
    auto* send = get<QPushButton>(QStringLiteral("cmdSendCommandCodeXX"));
    // Every pause takes the next queued click: without a bound, 5000 clicks nest 5000
    // Sends, each with an event loop of its own on the stack.
    for (int i = 0; i < 5000; ++i) postClick(send);
    tc.scripted.clearCalls();
    click(QStringLiteral("cmdSendCommandCodeXX"));
    QCoreApplication::processEvents();
    EXPECT_GE(kvRequests().size(), 2u);
    EXPECT_LT(kvRequests().size(), 100u);
    EXPECT_EQ(w->consoleLogText().count(QStringLiteral(">>> ")),
              static_cast<qsizetype>(kvRequests().size()));
}

// Each Send button takes a click during the pause before another Send's exchange: the
// exchange runs to its end inside that pause and is logged. Clicks nest so only to a
// bound; the click during the deepest Send's pause is dropped.
TEST_F(ConsoleWindowTest, ASendClickedDuringASendsPauseRunsAndIsLogged) {
    open();
    w->show();
    struct Row {
        const char* entry;
        const char* id;
        std::function<void()> prepare;
        const char* request;  // as logged
    };
    const std::vector<Row> rows = {
        {" 01 : IDN ", "XX", [] {}, "01 0100"},
        {" 02 : Protocol Select ", "02", [this] { click(QStringLiteral("OptProtocolCode_1")); },
         "01 0202010D"},
        {" 07 : Idle ", "07", [] {}, "01 070E0804000400180000000000000000"},
    };
    const QString logged = QStringLiteral("\t>>> TQ73RNDll_KVCmd, ");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entry);
        pick(r.entry);
        r.prepare();
        auto* send = get<QPushButton>(QStringLiteral("cmdSendCommandCode%1").arg(r.id));
        // Each pause takes one click, up to `clicks`, so that a Send nesting without a
        // bound ends all the same. Gives the clicks made.
        auto run = [&](int clicks) {
            click(QStringLiteral("cmdClearLog"));
            tc.scripted.clearCalls();
            int made = 0;
            tc.timing.setPauseHook([&] {
                if (made == clicks) return;
                ++made;
                sendClick(send);
            });
            click(QStringLiteral("cmdSendCommandCode%1").arg(r.id));
            tc.timing.setPauseHook(nullptr);
            return made;
        };

        // One click during the pause: its Send runs to its end there, then the first. The
        // answers tell the calls apart.
        tc.scripted.queue(ReaderFunction::KvCmd, 0, "000101");
        tc.scripted.queue(ReaderFunction::KvCmd, 0, "000102");
        EXPECT_EQ(run(1), 1);
        EXPECT_EQ(kvRequests().size(), 2u);
        const QString log = w->consoleLogText();
        EXPECT_EQ(log.count(logged + QLatin1String(r.request) + QLatin1String("\r\n")), 2);
        EXPECT_LT(log.indexOf(QStringLiteral("<<< 000101")),
                  log.indexOf(QStringLiteral("<<< 000102")));
        EXPECT_EQ(text(QStringLiteral("txtCommandCode%1Answer").arg(r.id)),
                  QStringLiteral("000102"));

        // A click in every pause: the Sends nest to the bound, where the click during the
        // deepest one's pause is dropped.
        EXPECT_EQ(run(4 * console::kMaxNestedSends), console::kMaxNestedSends);
        EXPECT_EQ(kvRequests().size(), static_cast<std::size_t>(console::kMaxNestedSends));
        EXPECT_EQ(w->consoleLogText().count(logged),
                  static_cast<qsizetype>(console::kMaxNestedSends));
    }
}

TEST_F(ConsoleWindowTest, ClosingDuringThePauseEndsTheSendQuietly) {
    open();
    pick(" 01 : IDN ");
    // A script started after the console's load: the unload must end its loop.
    tc.values().ScriptLoopEnabled = true;
    QTimer::singleShot(0, [this] { tc.ctx->windows().close(core::WindowKind::Console); });
    QPointer<ConsoleWindow> guard(w);
    click(QStringLiteral("cmdSendCommandCodeXX"));
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::KvCmd), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_FALSE(tc.values().ScriptLoopEnabled);
}

TEST_F(ConsoleWindowTest, IdleExplanationsAreEmptiedBeforeEachExchangeAndByEveryPick) {
    open();
    pick(" 07 : Idle ");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    click(QStringLiteral("cmdSendCommandCode07"));
    const QString line0 = QStringLiteral("txtCommandCode07AnswerExplain_0");
    const QString line1 = QStringLiteral("txtCommandCode07AnswerExplain_1");
    ASSERT_EQ(text(line1), QStringLiteral("00 : Lenght of Data (0)"));

    // During the pause before the next exchange, the last answer's lines are gone.
    QStringList duringPause;
    QTimer::singleShot(0, [&] { duringPause = {text(line0), text(line1)}; });
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "8200");
    click(QStringLiteral("cmdSendCommandCode07"));
    EXPECT_EQ(duringPause, (QStringList{QString(), QString()}));
    EXPECT_EQ(text(line0), QStringLiteral("82 : Error code = Invalid command lenght"));

    // A failed exchange explains nothing, and a pick leaves no line behind, hidden or not.
    tc.scripted.queue(ReaderFunction::KvCmd, 3, "8700");
    click(QStringLiteral("cmdSendCommandCode07"));
    for (const QString& line : {line0, line1}) {
        EXPECT_FALSE(shown(line)) << line.toStdString();
        EXPECT_EQ(text(line), QString()) << line.toStdString();
    }
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    click(QStringLiteral("cmdSendCommandCode07"));
    pick(" 07 : Idle ");
    for (const QString& line : {line0, line1}) {
        EXPECT_FALSE(shown(line)) << line.toStdString();
        EXPECT_EQ(text(line), QString()) << line.toStdString();
    }
}

TEST_F(ConsoleWindowTest, SendRecvDataBoxTakesTypingAfterAnyOtherCommand) {
    open();
    const QString data = QStringLiteral("txtCodeXXFrameData");
    // WrReg leaves the box read-only under its first presets.
    for (int option : {0, 2, 3}) {
        pick(" 09 : WrReg ");
        click(QStringLiteral("optCmd09WriteRegister_%1").arg(option));
        pick(" 04 : SendRecv ");
        get<QLineEdit>(data)->clear();
        for (const char* digit : {"2", "6", "0", "1", "0", "0"})
            key(data, Qt::Key_unknown, QString::fromLatin1(digit));
        EXPECT_TRUE(shown(data)) << option;
        EXPECT_EQ(text(data), QStringLiteral("260100")) << option;
    }
    get<HexEntryBox>(data)->commit();
    click(QStringLiteral("cmdSendCommandCodeXX"));
    EXPECT_EQ(kvRequests().back(), "010403260100");
}

TEST_F(ConsoleWindowTest, ATypedBitIsInTheFrameAtOnce) {
    open();
    pick(" 02 : Protocol Select ");
    click(QStringLiteral("OptProtocolCode_4"));
    click(QStringLiteral("chkiso18092_SlotCounterByte1"));
    ASSERT_EQ(text(QStringLiteral("txtCode02Frame_4")), QStringLiteral("10"));

    // Typed over the bit's "0", as the keyboard does, without leaving the box.
    for (const char* box : {"txtBitsByte1_2", "txtBitsByte0_1"}) {
        key(QString::fromLatin1(box), Qt::Key_Backspace);
        key(QString::fromLatin1(box), Qt::Key_1, QStringLiteral("1"));
        EXPECT_EQ(text(QString::fromLatin1(box)), QStringLiteral("1"));
    }
    EXPECT_EQ(text(QStringLiteral("txtByte1Configuration")), QStringLiteral("14"));
    EXPECT_EQ(text(QStringLiteral("txtCode02Frame_4")), QStringLiteral("14"));
    EXPECT_EQ(text(QStringLiteral("txtByte0Configuration")), QStringLiteral("53"));
    EXPECT_EQ(text(QStringLiteral("txtCode02Frame_3")), QStringLiteral("53"));
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    click(QStringLiteral("cmdSendCommandCode02"));
    EXPECT_EQ(kvRequests(), std::vector<std::string>{"0102030453"
                                                     "14"});
}

// What the user meets in each panel: the boxes the program fills (command codes, lengths
// worked out from the data, the protocol code, the register frames of the presets) shown
// but closed to typing, and only the boxes meant for the user open to it. Each row is a
// step from the one before, so the steps that must close a box again (BaudRate's byte 2,
// SendRecv's data box) are walked too.
TEST_F(ConsoleWindowTest, OnlyTheBoxesMeantForTheUserTakeTyping) {
    open();
    // A box takes typing when a digit typed over its whole text changes the text.
    auto takesTyping = [](QLineEdit* box) {
        const QString before = box->text();
        const bool one = before != QLatin1String("1");
        box->selectAll();
        QKeyEvent press(QEvent::KeyPress, one ? Qt::Key_1 : Qt::Key_0, Qt::NoModifier,
                        one ? QStringLiteral("1") : QStringLiteral("0"));
        QCoreApplication::sendEvent(box, &press);
        return box->text() != before;
    };
    auto typingBoxes = [&] {
        QStringList names;
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            if (!box->isVisibleTo(w) || !takesTyping(box)) continue;
            // A list the user could type into shows its box, which has no name of its own.
            names << (box->objectName().isEmpty() ? box->parentWidget()->objectName()
                                                  : box->objectName());
        }
        names.sort();
        return names;
    };
    auto range = [](const char* name, int first, int last) {
        QStringList names;
        for (int i = first; i <= last; ++i) names << QStringLiteral("%1_%2").arg(name).arg(i);
        return names;
    };
    const QStringList generic = range("txtCodeXXFrame", 0, 4);
    const QString data = QStringLiteral("txtCodeXXFrameData");
    const QStringList byte0 = range("txtBitsByte0", 0, 7)
                              << QStringLiteral("txtByte0Configuration");
    const QStringList byte1 = range("txtBitsByte1", 0, 7)
                              << QStringLiteral("txtByte1Configuration");
    const QStringList byte12 = range("txtByte12Configuration", 0, 1);

    struct Row {
        const char* step;
        std::function<void()> act;
        QStringList typing;  // the boxes that take typing, every other shown box refuses it
        QStringList closed;  // boxes that must be shown, and refuse typing
    };
    const auto pickOf = [this](const char* entry) { return [this, entry] { pick(entry); }; };
    const auto clickOf = [this](const char* name) {
        return [this, name] { click(QString::fromLatin1(name)); };
    };
    const std::vector<Row> rows = {
        {"the header", pickOf(console::kCommandListHeader), {}, {}},
        {"IDN", pickOf(" 01 : IDN "), {}, generic.mid(0, 2)},
        {"BaudRate", pickOf(" 0A : BaudRate "), {generic[2]}, generic.mid(0, 2)},
        {"RdReg after BaudRate", pickOf(" 08 : RdReg "), {}, generic},
        {"RdReg's second register", clickOf("optCmd08ReadRegister_1"), {}, generic},
        {"BaudRate again", pickOf(" 0A : BaudRate "), {generic[2]}, generic.mid(0, 2)},
        {"WrReg after BaudRate", pickOf(" 09 : WrReg "), {}, generic},
        {"WrReg's ARC_B value", clickOf("optCmd09WriteRegister_1"), {data}, generic},
        {"WrReg's HFO to RF", clickOf("optCmd09WriteRegister_2"), {}, generic + QStringList{data}},
        {"WrReg's reset HFO", clickOf("optCmd09WriteRegister_3"), {}, generic + QStringList{data}},
        {"WrReg's index preset", clickOf("optCmd09WriteRegister_0"), {}, generic},
        {"SendRecv: the length follows the data",
         pickOf(" 04 : SendRecv "),
         {data},
         generic.mid(0, 2)},
        {"WrReg picked while its ARC_B value is chosen",
         [&] {
             pick(" 09 : WrReg ");
             click(QStringLiteral("optCmd09WriteRegister_1"));
             pick(" 55 : Echo-code ");
             pick(" 09 : WrReg ");
         },
         {data},
         generic},
        {"Echo", pickOf(" 55 : Echo-code "), {}, generic.mid(0, 1)},
        {"Idle", pickOf(" 07 : Idle "), range("txtCode07Frame", 2, 15),
         range("txtCode07Frame", 0, 1)},
        {"Protocol Select before a protocol", pickOf(" 02 : Protocol Select "), {}, {}},
        {"ISO15693 reader", clickOf("OptProtocolCode_1"),
         byte0 + QStringList{QStringLiteral("txtCode02Frame_3")}, range("txtCode02Frame", 0, 2)},
        {"ISO14443-A reader, no optional bytes", clickOf("OptProtocolCode_2"),
         byte0 + QStringList{QStringLiteral("txtCode02Frame_3")},
         range("txtCode02Frame", 0, 2) + byte12},
        {"ISO14443-A reader, optional bytes", clickOf("OptByte12optional"),
         byte0 + byte12 + range("txtCode02Frame", 3, 5), range("txtCode02Frame", 0, 2)},
        {"FeliCa reader, no slot counter", clickOf("OptProtocolCode_4"),
         byte0 + QStringList{QStringLiteral("txtCode02Frame_3")},
         range("txtCode02Frame", 0, 2) + byte1},
        {"FeliCa reader, slot counter", clickOf("chkiso18092_SlotCounterByte1"),
         byte0 + byte1 + range("txtCode02Frame", 3, 4), range("txtCode02Frame", 0, 2)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.step);
        r.act();
        for (const QString& name : r.closed) EXPECT_TRUE(shown(name)) << name.toStdString();
        QStringList expected = r.typing;
        expected.sort();
        EXPECT_EQ(typingBoxes(), expected);
    }
}

TEST_F(ConsoleOnBoardTest, AnUnpluggedBoardReadsAsALinkFailure) {
    tc.ctx->statusBar().setPanelText(1, QString::fromLatin1(core::kBoardConnectedPhrase));
    open();
    pick(" 02 : Protocol Select ");
    click(QStringLiteral("OptProtocolCode_1"));
    simulated().unplug();
    struct Case {
        const char* entry;
        const char* id;
        const char* request;
        const char* answer;
    };
    const Case cases[] = {
        {" 01 : IDN ", "XX", "01 0100", "Transaction error : Check your reader connections"},
        {" 02 : Protocol Select ", "02", "01 0202010D", "Transaction error : 5 (  )"},
        {" 07 : Idle ", "07", "01 070E0804000400180000000000000000", "Transaction error : 5 (  )"},
    };
    for (const auto& c : cases) {
        pick(c.entry);
        click(QStringLiteral("cmdSendCommandCode%1").arg(QString::fromLatin1(c.id)));
        EXPECT_EQ(text(QStringLiteral("txtCommandCode%1Answer").arg(QString::fromLatin1(c.id))),
                  QString::fromLatin1(c.answer));
        EXPECT_TRUE(w->consoleLogText().endsWith(
            QStringLiteral("\t>>> TQ73RNDll_KVCmd, ") + QString::fromLatin1(c.request) +
            QStringLiteral("\r\n\t\t\t<<< ") + QString::fromLatin1(c.answer)))
            << c.entry;
    }
    // Each Send tried the board twice, with a reconnect between.
    EXPECT_EQ(recording.callsTo(ReaderFunction::KvCmd).size(), 2u * 3u);
    EXPECT_EQ(tc.ctx->statusBar().panelText(1),
              QString::fromLatin1(core::kBoardNotConnectedPhrase));
}

TEST(ConsoleOnSimulatedBoard, SelectIso15693ThenInventoryIsExplained) {
    simboard::SimulatedBoard board;
    reader::RecordingReader recording(board);
    testsupport::TestContext tc(&recording);
    tc.ctx->windows().registerFactory(core::WindowKind::Console,
                                      [](core::AppContext& c) { return new ConsoleWindow(c); });
    auto* w = tc.ctx->windows().show(core::WindowKind::Console);
    auto find = [w](const char* name) { return w->findChild<QWidget*>(QString::fromLatin1(name)); };
    auto* list = static_cast<QComboBox*>(find("cboTQ73RN_CommandList"));
    auto pick = [list](int i) {
        list->setCurrentIndex(i);
        emit list->activated(i);
    };

    pick(2);
    static_cast<QAbstractButton*>(find("OptProtocolCode_1"))->click();
    static_cast<QAbstractButton*>(find("cmdSendCommandCode02"))->click();
    EXPECT_EQ(static_cast<QLineEdit*>(find("txtCommandCode02Answer"))->text(), "0000");

    pick(3);
    auto* data = static_cast<HexEntryBox*>(find("txtCodeXXFrameData"));
    data->setText(QStringLiteral("260100"));
    data->commit();
    static_cast<QAbstractButton*>(find("cmdSendCommandCodeXX"))->click();

    const auto sent = recording.callsTo(ReaderFunction::KvCmd);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].request, "010202010D");
    EXPECT_EQ(sent[1].request, "010403260100");
    // Flags, DSFID and an eight-byte UID from the tag, then its CRC and the status.
    const QString answer = static_cast<QLineEdit*>(find("txtCommandCodeXXAnswer"))->text();
    EXPECT_TRUE(answer.startsWith(QStringLiteral("800D00"))) << answer.toStdString();
    auto line = [&](int i) {
        return static_cast<QLineEdit*>(find(QStringLiteral("txtCommandCodeXXAnswerExplain_%1")
                                                .arg(i)
                                                .toLatin1()
                                                .constData()))
            ->text();
    };
    EXPECT_EQ(line(0), QStringLiteral("80 : Result code = OK"));
    EXPECT_EQ(line(1), QStringLiteral("0D : Lenght of Data (13)"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^([0-9A-F]{2} ){10}: Tag answer$"))
                    .match(line(2))
                    .hasMatch())
        << line(2).toStdString();
    EXPECT_EQ(line(4), QStringLiteral("00 : Protocol result"));
    tc.ctx->windows().close(core::WindowKind::Console);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
