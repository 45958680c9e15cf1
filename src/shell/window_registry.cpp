#include "shell/window_registry.hpp"

#include "shell/app_context.hpp"

namespace shell {

ToolWindow* WindowRegistry::find(WindowKind kind) const {
    auto it = open_.find(kind);
    if (it == open_.end() || it->second.isNull() || it->second->isClosing()) return nullptr;
    return it->second.data();
}

ToolWindow* WindowRegistry::show(WindowKind kind) {
    if (ToolWindow* w = find(kind)) {
        w->show();
        w->raise();
        w->activateWindow();
        return w;
    }
    auto f = factories_.find(kind);
    if (f == factories_.end()) return nullptr;
    ToolWindow* w = f->second(ctx_);
    if (!w) return nullptr;
    open_[kind] = w;
    w->load();
    // The load may pump events; the window can have been closed inside it.
    if (w->isClosing()) return nullptr;
    if (host_) host_(w);
    w->show();
    return w;
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
    QWidget* frame = w->parentWidget() ? w->parentWidget() : w;
    frame->hide();
    if (w->runDepth() == 0) w->scheduleDeletion();
}

}  // namespace shell
