#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "core/tool_window.hpp"

namespace apptest {

// Runs `act` (a click that starts a run of `w`) and, at the first pass of events of that
// run while it holds the window, calls `atPause` once: where a user's click during the run
// arrives. Whether the run paused.
template <class Act, class AtPause>
bool atFirstPause(core::ToolWindow* w, Act act, AtPause atPause) {
    bool paused = false;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (paused || !w->exclusiveRunActive()) return;
        paused = true;
        atPause();
    });
    watch.start();
    act();
    watch.stop();
    return paused;
}

// Runs `act` (a click of `w`) and calls `atPause` at each pass of events while a run of
// `w` is under way, with the pass's number from 1; `w` may be gone by the next one. The
// number of passes.
template <class Act, class AtPause>
int eachPause(core::ToolWindow* w, Act act, AtPause atPause) {
    int passes = 0;
    QPointer<core::ToolWindow> window(w);
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!window || window->runDepth() == 0) return;
        atPause(++passes);
    });
    watch.start();
    act();
    watch.stop();
    return passes;
}

}  // namespace apptest
