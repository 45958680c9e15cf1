#pragma once

#include <QPointer>
#include <functional>
#include <map>

#include "core/tool_window.hpp"

namespace core {

class AppContext;

// Creates, finds and closes the child windows by kind. The program's start registers a
// factory per kind, so the shell does not link the subsystems that provide the windows.
class WindowRegistry {
  public:
    using Factory = std::function<ToolWindow*(AppContext&)>;
    // How a new window is placed in the main window (the MDI area); without a host,
    // windows are shown as they are.
    using Host = std::function<void(ToolWindow*)>;

    explicit WindowRegistry(AppContext& ctx) : ctx_(ctx) {}

    void registerFactory(WindowKind kind, Factory factory) {
        factories_[kind] = std::move(factory);
    }
    bool hasFactory(WindowKind kind) const { return factories_.count(kind) != 0; }
    void setHost(Host host) { host_ = std::move(host); }

    // Brings the open window forward, or creates it, runs its load and shows it.
    // nullptr when no factory is registered for the kind.
    ToolWindow* show(WindowKind kind);
    // Runs the window's unload, hides it and forgets it; it is deleted once no run of
    // it is on the stack. Nothing happens when it is not open.
    void close(WindowKind kind);
    // Closes every open window the same way (program shutdown).
    void closeAll();
    ToolWindow* find(WindowKind kind) const;

    // Called by a window that was closed by the user (its close button).
    void windowClosed(ToolWindow* window);

  private:
    AppContext& ctx_;
    std::map<WindowKind, Factory> factories_;
    std::map<WindowKind, QPointer<ToolWindow>> open_;
    Host host_;
};

}  // namespace core
