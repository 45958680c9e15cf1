#include "simboard/faults.hpp"

namespace simboard {

std::deque<FaultPlan::Entry>& FaultPlan::queueFor(std::optional<reader::ReaderFunction> f) {
    return f ? perFunction_[*f] : anyFunction_;
}

void FaultPlan::queue(std::optional<reader::ReaderFunction> f, CannedAnswer answer) {
    queueFor(f).push_back(Entry{false, std::move(answer)});
}

void FaultPlan::onCall(std::optional<reader::ReaderFunction> f, int n, CannedAnswer answer) {
    auto& q = queueFor(f);
    for (int i = 1; i < n; ++i) q.push_back(Entry{true, {}});
    q.push_back(Entry{false, std::move(answer)});
}

void FaultPlan::clear() {
    perFunction_.clear();
    anyFunction_.clear();
}

std::optional<CannedAnswer> FaultPlan::take(reader::ReaderFunction f) {
    auto it = perFunction_.find(f);
    std::deque<Entry>* q =
        (it != perFunction_.end() && !it->second.empty()) ? &it->second : &anyFunction_;
    if (q->empty()) return std::nullopt;
    Entry e = std::move(q->front());
    q->pop_front();
    if (e.passThrough) return std::nullopt;
    return std::move(e.answer);
}

}  // namespace simboard
