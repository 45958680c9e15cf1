#include "detection/auto_detect_window.hpp"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <optional>
#include <string_view>

#include "board_fixture.hpp"
#include "core/app_context.hpp"
#include "loop_bound.hpp"
#include "window_fixture.hpp"

namespace {

using core::WindowKind;
using detection::AutoDetectWindow;
using detectiontest::entryTitles;
using detectiontest::slotBoxName;
using reader::ReaderFunction;
using simboard::TagSpec;

constexpr char kAllFive[] = "1 ISO15693 1 ISO14443-A 1 ISO14443-B 1 ISO14443-B 1 FELICA";

class AutoDetectTest : public detectiontest::SimulatedBoardHolder,
                       public testsupport::WindowFixture<AutoDetectWindow, WindowKind::AutoDetect> {
  protected:
    AutoDetectTest() : WindowFixture(&reader) {
        tc.values().DemodGainValue = QStringLiteral("D1");
        reader.watch = [this](const reader::JournalEntry&) {
            if (bound) bound->pass();
        };
    }

    AutoDetectWindow* open() {
        WindowFixture::open();
        bound.emplace(w, detectiontest::kCallLimit, "calls");
        return w;
    }
    // Every pass, and nothing else of the window, begins by switching the field off.
    static bool isFieldOff(const reader::JournalEntry& e) {
        return e.function == ReaderFunction::Select && e.request == "0000";
    }
    std::optional<testsupport::LoopBound> bound;

    QString text(const char* name) { return get<QLineEdit>(QString::fromLatin1(name))->text(); }
    QString caption() { return get<QLabel>(QStringLiteral("lblTagDetection_result"))->text(); }
    QString verdict() { return get<QLabel>(QStringLiteral("lblTagDetected"))->text(); }
    void chooseMode(int mode) {
        get<QRadioButton>(QStringLiteral("optLoopAutoDetectionTool_%1").arg(mode))
            ->setChecked(true);
    }
    // Every pass opens with one field-off entry, however often its select was sent.
    int passes() const {
        return static_cast<int>(w->logText().count(QStringLiteral("\tTQ73RN RF OFF\r\n")));
    }
    // Presses Stop Loop at the first event pass after the field-off of pass `pass`.
    void stopDuringPass(int pass) {
        reader.after = [this, pass](const reader::JournalEntry& e) {
            if (isFieldOff(e) && reader.countOf(ReaderFunction::Select, "0000") == pass) {
                QMetaObject::invokeMethod(
                    w, [this] { click(QStringLiteral("cmdStopLoop")); }, Qt::QueuedConnection);
            }
        };
    }
    // The calls of pass `pass` (from its field-off to the next one).
    std::vector<std::string> callsOfPass(int pass) const {
        const auto all = reader.calls();
        std::vector<std::string> out;
        int seen = 0;
        for (const auto& c : all) {
            if (c == "Select 0000") ++seen;
            if (seen == pass) out.push_back(c);
        }
        return out;
    }
};

TEST_F(AutoDetectTest, OpensWithAllProtocolsTickedNoLoopAndNothingShown) {
    open();
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(
            get<QCheckBox>(QStringLiteral("chkTagDetSelectProtocols_%1").arg(i))->isChecked());
    EXPECT_TRUE(get<QRadioButton>(QStringLiteral("optLoopAutoDetectionTool_0"))->isChecked());
    EXPECT_TRUE(get<QPushButton>(QStringLiteral("cmdStopLoop"))->isHidden());
    EXPECT_TRUE(get<QWidget>(QStringLiteral("ShapTagDetected_0"))->isHidden());
    EXPECT_TRUE(get<QWidget>(QStringLiteral("ShapTagDetected_1"))->isHidden());
    EXPECT_TRUE(get<QLabel>(QStringLiteral("lblTagDetected"))->isHidden());
    EXPECT_EQ(text("txt_ISO14443B_anticollision_result_slot0"), "0 : ");
    EXPECT_EQ(text("txt_ISO14443B_anticollision_result_0"), "1 : ");
    EXPECT_EQ(text("txt_ISO14443B_anticollision_result_14"), "15 : ");
    EXPECT_EQ(w->windowTitle(), "   Auto Detect Tool  user interface  ");

    auto* launch = get<QPushButton>(QStringLiteral("cmd_Auto_Detection_Process"));
    for (int i = 0; i < 5; ++i) click(QStringLiteral("chkTagDetSelectProtocols_%1").arg(i));
    EXPECT_FALSE(launch->isEnabled());
    click(QStringLiteral("chkTagDetSelectProtocols_3"));
    EXPECT_TRUE(launch->isEnabled());
    EXPECT_TRUE(reader.journal().empty());
}

TEST_F(AutoDetectTest, LoopModesOverAntennas) {
    const std::vector<TagSpec> twoSola{{"sola", {{"chipid", "33"}}}, {"sola", {{"chipid", "3C"}}}};
    const struct {
        const char* what;
        std::optional<std::vector<TagSpec>> tags;  // nullopt: the default antenna
        bool badIso15693Crc;
        int mode;
        int stopAtPass;  // 0: the run must end by itself
        int passes;
        const char* caption;
        // The calls of pass 2 besides its field-off, when it has one.
        std::vector<std::string> secondPass;
        // Slot boxes (by name) and what they show at the end.
        std::vector<std::pair<const char*, const char*>> boxes = {};
    } cases[] = {
        {"default, one pass", std::nullopt, false, 0, 0, 1, kAllFive, {}},
        {"default, endless", std::nullopt, false, 1, 3, 3, kAllFive, {}},
        {"default, until found", std::nullopt, false, 2, 0, 1, kAllFive, {}},
        {"default, lock on the first protocol",
         std::nullopt,
         false,
         3,
         3,
         3,
         "1 ISO15693 ",
         {"Select 0000", "Select 010D", "SendReceive 260100"}},
        {"empty, until found", std::vector<TagSpec>{}, false, 2, 2, 2, "", {}},
        {"two SOLA tags end the lock mode", twoSola, false, 3, 0, 1, "2 ISO14443-B ", {}},
        {"a SOLA tag of slot 0 alone",
         std::vector<TagSpec>{{"sola", {{"chipid", "40"}}}},
         false,
         0,
         0,
         1,
         "1 ISO14443-B ",
         {},
         {{"txt_ISO14443B_anticollision_result_slot0", "0 : Chip ID = 40"}}},
        {"SOLA tags of slots 0 and 7",
         std::vector<TagSpec>{{"sola", {{"chipid", "40"}}}, {"sola", {{"chipid", "37"}}}},
         false,
         0,
         0,
         1,
         "2 ISO14443-B ",
         {},
         {{"txt_ISO14443B_anticollision_result_slot0", "0 : Chip ID = 40"},
          {"txt_ISO14443B_anticollision_result_6", "7 : Chip ID = 37"}}},
        {"ISO14443-A alone, lock",
         std::vector<TagSpec>{{"iso14443a", {}}},
         false,
         3,
         3,
         3,
         "1 ISO14443-A ",
         {"Select 0000", "Select 02000180", "KvCmd 0109043A005804", "KvCmd 010904680101D1",
          "KvCmd 0109110B00241204880F1F3F3F01000505005500", "SendReceive 2607",
          "SendReceive 932008", "SendReceive 93708804A1B29F28", "SendReceive 952008",
          "SendReceive 9570C3D4E5F60428"}},
        {"bad ISO15693 CRC: no lock, the rest skipped",
         std::vector<TagSpec>{{"iso15693", {}}},
         true,
         3,
         2,
         2,
         "",
         {"Select 0000", "Select 010D", "SendReceive 260100"}},
        {"bad ISO15693 CRC, one pass",
         std::vector<TagSpec>{{"iso15693", {}}},
         true,
         0,
         0,
         1,
         "",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.tags) useTags(*c.tags);
        board.setAnswerFault(c.badIso15693Crc ? simboard::AnswerFault{0x01, true}
                                              : simboard::AnswerFault{});
        open();
        reader.clearJournal();
        chooseMode(c.mode);
        if (c.stopAtPass) stopDuringPass(c.stopAtPass);
        click(QStringLiteral("cmd_Auto_Detection_Process"));
        reader.after = nullptr;

        EXPECT_EQ(passes(), c.passes);
        EXPECT_EQ(caption(), c.caption);
        EXPECT_EQ(verdict(), QString::fromLatin1(*c.caption ? "Detected Tag" : "No Detected Tag"));
        EXPECT_EQ(get<QWidget>(QStringLiteral("ShapTagDetected_1"))->isHidden(), !*c.caption);
        if (!c.secondPass.empty()) {
            EXPECT_EQ(callsOfPass(2), c.secondPass);
        }
        for (const auto& [box, shown] : c.boxes) EXPECT_EQ(text(box), shown) << box;
        EXPECT_TRUE(get<QPushButton>(QStringLiteral("cmd_Auto_Detection_Process"))->isEnabled());
        EXPECT_TRUE(get<QPushButton>(QStringLiteral("cmdStopLoop"))->isHidden());
        EXPECT_FALSE(tc.values().StopRequested);
        tc.ctx->windows().close(WindowKind::AutoDetect);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The lock of the last loop mode is taken once a run: a second memory tag that comes
// onto the antenna once the run has locked onto the memory tags is counted, and the run
// goes on probing them alone until Stop Loop.
TEST_F(AutoDetectTest, TheLockIsTakenOnceARunAndHoldsWhenASecondMemoryTagArrives) {
    const std::vector<TagSpec> oneSola{{"sola", {{"chipid", "33"}}}};
    const std::vector<TagSpec> twoSola{{"sola", {{"chipid", "33"}}}, {"sola", {{"chipid", "3C"}}}};
    useTags(oneSola);
    open();
    reader.clearJournal();
    chooseMode(3);
    reader.after = [this, &twoSola](const reader::JournalEntry& e) {
        if (!isFieldOff(e)) return;
        const int pass = reader.countOf(ReaderFunction::Select, "0000");
        if (pass == 2) useTags(twoSola);
        if (pass == 4) {
            QMetaObject::invokeMethod(
                w, [this] { click(QStringLiteral("cmdStopLoop")); }, Qt::QueuedConnection);
        }
    };
    click(QStringLiteral("cmd_Auto_Detection_Process"));
    reader.after = nullptr;

    EXPECT_EQ(passes(), 4);
    EXPECT_EQ(caption(), "2 ISO14443-B ");
    // Locked from the first pass: the passes after it probe the memory tags alone, so
    // none of them selects the ISO15693 protocol, which every unlocked pass probes first.
    for (int pass = 1; pass <= 4; ++pass) {
        const std::vector<std::string> calls = callsOfPass(pass);
        EXPECT_GT(calls.size(), 1u) << pass;
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "Select 010D"), pass == 1 ? 1 : 0) << pass;
    }
}

TEST_F(AutoDetectTest, OnePassOnTheDefaultAntennaShowsEveryTagAndLogsEveryExchange) {
    open();
    click(QStringLiteral("cmd_Auto_Detection_Process"));

    EXPECT_EQ(caption(), kAllFive);
    EXPECT_EQ(text("txtISO15693DetectTags"), "UID = E002030405060708");
    EXPECT_EQ(text("txtISO14443ADetectTags"), "04A1B2C3D4E5F6");
    EXPECT_EQ(text("txt_ISO14443B_anticollision_result_6"), "7 : Chip ID = 37");
    EXPECT_EQ(text("txt_ISO14443B_REQB_result").left(10), "50A1B2C3D4");
    EXPECT_EQ(text("txtFelicaDetectTags"),
              "1201"
              "0102030405060708"
              "1112131415161718");
    const QStringList titles = entryTitles(w->logText());
    // Field off, ISO15693 2, ISO14443-A 4 + 5, REQB 3, memory tags 19, FeliCa 4.
    EXPECT_EQ(titles.size(), 1 + 2 + 9 + 3 + 19 + 4);
    EXPECT_EQ(titles.first(), "TQ73RN RF OFF");
    EXPECT_EQ(titles.last(), "REQC");
    EXPECT_TRUE(
        w->logText().startsWith("\r\n03-14-2026 09:26:53\t>>> TQ73RNDLL_ECHO\r\n\t\t\t<<< 5500"));
}

// Stop Loop goes at the click, in the middle of the pass, while the run still has the
// rest of that pass to make; Launch, still off, is seen in its place until the run ends.
TEST_F(AutoDetectTest, StopLoopDuringAProbeHidesItAtOnceAndLetsThePassFinish) {
    open();
    ASSERT_TRUE(w->isVisible());
    chooseMode(1);
    auto* stop = get<QPushButton>(QStringLiteral("cmdStopLoop"));
    auto* launch = get<QPushButton>(QStringLiteral("cmd_Auto_Detection_Process"));
    bool clicked = false;
    reader.after = [&](const reader::JournalEntry& e) {
        if (clicked || e.request != "0600") return;
        clicked = true;
        QMetaObject::invokeMethod(
            w,
            [&] {
                ASSERT_TRUE(stop->isVisible()) << "shown while the run goes on";
                click(QStringLiteral("cmdStopLoop"));
                EXPECT_FALSE(stop->isVisible());
                EXPECT_TRUE(launch->isVisible());
                EXPECT_FALSE(launch->isEnabled());
                EXPECT_EQ(reader.countOf(ReaderFunction::SendReceive, "00FFFF0000"), 0)
                    << "the pass is still under way";
            },
            Qt::QueuedConnection);
    };
    click(QStringLiteral("cmd_Auto_Detection_Process"));

    EXPECT_TRUE(clicked);
    EXPECT_EQ(passes(), 1);
    EXPECT_EQ(reader.calls().back(), "SendReceive 00FFFF0000") << "FeliCa still ran";
    EXPECT_EQ(caption(), kAllFive);
    EXPECT_FALSE(tc.values().StopRequested);
    EXPECT_FALSE(stop->isVisible());
    EXPECT_TRUE(launch->isEnabled());
}

// The verdict, its words and its grey lamp, are on screen after every run, whatever the
// pass found; the blue lamp only after a pass that found a tag. Each window makes two
// runs, the second on the other antenna.
TEST_F(AutoDetectTest, TheVerdictIsOnScreenAfterAPassWithOrWithoutATag) {
    const struct {
        const char* what;
        bool tag;  // the default antenna, or an empty one
        bool protocols;
    } firstRuns[] = {{"a tag, then none", true, true},
                     {"no tag, then a tag", false, true},
                     {"no protocol ticked, then a tag", false, false}};
    for (const auto& c : firstRuns) {
        SCOPED_TRACE(c.what);
        open();
        ASSERT_TRUE(w->isVisible());
        bool protocols = c.protocols;
        if (!protocols) {
            for (int i = 0; i < 5; ++i) click(QStringLiteral("chkTagDetSelectProtocols_%1").arg(i));
        }
        for (const bool tag : {c.tag, !c.tag}) {
            if (tag) {
                useDefaultAntenna();
            } else {
                useTags({});
            }
            w->cmd_Auto_Detection_Process_Click();
            const bool found = tag && protocols;
            auto* label = get<QLabel>(QStringLiteral("lblTagDetected"));
            EXPECT_TRUE(label->isVisible()) << tag;
            EXPECT_EQ(label->text(),
                      QString::fromLatin1(found ? "Detected Tag" : "No Detected Tag"));
            EXPECT_TRUE(get<QWidget>(QStringLiteral("ShapTagDetected_0"))->isVisible()) << tag;
            EXPECT_EQ(get<QWidget>(QStringLiteral("ShapTagDetected_1"))->isVisible(), found);
            if (!protocols) {
                click(QStringLiteral("chkTagDetSelectProtocols_0"));
                protocols = true;
            }
        }
        tc.ctx->windows().close(WindowKind::AutoDetect);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(AutoDetectTest, AStopRequestedBeforeTheRunGivesOnePass) {
    open();
    chooseMode(1);
    tc.values().StopRequested = true;
    click(QStringLiteral("cmd_Auto_Detection_Process"));
    EXPECT_EQ(passes(), 1);
    EXPECT_FALSE(tc.values().StopRequested);
}

TEST_F(AutoDetectTest, ARunWithoutProtocolsSendsNothing) {
    open();
    for (int i = 0; i < 5; ++i) click(QStringLiteral("chkTagDetSelectProtocols_%1").arg(i));
    w->cmd_Auto_Detection_Process_Click();
    EXPECT_TRUE(reader.journal().empty());
    EXPECT_EQ(verdict(), "No Detected Tag");
    EXPECT_FALSE(get<QPushButton>(QStringLiteral("cmd_Auto_Detection_Process"))->isEnabled());
    EXPECT_TRUE(get<QPushButton>(QStringLiteral("cmd_Auto_Detection_Process"))->isVisible() ||
                !w->isVisible());
}

TEST_F(AutoDetectTest, AnEchoOtherThan5500IsRepeatedOnce) {
    open();
    board.faults().queue(ReaderFunction::Echo, {0, std::string("5501")});
    click(QStringLiteral("cmd_Auto_Detection_Process"));
    EXPECT_EQ(reader.countOf(ReaderFunction::Echo, ""), 2);
    EXPECT_EQ(w->logText().count(QStringLiteral(">>> TQ73RNDLL_ECHO")), 2);
    EXPECT_EQ(caption(), kAllFive);
}

TEST_F(AutoDetectTest, AnUnpluggedBoardGivesNoDetectedTagAndTheNotConnectedPhrase) {
    open();
    tc.ctx->statusBar().setPanelText(1, QStringLiteral(" DEMO-TQ73RN-A BOARD CONNECTED"));
    board.unplug();
    click(QStringLiteral("cmd_Auto_Detection_Process"));
    EXPECT_EQ(passes(), 1);
    EXPECT_EQ(verdict(), "No Detected Tag");
    EXPECT_EQ(tc.ctx->statusBar().panelText(1), " DEMO-TQ73RN-A BOARD NOT CONNECTED");
    EXPECT_TRUE(get<QPushButton>(QStringLiteral("cmd_Auto_Detection_Process"))->isEnabled());
}

TEST_F(AutoDetectTest, TheRunLocksEveryProbeButtonAndIgnoresProbeClicks) {
    open();
    std::size_t callsBefore = 0;
    bool checked = false;
    reader.after = [&](const reader::JournalEntry& e) {
        if (checked || e.request != "260100") return;
        checked = true;
        QMetaObject::invokeMethod(
            w,
            [&] {
                for (const char* b : {"cmdISO15693_AntiCollision", "cmdISO14443A_AntiCollision",
                                      "cmdISO14443B_AntiCollision", "cmdFelica_AntiCollision",
                                      "cmdSaveLog", "cmdClearLog", "cmd_Auto_Detection_Process"}) {
                    EXPECT_FALSE(get<QWidget>(QString::fromLatin1(b))->isEnabled()) << b;
                }
                EXPECT_FALSE(get<QWidget>(QStringLiteral("FraOptLoop"))->isEnabled());
                EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdStopLoop"))->isVisible());
                callsBefore = reader.journal().size();
                w->probeButtonClicked(detection::FelicaButton);
                EXPECT_EQ(reader.journal().size(), callsBefore) << "no probe inside the run";
            },
            Qt::QueuedConnection);
    };
    click(QStringLiteral("cmd_Auto_Detection_Process"));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(get<QWidget>(QStringLiteral("cmdFelica_AntiCollision"))->isEnabled());
}

TEST_F(AutoDetectTest, ProbeButtonsRunTheirProbeAloneWithoutSetUp) {
    open();
    const struct {
        const char* button;
        std::vector<std::string> firstCalls;
        int entries;
    } cases[] = {
        {"cmdISO15693_AntiCollision", {"SendReceive 260100"}, 1},
        {"cmdFelica_AntiCollision", {"SendReceive 00FFFF0000"}, 1},
        {"cmdISO14443A_AntiCollision", {"SendReceive 2607"}, 1},
        {"cmdISO14443B_AntiCollision",
         {"SendReceive 0600", "SendReceive 0604", "SendReceive 16"},
         18},
    };
    for (const auto& c : cases) {
        reader.clearJournal();
        click(QStringLiteral("cmdClearLog"));
        click(QString::fromLatin1(c.button));
        const auto calls = reader.calls();
        ASSERT_GE(calls.size(), c.firstCalls.size()) << c.button;
        EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + c.firstCalls.size()),
                  c.firstCalls)
            << c.button;
        EXPECT_EQ(entryTitles(w->logText()).size(), c.entries) << c.button;
    }
    // The last button ran the memory-tag probe, then REQB.
    EXPECT_EQ(reader.calls().back(), "SendReceive 0500F0");
}

TEST_F(AutoDetectTest, ClosingOrQuittingInsideAProbeEndsTheRunThere) {
    for (const bool quit : {false, true}) {
        SCOPED_TRACE(quit ? "quitting" : "closing");
        open();
        chooseMode(1);
        QPointer<AutoDetectWindow> window = w;
        std::size_t callsAtClose = 0;
        reader.after = [&](const reader::JournalEntry& e) {
            if (callsAtClose || e.request != "0600") return;
            callsAtClose = reader.journal().size();
            QMetaObject::invokeMethod(
                w,
                [&, quit] {
                    if (quit) {
                        tc.ctx->setQuitting(true);
                    } else {
                        tc.ctx->windows().close(WindowKind::AutoDetect);
                    }
                },
                Qt::QueuedConnection);
        };
        click(QStringLiteral("cmd_Auto_Detection_Process"));
        reader.after = nullptr;
        EXPECT_EQ(reader.journal().size(), callsAtClose) << "nothing sent after the close";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!quit) {
            EXPECT_TRUE(window.isNull()) << "deleted once the run returned";
        }
        tc.ctx->setQuitting(false);
        tc.ctx->windows().close(WindowKind::AutoDetect);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        reader.clearJournal();
    }
}

