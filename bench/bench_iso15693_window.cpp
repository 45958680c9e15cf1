// The ISO15693 window's runs on the simulated board, shown on screen and hidden: one pass
// of the inventory loop, on a log that already holds 100 or 100,000 entries, and the
// Read Single Block run over a whole 64-kbit tag (2,048 blocks, the view filled). A run
// shown must cost about what it costs hidden.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <optional>

#include "bench_support.hpp"
#include "core/app_context.hpp"
#include "core/product_catalogue.hpp"
#include "iso15693/iso15693_window.hpp"
#include "iso15693/register.hpp"
#include "simboard/simulated_board.hpp"
#include "widgets/hex_entry_box.hpp"

namespace {

// The window of a product as the menu opens it, shown or hidden.
struct Fixture {
    // The products file stands beside the benchmark, as beside the program.
    Fixture(const char* product, bool shown)
        : ctx(board, ui, clock, timing, QCoreApplication::applicationDirPath()) {
        ctx.values.McuRevisionText = QStringLiteral("1.4.1");
        iso15693::registerWindows(ctx.windows());
        core::SelectProduct(ctx, QString::fromLatin1(product));
        w = static_cast<iso15693::Iso15693Window*>(ctx.windows().find(core::WindowKind::Iso15693));
        if (!shown) w->hide();
        QCoreApplication::processEvents();
    }
    ~Fixture() { ctx.windows().close(core::WindowKind::Iso15693); }

    QPushButton* button(const char* name) {
        return w->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // A detection loop's worth of log entries, each the size of an inventory's.
    void fillLog(int entries) {
        for (int i = 0; i < entries; ++i) {
            w->logPane().appendTitled(
                QStringLiteral("INVENTORY"), QStringLiteral("TQ73RNDLL_SENDRECV"),
                QStringLiteral("260100"), QStringLiteral("800D000008070605040302E044FE00"));
        }
        QCoreApplication::processEvents();
    }

    simboard::SimulatedBoard board;
    benchsupport::QuietUi ui;
    core::SystemClock clock;
    benchsupport::NoTiming timing;
    core::AppContext ctx;
    iso15693::Iso15693Window* w = nullptr;
};

// One pass of the "Inventory loop": the exchange, the list, the log entry, the pumps.
void BM_InventoryPass(benchmark::State& state) {
    Fixture f("VEL-C", state.range(0) != 0);
    f.fillLog(static_cast<int>(state.range(1)));
    QPushButton* inventory = f.button("cmdInventory");
    for (auto _ : state) inventory->click();
    state.SetLabel(state.range(0) ? "shown" : "hidden");
}
BENCHMARK(BM_InventoryPass)
    ->ArgsProduct({{0, 1}, benchsupport::sizes({100, 100000})})
    ->Iterations(benchsupport::iterations(500))
    ->Unit(benchmark::kMicrosecond);

// "&Read Single Block" over the whole default tag: 2,048 blocks, one exchange, one log
// entry and one pump each, then the view.
void BM_ReadWholeTag(benchmark::State& state) {
    Fixture f("DUONX-AE", state.range(0) != 0);
    f.w->findChild<QTabBar*>(QStringLiteral("tabStripchoice"))->setCurrentIndex(1);
    auto* to = f.w->findChild<widgets::HexEntryBox*>(QStringLiteral("txtUserAddress_1"));
    to->setText(QStringLiteral("7FF"));
    to->commit();
    QPushButton* read = f.button("cmdReadUser");
    for (auto _ : state) {
        f.w->logPane().clear();
        read->click();
    }
    if (f.ctx.values.ReadViewLines.Size() != 2048) state.SkipWithError("not every block was read");
    state.SetLabel(state.range(0) ? "shown" : "hidden");
    state.counters["blocks"] = 2048;
}
BENCHMARK(BM_ReadWholeTag)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(benchsupport::iterations(5))
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return benchsupport::runOffscreen(argc, argv); }
