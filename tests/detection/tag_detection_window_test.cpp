#include "detection/tag_detection_window.hpp"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <optional>
#include <string_view>

#include "board_fixture.hpp"
#include "core/app_context.hpp"
#include "detection/indicator.hpp"
#include "log_buttons.hpp"
#include "loop_bound.hpp"
#include "watched_reader.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"
#include "window_fixture.hpp"

namespace {

using core::WindowKind;
using detection::TagDetectionWindow;
using detectiontest::callList;
using detectiontest::entryTitles;
using detectiontest::slotBoxName;
using reader::ReaderFunction;
using Calls = std::vector<std::string>;

const QString kStamp = QStringLiteral("\r\n03-14-2026 09:26:53\t");
constexpr char kDesignIdle[] = "070E0B21007901180020606000FF3F01";
// The register write that opens every pass of a detection run, and nothing else.
constexpr char kPreIdleWrite[] = "01090460011800";

// Shared helpers of both fixtures.
template <class Base>
class TagDetectionHelpers : public Base {
  protected:
    using Base::Base;

    TagDetectionWindow* open() {
        Base::open();
        bound.emplace(this->w, detectiontest::kCallLimit, "calls");
        return this->w;
    }
    // The fixture's reader hook, told of every call.
    void countCall() {
        if (bound) bound->pass();
    }
    std::optional<testsupport::LoopBound> bound;

    QString text(const QString& name) { return this->template get<QLineEdit>(name)->text(); }
    void setBox(const char* name, const QString& value) {
        this->template get<QLineEdit>(QString::fromLatin1(name))->setText(value);
    }
    QString verdict() {
        return this->template get<QLabel>(QStringLiteral("lblTagDetected"))->text();
    }
    QString caption() {
        return this->template get<QLabel>(QStringLiteral("lblTagDetection_result"))->text();
    }
    void tick(int protocol, bool on) {
        this->template get<QCheckBox>(QStringLiteral("chkTagDetSelectProtocols_%1").arg(protocol))
            ->setChecked(on);
    }
    void tickAll(bool on) {
        for (int i = 0; i < 5; ++i) tick(i, on);
    }
    void launch() { this->click(QStringLiteral("cmd_TagDetection_Detection")); }
    void calibrate() { this->click(QStringLiteral("cmd_TagDetection_calibration")); }
};

// On a scripted reader: exact requests, statuses and answers.
using ScriptedFixture =
    TagDetectionHelpers<testsupport::WindowFixture<TagDetectionWindow, WindowKind::TagDetection>>;
class TagDetectionScripted : public testsupport::WatchedReaderHolder, public ScriptedFixture {
  protected:
    TagDetectionScripted() : ScriptedFixture(&watched) {
        watched.inner = &tc.scripted;
        watched.watch = [this](ReaderFunction, std::string_view) { countCall(); };
        tc.values().DemodGainValue = QStringLiteral("D1");
    }
};

TEST_F(TagDetectionScripted, OpensAsDesignedWithReadRegFromTheIdentification) {
    const struct {
        const char* idn;
        bool ticked;
        bool visible;
    } cases[] = {
        {"", false, true},
        {"IDN = TQ73RN", false, true},
        {"IDN = TQ73RN-SIM-2A", false, true},
        {"IDN = TQ73RN-SIM-0A", true, false},
    };
    for (const auto& c : cases) {
        tc.values().ReaderIdnText = QString::fromLatin1(c.idn);
        open();
        auto* box = get<QCheckBox>(QStringLiteral("chkWithReadRg"));
        EXPECT_EQ(box->isChecked(), c.ticked) << c.idn;
        EXPECT_EQ(box->isVisibleTo(w), c.visible) << c.idn;
        tc.ctx->windows().close(WindowKind::TagDetection);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    open();
    EXPECT_EQ(w->windowTitle(), "   Tag Detection  user interface  ");
    EXPECT_EQ(text("txtWUPeriod"), "20");
    EXPECT_EQ(text("txt_TagDetection_DacDataH_value"), "FF");
    for (const char* hidden :
         {"cmdISO15693_AntiCollision", "cmdISO14443A_AntiCollision", "cmdISO14443B_AntiCollision",
          "cmdFelica_AntiCollision", "txt_TagDetection_request", "txt_TagDetection_answer",
          "txt_TagDetection_Calibr_WUflags", "shapCalibration_WuReason", "ShapTagDetected_0",
          "lblTagDetected", "txt_TagDetection_AInitIdx_value", "pot_TagDetection_AWuCycleEnd_0"}) {
        EXPECT_FALSE(get<QWidget>(QString::fromLatin1(hidden))->isVisibleTo(w)) << hidden;
    }
}

TEST_F(TagDetectionScripted, APassWithoutTagLogsItsThreeRawExchanges) {
    open();
    get<QCheckBox>(QStringLiteral("chkWithReadRg"))->setChecked(true);
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "000101");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "000101");
    launch();

