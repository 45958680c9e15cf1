#pragma once

#include <cstdint>
#include <optional>

#include "simboard/tag.hpp"

namespace simboard {

// Wake-up sources of the Idle command's WFUFlags byte; the wake-up reason the
// transceiver reports (Idle answer and register 62) is the bit of the source that
// woke it.
enum WakeUpSource : std::uint8_t {
    kWakeOnTimeOut = 0x01,
    kWakeOnTagDetector = 0x02,
    kWakeOnIrqIn = 0x08,
    kWakeOnNss = 0x10,
};

// The fourteen data bytes of an Idle frame, as the console names them.
struct IdleParameters {
    std::uint8_t wfuFlags = 0;
    std::uint16_t enterCtrl = 0;
    std::uint16_t wuCtrl = 0;
    std::uint16_t leaveCtrl = 0;
    std::uint8_t wuPeriod = 0;
    std::uint8_t oscStart = 0;
    std::uint8_t dacStart = 0;
    std::uint8_t dacDataL = 0;
    std::uint8_t dacDataH = 0;
    std::uint8_t swingsCnt = 0;
    std::uint8_t maxSleep = 0;

    static constexpr std::size_t kSize = 14;
    // Nothing unless `data` holds exactly fourteen bytes.
    static bool parse(const Bytes& data, IdleParameters& out);
};

// The low-power tag detector: it measures the antenna's amplitude (a DAC byte) and
// wakes the transceiver when the amplitude leaves the window [DacDataL, DacDataH].
// A tag in the field loads the antenna and lowers the amplitude: the detector sees one
// whenever the antenna holds a tag, unless told otherwise (`tagPresent`).
//
// The empty-antenna level A2 puts the calibration's threshold at index 40 (byte A0,
// the highest DacDataH below A2): DacDataL/DacDataH 98/A8 then keep the empty antenna
// inside the window with room on both sides, and a tag (80) falls below it.
struct TagDetector {
    std::uint8_t amplitudeWithoutTag = 0xA2;
    std::uint8_t amplitudeWithTag = 0x80;
    // A tag on the detector, or none, whatever the antenna holds; nothing: as the antenna.
    std::optional<bool> tagPresent;

    std::uint8_t amplitude(bool antennaHoldsTag) const {
        return tagPresent.value_or(antennaHoldsTag) ? amplitudeWithTag : amplitudeWithoutTag;
    }

    // Why an Idle with these parameters ends. The simulated transceiver never sleeps:
    // a tag-detector wake-up when armed and the amplitude is outside the window, else
    // the time-out when armed, else the IRQ-in or NSS pulse the caller would send (IRQ-in
    // also when no source is armed, since that pulse is how a user wakes the chip).
    std::uint8_t wakeUpReason(const IdleParameters& idle, bool antennaHoldsTag) const;

    bool operator==(const TagDetector&) const = default;
};

}  // namespace simboard
