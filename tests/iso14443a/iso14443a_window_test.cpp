#include "iso14443a/iso14443a_window.hpp"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <map>

#include "core/hex_checks.hpp"
#include "core/log_entry.hpp"
#include "core/product_catalogue.hpp"
#include "core/status_bar.hpp"
#include "log_buttons.hpp"
#include "qstring_printer.hpp"
#include "reader/recording_reader.hpp"
#include "simboard/board_config.hpp"
#include "simboard/simulated_board.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"
#include "window_fixture.hpp"

using iso14443a::Iso14443aWindow;
using reader::ReaderFunction;

namespace {

constexpr char kIso14443aProduct[] = "ISO14443-A Cards commands";
constexpr char kTopazProduct[] = "TOPAZ";

class Iso14443aWindowTest
    : public testsupport::WindowFixture<Iso14443aWindow, core::WindowKind::Iso14443A> {
  protected:
    explicit Iso14443aWindowTest(reader::ReaderLibrary* reader = nullptr) : WindowFixture(reader) {
        tc.values().DemodGainValue = QStringLiteral("D1");
    }

    // Opens the window as the product menu does: the product chosen, then its window.
    Iso14443aWindow* openProduct(const char* caption) {
        core::SelectProduct(*tc.ctx, QString::fromLatin1(caption));
        w = static_cast<Iso14443aWindow*>(tc.ctx->windows().find(core::WindowKind::Iso14443A));
        tc.scripted.clearCalls();
        return w;
    }

    QString text(const QString& name) {
        if (auto* e = w->findChild<QLineEdit*>(name)) return e->text();
        return get<QLabel>(name)->text();
    }
    QString indexedText(const char* name, int i) {
        return text(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
    }
    bool shown(const QString& name) { return get<QWidget>(name)->isVisibleTo(w); }
    // The ticked boxes of a check box array, as a bit mask.
    int ticks(const char* name) {
        int mask = 0;
        for (int i = 0; i < 8; ++i) {
            if (get<QCheckBox>(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i))
                    ->isChecked())
                mask |= 1 << i;
        }
        return mask;
    }
    std::vector<QString> analysisRows() {
        std::vector<QString> rows;
        for (int i = 0; i < 6; ++i) rows.push_back(indexedText("lblAnswerAnalysis", i));
        return rows;
    }
    bool analysisEmpty() {
        for (const QString& r : analysisRows()) {
            if (!r.isEmpty()) return false;
        }
        return ticks("chk_respflag") == 0;
    }
    void type(const QString& name, const QString& value) {
        auto* box = get<QLineEdit>(name);
        box->setText(value);
        if (auto* hex = qobject_cast<widgets::HexEntryBox*>(box)) hex->commit();
    }
    std::vector<std::string> sent() { return tc.scripted.requestsTo(ReaderFunction::SendReceive); }
    QString entry(const QString& title, const QString& request, const QString& answer) {
        return core::log_entry::titled(tc.clock.now(), title, QLatin1String(core::kLogSendRecv),
                                       request, answer);
    }
    QString lastEntry() {
        const QString& log = w->windowLogText();
        return log.mid(
            log.lastIndexOf(QStringLiteral("\r\n") + core::log_entry::dateText(tc.clock.now())));
    }
    // The read view's lines as shown.
    QStringList viewLines() {
        QStringList lines;
        auto* view = get<QListWidget>("lstReadView");
        for (int i = 0; i < view->count(); ++i) lines << view->item(i)->text();
        return lines;
    }
    // Types an address into the "from" box and leaves it.
    void typeAddress(const QString& address) { type("txtUserAddress_0", address); }
    // A write set-up, the panel's first rows typed, then Write.
    void writeRows(const char* setup, const QStringList& rows) {
        click(QString::fromLatin1(setup));
        for (int i = 0; i < rows.size(); ++i) {
            get<QLineEdit>(QStringLiteral("PWData_%1").arg(i))->setText(rows[i]);
        }
        click("cmdWriteUser");
    }
    QString gridCell(int row, int column) {
        return get<QTableWidget>(QStringLiteral("fgAnticolProcess"))->item(row, column)->text();
    }
};

// ---- Load and modes --------------------------------------------------------------------

TEST_F(Iso14443aWindowTest, LoadLogsTheEchoAndTheFourExchangesOfTheModesSetUp) {
    using core::log_entry::titled;
    using core::log_entry::untitledWithoutRequest;
    const struct {
        const char* product;
        const char* select;
        const char* titles[4];
        const char* heading;
    } modes[] = {
        {kIso14443aProduct,
         "02000180",
         {"TQ73RN CONFIGURATION : ISO14443-A protocol", "ISO14443-A : CONFIG",
          "ISO14443-A : INCREASE DEMOD GAIN", "ISO14443-A : INCREASE DEC TOLERANCE"},
         "ISO14443-A Cards user interface"},
        {kTopazProduct,
         "02000300",
         {"TQ73RN CONFIGURATION : TOPAZ (ISO14443-A) protocol", "ISO14443-A TOPAZ : CONFIG",
          "ISO14443-A TOPAZ : INCREASE DEMOD GAIN", "ISO14443-A TOPAZ : INCREASE DEC TOLERANCE"},
         "TOPAZ (ISO14443-A) user interface"},
    };
    for (const auto& m : modes) {
        SCOPED_TRACE(m.product);
        tc.values().ScriptLoopEnabled = true;
        tc.values().AddressByteCount = 2;
        tc.scripted.clearCalls();
        core::SelectProduct(*tc.ctx, QString::fromLatin1(m.product));
        w = static_cast<Iso14443aWindow*>(tc.ctx->windows().find(core::WindowKind::Iso14443A));
        ASSERT_NE(w, nullptr);

        const QDateTime now = tc.clock.now();
        const QString log =
            untitledWithoutRequest(now, core::kLogEcho, "5500") +
            titled(now, m.titles[0], core::kLogSelect, m.select, "0000") +
            titled(now, m.titles[1], core::kLogKvCmdRegister, "01 09043A005804", "0000") +
            titled(now, m.titles[2], core::kLogKvCmdRegister, "01 0904680101D1", "0000") +
            titled(now, m.titles[3], core::kLogKvCmdRegister,
                   "01 09110B00241204880F1F3F3F01000505005500", "0000") +
            "\r\n";
        EXPECT_EQ(w->windowLogText(), log);
        EXPECT_EQ(get<widgets::LogView>("rtfISO14443ALogEdit")->toPlainText(),
                  QString(log).replace("\r\n", "\n"));
        EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::KvCmd),
                  (std::vector<std::string>{"0109043A005804", "010904680101D1",
                                            "0109110B00241204880F1F3F3F01000505005500"}));
        EXPECT_EQ(text("lbl_title_ISO14443A"), m.heading);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("   ISO14443-A  user interface  ") +
                                        tc.values().SelectedProduct.Reference);
        EXPECT_FALSE(tc.values().ScriptLoopEnabled);
        EXPECT_EQ(tc.values().AddressByteCount, 1);
        EXPECT_EQ(text("txt_ISO14443A_request"), "");
        EXPECT_EQ(text("txt_ISO14443A_answer"), "");
        EXPECT_EQ(text("txt_ISO14443A_transFlag"), "00");
        EXPECT_EQ(ticks("chk_TQ73RN_transmission_flag"), 0);
    }
}

