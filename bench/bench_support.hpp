// What the benchmark programs share: a Ui that answers every dialog at once without
// showing anything, timing without pauses, and a main that runs the benchmarks offscreen.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <functional>
#include <optional>

#include "core/timing.hpp"
#include "core/ui.hpp"

namespace benchsupport {

// Message boxes answer OK; a file dialog answers with its path, or cancels when the path
// is empty.
class QuietUi : public core::Ui {
  public:
    QString savePath;
    QString openPath;

    core::MsgResult messageBox(const QString&, const QString&, core::MsgIcon,
                               core::MsgButtons) override {
        return core::MsgResult::Ok;
    }
    void beep() override {}
    std::optional<core::FileDialogResult> saveFileDialog(const core::FileDialogRequest&) override {
        return answer(savePath);
    }
    std::optional<core::FileDialogResult> openFileDialog(const core::FileDialogRequest&) override {
        return answer(openPath);
    }
    std::optional<QColor> colorDialog(const QColor&) override { return std::nullopt; }
    void setBusy(bool) override {}
    bool isBusy() const override { return false; }

  private:
    static std::optional<core::FileDialogResult> answer(const QString& path) {
        if (path.isEmpty()) return std::nullopt;
        return core::FileDialogResult{path, path.section(QLatin1Char('/'), -1)};
    }
};

// Pauses take no time and nothing is ever run later.
class NoTiming : public core::Timing {
  public:
    void pause(int) override {}
    void after(int, QObject*, std::function<void()>) override {}
};

// Pauses take no time and what is asked for later runs at once.
class ImmediateTiming : public core::Timing {
  public:
    void pause(int) override {}
    void after(int, QObject*, std::function<void()> fn) override { fn(); }
};

// Runs the benchmarks asked on the command line with the offscreen platform, then
// `afterwards` (a summary of what they measured).
inline int runOffscreen(int argc, char** argv, const std::function<void()>& afterwards = {}) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (afterwards) afterwards();
    return 0;
}

}  // namespace benchsupport
