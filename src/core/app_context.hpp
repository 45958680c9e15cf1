#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "core/clock.hpp"
#include "core/program_values.hpp"
#include "core/status_bar.hpp"
#include "core/timing.hpp"
#include "core/ui.hpp"
#include "core/window_registry.hpp"
#include "reader/reader_library.hpp"

namespace core {

// Which reader answers the program's calls, as the program chose it at start.
struct ReaderChoice {
    // The program's own simulated board answers: nothing it says comes from hardware.
    bool simulated = false;
    // A reader library file beside the program that could not be loaded, and the
    // system loader's reason; both empty when there was none or it loaded.
    QString failedLibrary;
    QString failureReason;
};

// The reader library file beside the program when there is one and it loads; otherwise
// the reader `simulated` makes, with what the choice must tell the user.
struct ChosenReader {
    std::unique_ptr<reader::ReaderLibrary> reader;
    ReaderChoice choice;
};
ChosenReader chooseReader(const QString& programFolder,
                          const std::function<std::unique_ptr<reader::ReaderLibrary>()>& simulated);

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
    const ReaderChoice& readerChoice() const { return readerChoice_; }
    void setReaderChoice(ReaderChoice choice) { readerChoice_ = std::move(choice); }
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
    ReaderChoice readerChoice_;
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
