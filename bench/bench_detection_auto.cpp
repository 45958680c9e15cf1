// One auto-detection run of one pass over the five protocols on the simulated board's
// default antenna: the echo, the field-off and the 36 exchanges of the five probes, each
// shown in the window's boxes and logged, with the events pumped where the run pumps
// them. Arguments: the window shown (1) or hidden (0), and the log entries already there.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>

#include "core/app_context.hpp"
#include "core/log_entry.hpp"
#include "detection/auto_detect_window.hpp"
#include "simboard/simulated_board.hpp"

namespace {

class NoPauses : public core::Timing {
  public:
    void pause(int) override {}
    void after(int, QObject*, std::function<void()> fn) override { fn(); }
};

void BM_AutoDetectOnePassFiveProtocols(benchmark::State& state) {
    simboard::SimulatedBoard board;
    core::QtUi ui;
    core::SystemClock clock;
    NoPauses timing;
    core::AppContext ctx(board, ui, clock, timing, QDir::tempPath());
    ctx.values.DemodGainValue = QStringLiteral("D1");
    auto* w = new detection::AutoDetectWindow(ctx);
    w->load();
    if (state.range(0) != 0) w->show();
    // A log that has grown over a long session.
    for (int i = 0; i < state.range(1); ++i) {
        w->results().log().appendTitled(QStringLiteral("REQC"),
                                        QString::fromLatin1(core::kLogSendRecv),
                                        QStringLiteral("00FFFF0000"), QStringLiteral("8700"));
    }
    QApplication::processEvents();
    auto* launch = w->findChild<QAbstractButton*>(QStringLiteral("cmd_Auto_Detection_Process"));
    auto* caption = w->findChild<QLabel*>(QStringLiteral("lblTagDetection_result"));

    for (auto _ : state) {
        launch->click();
        benchmark::DoNotOptimize(caption->text().size());
    }
    if (caption->text() !=
        QLatin1String("1 ISO15693 1 ISO14443-A 1 ISO14443-B 1 ISO14443-B 1 FELICA"))
        state.SkipWithError("the pass did not find the five tags");
    delete w;
}
BENCHMARK(BM_AutoDetectOnePassFiveProtocols)
    ->ArgsProduct({{0, 1}, {0, 100000}})
    ->ArgNames({"shown", "entries"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
