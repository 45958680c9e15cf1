// One console Send through the window: compose the request from the boxes, exchange it
// with the simulated board, judge and explain the answer, append the log entry.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>

#include "console/console_window.hpp"
#include "core/app_context.hpp"
#include "simboard/simulated_board.hpp"
#include "widgets/hex_entry_box.hpp"

namespace {

// The pause before each exchange is there for the user, not for the work measured here.
class NoPauses : public core::Timing {
  public:
    void pause(int) override {}
    void after(int, QObject*, std::function<void()> fn) override { fn(); }
};

template <class T>
T* child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

void pick(QWidget* w, const char* entry) {
    auto* list = child<QComboBox>(w, "cboTQ73RN_CommandList");
    const int i = list->findText(QString::fromLatin1(entry));
    list->setCurrentIndex(i);
    emit list->activated(i);
}

void BM_ConsoleSendRecvInventory(benchmark::State& state) {
    simboard::SimulatedBoard board;
    core::QtUi ui;
    core::SystemClock clock;
    NoPauses timing;
    core::AppContext ctx(board, ui, clock, timing, QDir::tempPath());
    auto* w = new console::ConsoleWindow(ctx);
    w->load();

    pick(w, " 02 : Protocol Select ");
    child<QAbstractButton>(w, "OptProtocolCode_1")->click();
    child<QAbstractButton>(w, "cmdSendCommandCode02")->click();
    pick(w, " 04 : SendRecv ");
    auto* data = child<widgets::HexEntryBox>(w, "txtCodeXXFrameData");
    data->setText(QStringLiteral("260100"));
    data->commit();
    auto* send = child<QAbstractButton>(w, "cmdSendCommandCodeXX");
    auto* answer = child<QLineEdit>(w, "txtCommandCodeXXAnswer");

    for (auto _ : state) {
        send->click();
        benchmark::DoNotOptimize(answer->text().size());
    }
    if (!answer->text().startsWith(QStringLiteral("80"))) state.SkipWithError("no tag answered");
    delete w;
}
BENCHMARK(BM_ConsoleSendRecvInventory)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
