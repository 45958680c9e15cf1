#pragma once

#include <functional>
#include <string_view>

#include "reader/dispatching_reader.hpp"

namespace testsupport {

// Passes every call on to another reader, named once the fixture stands (a test context's
// scripted reader is made after a window fixture's reader is chosen), and tells `before`
// and `watch` of each call: a test counts a loop's passes here, whatever reader answers.
class WatchedReader : public reader::DispatchingReader {
  public:
    explicit WatchedReader(reader::ReaderLibrary* inner = nullptr) : inner(inner) {}

    reader::ReaderLibrary* inner;
    std::function<void(reader::ReaderFunction, std::string_view request)> before;
    std::function<void(reader::ReaderFunction, std::string_view request)> watch;

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override {
        if (before) before(f, request);
        reader::AnswerBuffer unused;  // the USB pair has no buffer
        const reader::LibraryStatus status = inner->call(f, request, answer ? *answer : unused);
        if (watch) watch(f, request);
        return status;
    }
};

// The reader as a base of a fixture, named before the window fixture's base that takes it.
struct WatchedReaderHolder {
    WatchedReader watched;
};

}  // namespace testsupport
