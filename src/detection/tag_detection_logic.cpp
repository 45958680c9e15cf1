#include "detection/tag_detection_logic.hpp"

#include "transceiver/frames.hpp"

namespace detection {

namespace {

using transceiver::hexByte;

// Wake-up flags: the tag detector, with or without the end of the wake-up cycle.
constexpr std::uint8_t kDetectionFlags = 0x0A;
constexpr std::uint8_t kWuCycleEnd = 0x01;
constexpr char kDetectionControls[] = "210079011800";  // enter, wake-up, leave control words
constexpr char kCalibrationFlags[] = "03";
constexpr char kCalibrationControls[] = "A100F8011800";

std::string parameters(const IdleParameters& p, const std::string& flags, const char* controls,
                       std::uint8_t dacDataL, std::uint8_t dacDataH) {
    return flags + controls + hexByte(p.wuPeriod) + hexByte(p.oscStart) + hexByte(p.dacStart) +
           hexByte(dacDataL) + hexByte(dacDataH) + hexByte(p.swingsCnt) + hexByte(p.maxSleep);
}

}  // namespace

std::string detectionIdleFrame(const IdleParameters& p, bool wuCycleEnd, std::uint8_t dacDataL,
                               std::uint8_t dacDataH) {
    const auto flags = static_cast<std::uint8_t>(kDetectionFlags | (wuCycleEnd ? kWuCycleEnd : 0));
    return transceiver::idleFrame(
        parameters(p, hexByte(flags), kDetectionControls, dacDataL, dacDataH));
}

std::string calibrationIdleFrame(const IdleParameters& p, std::uint8_t dacDataHIndex) {
    const auto dacDataH = static_cast<std::uint8_t>((4 * dacDataHIndex) & 0xFF);
    return transceiver::idleFrame(
        parameters(p, kCalibrationFlags, kCalibrationControls, 0, dacDataH));
}

std::string preIdleRegisterWrite() { return transceiver::wrRegFrame("60", true, "1800"); }

std::string wakeUpRegisterRead() { return transceiver::rdRegFrame(transceiver::kRegWakeUpEvent); }

QString wakeUpFlags(const QString& answer) { return answer.mid(4, 2); }

bool readRegisterForced(const QString& readerIdnText) {
    constexpr qsizetype kDecidingCharacter = 18;
    return readerIdnText.size() >= kDecidingCharacter &&
           readerIdnText.at(kDecidingCharacter - 1) == QLatin1Char('0');
}

PassVerdict tagDetectionVerdict(const QString& flags, int tickedAtStart,
                                const std::array<std::optional<int>, kProtocolCount>& results) {
    PassVerdict v;
    if (flags != kWokenByTag) return v;
    for (int p = 0; p < kProtocolCount; ++p) {
        const auto& count = results[static_cast<std::size_t>(p)];
        if (!count || !isHit(p, *count)) continue;
        v.caption += hitText(p, *count);
        v.found = true;
    }
    // Tag detection alone: the wake-up is the tag.
    if (tickedAtStart == 0) {
        v.caption.clear();
        v.found = true;
    }
    return v;
}

}  // namespace detection
