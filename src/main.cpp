#include <QApplication>

#include "core/clock.hpp"
#include "core/timing.hpp"
#include "core/ui.hpp"
#include "program.hpp"
#include "shell/main_window.hpp"
#include "shell/program_icon.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(shell::programIcon());

    core::QtUi ui;
    core::SystemClock clock;
    core::RealTiming timing;
    Program program(QCoreApplication::applicationDirPath(), ui, clock, timing);
    ui.setDialogParent(&program.mainWindow());
    program.start();
    return app.exec();
}
