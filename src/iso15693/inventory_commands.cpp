// The Inventory page: inventories and the board anticollision, the initiate commands,
// the choice of the addressed tag, the state commands under AUTO LOOP, system
// information and the raw frame console.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "core/app_context.hpp"
#include "core/busy_pointer.hpp"
#include "core/counted_loop.hpp"
#include "core/hex_checks.hpp"
#include "core/run_guard.hpp"
#include "iso15693/inventory_page.hpp"
#include "iso15693/iso15693_window.hpp"
#include "iso15693/side_frames.hpp"
#include "transceiver/frames.hpp"
#include "widgets/hex_entry_box.hpp"

namespace iso15693 {

namespace {

const QString kInventoryTitle = QStringLiteral("INVENTORY");
const QString kInventoryCaption = QStringLiteral("INVENTORY response");

std::string latin1(const QString& s) { return s.toLatin1().toStdString(); }

}  // namespace

void Iso15693Window::wireInventoryPage() {
    InventoryPage& p = *inventory_;
    connect(p.cmdInventory, &QPushButton::clicked, this, &Iso15693Window::cmdInventory_Click);
    connect(p.cmdAntiCollisionIso15693, &QPushButton::clicked, this,
            &Iso15693Window::cmdAntiCollisionIso15693_Click);
    connect(p.chkLoop, &QCheckBox::toggled, this,
            [this](bool ticked) { state_.InventoryLoopEnabled = ticked; });
    connect(p.cmdInventoryInitiated, &QPushButton::clicked, this,
            &Iso15693Window::cmdInventoryInitiated_Click);
    connect(p.cmdInitiate, &QPushButton::clicked, this, &Iso15693Window::cmdInitiate_Click);
    connect(p.cmdFastInitiate, &QPushButton::clicked, this, &Iso15693Window::cmdFastInitiate_Click);
    connect(p.cmdFastInventoryInitiated, &QPushButton::clicked, this,
            &Iso15693Window::cmdFastInventoryInitiated_Click);
    connect(p.cmdSelect, &QPushButton::clicked, this,
            [this] { runStateCommand(StateCommand::Select); });
    connect(p.cmdResetToReady, &QPushButton::clicked, this,
            [this] { runStateCommand(StateCommand::ResetToReady); });
    connect(p.cmdStayQuiet, &QPushButton::clicked, this,
            [this] { runStateCommand(StateCommand::StayQuiet); });
    connect(p.cmdGetSystemInfo, &QPushButton::clicked, this,
            &Iso15693Window::cmdGetSystemInfo_Click);
    connect(p.cmd_ISO15693_SendFrame, &QPushButton::clicked, this,
            &Iso15693Window::cmd_ISO15693_SendFrame_Click);
    connect(p.chkUserLoop, &QCheckBox::toggled, this, &Iso15693Window::chkUserLoop_Click);
    connect(p.lstTransponderUID, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        lstTransponderUID_Click(inventory_->lstTransponderUID->row(item));
    });
    tagInfo_->lblChoosenTag->installEventFilter(this);
}

// ---- Inventory and board anticollision ----------------------------------------------

bool Iso15693Window::inventoryBoxRefused() {
    const QString box = inventory_->refusedParameterBox();
    if (box.isEmpty()) return false;
    core::RefuseNotHex(ctx().ui(), box);
    return true;
}

void Iso15693Window::cmdInventory_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    commitFocusedBox();
    if (inventoryBoxRefused()) return;
    core::CommandLock lock(run, controls_);
    inventory_->showTags(kInventoryCaption, {});
    // The request is built once: the boxes are disabled while the loop repeats it.
    const std::string request = inventory(inventoryOptions(), inventory_->parameters());
    do {
        const Exchange x =
            link_.send(request, kInventoryTitle, false, [&] { return run.pumpEnds(); });
        if (x.abandoned) return;
        showSingleTag(kInventoryCaption, x);
        if (run.pumpEnds()) return;
    } while (state_.InventoryLoopEnabled);
}

