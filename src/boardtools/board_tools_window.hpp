#pragma once

#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "core/tool_window.hpp"
#include "reader/reader_library.hpp"
#include "widgets/log_pane.hpp"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace widgets {
class HexEntryBox;
}

namespace boardtools {

inline constexpr char kBoardToolsCaption[] = "   DEMO-TQ73RN-A tool box";

// The tool box: one button per board function of the reader library with its raw
// answer beside it, a raw transceiver command, and the ISO14443-A modulation depth and
// receiver gain that every later ISO14443-A set-up sends.
class BoardToolsWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit BoardToolsWindow(core::AppContext& ctx, QWidget* parent = nullptr);
    ~BoardToolsWindow() override;

    void load() override;
    QSize sizeHint() const override;

    // The window's reconnect: the plain one, no protocol is set up again. 0 or 5.
    reader::LibraryStatus DEMO_TQ73RN_A_reconnect_Demokit_tools();

    const QString& windowLogText() const { return log_.text(); }

  private:
    enum class Tool {
        McuRevision,
        DllRevision,
        FieldOff,
        Echo,
        UsbConnect,
        UsbHandleCheck,
        Idn,
        ResetSpi,
        IrqPulse,
        PollingReading,
        NssPulse,
        PinState,
    };
    struct ToolSpec;
    static const ToolSpec& specOf(Tool tool);

    void build();
    void placeRows(int lowerRowsShift);
    QPushButton* toolButton(QWidget* parent, Tool tool);

    void toolClicked(Tool tool);
    void gainChosen();
    void changeRegisterValue();
    void sendAnyKvCmd();
    void showPinState(int option);

    // Twips to pixels at this screen's resolution.
    int px(int twips) const;

    widgets::LogPane log_;
    std::array<QPushButton*, 12> buttons_{};
    std::array<QLineEdit*, 12> answers_{};
    QGroupBox* fraTools_ = nullptr;
    QGroupBox* fraPinState_ = nullptr;
    QGroupBox* fraRegister_ = nullptr;
    QGroupBox* fraLog_ = nullptr;
    QLineEdit* txtMCUrevision_ = nullptr;
    QLineEdit* txtDLLrevision_ = nullptr;
    QLineEdit* txtIDn_ = nullptr;
    std::array<QRadioButton*, 3> optPinState_{};
    QButtonGroup* pinGroup_ = nullptr;
    QComboBox* cboDepth_ = nullptr;
    QComboBox* cboGain_ = nullptr;
    QLineEdit* txtGain_ = nullptr;
    QLineEdit* txtRegisterAnswer_ = nullptr;
    QPushButton* cmdRegister_ = nullptr;
    QPushButton* cmdAnyKvCmd_ = nullptr;
    widgets::HexEntryBox* txtAnyKvCmdRequest_ = nullptr;
    QLineEdit* txtAnyKvCmdAnswer_ = nullptr;
    QTextEdit* logBox_ = nullptr;
    // The pin-state group and what lies below it, with their tops in a revision-5 layout.
    std::vector<std::pair<QWidget*, int>> lowerRows_;
};

}  // namespace boardtools