// After a pass with tags, a pass without turns the blue lamp and the blue "Detected Tag"
// off and shows nothing of the first pass: each probe rewrites the boxes it owns.
TEST_F(AutoDetectTest, APassWithoutTagsShowsNothingOfThePassBefore) {
    useDefaultAntennaAnd({{"sola", {{"chipid", "40"}}}});
    open();
    chooseMode(1);
    auto* detected = get<QLabel>(QStringLiteral("lblTagDetected"));
    bool checked = false;
    reader.after = [&](const reader::JournalEntry& e) {
        if (checked || e.request != "0000" || reader.countOf(ReaderFunction::Select, "0000") != 2)
            return;
        checked = true;
        useTags({});
        QMetaObject::invokeMethod(
            w,
            [&] {
                EXPECT_EQ(verdict(), "Detected Tag");
                EXPECT_EQ(detected->palette().color(QPalette::WindowText), QColor(0, 0, 255));
                EXPECT_TRUE(get<QWidget>(QStringLiteral("ShapTagDetected_1"))->isVisibleTo(w));
                EXPECT_EQ(text("txt_ISO14443B_anticollision_result_slot0"), "0 : Chip ID = 40");
                click(QStringLiteral("cmdStopLoop"));
            },
            Qt::QueuedConnection);
    };
    click(QStringLiteral("cmd_Auto_Detection_Process"));
    reader.after = nullptr;

    EXPECT_TRUE(checked);
    EXPECT_EQ(passes(), 2);
    EXPECT_EQ(verdict(), "No Detected Tag");
    EXPECT_EQ(detected->palette().color(QPalette::WindowText),
              detected->parentWidget()->palette().color(QPalette::WindowText));
    EXPECT_FALSE(get<QWidget>(QStringLiteral("ShapTagDetected_1"))->isVisibleTo(w));
    EXPECT_TRUE(get<QWidget>(QStringLiteral("ShapTagDetected_0"))->isVisibleTo(w));
    EXPECT_EQ(caption(), "");
    for (const char* box : {"txtISO15693DetectTags", "txtISO14443ADetectTags",
                            "txt_ISO14443B_REQB_result", "txtFelicaDetectTags"}) {
        EXPECT_EQ(text(box), "") << box;
    }
    for (int slot = 0; slot < detection::kSlotBoxes; ++slot) {
        EXPECT_EQ(get<QLineEdit>(slotBoxName(slot))->text(),
                  QStringLiteral("%1 : ").arg(slot).left(4));
    }
}