TEST_F(Iso14443aWindowTest, EachModeShowsItsOwnControls) {
    const char* isoOnly[] = {"cmd_ISO14443A_REQA",
                             "cmd_ISO14443A_WUPA",
                             "cmd_ISO14443A_HALT",
                             "cmd_ISO14443A_Anticol_2",
                             "cmd_ISO14443A_Select_0",
                             "txtUIDforSelect123",
                             "FraAnticolRoutine",
                             "lblISO14443A_answer_analysis_3",
                             "lblISO14443A_answer_analysis_5",
                             "Line2",
                             "chk_respflag_7"};
    const char* topazOnly[] = {"cmd_ISO14443A_TOPAZ_REQA",
                               "cmd_ISO14443A_TOPAZ_RID",
                               "txtHR0_TOPAZ",
                               "txtHR1_TOPAZ",
                               "txtUID_cmdSelect",
                               "lblUID_TOPAZ"};
    const char* both[] = {
        "fraISO14443A_TQ73RN_TransmissionFlag", "txt_ISO14443A_AnyFrame", "cmd_ISO14443A_SendFrame",
        "lblISO14443A_answer_analysis_2",       "lblAnswerAnalysis_4",    "rtfISO14443ALogEdit"};
    for (const char* product : {kIso14443aProduct, kTopazProduct}) {
        SCOPED_TRACE(product);
        openProduct(product);
        const bool topaz = product == kTopazProduct;
        for (const char* c : isoOnly) EXPECT_EQ(shown(c), !topaz) << c;
        for (const char* c : topazOnly) EXPECT_EQ(shown(c), topaz) << c;
        for (const char* c : both) EXPECT_TRUE(shown(c)) << c;
        // The argument of the ANTICOL frames is never shown.
        EXPECT_FALSE(shown("txtISO14443A_Anticol_Arg"));
    }
    openProduct(kIso14443aProduct);
    EXPECT_EQ(gridCell(0, 0), " ");
    EXPECT_EQ(gridCell(0, 1), "request");
    EXPECT_EQ(gridCell(0, 2), "answer");
}

TEST_F(Iso14443aWindowTest, SaveLogWritesTheLogToTheChosenFileAndClearLogEmptiesIt) {
    openProduct(kIso14443aProduct);
    click("cmd_ISO14443A_REQA");
    ASSERT_TRUE(w->windowLogText().contains("ISO14443-A REQA"));
    testsupport::expectSaveAndClearLog(tc, w, [this] { return w->windowLogText(); },
                                       {QStringLiteral("rtfISO14443ALogEdit")});
}

// ---- REQA, WUPA, HALT and the answer analysis ----------------------------------------

