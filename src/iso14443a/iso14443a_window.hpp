#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/command_controls.hpp"
#include "core/protocol_setup.hpp"
#include "core/tool_window.hpp"
#include "reader/reader_library.hpp"
#include "widgets/log_pane.hpp"
#include "widgets/tag_exchange.hpp"

class QLabel;
class QLineEdit;
class QPushButton;

namespace core {
class RunScope;
}

namespace widgets {
class HexEntryBox;
class WindowBuilder;
}  // namespace widgets

namespace iso14443a {

class AnalysisPanel;
class AnticollisionPanel;
class FlagEditor;
class MemoryPanel;
enum class PageWrite : std::int16_t;

inline constexpr char kIso14443aCaption[] = "   ISO14443-A  user interface  ";
inline constexpr char kIso14443aTitle[] = "ISO14443-A Cards user interface";
inline constexpr char kTopazTitle[] = "TOPAZ (ISO14443-A) user interface";

// The ISO14443-A tag window. Its product decides its mode for its whole life: TOPAZ tags
// for the product "TOPAZ", type A tags for any other. It sets the transceiver up when
// it opens, wakes, resolves and selects type A tags one cascade level at a time or by
// the automatic process, drives TOPAZ tags, and explains every received frame.
class Iso14443aWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit Iso14443aWindow(core::AppContext& ctx, QWidget* parent = nullptr);
    ~Iso14443aWindow() override;

    void load() override;
    QSize sizeHint() const override;

    // The board reconnects of the window's two modes: 0, or 5 when the board is gone.
    reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso14443A();
    reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso14443A_TOPAZ();

    const QString& windowLogText() const { return log_.text(); }

  private:
    using Exchanged = widgets::TagAnswer;

    // The mode is read from the product each time, as it was chosen for this window.
    bool topazMode() const;
    core::BoardSetup modeSetup() const;

    void build();
    void buildCommands(const widgets::WindowBuilder& b);
    void buildFrameRows(const widgets::WindowBuilder& b);
    void applyMode(bool topaz);

    // One tag exchange as every command makes it (widgets/tag_exchange.hpp): shown in
    // the request and answer boxes and logged under `title`.
    Exchanged ExchangeFrame(const std::string& request, core::BoardSetup reconnect,
                            const QString& title);
    widgets::TagExchangeTarget exchangeTarget(core::BoardSetup reconnect);
    // The flag shown, the previous answer and its analysis cleared.
    void startCommand(std::string_view flag);
    // The analysis of a received frame after a call that succeeded; nothing otherwise.
    void ShowAnswerAnalysis(const Exchanged& e);
    void ShowTopazAnswerAnalysis(const Exchanged& e);

    // Handlers.
    void frameCommandClicked(std::string_view flag, const std::string& request,
                             const QString& title);
    void anticolClicked(int index);
    void selectClicked(int index);
    void sendFrameClicked();
    void topazReqaClicked();
    void topazRidClicked();
    void clearTopazIdentification();
    void anticollisionProcessClicked();

    // Memory (memory_commands.cpp).
    void EnableCommandControls(bool enabled);
    // The page (or TOPAZ byte) address of the address boxes, checked as every memory
    // command checks it; nothing, after its message, when it is not usable.
    std::optional<std::uint8_t> typedAddress();
    void readClicked();
    // The readers return -1 when STOP or the window's closing ended them, else what they
    // added to the read view's lines.
    int ReadBlockRange(core::RunScope& run, std::uint8_t from, int count, int pageSize);
    int TopazReadBytes(core::RunScope& run, std::uint8_t from, int count);
    void writeSetupClicked(PageWrite write);
    void writeClicked();
    void cancelClicked();
    // One write at `address` with the panel's data; its result line goes to the view's
    // lines. False when the window went away in the pause after it.
    bool WritePage(core::RunScope& run, std::uint8_t address, const QString& data);
    bool CompatibilityWrite(core::RunScope& run, std::uint8_t address, const QString& data);
    bool TopazWrite(core::RunScope& run, PageWrite write, std::uint8_t address,
                    const QString& data);

    widgets::LogPane log_;
    core::CommandControls controls_;
    bool processRunning_ = false;

    QLabel* title_ = nullptr;
    QPushButton* reqa_ = nullptr;
    QPushButton* wupa_ = nullptr;
    QPushButton* halt_ = nullptr;
    std::array<QPushButton*, 3> anticol_{};
    std::array<QPushButton*, 3> select_{};
    QLabel* dataForSelectLabel_ = nullptr;
    QLineEdit* dataForSelect_ = nullptr;
    QLineEdit* anticolArg_ = nullptr;
    QPushButton* topazReqa_ = nullptr;
    QPushButton* topazRid_ = nullptr;
    std::array<QLabel*, 3> topazLabels_{};
    QLineEdit* hr0_ = nullptr;
    QLineEdit* hr1_ = nullptr;
    widgets::HexEntryBox* topazUid_ = nullptr;

    FlagEditor* flagEditor_ = nullptr;
    AnalysisPanel* analysis_ = nullptr;
    AnticollisionPanel* anticollision_ = nullptr;
    QLineEdit* request_ = nullptr;
    QLineEdit* answer_ = nullptr;
    widgets::HexEntryBox* anyFrame_ = nullptr;
    QPushButton* sendFrame_ = nullptr;
    MemoryPanel* memory_ = nullptr;

    widgets::LogView* logBox_ = nullptr;
    QPushButton* saveLog_ = nullptr;
    QPushButton* clearLog_ = nullptr;
};

}  // namespace iso14443a
