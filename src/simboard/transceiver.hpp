#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "simboard/antenna.hpp"
#include "simboard/combiner.hpp"
#include "simboard/registers.hpp"
#include "simboard/tag.hpp"
#include "simboard/tag_detector.hpp"

namespace simboard {

// Command codes of the transceiver frames.
enum class Command : std::uint8_t {
    Idn = 0x01,
    ProtocolSelect = 0x02,
    SendRecv = 0x04,
    Idle = 0x07,
    RdReg = 0x08,
    WrReg = 0x09,
    BaudRate = 0x0A,
    Echo = 0x55,
};

// The transceiver's answer to a frame it cannot take (bad length, unknown code).
inline constexpr std::string_view kInvalidCommandAnswer = "8200";

// The reader chip behind the board's firmware: answers the transceiver frames, keeps
// the selected protocol, the register file and the last wake-up reason, and drives
// the antenna. The antenna and the detector belong to the board, which rebuilds them
// in place when simulated-board.ini changes.
class Transceiver {
  public:
    Transceiver(Antenna& antenna, const TagDetector& detector)
        : antenna_(&antenna), detector_(&detector) {}

    // The identification characters of the IDN answer.
    void setIdentification(std::string text) { identification_ = std::move(text); }
    // When false the Idle answer carries 00 as reason and only register 62 tells it,
    // as on chips whose Idle answer cannot be trusted.
    void setIdleAnswerCarriesReason(bool on) { idleAnswerCarriesReason_ = on; }
    void setAnswerFault(const AnswerFault& fault) { fault_ = fault; }

    // One frame (code, length, data) as hex text, as it follows "01" in KVCmd.
    std::string frame(std::string_view hex);
    // Protocol Select data: protocol code and parameter bytes.
    std::string select(const Bytes& data);
    // SendRecv data: the bytes for the tag (ISO14443-A: then the transmission flag).
    std::string sendRecv(const Bytes& data);
    std::string idn() const;

    // Field off: no protocol, every tag powered down. Registers are kept.
    void fieldOff();
    // Power-up state: field off and registers at their power-up values.
    void reset();

    const ProtocolConfig& protocol() const { return protocol_; }
    const Registers& registers() const { return registers_; }

  private:
    std::string idle(const Bytes& data);
    std::string readRegister(const Bytes& data) const;
    std::string writeRegister(const Bytes& data);

    Antenna* antenna_;
    const TagDetector* detector_;
    std::string identification_ = "TQ73RN-SIM-2A";
    bool idleAnswerCarriesReason_ = true;
    AnswerFault fault_;
    ProtocolConfig protocol_;
    Registers registers_;
};

}  // namespace simboard