TEST_F(Iso14443aWindowTest, ReqaWupaAndHaltSendTheirFrameAndFlagAndAnalyseTheAnswer) {
    openProduct(kIso14443aProduct);
    const struct {
        const char* button;
        const char* request;
        const char* flag;
        int bits;
        const char* title;
    } cases[] = {
        {"cmd_ISO14443A_REQA", "2607", "07", 0x07, "ISO14443-A REQA"},
        {"cmd_ISO14443A_WUPA", "5207", "07", 0x07, "ISO14443-A WUPA"},
        {"cmd_ISO14443A_HALT", "500028", "28", 0x28, "ISO14443-A HALT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        tc.scripted.clearCalls();
        tc.scripted.queue(ReaderFunction::SendReceive, 0, "80054400080000");
        type("txt_ISO14443A_transFlag", "FF");
        click(c.button);
        EXPECT_EQ(sent(), std::vector<std::string>{c.request});
        EXPECT_EQ(text("txt_ISO14443A_transFlag"), QLatin1String(c.flag));
        EXPECT_EQ(ticks("chk_TQ73RN_transmission_flag"), c.bits);
        EXPECT_EQ(text("txt_ISO14443A_request"), c.request);
        EXPECT_EQ(lastEntry(), entry(c.title, c.request, "80054400080000"));
        EXPECT_EQ(analysisRows(), (std::vector<QString>{"80", "05", "4400", "08", "00", "00"}));
        EXPECT_EQ(ticks("chk_respflag"), 0x08);
    }
}

TEST_F(Iso14443aWindowTest, OnlyAReceivedFrameAfterASucceededCallIsAnalysed) {
    openProduct(kIso14443aProduct);
    const struct {
        reader::LibraryStatus status;
        const char* answer;
        int bits;  // -1: the panel stays empty
    } cases[] = {
        {0, "8003B00102", 0xB0},
        {0, "8008C3D4E5F604800304", 0x80},
        {0, "87", -1},
        {0, "900344", -1},
        // What a failed call left behind is shown and logged, never explained.
        {1, "80054400080000", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        tc.scripted.queue(ReaderFunction::SendReceive, c.status, c.answer);
        click("cmd_ISO14443A_REQA");
        EXPECT_EQ(text("txt_ISO14443A_answer"), c.answer);
        EXPECT_EQ(text("txt_ISO14443A_transFlag"), "07");
        if (c.bits < 0) {
            EXPECT_TRUE(analysisEmpty());
        } else {
            EXPECT_EQ(ticks("chk_respflag"), c.bits);
        }
    }
}

// ---- Single-step cascade ------------------------------------------------------------

TEST_F(Iso14443aWindowTest, SingleStepsSendTheLevelsSelectCodeAndTheBoxesAsTyped) {
    openProduct(kIso14443aProduct);
    type("txtUIDforSelect123", "8804A1B29F");
    const struct {
        const char* button;
        const char* request;
        const char* title;
        int bits;
    } cases[] = {
        {"cmd_ISO14443A_Anticol_0", "932008", "ISO14443-A ANTICOL 1", 0x08},
        {"cmd_ISO14443A_Anticol_1", "952008", "ISO14443-A ANTICOL 2", 0x08},
        {"cmd_ISO14443A_Anticol_2", "972008", "ISO14443-A ANTICOL 3", 0x08},
        {"cmd_ISO14443A_Select_0", "93708804A1B29F28", "ISO14443-A SELECT 1", 0x28},
        {"cmd_ISO14443A_Select_1", "95708804A1B29F28", "ISO14443-A SELECT 2", 0x28},
        {"cmd_ISO14443A_Select_2", "97708804A1B29F28", "ISO14443-A SELECT 3", 0x28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        tc.scripted.clearCalls();
        click(c.button);
        EXPECT_EQ(sent(), std::vector<std::string>{c.request});
        EXPECT_EQ(ticks("chk_TQ73RN_transmission_flag"), c.bits);
        EXPECT_EQ(lastEntry(), entry(c.title, c.request, "8700"));
        EXPECT_TRUE(analysisEmpty());
    }
    type("txtUIDforSelect123", "");
    tc.scripted.clearCalls();
    click("cmd_ISO14443A_Select_0");
    EXPECT_EQ(sent(), std::vector<std::string>{"937028"});
    // The single steps leave the process's UID box and grid alone.
    EXPECT_EQ(text("txtAnticolisionProcessUID"), "");
    EXPECT_EQ(gridCell(1, 0), "");
}

// ---- Send any frame ---------------------------------------------------------------------

TEST_F(Iso14443aWindowTest, SendAnyFrameSendsTheTypedFrameWithoutBlanksAndLeavesFlagAndPanel) {
    openProduct(kIso14443aProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "80054400080000");
    click("cmd_ISO14443A_REQA");
    tc.scripted.clearCalls();

    click("cmd_ISO14443A_SendFrame");  // empty box: nothing
    EXPECT_TRUE(sent().empty());

    type("txt_ISO14443A_AnyFrame", "500028");
    click("cmd_ISO14443A_SendFrame");
    EXPECT_EQ(sent(), std::vector<std::string>{"500028"});
    EXPECT_EQ(lastEntry(), entry("SEND FRAME", "500028", "8700"));
    EXPECT_EQ(text("txt_ISO14443A_transFlag"), "07");
    EXPECT_EQ(analysisRows()[2], "4400");

    // Pasted text that is not hex is refused, not sent.
    tc.scripted.clearCalls();
    get<QLineEdit>("txt_ISO14443A_AnyFrame")->setText(QStringLiteral("02 20 00"));
    click("cmd_ISO14443A_SendFrame");
    EXPECT_EQ(sent(), std::vector<std::string>{"022000"});
    EXPECT_EQ(text("txt_ISO14443A_AnyFrame"), "022000");
}

// Pasted text gets past the key filters: what is not hex is refused by the name of its
// box, before anything is shown, sent or logged.
TEST_F(Iso14443aWindowTest, ABoxHoldingTextThatIsNotHexIsRefusedByNameAndNothingIsSent) {
    openProduct(kIso14443aProduct);
    const struct {
        const char* box;
        const char* text;
        const char* button;
        const char* name;
    } cases[] = {
        {"txtUIDforSelect123", "xyz!", "cmd_ISO14443A_Select_0", "data for Select"},
        {"txt_ISO14443A_AnyFrame", "26 0g", "cmd_ISO14443A_SendFrame", "Send any frame"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        const QString log = w->windowLogText();
        const int beeps = tc.ui.beeps();
        get<QLineEdit>(c.box)->setText(QString::fromLatin1(c.text));
        tc.ui.expectMessage();
        click(c.button);
        EXPECT_TRUE(sent().empty());
        ASSERT_FALSE(tc.ui.messages().empty());
        EXPECT_EQ(tc.ui.messages().back().text, core::notHexRefusalText(c.name));
        EXPECT_EQ(tc.ui.beeps(), beeps + 1);
        EXPECT_EQ(w->windowLogText(), log);
        EXPECT_EQ(text("txt_ISO14443A_transFlag"), "00");
        EXPECT_TRUE(tc.ui.allRepliesUsed());
    }
}

// ---- Lost board ---------------------------------------------------------------------

TEST_F(Iso14443aWindowTest, ALostBoardIsReconnectedInTheWindowsModeAndEachCallRepeatedOnce) {
    const std::string sixteenZeros(32, '0');
    const struct {
        const char* product;
        const char* setup;  // the write set-up clicked before the button, if any
        const char* button;
        std::vector<std::string> requests;  // one per exchange of the command
        const char* select;
    } cases[] = {
        {kIso14443aProduct, nullptr, "cmd_ISO14443A_REQA", {"2607"}, "02000180"},
        {kIso14443aProduct, nullptr, "cmd_ISO14443A_Anticol_0", {"932008"}, "02000180"},
        {kIso14443aProduct, nullptr, "cmd_ISO14443A_SendFrame", {"5207"}, "02000180"},
        {kIso14443aProduct, nullptr, "cmd_ISO14443A_Read", {"300028"}, "02000180"},
        {kIso14443aProduct, "cmd_ISO14443A_Write", "cmdWriteUser", {"A2000000000028"}, "02000180"},
        // Each of its two exchanges on its own.
        {kIso14443aProduct,
         "cmd_ISO14443A_Write_compatibility",
         "cmdWriteUser",
         {"A00028", sixteenZeros + "28"},
         "02000180"},
        {kTopazProduct, nullptr, "cmd_ISO14443A_TOPAZ_REQA", {"2607"}, "02000300"},
        {kTopazProduct, nullptr, "cmd_ISO14443A_TOPAZ_RID", {"78000000000000A8"}, "02000300"},
        // The raw frame too: a TOPAZ window is never left set up for type A.
        {kTopazProduct, nullptr, "cmd_ISO14443A_SendFrame", {"5207"}, "02000300"},
        {kTopazProduct, nullptr, "cmd_ISO14443A_Read", {"010000A8"}, "02000300"},
        {kTopazProduct, "cmd_ISO14443A_TOPAZ_Write_E", "cmdWriteUser", {"530000A8"}, "02000300"},
        {kTopazProduct, "cmd_ISO14443A_TOPAZ_Write_NE", "cmdWriteUser", {"1A0000A8"}, "02000300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " " + (c.setup ? c.setup : c.button));
        openProduct(c.product);
        type("txt_ISO14443A_AnyFrame", "5207");
        if (c.setup) click(c.setup);
        std::vector<std::string> twice;
        for (const std::string& r : c.requests) {
            tc.scripted.queue(ReaderFunction::SendReceive, 5, "stale");
            tc.scripted.queue(ReaderFunction::SendReceive, 1, "8700");
            twice.insert(twice.end(), {r, r});
        }
        click(c.button);
        const auto exchanges = static_cast<int>(c.requests.size());
        EXPECT_EQ(sent(), twice);
        EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::Select),
                  std::vector<std::string>(c.requests.size(), c.select));
        EXPECT_EQ(tc.scripted.countOf(ReaderFunction::KvCmd), 3 * exchanges);
        EXPECT_EQ(text("txt_ISO14443A_answer"), "8700");
        EXPECT_EQ(w->windowLogText().count(QLatin1String(core::kLogSendRecv)), exchanges);
    }
}

TEST_F(Iso14443aWindowTest, ABoardAbsentAtLoadLeavesAUsableWindowMarkedNotConnected) {
    tc.ctx->statusBar().setPanelText(1, QString::fromLatin1(core::kBoardConnectedPhrase));
    tc.scripted.setDefault(ReaderFunction::Echo, 5);
    tc.scripted.setDefault(ReaderFunction::Select, 5);
    tc.scripted.setDefault(ReaderFunction::KvCmd, 5);
    tc.scripted.setDefault(ReaderFunction::UsbHandleCheck, 1);
    core::SelectProduct(*tc.ctx, QString::fromLatin1(kTopazProduct));
    w = static_cast<Iso14443aWindow*>(tc.ctx->windows().find(core::WindowKind::Iso14443A));
    ASSERT_NE(w, nullptr);
    // Four echoes (two attempts, each repeated), the select twice, each write once.
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::Echo), 4);
    EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::Select),
              (std::vector<std::string>{"02000300", "02000300"}));
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::KvCmd), 3);
    EXPECT_EQ(tc.ctx->statusBar().panelText(1),
              QString::fromLatin1(core::kBoardNotConnectedPhrase));
    EXPECT_TRUE(shown("cmd_ISO14443A_TOPAZ_RID"));
    EXPECT_TRUE(get<QWidget>("cmd_ISO14443A_TOPAZ_RID")->isEnabled());
}

// ---- TOPAZ identification --------------------------------------------------------------

