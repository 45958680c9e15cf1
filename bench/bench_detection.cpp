// The detection windows' runs on the simulated board, with the events pumped where the
// runs pump them, the window shown or hidden.
//
// BM_AutoDetectOnePassFiveProtocols: one auto-detection run of one pass over the five
// protocols on the default antenna: the echo, the field-off and the 36 exchanges of the
// five probes, each shown in the window's boxes and logged. Arguments: shown, and the log
// entries already there.
//
// BM_TagDetectionLoopWithoutTag: a looping tag detection run without a tag, "with
// ReadReg" ticked: each pass is the register write, the idle command and the register
// read, each shown and logged. Reports the median pass near the 100th and over the last
// hundred, so a pass that grows with the log shows. Arguments: shown, and the passes.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "bench_support.hpp"
#include "core/app_context.hpp"
#include "core/log_entry.hpp"
#include "detection/auto_detect_window.hpp"
#include "detection/tag_detection_window.hpp"
#include "reader/dispatching_reader.hpp"
#include "simboard/simulated_board.hpp"

namespace {

void BM_AutoDetectOnePassFiveProtocols(benchmark::State& state) {
    simboard::SimulatedBoard board;
    core::QtUi ui;
    core::SystemClock clock;
    benchsupport::ImmediateTiming timing;
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
    ->ArgsProduct({{0, 1}, benchsupport::sizes({0, 100000})})
    ->ArgNames({"shown", "entries"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(benchsupport::repetitions(5))
    ->ReportAggregatesOnly(true);

// The board, with a look at every idle command going out.
class WatchedBoard : public reader::DispatchingReader {
  public:
    explicit WatchedBoard(reader::ReaderLibrary& inner) : inner_(inner) {}
    std::function<void()> onIdle;

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override {
        if (f == reader::ReaderFunction::KvCmd && request.substr(0, 6) == "01070E" && onIdle)
            onIdle();
        reader::AnswerBuffer scratch;
        return inner_.call(f, request, answer ? *answer : scratch);
    }

  private:
    reader::ReaderLibrary& inner_;
};

double medianMs(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void BM_TagDetectionLoopWithoutTag(benchmark::State& state) {
    const bool shown = state.range(0) != 0;
    const auto passes = static_cast<std::size_t>(state.range(1));
    for (auto _ : state) {
        simboard::SimulatedBoard board;
        WatchedBoard watched(board);
        core::QtUi ui;
        core::SystemClock clock;
        benchsupport::ImmediateTiming timing;
        core::AppContext ctx(watched, ui, clock, timing, QDir::tempPath());
        auto* w = new detection::TagDetectionWindow(ctx);
        w->load();
        if (shown) w->show();
        w->findChild<QCheckBox*>(QStringLiteral("chkWithReadRg"))->setChecked(true);
        auto* loop = w->findChild<QCheckBox*>(QStringLiteral("chkLoop"));
        loop->setChecked(true);
        QApplication::processEvents();

        std::vector<std::chrono::steady_clock::time_point> starts;
        starts.reserve(passes + 1);
        watched.onIdle = [&] {
            starts.push_back(std::chrono::steady_clock::now());
            if (starts.size() == passes + 1) {
                QMetaObject::invokeMethod(
                    w, [loop] { loop->setChecked(false); }, Qt::QueuedConnection);
            }
        };
        w->findChild<QAbstractButton*>(QStringLiteral("cmd_TagDetection_Detection"))->click();

        std::vector<double> ms;
        for (std::size_t i = 1; i < starts.size(); ++i)
            ms.push_back(
                std::chrono::duration<double, std::milli>(starts[i] - starts[i - 1]).count());
        const std::size_t from100 = std::min<std::size_t>(100, ms.size());
        const std::size_t to200 = std::min<std::size_t>(200, ms.size());
        state.counters["pass_ms_near_100"] =
            medianMs(std::vector<double>(ms.begin() + from100, ms.begin() + to200));
        state.counters["pass_ms_last_100"] = medianMs(
            std::vector<double>(ms.end() - std::min<std::size_t>(100, ms.size()), ms.end()));
        state.counters["passes"] = static_cast<double>(ms.size());
        delete w;
    }
}
BENCHMARK(BM_TagDetectionLoopWithoutTag)
    ->ArgsProduct({{0, 1}, benchsupport::sizes({1000, 100000})})
    ->ArgNames({"shown", "passes"})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) { return benchsupport::runOffscreen(argc, argv); }
