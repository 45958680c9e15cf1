#pragma once

#include <memory>
#include <string>
#include <vector>

#include "simboard/combiner.hpp"
#include "simboard/tag.hpp"

namespace simboard {

// The tags in the reader's field. Every request reaches each tag that hears the
// current configuration; the protocol's combiner turns what came back into the
// transceiver's answer.
class Antenna {
  public:
    Antenna() = default;
    Antenna(Antenna&&) = default;
    Antenna& operator=(Antenna&&) = default;

    void add(std::unique_ptr<Tag> tag);
    void clear() { tags_.clear(); }
    std::size_t size() const { return tags_.size(); }
    // For firmware commands that run their own exchanges (the board's anticollision).
    const std::vector<std::unique_ptr<Tag>>& tags() const { return tags_; }

    // The answers of the tags that hear `request.config`, in antenna order.
    std::vector<TagAnswer> broadcast(const TagRequest& request);
    // The SendRecv answer text for one request.
    std::string exchange(const TagRequest& request, const AnswerFault& fault = {});
    // The field went off: every tag back to its power-up state.
    void fieldOff();

  private:
    std::vector<std::unique_ptr<Tag>> tags_;
};

}  // namespace simboard
