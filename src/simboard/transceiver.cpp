#include "simboard/transceiver.hpp"

#include "simboard/felica_card.hpp"
#include "simboard/hex.hpp"

namespace simboard {

namespace {

std::string invalid() { return std::string(kInvalidCommandAnswer); }

// Parameter-byte counts each protocol takes: byte 0, and the optional timing (or
// slot) bytes.
bool validParameterCount(std::uint8_t protocol, std::size_t count) {
    switch (protocol) {
        case 0x00:
        case 0x01:
            return count == 1;
        case 0x02:
        case 0x03:
            return count == 1 || count == 3;
        case 0x04:
            return count == 1 || count == 2;
        case 0x05:
            return count >= 1 && count <= 3;
        default:
            return false;
    }
}

constexpr std::size_t kMaxRegisterRead = 125;  // "00" + length + 250 digits < 256

// Bit 0 of parameter byte 0 under ISO15693, ISO14443-B and FeliCa: the transceiver adds
// the tag CRC to every request. ISO14443-A asks for it in each request's flag byte.
constexpr std::uint8_t kParamAppendCrc = 0x01;

// The CRC check a tag makes of the last two bytes of every request under the protocol;
// nullptr where the append-CRC bit has no meaning.
using CrcCheck = bool (*)(const Bytes&);
CrcCheck requestCrcCheck(Protocol protocol) {
    switch (protocol) {
        case Protocol::Iso15693:
        case Protocol::Iso14443B:
            return &endsWithCrc16Iso13239;
        case Protocol::FeliCa:
            return &felicaCrcValid;
        default:
            return nullptr;
    }
}

}  // namespace

std::string Transceiver::frame(std::string_view hex) {
    const auto bytes = parseHex(hex);
    if (!bytes || bytes->empty()) return invalid();
    const auto code = static_cast<Command>((*bytes)[0]);
    if (code == Command::Echo) return bytes->size() == 1 ? "5500" : invalid();
    if (bytes->size() < 2 || (*bytes)[1] != bytes->size() - 2) return invalid();
    const Bytes data(bytes->begin() + 2, bytes->end());
    switch (code) {
        case Command::Idn:
            return data.empty() ? idn() : invalid();
        case Command::ProtocolSelect:
            return select(data);
        case Command::SendRecv:
            return sendRecv(data);
        case Command::Idle:
            return idle(data);
        case Command::RdReg:
            return readRegister(data);
        case Command::WrReg:
            return writeRegister(data);
        // The speed change only concerns the UART; the board talks SPI.
        case Command::BaudRate:
            return data.size() == 1 ? "5500" : invalid();
        default:
            return invalid();
    }
}

std::string Transceiver::select(const Bytes& data) {
    if (data.empty() || !validParameterCount(data[0], data.size() - 1)) return invalid();
    const auto protocol = static_cast<Protocol>(data[0]);
    if (protocol == Protocol::None) {
        fieldOff();
        return "0000";
    }
    protocol_.protocol = protocol;
    protocol_.params.assign(data.begin() + 1, data.end());
    return "0000";
}

std::string Transceiver::sendRecv(const Bytes& data) {
    if (data.empty()) return invalid();
    if (protocol_.protocol == Protocol::None || protocol_.protocol == Protocol::CardEmulation) {
        return noTagAnswer();
    }
    TagRequest request;
    request.config = protocol_;
    if (protocol_.protocol == Protocol::Iso14443A) {
        request.frame.assign(data.begin(), data.end() - 1);
        request.flagByte = data.back();
    } else {
        request.frame = data;
        // With the append-CRC bit clear the request goes on air as given, and the tags
        // take its last two bytes for their CRC: a frame whose CRC does not check is
        // dropped, as on air. Every tag of the protocol checks the same CRC, so it is
        // checked once here, and the tags then get the frame without it, as they do when
        // the transceiver adds it.
        const CrcCheck crcChecks = requestCrcCheck(protocol_.protocol);
        if (crcChecks && !(protocol_.params[0] & kParamAppendCrc)) {
            if (data.size() < 3 || !crcChecks(data)) return noTagAnswer();
            request.frame.resize(data.size() - 2);
        }
    }
    return antenna_->exchange(request, fault_);
}

std::string Transceiver::idn() const {
    Bytes data(identification_.begin(), identification_.end());
    appendCrc16Iso13239(data);
    return resultAnswer("00", data);
}

std::string Transceiver::idle(const Bytes& data) {
    IdleParameters parameters;
    if (!IdleParameters::parse(data, parameters)) return invalid();
    const std::uint8_t reason = detector_->wakeUpReason(parameters, antenna_->size() > 0);
    registers_.write(Registers::kWakeUpEvent, reason);
    std::string out = "0001";
    appendHex(out, idleAnswerCarriesReason_ ? reason : 0x00);
    return out;
}

std::string Transceiver::readRegister(const Bytes& data) const {
    // Address, size, reserved byte.
    if (data.size() != 3) return invalid();
    const std::size_t address = data[0];
    const std::size_t size = data[1];
    if (size > kMaxRegisterRead || address + size > 256) return invalid();
    Bytes out;
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(registers_.read(static_cast<std::uint8_t>(address + i)));
    }
    return resultAnswer("00", out);
}

std::string Transceiver::writeRegister(const Bytes& data) {
    // Address, increment flag, at least one data byte.
    if (data.size() < 3 || data[1] > 0x01) return invalid();
    const bool increment = data[1] == 0x01;
    std::size_t address = data[0];
    if (increment && address + (data.size() - 2) > 256) return invalid();
    for (std::size_t i = 2; i < data.size(); ++i) {
        registers_.write(static_cast<std::uint8_t>(address), data[i]);
        if (increment) ++address;
    }
    return "0000";
}

void Transceiver::fieldOff() {
    protocol_ = ProtocolConfig{};
    antenna_->fieldOff();
}

void Transceiver::reset() {
    fieldOff();
    registers_.reset();
}

}  // namespace simboard
