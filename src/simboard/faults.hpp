#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>

#include "reader/reader_library.hpp"

namespace simboard {

// An answer a test imposes on one call instead of the board's own.
struct CannedAnswer {
    reader::LibraryStatus status = reader::kStatusOk;
    // Nothing: the buffer is left as the caller filled it.
    std::optional<std::string> text;
};

// Canned answers waiting for their call. Each function has its own queue, and one
// more queue serves any function; a call takes from its function's queue first.
class FaultPlan {
  public:
    // nullopt as function: the next call of any function.
    void queue(std::optional<reader::ReaderFunction> f, CannedAnswer answer);
    // The n-th call from now (1 = the next one) of `f` (or of any function).
    void onCall(std::optional<reader::ReaderFunction> f, int n, CannedAnswer answer);
    void clear();

    // The canned answer for this call, if one is due; consumes it.
    std::optional<CannedAnswer> take(reader::ReaderFunction f);

  private:
    struct Entry {
        bool passThrough = false;
        CannedAnswer answer;
    };
    std::deque<Entry>& queueFor(std::optional<reader::ReaderFunction> f);

    std::map<reader::ReaderFunction, std::deque<Entry>> perFunction_;
    std::deque<Entry> anyFunction_;
};

}  // namespace simboard
