#include "transceiver/iso14443b_answers.hpp"

#include "transceiver/frames.hpp"

namespace transceiver {

std::string reqbRequest(std::string_view afi, std::string_view param) {
    std::string out(kReqbCommand);
    out += afi;
    out += param;
    return out;
}

bool isReqbHit(std::string_view answer) {
    return mid(answer, 1, 2) == kResultFrame && answer.size() >= 4 &&
           answer.substr(answer.size() - 2) == kResultDone;
}

std::string reqbFrame(std::string_view answer) {
    const int n = static_cast<int>(answer.size());
    return mid(answer, 5, n - 10);
}

std::string atqbPupi(std::string_view answer) {
    const std::string pupi = mid(answer, 7, 8);
    return pupi.size() == 8 ? pupi : std::string();
}

}  // namespace transceiver
