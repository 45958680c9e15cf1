#include "simboard/antenna.hpp"

namespace simboard {

void Antenna::add(std::unique_ptr<Tag> tag) {
    if (tag) tags_.push_back(std::move(tag));
}

std::vector<TagAnswer> Antenna::broadcast(const TagRequest& request) {
    std::vector<TagAnswer> answers;
    for (auto& tag : tags_) {
        if (!tag->hears(request.config)) continue;
        if (auto answer = tag->receive(request)) answers.push_back(std::move(*answer));
    }
    return answers;
}

std::string Antenna::exchange(const TagRequest& request, const AnswerFault& fault) {
    const std::vector<TagAnswer> answers = broadcast(request);
    return combinerFor(request.config.protocol)(CombineInput{answers, request.config, fault});
}

void Antenna::fieldOff() {
    for (auto& tag : tags_) tag->fieldOff();
}

}  // namespace simboard
