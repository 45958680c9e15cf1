#include "core/window_registry.hpp"

#include <QMdiSubWindow>
#include <vector>

#include "core/app_context.hpp"

namespace core {

ToolWindow* WindowRegistry::find(WindowKind kind) const {
    auto it = open_.find(kind);
    if (it == open_.end() || it->second.isNull() || it->second->isClosing()) return nullptr;
    return it->second.data();
}

ToolWindow* WindowRegistry::show(WindowKind kind) {
    if (ToolWindow* w = find(kind)) {
        w->bringForward();
        return w;
    }
    // No new window once the program is on its way out.
    if (ctx_.quitting()) return nullptr;
    auto f = factories_.find(kind);
    if (f == factories_.end()) return nullptr;
    ToolWindow* w = f->second(ctx_);
    if (!w) return nullptr;
    open_[kind] = w;
    // The load may pump events and the window be closed inside it: counting the load as a
    // run keeps the window alive until the load has returned.
    w->enterRun();
    w->load();
    const bool closedDuringLoad = w->isClosing() || ctx_.quitting();
    w->leaveRun();
    if (closedDuringLoad) return nullptr;
    if (host_) host_(w);
    // The main window's area marks its frames delete-on-close; closing must only hide
    // them while a run of the window may still be on the stack.
    w->outerFrame()->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    return w;
}

void WindowRegistry::closeAll() {
    // An unload may let events run, and a window further down the list may be closed
    // and deleted there before its turn comes.
    std::vector<QPointer<ToolWindow>> windows;
    for (const auto& [kind, w] : open_) {
        if (!w.isNull() && !w->isClosing()) windows.push_back(w);
    }
    for (const QPointer<ToolWindow>& w : windows) windowClosed(w.data());
}

void WindowRegistry::close(WindowKind kind) {
    if (ToolWindow* w = find(kind)) windowClosed(w);
}

void WindowRegistry::windowClosed(ToolWindow* w) {
    if (!w || w->isClosing()) return;
    w->markClosing();
    auto it = open_.find(w->kind());
    if (it != open_.end() && it->second == w) open_.erase(it);
    w->unload();
    // A window inside a subwindow frame hides with its frame.
    w->outerFrame()->hide();
    if (w->runDepth() == 0) w->scheduleDeletion();
}

}  // namespace core
