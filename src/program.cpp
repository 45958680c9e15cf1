#include "program.hpp"

#include <QFile>

#include "app/windows.hpp"
#include "core/ui.hpp"
#include "shell/main_window.hpp"
#include "simboard/simulated_board.hpp"

Program::Program(const QString& programFolder, core::Ui& ui, core::Clock& clock,
                 core::Timing& timing) {
    // A reader library file beside the program drives the real board; without one (or
    // when it does not load, which the main window tells the user) the simulated board
    // stands in. What it could not take from its simulated-board.ini is told at the
    // connect that reads the file, else the user would only see tags missing.
    chosen_ = core::chooseReader(programFolder, [&programFolder, &ui] {
        auto board = std::make_unique<simboard::SimulatedBoard>(
            QFile::encodeName(programFolder).toStdString());
        board->setIniWarningListener([&ui](const std::string& message) {
            ui.messageBox(QString::fromStdString(message),
                          QString::fromLatin1(simboard::kBoardIniName), core::MsgIcon::Exclamation,
                          core::MsgButtons::Ok);
        });
        return board;
    });
    ctx_ = std::make_unique<core::AppContext>(*chosen_.reader, ui, clock, timing, programFolder);
    ctx_->setReaderChoice(chosen_.choice);

    // Each folder registers the windows it provides; a menu entry without a window
    // opens nothing.
    app::registerAllWindows(ctx_->windows());

    mainWindow_ = std::make_unique<shell::MainWindow>(*ctx_);
}

Program::~Program() = default;

void Program::start() { mainWindow_->load(); }
