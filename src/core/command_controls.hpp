#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace core {

struct ProgramValues;
class RunScope;

// Sets every control of `controls` enabled or disabled; null entries are skipped.
void EnableCommandControls(const QList<QWidget*>& controls, bool enabled);

// Closing the main window: every run ends at its next test, every loop after its pass.
void setShutdownFlags(ProgramValues& values);

// Hides a run's STOP button. Clicked, it holds the focus, which Qt would pass down the tab
// chain as it hides, scrolling a window that scrolls in its frame; it gives the focus up
// instead, for the controls to hand back to the run's button as they come on again.
void hideStopButton(QWidget* stopButton);

// A window's command controls: the list it switches off while a run is under way.
// The tag windows' lists also clear `StopRequested` each time they are switched, which
// is how a run starts with a clean flag and how STOP clears it before setting it.
class CommandControls {
  public:
    enum class StopFlag { Clears, LeavesAlone };

    CommandControls(ProgramValues& values, StopFlag stopFlag) : values_(values), stop_(stopFlag) {}

    void setControls(const QList<QWidget*>& controls);
    const QList<QPointer<QWidget>>& controls() const { return controls_; }

    // Off, the control that has the keyboard focus (the clicked button, mostly) gives it
    // up to nothing, and on again it takes it back: Qt would hand it to the next control
    // in the tab chain and scroll a window that scrolls in its frame to that control.
    void EnableCommandControls(bool enabled);

    // STOP: controls back on (clearing the flag), then the flag set for the running
    // operation to see at its next test, then the button hides itself.
    void stopClicked(QWidget* stopButton);

  private:
    // The focus of the controls' window when a control about to go off holds it.
    QWidget* focusGoingOff() const;

    ProgramValues& values_;
    StopFlag stop_;
    QList<QPointer<QWidget>> controls_;
    // Where the focus was when the controls went off, while it waits to come back.
    QPointer<QWidget> heldFocus_;
};

// The controls of a run: off (and the STOP button shown) from the start, back on (and
// STOP hidden) at every exit, except when the run ends because its window is gone or the
// program is quitting: then nothing of the window is touched.
class CommandLock {
  public:
    CommandLock(const RunScope& run, CommandControls& controls, QWidget* stopButton = nullptr);
    ~CommandLock();
    CommandLock(const CommandLock&) = delete;
    CommandLock& operator=(const CommandLock&) = delete;

  private:
    const RunScope& run_;
    CommandControls& controls_;
    QPointer<QWidget> stopButton_;
};

}  // namespace core
