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

// The first three characters without their dots, read as far as their digits go.
TEST(DetectionDecoding, LibraryRevisionNumber) {
    const struct {
        const char* answer;
        int number;
    } cases[] = {
        // Every digit once in each place; the third place lies past the three characters.
        {"0.1.2", 1},
        {"1.2.3", 12},
        {"2.3.4", 23},
        {"3.4.5", 34},
        {"4.5.6", 45},
        {"5.6.7", 56},
        {"6.7.8", 67},
        {"7.8.9", 78},
        {"8.9.0", 89},
        {"9.0.1", 90},
        {"0.0.0", 0},
        {"9.9.9", 99},
        {"0.2", 2},
        {"4.0", 40},
        // Parts of two digits: the three characters hold the first two of them.
        {"10.2", 10},
        {"12.3.4", 12},
        {"99.9", 99},
        {"3.10", 31},
        {"2.10.1", 21},
        {"10.10.10", 10},
        // Texts no library gives: undotted, short, empty, dots out of place, and
        // whatever is no digit, which ends the number.
        {"3", 3},
        {"35", 35},
        {"351", 351},
        {"5.", 5},
        {"", 0},
        {".5.1", 5},
        {"5..1", 5},
        {"x.1", 0},
        {"v5.1", 0},
        {" 5.1", 0},
        {"-1.0", 0},
        {"3.x", 3},
        {"3a.1", 3},
    };
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
        // Every digit once in each place.
        {"0003000102", "0.1.2"},
        {"0003010203", "1.2.3"},
        {"0003020304", "2.3.4"},
        {"0003030405", "3.4.5"},
        {"0003040506", "4.5.6"},
        {"0003050607", "5.6.7"},
        {"0003060708", "6.7.8"},
        {"0003070809", "7.8.9"},
        {"0003080900", "8.9.0"},
        {"0003090001", "9.0.1"},
        {"0003010401", "1.4.1"},
        // Bytes of two and three decimal digits.
        {"0002010A", "1.10"},
        {"00030A0B0C", "10.11.12"},
        {"0003106364", "16.99.100"},
        {"000380C8FF", "128.200.255"},
        {"0003010a0f", "1.10.15"},  // lower-case digits read as upper-case ones
        {"000105", "5"},
        // What the answer does not hold is not read.
        {"000A0102", "1.2"},  // claims ten bytes, holds two
        {"0003010", "1"},     // half a byte at the end
        {"0001010401", "1"},  // holds more than it claims
        {"0000010401", ""},
        {"0002", ""},
        {"00", ""},
        {"0002ZZ01", ""},
        {"000301ZZ01", "1"},  // a byte that is no hex ends the text
        {"00ZZ0104", ""},     // so does a length that is none
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

// The library revision's number decides: below 3 the revision is named in red and the
// detection fails; from 5 the board is connected over USB first.
TEST_F(DetectionFixture, TheLibraryRevisionDecidesTheVerdictAndTheUsbConnection) {
    const struct {
        const char* revision;
        bool accepted;
        int number;
        bool connects;
    } cases[] = {
        {"0.0", false, 0, false},  {"0.2", false, 0, false},  // the newest refused
        {"0.3", true, 3, false},                              // the oldest accepted
        {"0.4", true, 4, false},   {"0.5", true, 5, true},    {"4.0", true, 40, true},
        {"9.0.0", true, 90, true}, {"9.9.9", true, 99, true},  // the newest
        {"10.2", true, 10, true},  {"3.x", true, 3, false},   {"v5.1", false, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.revision);
        t.scripted.clearCalls();
        t.values().DllRevisionNumber = -1;
        t.ctx->statusBar().setPanelText(1, QString());
        t.ctx->statusBar().setMenusEnabled(false);
        t.scripted.queue(ReaderFunction::GetDllRev, 0, c.revision);
        detect();
        const QString revision = QLatin1String(c.revision);
        EXPECT_EQ(t.values().DllRevisionNumber, c.accepted ? c.number : -1);
        EXPECT_EQ(
            label("lblDllRev")->text(),
            QStringLiteral("DLL REV = ") +
                (c.accepted ? revision : revision.left(3) + QLatin1String(kWrongDllRevisionText)));
        EXPECT_EQ(isRed("lblDllRev"), !c.accepted);
        EXPECT_EQ(t.scripted.countOf(ReaderFunction::UsbConnect), c.connects ? 1 : 0);
        EXPECT_EQ(label("lblDetectionStatus")->text(),
                  QLatin1String(c.accepted ? kDetectionOkText : kDetectionFailedText));
        EXPECT_EQ(t.ctx->statusBar().panelText(1),
                  c.accepted ? QLatin1String(core::kBoardConnectedPhrase) : QLatin1String());
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
