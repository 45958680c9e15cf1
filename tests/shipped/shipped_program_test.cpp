#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "core/product_catalogue.hpp"
#include "scratch_config_folder.hpp"
#include "virtual_display.hpp"

namespace {

constexpr char kProgramFile[] = "tq73rn";
// The caption of the main window while the simulated board answers.
constexpr char kCaption[] = "  TQ73RN Development Software - simulated board";

// Together well inside the test's own timeout, so that a program that never shows its
// window or never ends fails here, with what it did, and is stopped.
constexpr int kWindowShownMs = 8000;
constexpr int kConnectedMs = 10000;
constexpr int kEndsMs = 5000;
// Fewer dark pixels than this in the first panel are specks, not a phrase.
constexpr int kTextPixels = 20;

// Text in the status bar's first panel, as the user sees it. The panel is the box at the
// left of the window's bottom edge, drawn as two horizontal rules of one colour; its text
// is the pixels between them much darker than the panel's ground. The number of those
// pixels, or nothing while no such box is drawn (the window not painted yet).
std::optional<int> firstStatusPanelTextPixels(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    // Clear of the panel's sides; a quarter of the window is short of the second panel.
    const int left = 8;
    const int right = image.width() / 4;
    const int highest = std::max(1, image.height() - 80);
    if (right <= left + 1) return std::nullopt;
    const auto rowColour = [&](int y) -> std::optional<QRgb> {
        const QRgb c = image.pixel(left, y);
        for (int x = left + 1; x < right; ++x) {
            if (image.pixel(x, y) != c) return std::nullopt;
        }
        return c;
    };
    int bottom = -1;
    QRgb rule = 0;
    for (int y = image.height() - 2; y >= highest && bottom < 0; --y) {
        const auto here = rowColour(y);
        const auto below = rowColour(y + 1);
        if (here && below && *here != *below) {
            bottom = y;
            rule = *here;
        }
    }
    int top = -1;
    for (int y = bottom - 2; bottom > 0 && y >= highest && top < 0; --y) {
        if (rowColour(y) == rule) top = y;
    }
    if (top < 0) return std::nullopt;

    QHash<QRgb, int> counts;
    for (int y = top + 1; y < bottom; ++y) {
        for (int x = left; x < right; ++x) ++counts[image.pixel(x, y)];
    }
    QRgb ground = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            ground = it.key();
        }
    }
    int text = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (qGray(ground) - qGray(it.key()) > 100) text += it.value();
    }
    return text;
}

enum class Wait { Met, TimedOut, ProgramEnded };

// Polls `met` until it holds, the program ends, or `ms` have passed.
Wait waitFor(QProcess& program, int ms, const std::function<bool()>& met) {
    const QDeadlineTimer deadline(ms);
    for (;;) {
        if (met()) return Wait::Met;
        if (program.state() == QProcess::NotRunning) return Wait::ProgramEnded;
        if (deadline.hasExpired()) return Wait::TimedOut;
        program.waitForFinished(50);
    }
}

std::string programWindows(shipped::VirtualDisplay& display, qint64 pid) {
    std::ostringstream out;
    out << "its windows on the screen:";
    for (const auto& w : display.shownWindows()) {
        if (w.pid == pid) out << " \"" << w.caption.toStdString() << "\"";
    }
    return out.str();
}

std::string howItEnded(QProcess& program) {
    std::ostringstream out;
    if (program.state() == QProcess::NotRunning) {
        out << "the program ended "
            << (program.exitStatus() == QProcess::NormalExit ? "with exit code " : "by signal ")
            << program.exitCode();
    } else {
        out << "the program is still running";
    }
    out << "; it wrote: " << program.readAllStandardError().toStdString();
    return out.str();
}

// Where a failed look at the screen leaves the picture it judged.
std::string keptPicture(const QImage& image) {
    const QString path = QDir::temp().filePath(QStringLiteral("shipped_program_screen.png"));
    return image.save(path) ? "the window as the test saw it: " + path.toStdString()
                            : std::string("no picture of the window");
}

// The built program started as a user starts it: from a folder holding only what the build
// puts beside it, with a configuration folder of its own, on a display of its own and from
// another working folder. Its main window comes up on the simulated board, the board is
// found, and a close request from the window's frame ends the program cleanly.
TEST(ShippedProgram, ComesUpConnectedToTheSimulatedBoardAndEndsWhenItsWindowIsClosed) {
    const QDir built(QCoreApplication::applicationDirPath());
    QTemporaryDir programFolder;
    ASSERT_TRUE(programFolder.isValid());
    for (const char* name : {kProgramFile, core::kProductsFileName}) {
        ASSERT_TRUE(QFile::copy(built.filePath(QLatin1String(name)),
                                programFolder.filePath(QLatin1String(name))))
            << name;
    }
    const testsupport::ScratchConfigFolder config;
    QTemporaryDir runtimeFolder;
    QTemporaryDir startFolder;
    ASSERT_TRUE(runtimeFolder.isValid() && startFolder.isValid());

    shipped::VirtualDisplay display;
    ASSERT_TRUE(display.ready()) << display.failure().toStdString();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), display.name());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder.path());
    // Declared after the display, so that a program still running at a failure is killed
    // before its display goes.
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(startFolder.path());
    program.start(programFolder.filePath(QLatin1String(kProgramFile)), {});
    ASSERT_TRUE(program.waitForStarted(5000)) << program.errorString().toStdString();
    const qint64 pid = program.processId();

    shipped::VirtualDisplay::ShownWindow mainWindow;
    const Wait shown = waitFor(program, kWindowShownMs, [&] {
        for (const auto& w : display.shownWindows()) {
            if (w.pid == pid && w.caption == QLatin1String(kCaption)) {
                mainWindow = w;
                return true;
            }
        }
        return false;
    });
    ASSERT_EQ(shown, Wait::Met) << "no window captioned \"" << kCaption << "\" within "
                                << kWindowShownMs << " ms; " << programWindows(display, pid) << "; "
                                << howItEnded(program);

    std::optional<int> textPixels;
    QImage seen;
    const Wait connected = waitFor(program, kConnectedMs, [&] {
        seen = display.grab(mainWindow.id);
        textPixels = firstStatusPanelTextPixels(seen);
        return textPixels.value_or(0) >= kTextPixels;
    });
    ASSERT_EQ(connected, Wait::Met)
        << "the status bar's first panel shows no connection phrase within " << kConnectedMs
        << " ms (" << (textPixels ? std::to_string(*textPixels) + " dark pixels" : "no panel")
        << "); " << keptPicture(seen) << "; " << howItEnded(program);

    // A first start is silent: no message box beside the main window.
    EXPECT_EQ(programWindows(display, pid),
              "its windows on the screen: \"" + std::string(kCaption) + "\"");

    ASSERT_TRUE(mainWindow.takesCloseRequest) << "the window manager could only kill the program";
    display.askToClose(mainWindow.id);
    if (!program.waitForFinished(kEndsMs)) {
        FAIL() << "the program still runs " << kEndsMs << " ms after its window was closed; "
               << programWindows(display, pid) << "; " << howItEnded(program);
    }
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << howItEnded(program);
    EXPECT_EQ(program.exitCode(), 0) << howItEnded(program);
}

}  // namespace