TEST_F(Iso14443aWindowTest, RidFillsTheIdentificationAndTopazReqaEmptiesIt) {
    openProduct(kTopazProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "800B114811223344591B080000");
    click("cmd_ISO14443A_TOPAZ_RID");
    EXPECT_EQ(sent(), std::vector<std::string>{"78000000000000A8"});
    EXPECT_EQ(text("txt_ISO14443A_transFlag"), "A8");
    EXPECT_EQ(ticks("chk_TQ73RN_transmission_flag"), 0xA8);
    EXPECT_EQ(text("txtHR0_TOPAZ"), "11");
    EXPECT_EQ(text("txtHR1_TOPAZ"), "48");
    EXPECT_EQ(text("txtUID_cmdSelect"), "11223344");
    EXPECT_EQ(analysisRows(),
              (std::vector<QString>{"80", "0B", "114811223344591B080000", "", "", ""}));
    EXPECT_EQ(lastEntry(),
              entry("ISO14443-A TOPAZ RID", "78000000000000A8", "800B114811223344591B080000"));

    tc.scripted.queue(ReaderFunction::SendReceive, 0, "80050C00080000");
    click("cmd_ISO14443A_TOPAZ_REQA");
    EXPECT_EQ(text("txtUID_cmdSelect"), "");
    EXPECT_EQ(text("txtHR0_TOPAZ"), "");
    EXPECT_EQ(text("txt_ISO14443A_transFlag"), "07");
    EXPECT_EQ(analysisRows()[2], "0C00080000");
    EXPECT_EQ(lastEntry(), entry("ISO14443-A TOPAZ REQA", "2607", "80050C00080000"));

    // A cut answer fills what it holds; a failed one nothing.
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "8005114811");
    click("cmd_ISO14443A_TOPAZ_RID");
    EXPECT_EQ(text("txtHR1_TOPAZ"), "48");
    EXPECT_EQ(text("txtUID_cmdSelect"), "11");
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "8700");
    click("cmd_ISO14443A_TOPAZ_RID");
    EXPECT_EQ(text("txtHR0_TOPAZ"), "");
    EXPECT_EQ(text("txtUID_cmdSelect"), "");
    EXPECT_TRUE(analysisEmpty());
}

TEST_F(Iso14443aWindowTest, TheTopazUidIsReadOnlyForTheUser) {
    openProduct(kTopazProduct);
    auto* uid = get<widgets::HexEntryBox>("txtUID_cmdSelect");
    EXPECT_TRUE(uid->isReadOnly());
    uid->setFocus();
    QKeyEvent g(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"));
    QCoreApplication::sendEvent(uid, &g);
    QKeyEvent five(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    QCoreApplication::sendEvent(uid, &five);
    EXPECT_EQ(uid->text(), "");
    EXPECT_EQ(tc.ui.beeps(), 1);
}

// ---- The anticollision process on scripted answers ------------------------------------

// Runs one after the other in the same window, each shorter than the one before: a run
// shows its own steps and UID only.
TEST_F(Iso14443aWindowTest, ProcessStopsAtTheFirstAnswerThatDoesNotLetItGoOn) {
    openProduct(kIso14443aProduct);
    const auto process = [this](std::initializer_list<const char*> answers) {
        tc.scripted.clearCalls();
        for (const char* a : answers) tc.scripted.queue(ReaderFunction::SendReceive, 0, a);
        click("cmd_ISO14443A_Anticol_Process");
    };
    const auto stepsShown = [this] {
        int rows = 0;
        while (rows < 7 && !gridCell(rows + 1, 0).isEmpty()) ++rows;
        for (int row = rows + 1; row <= 7; ++row) {
            EXPECT_EQ(gridCell(row, 1) + gridCell(row, 2), "") << row;
        }
        return rows;
    };

    // A short-frame REQA answer goes on at once; SELECT 2 refused ends the run at row 5.
    process({"900344", "80088804A1B29F080000", "800604DA17080000", "8008C3D4E5F604080000", "8700"});
    EXPECT_EQ(sent(), (std::vector<std::string>{"2607", "932008", "93708804A1B29F28", "952008",
                                                "9570C3D4E5F60428"}));
    EXPECT_EQ(stepsShown(), 5);
    EXPECT_EQ(gridCell(5, 0), "SELECT 2");
    EXPECT_EQ(gridCell(5, 2), " 8700");
    EXPECT_EQ(text("txtAnticolisionProcessUID"), "04A1B2C3D4E5F6");
    EXPECT_EQ(text("txt_ISO14443A_transFlag"), "28");
    EXPECT_TRUE(analysisEmpty());

    // SELECT 1 unanswered though its part began with the cascade tag: no level 2.
    process({"80054400080000", "80088804A1B29F080000", "8700"});
    EXPECT_EQ(sent(), (std::vector<std::string>{"2607", "932008", "93708804A1B29F28"}));
    EXPECT_EQ(stepsShown(), 3);
    EXPECT_EQ(text("txtAnticolisionProcessUID"), "04A1B2");

    // No tag: only the REQA row.
    process({});
    EXPECT_EQ(sent(), std::vector<std::string>{"2607"});
    EXPECT_EQ(stepsShown(), 1);
    EXPECT_EQ(gridCell(1, 0), "REQ A");
    EXPECT_EQ(gridCell(1, 1), " 2607");
    EXPECT_EQ(gridCell(1, 2), " 8700");
    EXPECT_EQ(text("txtAnticolisionProcessUID"), "");
    EXPECT_TRUE(analysisEmpty());
}

// What several tags answer together is no tag's UID: the process shows the answer, no UID,
// sends no SELECT of it, and says why.
TEST_F(Iso14443aWindowTest, ProcessStopsAtAnAnticolAnswerNoSingleTagGave) {
    openProduct(kIso14443aProduct);
    const QString resolve = QStringLiteral(
        "\r\n\t\t\tThe tags must be resolved one by one (ANTICOL with an NVB or "
        "\"Send any frame\").");
    const struct {
        std::vector<const char*> answers;
        std::vector<std::string> requests;
        const char* note;
    } cases[] = {
        {{"80054400080000", "80088804ADB6BF880202"},
         {"2607", "932008"},
         "ANTICOL 1: collision found at byte 2 bit 2: several tags answered, no UID is shown."},
        // Level 1 was one part for both tags; the UID box keeps none of it.
        {{"80054400080000", "80088804A1B29F080000", "800604DA17080000", "8008C3D4F7F7E4880201"},
         {"2607", "932008", "93708804A1B29F28", "952008"},
         "ANTICOL 2: collision found at byte 2 bit 1: several tags answered, no UID is shown."},
        // No collision reported, but the bytes are not one tag's.
        {{"80054400080000", "80088804A1B2FF080000"},
         {"2607", "932008"},
         "ANTICOL 1: the BCC does not match the UID bytes: several tags answered, no UID is "
         "shown."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        tc.scripted.clearCalls();
        for (const char* a : c.answers) tc.scripted.queue(ReaderFunction::SendReceive, 0, a);
        click("cmd_ISO14443A_Anticol_Process");
        EXPECT_EQ(sent(), c.requests);
        const int row = static_cast<int>(c.requests.size());
        EXPECT_EQ(gridCell(row, 2), QLatin1Char(' ') + QLatin1String(c.answers.back()));
        EXPECT_EQ(gridCell(row + 1, 0), "");
        EXPECT_EQ(text("txtAnticolisionProcessUID"), "");
        EXPECT_TRUE(w->windowLogText().endsWith(
            core::log_entry::progressLine(tc.clock.now(), QLatin1String(c.note) + resolve)))
            << w->windowLogText().right(300).toStdString();
    }
}

TEST_F(Iso14443aWindowTest, ProcessStepWithALostBoardHasOneRowAndOneEntryWithTheRepeat) {
    openProduct(kIso14443aProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 5, "");
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "80054400080000");
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "800804A1B2C3D4080000");
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "800608B6DD080000");
    click("cmd_ISO14443A_Anticol_Process");
    EXPECT_EQ(sent(), (std::vector<std::string>{"2607", "2607", "932008", "937004A1B2C3D428"}));
    EXPECT_EQ(gridCell(1, 2), " 80054400080000");
    EXPECT_EQ(gridCell(3, 0), "SELECT 1");
    EXPECT_EQ(gridCell(4, 0), "");
    EXPECT_EQ(text("txtAnticolisionProcessUID"), "04A1B2C3");
    EXPECT_EQ(w->windowLogText().count("ISO14443-A REQA"), 1);
    EXPECT_EQ(analysisRows()[2], "08B6DD");
}

