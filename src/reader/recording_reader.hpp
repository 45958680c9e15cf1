#pragma once

#include <string>
#include <vector>

#include "reader/dispatching_reader.hpp"

namespace reader {

struct JournalEntry {
    ReaderFunction function;
    std::string request;  // empty for functions without a request
    LibraryStatus status;
    std::string answer;  // the buffer's text after the call; empty for the USB pair
};

// Wraps any reader and keeps a journal of every call, for tests that check which
// exchanges a window made and in what order.
class RecordingReader : public DispatchingReader {
  public:
    explicit RecordingReader(ReaderLibrary& inner) : inner_(inner) {}

    const std::vector<JournalEntry>& journal() const { return journal_; }
    void clearJournal() { journal_.clear(); }
    // Entries of one function only, in call order.
    std::vector<JournalEntry> callsTo(ReaderFunction f) const;

  protected:
    LibraryStatus dispatch(ReaderFunction f, std::string_view request,
                           AnswerBuffer* answer) override;

  private:
    ReaderLibrary& inner_;
    std::vector<JournalEntry> journal_;
};

}  // namespace reader