void Iso15693Window::cmdAntiCollisionIso15693_Click() {
    // A click while a pass runs is not a second anticollision inside the first.
    if (anticollisionActive_) return;
    // Clicked during an INVENTORY loop it runs inside that loop, under the same loop flag,
    // and leaves the controls to the loop.
    const bool nested = exclusiveRunActive();
    core::RunScope run(*this,
                       nested ? core::RunScope::Start::Shared : core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    anticollisionActive_ = true;
    struct Active {
        bool& flag;
        ~Active() { flag = false; }
    } active{anticollisionActive_};
    std::optional<core::CommandLock> lock;
    if (!nested) lock.emplace(run, controls_);

    inventory_->showTags(kInventoryCaption, {});
    const std::string request = transceiver::iso15693AnticollisionRequest(
        transceiver::hexByte(inventoryFlags(inventoryOptions())));
    do {
        const Exchange x = link_.sendFirmware(request, QStringLiteral("ANTICOLLISION"),
                                              [&] { return run.pumpEnds(); });
        if (x.abandoned) return;
        QStringList lines;
        int position = 0;
        for (const AnticollisionRecord& r : anticollisionRecords(x.status, latin1(x.answer))) {
            lines << inventoryListLine(++position, r.uid, r.dsfid);
        }
        if (lines.isEmpty()) {
            inventory_->showMessage(kInventoryCaption, kNoDetectedAnswer);
        } else {
            inventory_->showTags(kInventoryCaption, lines);
        }
        if (run.pumpEnds()) return;
    } while (state_.InventoryLoopEnabled);
}

void Iso15693Window::cmdInventoryInitiated_Click() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox();
    if (inventoryBoxRefused()) return;
    const QString caption = QStringLiteral("INVENTORY INITIATED response");
    inventory_->showTags(caption, {});
    const Exchange x = link_.send(inventoryInitiated(inventoryOptions(), inventory_->parameters()),
                                  QStringLiteral("INVENTORY INITIATED"), false);
    showSingleTag(caption, x);
}

void Iso15693Window::showSingleTag(const QString& caption, const Exchange& x) {
    if (x.tag.length == 0) return inventory_->showMessage(caption, kNoDetectedAnswer);
    if (x.tag.flags() != "00") {
        return inventory_->showMessage(caption, answerFormatProblem(x.tag.flags()));
    }
    inventory_->showTags(caption, {singleTagLine(x.tag)});
}

// ---- Initiate commands ----------------------------------------------------------------

void Iso15693Window::cmdInitiate_Click() {
    core::RunScope run(*this);
    if (!run.started()) return;
    const QString caption = QStringLiteral("INITIATE response");
    inventory_->showTags(caption, {});
    showSingleTag(caption,
                  link_.send(initiate(commandOptions()), QStringLiteral("INITIATE"), false));
}

void Iso15693Window::cmdFastInitiate_Click() {
    core::RunScope run(*this);
    if (!run.started()) return;
    link_.selectFast();
    const QString caption = QStringLiteral("FAST INITIATE response");
    inventory_->showTags(caption, {});
    const Exchange x =
        link_.send(fastInitiate(commandOptions()), QStringLiteral("FAST INITIATE"), true);
    showSingleTag(caption, x);
    // Still unreachable after the command's own reconnect: one more try at the fast set-up.
    if (x.status == reader::kStatusUnreachable) DEMO_TQ73RN_A_reconnect_iso15693(true);
    link_.selectNormal();
}

void Iso15693Window::cmdFastInventoryInitiated_Click() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox();
    if (inventoryBoxRefused()) return;
    link_.selectFast();
    const QString caption = QStringLiteral("FAST INVENTORY INITIATED response");
    inventory_->showTags(caption, {});
    showSingleTag(caption,
                  link_.send(fastInventoryInitiated(inventoryOptions(), inventory_->parameters()),
                             QStringLiteral("FAST INVENTORY INITIATE"), true));
    link_.selectNormal();
}

// ---- The chosen tag ---------------------------------------------------------------------

