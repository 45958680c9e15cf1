#include <QApplication>
#include <QFile>
#include <memory>

#include "app/windows.hpp"
#include "core/app_context.hpp"
#include "core/clock.hpp"
#include "core/loaded_reader_library.hpp"
#include "core/timing.hpp"
#include "core/ui.hpp"
#include "shell/main_window.hpp"
#include "simboard/simulated_board.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString programFolder = QCoreApplication::applicationDirPath();

    // A reader library file beside the program drives the real board; without one (or
    // when it does not load) the simulated board stands in.
    std::unique_ptr<reader::ReaderLibrary> board;
    if (const QString file = core::LoadedReaderLibrary::libraryFileBeside(programFolder);
        !file.isEmpty()) {
        auto loaded = std::make_unique<core::LoadedReaderLibrary>(file);
        if (loaded->isLoaded()) board = std::move(loaded);
    }
    if (!board) {
        board = std::make_unique<simboard::SimulatedBoard>(
            QFile::encodeName(programFolder).toStdString());
    }
    core::QtUi ui;
    core::SystemClock clock;
    core::RealTiming timing;
    core::AppContext ctx(*board, ui, clock, timing, programFolder);

    // Each folder registers the windows it provides; a menu entry without a window
    // opens nothing.
    app::registerAllWindows(ctx.windows());

    shell::MainWindow mainWindow(ctx);
    ui.setDialogParent(&mainWindow);
    mainWindow.load();
    return app.exec();
}
