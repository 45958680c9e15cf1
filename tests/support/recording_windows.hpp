#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

#include "core/app_context.hpp"
#include "core/tool_window.hpp"

namespace shelltest {

// Stand-in child windows that write "load <name>" and "unload <name>" into one shared
// journal, so a test sees which windows the shell opened and closed, and in what order.
class RecordingWindow : public core::ToolWindow {
  public:
    RecordingWindow(core::AppContext& ctx, core::WindowKind kind, QString name,
                    QStringList& journal, std::function<void()> onLoad)
        : ToolWindow(ctx, kind),
          name_(std::move(name)),
          journal_(journal),
          onLoad_(std::move(onLoad)) {}
    void load() override {
        journal_ << QStringLiteral("load ") + name_;
        if (onLoad_) onLoad_();
    }
    void unload() override { journal_ << QStringLiteral("unload ") + name_; }

  private:
    QString name_;
    QStringList& journal_;
    std::function<void()> onLoad_;
};

struct NamedKind {
    core::WindowKind kind;
    const char* name;
};

inline void registerRecordingWindows(core::AppContext& ctx, QStringList& journal,
                                     std::initializer_list<NamedKind> kinds,
                                     std::function<void()> onLoad = {}) {
    for (const NamedKind& k : kinds) {
        ctx.windows().registerFactory(
            k.kind, [&journal, k, onLoad](core::AppContext& c) -> core::ToolWindow* {
                return new RecordingWindow(c, k.kind, QString::fromLatin1(k.name), journal, onLoad);
            });
    }
}

}  // namespace shelltest
