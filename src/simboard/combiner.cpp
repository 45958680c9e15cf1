#include "simboard/combiner.hpp"

#include <algorithm>
#include <map>

#include "simboard/felica_card.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso14443a_combiner.hpp"
#include "simboard/iso14443b_frames.hpp"
#include "simboard/iso15693_combiner.hpp"

namespace simboard {

namespace {

// The per-protocol combiners. A protocol whose transceiver reports answers its own
// way adds ONE line here, `{Protocol::X, combineX},` (and the include of the header
// that declares combineX); a protocol without a line gets combineGeneric.
const std::map<Protocol, Combiner>& combinerTable() {
    static const std::map<Protocol, Combiner> table = {
        // {Protocol::X, combineX},
        {Protocol::Iso14443B, combineIso14443b},
        {Protocol::FeliCa, combineFelica},
        {Protocol::Iso14443A, combineIso14443a},
        {Protocol::Iso15693, combineIso15693},
    };
    return table;
}

constexpr std::size_t kMaxAnswerDataBytes = 125;  // "80" + length + 250 digits < 256

}  // namespace

Combiner combinerFor(Protocol protocol) {
    const auto& table = combinerTable();
    const auto it = table.find(protocol);
    return it == table.end() ? &combineGeneric : it->second;
}

std::string resultAnswer(std::string_view resultCode, const Bytes& data) {
    if (data.size() > kMaxAnswerDataBytes) return "8900";
    std::string out(resultCode);
    appendHex(out, static_cast<std::uint8_t>(data.size()));
    for (std::uint8_t b : data) appendHex(out, b);
    return out;
}

std::string noTagAnswer() { return "8700"; }

Bytes applyCrcFault(Bytes frame, const AnswerFault& fault) {
    if (fault.corruptCrc && frame.size() >= 2) {
        frame[frame.size() - 2] ^= 0x5A;
        frame[frame.size() - 1] ^= 0xA5;
    }
    return frame;
}

std::uint8_t applyStatusFault(std::uint8_t status, const AnswerFault& fault) {
    return fault.statusByte.value_or(status);
}

Bytes overlayFrames(const std::vector<TagAnswer>& answers, bool& differ) {
    Bytes overlay;
    for (const TagAnswer& a : answers) {
        if (a.bytes.size() > overlay.size()) overlay.resize(a.bytes.size(), 0);
        for (std::size_t i = 0; i < a.bytes.size(); ++i) overlay[i] |= a.bytes[i];
    }
    differ = std::any_of(answers.begin(), answers.end(),
                         [&](const TagAnswer& a) { return a.bytes != overlay; });
    return overlay;
}

std::string combineGeneric(const CombineInput& in) {
    if (in.answers.empty()) return noTagAnswer();
    if (in.answers.size() == 1) {
        const TagAnswer& a = in.answers.front();
        if (a.bytes.size() == 1 && a.lastByteBits > 0 && a.lastByteBits < 8) {
            std::string out = "90";
            appendHex(out, static_cast<std::uint8_t>(a.lastByteBits));
            appendHex(out, a.bytes.front());
            return out;
        }
        Bytes data = applyCrcFault(a.bytes, in.fault);
        data.push_back(applyStatusFault(0x00, in.fault));
        return resultAnswer("80", data);
    }
    bool differ = false;
    Bytes data = applyCrcFault(overlayFrames(in.answers, differ), in.fault);
    data.push_back(applyStatusFault(differ ? kCollisionStatus : 0x00, in.fault));
    return resultAnswer("80", data);
}

}  // namespace simboard