TEST_F(Iso14443aWindowTest, ClosingTheWindowDuringTheProcessEndsItWithoutTouchingIt) {
    openProduct(kIso14443aProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "80054400080000");
    QPointer<Iso14443aWindow> guard(w);
    QTimer::singleShot(0, w, [this] { w->close(); });
    click("cmd_ISO14443A_Anticol_Process");
    // The REQA's pause saw the close: no ANTICOL followed.
    EXPECT_EQ(sent(), std::vector<std::string>{"2607"});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    w = nullptr;
}

TEST_F(Iso14443aWindowTest, AProcessClickDuringTheProcessesPauseStartsNoSecondProcess) {
    openProduct(kIso14443aProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "80054400080000");
    QTimer::singleShot(0, w, [this] { click("cmd_ISO14443A_Anticol_Process"); });
    click("cmd_ISO14443A_Anticol_Process");
    EXPECT_EQ(sent(), (std::vector<std::string>{"2607", "932008"}));
}

// ---- Memory read ---------------------------------------------------------------------

// A READ answer: 16 bytes (pages n to n+3), the tag's CRC and the transceiver's status.
const char kReadAnswer[] = "80150102030405060708090A0B0C0D0E0F10ABCD080000";

TEST_F(Iso14443aWindowTest, ReadShowsTheFourPagesFromTheTypedAddress) {
    openProduct(kIso14443aProduct);  // 64 pages: highest page 3F
    const struct {
        const char* typed;
        const char* request;
        const char* shown;
        QStringList addresses;
    } cases[] = {
        {"4", "300428", "04", {"0004", "0005", "0006", "0007"}},
        {"3F", "303F28", "3F", {"003F", "0000", "0001", "0002"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        tc.scripted.clearCalls();
        tc.scripted.queue(ReaderFunction::SendReceive, 0, kReadAnswer);
        typeAddress(c.typed);
        click("cmd_ISO14443A_Read");
        EXPECT_EQ(sent(), std::vector<std::string>{c.request});
        EXPECT_EQ(text("txtUserAddress_0"), c.shown);
        EXPECT_EQ(text("txtUserAddress_1"), c.shown);
        const QStringList pages = {"01 02 03 04 ", "05 06 07 08 ", "09 0A 0B 0C ", "0D 0E 0F 10 "};
        QStringList expected;
        for (int i = 0; i < 4; ++i) expected << c.addresses[i] + "   " + pages[i];
        EXPECT_EQ(viewLines(), expected);
        EXPECT_TRUE(get<QWidget>("lstReadView")->isEnabled());
        EXPECT_EQ(lastEntry(), entry("ISO14443-A READ", c.request, kReadAnswer));
        EXPECT_EQ(ticks("chk_TQ73RN_transmission_flag"), 0x28);
        EXPECT_EQ(analysisRows()[3], "08");
    }
    // Past the memory: refused, never masked onto page 04 or the OTP page.
    tc.scripted.clearCalls();
    tc.ui.expectMessage();
    typeAddress("43");
    click("cmd_ISO14443A_Read");
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(text("txtUserAddress_0"), "43");
    ASSERT_FALSE(tc.ui.messages().empty());
    EXPECT_EQ(tc.ui.messages().back().text, core::kInvalidAddressText);
    EXPECT_FALSE(shown("cmdStopCommand"));
    EXPECT_FALSE(tc.ui.isBusy());
}

TEST_F(Iso14443aWindowTest, AReadThatFailsShowsItsErrorLinesBehindTheirAddresses) {
    openProduct(kIso14443aProduct);
    typeAddress("10");
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "8700");
    click("cmd_ISO14443A_Read");
    EXPECT_EQ(viewLines(),
              (QStringList{"0010   error", "0011   error", "0012   error", "0013   error"}));
    EXPECT_TRUE(analysisEmpty());
    // A CRC error reported by the transceiver is no good read, whatever the last byte says.
    tc.scripted.queue(ReaderFunction::SendReceive, 0,
                      "80150102030405060708090A0B0C0D0E0F10ABCD280000");
    click("cmd_ISO14443A_Read");
    EXPECT_EQ(viewLines()[0], "0010   error detected ");
    EXPECT_EQ(ticks("chk_respflag"), 0x28);
}

TEST_F(Iso14443aWindowTest, TopazReadSendsTheAddressAndTheUidOfTheLastRid) {
    openProduct(kTopazProduct);  // 128 bytes, one per address
    typeAddress("0A");
    click("cmd_ISO14443A_Read");
    EXPECT_EQ(sent(), std::vector<std::string>{"010A00A8"});
    EXPECT_EQ(viewLines(), QStringList{"000A   error"});

    tc.scripted.queue(ReaderFunction::SendReceive, 0, "800B114811223344591B080000");
    click("cmd_ISO14443A_TOPAZ_RID");
    tc.scripted.clearCalls();
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "80070A0EAE0A080000");
    click("cmd_ISO14443A_Read");
    EXPECT_EQ(sent(), std::vector<std::string>{"010A0011223344A8"});
    EXPECT_EQ(viewLines(), QStringList{"000A   0E "});
    EXPECT_EQ(lastEntry(),
              entry("ISO14443-A TOPAZ READ", "010A0011223344A8", "80070A0EAE0A080000"));
    EXPECT_EQ(analysisRows(), (std::vector<QString>{"80", "07", "0A0EAE0A080000", "", "", ""}));
    EXPECT_EQ(ticks("chk_TQ73RN_transmission_flag"), 0xA8);
}

