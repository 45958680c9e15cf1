#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simboard/tag.hpp"

namespace simboard {

// A fault a test asks of the SendRecv answers that carry a tag frame: the windows
// check the tag's CRC themselves when the transceiver's status byte is not "00".
struct AnswerFault {
    std::optional<std::uint8_t> statusByte;  // replaces the transceiver's status byte
    bool corruptCrc = false;                 // the tag's two CRC bytes arrive damaged

    bool operator==(const AnswerFault&) const = default;
};

// What the transceiver heard after one request: every answering tag's frame, in
// antenna order, under the configuration of the last Protocol Select.
struct CombineInput {
    const std::vector<TagAnswer>& answers;
    const ProtocolConfig& config;
    const AnswerFault& fault;
};

// Turns the tags' answers into the SendRecv answer text ("80", length, data...).
using Combiner = std::string (*)(const CombineInput& in);

// The combiner registered for a protocol, or combineGeneric.
Combiner combinerFor(Protocol protocol);

// Zero answers: "8700". One answer: "80", length, the tag's frame, one status byte
// (a frame of fewer than 8 bits in one byte: "90", bit count, the byte). Several
// answers: their frames overlaid bit by bit as they would sound on air, with
// kCollisionStatus as status byte when they differ.
std::string combineGeneric(const CombineInput& in);

constexpr std::uint8_t kCollisionStatus = 0x01;

// Building blocks for protocol combiners.
//
// "80" (or another result code), the data length, the data; data that would not fit
// the 255-character answer gives the transceiver's "receive buffer overflow" answer.
std::string resultAnswer(std::string_view resultCode, const Bytes& data);
std::string noTagAnswer();
// The tag frame with its trailing two CRC bytes damaged when the fault asks so.
Bytes applyCrcFault(Bytes frame, const AnswerFault& fault);
// The status byte the transceiver reports, unless the fault replaces it.
std::uint8_t applyStatusFault(std::uint8_t status, const AnswerFault& fault);
// Frames overlaid by OR, padded to the longest; `differ` tells whether any frame
// differs from the overlay (a collision a receiver can notice).
Bytes overlayFrames(const std::vector<TagAnswer>& answers, bool& differ);

}  // namespace simboard
