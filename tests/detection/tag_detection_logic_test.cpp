#include "detection/tag_detection_logic.hpp"

#include <gtest/gtest.h>

#include <QStringList>
#include <cstring>

#include "detection/calibration.hpp"

namespace {

using detection::CalibrationResult;
using End = detection::CalibrationResult::End;
using Counts = std::array<std::optional<int>, detection::kProtocolCount>;

TEST(TagDetectionLogic, IdleFramesAndRegisterRequests) {
    const detection::IdleParameters design;
    EXPECT_EQ(detection::detectionIdleFrame(design, true, 0x00, 0xFF),
              "070E0B21007901180020606000FF3F01");
    EXPECT_EQ(detection::detectionIdleFrame(design, false, 0x98, 0xA8),
              "070E0A2100790118002060609"
              "8A83F01");
    EXPECT_EQ(detection::detectionIdleFrame({0x07, 0xFE, 0x00, 0x10, 0xFF}, true, 1, 2),
              "070E0B210079011800"
              "07FE00"
              "0102"
              "10FF");
    const struct {
        std::uint8_t index;
        const char* dacDataH;
    } indexes[] = {{0x00, "00"}, {0x01, "04"}, {0x20, "80"}, {0x3F, "FC"}, {0xFF, "FC"}};
    for (const auto& c : indexes) {
        EXPECT_EQ(detection::calibrationIdleFrame(design, c.index),
                  std::string("070E03A100F8011800206060"
                              "00") +
                      c.dacDataH + "3F01")
            << int(c.index);
    }
    EXPECT_EQ(detection::preIdleRegisterWrite(), "090460011800");
    EXPECT_EQ(detection::wakeUpRegisterRead(), "0803620100");
}

TEST(TagDetectionLogic, WakeUpFlagsAreTheAnswersFirstDataByte) {
    EXPECT_EQ(detection::wakeUpFlags("000102"), "02");
    EXPECT_EQ(detection::wakeUpFlags("0001"), "");
    EXPECT_EQ(detection::wakeUpFlags("00010"), "0");
    EXPECT_EQ(detection::wakeUpFlags("8200"), "");
}

// The 18th character decides; a shorter text never forces the read, so the three lengths
// around it and a "0" beside the deciding place pin the rule.
TEST(TagDetectionLogic, TheEighteenthCharacterForcesTheRegisterRead) {
    const struct {
        const char* idn;
        bool forced;
    } cases[] = {
        {"", false},
        {"0", false},
        {"IDN = TQ73RN-SIM-", false},    // 17 characters
        {"IDN = TQ73RN-SIM0", false},    // 17 characters, "0" last
        {"IDN = TQ73RN-SIM-0", true},    // 18 characters, "0" last
        {"IDN = TQ73RN-SIM-2", false},   // 18 characters, not "0"
        {"IDN = TQ73RN-SIM-0A", true},   // 19 characters
        {"IDN = TQ73RN-SIM-2A", false},  // 19 characters
        {"IDN = TQ73RN-SIM-20", false},  // "0" one place too late
        {"IDN = TQ73RN-SIM02A", false},  // "0" one place too early
        {"IDN = TQ73RN-SIM-O1", false},  // the letter O is no "0"
        {"IDN = TQ73RN-SIM-000000", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(detection::readRegisterForced(QString::fromLatin1(c.idn)), c.forced)
            << '"' << c.idn << "\" (" << std::strlen(c.idn) << " characters)";
    }
}

// Which probe counts are a tag and what each adds to the result caption, at the edges of
// every protocol's rule: exactly 1 for the one-tag probes, any count above 0 for the
// memory tags.
TEST(TagDetectionLogic, HitsAndTheirCaptionTextsPerProtocol) {
    using namespace detection;
    const struct {
        int protocol;
        int count;
        const char* text;  // empty: no hit
    } cases[] = {
        {Iso15693, 0, ""},
        {Iso15693, 1, "1 ISO15693 "},
        {Iso15693, 2, ""},
        {Iso15693, 99, ""},
        {Iso14443A, 0, ""},
        {Iso14443A, 1, "1 ISO14443-A "},
        {Iso14443A, 2, ""},
        {Iso14443B, 0, ""},
        {Iso14443B, 1, "1 ISO14443-B "},
        {Iso14443B, 2, ""},
        {Sola, -1, ""},
        {Sola, 0, ""},
        {Sola, 1, "1 ISO14443-B "},
        {Sola, 2, "2 ISO14443-B "},
        {Sola, 15, "15 ISO14443-B "},
        {Felica, 0, ""},
        {Felica, 1, "1 FELICA"},
        {Felica, 2, ""},
        {-1, 1, ""},
        {kProtocolCount, 1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hitText(c.protocol, c.count), QString::fromLatin1(c.text))
            << c.protocol << " count " << c.count;
        if (c.protocol >= 0 && c.protocol < kProtocolCount) {
            EXPECT_EQ(isHit(c.protocol, c.count), *c.text != '\0')
                << c.protocol << " count " << c.count;
        }
    }
    const char* captions[] = {"iso15693", "iso14443-A", "iso14443-B", "iso14443-B (SOLAxx)",
                              "iso18092"};
    for (int p = 0; p < kProtocolCount; ++p) {
        EXPECT_EQ(protocolCaption(p), QString::fromLatin1(captions[p])) << p;
    }
    EXPECT_EQ(protocolCaption(-1), QString());
    EXPECT_EQ(protocolCaption(kProtocolCount), QString());
}

TEST(TagDetectionLogic, PassVerdicts) {
    const Counts none{};
    const Counts allFound{1, 1, 1, 1, 1};
    const Counts mixed{99, 0, 1, 2, 1};
    const Counts nothing{0, 0, 0, 0, 0};
    const struct {
        const char* what;
        const char* flags;
        int ticked;
        Counts counts;
        const char* caption;
        bool found;
    } cases[] = {
        {"tag, every protocol answers", "02", 5, allFound,
         "1 ISO15693 1 ISO14443-A 1 ISO14443-B 1 ISO14443-B 1 FELICA", true},
        {"CRC failure is no tag; REQB and two slots", "02", 5, mixed,
         "1 ISO14443-B 2 ISO14443-B 1 FELICA", true},
        {"tag, nobody answers", "02", 5, nothing, "", false},
        {"only ISO15693 probed, CRC failure", "02", 1, Counts{99, {}, {}, {}, {}}, "", false},
        {"no box ticked: the wake-up is the tag", "02", 0, none, "", true},
        {"no box at start, boxes ticked since", "02", 0, allFound, "", true},
        {"time-out", "01", 5, none, "", false},
        {"time-out, no box ticked", "01", 0, none, "", false},
        {"failed exchange", "", 0, none, "", false},
        {"no reason", "00", 5, none, "", false},
    };
    for (const auto& c : cases) {
        const auto v = detection::tagDetectionVerdict(c.flags, c.ticked, c.counts);
        EXPECT_EQ(v.caption, c.caption) << c.what;
        EXPECT_EQ(v.found, c.found) << c.what;
    }
}

// A detector that sees the tag up to DAC index `threshold`, and the calibration's log.
struct Bench {
    int threshold = 40;
    int failAtMeasure = -1;  // that measure answers with no flags (an error answer)
    int measures = 0;
    int pumps = 0;
    int endAtPump = -1;
    QStringList lines;
    QStringList stepFlags;
    bool cleared = false;

    CalibrationResult run() {
        detection::CalibrationHooks h;
        h.measure = [this](std::uint8_t index) {
            const int n = measures++;
            if (n == failAtMeasure) return QString();
            return QString::fromLatin1(index <= threshold ? "02" : "01");
        };
        h.pump = [this](int passes) {
            pumps += passes;
            return pumps >= endAtPump && endAtPump >= 0;
        };
        h.progress = [this](const QString& l) { lines << l; };
        h.showStepFlags = [this](const QString& f) { stepFlags << f; };
        h.clearResults = [this] { cleared = true; };
        return detection::calibrate(h);
    }
};

std::vector<std::uint8_t> idx(std::initializer_list<int> v) {
    return std::vector<std::uint8_t>(v.begin(), v.end());
}

TEST(Calibration, HalvingSearchOverTheDetectorsThreshold) {
    const struct {
        int threshold;
        std::vector<std::uint8_t> steps;
        const char* low;
        const char* high;
        const char* lowBox;
        const char* highBox;
    } cases[] = {
        {40, idx({0x1F, 0x2F, 0x27, 0x2B, 0x29, 0x28}), "DacDataL = 0x26", "DacDataH = 0x2A", "98",
         "A8"},
        {0, idx({0x1F, 0x0F, 0x07, 0x03, 0x01, 0x00}), "DacDataL = 0x00", "DacDataH = 0x02", "00",
         "08"},
        {3, idx({0x1F, 0x0F, 0x07, 0x03, 0x05, 0x04}), "DacDataL = 0x00", "DacDataH = 0x05", "00",
         "14"},
        {4, idx({0x1F, 0x0F, 0x07, 0x03, 0x05, 0x04}), "DacDataL = 0x02", "DacDataH = 0x06", "08",
         "18"},
        {61, idx({0x1F, 0x2F, 0x37, 0x3B, 0x3D, 0x3E}), "DacDataL = 0x3B", "DacDataH = 0x3F", "EC",
         "FC"},
        {62, idx({0x1F, 0x2F, 0x37, 0x3B, 0x3D, 0x3E}), "DacDataL = 0x3C", "DacDataH = 0xFC", "F0",
         "FC"},
    };
    for (const auto& c : cases) {
        Bench b;
        b.threshold = c.threshold;
        const CalibrationResult r = b.run();
        EXPECT_EQ(r.end, End::Complete) << c.threshold;
        EXPECT_EQ(r.searchIndexes, c.steps) << c.threshold;
        EXPECT_EQ(r.dacDataLCaption, c.low) << c.threshold;
        EXPECT_EQ(r.dacDataHCaption, c.high) << c.threshold;
        EXPECT_EQ(r.dacDataLBox, c.lowBox) << c.threshold;
        EXPECT_EQ(r.dacDataHBox, c.highBox) << c.threshold;
        EXPECT_EQ(b.measures, 8) << c.threshold;
        EXPECT_TRUE(b.cleared);
        EXPECT_EQ(b.pumps, 2 + 1 + 6) << "two after step 1, one after step 2, one a search step";
    }
}

TEST(Calibration, ProgressLinesOfACompleteRun) {
    Bench b;
    b.run();
    EXPECT_EQ(b.lines, (QStringList{
                           "-> 1st step : VERIFY detection with DacDataH=0x00 (min value)",
                           "-> 2nd step : VERIFY no detection with DacDataH=0xFC (max value)",
                           "-> 3rd step : Calibration with DacDataH=0x1F",
                           "-> 4th step : Calibration with DacDataH=0x2F",
                           "-> 5th step : Calibration with DacDataH=0x27",
                           "-> 6th step : Calibration with DacDataH=0x2B",
                           "-> 7th step : Calibration with DacDataH=0x29",
                           "-> 8th step : Calibration with DacDataH=0x28",
                           " ---> Calibration result : DacDataL = 0x26 / DacDataH = 0x2A\r\n",
                       }));
    EXPECT_EQ(b.stepFlags, (QStringList{"02", "01", "02", "01", "01", "02"}));
}

TEST(Calibration, ChecksAndFailedStepsStopWithTheirLine) {
    const struct {
        const char* what;
        int threshold;
        int failAt;
        End end;
        int measures;
        const char* lastLine;
        bool cleared;
    } cases[] = {
        {"no detection at 00", -1, -1, End::NoDetectionAtMin, 1,
         "-> Calibration process stopped : no detection observed with DacDataH=0x00", false},
        {"detection at FC", 0xFF, -1, End::DetectionAtMax, 2,
         "-> Calibration process stopped : detection observed with DacDataH=0xFC", false},
        {"no flags at step 1", 40, 0, End::ReadProblem, 1,
         "-> Calibration process stopped : read register value problem", false},
        {"no flags at step 2", 40, 1, End::ReadProblem, 2,
         "-> Calibration process stopped : read register value problem", false},
        {"no flags at step 5", 40, 4, End::ReadProblem, 5,
         "-> Calibration process stopped : read register value problem", true},
    };
    for (const auto& c : cases) {
        Bench b;
        b.threshold = c.threshold;
        b.failAtMeasure = c.failAt;
        const CalibrationResult r = b.run();
        EXPECT_EQ(r.end, c.end) << c.what;
        EXPECT_EQ(b.measures, c.measures) << c.what;
        EXPECT_EQ(b.lines.last(), c.lastLine) << c.what;
        EXPECT_EQ(b.cleared, c.cleared) << c.what;
        EXPECT_TRUE(r.dacDataLBox.isEmpty()) << c.what;
    }
    Bench failing;
    failing.failAtMeasure = 4;
    failing.run();
    EXPECT_EQ(failing.stepFlags.last(), "") << "the failed step's flags are shown (red circle)";
}

TEST(Calibration, EndsAtThePumpWhereItsWindowWentAway) {
    Bench b;
    b.endAtPump = 3;  // the pass after step 2
    const CalibrationResult r = b.run();
    EXPECT_EQ(r.end, End::Abandoned);
    EXPECT_EQ(b.measures, 2);
    EXPECT_FALSE(b.cleared);
}

}  // namespace
