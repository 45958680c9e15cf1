#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "detection/protocols.hpp"

// What the tag detection window builds and decides without its widgets: the idle and
// wake-up register requests, the wake-up flags of an answer and the verdict of a pass.
namespace detection {

// The idle parameter boxes ("WU Period", "Osc Start", "Dac Start", "Swings Cnt", "Max
// Sleep"), design values.
struct IdleParameters {
    std::uint8_t wuPeriod = 0x20;
    std::uint8_t oscStart = 0x60;
    std::uint8_t dacStart = 0x60;
    std::uint8_t swingsCnt = 0x3F;
    std::uint8_t maxSleep = 0x01;
};

// The idle command of a detection pass: the tag detector armed (with the wake-up cycle
// end when `wuCycleEnd`), the DAC window as the boxes give it.
std::string detectionIdleFrame(const IdleParameters& p, bool wuCycleEnd, std::uint8_t dacDataL,
                               std::uint8_t dacDataH);
// The idle command of a calibration step: DacDataL 00, DacDataH four times the index,
// kept to eight bits (so index 3F and FF both give FC).
std::string calibrationIdleFrame(const IdleParameters& p, std::uint8_t dacDataHIndex);
// The register write sent before every idle command of a detection pass.
std::string preIdleRegisterWrite();
// The read of the wake-up event register (62).
std::string wakeUpRegisterRead();

// Why the transceiver woke: the first data byte of an idle or register answer ("02" the
// tag detector, "01" the time-out), as far as the answer holds it.
QString wakeUpFlags(const QString& answer);
inline const QString kWokenByTag = QStringLiteral("02");
inline const QString kWokenByTimeOut = QStringLiteral("01");

// Whether the transceiver's identification asks for the wake-up register to be read
// always: its 18th character ("IDN = " and the identification) is "0".
bool readRegisterForced(const QString& readerIdnText);

// The outcome of a detection pass. `results` holds the count of each protocol the pass
// probed (none for a protocol it did not probe).
struct PassVerdict {
    QString caption;
    bool found = false;
};
PassVerdict tagDetectionVerdict(const QString& flags, int tickedAtStart,
                                const std::array<std::optional<int>, kProtocolCount>& results);

}  // namespace detection
