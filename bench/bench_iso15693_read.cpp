// Reading a whole 64-kbit ISO15693 tag block by block, as the memory view does, through
// the reader interface on the simulated board. On air this takes seconds; the
// simulation must not be what makes a window feel slow.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench_support.hpp"
#include "reader/answer_buffer.hpp"
#include "reader/reader_library.hpp"
#include "simboard/simulated_board.hpp"

namespace {

std::string readBlockRequest(int block) {
    char text[16];
    std::snprintf(text, sizeof text, "0A20%02X%02X", block & 0xFF, block >> 8);
    return text;
}

void wholeTagBlockByBlock(benchmark::State& state) {
    simboard::SimulatedBoard board;
    reader::ReaderLibrary& library = board;
    reader::AnswerBuffer answer;
    library.select("010D", answer);
    // The default tag keeps one sector behind password 1.
    library.sendReceive("02B3020111223344", answer);

    constexpr int kBlocks = 64 * 1024 / 8 / 4;
    std::string requests[kBlocks];
    for (int b = 0; b < kBlocks; ++b) requests[b] = readBlockRequest(b);

    for (auto _ : state) {
        int good = 0;
        for (int b = 0; b < kBlocks; ++b) {
            answer.fillBlanks();
            if (library.sendReceive(requests[b], answer) == reader::kStatusOk &&
                answer.data()[0] == '8' && answer.data()[1] == '0' && answer.data()[4] == '0' &&
                answer.data()[5] == '0') {
                ++good;
            }
        }
        if (good != kBlocks) {
            state.SkipWithError("a block read failed");
            break;
        }
        benchmark::DoNotOptimize(good);
    }
    state.counters["exchanges"] = kBlocks;
}

}  // namespace

BENCHMARK(wholeTagBlockByBlock)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return benchsupport::runBenchmarks(argc, argv); }
