#include <benchmark/benchmark.h>

#include "bench_support.hpp"
#include "reader/answer_buffer.hpp"
#include "reader/reader_library.hpp"
#include "simboard/simulated_board.hpp"

namespace {

// Through the ReaderLibrary interface, as the windows call it: the simulator must
// never be what a user waits for (a real board takes a millisecond per round trip).
void echoExchange(benchmark::State& state) {
    simboard::SimulatedBoard board;
    reader::ReaderLibrary& library = board;
    reader::AnswerBuffer answer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.echo(answer));
        benchmark::DoNotOptimize(answer.data());
    }
}
BENCHMARK(echoExchange);

void protocolSelectExchange(benchmark::State& state) {
    simboard::SimulatedBoard board;
    reader::ReaderLibrary& library = board;
    reader::AnswerBuffer answer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.select("02000180", answer));
        benchmark::DoNotOptimize(answer.data());
    }
}
BENCHMARK(protocolSelectExchange);

}  // namespace

int main(int argc, char** argv) { return benchsupport::runBenchmarks(argc, argv); }
