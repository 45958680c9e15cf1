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

FelicaPollingAnswer decodeFelicaPolling(std::string_view answer) {
    FelicaPollingAnswer out;
    const ParsedAnswer parsed = parseAnswer(answer);
    constexpr std::size_t kTrailing = 3;  // CRC and status byte
    constexpr std::size_t kShortestFrame = 2 + 8 + 8;
    if (!parsed.wellFormed || parsed.code != kResultFrame ||
        parsed.data.size() < kShortestFrame + kTrailing) {
        return out;
    }
    const std::size_t frameSize = parsed.data.size() - kTrailing;
    if (parsed.data[0] != frameSize || parsed.data[1] != kFelicaPollingResponse) return out;
    out.shaped = true;
    out.frame = felicaFrame(answer);
    out.statusByte = std::string(answer.substr(answer.size() - 2));
    return out;
}

}  // namespace transceiver
