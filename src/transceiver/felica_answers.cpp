#include "transceiver/felica_answers.hpp"

#include "transceiver/frames.hpp"

namespace transceiver {

namespace {

std::string wholeField(std::string_view answer, int start, int length) {
    std::string field = mid(answer, start, length);
    return field.size() == static_cast<std::size_t>(length) ? field : std::string();
}

}  // namespace

std::string reqcRequest(std::string_view systemCode, std::string_view requestCode,
                        std::string_view timeSlot) {
    std::string out(kReqcCommand);
    out += systemCode;
    out += requestCode;
    out += timeSlot;
    return out;
}

std::string felicaFrame(std::string_view answer) {
    const int n = static_cast<int>(answer.size());
    return mid(answer, 5, n - 10);
}

std::string felicaIdm(std::string_view answer) { return wholeField(answer, 9, 16); }

std::string felicaPmm(std::string_view answer) { return wholeField(answer, 25, 16); }

}  // namespace transceiver
