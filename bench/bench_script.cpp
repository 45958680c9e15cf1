// A script run through the shown script window on the simulated board, against the same
// run hidden, with the pace of its last lines against its first; and the load of a long
// script file. A real board spends about 1 ms of USB round trip per exchange, so a
// 10,000-line script takes 10 s there: the program's own share must stay well below.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <optional>
#include <vector>

#include "core/app_context.hpp"
#include "reader/dispatching_reader.hpp"
#include "script/script_window.hpp"
#include "simboard/simulated_board.hpp"

namespace {

class BenchUi : public core::Ui {
  public:
    QString openPath;
    core::MsgResult messageBox(const QString&, const QString&, core::MsgIcon,
                               core::MsgButtons) override {
        return core::MsgResult::Ok;
    }
    void beep() override {}
    std::optional<core::FileDialogResult> saveFileDialog(const core::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<core::FileDialogResult> openFileDialog(const core::FileDialogRequest&) override {
        return core::FileDialogResult{openPath, QStringLiteral("script.txt")};
    }
    std::optional<QColor> colorDialog(const QColor&) override { return std::nullopt; }
    void setBusy(bool) override {}
    bool isBusy() const override { return false; }
};

class NoTiming : public core::Timing {
  public:
    void pause(int) override {}
    void after(int, QObject*, std::function<void()>) override {}
};

// The board, with the time of each call kept: the pace of a run's lines.
class TimedBoard : public reader::DispatchingReader {
  public:
    std::vector<qint64> callTimesNs;
    QElapsedTimer clock;

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override {
        callTimesNs.push_back(clock.nsecsElapsed());
        reader::AnswerBuffer scratch;
        return board_.call(f, request, answer ? *answer : scratch);
    }

  private:
    simboard::SimulatedBoard board_;
};

struct Fixture {
    explicit Fixture(bool shown) : ctx(board, ui, clock, timing, dir.path()), window(ctx) {
        ctx.values.LastUsedFolder = dir.path();
        window.load();
        if (shown) window.show();
        QCoreApplication::processEvents();
    }
    void click(const char* name) {
        window.findChild<QAbstractButton*>(QLatin1String(name))->click();
    }

    QTemporaryDir dir;
    TimedBoard board;
    BenchUi ui;
    core::SystemClock clock;
    NoTiming timing;
    core::AppContext ctx;
    script::ScriptWindow window;
};

// 10,000 lines of what a script does: select, exchange, comment, raw command.
QString tenThousandLines() {
    QString s;
    for (int i = 0; i < 2500; ++i) {
        s += QStringLiteral(
            "TQ73RNDLL_SELECT, 02000180\nTQ73RNDLL_SENDRECV, 2607\nREM, next\n"
            "TQ73RNDLL_KVCMD, 010100\n");
    }
    return s;
}

void runTenThousandLines(benchmark::State& state, bool shown) {
    Fixture f(shown);
    f.window.findChild<QPlainTextEdit*>(QStringLiteral("rtfScriptLoadFileEdit"))
        ->setPlainText(tenThousandLines());
    double firstToLast = 0;
    for (auto _ : state) {
        f.click("cmdEraseLogScript");
        f.board.callTimesNs.clear();
        f.board.clock.start();
        f.click("cmdLaunchScript");
        const auto& t = f.board.callTimesNs;
        if (t.size() != 7500) state.SkipWithError("the run did not make its 7,500 calls");
        // The first and the last thousand calls (about 1,300 lines each).
        const double first = double(t[1000] - t[0]);
        const double last = double(t[t.size() - 1] - t[t.size() - 1001]);
        firstToLast = last / first;
    }
    state.counters["last_over_first"] = firstToLast;
}

void BM_ScriptRun10000LinesShown(benchmark::State& state) { runTenThousandLines(state, true); }
void BM_ScriptRun10000LinesHidden(benchmark::State& state) { runTenThousandLines(state, false); }
BENCHMARK(BM_ScriptRun10000LinesShown)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptRun10000LinesHidden)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ScriptLoad100000Lines(benchmark::State& state) {
    Fixture f(true);
    f.ui.openPath = f.dir.filePath(QStringLiteral("script.txt"));
    QFile file(f.ui.openPath);
    if (!file.open(QIODevice::WriteOnly)) return state.SkipWithError("no file");
    for (int i = 0; i < 25000; ++i) {
        file.write(
            "TQ73RNDLL_SELECT, 02000180\r\nTQ73RNDLL_SENDRECV, 2607\r\nREM, next\r\n"
            "TQ73RNDLL_KVCMD, 010100\r\n");
    }
    file.close();
    auto* editor = f.window.findChild<QPlainTextEdit*>(QStringLiteral("rtfScriptLoadFileEdit"));
    for (auto _ : state) {
        state.PauseTiming();
        editor->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        f.click("cmdScriptLoad");
        if (f.window.editorLines().size() != 100000) state.SkipWithError("lines lost");
    }
}
BENCHMARK(BM_ScriptLoad100000Lines)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
