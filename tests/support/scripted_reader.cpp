#include "scripted_reader.hpp"

#include <gtest/gtest.h>

namespace testsupport {

using reader::AnswerBuffer;
using reader::LibraryStatus;
using reader::ReaderFunction;

void ScriptedReader::queue(ReaderFunction f, LibraryStatus status, std::string answer) {
    queues_[f].push_back({status, std::move(answer), false});
}

void ScriptedReader::queueUntouched(ReaderFunction f, LibraryStatus status) {
    queues_[f].push_back({status, {}, true});
}

void ScriptedReader::setDefault(ReaderFunction f, LibraryStatus status, std::string answer) {
    defaults_[f] = {status, std::move(answer), false};
}

void ScriptedReader::setHealthyDefaults() {
    setDefault(ReaderFunction::UsbConnect, 0);
    setDefault(ReaderFunction::UsbHandleCheck, 0);
    setDefault(ReaderFunction::KvCmd, 0, "0000");
    setDefault(ReaderFunction::Select, 0, "0000");
    setDefault(ReaderFunction::SendReceive, 0, "8700");
    setDefault(ReaderFunction::Echo, 0, "5500");
    setDefault(ReaderFunction::Idn, 0,
               "000F54513733524E2D53494D2D3241"
               "0000");
    setDefault(ReaderFunction::FieldOff, 0, "0000");
    setDefault(ReaderFunction::GetDllRev, 0, "5.1.0");
    setDefault(ReaderFunction::ResetSpi, 0, "0000");
    setDefault(ReaderFunction::SendIrqPulse, 0, "0000");
    setDefault(ReaderFunction::SendNssPulse, 0, "0000");
    setDefault(ReaderFunction::PollingReading, 0, "0000");
    setDefault(ReaderFunction::GetMcuRev, 0, "0003010401");
    setDefault(ReaderFunction::GetInterfacePinState, 0, "000101");
}

std::vector<std::string> ScriptedReader::requestsTo(ReaderFunction f) const {
    std::vector<std::string> out;
    for (const auto& c : calls_) {
        if (c.function == f) out.push_back(c.request);
    }
    return out;
}

int ScriptedReader::countOf(ReaderFunction f) const {
    int n = 0;
    for (const auto& c : calls_) n += c.function == f ? 1 : 0;
    return n;
}

LibraryStatus ScriptedReader::dispatch(ReaderFunction f, std::string_view request,
                                       AnswerBuffer* answer) {
    calls_.push_back({f, std::string(request)});
    Reply r;
    auto q = queues_.find(f);
    if (q != queues_.end() && !q->second.empty()) {
        r = q->second.front();
        q->second.pop_front();
    } else if (auto d = defaults_.find(f); d != defaults_.end()) {
        r = d->second;
    } else {
        ADD_FAILURE() << "unscripted reader call: " << reader::exportedName(f) << " request \""
                      << request << "\"";
        return reader::kStatusMissingFunction;
    }
    if (answer && !r.untouched) answer->setText(r.answer);
    return r.status;
}

}  // namespace testsupport
