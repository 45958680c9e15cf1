#include "simboard/tag_detector.hpp"

namespace simboard {

namespace {
std::uint16_t word(const Bytes& d, std::size_t lowAt) {
    return static_cast<std::uint16_t>(d[lowAt] | (d[lowAt + 1] << 8));
}
}  // namespace

bool IdleParameters::parse(const Bytes& d, IdleParameters& out) {
    if (d.size() != kSize) return false;
    out.wfuFlags = d[0];
    out.enterCtrl = word(d, 1);
    out.wuCtrl = word(d, 3);
    out.leaveCtrl = word(d, 5);
    out.wuPeriod = d[7];
    out.oscStart = d[8];
    out.dacStart = d[9];
    out.dacDataL = d[10];
    out.dacDataH = d[11];
    out.swingsCnt = d[12];
    out.maxSleep = d[13];
    return true;
}

std::uint8_t TagDetector::wakeUpReason(const IdleParameters& idle, bool antennaHoldsTag) const {
    const std::uint8_t a = amplitude(antennaHoldsTag);
    if ((idle.wfuFlags & kWakeOnTagDetector) && (a < idle.dacDataL || a > idle.dacDataH)) {
        return kWakeOnTagDetector;
    }
    if (idle.wfuFlags & kWakeOnTimeOut) return kWakeOnTimeOut;
    if (idle.wfuFlags & kWakeOnIrqIn) return kWakeOnIrqIn;
    if (idle.wfuFlags & kWakeOnNss) return kWakeOnNss;
    return kWakeOnIrqIn;
}

}  // namespace simboard