// Past the memory an address would reach no page, or another one once masked: every
// memory command of both modes refuses it as typed.
TEST_F(Iso14443aWindowTest, AnAddressPastTheMemoryIsRefusedByEveryMemoryCommand) {
    const struct {
        const char* product;
        const char* typed;
        const char* button;
    } cases[] = {
        {kIso14443aProduct, "43", "cmd_ISO14443A_Write"},  // 64 pages: 03 is the OTP page
        {kIso14443aProduct, "40", "cmd_ISO14443A_Write_compatibility"},
        {kTopazProduct, "80", "cmd_ISO14443A_Read"},  // 128 bytes
        {kTopazProduct, "80", "cmd_ISO14443A_TOPAZ_Write_E"},
        {kTopazProduct, "FF", "cmd_ISO14443A_TOPAZ_Write_NE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " " + c.button);
        openProduct(c.product);
        typeAddress(QString::fromLatin1(c.typed));
        tc.ui.expectMessage();
        click(c.button);
        EXPECT_TRUE(sent().empty());
        ASSERT_FALSE(tc.ui.messages().empty());
        EXPECT_EQ(tc.ui.messages().back().text, core::kInvalidAddressText);
        EXPECT_TRUE(tc.ui.allRepliesUsed());
        EXPECT_EQ(text("txtUserAddress_0"), c.typed);
        EXPECT_FALSE(shown("fraPageWrite"));
        EXPECT_TRUE(get<QWidget>("cmd_ISO14443A_Read")->isEnabled());
    }
}

TEST_F(Iso14443aWindowTest, AnAddressTheCommandsCannotCarryIsRefused) {
    openProduct(kIso14443aProduct);
    // Pasted text that is not hex.
    get<QLineEdit>("txtUserAddress_0")->setText("g1");
    tc.ui.expectMessage();
    click("cmd_ISO14443A_Read");
    // A memory larger than one address byte reaches: its pages from 100 on.
    tc.values().MemorySizeBytes = 2048;
    tc.values().AddressMask = 0x1FF;
    get<QLineEdit>("txtUserAddress_0")->setMaxLength(3);
    typeAddress("100");
    tc.ui.expectMessage();
    click("cmd_ISO14443A_Read");
    tc.ui.expectMessage();
    click("cmd_ISO14443A_Write");
    ASSERT_EQ(tc.ui.messages().size(), 3u);
    for (const auto& m : tc.ui.messages()) {
        EXPECT_EQ(m.text, "Invalid Address: check for Hexadecimal format or Adress value");
        EXPECT_EQ(m.title, "Hexadecimal Data Required");
    }
    EXPECT_TRUE(sent().empty());
    EXPECT_FALSE(shown("fraPageWrite"));
    EXPECT_FALSE(shown("cmdStopCommand"));
    EXPECT_TRUE(get<QWidget>("cmd_ISO14443A_Read")->isEnabled());
    EXPECT_EQ(text("txtPageSize"), "4");
    EXPECT_EQ(tc.values().PageWriteMode, 0);

    // The highest page the byte carries is read.
    typeAddress("FF");
    click("cmd_ISO14443A_Read");
    EXPECT_EQ(sent(), std::vector<std::string>{"30FF28"});
    EXPECT_EQ(tc.ui.messages().size(), 3u);
}

TEST_F(Iso14443aWindowTest, DuringAReadOnlyTheCommandControlsAreOffAndStopEndsIt) {
    openProduct(kIso14443aProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, kReadAnswer);
    std::map<QString, bool> enabled;
    bool stopShown = false;
    QTimer::singleShot(0, w, [&] {
        for (const char* c :
             {"cmd_ISO14443A_Read", "cmd_ISO14443A_Write", "cmd_ISO14443A_REQA",
              "cmd_ISO14443A_Select_2", "cmd_ISO14443A_SendFrame", "txtUserAddress_0",
              "txt_ISO14443A_AnyFrame", "cmdSaveLog", "cmd_ISO14443A_Anticol_Process",
              "txt_ISO14443A_transFlag", "txtUIDforSelect123"}) {
            enabled[c] = get<QWidget>(c)->isEnabled();
        }
        stopShown = shown("cmdStopCommand");
        click("cmdStopCommand");
    });
    click("cmd_ISO14443A_Read");
    EXPECT_TRUE(stopShown);
    const std::map<QString, bool> expected = {{"cmd_ISO14443A_Read", false},
                                              {"cmd_ISO14443A_Write", false},
                                              {"cmd_ISO14443A_REQA", false},
                                              {"cmd_ISO14443A_Select_2", false},
                                              {"cmd_ISO14443A_SendFrame", false},
                                              {"txtUserAddress_0", false},
                                              {"txt_ISO14443A_AnyFrame", false},
                                              {"cmdSaveLog", false},
                                              {"cmd_ISO14443A_Anticol_Process", true},
                                              {"txt_ISO14443A_transFlag", true},
                                              {"txtUIDforSelect123", true}};
    EXPECT_EQ(enabled, expected);
    // Stopped: the exchange under way was shown and logged, the view is empty and off.
    EXPECT_EQ(text("txt_ISO14443A_answer"), kReadAnswer);
    EXPECT_TRUE(viewLines().isEmpty());
    EXPECT_FALSE(get<QWidget>("lstReadView")->isEnabled());
    EXPECT_TRUE(get<QWidget>("cmd_ISO14443A_Read")->isEnabled());
    EXPECT_FALSE(tc.values().StopRequested);
    EXPECT_FALSE(shown("cmdStopCommand"));

    tc.scripted.queue(ReaderFunction::SendReceive, 0, kReadAnswer);
    click("cmd_ISO14443A_Read");
    EXPECT_EQ(viewLines().size(), 4);
    EXPECT_TRUE(get<QWidget>("lstReadView")->isEnabled());
}

TEST_F(Iso14443aWindowTest, DuringATopazReadTheTopazWritesAreOffAndReqaAndRidStayOn) {
    openProduct(kTopazProduct);
    const char* const controls[] = {"cmd_ISO14443A_TOPAZ_Write_E", "cmd_ISO14443A_TOPAZ_Write_NE",
                                    "cmd_ISO14443A_Read", "cmd_ISO14443A_TOPAZ_REQA",
                                    "cmd_ISO14443A_TOPAZ_RID"};
    std::map<QString, bool> during;
    QTimer::singleShot(0, w, [&] {
        for (const char* c : controls) during[c] = get<QWidget>(c)->isEnabled();
    });
    click("cmd_ISO14443A_Read");
    EXPECT_EQ(during, (std::map<QString, bool>{{"cmd_ISO14443A_TOPAZ_Write_E", false},
                                               {"cmd_ISO14443A_TOPAZ_Write_NE", false},
                                               {"cmd_ISO14443A_Read", false},
                                               {"cmd_ISO14443A_TOPAZ_REQA", true},
                                               {"cmd_ISO14443A_TOPAZ_RID", true}}));
    for (const char* c : controls) EXPECT_TRUE(get<QWidget>(c)->isEnabled()) << c;
}

// ---- Page writes -----------------------------------------------------------------------

TEST_F(Iso14443aWindowTest, WriteSendsThePageAndTakesTheTagsAckAsSuccess) {
    openProduct(kIso14443aProduct);
    typeAddress("05");
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "90040A");
    writeRows("cmd_ISO14443A_Write", {"11 22 33 44 "});
    EXPECT_EQ(sent(), std::vector<std::string>{"A2051122334428"});
    EXPECT_EQ(lastEntry(), entry("ISO14443-A WRITE", "A2051122334428", "90040A"));
    EXPECT_EQ(viewLines(), QStringList{"0005   (00) No error during Prog sequence"});
    EXPECT_TRUE(get<QWidget>("lstReadView")->isEnabled());
    EXPECT_TRUE(analysisEmpty());
    EXPECT_EQ(tc.values().PageWriteMode, 8);
    EXPECT_FALSE(shown("fraPageWrite"));
    EXPECT_TRUE(get<QWidget>("cmd_ISO14443A_Read")->isEnabled());
    EXPECT_FALSE(get<QLineEdit>("txtUserAddress_0")->isReadOnly());

    tc.scripted.queue(ReaderFunction::SendReceive, 0, "900404");
    writeRows("cmd_ISO14443A_Write", {"11 22 33 44 "});
    EXPECT_EQ(viewLines(), QStringList{"0005   Error code"});
}

TEST_F(Iso14443aWindowTest, CompatibilityWriteLogsItsTwoExchangesAsOneEntry) {
    openProduct(kIso14443aProduct);
    typeAddress("04");
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "900404");  // not tested
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "90040A");
    writeRows("cmd_ISO14443A_Write_compatibility",
              {"01 02 03 04 ", "05 06 07 08 ", "09 0A 0B 0C ", "0D 0E 0F 10 "});
    const std::string data = "0102030405060708090A0B0C0D0E0F1028";
    EXPECT_EQ(sent(), (std::vector<std::string>{"A00428", data}));
    EXPECT_EQ(lastEntry(), entry("ISO14443-A COMPATIBILITY WRITE", "A00428", "900404") +
                               "\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, " + QString::fromStdString(data) +
                               "\r\n\t\t\t<<< 90040A");
    EXPECT_EQ(text("txt_ISO14443A_request"), QString::fromStdString(data));
    EXPECT_EQ(viewLines(), QStringList{"0004   (00) No error during Prog sequence"});
    EXPECT_EQ(get<QPushButton>("cmdWriteUser")->text(), "Write Compatibility");
}

