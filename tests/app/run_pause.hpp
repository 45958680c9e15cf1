#pragma once

#include <QObject>
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

}  // namespace apptest
