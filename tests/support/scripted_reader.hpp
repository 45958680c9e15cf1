#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "reader/dispatching_reader.hpp"

namespace testsupport {

// A reader that answers from queued replies, for exact requests and error paths.
// Each function has its own queue; when it is empty the function's default reply is
// used, and a function with neither fails the test.
class ScriptedReader : public reader::DispatchingReader {
  public:
    struct Reply {
        reader::LibraryStatus status = reader::kStatusOk;
        std::string answer;
        bool untouched = false;  // leave the caller's buffer as it was
    };
    struct Call {
        reader::ReaderFunction function;
        std::string request;
    };

    void queue(reader::ReaderFunction f, reader::LibraryStatus status, std::string answer = {});
    void queueUntouched(reader::ReaderFunction f, reader::LibraryStatus status);
    void setDefault(reader::ReaderFunction f, reader::LibraryStatus status,
                    std::string answer = {});
    // Defaults that make every function succeed like a healthy board.
    void setHealthyDefaults();

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<std::string> requestsTo(reader::ReaderFunction f) const;
    int countOf(reader::ReaderFunction f) const;
    void clearCalls() { calls_.clear(); }

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override;

  private:
    std::map<reader::ReaderFunction, std::deque<Reply>> queues_;
    std::map<reader::ReaderFunction, Reply> defaults_;
    std::vector<Call> calls_;
};

}  // namespace testsupport
