#include "simboard/registers.hpp"

namespace simboard {

void Registers::reset() {
    registers_.fill(0);
    analog_.fill(0);
    analog_[kArcB] = kArcBPowerUp;
}

std::uint8_t Registers::read(std::uint8_t address) const {
    if (address == kAnalogData) return analog_[registers_[kAnalogIndex]];
    return registers_[address];
}

void Registers::write(std::uint8_t address, std::uint8_t value) {
    if (address == kAnalogData) {
        analog_[registers_[kAnalogIndex]] = value;
        return;
    }
    registers_[address] = value;
}

}  // namespace simboard
