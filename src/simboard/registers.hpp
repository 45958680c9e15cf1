#pragma once

#include <array>
#include <cstdint>

namespace simboard {

// The transceiver's register file. Register 68 holds the index of an analog register
// and register 69 is a window onto that analog register, so what a read of 69 shows
// depends on the last index written (after "HFO to RF" it is analog register 07).
class Registers {
  public:
    static constexpr std::uint8_t kWakeUpEvent = 0x62;
    static constexpr std::uint8_t kAnalogIndex = 0x68;
    static constexpr std::uint8_t kAnalogData = 0x69;
    static constexpr std::uint8_t kArcB = 0x01;
    // Modulation depth D (95 %), receiver gain 1 (32 dB): what the program sets first.
    static constexpr std::uint8_t kArcBPowerUp = 0xD1;

    Registers() { reset(); }

    void reset();
    std::uint8_t read(std::uint8_t address) const;
    void write(std::uint8_t address, std::uint8_t value);
    std::uint8_t analog(std::uint8_t index) const { return analog_[index]; }

  private:
    std::array<std::uint8_t, 256> registers_{};
    std::array<std::uint8_t, 256> analog_{};
};

}  // namespace simboard
