#include "detection/calibration.hpp"

#include "detection/tag_detection_logic.hpp"
#include "transceiver/hex_text.hpp"

namespace detection {

namespace {

using End = CalibrationResult::End;
using transceiver::HexPad;

constexpr std::uint8_t kLowestIndex = 0x00;
constexpr std::uint8_t kHighestIndex = 0xFF;  // sent as FC, four times FF kept to eight bits
constexpr int kSearchSteps = 6;
constexpr int kMaxDacByte = 0xFC;

const QString kReadProblem =
    QStringLiteral("-> Calibration process stopped : read register value problem");

QString ordinalStep(int step) {
    const char* suffix = step == 1 ? "st" : step == 2 ? "nd" : step == 3 ? "rd" : "th";
    return QStringLiteral("-> %1%2 step : ").arg(step).arg(QLatin1String(suffix));
}

}  // namespace

CalibrationResult calibrate(const CalibrationHooks& hooks) {
    CalibrationResult r;

    // Step 1: the detector must see a tag at the lowest setting...
    hooks.progress(ordinalStep(1) +
                   QStringLiteral("VERIFY detection with DacDataH=0x00 (min value)"));
    QString flags = hooks.measure(kLowestIndex);
    if (flags == kWokenByTimeOut) {
        hooks.progress(QStringLiteral(
            "-> Calibration process stopped : no detection observed with DacDataH=0x00"));
        r.end = End::NoDetectionAtMin;
        return r;
    }
    if (flags != kWokenByTag) {
        hooks.progress(kReadProblem);
        r.end = End::ReadProblem;
        return r;
    }
    if (hooks.pump(2)) return r;

    // Step 2: ...and none at the highest.
    hooks.progress(ordinalStep(2) +
                   QStringLiteral("VERIFY no detection with DacDataH=0xFC (max value)"));
    flags = hooks.measure(kHighestIndex);
    if (flags == kWokenByTag) {
        hooks.progress(QStringLiteral(
            "-> Calibration process stopped : detection observed with DacDataH=0xFC"));
        r.end = End::DetectionAtMax;
        return r;
    }
    if (flags != kWokenByTimeOut) {
        hooks.progress(kReadProblem);
        r.end = End::ReadProblem;
        return r;
    }
    if (hooks.pump(1)) return r;
    hooks.clearResults();

    // Steps 3 to 8: halve the interval, towards the tag on a detection.
    int point = 64;
    int stepSize = 64;
    std::uint8_t index = 0;
    for (int i = 0; i < kSearchSteps; ++i) {
        const int step = 3 + i;
        stepSize /= 2;
        point += flags == kWokenByTimeOut ? -stepSize : stepSize;
        index = static_cast<std::uint8_t>(point - 1);
        r.searchIndexes.push_back(index);
        hooks.progress(ordinalStep(step) + QStringLiteral("Calibration with DacDataH=0x") +
                       HexPad(index, 2));
        flags = hooks.measure(index);
        if (hooks.pump(1)) return r;
        hooks.showStepFlags(flags);
        if (flags != kWokenByTag && flags != kWokenByTimeOut) {
            hooks.progress(kReadProblem);
            r.end = End::ReadProblem;
            return r;
        }
    }

    const int threshold = flags == kWokenByTag ? index : index - 1;
    const int low = threshold - 2;
    const int high = threshold + 2;
    if (low < 2) {
        // Below four the low side is not moved one step at a time: it goes to zero.
        r.dacDataLCaption = QStringLiteral("DacDataL = 0x00");
        r.dacDataLBox = QStringLiteral("00");
    } else {
        r.dacDataLCaption = QStringLiteral("DacDataL = 0x") + HexPad(low, 2);
        r.dacDataLBox = HexPad(4 * low, 2);
    }
    if (4 * high > kMaxDacByte) {
        r.dacDataHCaption = QStringLiteral("DacDataH = 0xFC");
        r.dacDataHBox = QStringLiteral("FC");
    } else {
        r.dacDataHCaption = QStringLiteral("DacDataH = 0x") + HexPad(high, 2);
        r.dacDataHBox = HexPad(4 * high, 2);
    }
    hooks.progress(QStringLiteral(" ---> Calibration result : ") + r.dacDataLCaption +
                   QStringLiteral(" / ") + r.dacDataHCaption + QStringLiteral("\r\n"));
    r.end = End::Complete;
    return r;
}

}  // namespace detection