void Iso15693Window::lstTransponderUID_Click(int row) {
    QListWidgetItem* item = inventory_->lstTransponderUID->item(row);
    // A line that says why no tag is listed is no tag: the tag chosen before stays.
    if (!item || inventory_->isMessageLine(row)) return;
    widgets::HexEntryBox* box = tagInfo_->txtTransponderUID;
    box->clear();
    ctx().values.TransponderUID.clear();
    box->setText(uidOfListLine(item->text()));
    // The box is left at once, so its leave rule decides on the copied text; it applies
    // also while a run has the box disabled.
    box->commit();
}

void Iso15693Window::lblChoosenTag_Click() {
    core::RunScope run(*this);
    if (!run.started()) return;
    QString& uid = ctx().values.TransponderUID;
    uid.clear();
    const QString text = tagInfo_->txtTransponderUID->text();
    for (QChar c : text) {
        const bool hex = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                         (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
                         (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        if (run.pumpEnds()) return;
        if (!hex) return;
    }
    // Half a byte would go to the tag as an odd-length frame.
    if (text.size() % 2 != 0) return;
    uid = frameOrderUid(text.left(16));
    (void)run.pumpEnds();
}

// ---- Select, Reset to Ready and Stay Quiet under AUTO LOOP ------------------------------

void Iso15693Window::chkUserLoop_Click(bool ticked) {
    ctx().values.AutoLoopEnabled = ticked;
    inventory_->txtLOOPnumber->setVisible(ticked);
    inventory_->lblLOOPnumber->setVisible(ticked);
}

void Iso15693Window::showShortResult(const Exchange& x) {
    if (const auto text = shortResult(x.tag)) tagInfo_->lblWriteTime->setText(*text);
}

void Iso15693Window::runStateCommand(StateCommand command) {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    core::ProgramValues& v = ctx().values;
    tagInfo_->lblLoopCount->setText(v.AutoLoopEnabled ? QStringLiteral("1") : QString());
    core::CommandLock lock(run, controls_);
    core::BusyPointer busy(ctx().ui());
    const core::CountedLoopControls loop{inventory_->chkUserLoop, inventory_->txtLOOPnumber,
                                         inventory_->lblLOOPnumber, tagInfo_->lblLoopCount};
    do {
        Exchange x;
        switch (command) {
            case StateCommand::Select:
                x = link_.send(selectTag(commandOptions(), v.TransponderUID),
                               QStringLiteral("SELECT"), false);
                break;
            case StateCommand::ResetToReady:
                x = link_.send(resetToReady(addressing()), QStringLiteral("RESET TO READY"), false);
                break;
            case StateCommand::StayQuiet:
                x = link_.send(stayQuiet(addressing()), QStringLiteral("STAY QUIET"), false);
                break;
        }
        showShortResult(x);
        if (run.pumpEnds()) return;
        core::advanceCountedLoop(loop, v.AutoLoopEnabled);
        if (run.pumpEnds()) return;
    } while (v.AutoLoopEnabled);
}

// ---- System information and the raw frame -----------------------------------------------

void Iso15693Window::cmdGetSystemInfo_Click() {
    core::RunScope run(*this);
    if (!run.started()) return;
    QListWidget* list = inventory_->lstSystemInfo;
    list->clear();
    const Exchange x = link_.send(getSystemInfo(addressing(), inventory_->extensionFlag()),
                                  QStringLiteral("GET SYSTEM INFO"), false);
    if (x.tag.valid()) list->addItems(systemInfoLines(x.tag, ctx().values.AddressByteCount));
    (void)run.pumpEnds();
}

void Iso15693Window::cmd_ISO15693_SendFrame_Click() {
    core::RunScope run(*this);
    if (!run.started()) return;
    widgets::HexEntryBox* box = inventory_->txt_ISO15693_AnyFrame;
    const bool hex = box->commit();
    const QString frame = box->text();
    if (frame.isEmpty()) {
        (void)run.pumpEnds();
        return;
    }
    // Pasted text that is not hex shows red and never reaches the board.
    if (!hex) return core::RefuseNotHex(ctx().ui(), QString::fromLatin1(kSendFrameCaption));
    link_.sendFrame(frame);
}

}  // namespace iso15693
