// Cost of a log entry as the log grows, and of saving a long log: a detection loop left
// running all day must not slow down.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <optional>

#include "bench_support.hpp"
#include "core/app_context.hpp"
#include "simboard/simulated_board.hpp"
#include "widgets/log_pane.hpp"
#include "widgets/log_view.hpp"

namespace {

struct Fixture {
    Fixture() : ctx(board, ui, clock, timing, dir.path()), pane(ctx) {
        ui.savePath = dir.filePath(QStringLiteral("log.txt"));
        ctx.values.LastUsedFolder = dir.path();
        box.resize(600, 400);
        box.show();
        pane.attach(&box);
    }
    // A detection probe's entry, about 120 characters.
    void appendOne() {
        pane.appendTitled(QStringLiteral("REQB"), QStringLiteral("TQ73RNDLL_SENDRECV"),
                          QStringLiteral("0600000000000000"),
                          QStringLiteral("800F5000000000000000000000007180A2B228"));
    }
    void fillTo(int entries) {
        while (count < entries) {
            appendOne();
            ++count;
        }
    }

    QTemporaryDir dir;
    simboard::SimulatedBoard board;
    benchsupport::QuietUi ui;
    core::SystemClock clock;
    benchsupport::NoTiming timing;
    core::AppContext ctx;
    widgets::LogView box;
    widgets::LogPane pane;
    int count = 0;
};

// One more entry on a log that already holds state.range(0) entries. Each batch of
// iterations adds its entries too, so the log grows by at most a few percent.
void BM_AppendAt(benchmark::State& state) {
    Fixture f;
    f.fillTo(static_cast<int>(state.range(0)));
    QCoreApplication::processEvents();  // the box has laid out what it holds
    for (auto _ : state) {
        f.appendOne();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_AppendAt)
    ->ArgsProduct({benchsupport::sizes({100, 100000})})
    ->Iterations(benchsupport::iterations(2000))
    ->Unit(benchmark::kMicrosecond);

void BM_SaveLog(benchmark::State& state) {
    Fixture f;
    f.fillTo(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (f.pane.save() != widgets::LogPane::SaveOutcome::Saved) state.SkipWithError("not saved");
    }
}
BENCHMARK(BM_SaveLog)
    ->Arg(benchsupport::size(100000, 100))
    ->Iterations(benchsupport::iterations(5))
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return benchsupport::runOffscreen(argc, argv); }