    EXPECT_EQ(callList(tc.scripted),
              (Calls{"Echo", "KvCmd 01090460011800", std::string("KvCmd 01") + kDesignIdle,
                     "KvCmd 010803620100"}));
    EXPECT_EQ(w->logText(), kStamp + ">>> TQ73RNDLL_ECHO\r\n\t\t\t<<< 5500" + kStamp +
                                ">>> TQ73RNDll_KVCmd, 01 090460011800\r\n\t\t\t<<< 0000" + kStamp +
                                ">>> TQ73RNDll_KVCmd, 01 " + kDesignIdle + "\r\n\t\t\t<<< 000101" +
                                kStamp + ">>> TQ73RNDll_KVCmd, 01 0803620100\r\n\t\t\t<<< 000101");
    EXPECT_EQ(verdict(), "No Detected Tag");
    EXPECT_EQ(text("txt_TagDetection_request"), "01 0803620100");
    EXPECT_EQ(text("txt_TagDetection_WUflags"), "01");
    EXPECT_TRUE(get<QPushButton>(QStringLiteral("cmd_TagDetection_Detection"))->isEnabled());
}

TEST_F(TagDetectionScripted, IdleBoxesEnterTheFrameAsTheyStand) {
    open();
    setBox("txtWUPeriod", QStringLiteral("7"));
    setBox("txtOscStart", QStringLiteral("fe"));
    get<QRadioButton>(QStringLiteral("pot_TagDetection_AWuCycleEnd_1"))->setChecked(true);
    launch();
    EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::KvCmd).at(1),
              "01070E0A210079011800"
              "07FE60"
              "00FF3F01");
}

TEST_F(TagDetectionScripted, StatusFiveOnARawExchangeReconnectsOnceWithoutResending) {
    open();
    tc.ctx->statusBar().setPanelText(1, QStringLiteral(" DEMO-TQ73RN-A BOARD CONNECTED"));
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    tc.scripted.queueUntouched(ReaderFunction::KvCmd, reader::kStatusUnreachable);
    tc.scripted.queue(ReaderFunction::UsbHandleCheck, 1);
    launch();
    EXPECT_EQ(callList(tc.scripted),
              (Calls{"Echo", "KvCmd 01090460011800", std::string("KvCmd 01") + kDesignIdle,
                     "UsbConnect", "UsbHandleCheck"}));
    // No NUL in the buffer: no answer, so the log line ends with its marker.
    EXPECT_TRUE(w->logText().endsWith(QStringLiteral("\r\n\t\t\t<<< ")));
    EXPECT_EQ(text("txt_TagDetection_answer"), QString(256, QLatin1Char(' ')));
    EXPECT_EQ(verdict(), "No Detected Tag");
    EXPECT_EQ(tc.ctx->statusBar().panelText(1), " DEMO-TQ73RN-A BOARD NOT CONNECTED");
}

TEST_F(TagDetectionScripted, EchoHandshakeGivesOneOrTwoEntries) {
    const struct {
        int status;
        const char* answer;
        int echoes;
        Calls between;
    } cases[] = {
        {0, "5500", 1, {}},
        {0, "5501", 2, {}},
        {1, "", 2, {}},
        {5, "", 2, {"UsbConnect", "UsbHandleCheck"}},
        // A board that stays out of reach: each echo reconnects once and is not sent again.
        {-5, "", 2, {"UsbConnect", "UsbHandleCheck", "Echo", "UsbConnect", "UsbHandleCheck"}},
    };
    // Both runs begin with the handshake: the detection and the calibration.
    for (const bool calibration : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(calibration ? "calibration" : "detection");
            open();
            if (c.status < 0) {
                tc.scripted.setDefault(ReaderFunction::Echo, -c.status);
            } else {
                tc.scripted.queue(ReaderFunction::Echo, c.status, c.answer);
            }
            if (calibration) {
                calibrate();
            } else {
                launch();
            }
            EXPECT_EQ(w->logText().count(QStringLiteral(">>> TQ73RNDLL_ECHO")), c.echoes)
                << c.answer;
            const Calls calls = callList(tc.scripted);
            EXPECT_EQ(Calls(calls.begin() + 1, calls.begin() + 1 + c.between.size()), c.between);
            tc.ctx->windows().close(WindowKind::TagDetection);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            tc.scripted.setHealthyDefaults();
        }
}

TEST_F(TagDetectionScripted, AWakeUpByTheDetectorProbesTheTickedProtocols) {
    open();
    tickAll(false);
    tick(0, true);
    tick(4, true);
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "000102");
    tc.scripted.queue(ReaderFunction::SendReceive, 0, "800D000008070605040302E044FE00");
    tc.scripted.queue(ReaderFunction::SendReceive, 0,
                      "8015"
                      "1201"
                      "0102030405060708"
                      "1112131415161718"
                      "ABCD00");
    launch();
    EXPECT_EQ(caption(), "1 ISO15693 1 FELICA");
    EXPECT_EQ(verdict(), "Detected Tag");
    EXPECT_TRUE(get<QWidget>(QStringLiteral("ShapTagDetected_1"))->isVisibleTo(w));
    EXPECT_EQ(text("txtISO15693DetectTags"), "UID = E002030405060708");
    EXPECT_EQ(
        entryTitles(w->logText()),
        (QStringList{"TQ73RN CONFIGURATION : ISO15693 High Datarate One Subcarrier", "INVENTORY",
                     "TQ73RN CONFIGURATION : FELICA mode", "TQ73RN CONFIGURATION : IndexMod & Gain",
                     "TQ73RN CONFIGURATION : Auto FDet", "REQC"}));
}

