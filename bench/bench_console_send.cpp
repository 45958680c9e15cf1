// One console SendRecv as a user meets it: the window shown and events pumped after the
// Send (as a run does), beside the same Send with the window hidden; both on a log that
// holds 100 entries and on one that holds 100,000. Also the memory 100,000 entries take.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <memory>

#include "bench_support.hpp"
#include "console/console_window.hpp"
#include "core/app_context.hpp"
#include "simboard/simulated_board.hpp"
#include "widgets/hex_entry_box.hpp"

namespace {

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

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// A console set up for ISO15693 with an inventory in its SendRecv boxes.
struct Console {
    Console() : ctx(board, ui, clock, timing, QDir::tempPath()) {
        window = std::make_unique<console::ConsoleWindow>(ctx);
        window->resize(window->sizeHint());
        window->load();
        pick(window.get(), " 02 : Protocol Select ");
        child<QAbstractButton>(window.get(), "OptProtocolCode_1")->click();
        child<QAbstractButton>(window.get(), "cmdSendCommandCode02")->click();
        pick(window.get(), " 04 : SendRecv ");
        auto* data = child<widgets::HexEntryBox>(window.get(), "txtCodeXXFrameData");
        data->setText(QStringLiteral("260100"));
        data->commit();
        send = child<QAbstractButton>(window.get(), "cmdSendCommandCodeXX");
        answer = child<QLineEdit>(window.get(), "txtCommandCodeXXAnswer");
    }
    // Sends until the log holds `entries` entries, events pumped after each as a run does.
    void fillTo(int entries) {
        while (sent < entries) {
            send->click();
            QCoreApplication::processEvents();
            ++sent;
        }
    }

    simboard::SimulatedBoard board;
    core::QtUi ui;
    core::SystemClock clock;
    benchsupport::ImmediateTiming timing;
    core::AppContext ctx;
    std::unique_ptr<console::ConsoleWindow> window;
    QAbstractButton* send = nullptr;
    QLineEdit* answer = nullptr;
    int sent = 1;  // the Protocol Select
};

// Kept from one benchmark to the next (filling 100,000 entries takes a while); released
// before the application object goes.
std::unique_ptr<Console> small;
std::unique_ptr<Console> large;

Console& consoleAt(int entries) {
    auto& c = entries <= 100 ? small : large;
    if (!c) {
        c = std::make_unique<Console>();
        c->fillTo(entries);
    }
    return *c;
}

// range(0): entries already in the log; range(1): 1 shown, 0 hidden.
void BM_ConsoleSendRecv(benchmark::State& state) {
    Console& c = consoleAt(static_cast<int>(state.range(0)));
    const bool shown = state.range(1) != 0;
    c.window->setVisible(shown);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        c.send->click();
        QCoreApplication::processEvents();
    }
    c.sent += static_cast<int>(state.iterations());
    if (!c.answer->text().startsWith(QStringLiteral("80"))) state.SkipWithError("no tag answered");
    c.window->hide();
    QCoreApplication::processEvents();
}
BENCHMARK(BM_ConsoleSendRecv)
    ->ArgNames({"entries", "shown"})
    ->ArgsProduct({benchsupport::sizes({100, 100000}), {0, 1}})
    ->Iterations(benchsupport::iterations(2000))
    ->Unit(benchmark::kMicrosecond);

// What 100,000 entries of the console's log cost in memory (range(0): the entries made).
void BM_ConsoleLogMemory(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Console c;
        c.window->show();
        QCoreApplication::processEvents();
        const long before = residentKb();
        c.fillTo(entries);
        state.counters["MB_per_100k_entries"] =
            static_cast<double>(residentKb() - before) / 1024.0 * 100000.0 / entries;
    }
}
BENCHMARK(BM_ConsoleLogMemory)
    ->Arg(benchsupport::size(100000, 100))
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return benchsupport::runOffscreen(argc, argv, [] {
        small.reset();
        large.reset();
    });
}