// A run starts from empty ISO15693 and type A boxes and slots, whether it probes them or
// not; the REQB and FeliCa boxes of a protocol it does not probe keep what they show.
TEST_F(AutoDetectTest, ARunEmptiesTheUidBoxesAndSlotsButNotTheCardBoxes) {
    open();
    click(QStringLiteral("cmd_Auto_Detection_Process"));
    ASSERT_EQ(caption(), kAllFive);
    const QString reqb = text("txt_ISO14443B_REQB_result");
    ASSERT_FALSE(reqb.isEmpty());
    for (int i = 0; i < 4; ++i) click(QStringLiteral("chkTagDetSelectProtocols_%1").arg(i));
    click(QStringLiteral("cmd_Auto_Detection_Process"));
    EXPECT_EQ(caption(), "1 FELICA");
    EXPECT_EQ(text("txtISO15693DetectTags"), "");
    EXPECT_EQ(text("txtISO14443ADetectTags"), "");
    EXPECT_EQ(text("txt_ISO14443B_anticollision_result_6"), "7 : ");
    EXPECT_EQ(text("txt_ISO14443B_REQB_result"), reqb);
}

// A 10-byte UID: three cascade levels, and the probe goes no further than the third.
TEST_F(AutoDetectTest, ATripleSizeUidIsCountedAfterTheThirdLevel) {
    useTags({{"iso14443a", {{"uid", "04A1B2C3D4E5F6071829"}}}});
    open();
    for (int i : {0, 2, 3, 4}) click(QStringLiteral("chkTagDetSelectProtocols_%1").arg(i));
    click(QStringLiteral("cmd_Auto_Detection_Process"));

    EXPECT_EQ(caption(), "1 ISO14443-A ");
    EXPECT_EQ(verdict(), "Detected Tag");
    EXPECT_EQ(text("txtISO14443ADetectTags"), "04A1B2C3D4E5F6071829");
    std::vector<std::string> exchanges;
    for (const auto& c : callsOfPass(1)) {
        if (c.rfind("SendReceive", 0) == 0) exchanges.push_back(c);
    }
    EXPECT_EQ(exchanges,
              (std::vector<std::string>{"SendReceive 2607", "SendReceive 932008",
                                        "SendReceive 93708804A1B29F28", "SendReceive 952008",
                                        "SendReceive 957088C3D4E57A28", "SendReceive 972008",
                                        "SendReceive 9770F6071829C028"}));
}

