// The ISO14443-A window on the simulated board: the automatic anticollision process, and
// a READ of every page of the default tag, each with the window shown and with it hidden.
// Pending events run where the runs let them run (after an exchange, between cascade
// levels), so a shown window pays for the repaints a user would see. Shown and hidden
// should stay within a factor of two: the screen must not set the pace of the exchanges.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include "bench_support.hpp"
#include "core/app_context.hpp"
#include "core/protocol_setup.hpp"
#include "iso14443a/iso14443a_window.hpp"
#include "simboard/simulated_board.hpp"
#include "widgets/hex_entry_box.hpp"

namespace {

// The ISO14443-A product of the products file: 2 kbit in pages of 4 bytes.
void selectIso14443aProduct(core::ProgramValues& v) {
    v.SelectedProduct.Reference = QStringLiteral("ISO14443-A");
    v.SelectedProduct.Density = 2;
    v.SelectedProduct.PageSize = 4;
    v.MemorySizeBytes = 256;
    v.BlockSizeBytes = 4;
    v.AddressMask = 63;
    v.DemodGainValue = QStringLiteral("D1");
}

struct Bench {
    simboard::SimulatedBoard board;
    core::QtUi ui;
    core::SystemClock clock;
    benchsupport::ImmediateTiming timing;
    core::AppContext ctx{board, ui, clock, timing, QDir::tempPath()};
    iso14443a::Iso14443aWindow* w = nullptr;

    explicit Bench(bool shown) {
        selectIso14443aProduct(ctx.values);
        w = new iso14443a::Iso14443aWindow(ctx);
        w->load();
        if (shown) w->show();
        QCoreApplication::processEvents();
    }
    ~Bench() { delete w; }

    void click(const char* name) {
        w->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    }
    QString text(const char* name) {
        return w->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }
};

// The field goes off and on again between rounds (the window's own protocol select), which
// puts the tag the previous process selected back to idle (a HALTed tag would answer WUPA
// only), so that every process resolves the whole 7-byte UID: 5 exchanges and log
// entries a round.
void BM_AnticollisionProcess(benchmark::State& state) {
    Bench b(state.range(0) != 0);
    reader::AnswerBuffer answer;
    const core::ProtocolSetup setup =
        core::protocolSetupFor(core::BoardSetup::Iso14443A, b.ctx.values.DemodGainValue);
    for (auto _ : state) {
        b.board.fieldOff(answer);
        b.board.select(setup.select, answer);
        b.click("cmd_ISO14443A_Anticol_Process");
    }
    if (b.text("txtAnticolisionProcessUID") != QStringLiteral("04A1B2C3D4E5F6")) {
        state.SkipWithError("the process did not resolve the default tag");
    }
    state.counters["exchanges"] = benchmark::Counter(5.0 * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AnticollisionProcess)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The default tag's 16 pages, four to a READ.
void BM_ReadEveryPage(benchmark::State& state) {
    Bench b(state.range(0) != 0);
    b.click("cmd_ISO14443A_Anticol_Process");
    auto* address = b.w->findChild<widgets::HexEntryBox*>(QStringLiteral("txtUserAddress_0"));
    bool good = true;
    for (auto _ : state) {
        for (int page = 0; page < 16; page += 4) {
            address->setText(QString::number(page, 16));
            address->commit();
            b.click("cmd_ISO14443A_Read");
            good = good && b.text("txt_ISO14443A_answer").endsWith(QStringLiteral("080000"));
        }
    }
    if (!good) state.SkipWithError("a READ failed");
    state.counters["exchanges"] = benchmark::Counter(4.0 * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadEveryPage)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return benchsupport::runOffscreen(argc, argv); }
