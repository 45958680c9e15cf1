// The ISO14443-B window's two long runs on the simulated board, each with the window
// shown on screen and hidden: the anticollision over slots 0 to 15 of three SOLA memory tags, and a
// read of all 16 blocks of the default SOLA tag. A run on screen must not cost much more
// than the same run hidden: the exchanges are the work, not the repaints.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <cstdio>
#include <optional>

#include "bench_support.hpp"
#include "core/app_context.hpp"
#include "iso14443b/iso14443b_window.hpp"
#include "simboard/simulated_board.hpp"
#include "widgets/hex_entry_box.hpp"

namespace {

// The pauses between passes are there for the user, not for the work measured here;
// they still let events run once, as a short real pause does.
class ShortPauses : public core::Timing {
  public:
    void pause(int) override { QCoreApplication::processEvents(); }
    void after(int, QObject*, std::function<void()> fn) override { fn(); }
};

simboard::BoardConfig withSolaTags(std::initializer_list<const char*> chipIds) {
    simboard::BoardConfig c;
    c.tags.emplace();
    for (const char* id : chipIds) c.tags->push_back({"sola", {{"chipid", id}}});
    return c;
}

// The window of a SOLA-A product on its own board, shown or hidden.
struct Bench {
    Bench(std::initializer_list<const char*> chipIds, bool shown)
        : board(withSolaTags(chipIds)), ctx(board, ui, clock, timing, QDir::tempPath()) {
        core::ProgramValues& v = ctx.values;
        v.SelectedProduct.Reference = QStringLiteral("SOLA-A");
        v.SelectedProduct.Density = 4;
        v.SelectedProduct.PageSize = 4;
        v.MemorySizeBytes = 64;
        v.BlockSizeBytes = 4;
        v.AddressMask = 15;
        w = new iso14443b::Iso14443bWindow(ctx);
        w->load();
        w->resize(w->sizeHint());
        if (shown) {
            w->show();
            QCoreApplication::processEvents();
        }
    }
    ~Bench() { delete w; }

    template <class T>
    T* child(const char* name) {
        return w->findChild<T*>(QString::fromLatin1(name));
    }

    simboard::SimulatedBoard board;
    benchsupport::QuietUi ui;
    core::SystemClock clock;
    ShortPauses timing;
    core::AppContext ctx;
    iso14443b::Iso14443bWindow* w = nullptr;
};

void BM_Anticollision3Tags(benchmark::State& state) {
    Bench b({"12", "37", "5E"}, state.range(0) != 0);
    auto* grid = b.child<QTableWidget>("fgISO14443Banticol");
    for (auto _ : state) {
        b.w->anticollisionClicked();
        QCoreApplication::processEvents();
    }
    if (grid->findItems(QStringLiteral("5E"), Qt::MatchContains).isEmpty()) {
        state.SkipWithError("the tag of slot 14 was not found");
    }
    state.counters["exchanges"] = 18;
}
BENCHMARK(BM_Anticollision3Tags)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Read16Blocks(benchmark::State& state) {
    Bench b({"37"}, state.range(0) != 0);
    b.w->anticollisionClicked();  // selects the lone tag
    for (const char* name : {"txtUserAddress_0", "txtUserAddress_1"}) {
        auto* box = b.child<widgets::HexEntryBox>(name);
        box->setText(name[15] == '0' ? QStringLiteral("00") : QStringLiteral("0F"));
        box->commit();
    }
    auto* read = b.child<QAbstractButton>("cmd_ISO14443B_Read");
    auto* view = b.child<QListWidget>("lstReadView");
    for (auto _ : state) {
        read->click();
        QCoreApplication::processEvents();
    }
    if (view->count() != 16 || view->item(15)->text() != QStringLiteral("000F   3C 3D 3E 3F ")) {
        state.SkipWithError("the 16 blocks were not read");
    }
    state.counters["exchanges"] = 16;
}
BENCHMARK(BM_Read16Blocks)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return benchsupport::runBenchmarks(argc, argv);
}
