#pragma once

#include <functional>
#include <string>
#include <vector>

#include "detection_support.hpp"
#include "reader/recording_reader.hpp"
#include "simboard/default_antenna.hpp"
#include "simboard/simulated_board.hpp"

namespace detectiontest {

// The simulated board behind a recording reader that can act after any call, the way a
// user's click arrives while a run waits for the board.
class HookedReader : public reader::RecordingReader {
  public:
    using RecordingReader::RecordingReader;
    // Told of every call first: the fixture's count of passes, which a test's `after`
    // does not replace.
    std::function<void(const reader::JournalEntry&)> watch;
    std::function<void(const reader::JournalEntry&)> after;

    // The requests of the journal as "Function request" lines, from entry `from` on.
    std::vector<std::string> calls(std::size_t from = 0) const;
    int countOf(reader::ReaderFunction f, const std::string& request) const;

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override {
        const reader::LibraryStatus status = RecordingReader::dispatch(f, request, answer);
        if (watch) watch(journal().back());
        if (after) after(journal().back());
        return status;
    }
};

// A base that makes the board before the window fixture that uses it.
struct SimulatedBoardHolder {
    simboard::SimulatedBoard board;
    HookedReader reader{board};

    // The antenna holds exactly these tags (none: an empty antenna).
    void useTags(std::vector<simboard::TagSpec> tags) {
        simboard::BoardConfig c = board.config();
        c.tags = std::move(tags);
        board.applyConfig(c);
    }
    // The default antenna's tags and `more` besides.
    void useDefaultAntennaAnd(std::vector<simboard::TagSpec> more) {
        std::vector<simboard::TagSpec> tags = simboard::defaultTagSpecs();
        tags.insert(tags.end(), more.begin(), more.end());
        useTags(std::move(tags));
    }
    void useDefaultAntenna() {
        simboard::BoardConfig c = board.config();
        c.tags.reset();
        board.applyConfig(c);
    }
};

inline std::vector<std::string> HookedReader::calls(std::size_t from) const {
    std::vector<std::string> out;
    for (std::size_t i = from; i < journal().size(); ++i) {
        const auto& e = journal()[i];
        out.push_back(callLine(e.function, e.request));
    }
    return out;
}

inline int HookedReader::countOf(reader::ReaderFunction f, const std::string& request) const {
    int n = 0;
    for (const auto& e : journal()) n += e.function == f && e.request == request ? 1 : 0;
    return n;
}

}  // namespace detectiontest
