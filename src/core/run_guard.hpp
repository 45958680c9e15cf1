#pragma once

#include <QPointer>

#include "core/tool_window.hpp"

namespace core {

class AppContext;

// Passes above this are a pause, not a burst of event processing: a handler that asks
// for ten thousand passes wants the user to have time to click, whatever the machine.
inline constexpr int kMaxDirectPumpPasses = 10;

// How long a pause of `passes` event passes lasts when it is done as a timed pause.
int timedPauseMs(int passes);

// One run of a window's long operation, from its handler's start to its return.
//
// While a scope lives the window counts as running, so closing it only hides it and its
// deletion waits until the last run has returned. After every pump the run asks
// whether it must end: then it returns at once and touches none of its widgets.
class RunScope {
  public:
    enum class Start {
        Shared,     // may run inside another run's pump (the console's Send buttons)
        Exclusive,  // switches the command controls off: never nested in itself
    };

    explicit RunScope(ToolWindow& window, Start start = Start::Shared);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    // False when an exclusive run of the window is already under way, or the window is
    // closing or the program quitting; the handler then returns without doing anything.
    bool started() const { return started_; }

    // Lets pending events run (`passes` passes; large counts become a short timed pause
    // through the timing source). True when the run must end now.
    [[nodiscard]] bool pumpEnds(int passes = 1);
    // Waits `ms` milliseconds through the timing source. True when the run must end now.
    [[nodiscard]] bool pauseEnds(int ms);

    // The window was closed or the program is quitting.
    bool mustEnd() const;

    AppContext& ctx() const { return ctx_; }

  private:
    QPointer<ToolWindow> window_;
    AppContext& ctx_;
    bool started_ = false;
    bool exclusive_ = false;
};

}  // namespace core
