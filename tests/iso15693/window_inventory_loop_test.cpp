#include <QCheckBox>
#include <QPushButton>
#include <string>
#include <vector>

#include "window_fixture.hpp"

namespace iso15693test {
namespace {

// "Inventory loop" and the commands that run beside it, on the simulated board's default
// antenna. Every test bounds its passes: a loop that fails to end fails the test at once.
class InventoryLoopTest : public SimWindowTest {
  protected:
    QCheckBox* loopBox() { return get<QCheckBox>(QStringLiteral("chkLoop")); }
    // Some of the controls an inventory loop switches off, from both pages and the side.
    QList<QWidget*> lockedByALoop() {
        QList<QWidget*> controls;
        for (const char* name : {"tabStripchoice", "cmdInventory", "cmdInventoryInitiated",
                                 "cmdFastInventoryInitiated", "FraInventoryOptions",
                                 "cmd_ISO15693_SendFrame", "cmdReadUser", "frmWriteTime"}) {
            controls << get<QWidget>(QLatin1String(name));
        }
        return controls;
    }
    int enabledCount(const QList<QWidget*>& controls) {
        int n = 0;
        for (QWidget* c : controls) n += c->isEnabled();
        return n;
    }
};

// The initiated inventories do not look at "Inventory loop": each click is one request,
// and the window is the user's again at once.
TEST_F(InventoryLoopTest, InitiatedInventoriesRunOnceWhileTheLoopBoxIsTicked) {
    struct Case {
        const char* button;
        std::string request;
    };
    const Case cases[] = {{"cmdInventoryInitiated", "26D10200"},
                          {"cmdFastInventoryInitiated", "26C10200"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        open();
        forgetCalls();
        tick(QStringLiteral("chkLoop"));
        const QList<QWidget*> controls = lockedByALoop();
        testsupport::LoopBound bound(w, 4);
        hook.sendReceives = 0;
        // These commands let no events run, so the closing mark alone would not end a loop
        // of theirs: past the bound the box is unticked too.
        hook.afterSendReceive = [&](int) { withinBound(bound, loopBox()); };
        click(QLatin1String(c.button));
        EXPECT_EQ(sentToBoard(), std::vector<std::string>{c.request});
        EXPECT_EQ(enabledCount(controls), controls.size());
        EXPECT_TRUE(loopBox()->isChecked());

        // A later click is one more request, and an inventory loop still starts and ends.
        click(QLatin1String(c.button));
        EXPECT_EQ(sentToBoard(), (std::vector<std::string>{c.request, c.request}));
        hook.afterSendReceive = [&](int n) {
            if (withinBound(bound, loopBox()) && n == 4) loopBox()->setChecked(false);
        };
        click(QStringLiteral("cmdInventory"));
        hook.afterSendReceive = nullptr;
        EXPECT_EQ(sentToBoard().size(), 4u);
        EXPECT_EQ(sentToBoard().back(), "260100");
        EXPECT_EQ(enabledCount(controls), controls.size());
        EXPECT_FALSE(bound.tripped());
    }
}

// Anticollision clicked inside an inventory loop runs its passes within that loop, under
// the same flag; the controls stay off until the inventory loop itself has ended.
TEST_F(InventoryLoopTest, AnticollisionDuringAnInventoryLoopLeavesTheControlsToTheLoop) {
    open();
    tick(QStringLiteral("chkLoop"));
    const QList<QWidget*> controls = lockedByALoop();
    auto* anticollision = get<QPushButton>(QStringLiteral("cmdAntiCollisionIso15693"));
    testsupport::LoopBound bound(w, 20);
    std::vector<std::string> enabledSeen;  // where a locked control was found enabled
    auto check = [&](const std::string& where) {
        if (enabledCount(controls) != 0) enabledSeen.push_back(where);
    };
    // Past the bound the runs end as closing the window ends them, and the box is unticked.
    hook.afterSendReceive = [&](int n) {
        if (!withinBound(bound, loopBox())) return;
        check("inventory pass " + std::to_string(n));
        if (n == 2) {
            anticollision->click();
            check("after the anticollision");
            // Ticked again: the inventory loop goes on after the anticollision's passes.
            loopBox()->setChecked(true);
        }
        if (n == 4) loopBox()->setChecked(false);
    };
    hook.afterKvCmd = [&](int n) {
        if (!withinBound(bound, loopBox())) return;
        check("anticollision pass " + std::to_string(n));
        if (n == 3) loopBox()->setChecked(false);
    };
    click(QStringLiteral("cmdInventory"));
    hook.afterSendReceive = nullptr;
    hook.afterKvCmd = nullptr;
    EXPECT_EQ(enabledSeen, std::vector<std::string>{});
    EXPECT_EQ(hook.sendReceives, 4);
    EXPECT_EQ(hook.kvCmds, 3);
    EXPECT_FALSE(bound.tripped());
    // The loop over: the controls are back, and the window takes a new command.
    EXPECT_EQ(enabledCount(controls), controls.size());
    EXPECT_TRUE(anticollision->isEnabled());
    anticollision->click();
    EXPECT_EQ(hook.kvCmds, 4);
    EXPECT_EQ(enabledCount(controls), controls.size());
}

}  // namespace
}  // namespace iso15693test
