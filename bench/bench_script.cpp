// A script of N SendRecv lines run through the script window on the simulated board, with
// the window shown and with it hidden. The run lets pending events run after every line,
// so a shown window pays for whatever it repaints; the screen must not set the pace:
// shown over hidden stays within a factor of two, and the last lines of a long run go as
// fast as its first (a log that costs more as it grows would slow them down). A real
// board spends about 1 ms of USB round trip per exchange, so 10,000 lines take 10 s
// there: the program's own share must stay well below. Also the load of a long file.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <vector>

#include "bench_support.hpp"
#include "core/app_context.hpp"
#include "reader/dispatching_reader.hpp"
#include "script/script_file.hpp"
#include "script/script_window.hpp"
#include "simboard/simulated_board.hpp"

namespace {

// The board, with the time of each exchange kept: the pace of a run's lines.
class TimedBoard : public reader::DispatchingReader {
  public:
    std::vector<qint64> exchangeTimesNs;
    QElapsedTimer clock;

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override {
        if (f == reader::ReaderFunction::SendReceive)
            exchangeTimesNs.push_back(clock.nsecsElapsed());
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
    QPlainTextEdit* editor() {
        return window.findChild<QPlainTextEdit*>(QStringLiteral("rtfScriptLoadFileEdit"));
    }

    QTemporaryDir dir;
    TimedBoard board;
    benchsupport::QuietUi ui;
    core::SystemClock clock;
    benchsupport::NoTiming timing;
    core::AppContext ctx;
    script::ScriptWindow window;
};

// The ISO14443-A protocol, then N REQA exchanges. The tag answers every other one: a REQA
// finds it ready from the one before and sends it back to idle, silent.
QString sendRecvScript(int lines) {
    QString s = QStringLiteral("TQ73RNDLL_SELECT, 02000180\n");
    for (int i = 0; i < lines; ++i) s += QStringLiteral("TQ73RNDLL_SENDRECV, 2607\n");
    return s;
}

// Milliseconds per run, by line count and shown (1) or hidden (0): the ratio at the end.
std::map<int, std::map<int, double>> runMs;

void BM_ScriptSendRecvLines(benchmark::State& state) {
    const bool shown = state.range(0) != 0;
    const int lines = static_cast<int>(state.range(1));
    Fixture f(shown);
    f.editor()->setPlainText(sendRecvScript(lines));
    double lastOverFirst = 0;
    double totalMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.click("cmdEraseLogScript");
        f.board.exchangeTimesNs.clear();
        QElapsedTimer run;
        state.ResumeTiming();
        run.start();
        f.board.clock.start();
        f.click("cmdLaunchScript");
        totalMs += static_cast<double>(run.nsecsElapsed()) / 1e6;
        const auto& t = f.board.exchangeTimesNs;
        if (static_cast<int>(t.size()) != lines) {
            state.SkipWithError("the run did not make one exchange a line");
            break;
        }
        // The pace of the first and of the last tenth of the exchanges.
        const std::size_t tenth = t.size() / 10;
        const double first = static_cast<double>(t[tenth] - t[0]);
        const double last = static_cast<double>(t[t.size() - 1] - t[t.size() - 1 - tenth]);
        lastOverFirst = last / first;
    }
    const QString& log = f.window.scriptLogText();
    if (log.count(QStringLiteral(">>> TQ73RNDLL_SENDRECV, 2607")) != lines ||
        log.count(QStringLiteral("<<< 8005")) != lines / 2) {
        state.SkipWithError("the log does not hold every exchange and every tag answer");
    }
    runMs[lines][shown ? 1 : 0] = totalMs / static_cast<double>(state.iterations());
    state.counters["last_over_first"] = lastOverFirst;
    state.counters["lines"] = lines;
}
BENCHMARK(BM_ScriptSendRecvLines)
    ->ArgsProduct({{0, 1}, benchsupport::sizes({1000, 10000})})
    ->ArgNames({"shown", "lines"})
    ->Iterations(benchsupport::iterations(3))
    ->Unit(benchmark::kMillisecond);

// The longest scripts Load Script takes: just under 1 MiB of ordinary lines (44,000
// lines), and the most lines it takes, empty.
void BM_ScriptLoadLargestFile(benchmark::State& state) {
    const bool emptyLines = state.range(0) != 0;
    Fixture f(true);
    f.ui.openPath = f.dir.filePath(QStringLiteral("script.txt"));
    QFile file(f.ui.openPath);
    if (!file.open(QIODevice::WriteOnly)) return state.SkipWithError("no file");
    qsizetype lines = 0;
    if (emptyLines) {
        file.write(QByteArray(script::kMaxScriptLines, '\n'));
        lines = script::kMaxScriptLines;
    } else {
        for (int i = 0; i < 11000; ++i) {
            file.write(
                "TQ73RNDLL_SELECT, 02000180\r\nTQ73RNDLL_SENDRECV, 2607\r\nREM, next\r\n"
                "TQ73RNDLL_KVCMD, 010100\r\n");
        }
        lines = 44000;
    }
    file.close();
    for (auto _ : state) {
        state.PauseTiming();
        f.editor()->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        f.click("cmdScriptLoad");
        QCoreApplication::processEvents();
        if (f.window.editorLines().size() < lines) {
            state.SkipWithError("the file was refused or lines were lost");
            break;
        }
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ScriptLoadLargestFile)
    ->ArgName("emptyLines")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(benchsupport::iterations(3))
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return benchsupport::runOffscreen(argc, argv, [] {
        for (const auto& [lines, byShown] : runMs) {
            if (byShown.count(0) == 0 || byShown.count(1) == 0) continue;
            const double hidden = byShown.at(0);
            const double shown = byShown.at(1);
            std::printf("%d SendRecv lines: shown %.1f ms, hidden %.1f ms, shown/hidden %.2f\n",
                        lines, shown, hidden, shown / hidden);
        }
    });
}
