#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "core/product_catalogue.hpp"
#include "core/settings_file.hpp"
#include "core/status_bar.hpp"
#include "fake_time.hpp"
#include "program.hpp"
#include "qstring_printer.hpp"
#include "scratch_config_folder.hpp"
#include "scripted_ui.hpp"
#include "shell/main_window.hpp"
#include "shell/startup_detection.hpp"

namespace {

// A program folder holding what the build puts beside the program: the products file.
void putProductsFileIn(const QTemporaryDir& programFolder) {
    ASSERT_TRUE(programFolder.isValid());
    const QString products = QLatin1String(core::kProductsFileName);
    ASSERT_TRUE(QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(products),
                            programFolder.filePath(products)));
}

// The first start on a new machine: beside the program only what the build puts there
// (the products file), no settings file, no reader library, no simulated-board.ini. The
// simulated board must answer without a word to the user: a message box here would stand
// in front of every start anyone ever makes. The scripted dialogs fail the test at any
// message box.
TEST(ProgramStart, FirstStartWithNothingBesideTheProgramIsSilentAndFindsTheSimulatedBoard) {
    const testsupport::ScratchConfigFolder config;
    QTemporaryDir programFolder;
    putProductsFileIn(programFolder);
    const QString products = QLatin1String(core::kProductsFileName);
    ASSERT_EQ(QDir(programFolder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{products});
    ASSERT_FALSE(QFile::exists(config.settingsFile()));

    testsupport::ScriptedUi ui;
    testsupport::FixedClock clock;
    testsupport::FakeTiming timing;
    Program program(programFolder.path(), ui, clock, timing);
    program.start();
    EXPECT_EQ(program.mainWindow().windowTitle(),
              QStringLiteral("  TQ73RN Development Software - simulated board"));

    // The detection runs at the first tick and reconnects the board, which reads its ini.
    timing.advance(2000);
    const auto* detection = program.context().windows().find(core::WindowKind::StartupDetection);
    ASSERT_NE(detection, nullptr);
    EXPECT_EQ(detection->findChild<QLabel*>(QStringLiteral("lblDetectionStatus"))->text(),
              QLatin1String(shell::kDetectionOkText));
    EXPECT_EQ(program.mainWindow().panelText(1), QLatin1String(core::kBoardConnectedPhrase));

    timing.advance(3000);
    EXPECT_TRUE(program.mainWindow().menusEnabled());
    EXPECT_EQ(program.context().windows().find(core::WindowKind::StartupDetection), nullptr);
    EXPECT_TRUE(ui.messages().empty());
}

// A simulated-board.ini beside the program describes the board the program talks to: the
// identity it gives is the one the start-up detection reads.
TEST(ProgramStart, TheSimulatedBoardTakesTheIniBesideTheProgram) {
    const testsupport::ScratchConfigFolder config;
    QTemporaryDir programFolder;
    putProductsFileIn(programFolder);
    QFile ini(programFolder.filePath(QStringLiteral("simulated-board.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[board]\nidentity=TQ73RN-BESIDE-PRG\n");
    ini.close();

    testsupport::ScriptedUi ui;
    testsupport::FixedClock clock;
    testsupport::FakeTiming timing;
    Program program(programFolder.path(), ui, clock, timing);
    program.start();
    timing.advance(2000);
    EXPECT_TRUE(
        program.context().values.ReaderIdnText.contains(QStringLiteral("TQ73RN-BESIDE-PRG")))
        << program.context().values.ReaderIdnText.toStdString();
    timing.advance(3000);
    EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
