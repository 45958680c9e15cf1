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

    // A reader library file beside the program drives the real board; without one (or
    // when it does not load, which the main window tells the user) the simulated board
    // stands in.
    core::ChosenReader chosen = core::chooseReader(programFolder, [&programFolder] {
        return std::make_unique<simboard::SimulatedBoard>(
            QFile::encodeName(programFolder).toStdString());
    });
    core::QtUi ui;
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
