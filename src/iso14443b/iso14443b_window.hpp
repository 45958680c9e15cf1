#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "core/command_controls.hpp"
#include "core/tool_window.hpp"
#include "iso14443b/memory_tag_panel.hpp"
#include "iso14443b/tag_exchange.hpp"
#include "reader/reader_library.hpp"
#include "widgets/log_pane.hpp"

class QLabel;

namespace core {
class RunScope;
}
namespace widgets {
class MemoryView;
class PageWritePanel;
struct BlockRange;
}  // namespace widgets

namespace iso14443b {

class AnticollisionPanel;
class AnyFrameRow;
class BlockRangePanel;
class ReqbPanel;

inline constexpr char kIso14443bGenericReference[] = "ISO14443-B";

// The tool window of ISO14443-B cards and of the SOLA memory tags. The product chosen
// decides its layout once, at load: REQB, WUPB and ATTRIB for any card ("ISO14443-B"),
// or the memory tags' commands, their 16-slot anticollision and the memory view.
class Iso14443bWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit Iso14443bWindow(core::AppContext& ctx, QWidget* parent = nullptr);
    ~Iso14443bWindow() override;

    void load() override;
    void unload() override;
    QSize sizeHint() const override;

    // The window's board reconnect: 0, or 5 when the board cannot be reached.
    reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso14443B();

    bool genericLayout() const { return generic_; }
    const QString& windowLogText() const { return log_.text(); }

    // Button handlers, public so that a test or a benchmark drives them as a click does.
    void reqbClicked(bool wakeUp);
    void attribClicked();
    void memoryTagCommand(MemoryTagPanel::Command command);
    void anticollisionClicked();
    void sendFrameClicked();
    void readClicked();
    void writeSetUpClicked();
    void writeClicked();
    void cancelClicked();

    // How a block-range read ended.
    enum class ReadEnd { Completed, Stopped, Abandoned };
    // READ BLOCK for every block of the range into `ReadViewLines`, one line a block.
    ReadEnd ReadBlockRange(core::RunScope& run, const widgets::BlockRange& range,
                           int bytesPerBlock);
    // WRITE BLOCK of one block, its result line appended to `ReadViewLines`. The tag
    // does not answer a write: the block is then read back to tell a good write from a
    // lost one.
    void WriteBlock(std::int32_t address, const QString& data);

  private:
    void build();
    void applyLayout();
    TagExchangeTarget exchangeTarget();
    TagAnswer exchange(const std::string& request, const QString& title);
    // One pass of the memory tags' anticollision. False when the window went away.
    bool anticollisionPass(core::RunScope& run);

    widgets::LogPane log_;
    core::CommandControls commands_;
    bool generic_ = false;
    bool pollingRuns_ = false;
    bool anticollisionRuns_ = false;

    QLabel* title_ = nullptr;
    ReqbPanel* reqb_ = nullptr;
    MemoryTagPanel* memoryTags_ = nullptr;
    AnticollisionPanel* anticollision_ = nullptr;
    BlockRangePanel* blockRange_ = nullptr;
    widgets::MemoryView* view_ = nullptr;
    widgets::PageWritePanel* pageWrite_ = nullptr;
    AnyFrameRow* anyFrame_ = nullptr;
    widgets::LogView* logBox_ = nullptr;
};

}  // namespace iso14443b
