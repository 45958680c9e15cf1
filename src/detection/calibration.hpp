#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// The calibration of the transceiver's tag detector: which DacDataH setting is the
// highest at which the detector still reports a tag, found by halving, and the detection
// window placed two index steps either side of it.
namespace detection {

struct CalibrationHooks {
    // Sends the calibration idle command with this DacDataH index (and reads the wake-up
    // register when the window asks for it) and gives the answer's wake-up flags.
    std::function<QString(std::uint8_t dacDataHIndex)> measure;
    // Lets events run `passes` times; true when the calibration must end now (the window
    // was closed or the program is quitting).
    std::function<bool(int passes)> pump;
    std::function<void(const QString& line)> progress;
    // A search step's flags, for the flags box and the wake-up reason circle.
    std::function<void(const QString& flags)> showStepFlags;
    // Both checks passed: the earlier result boxes no longer hold.
    std::function<void()> clearResults;
};

struct CalibrationResult {
    enum class End { Complete, NoDetectionAtMin, DetectionAtMax, ReadProblem, Abandoned };
    End end = End::Abandoned;
    std::vector<std::uint8_t> searchIndexes;  // the DacDataH index of each search step
    // When Complete: the result labels (indexes) and boxes (DAC bytes).
    QString dacDataLCaption;
    QString dacDataHCaption;
    QString dacDataLBox;
    QString dacDataHBox;
};

CalibrationResult calibrate(const CalibrationHooks& hooks);

}  // namespace detection
