#include "shell/startup_detection.hpp"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

#include "core/status_bar.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"
#include "transceiver/board_answers.hpp"

using namespace shell;
using namespace core;
using namespace transceiver;
using reader::ReaderFunction;

namespace {

QString hexOf(const char* text) { return QString::fromLatin1(QByteArray(text).toHex().toUpper()); }

TEST(DetectionDecoding, LibraryRevisionNumber) {
    const struct {
        const char* answer;
        int number;
    } cases[] = {{"3.4.1", 34}, {"0.2", 2}, {"5.1.0", 51}, {"4.0", 40},
                 {"10.2", 10},  {"", 0},    {"x.1", 0},    {"3", 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::decodeDllRevisionNumber(QLatin1String(c.answer)), c.number)
            << c.answer;
    }
}

TEST(DetectionDecoding, FirmwareRevisionTakesOnlyBytesPresent) {
    const struct {
        const char* answer;
        const char* text;
    } cases[] = {
        {"0003010401", "1.4.1"},
        {"0002010A", "1.10"},
        {"000A0102", "1.2"},  // claims ten bytes, holds two
        {"0003010", "1"},     // half a byte at the end
        {"0002", ""},
        {"00", ""},
        {"0002ZZ01", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::decodeMcuRevisionText(QLatin1String(c.answer)),
                  QLatin1String(c.text))
            << c.answer;
    }
}

// Every data byte but the last two (the CRC) is a character; a NUL ends the text, so no
// NUL ever reaches the caption or ReaderIdnText.
const struct IdnCase {
    const char* name;
    QString answer;
    const char* text;
} kIdnCases[] = {
    {"whole", "000F" + hexOf("TQ73RN-SIM-2A") + "1234", "TQ73RN-SIM-2A"},
    {"NUL before the CRC", "0010" + hexOf("TQ73RN-SIM-2A") + "001234", "TQ73RN-SIM-2A"},
    {"NUL inside", "0010" + hexOf("TQ73RN") + "00" + hexOf("SIM-2A") + "1234", "TQ73RN"},
    {"NUL first", "0005" + QStringLiteral("00414242") + "1234", ""},
    {"two NULs before the CRC", "0006" + hexOf("AB") + "00001234", "AB"},
    {"CRC of 00 00", "000F" + hexOf("TQ73RN-SIM-2A") + "0000", "TQ73RN-SIM-2A"},
    {"CRC only", "00024142", ""},
    {"one character", "0003414243", "A"},
    {"status only", "00", ""},
};

TEST(DetectionDecoding, IdentificationDropsTheCrcAndEndsAtANul) {
    for (const IdnCase& c : kIdnCases) {
        SCOPED_TRACE(c.name);
        const QString text = transceiver::decodeIdnCharacters(c.answer);
        EXPECT_EQ(text, QLatin1String(c.text));
        EXPECT_FALSE(text.contains(QChar(0)));
    }
}

struct DetectionFixture : ::testing::Test {
    explicit DetectionFixture(reader::ReaderLibrary* reader = nullptr) : t(reader) {
        t.scripted.setHealthyDefaults();
        t.ctx->windows().registerFactory(
            core::WindowKind::StartupDetection,
            [](core::AppContext& c) { return new StartupDetectionWindow(c); });
    }
    ~DetectionFixture() override { t.ctx->windows().close(core::WindowKind::StartupDetection); }

    StartupDetectionWindow* window() {
        return static_cast<StartupDetectionWindow*>(
            t.ctx->windows().find(core::WindowKind::StartupDetection));
    }
    QLabel* label(const char* name) { return window()->findChild<QLabel*>(QLatin1String(name)); }
    bool isRed(const char* name) {
        return label(name)->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
    }
    std::vector<ReaderFunction> callOrder() const {
        std::vector<ReaderFunction> out;
        for (const auto& c : t.scripted.calls()) out.push_back(c.function);
        return out;
    }
    // Starts the window and lets the first tick run the detection to its outcome.
    void detect() {
        ASSERT_NE(t.ctx->windows().show(core::WindowKind::StartupDetection), nullptr);
        EXPECT_TRUE(t.values().DetectionPending);
        t.timing.advance(1999);
        EXPECT_TRUE(t.scripted.calls().empty());
        t.timing.advance(1);
    }
    // The menus come back and the window goes exactly three seconds after the outcome.
    void expectClosingThreeSecondsLater() {
        ASSERT_NE(window(), nullptr);
        EXPECT_FALSE(t.values().DetectionPending);
        t.timing.advance(2999);
        EXPECT_FALSE(t.ctx->statusBar().menusEnabled());
        EXPECT_NE(window(), nullptr);
        t.timing.advance(1);
        EXPECT_TRUE(t.ctx->statusBar().menusEnabled());
        EXPECT_EQ(window(), nullptr);
        EXPECT_EQ(t.timing.pendingTimers(), 0);
    }

