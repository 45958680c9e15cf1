#include <QApplication>
#include <QFile>
#include <memory>

#include "console/console_window.hpp"
#include "shell/about_box.hpp"
#include "shell/app_context.hpp"
#include "shell/board_tools_window.hpp"
#include "shell/clock.hpp"
#include "shell/loaded_reader_library.hpp"
#include "shell/main_window.hpp"
#include "shell/startup_detection.hpp"
#include "shell/timing.hpp"
#include "shell/ui.hpp"
#include "simboard/simulated_board.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString programFolder = QCoreApplication::applicationDirPath();

    // A reader library file beside the program drives the real board; without one (or
    // when it does not load) the simulated board stands in.
    std::unique_ptr<reader::ReaderLibrary> board;
    if (const QString file = shell::LoadedReaderLibrary::libraryFileBeside(programFolder);
        !file.isEmpty()) {
        auto loaded = std::make_unique<shell::LoadedReaderLibrary>(file);
        if (loaded->isLoaded()) board = std::move(loaded);
    }
    if (!board) {
        board = std::make_unique<simboard::SimulatedBoard>(
            QFile::encodeName(programFolder).toStdString());
    }
    shell::QtUi ui;
    shell::SystemClock clock;
    shell::RealTiming timing;
    shell::AppContext ctx(*board, ui, clock, timing, programFolder);

    // Only windows that exist get a factory; the other menu entries open nothing yet.
    ctx.windows().registerFactory(shell::WindowKind::StartupDetection, [](shell::AppContext& c) {
        return new shell::DetectionWindow(c);
    });
    ctx.windows().registerFactory(shell::WindowKind::About,
                                  [](shell::AppContext& c) { return new shell::AboutBox(c); });
    ctx.windows().registerFactory(shell::WindowKind::BoardTools, [](shell::AppContext& c) {
        return new shell::BoardToolsWindow(c);
    });
    ctx.windows().registerFactory(shell::WindowKind::Console, [](shell::AppContext& c) {
        return new console::ConsoleWindow(c);
    });

    shell::MainWindow mainWindow(ctx);
    ui.setDialogParent(&mainWindow);
    mainWindow.load();
    return app.exec();
}
