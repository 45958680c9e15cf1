#include "reader/recording_reader.hpp"

namespace reader {

std::vector<JournalEntry> RecordingReader::callsTo(ReaderFunction f) const {
    std::vector<JournalEntry> out;
    for (const auto& e : journal_) {
        if (e.function == f) out.push_back(e);
    }
    return out;
}

LibraryStatus RecordingReader::dispatch(ReaderFunction f, std::string_view request,
                                        AnswerBuffer* answer) {
    // The USB pair takes no buffer; the inner reader ignores this one for them.
    AnswerBuffer unused;
    const LibraryStatus status = inner_.call(f, request, answer ? *answer : unused);
    journal_.push_back({f, std::string(request), status, answer ? answer->text() : std::string()});
    return status;
}

}  // namespace reader
