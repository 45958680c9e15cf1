#include <QApplication>
#include <QFile>
#include <memory>

#include "app/windows.hpp"
#include "core/app_context.hpp"
#include "core/clock.hpp"
#include "core/timing.hpp"
#include "core/ui.hpp"
#include "shell/main_window.hpp"
#include "shell/program_icon.hpp"
#include "simboard/simulated_board.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(shell::programIcon());
    const QString programFolder = QCoreApplication::applicationDirPath();

    core::QtUi ui;
    // A reader library file beside the program drives the real board; without one (or
    // when it does not load, which the main window tells the user) the simulated board
    // stands in. What it could not take from its simulated-board.ini is told at the
    // connect that reads the file, else the user would only see tags missing.
    core::ChosenReader chosen = core::chooseReader(programFolder, [&programFolder, &ui] {
        auto board = std::make_unique<simboard::SimulatedBoard>(
            QFile::encodeName(programFolder).toStdString());
        board->setIniWarningListener([&ui](const std::string& message) {
            ui.messageBox(QString::fromStdString(message),
                          QString::fromLatin1(simboard::kBoardIniName), core::MsgIcon::Exclamation,
                          core::MsgButtons::Ok);
        });
        return board;
    });
    core::SystemClock clock;
    core::RealTiming timing;
    core::AppContext ctx(*chosen.reader, ui, clock, timing, programFolder);
    ctx.setReaderChoice(chosen.choice);

    // Each folder registers the windows it provides; a menu entry without a window
    // opens nothing.
    app::registerAllWindows(ctx.windows());

    shell::MainWindow mainWindow(ctx);
    ui.setDialogParent(&mainWindow);
    mainWindow.load();
    return app.exec();
}
