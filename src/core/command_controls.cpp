#include "core/command_controls.hpp"

#include "core/program_values.hpp"
#include "core/run_guard.hpp"

namespace core {

void EnableCommandControls(const QList<QWidget*>& controls, bool enabled) {
    for (QWidget* c : controls) {
        if (c) c->setEnabled(enabled);
    }
}

void setShutdownFlags(ProgramValues& values) {
    values.StopRequested = true;
    values.ScriptLoopEnabled = false;
    values.ReqBLoopEnabled = false;
    values.AnticollisionLoopEnabled = false;
    values.ReqCLoopEnabled = false;
}

void hideStopButton(QWidget* stopButton) {
    if (!stopButton) return;
    if (stopButton->hasFocus()) stopButton->clearFocus();
    stopButton->hide();
}

void CommandControls::setControls(const QList<QWidget*>& controls) {
    controls_.clear();
    for (QWidget* c : controls) controls_.append(c);
}

QWidget* CommandControls::focusGoingOff() const {
    for (const QPointer<QWidget>& c : controls_) {
        if (!c || !c->isEnabled()) continue;
        QWidget* focus = c->window()->focusWidget();
        if (focus && (focus == c || c->isAncestorOf(focus))) return focus;
    }
    return nullptr;
}

void CommandControls::EnableCommandControls(bool enabled) {
    if (!enabled) {
        if (QWidget* focus = focusGoingOff()) {
            heldFocus_ = focus;
            focus->clearFocus();
        }
    }
    for (const QPointer<QWidget>& c : controls_) {
        if (c) c->setEnabled(enabled);
    }
    if (enabled && heldFocus_) {
        // Unless the run gave the focus somewhere on purpose (a write panel's first row),
        // or the user clicked into another control meanwhile.
        if (!heldFocus_->window()->focusWidget() && heldFocus_->isEnabled() &&
            heldFocus_->isVisible())
            heldFocus_->setFocus(Qt::OtherFocusReason);
        heldFocus_ = nullptr;
    }
    if (stop_ == StopFlag::Clears) values_.StopRequested = false;
}

void CommandControls::stopClicked(QWidget* stopButton) {
    // The focus first leaves STOP, so that the controls coming on give it back.
    if (stopButton && stopButton->hasFocus()) stopButton->clearFocus();
    EnableCommandControls(true);
    values_.StopRequested = true;
    hideStopButton(stopButton);
}

CommandLock::CommandLock(const RunScope& run, CommandControls& controls, QWidget* stopButton)
    : run_(run), controls_(controls), stopButton_(stopButton) {
    controls_.EnableCommandControls(false);
    if (stopButton_) stopButton_->show();
}

CommandLock::~CommandLock() {
    if (run_.mustEnd()) return;
    controls_.EnableCommandControls(true);
    hideStopButton(stopButton_);
}

}  // namespace core
