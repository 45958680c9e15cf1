#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <vector>

#include "core/command_controls.hpp"
#include "core/counted_loop.hpp"
#include "core/run_guard.hpp"
#include "core/tool_window.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_pane.hpp"
#include "widgets/log_view.hpp"

namespace testsupport {

// A tool window with one of each kind of long operation, built only from the shared run
// helpers: a block-range read (stoppable, counted-loop capable, controls locked, busy
// pointer) and a polling loop ended by its loop box. Tests act on it from inside its
// pumps through the hooks, the way a user's click arrives during a run.
class HostWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    enum class End { None, Completed, Stopped, Abandoned, Refused };

    explicit HostWindow(core::AppContext& ctx, core::WindowKind kind = core::WindowKind::Iso15693);

    void load() override;
    void unload() override;

    // The read button: the block range from `firstBlock` to `lastBlock`, repeated as the
    // counted loop says while AUTO LOOP is ticked.
    void readUser();
    // The polling loop: one exchange a cycle while its loop box stays ticked.
    void pollLoop();

    QPushButton* cmdReadUser;
    QPushButton* cmdOther;
    QPushButton* cmdStopCommand;
    QPushButton* cmdPoll;
    QCheckBox* chkUserLoop;
    widgets::HexEntryBox* txtLOOPnumber;
    QLabel* lblLOOPnumber;
    QLabel* lblLoopCount;
    QCheckBox* chkLoop;
    widgets::LogView* rtfLog;

    widgets::LogPane log;
    core::CommandControls controls;

    int firstBlock = 0;
    int lastBlock = 3;
    // Run after each block's exchange and log entry, before the pump.
    std::function<void(int block)> afterBlock;
    // Run after each polling cycle, before its pause.
    std::function<void(int cycle)> afterCycle;

    std::vector<int> blocksRead;
    std::vector<QString> counterAtPass;  // the pass counter as each pass began
    int cycles = 0;
    int unloads = 0;
    End lastEnd = End::None;

  private:
    End readBlockRange(core::RunScope& run);
};

}  // namespace testsupport