TEST_F(TagDetectionScripted, WithoutProtocolsTheWakeUpIsTheTag) {
    open();
    tickAll(false);
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "000102");
    launch();
    EXPECT_EQ(verdict(), "Detected Tag");
    EXPECT_EQ(caption(), "");
    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::SendReceive), 0);
}

// The verdict's words and grey lamp are on screen after every run, whatever its pass
// found; the blue lamp only after a pass that found a tag. Each window makes two runs.
TEST_F(TagDetectionScripted, TheVerdictIsOnScreenAfterAPassWithOrWithoutATag) {
    const char* felicaCard =
        "8015"
        "1201"
        "0102030405060708"
        "1112131415161718"
        "ABCD00";
    struct Run {
        const char* idleAnswer;  // the wake-up flags are its third byte
        const char* reqcAnswer;  // nullptr: no FeliCa card answers
        bool found;
    };
    const struct {
        const char* what;
        bool felicaTicked;  // otherwise no protocol: the detector's wake-up is the tag
        Run runs[2];
    } cases[] = {
        {"woken by the detector, then by the time-out",
         false,
         {{"000102", nullptr, true}, {"000101", nullptr, false}}},
        {"woken by the time-out, then by the detector",
         false,
         {{"000101", nullptr, false}, {"000102", nullptr, true}}},
        {"woken with no card answering, then a card answers",
         true,
         {{"000102", nullptr, false}, {"000102", felicaCard, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open();
        ASSERT_TRUE(w->isVisible());
        tickAll(false);
        tick(4, c.felicaTicked);
        for (const Run& r : c.runs) {
            tc.scripted.queue(ReaderFunction::KvCmd, 0, "0000");
            tc.scripted.queue(ReaderFunction::KvCmd, 0, r.idleAnswer);
            if (r.reqcAnswer) tc.scripted.queue(ReaderFunction::SendReceive, 0, r.reqcAnswer);
            launch();
            EXPECT_TRUE(get<QLabel>(QStringLiteral("lblTagDetected"))->isVisible()) << r.found;
            EXPECT_EQ(verdict(), QString::fromLatin1(r.found ? "Detected Tag" : "No Detected Tag"));
            EXPECT_TRUE(get<QWidget>(QStringLiteral("ShapTagDetected_0"))->isVisible()) << r.found;
            EXPECT_EQ(get<QWidget>(QStringLiteral("ShapTagDetected_1"))->isVisible(), r.found);
        }
        EXPECT_EQ(tc.scripted.countOf(ReaderFunction::SendReceive), c.felicaTicked ? 2 : 0);
        tc.ctx->windows().close(WindowKind::TagDetection);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(TagDetectionScripted, ABoxWithoutValueStopsTheStartWithAMessage) {
    const struct {
        const char* box;
        QString text;
        bool calibration;
        const char* message;
    } cases[] = {
        {"txtSwingsCnt", QString(), true, "The box Swings Cnt holds no hexadecimal value."},
        {"txtTimeOut", QStringLiteral("x1"), true, "The box Max Sleep holds no hexadecimal value."},
        {"txt_TagDetection_DacDataH_value", QString(), false,
         "The box DacDataH holds no hexadecimal value."},
        {"txtWUPeriod", QStringLiteral("g"), false,
         "The box WU Period holds no hexadecimal value."},
    };
    for (const auto& c : cases) {
        open();
        setBox(c.box, c.text);
        const std::size_t before = tc.ui.messages().size();
        tc.ui.expectMessage();
        if (c.calibration) {
            calibrate();
        } else {
            launch();
        }
        ASSERT_EQ(tc.ui.messages().size(), before + 1) << c.box;
        EXPECT_EQ(tc.ui.messages().back().text, c.message);
        EXPECT_EQ(tc.ui.messages().back().title, "   Tag Detection  user interface  ");
        EXPECT_TRUE(tc.scripted.calls().empty()) << c.box;
        EXPECT_TRUE(get<QPushButton>(QStringLiteral("cmd_TagDetection_Detection"))->isEnabled());
        tc.ctx->windows().close(WindowKind::TagDetection);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A DAC box the calibration does not read does not stop it.
    open();
    setBox("txt_TagDetection_DacDataL_value", QString());
    calibrate();
    EXPECT_FALSE(tc.scripted.calls().empty());
}

TEST_F(TagDetectionScripted, StepButtonsLoopBoxesAndKeys) {
    open();
    const struct {
        const char* start;
        const char* button;
        const char* after;
        int beeps;
    } steps[] = {
        {"00", "cmdDacDataL_minus", "00", 0}, {"0F", "cmdDacDataL_plus", "10", 0},
        {"10", "cmdDacDataL_minus", "0F", 0}, {"FF", "cmdDacDataL_plus", "FF", 0},
        {"", "cmdDacDataL_plus", "", 1},      {"", "cmdDacDataL_minus", "", 1},
    };
    for (const auto& s : steps) {
        setBox("txt_TagDetection_DacDataL_value", QString::fromLatin1(s.start));
        const int before = tc.ui.beeps();
        click(QString::fromLatin1(s.button));
        EXPECT_EQ(text("txt_TagDetection_DacDataL_value"), s.after) << s.start << s.button;
        EXPECT_EQ(tc.ui.beeps() - before, s.beeps) << s.start << s.button;
    }
    setBox("txt_TagDetection_DacDataH_value", QStringLiteral("FF"));
    click(QStringLiteral("cmdDacDataH_minus"));
    EXPECT_EQ(text("txt_TagDetection_DacDataH_value"), "FE");

    auto* loop = get<QCheckBox>(QStringLiteral("chkLoop"));
    auto* untilTag = get<QCheckBox>(QStringLiteral("chkLoop_While_detection"));
    loop->click();
    EXPECT_TRUE(w->loopForever());
    untilTag->click();
    EXPECT_FALSE(loop->isChecked());
    EXPECT_FALSE(w->loopForever());
    EXPECT_TRUE(w->loopUntilTag());
    untilTag->click();
    EXPECT_FALSE(w->loopForever());
    EXPECT_FALSE(w->loopUntilTag());

    // Keys and leaving a box.
    auto* box = get<widgets::HexEntryBox>(QStringLiteral("txtDacStart"));
    const struct {
        const char* typed;
        const char* shown;
        const char* left;
        int beeps;
    } keys[] = {{"g", "", "", 1},    {"G", "", "", 1},    {"x", "", "", 1},
                {"b", "b", "0B", 0}, {"7", "7", "07", 0}, {"ff", "ff", "FF", 0}};
    for (const auto& k : keys) {
        box->clear();
        const int before = tc.ui.beeps();
        for (const char ch : std::string(k.typed)) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(ch)));
            QCoreApplication::sendEvent(box, &press);
        }
        EXPECT_EQ(box->text(), k.shown) << k.typed;
        box->commit();
        EXPECT_EQ(box->text(), k.left) << k.typed;
        EXPECT_EQ(tc.ui.beeps() - before, k.beeps) << k.typed;
    }
}

TEST_F(TagDetectionScripted, ACalibrationStepWithoutFlagsStopsWithARedCircle) {
    open();
    setBox("txt_Calibration_DacDataL_result", QStringLiteral("11"));
    const QString dacH = text("txt_TagDetection_DacDataH_value");
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "000102");  // step 1: a tag at 00
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "000101");  // step 2: none at FC
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "000102");  // step 3
    tc.scripted.queue(ReaderFunction::KvCmd, 0, "8200");    // step 4: an error answer
    calibrate();

    EXPECT_EQ(tc.scripted.countOf(ReaderFunction::KvCmd), 4);
    EXPECT_EQ(get<detection::Indicator>(QStringLiteral("shapCalibration_WuReason"))->fill(),
              QColor(255, 0, 0));
    EXPECT_EQ(text("txt_TagDetection_Calibr_WUflags"), "");
    EXPECT_TRUE(w->logText().endsWith(
        "\t>>> -> Calibration process stopped : read register value problem"));
    EXPECT_EQ(text("txt_Calibration_DacDataL_result"), "") << "emptied once both checks passed";
    EXPECT_EQ(get<QLabel>(QStringLiteral("lblDacDataL_result"))->text(), "DacDataL");
    EXPECT_EQ(text("txt_TagDetection_DacDataH_value"), dacH);
    EXPECT_TRUE(get<QPushButton>(QStringLiteral("cmd_TagDetection_calibration"))->isEnabled());
}

