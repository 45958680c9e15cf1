#pragma once

#include <array>
#include <initializer_list>
#include <memory>
#include <optional>

#include "core/command_controls.hpp"
#include "core/tool_window.hpp"
#include "detection/protocols.hpp"
#include "detection/results_panel.hpp"
#include "detection/tag_detection_logic.hpp"
#include "reader/reader_library.hpp"
#include "widgets/log_pane.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace core {
class RunScope;
}

namespace widgets {
class HexEntryBox;
class WindowBuilder;
}  // namespace widgets

namespace detection {

class Indicator;

inline constexpr char kTagDetectionCaption[] = "   Tag Detection  user interface  ";

// The tag detection window: calibrates the transceiver's low-power tag detector and runs
// detections that sleep until the detector wakes the transceiver, then identify the tag
// with the probes of the ticked protocols, once or in a loop.
class TagDetectionWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit TagDetectionWindow(core::AppContext& ctx, QWidget* parent = nullptr);
    ~TagDetectionWindow() override;

    void load() override;
    void unload() override;
    QSize sizeHint() const override;

    const QString& logText() const { return log_.text(); }
    ResultsPanel& results() { return *results_; }
    bool loopForever() const { return state_.LoopForever; }
    bool loopUntilTag() const { return state_.LoopUntilTag; }

    // The click handlers, by their controls' names. The probe buttons are hidden; their
    // handlers serve the tests.
    void cmd_TagDetection_calibration_Click();
    void cmd_TagDetection_Detection_Click();
    void probeButtonClicked(ProbeButton which);

  private:
    // The boxes whose values enter the idle commands, in the order they are checked.
    enum Box { WuPeriod, OscStart, DacStart, SwingsCnt, MaxSleep, DacDataL, DacDataH, BoxCount };

    struct State {
        bool LoopForever = false;
        bool LoopUntilTag = false;
    };

    void buildCalibrationGroup(const widgets::WindowBuilder& b, QWidget* parent);
    void buildIdleParameters(const widgets::WindowBuilder& b, QWidget* parent);
    void buildDetectionGroup(const widgets::WindowBuilder& b, QWidget* parent);

    // The box's value; nothing when it is empty or holds text that is not hex.
    std::optional<std::uint8_t> boxValue(Box box) const;
    // Every box of `boxes` holds a value; otherwise the user is told which does not.
    bool boxesHoldValues(std::initializer_list<Box> boxes);
    // The value a command sends: the box's, or the one last sent when the box has none.
    std::uint8_t sentValue(Box box);
    IdleParameters idleParameters();
    void stepBox(Box box, int delta);
    void loopBoxToggled(bool loopBox, bool checked);

    // The raw exchanges of the window: request "01 " and the frame, the plain reconnect
    // after a 5 without a repeat, an untitled log entry. The answer text.
    QString rawExchange(const std::string& frame);
    QString SendPreIdleRegisterWrite() { return rawExchange(preIdleRegisterWrite()); }
    QString SendIdleDetection(bool wuCycleEnd, std::uint8_t dacDataL, std::uint8_t dacDataH);
    QString SendIdleCalibration(std::uint8_t dacDataHIndex);
    QString ReadWakeUpRegister() { return rawExchange(wakeUpRegisterRead()); }

    void showCalibrationFlags(const QString& flags);

    State state_;
    widgets::LogPane log_;
    core::CommandControls controls_;
    std::unique_ptr<ResultsPanel> results_;
    std::array<widgets::HexEntryBox*, BoxCount> boxes_{};
    std::array<const char*, BoxCount> boxLabels_{};
    std::array<std::uint8_t, BoxCount> lastSent_{};
    widgets::HexEntryBox* txtInitIdx_ = nullptr;
    QCheckBox* chkWithReadRg_ = nullptr;
    std::array<QCheckBox*, kProtocolCount> chkTagDetSelectProtocols_{};
    QCheckBox* chkLoop_ = nullptr;
    QCheckBox* chkLoopWhileDetection_ = nullptr;
    std::array<QRadioButton*, 2> potWuCycleEnd_{};
    QPushButton* cmdCalibration_ = nullptr;
    QPushButton* cmdDetection_ = nullptr;
    QLabel* lblCalibrationAnswer_ = nullptr;
    QLineEdit* txtCalibrWuFlags_ = nullptr;
    Indicator* shapCalibrationWuReason_ = nullptr;
    QLabel* lblDacDataLResult_ = nullptr;
    QLabel* lblDacDataHResult_ = nullptr;
    QLineEdit* txtDacDataLResult_ = nullptr;
    QLineEdit* txtDacDataHResult_ = nullptr;
    QLineEdit* txtDetectionWuFlags_ = nullptr;
    widgets::LogView* rtfTagDetectionLogEdit_ = nullptr;
};

}  // namespace detection