    testsupport::TestContext t;
};

TEST_F(DetectionFixture, HealthyBoardPublishesValuesAndStatusPhrase) {
    t.scripted.setDefault(ReaderFunction::Idn, 0,
                          ("000F" + hexOf("TQ73RN-SIM-2A") + "0000").toStdString());
    detect();
    EXPECT_EQ(callOrder(),
              (std::vector{ReaderFunction::GetDllRev, ReaderFunction::UsbConnect,
                           ReaderFunction::GetMcuRev, ReaderFunction::Echo, ReaderFunction::Idn}));
    EXPECT_EQ(t.values().DllRevisionNumber, 51);
    EXPECT_EQ(t.values().McuRevisionText, QStringLiteral("1.4.1"));
    EXPECT_EQ(t.values().ReaderIdnText, QStringLiteral("IDN = TQ73RN-SIM-2A"));
    EXPECT_EQ(t.ctx->statusBar().panelText(1), QLatin1String(core::kBoardConnectedPhrase));
    EXPECT_EQ(label("lblDetectionStatus")->text(), QLatin1String(kDetectionOkText));
    EXPECT_FALSE(isRed("lblDetectionStatus"));
    EXPECT_EQ(label("lblDllRev")->text(), QStringLiteral("DLL REV = 5.1.0"));
    EXPECT_EQ(label("lblMCUrev")->text(), QStringLiteral("MCU REV = 1.4.1"));
    EXPECT_TRUE(label("lblDetectionOnGoing")->isHidden());
    const auto* bar = window()->findChild<QProgressBar*>(QStringLiteral("progressbarReaderDetect"));
    EXPECT_EQ(bar->value(), 120);
    EXPECT_EQ(bar->maximum(), 120);
    expectClosingThreeSecondsLater();
}

TEST_F(DetectionFixture, TheIdentificationKeepsItsTextWithoutTheNul) {
    for (const IdnCase& c : kIdnCases) {
        SCOPED_TRACE(c.name);
        t.scripted.setDefault(ReaderFunction::Idn, 0, c.answer.toStdString());
        detect();
        const QString expected = QStringLiteral("IDN = ") + QLatin1String(c.text);
        EXPECT_EQ(t.values().ReaderIdnText, expected);
        EXPECT_EQ(label("lblIDn")->text(), expected);
        EXPECT_EQ(label("lblDetectionStatus")->text(), QLatin1String(kDetectionOkText));
        expectClosingThreeSecondsLater();
        // As at the next start.
        t.ctx->statusBar().setPanelText(1, QString());
        t.ctx->statusBar().setMenusEnabled(false);
        t.scripted.clearCalls();
    }
}

TEST_F(DetectionFixture, UsbConnectionOnlyFromRevisionFive) {
    const struct {
        const char* revision;
        int number;
        bool connects;
    } cases[] = {{"0.3", 3, false}, {"0.4", 4, false}, {"0.5", 5, true}, {"4.0", 40, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.revision);
        t.scripted.clearCalls();
        t.ctx->statusBar().setPanelText(1, QString());
        t.ctx->statusBar().setMenusEnabled(false);
        t.scripted.queue(ReaderFunction::GetDllRev, 0, c.revision);
        detect();
        EXPECT_EQ(t.values().DllRevisionNumber, c.number);
        EXPECT_EQ(t.scripted.countOf(ReaderFunction::UsbConnect), c.connects ? 1 : 0);
        EXPECT_EQ(t.ctx->statusBar().panelText(1), QLatin1String(core::kBoardConnectedPhrase));
        expectClosingThreeSecondsLater();
    }
}

// Each step failing in turn: the red failure text, no status phrase, the values of the
// steps before it kept, and the menus back three seconds later all the same.
TEST_F(DetectionFixture, EachFailingStepEndsTheDetection) {
    struct Case {
        const char* name;
        ReaderFunction function;
        int status;
        const char* answer;
        int calls;
        int dllRevision;
        const char* mcu;
        const char* idn;
    };
    const Case cases[] = {
        {"revision call", ReaderFunction::GetDllRev, 1, "5.1.0", 1, 0, "old", "old"},
        {"revision 0.2", ReaderFunction::GetDllRev, 0, "0.2", 1, 0, "old", "old"},
        {"usb connection", ReaderFunction::UsbConnect, 5, "", 2, 51, "old", "old"},
        {"firmware call", ReaderFunction::GetMcuRev, 5, "0003010401", 3, 51, "old", "old"},
        {"firmware answer", ReaderFunction::GetMcuRev, 0, "8003010401", 3, 51, "old", "old"},
        {"echo call", ReaderFunction::Echo, 1, "5500", 4, 51, "1.4.1", "old"},
        {"echo answer", ReaderFunction::Echo, 0, "5501", 4, 51, "1.4.1", "old"},
        {"identification call", ReaderFunction::Idn, 1, "000F41", 5, 51, "1.4.1", "old"},
        {"identification answer", ReaderFunction::Idn, 0, "8700", 5, 51, "1.4.1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.values().DllRevisionNumber = 0;
        t.values().McuRevisionText = QStringLiteral("old");
        t.values().ReaderIdnText = QStringLiteral("old");
        t.scripted.clearCalls();
        t.ctx->statusBar().setMenusEnabled(false);
        t.scripted.queue(c.function, c.status, c.answer);
        detect();
        EXPECT_EQ(static_cast<int>(t.scripted.calls().size()), c.calls);
        EXPECT_EQ(t.values().DllRevisionNumber, c.dllRevision);
        EXPECT_EQ(t.values().McuRevisionText, QLatin1String(c.mcu));
        EXPECT_EQ(t.values().ReaderIdnText, QLatin1String(c.idn));
        EXPECT_EQ(t.ctx->statusBar().panelText(1), QString());
        EXPECT_EQ(label("lblDetectionStatus")->text(), QLatin1String(kDetectionFailedText));
        EXPECT_TRUE(isRed("lblDetectionStatus"));
        expectClosingThreeSecondsLater();
    }
}

TEST_F(DetectionFixture, LibraryBelowRevisionThreeIsNamedInRed) {
    t.scripted.queue(ReaderFunction::GetDllRev, 0, "0.2");
    detect();
    EXPECT_EQ(label("lblDllRev")->text(), QStringLiteral("DLL REV = 0.2 -> WRONG DLL REVISION"));
    EXPECT_TRUE(isRed("lblDllRev"));
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::UsbConnect), 0);
    expectClosingThreeSecondsLater();
}

