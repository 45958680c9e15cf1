// What the benchmark programs share: a Ui that answers every dialog at once without
// showing anything, timing without pauses, the smoke run, and a main that runs the
// benchmarks offscreen.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

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

// The smoke run (TQ_BENCH_SMOKE set in the environment, as ctest sets it) checks that every
// benchmark still builds its scenario and gets through it, never how fast: each runs
// once, at its smallest size, so that all of them take seconds. Registrations pass their
// counts and sizes through the functions below.
inline bool smokeRun() {
    static const bool on = !qEnvironmentVariableIsEmpty("TQ_BENCH_SMOKE");
    return on;
}

// `n` iterations, or 1 in a smoke run.
inline benchmark::IterationCount iterations(benchmark::IterationCount n) {
    return smokeRun() ? 1 : n;
}

// `n` repetitions, or 1 in a smoke run.
inline int repetitions(int n) { return smokeRun() ? 1 : n; }

// Every size, or only the smallest in a smoke run.
inline std::vector<std::int64_t> sizes(std::initializer_list<std::int64_t> all) {
    if (!smokeRun()) return all;
    return {std::min(all)};
}

// A benchmark's one size, or the smaller one a smoke run takes in its place.
inline std::int64_t size(std::int64_t n, std::int64_t inSmokeRun) {
    return smokeRun() ? inSmokeRun : n;
}

// Passes every report on to the usual display and notes whether a benchmark reported an
// error: SkipWithError only marks the run, and a benchmark whose scenario no longer holds
// must fail the program, not print a line among the results.
class ErrorWatch : public benchmark::BenchmarkReporter {
  public:
    ErrorWatch() : display_(benchmark::CreateDefaultDisplayReporter()) {}
    bool sawError() const { return sawError_; }

    bool ReportContext(const Context& context) override {
        display_->SetOutputStream(&GetOutputStream());
        display_->SetErrorStream(&GetErrorStream());
        return display_->ReportContext(context);
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) sawError_ = sawError_ || run.error_occurred;
        display_->ReportRuns(runs);
    }
    void Finalize() override { display_->Finalize(); }

  private:
    benchmark::BenchmarkReporter* display_;  // the library's own, kept by it
    bool sawError_ = false;
};

// Runs the benchmarks asked on the command line; 1 when one of them reported an error. In
// a smoke run a benchmark that sets no iteration count of its own stops after its first.
inline int runBenchmarks(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string shortest = "--benchmark_min_time=0.000000001";
    if (smokeRun()) args.insert(args.begin() + 1, shortest.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    ErrorWatch watch;
    benchmark::RunSpecifiedBenchmarks(&watch);
    benchmark::Shutdown();
    if (watch.sawError()) {
        std::fputs("A benchmark reported an error: its scenario does not hold.\n", stderr);
        return 1;
    }
    return 0;
}

// Runs the benchmarks asked on the command line with the offscreen platform, then
// `afterwards` (a summary of what they measured); 1 when one of them reported an error.
inline int runOffscreen(int argc, char** argv, const std::function<void()>& afterwards = {}) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int result = runBenchmarks(argc, argv);
    if (afterwards) afterwards();
    return result;
}

}  // namespace benchsupport
