#pragma once

#include <QString>
#include <functional>
#include <string>

#include "console/answer_decoder.hpp"
#include "console/command_list.hpp"
#include "core/tool_window.hpp"
#include "reader/reader_library.hpp"
#include "widgets/log_pane.hpp"

class QComboBox;
class QLineEdit;

namespace core {
struct BoardCall;
}
namespace widgets {
class ExchangeRow;
}

namespace console {

class GenericPanel;
class IdlePanel;
class ProtocolSelectModel;
class ProtocolSelectPanel;

inline constexpr char kConsoleCaption[] = "   TQ73RN user interface";

// A Send clicked during another Send's pause runs inside that pause, and so on: a user
// clicking fast would nest Sends until the stack ran out. A click during the pause of
// the Send this deep is dropped, as clicks on the other controls are.
inline constexpr int kMaxNestedSends = 8;

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
    const ProtocolSelectModel& protocolSelect() const;
    const QString& savedArcBValue() const { return state_.SavedArcBValue; }

  private:
    class PauseInputFilter;
    struct State {
        QString PreviousCommandText;
        SavedCommandFrames SavedFrames;  // the boxes last entered, per generic command
        QString SavedArcBValue;
    };
    // One transceiver exchange as every Send does it.
    struct Exchange {
        reader::LibraryStatus status = 0;
        std::string answer;
        bool hadNul = false;
    };
    using Explain = std::function<ExplainLines(const std::string& answer)>;

    // The command list.
    void ShowCommandPanel();
    void saveShownCommand();

    // Handlers.
    void sendGeneric();
    void sendProtocolSelect();
    void sendIdle();
    void genericDataLeft();
    void boardCallClicked(const core::BoardCall& call, QLineEdit* answerBox);

    // The path the three Sends share: show the request, exchange, show and explain the
    // answer, log it. A frame with a box named in `refusedBox` is not sent: the answer box
    // and the log say why.
    void sendFrame(widgets::ExchangeRow& row, const std::string& request, const QString& refusedBox,
                   FailureText failure, const Explain& explain);
    // The focused entry box's leave rule, run before a Send acts.
    void commitFocusedBox();
    // Pause, then the call under the reconnect rule. False when the window went away
    // during the pause.
    bool exchange(const std::string& request, Exchange& out);

    State state_;
    widgets::LogPane log_;
    int pauseDepth_ = 0;

    QComboBox* commandList_ = nullptr;
    widgets::LogView* logBox_ = nullptr;
    GenericPanel* generic_ = nullptr;
    ProtocolSelectPanel* protocol_ = nullptr;
    IdlePanel* idle_ = nullptr;
};

}  // namespace console
