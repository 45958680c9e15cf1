#pragma once

#include <QString>
#include <memory>

#include "core/app_context.hpp"

namespace shell {
class MainWindow;
}

// The program as main() starts it, short of the event loop: the reader chosen for
// `programFolder`, the one AppContext, every window registered and the main window.
// main() and the tests start the program through this one path.
class Program {
  public:
    Program(const QString& programFolder, core::Ui& ui, core::Clock& clock, core::Timing& timing);
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The main window's load: caption, settings, what the user must be told about the
    // reader, then the start-up detection. Dialogs opened from here on may want the main
    // window as their parent, so it exists before this runs.
    void start();

    shell::MainWindow& mainWindow() { return *mainWindow_; }
    core::AppContext& context() { return *ctx_; }

  private:
    // Declared in the order they depend on each other, so that each is destroyed before
    // what it stands on.
    core::ChosenReader chosen_;
    std::unique_ptr<core::AppContext> ctx_;
    std::unique_ptr<shell::MainWindow> mainWindow_;
};