TEST_F(Iso14443aWindowTest, TopazWritesCarryTheUidAndExplainAnAcceptedAnswer) {
    openProduct(kTopazProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "800B114811223344591B080000");
    click("cmd_ISO14443A_TOPAZ_RID");
    typeAddress("08");
    const struct {
        const char* setup;
        const char* request;
        const char* answer;
        const char* result;
        const char* title;
        int mode;
    } cases[] = {
        {"cmd_ISO14443A_TOPAZ_Write_NE", "1A085A11223344A8", "8007085AD20F080000",
         "(00) No error during Prog sequence", "ISO14443-A TOPAZ WRITE_NE", 11},
        {"cmd_ISO14443A_TOPAZ_Write_E", "53085A11223344A8", "8007085AD20F080000",
         "(00) No error during Prog sequence", "ISO14443-A TOPAZ WRITE_E", 10},
        {"cmd_ISO14443A_TOPAZ_Write_E", "53085A11223344A8", "8007085AD20F080001", "Error code",
         "ISO14443-A TOPAZ WRITE_E", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setup);
        tc.scripted.clearCalls();
        tc.scripted.queue(ReaderFunction::SendReceive, 0, c.answer);
        click(c.setup);
        EXPECT_EQ(text("txtPageSize"), "1");
        EXPECT_EQ(tc.values().PageWriteMode, c.mode);
        EXPECT_EQ(get<QLineEdit>("PWData_0")->displayText(), "00 ");
        EXPECT_FALSE(shown("PWData_1"));
        get<QLineEdit>("PWData_0")->setText("5A ");
        click("cmdWriteUser");
        EXPECT_EQ(sent(), std::vector<std::string>{c.request});
        EXPECT_EQ(lastEntry(), entry(c.title, c.request, c.answer));
        EXPECT_EQ(viewLines(), QStringList{QStringLiteral("0008   ") + c.result});
        if (QLatin1String(c.result) == QLatin1String("Error code")) {
            EXPECT_TRUE(analysisEmpty());
        } else {
            EXPECT_EQ(analysisRows()[2], "085AD20F080000");
        }
    }
}

// Each TOPAZ command writes its own transmission flag into the flag editor, whatever the
// editor held: A8 (TOPAZ end of frame, CRC, eight bits) but for the REQA's short frame.
// The writes set it at Write, not at their set-up.
TEST_F(Iso14443aWindowTest, EachTopazCommandSetsItsTransmissionFlagAndSendsIt) {
    openProduct(kTopazProduct);
    const struct {
        const char* setup;  // the write set-up before the button, or nullptr
        const char* button;
        const char* flag;
        int bits;
    } cases[] = {
        {nullptr, "cmd_ISO14443A_TOPAZ_REQA", "07", 0x07},
        {nullptr, "cmd_ISO14443A_TOPAZ_RID", "A8", 0xA8},
        {nullptr, "cmd_ISO14443A_Read", "A8", 0xA8},
        {"cmd_ISO14443A_TOPAZ_Write_E", "cmdWriteUser", "A8", 0xA8},
        {"cmd_ISO14443A_TOPAZ_Write_NE", "cmdWriteUser", "A8", 0xA8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button + std::string(c.setup ? c.setup : ""));
        tc.scripted.clearCalls();
        if (c.setup) click(QString::fromLatin1(c.setup));
        type("txt_ISO14443A_transFlag", "00");
        click(QString::fromLatin1(c.button));
        EXPECT_EQ(text("txt_ISO14443A_transFlag"), QLatin1String(c.flag));
        EXPECT_EQ(ticks("chk_TQ73RN_transmission_flag"), c.bits);
        ASSERT_EQ(sent().size(), 1u);
        EXPECT_EQ(sent()[0].substr(sent()[0].size() - 2), c.flag) << sent()[0];
    }
}

TEST_F(Iso14443aWindowTest, AHalfTypedByteSendsNothingAndKeepsThePanelOpenUntilCancel) {
    openProduct(kIso14443aProduct);
    click("cmd_ISO14443A_Write");
    EXPECT_TRUE(shown("fraPageWrite"));
    EXPECT_FALSE(get<QWidget>("cmd_ISO14443A_Read")->isEnabled());
    EXPECT_TRUE(get<QLineEdit>("txtUserAddress_0")->isReadOnly());
    get<QLineEdit>("PWData_0")->setText("1");
    tc.ui.expectMessage();
    click("cmdWriteUser");
    ASSERT_EQ(tc.ui.messages().size(), 1u);
    EXPECT_EQ(tc.ui.messages()[0].text, "Invalid Data: check for Hexadecimal format or # of data");
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(shown("fraPageWrite"));
    EXPECT_TRUE(get<QWidget>("PWData_0")->isEnabled());
    EXPECT_TRUE(get<QWidget>("cmdWriteUser")->isEnabled());
    EXPECT_FALSE(get<QWidget>("cmd_ISO14443A_Read")->isEnabled());
    EXPECT_FALSE(tc.ui.isBusy());

    click("cmdCancelWriteTest");
    EXPECT_FALSE(shown("fraPageWrite"));
    EXPECT_TRUE(get<QWidget>("cmd_ISO14443A_Read")->isEnabled());
    EXPECT_FALSE(get<QLineEdit>("txtUserAddress_0")->isReadOnly());
    EXPECT_FALSE(tc.values().PageWritePending);
    EXPECT_EQ(tc.values().PageWriteMode, 8);
}

TEST_F(Iso14443aWindowTest, ClosingTheWindowDuringAReadEndsItWithoutTouchingIt) {
    openProduct(kIso14443aProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, kReadAnswer);
    QPointer<Iso14443aWindow> guard(w);
    QTimer::singleShot(0, w, [this] { w->close(); });
    click("cmd_ISO14443A_Read");
    EXPECT_EQ(sent(), std::vector<std::string>{"300028"});
    EXPECT_FALSE(tc.ui.isBusy());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    w = nullptr;
}

TEST_F(Iso14443aWindowTest, ClosingTheWindowDuringAWriteEndsItWithoutTouchingIt) {
    openProduct(kIso14443aProduct);
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "90040A");
    click("cmd_ISO14443A_Write");
    QPointer<Iso14443aWindow> guard(w);
    QTimer::singleShot(0, w, [this] { w->close(); });
    click("cmdWriteUser");
    EXPECT_EQ(sent(), std::vector<std::string>{"A2000000000028"});
    EXPECT_FALSE(tc.ui.isBusy());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    w = nullptr;
}

// ---- On the simulated board ---------------------------------------------------------

class Iso14443aOnSimulatedBoard : public Iso14443aWindowTest {
  protected:
    Iso14443aOnSimulatedBoard() : Iso14443aWindowTest(&journal) {}

    void antenna(const char* ini) { board.applyConfig(simboard::parseBoardIni(ini).config); }
    std::vector<std::string> sentToBoard() {
        std::vector<std::string> out;
        for (const auto& e : journal.callsTo(ReaderFunction::SendReceive)) out.push_back(e.request);
        return out;
    }

    simboard::SimulatedBoard board;
    reader::RecordingReader journal{board};
};

TEST_F(Iso14443aOnSimulatedBoard, ProcessResolvesUidsOfEachSize) {
    const struct {
        const char* uid;
        int rows;
        const char* lastSelect;
    } cases[] = {
        {"04A1B2C3", 3, "937004A1B2C3D428"},
        {"04A1B2C3D4E5F6", 5, "9570C3D4E5F60428"},
        {"04A1B2C3D4E5F6071829", 7, "9770F6071829C028"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uid);
        antenna(QStringLiteral("[tag.1]\nkind=iso14443a\nuid=%1\n")
                    .arg(QLatin1String(c.uid))
                    .toLatin1()
                    .constData());
        openProduct(kIso14443aProduct);
        journal.clearJournal();
        click("cmd_ISO14443A_Anticol_Process");
        EXPECT_EQ(text("txtAnticolisionProcessUID"), c.uid);
        const auto requests = sentToBoard();
        ASSERT_EQ(static_cast<int>(requests.size()), c.rows);
        EXPECT_EQ(requests.back(), c.lastSelect);
        for (int row = 1; row <= 7; ++row) {
            EXPECT_EQ(gridCell(row, 0).isEmpty(), row > c.rows) << row;
        }
        EXPECT_EQ(gridCell(c.rows, 1), QLatin1Char(' ') + QLatin1String(c.lastSelect));
        EXPECT_TRUE(gridCell(c.rows, 2).startsWith(" 8006")) << gridCell(c.rows, 2).toStdString();
        EXPECT_EQ(text("txt_ISO14443A_transFlag"), "28");
    }
}

