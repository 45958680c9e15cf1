#pragma once

#include <string>
#include <vector>

#include "reader/reader_library.hpp"

namespace reader {

struct JournalEntry {
    ReaderFunction function;
    std::string request;  // empty for functions without a request
    LibraryStatus status;
    std::string answer;  // the buffer's text after the call
};

// Wraps any reader and keeps a journal of every call, for tests that check which
// exchanges a window made and in what order.
class RecordingReader : public ReaderLibrary {
public:
    explicit RecordingReader(ReaderLibrary& inner) : inner_(inner) {}

    const std::vector<JournalEntry>& journal() const { return journal_; }
    void clearJournal() { journal_.clear(); }
    // Entries of one function only, in call order.
    std::vector<JournalEntry> callsTo(ReaderFunction f) const;

    LibraryStatus usbConnect() override;
    LibraryStatus usbHandleCheck() override;
    LibraryStatus kvCmd(std::string_view request, AnswerBuffer& answer) override;
    LibraryStatus select(std::string_view request, AnswerBuffer& answer) override;
    LibraryStatus sendReceive(std::string_view request, AnswerBuffer& answer) override;
    LibraryStatus echo(AnswerBuffer& answer) override;
    LibraryStatus idn(AnswerBuffer& answer) override;
    LibraryStatus fieldOff(AnswerBuffer& answer) override;
    LibraryStatus getDllRev(AnswerBuffer& answer) override;
    LibraryStatus resetSpi(AnswerBuffer& answer) override;
    LibraryStatus sendIrqPulse(AnswerBuffer& answer) override;
    LibraryStatus sendNssPulse(AnswerBuffer& answer) override;
    LibraryStatus pollingReading(AnswerBuffer& answer) override;
    LibraryStatus getMcuRev(AnswerBuffer& answer) override;
    LibraryStatus getInterfacePinState(AnswerBuffer& answer) override;

private:
    LibraryStatus forward(ReaderFunction f, std::string_view request, AnswerBuffer& answer);

    ReaderLibrary& inner_;
    std::vector<JournalEntry> journal_;
};

}  // namespace reader
