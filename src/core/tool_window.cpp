#include "core/tool_window.hpp"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <algorithm>

#include "core/app_context.hpp"

namespace core {

ToolWindow::ToolWindow(AppContext& ctx, WindowKind kind, QWidget* parent)
    : QWidget(parent), ctx_(ctx), kind_(kind) {
    // Deletion is the registry's decision: a run may still be on the stack.
    setAttribute(Qt::WA_DeleteOnClose, false);
}

bool ToolWindow::tryEnterExclusiveRun() {
    if (exclusiveRun_) return false;
    exclusiveRun_ = true;
    return true;
}

void ToolWindow::leaveExclusiveRun() { exclusiveRun_ = false; }

void ToolWindow::holdRepaints() {
    if (closing_ || !isVisible()) return;
    if (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= kRepaintIntervalMs) {
        releaseRepaints();
        return;
    }
    if (!updatesEnabled()) return;
    setUpdatesEnabled(false);
    if (!repaintTimer_) {
        repaintTimer_ = new QTimer(this);
        repaintTimer_->setSingleShot(true);
        connect(repaintTimer_, &QTimer::timeout, this, &ToolWindow::releaseRepaints);
    }
    repaintTimer_->start(
        std::max(0, kRepaintIntervalMs - static_cast<int>(sinceRepaint_.elapsed())));
}

void ToolWindow::releaseRepaints() {
    if (repaintTimer_) repaintTimer_->stop();
    sinceRepaint_.restart();
    if (updatesEnabled()) return;
    setUpdatesEnabled(true);
    // Drawn now rather than at the next pass of events: the run's next exchange may hold
    // the repaints again before that pass, and the screen would then never catch up.
    if (isVisible()) repaint();
}

void ToolWindow::leaveRun() {
    if (runDepth_ > 0) --runDepth_;
    if (runDepth_ == 0 && closing_) scheduleDeletion();
}

QWidget* ToolWindow::outerFrame() {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(w)) return frame;
    }
    return this;
}

void ToolWindow::bringForward() {
    QWidget* frame = outerFrame();
    if (frame->isMinimized()) frame->showNormal();
    frame->show();
    show();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame); sub && sub->mdiArea()) {
        sub->mdiArea()->setActiveSubWindow(sub);
    }
    frame->raise();
    frame->activateWindow();
}

void ToolWindow::scheduleDeletion() {
    // Inside the main window the frame owns the window: deleting it deletes both.
    outerFrame()->deleteLater();
}

void ToolWindow::closeEvent(QCloseEvent* event) {
    // The registry decides what closing means (unload, hide, deferred deletion).
    event->ignore();
    ctx_.windows().windowClosed(this);
}

}  // namespace core