TEST_F(Iso14443aOnSimulatedBoard, TwoTagsStopTheProcessAtTheirCollisionWithoutAUid) {
    antenna(
        "[tag.1]\nkind=iso14443a\nuid=048D2432273B80\n"
        "[tag.2]\nkind=iso14443a\nuid=04A1B2C3D4E5F6\n");
    openProduct(kIso14443aProduct);
    journal.clearJournal();
    click("cmd_ISO14443A_Anticol_Process");
    // 8D and A1 part at bit 2 of the third byte; what came is the OR of both parts.
    EXPECT_EQ(sentToBoard(), (std::vector<std::string>{"2607", "932008"}));
    EXPECT_EQ(gridCell(2, 2), " 80088804ADB6BF880202");
    EXPECT_EQ(ticks("chk_respflag"), 0x88);
    EXPECT_EQ(text("txtAnticolisionProcessUID"), "");
    EXPECT_TRUE(w->windowLogText().contains("ANTICOL 1: collision found at byte 2 bit 2"));
}

TEST_F(Iso14443aOnSimulatedBoard, SingleStepsWalkTheCascadeOfTheDefaultTag) {
    openProduct(kIso14443aProduct);
    click("cmd_ISO14443A_REQA");
    EXPECT_EQ(text("txt_ISO14443A_answer"), "80054400080000");
    click("cmd_ISO14443A_Anticol_0");
    EXPECT_EQ(text("txt_ISO14443A_answer"), "80088804A1B29F080000");
    EXPECT_EQ(analysisRows()[2], "8804A1B29F");
    // The user types the level's part for SELECT, as the ANTICOL answer gave it.
    type("txtUIDforSelect123", "8804A1B29F");
    click("cmd_ISO14443A_Select_0");
    EXPECT_TRUE(text("txt_ISO14443A_answer").startsWith("8006"))
        << text("txt_ISO14443A_answer").toStdString();
    click("cmd_ISO14443A_Anticol_1");
    EXPECT_EQ(analysisRows()[2], "C3D4E5F604");
    type("txtUIDforSelect123", "C3D4E5F604");
    click("cmd_ISO14443A_Select_1");
    EXPECT_TRUE(text("txt_ISO14443A_answer").startsWith("8006"));
    EXPECT_EQ(sentToBoard().back(), "9570C3D4E5F60428");
}

TEST_F(Iso14443aOnSimulatedBoard, HaltHaltsTheSelectedTagUntilWupa) {
    openProduct(kIso14443aProduct);
    click("cmd_ISO14443A_Anticol_Process");
    ASSERT_EQ(text("txtAnticolisionProcessUID"), "04A1B2C3D4E5F6");

    click("cmd_ISO14443A_HALT");
    EXPECT_EQ(sentToBoard().back(), "500028");
    EXPECT_EQ(text("txt_ISO14443A_answer"), "8700");
    EXPECT_TRUE(analysisEmpty());
    click("cmd_ISO14443A_REQA");
    EXPECT_EQ(text("txt_ISO14443A_answer"), "8700");
    click("cmd_ISO14443A_WUPA");
    EXPECT_EQ(text("txt_ISO14443A_answer"), "80054400080000");
}

TEST_F(Iso14443aOnSimulatedBoard, TopazTagAnswersOnlyTheTopazWindow) {
    openProduct(kTopazProduct);
    click("cmd_ISO14443A_TOPAZ_REQA");
    EXPECT_EQ(text("txt_ISO14443A_answer"), "8005000C080000");  // ATQA 0C00, low byte first
    EXPECT_EQ(analysisRows()[2], "000C080000");
    click("cmd_ISO14443A_TOPAZ_RID");
    EXPECT_EQ(text("txtUID_cmdSelect"), "11223344");
    EXPECT_EQ(text("txtHR0_TOPAZ"), "11");
    EXPECT_EQ(text("txtHR1_TOPAZ"), "48");

    // The type A window meets the type A tag, not the TOPAZ one.
    openProduct(kIso14443aProduct);
    click("cmd_ISO14443A_REQA");
    EXPECT_EQ(text("txt_ISO14443A_answer"), "80054400080000");
}

TEST_F(Iso14443aOnSimulatedBoard, WritesOfTheSelectedTagReadBack) {
    openProduct(kIso14443aProduct);
    click("cmd_ISO14443A_Anticol_Process");
    ASSERT_EQ(text("txtAnticolisionProcessUID"), "04A1B2C3D4E5F6");

    typeAddress("05");
    writeRows("cmd_ISO14443A_Write", {"11 22 33 44 "});
    EXPECT_EQ(text("txt_ISO14443A_answer"), "90040A");
    EXPECT_EQ(viewLines(), QStringList{"0005   (00) No error during Prog sequence"});

    typeAddress("06");
    writeRows("cmd_ISO14443A_Write_compatibility",
              {"55 66 77 88 ", "99 AA BB CC ", "DD EE FF 00 ", "01 02 03 04 "});
    EXPECT_EQ(viewLines(), QStringList{"0006   (00) No error during Prog sequence"});

    typeAddress("04");
    click("cmd_ISO14443A_Read");
    const QStringList lines = viewLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], "0005   11 22 33 44 ");
    // A compatibility write keeps the first four of its sixteen bytes.
    EXPECT_EQ(lines[2], "0006   55 66 77 88 ");
    EXPECT_EQ(ticks("chk_respflag"), 0x08);
}

TEST_F(Iso14443aOnSimulatedBoard, TopazBytesAreWrittenAndReadAtTheTypedAddress) {
    openProduct(kTopazProduct);
    click("cmd_ISO14443A_TOPAZ_REQA");
    click("cmd_ISO14443A_TOPAZ_RID");
    ASSERT_EQ(text("txtUID_cmdSelect"), "11223344");
    // Byte 60: a four-byte-block mask of this 1-kbit product would have made it 00.
    typeAddress("60");
    EXPECT_EQ(text("txtUserAddress_0"), "60");
    click("cmd_ISO14443A_TOPAZ_Write_E");
    get<QLineEdit>("PWData_0")->setText("5A ");
    click("cmdWriteUser");
    EXPECT_EQ(sentToBoard().back(), "53605A11223344A8");
    EXPECT_EQ(viewLines(), QStringList{"0060   (00) No error during Prog sequence"});

    click("cmd_ISO14443A_TOPAZ_Write_NE");
    get<QLineEdit>("PWData_0")->setText("A5 ");
    click("cmdWriteUser");
    EXPECT_EQ(viewLines(), QStringList{"0060   (00) No error during Prog sequence"});

    click("cmd_ISO14443A_Read");
    EXPECT_EQ(sentToBoard().back(),
              "016000"
              "11223344A8");
    // Without erase the bits only add up: 5A or A5.
    EXPECT_EQ(viewLines(), QStringList{"0060   FF "});
}

}  // namespace