struct SimulatedBoardDetection : DetectionFixture {
    SimulatedBoardDetection() : DetectionFixture(&board) {}
    simboard::SimulatedBoard board;
};

TEST_F(SimulatedBoardDetection, DetectsTheSimulatedBoard) {
    ASSERT_NE(t.ctx->windows().show(core::WindowKind::StartupDetection), nullptr);
    t.timing.advance(2000);
    EXPECT_EQ(label("lblDetectionStatus")->text(), QLatin1String(kDetectionOkText));
    EXPECT_EQ(t.ctx->statusBar().panelText(1), QLatin1String(core::kBoardConnectedPhrase));
    EXPECT_GE(t.values().DllRevisionNumber, 3);
    EXPECT_FALSE(t.values().McuRevisionText.isEmpty());
    EXPECT_TRUE(t.values().ReaderIdnText.startsWith(QStringLiteral("IDN = ")));
    EXPECT_GT(t.values().ReaderIdnText.size(), 6);
    expectClosingThreeSecondsLater();
}

// Closing the window while the detection pauses inside it ends the detection without
// another library call, and the window goes only once the detection has returned.
TEST_F(DetectionFixture, ClosingDuringTheDetectionEndsIt) {
    ASSERT_NE(t.ctx->windows().show(core::WindowKind::StartupDetection), nullptr);
    QPointer<QWidget> w = window();
    t.timing.after(2100, nullptr, [&] {
        t.ctx->windows().close(core::WindowKind::StartupDetection);
        EXPECT_FALSE(w.isNull());  // still on the stack of the detection
    });
    t.timing.advance(2000);
    EXPECT_TRUE(t.scripted.calls().empty());
    EXPECT_EQ(window(), nullptr);
    EXPECT_EQ(t.ctx->statusBar().panelText(1), QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    t.timing.advance(10000);
    EXPECT_TRUE(t.scripted.calls().empty());
}

}  // namespace