TEST_F(TagDetectionScripted, ProbeButtonHandlersProbeWithoutSetUp) {
    open();
    w->probeButtonClicked(detection::Iso14443AButton);
    EXPECT_EQ(callList(tc.scripted), (Calls{"SendReceive 2607"}));
    tc.scripted.clearCalls();
    w->probeButtonClicked(detection::FelicaButton);
    EXPECT_EQ(callList(tc.scripted), (Calls{"SendReceive 00FFFF0000"}));
    EXPECT_EQ(entryTitles(w->logText()), (QStringList{"ISO14443-A REQA", "REQC"}));
}

TEST_F(TagDetectionScripted, SaveLogWritesTheLogAndClearLogEmptiesIt) {
    open();
    launch();
    testsupport::expectSaveAndClearLog(tc, w, [this] { return w->logText(); },
                                       {QStringLiteral("rtfTagDetectionLogEdit")});
}

// On the simulated board: the tag detector behind it.
class TagDetectionOnBoard
    : public detectiontest::SimulatedBoardHolder,
      public TagDetectionHelpers<
          testsupport::WindowFixture<TagDetectionWindow, WindowKind::TagDetection>> {
  protected:
    TagDetectionOnBoard() : TagDetectionHelpers(&reader) {
        tc.values().DemodGainValue = QStringLiteral("D1");
        reader.watch = [this](const reader::JournalEntry&) { countCall(); };
    }
    static bool isIdle(const reader::JournalEntry& e) {
        return e.function == ReaderFunction::KvCmd && e.request.rfind("01070E0", 0) == 0;
    }
    int passes() const {
        int n = 0;
        for (const auto& e : reader.journal()) n += isIdle(e) ? 1 : 0;
        return n;
    }
    // The empty antenna's window: a tag on the detector wakes the transceiver.
    void useCalibratedWindow() {
        setBox("txt_TagDetection_DacDataL_value", QStringLiteral("98"));
        setBox("txt_TagDetection_DacDataH_value", QStringLiteral("A8"));
    }
    void closeWindow() {
        tc.ctx->windows().close(WindowKind::TagDetection);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QColor verdictColour() {
        return get<QLabel>(QStringLiteral("lblTagDetected"))->palette().color(QPalette::WindowText);
    }
    bool blueLampShown() {
        return get<QWidget>(QStringLiteral("ShapTagDetected_1"))->isVisibleTo(w);
    }
    // Runs `fn` at the first event pass after the idle command of pass `pass`.
    void duringPass(int pass, std::function<void()> fn) {
        reader.after = [this, pass, fn](const reader::JournalEntry& e) {
            if (e.function == ReaderFunction::KvCmd && e.request.rfind("01070E0", 0) == 0 &&
                passes() == pass) {
                QMetaObject::invokeMethod(w, fn, Qt::QueuedConnection);
            }
        };
    }
};

TEST_F(TagDetectionOnBoard, CalibrationFindsTheEmptyAntennasThresholdAndSetsTheDetection) {
    useTags({});
    open();
    calibrate();
    EXPECT_EQ(text("txt_Calibration_DacDataL_result"), "98");
    EXPECT_EQ(text("txt_Calibration_DacDataH_result"), "A8");
    EXPECT_EQ(text("txt_TagDetection_DacDataL_value"), "98");
    EXPECT_EQ(text("txt_TagDetection_DacDataH_value"), "A8");
    EXPECT_EQ(get<QLabel>(QStringLiteral("lblDacDataL_result"))->text(), "DacDataL = 0x26");
    EXPECT_EQ(get<QLabel>(QStringLiteral("lblDacDataH_result"))->text(), "DacDataH = 0x2A");
    EXPECT_TRUE(get<QWidget>(QStringLiteral("txt_TagDetection_Calibr_WUflags"))->isVisibleTo(w));
    EXPECT_EQ(text("txt_TagDetection_Calibr_WUflags"), "02");
    EXPECT_EQ(get<detection::Indicator>(QStringLiteral("shapCalibration_WuReason"))->fill(),
              QColor(0, 192, 0));
    EXPECT_TRUE(w->logText().contains(
        QStringLiteral("\t>>>  ---> Calibration result : DacDataL = 0x26 / DacDataH = 0x2A\r\n")));

    // Calibrated, the empty antenna stays inside the window; a tag falls below it.
    reader.clearJournal();
    launch();
    EXPECT_EQ(verdict(), "No Detected Tag");
    EXPECT_EQ(reader.countOf(ReaderFunction::SendReceive, "260100"), 0) << "no probe";

    // The default antenna's tags: the detector sees them as the probes do.
    useDefaultAntenna();
    launch();
    EXPECT_EQ(verdict(), "Detected Tag");
    EXPECT_EQ(caption(), "1 ISO15693 1 ISO14443-A 1 ISO14443-B 1 ISO14443-B 1 FELICA");
    EXPECT_EQ(text("txt_ISO14443B_anticollision_result_6"), "7 : Chip ID = 37");
    EXPECT_EQ(text("txt_ISO14443B_anticollision_result_9"), "10 :");
}

TEST_F(TagDetectionOnBoard, TheRegisterTellsTheReasonWhenTheIdleAnswerDoesNot) {
    simboard::BoardConfig c = board.config();
    c.idleAnswerCarriesReason = false;
    c.detector.tagPresent = true;
    board.applyConfig(c);
    open();
    setBox("txt_TagDetection_DacDataL_value", QStringLiteral("98"));
    setBox("txt_TagDetection_DacDataH_value", QStringLiteral("A8"));
    tickAll(false);
    launch();
    EXPECT_EQ(verdict(), "No Detected Tag") << "without the register, the idle answer says 00";
    get<QCheckBox>(QStringLiteral("chkWithReadRg"))->setChecked(true);
    launch();
    EXPECT_EQ(verdict(), "Detected Tag");
    EXPECT_EQ(text("txt_TagDetection_WUflags"), "02");

    // The calibration reads its flags from the register too.
    c.detector.tagPresent = false;
    board.applyConfig(c);
    calibrate();
    EXPECT_EQ(text("txt_Calibration_DacDataH_result"), "A8");
}

TEST_F(TagDetectionOnBoard, LoopBoxesDecideAnotherPassAtItsEnd) {
    const struct {
        const char* what;
        bool loop;
        bool untilTag;
        int tagFromPass;   // 0: never
        int untickAtPass;  // the ticked loop box is unticked during that pass
        int passes;
    } cases[] = {
        {"no loop, no tag", false, false, 0, 0, 1},
        {"no loop, tag", false, false, 1, 0, 1},
        {"loop until unticked", true, false, 1, 3, 3},
        {"until a tag: no tag, then a tag", false, true, 3, 0, 3},
        {"until a tag: a tag at once", false, true, 1, 0, 1},
        {"until a tag, unticked while none comes", false, true, 0, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        board.setTagPresentForDetector(c.tagFromPass == 1);
        open();
        reader.clearJournal();
        setBox("txt_TagDetection_DacDataL_value", QStringLiteral("98"));
        setBox("txt_TagDetection_DacDataH_value", QStringLiteral("A8"));
        tickAll(false);
        if (c.loop) click(QStringLiteral("chkLoop"));
        if (c.untilTag) click(QStringLiteral("chkLoop_While_detection"));
        reader.after = [&](const reader::JournalEntry& e) {
            if (e.function != ReaderFunction::KvCmd || e.request.rfind("01070E0", 0) != 0) return;
            const int pass = passes();
            if (c.tagFromPass && pass + 1 >= c.tagFromPass) board.setTagPresentForDetector(true);
            if (pass == c.untickAtPass) {
                QMetaObject::invokeMethod(
                    w,
                    [&] {
                        click(QString::fromLatin1(c.loop ? "chkLoop" : "chkLoop_While_detection"));
                    },
                    Qt::QueuedConnection);
            }
        };
        launch();
        reader.after = nullptr;
        EXPECT_EQ(passes(), c.passes);
        tc.ctx->windows().close(WindowKind::TagDetection);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(TagDetectionOnBoard, BoxesChangedDuringARunCountFromTheirNextReading) {
    open();
    tickAll(false);
    click(QStringLiteral("chkLoop"));
    duringPass(1, [this] { setBox("txt_TagDetection_DacDataH_value", QStringLiteral("A8")); });
    reader.after = [this, inner = reader.after](const reader::JournalEntry& e) {
        inner(e);
        const int pass = passes();
        if (e.request.rfind("01070E0", 0) != 0) return;
        if (pass == 2) {
            QMetaObject::invokeMethod(
                w, [this] { setBox("txt_TagDetection_DacDataH_value", QString()); },
                Qt::QueuedConnection);
        }
        if (pass == 3) {
            QMetaObject::invokeMethod(
                w, [this] { click(QStringLiteral("chkLoop")); }, Qt::QueuedConnection);
        }
    };
    launch();
    reader.after = nullptr;
    std::vector<std::string> dacH;
    for (const auto& e : reader.journal()) {
        if (e.request.rfind("01070E0", 0) == 0) dacH.push_back(e.request.substr(28, 2));
    }
    // Pass 2 reads the new value; an empty box in pass 3 sends the value sent last.
    EXPECT_EQ(dacH, (std::vector<std::string>{"FF", "A8", "A8"}));
}

// Closed, or the program quitting, after any call of a calibration or of a looping
// detection's pass (with the register read, every probe answering), the run ends at the
// pump that ran the close: nothing more reaches the board, nothing more reaches the log.
TEST_F(TagDetectionOnBoard, ClosingOrQuittingAnywhereInARunSendsNothingMore) {
    const struct {
        const char* what;
        bool calibration;
        bool quit;
    } runs[] = {{"calibration, closed", true, false},
                {"detection, closed", false, false},
                {"detection, quitting", false, true}};
    for (const auto& r : runs) {
        if (r.calibration) {
            useTags({});
            board.setTagPresentForDetector(std::nullopt);
        } else {
            useDefaultAntenna();
            board.setTagPresentForDetector(true);
        }
        // Opens the window ready to run; a detection loops when `loop` says so.
        const auto ready = [&](bool loop) {
            open();
            reader.clearJournal();
            get<QCheckBox>(QStringLiteral("chkWithReadRg"))->setChecked(true);
            if (r.calibration) return;
            useCalibratedWindow();
            if (loop) click(QStringLiteral("chkLoop"));
        };
        const auto run = [&] {
            if (r.calibration) {
                calibrate();
            } else {
                launch();
            }
        };
        // The calls of a whole calibration, or of one detection pass, undisturbed.
        ready(false);
        run();
        const std::size_t calls = reader.journal().size();
        ASSERT_GT(calls, r.calibration ? 16u : 30u) << r.what;
        closeWindow();

        for (std::size_t at = 1; at <= calls; ++at) {
            SCOPED_TRACE(std::string(r.what) + ", after call " + std::to_string(at));
            std::optional<std::size_t> callsAtClose;
            QString logAtClose;
            reader.after = [&](const reader::JournalEntry&) {
                if (reader.journal().size() != at) return;
                QMetaObject::invokeMethod(
                    w,
                    [&] {
                        callsAtClose = reader.journal().size();
                        logAtClose = w->logText();
                        if (r.quit) {
                            tc.ctx->setQuitting(true);
                        } else {
                            tc.ctx->windows().close(WindowKind::TagDetection);
                        }
                    },
                    Qt::QueuedConnection);
            };
            ready(true);
            tc.values().StopRequested = false;
            QPointer<TagDetectionWindow> window = w;
            run();
            reader.after = nullptr;
            ASSERT_TRUE(callsAtClose) << "no pump after the call";
            EXPECT_EQ(reader.journal().size(), *callsAtClose) << reader.calls().back();
            EXPECT_EQ(tc.values().StopRequested, !r.quit) << "set by the unload alone";
            ASSERT_FALSE(window.isNull());
            EXPECT_EQ(window->logText(), logAtClose);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(window.isNull(), !r.quit) << "deleted once the run returned";
            tc.ctx->setQuitting(false);
            closeWindow();
        }
    }
}

// A calibration or a detection switches off Calibration, Launch and the two probe
// buttons the window lists, and nothing else: the log buttons work in the middle of it.
TEST_F(TagDetectionOnBoard, ARunSwitchesOffItsFourCommandButtonsOnly) {
    const QStringList locked{"cmd_TagDetection_calibration", "cmd_TagDetection_Detection",
                             "cmdISO14443B_AntiCollision", "cmdISO15693_AntiCollision"};
    for (const bool calibration : {true, false}) {
        SCOPED_TRACE(calibration ? "calibration" : "detection");
        open();
        bool checked = false;
        reader.after = [&](const reader::JournalEntry& e) {
            if (checked || !isIdle(e)) return;
            checked = true;
            QMetaObject::invokeMethod(
                w,
                [&] {
                    int controls = 0;
                    for (QWidget* c : w->findChildren<QWidget*>()) {
                        if (!qobject_cast<QAbstractButton*>(c) && !qobject_cast<QLineEdit*>(c))
                            continue;
                        ++controls;
                        EXPECT_EQ(c->isEnabled(), !locked.contains(c->objectName()))
                            << c->objectName().toStdString();
                    }
                    EXPECT_GT(controls, 40);
                    click(QStringLiteral("cmdClearLog"));
                },
                Qt::QueuedConnection);
        };
        if (calibration) {
            calibrate();
        } else {
            launch();
        }
        reader.after = nullptr;
        EXPECT_TRUE(checked);
        EXPECT_FALSE(w->logText().contains(QStringLiteral("TQ73RNDLL_ECHO"))) << "cleared mid-run";
        EXPECT_EQ(get<widgets::LogView>(QStringLiteral("rtfTagDetectionLogEdit"))->toPlainText(),
                  QString(w->logText()).remove(QLatin1Char('\r')));
        for (const QString& name : locked)
            EXPECT_TRUE(get<QWidget>(name)->isEnabled()) << name.toStdString();
        closeWindow();
    }
}

// Each pass starts from empty UID boxes and slots; a pass that finds no tag after one
// that found tags turns the blue lamp and the blue "Detected Tag" off. The REQB and
// FeliCa boxes change only when their probes run.
TEST_F(TagDetectionOnBoard, APassWithoutATagShowsNothingOfThePassBefore) {
    const struct {
        const char* what;
        bool wokenByTag;  // the second pass: woken by the detector on an empty antenna
    } cases[] = {{"second pass woken by the time-out", false},
                 {"second pass woken, no tag answers", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        useDefaultAntennaAnd({{"sola", {{"chipid", "40"}}}});
        board.setTagPresentForDetector(true);
        open();
        reader.clearJournal();
        useCalibratedWindow();
        click(QStringLiteral("chkLoop"));
        QString reqbOfFirstPass;
        QString felicaOfFirstPass;
        QString slot0OfFirstPass;
        int preIdleWrites = 0;
        reader.after = [&](const reader::JournalEntry& e) {
            // The memory tags were probed just before.
            if (e.request == "00FFFF0000" && preIdleWrites == 1)
                slot0OfFirstPass = text(slotBoxName(0));
            if (e.request != kPreIdleWrite || ++preIdleWrites != 2) return;
            if (c.wokenByTag) {
                useTags({});
            } else {
                board.setTagPresentForDetector(false);
            }
            QMetaObject::invokeMethod(
                w,
                [&] {
                    // The first pass's verdict stands; its UIDs and chip IDs are gone.
                    EXPECT_EQ(verdict(), "Detected Tag");
                    EXPECT_EQ(verdictColour(), QColor(0, 0, 255));
                    EXPECT_TRUE(blueLampShown());
                    EXPECT_EQ(caption(), "");
                    EXPECT_EQ(text("txtISO15693DetectTags"), "");
                    EXPECT_EQ(text("txtISO14443ADetectTags"), "");
                    EXPECT_EQ(text("txt_ISO14443B_anticollision_result_6"), "7 : ");
                    EXPECT_EQ(text(slotBoxName(0)), "0 : ");
                    reqbOfFirstPass = text("txt_ISO14443B_REQB_result");
                    felicaOfFirstPass = text("txtFelicaDetectTags");
                    click(QStringLiteral("chkLoop"));
                },
                Qt::QueuedConnection);
        };
        launch();
        reader.after = nullptr;

        EXPECT_EQ(passes(), 2);
        EXPECT_EQ(verdict(), "No Detected Tag");
        EXPECT_EQ(verdictColour(), get<QLabel>(QStringLiteral("lblTagDetected"))
                                       ->parentWidget()
                                       ->palette()
                                       .color(QPalette::WindowText));
        EXPECT_FALSE(blueLampShown());
        EXPECT_TRUE(get<QWidget>(QStringLiteral("ShapTagDetected_0"))->isVisibleTo(w));
        EXPECT_EQ(caption(), "");
        EXPECT_EQ(text("txtISO15693DetectTags"), "");
        EXPECT_EQ(text("txtISO14443ADetectTags"), "");
        for (int slot = 0; slot < detection::kSlotBoxes; ++slot) {
            EXPECT_EQ(text(slotBoxName(slot)), QStringLiteral("%1 : ").arg(slot).left(4));
        }
        EXPECT_EQ(slot0OfFirstPass, "0 : Chip ID = 40");
        EXPECT_FALSE(reqbOfFirstPass.isEmpty());
        EXPECT_FALSE(felicaOfFirstPass.isEmpty());
        EXPECT_EQ(text("txt_ISO14443B_REQB_result"), c.wokenByTag ? "" : reqbOfFirstPass);
        EXPECT_EQ(text("txtFelicaDetectTags"), c.wokenByTag ? "" : felicaOfFirstPass);
        closeWindow();
    }
}

// A memory tag whose chip ID ends in 0 answers in slot 0 and is counted like the others.
TEST_F(TagDetectionOnBoard, MemoryTagsAreCountedFromSlotZeroOn) {
    const struct {
        const char* what;
        std::vector<simboard::TagSpec> tags;
        const char* caption;
        std::vector<std::pair<int, const char*>> boxes;  // slot, what its box shows
    } cases[] = {
        {"slot 0 alone",
         {{"sola", {{"chipid", "40"}}}},
         "1 ISO14443-B ",
         {{0, "0 : Chip ID = 40"}}},
        {"slots 0 and 7",
         {{"sola", {{"chipid", "40"}}}, {"sola", {{"chipid", "37"}}}},
         "2 ISO14443-B ",
         {{0, "0 : Chip ID = 40"}, {7, "7 : Chip ID = 37"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        useTags(c.tags);
        open();
        useCalibratedWindow();
        tickAll(false);
        tick(3, true);
        launch();
        EXPECT_EQ(verdict(), "Detected Tag");
        EXPECT_EQ(caption(), c.caption);
        for (const auto& [slot, shown] : c.boxes) EXPECT_EQ(text(slotBoxName(slot)), shown);
        closeWindow();
    }
}

// The protocol boxes count where a pass probes; how many were ticked counts as the run
// found them when it started (none: the wake-up alone is the tag).
TEST_F(TagDetectionOnBoard, ProtocolBoxesChangedDuringARun) {
    enum When { Never, DuringTheEcho, DuringThePass };
    const struct {
        const char* what;
        bool tickedAtStart;  // "iso18092" alone, or no box
        When toggled;
        int polls;
        const char* caption;
        const char* verdict;
    } cases[] = {
        {"iso18092 ticked throughout", true, Never, 1, "1 FELICA", "Detected Tag"},
        {"none at the start, iso18092 ticked during the echo", false, DuringTheEcho, 1, "",
         "Detected Tag"},
        {"none at the start, iso18092 ticked during the pass", false, DuringThePass, 1, "",
         "Detected Tag"},
        {"iso18092 unticked during the pass", true, DuringThePass, 0, "", "No Detected Tag"},
    };
    board.setTagPresentForDetector(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open();
        reader.clearJournal();
        useCalibratedWindow();
        tickAll(false);
        tick(4, c.tickedAtStart);
        bool toggled = false;
        reader.after = [&](const reader::JournalEntry& e) {
            const bool at = c.toggled == DuringTheEcho ? e.function == ReaderFunction::Echo
                                                       : c.toggled == DuringThePass && isIdle(e);
            if (toggled || !at) return;
            toggled = true;
            QMetaObject::invokeMethod(
                w, [&] { tick(4, !c.tickedAtStart); }, Qt::QueuedConnection);
        };
        launch();
        reader.after = nullptr;
        EXPECT_EQ(reader.countOf(ReaderFunction::SendReceive, "00FFFF0000"), c.polls);
        EXPECT_EQ(caption(), c.caption);
        EXPECT_EQ(verdict(), c.verdict);
        EXPECT_EQ(blueLampShown(), std::string(c.verdict) == "Detected Tag");
        closeWindow();
    }
}

}  // namespace