// A probe button sends its frames under the protocol the run left the transceiver in, so
// a tag of that protocol may answer them; such an answer never shows as a tag.
TEST_F(AutoDetectTest, AProbeButtonNeverTakesAnotherProtocolsAnswerForATag) {
    const struct {
        int endedOn;  // the one protocol box ticked for the run
        std::vector<const char*> buttons;
    } cases[] = {
        {0,
         {"cmdISO14443A_AntiCollision", "cmdISO14443B_AntiCollision", "cmdFelica_AntiCollision"}},
        {1, {"cmdISO15693_AntiCollision", "cmdISO14443B_AntiCollision", "cmdFelica_AntiCollision"}},
        {2, {"cmdISO15693_AntiCollision", "cmdISO14443A_AntiCollision", "cmdFelica_AntiCollision"}},
        {4,
         {"cmdISO15693_AntiCollision", "cmdISO14443A_AntiCollision", "cmdISO14443B_AntiCollision"}},
    };
    const struct {
        const char* button;
        std::vector<const char*> boxes;
    } owns[] = {
        {"cmdISO15693_AntiCollision", {"txtISO15693DetectTags"}},
        {"cmdISO14443A_AntiCollision", {"txtISO14443ADetectTags"}},
        {"cmdISO14443B_AntiCollision", {"txt_ISO14443B_REQB_result"}},
        {"cmdFelica_AntiCollision", {"txtFelicaDetectTags"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.endedOn);
        open();
        for (int i = 0; i < 5; ++i) {
            if (i != c.endedOn) click(QStringLiteral("chkTagDetSelectProtocols_%1").arg(i));
        }
        click(QStringLiteral("cmd_Auto_Detection_Process"));
        ASSERT_EQ(verdict(), "Detected Tag");
        for (const char* button : c.buttons) {
            click(QString::fromLatin1(button));
            for (const auto& o : owns) {
                if (std::string(o.button) != button) continue;
                for (const char* box : o.boxes) EXPECT_EQ(text(box), "") << button;
            }
            for (int slot = 0; slot < detection::kSlotBoxes; ++slot) {
                EXPECT_FALSE(
                    get<QLineEdit>(slotBoxName(slot))->text().contains(QStringLiteral("Chip ID")))
                    << button;
            }
        }
        tc.ctx->windows().close(WindowKind::AutoDetect);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Several tags of one protocol answer at once: what the transceiver heard is the OR of
// their bits, no tag's ID. The boxes show none and the log says why.
TEST_F(AutoDetectTest, SeveralTagsOfAProtocolShowNoIdAndTheLogSaysCollision) {
    useTags({{"iso14443a", {{"uid", "048D2432273B80"}}},
             {"iso14443a", {{"uid", "04A1B2C3D4E5F6"}}},
             {"felica", {{"idm", "0102030405060708"}}},
             {"felica", {{"idm", "01020304050607F0"}}},
             {"iso15693", {}}});
    open();
    click(QStringLiteral("cmd_Auto_Detection_Process"));

    EXPECT_EQ(caption(), "1 ISO15693 ");
    EXPECT_EQ(text("txtISO14443ADetectTags"), "");
    EXPECT_EQ(text("txtFelicaDetectTags"), "");
    EXPECT_EQ(w->logText().count(QStringLiteral(" -> collision at byte ")), 1);
    EXPECT_TRUE(w->logText().contains(
        QStringLiteral(" -> collision : several tags answered, no IDm shown")));
    EXPECT_EQ(reader.countOf(ReaderFunction::SendReceive, "952008"), 0) << "no SELECT of the OR";
}

}  // namespace
