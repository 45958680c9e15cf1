#pragma once

#include <QString>
#include <memory>

#include "core/clock.hpp"
#include "core/program_values.hpp"
#include "core/status_bar.hpp"
#include "core/timing.hpp"
#include "core/ui.hpp"
#include "core/window_registry.hpp"
#include "reader/reader_library.hpp"

namespace core {

// Everything a window reaches beyond itself: the shared values, the reader, the
// dialogs, time, the program folder, the status bar and the other windows.
class AppContext {
  public:
    AppContext(reader::ReaderLibrary& reader, Ui& ui, Clock& clock, Timing& timing,
               QString programFolder)
        : reader_(&reader),
          ui_(ui),
          clock_(clock),
          timing_(timing),
          programFolder_(std::move(programFolder)),
          statusBar_(&ownStatusBar_),
          windows_(*this) {}

    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    ProgramValues values;

    reader::ReaderLibrary& reader() const { return *reader_; }
    void setReader(reader::ReaderLibrary& reader) { reader_ = &reader; }
    Ui& ui() const { return ui_; }
    const Clock& clock() const { return clock_; }
    Timing& timing() const { return timing_; }
    // The folder the program runs from (products file, settings file when writable).
    const QString& programFolder() const { return programFolder_; }

    StatusBarService& statusBar() const { return *statusBar_; }
    // The main window provides the real status bar; nullptr goes back to the built-in one.
    void setStatusBar(StatusBarService* service) {
        statusBar_ = service ? service : &ownStatusBar_;
    }
    WindowRegistry& windows() { return windows_; }

    // Set when the program is shutting down; runs end at their next pump.
    bool quitting() const { return quitting_; }
    void setQuitting(bool quitting) { quitting_ = quitting; }

  private:
    reader::ReaderLibrary* reader_;
    Ui& ui_;
    const Clock& clock_;
    Timing& timing_;
    QString programFolder_;
    StatusBarService ownStatusBar_;
    StatusBarService* statusBar_;
    WindowRegistry windows_;
    bool quitting_ = false;
};

}  // namespace core
