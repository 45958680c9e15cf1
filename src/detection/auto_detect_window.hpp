#pragma once

#include <array>
#include <memory>

#include "core/command_controls.hpp"
#include "core/tool_window.hpp"
#include "detection/protocols.hpp"
#include "detection/results_panel.hpp"
#include "widgets/log_pane.hpp"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace detection {

inline constexpr char kAutoDetectCaption[] = "   Auto Detect Tool  user interface  ";

// The auto-detection window: probes the ticked protocols for tags, once or in a loop,
// and runs one probe by hand from its probe buttons.
class AutoDetectWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit AutoDetectWindow(core::AppContext& ctx, QWidget* parent = nullptr);
    ~AutoDetectWindow() override;

    void load() override;
    void unload() override;
    QSize sizeHint() const override;

    const QString& logText() const { return log_.text(); }
    ResultsPanel& results() { return *results_; }

    // The click handlers, by their controls' names.
    void cmd_Auto_Detection_Process_Click();
    void probeButtonClicked(ProbeButton which);

  private:
    AutoDetectLoopMode loopMode() const;
    // Launch is offered exactly while a protocol is ticked.
    void protocolBoxClicked();
    void stopLoopClicked();

    widgets::LogPane log_;
    core::CommandControls controls_;
    std::unique_ptr<ResultsPanel> results_;
    std::array<QCheckBox*, kProtocolCount> chkTagDetSelectProtocols_{};
    std::array<QRadioButton*, 4> optLoopAutoDetectionTool_{};
    QButtonGroup* loopGroup_ = nullptr;
    QGroupBox* fraOptLoop_ = nullptr;
    QPushButton* cmdAutoDetectionProcess_ = nullptr;
    QPushButton* cmdStopLoop_ = nullptr;
    QPushButton* cmdSaveLog_ = nullptr;
    QPushButton* cmdClearLog_ = nullptr;
    widgets::LogView* rtfAutoDetectLogEdit_ = nullptr;
};

}  // namespace detection
