#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/command_controls.hpp"
#include "core/tool_window.hpp"
#include "iso15693/requests.hpp"
#include "iso15693/tag_link.hpp"
#include "reader/reader_library.hpp"
#include "widgets/log_pane.hpp"

class QLineEdit;
class QPushButton;
class QTabBar;

namespace core {
class RunScope;
}
namespace widgets {
class HexEntryBox;
class MemoryView;
class PageWritePanel;
struct BlockRange;
}  // namespace widgets

namespace iso15693 {

class DataRateFrame;
class InventoryPage;
class TagInfoFrame;
class UserModePage;

inline constexpr char kWindowCaption[] = "   ISO15693  user interface  ";

// What `PageWriteMode` holds in this window: the command the page-write panel runs.
enum PageWriteCommand : std::int16_t {
    kWriteSingleBlock = 0,
    kWriteAfi = 1,
    kWriteDsfid = 2,
    kWriteKill = 3,
    kKill = 4,
    kWriteSectorPassword = 5,
    kLockSectorPassword = 6,
    kPresentPassword = 7,
};

// Whether the Anticollision button fits the board's firmware: revision 1.4.1 or later,
// compared number by number; an empty or unreadable revision hides it.
bool anticollisionFirmware(const QString& mcuRevision);
// The digits of the block-address boxes for a memory of `memorySizeBytes` bytes.
int addressDigits(std::int32_t memorySizeBytes);

// The product layouts: which frames and buttons each ISO15693 product gets.
struct ProductLayout {
    bool kill = false;
    bool energyHarvesting = false;
    bool passwords = false;
    bool lockBlock = false;
    bool multipleReads = true;
    bool extensionOptionsShown = false;
    bool extensionFlag = false;  // "Extension Flag = 1" chosen
};
ProductLayout productLayout(const QString& reference);

// The ISO15693 tag window: inventories and chooses tags, runs the ISO/IEC 15693
// commands and the maker's custom ones on them, and reads and writes tag memory through
// the memory view and its page-write panel.
class Iso15693Window : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit Iso15693Window(core::AppContext& ctx, QWidget* parent = nullptr);
    ~Iso15693Window() override;

    void load() override;
    void unload() override;
    QSize sizeHint() const override;

    // The window's board reconnect: the ISO15693 set-up again, fast or normal.
    reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso15693(bool boolSpeed);

    const QString& logText() const { return log_.text(); }
    widgets::LogPane& logPane() { return log_; }
    bool inventoryLoopEnabled() const { return state_.InventoryLoopEnabled; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Window state named as the window's behaviour names it.
    struct State {
        bool InventoryLoopEnabled = false;
        int ModeTabIndex = 1;
        std::uint8_t Iso15693BaseFlags = 0;
    };

    void build();
    void wireInventoryPage();
    void wireUserModePage();
    void applyProductLayout();
    void EnableCommandControls(bool enabled) { controls_.EnableCommandControls(enabled); }
    void tabChosen(int index);
    void showPage(int index);

    // The options every request reads.
    CommandOptions commandOptions() const;
    Addressing addressing() const;
    InventoryOptions inventoryOptions() const;
    // The focused entry box's leave rule, applied before a button acts on the boxes.
    void commitFocusedBox();

    // Inventory page.
    // Refuses, by its caption, a box the inventory request would carry whose text is not
    // hex; true when one was refused and nothing is to be sent.
    bool inventoryBoxRefused();
    void cmdInventory_Click();
    void cmdAntiCollisionIso15693_Click();
    void cmdInventoryInitiated_Click();
    void cmdInitiate_Click();
    void cmdFastInitiate_Click();
    void cmdFastInventoryInitiated_Click();
    // The list after an INVENTORY or INITIATE type answer: its one tag, or why there is
    // none.
    void showSingleTag(const QString& caption, const Exchange& x);
    enum class StateCommand { Select, ResetToReady, StayQuiet };
    void runStateCommand(StateCommand command);
    void cmdGetSystemInfo_Click();
    void cmd_ISO15693_SendFrame_Click();
    void chkUserLoop_Click(bool ticked);
    void lstTransponderUID_Click(int row);
    void lblChoosenTag_Click();
    // Shows the short result of a command in the result label, when there is one.
    void showShortResult(const Exchange& x);

    // User Mode page: block reads and security status.
    void cmdReadUser_Click();
    void cmdFastReadSingleBlock_Click();
    void runMultipleRead(bool fast);
    void cmdGetMultipleBlockSecurityStatus_Click();
    void cmdStopCommand_Click();
    // The start of a run that shows its blocks in the view: the panel closed, the range
    // checked and rewritten, the view emptied; nothing (and the run's end) after a refused
    // address.
    std::optional<widgets::BlockRange> startViewRun(bool lockAddressBoxes);
    // Checks the two address boxes (one message at most); the range, or nothing.
    std::optional<widgets::BlockRange> checkedRange();
    void rewriteAddressBoxes(const widgets::BlockRange& range);
    void setAddressBoxesLocked(bool locked);
    // The end of a block run: the view enabled when it shows lines, or emptied and
    // disabled after a stop.
    void endViewRun(bool stopped);

    // Block procedures: each exchange adds its memory lines to `ReadViewLines`.
    // Negative when STOP ended the run (-1, or -99 for the fast read).
    int ReadSingleBlock(core::RunScope& run, const widgets::BlockRange& range, bool fast);
    void ReadMultipleBlock(std::int32_t first, int count, bool fast);
    void GetMultipleBlockSecurityStatus(std::int32_t first, int count);
    void WriteSingleBlock(std::int32_t block, const QString& data);
    void LockBlock(std::int32_t block);

    // Page-write panel.
    void setUpPageWrite(std::int16_t mode, const QString& writeCaption, int layoutBytes,
                        bool checkAddresses, bool hideView);
    void cmdWriteUser_Click();
    void cmdCancelWriteTest_Click();
    void cboPageSize_Click();
    int pageSize() const;
    // The byte count of Write for the current mode.
    int writeBytes() const;

    // Locks.
    enum class LockRun { Afi, Dsfid, Block };
    void runLock(LockRun which);
    void cmdLockKill_Click();

    // Kill, passwords and energy harvesting: one exchange each, the short result shown.
    void sendShortCommand(const std::string& request, const QString& title);
    void ehRead(bool checkEnable);
    void ehWrite(const QString& title, const std::function<std::string(const QString&)>& request,
                 widgets::HexEntryBox* box);

    State state_;
    widgets::LogPane log_;
    TagLink link_;
    core::CommandControls controls_;
    // Off besides the command controls while a block run lasts: both would interleave
    // their exchanges with the run's.
    QList<QWidget*> blockRunExtras_;
    bool anticollisionActive_ = false;

    QTabBar* tabStripchoice_ = nullptr;
    InventoryPage* inventory_ = nullptr;
    UserModePage* user_ = nullptr;
    DataRateFrame* dataRate_ = nullptr;
    TagInfoFrame* tagInfo_ = nullptr;
    widgets::MemoryView* lstReadView_ = nullptr;
    widgets::PageWritePanel* fraPageWrite_ = nullptr;
    QLineEdit* txtRequest_ = nullptr;
    QLineEdit* txtAnswer_ = nullptr;
    QLineEdit* txtFastAnswer_ = nullptr;
    widgets::LogView* logBox_ = nullptr;
};

}  // namespace iso15693
