#pragma once

#include <QString>
#include <array>
#include <map>
#include <string>

#include "console/command_list.hpp"
#include "console/protocol_select_model.hpp"
#include "core/tool_window.hpp"
#include "reader/reader_library.hpp"
#include "widgets/log_pane.hpp"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace widgets {
class HexEntryBox;
}

namespace console {

inline constexpr char kConsoleCaption[] = "   TQ73RN user interface";

// The transceiver command console: composes any transceiver command byte by byte in one
// of three panels, sends it through the raw library call and explains the answer.
class ConsoleWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit ConsoleWindow(core::AppContext& ctx, QWidget* parent = nullptr);
    ~ConsoleWindow() override;

    void load() override;
    void unload() override;
    QSize sizeHint() const override;

    // The console's plain reconnect: no protocol is set up again. 0 or 5.
    reader::LibraryStatus DEMO_TQ73RN_A_reconnect_UserInterface();

    const QString& consoleLogText() const { return log_.text(); }
    const ProtocolSelectModel& protocolSelect() const { return protocol_; }
    const QString& savedArcBValue() const { return SavedArcBValue; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class PauseInputFilter;
    struct Lines {
        QFrame* vertical = nullptr;
        QFrame* horizontal = nullptr;
    };

    // Building (one function per panel).
    void buildGenericPanel(QWidget* parent);
    void buildProtocolPanel(QWidget* parent);
    void buildIdlePanel(QWidget* parent);
    QComboBox* buildParamList(QWidget* parent, const char* name, int top, int width);

    // The command list.
    void ShowCommandPanel();
    void saveShownCommand();
    void showGenericCommand(const std::string& code);

    // Generic panel.
    void readRegisterChosen(int index);
    void writeRegisterChosen(int index);
    void dataBoxLeft();
    int writeRegisterOption() const;

    // Protocol Select panel: every action goes to the model, then the widgets follow it.
    void protocolChosen(int option);
    void paramListChosen(const std::string& name, int index);
    void syncProtocolPanel();
    void layoutByte0Fields(int option);

    // Idle panel.
    void idlePresetChosen(int index);

    // Sends and board buttons.
    void sendGeneric();
    void sendProtocolSelect();
    void sendIdle();
    enum class BoardButton { Echo, IrqPulse, NssPulse };
    void boardButtonClicked(BoardButton button);

    // The focused entry box's leave rule, run before a Send acts.
    void commitFocusedBox();
    // One transceiver exchange as every Send does it: pause, call under the reconnect
    // rule. False when the window went away during the pause.
    struct Exchange {
        reader::LibraryStatus status = 0;
        std::string answer;
        bool hadNul = false;
    };
    bool exchange(const std::string& request, Exchange& out);
    void logKvCmd(const std::string& request, const QString& answerBox);

    // State kept by the window.
    QString PreviousCommandText;
    SavedCommandFrames savedFrames_;
    QString SavedArcBValue;
    ProtocolSelectModel protocol_;
    widgets::LogPane log_;
    bool syncing_ = false;
    int pauseDepth_ = 0;

    // Window-level controls.
    QComboBox* commandList_ = nullptr;
    QTextEdit* logBox_ = nullptr;

    // Generic panel.
    QGroupBox* fraGeneric_ = nullptr;
    QLabel* genericTitle_ = nullptr;
    std::array<widgets::HexEntryBox*, 5> xxFrame_{};
    std::array<QLabel*, 5> xxLabel_{};
    std::array<Lines, 5> xxLines_{};
    widgets::HexEntryBox* xxData_ = nullptr;
    QLabel* dataLabel09_ = nullptr;
    QFrame* dataLine09_ = nullptr;
    QPushButton* sendXX_ = nullptr;
    QLineEdit* xxRequest_ = nullptr;
    QLineEdit* xxAnswer_ = nullptr;
    std::array<QLineEdit*, 5> xxExplain_{};
    QGroupBox* fraCmd08_ = nullptr;
    QGroupBox* fraCmd09_ = nullptr;
    QGroupBox* fraBaud_ = nullptr;
    QLabel* uartNote_ = nullptr;
    std::array<QRadioButton*, 2> optRead_{};
    std::array<QRadioButton*, 4> optWrite_{};

    // Protocol Select panel.
    QGroupBox* fraProtocol_ = nullptr;
    std::array<QRadioButton*, kProtocolOptionCount> optProtocol_{};
    QButtonGroup* protocolGroup_ = nullptr;
    QGroupBox* fraByte0_ = nullptr;
    QGroupBox* fraByte1_ = nullptr;
    QGroupBox* fraByte12_ = nullptr;
    QLabel* byte0Title_ = nullptr;
    QLabel* byte12Title_ = nullptr;
    std::array<widgets::HexEntryBox*, 8> bits0_{};
    std::array<QLineEdit*, 8> bits1_{};
    std::array<QFrame*, 8> bitLines_{};
    std::array<QFrame*, 3> fieldVLines_{};
    std::array<QFrame*, 3> fieldHLines_{};
    std::array<QLabel*, 2> rfuLabels_{};
    widgets::HexEntryBox* byte0Box_ = nullptr;
    widgets::HexEntryBox* byte1Box_ = nullptr;
    std::array<widgets::HexEntryBox*, 2> byte12Boxes_{};
    std::array<QLabel*, 2> byte12Labels_{};
    QCheckBox* slotCounterCheck_ = nullptr;
    QCheckBox* byte12Check_ = nullptr;
    std::map<std::string, QComboBox*> paramLists_;
    std::array<widgets::HexEntryBox*, 6> frame02_{};
    QPushButton* send02_ = nullptr;
    QLabel* request02Label_ = nullptr;
    QLabel* answer02Label_ = nullptr;
    QLineEdit* request02_ = nullptr;
    QLineEdit* answer02_ = nullptr;
    std::array<QLineEdit*, 3> explain02_{};

    // Idle panel.
    QGroupBox* fraIdle_ = nullptr;
    std::array<widgets::HexEntryBox*, 16> frame07_{};
    std::array<QRadioButton*, 6> optIdle_{};
    QPushButton* send07_ = nullptr;
    QLineEdit* request07_ = nullptr;
    QLineEdit* answer07_ = nullptr;
    std::array<QLineEdit*, 2> explain07_{};
    QLineEdit* echoAnswer_ = nullptr;
    QLineEdit* irqAnswer_ = nullptr;
    QLineEdit* nssAnswer_ = nullptr;
};

}  // namespace console
