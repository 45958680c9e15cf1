#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QTimer;

#include "core/window_kind.hpp"

namespace core {

class AppContext;

// Base of every child window. The registry runs `load()` once after construction and
// `unload()` when the window is closed; a closed window is never reused.
class ToolWindow : public QWidget {
    Q_OBJECT
  public:
    ToolWindow(AppContext& ctx, WindowKind kind, QWidget* parent = nullptr);

    AppContext& ctx() const { return ctx_; }
    WindowKind kind() const { return kind_; }

    virtual void load() {}
    virtual void unload() {}

    // Set once the window has been closed; a run inside it must stop touching it.
    bool isClosing() const { return closing_; }
    void markClosing() { closing_ = true; }

    // Number of runs of this window currently on the call stack.
    int runDepth() const { return runDepth_; }
    void enterRun() { ++runDepth_; }
    void leaveRun();
    // A run that switches the window's command controls off must not start again from
    // inside its own pumps (a queued click or a keyboard shortcut would slip past the
    // disabled controls). False when such a run is already under way.
    bool tryEnterExclusiveRun();
    void leaveExclusiveRun();
    bool exclusiveRunActive() const { return exclusiveRun_; }
    // Deletes the window (with its frame) once control is back in the event loop.
    void scheduleDeletion();
    // What the user sees as the window: the main window's frame around it, or the
    // window itself when it stands alone.
    QWidget* outerFrame();
    // Shows the window in front: restored if minimised, raised and active.
    void bringForward();

    // A run lets events run after every exchange, far more often than a screen can show
    // anything: between two repaints of the window, about 30 a second, what the run
    // changes is drawn at the next repaint rather than at once. Runs call this before
    // they let events run and when they end; the window is drawn again within one
    // repaint interval after the last call.
    void holdRepaints();
    static constexpr int kRepaintIntervalMs = 33;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    AppContext& ctx_;
    WindowKind kind_;
    bool closing_ = false;
    int runDepth_ = 0;
    bool exclusiveRun_ = false;
    QElapsedTimer sinceRepaint_;
    QTimer* repaintTimer_ = nullptr;
    void releaseRepaints();
};

}  // namespace core
