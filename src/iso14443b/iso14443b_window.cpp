#include "iso14443b/iso14443b_window.hpp"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/app_context.hpp"
#include "core/busy_pointer.hpp"
#include "core/hex_checks.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "iso14443b/answers.hpp"
#include "iso14443b/anticollision_panel.hpp"
#include "iso14443b/any_frame_row.hpp"
#include "iso14443b/block_range_panel.hpp"
#include "iso14443b/reqb_panel.hpp"
#include "iso14443b/window_common.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/iso14443b_answers.hpp"
#include "transceiver/sola_answers.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/memory_view.hpp"
#include "widgets/page_write_panel.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443b {

namespace {

// The pause after each REQB, WUPB or anticollision pass: long enough for a click on
// "Loop" or on another command to be taken before the next pass.
constexpr int kPassPausePasses = 10001;

const QString kTitleCards = QStringLiteral("ISO14443-B Cards user interface (SOLAxxx) :");
const QString kTitleGeneric = QStringLiteral("ISO14443-B user interface : ");
const QString kNoPupi = QStringLiteral("00000000");

// Every write of the window is one block of four bytes.
constexpr int kWriteBytes = 4;
const QString kWriteCaption = QStringLiteral("Write Single Block");

std::string latin1(const QString& s) { return s.toLatin1().toStdString(); }
QString qs(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

}  // namespace

Iso14443bWindow::Iso14443bWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::Iso14443B, parent),
      log_(ctx),
      commands_(ctx.values, core::CommandControls::StopFlag::Clears) {
    setObjectName(QStringLiteral("frmTQ73RN_ISO14443B_UI"));
    setWindowTitle(QStringLiteral("   ISO14443-B  user interface  "));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    build();
}

Iso14443bWindow::~Iso14443bWindow() = default;

QSize Iso14443bWindow::sizeHint() const {
    const widgets::WindowBuilder b(this);
    return {b.px(kWindowWidth), b.px(kWindowHeight)};
}

void Iso14443bWindow::build() {
    const widgets::WindowBuilder b(this);

    title_ = b.label(this, QStringLiteral("lbl_title_ISO14443B"), kTitleCards, 240, 120, 9000, 480);
    QFont titleFont = title_->font();
    titleFont.setPointSize(18);
    title_->setFont(titleFont);

    reqb_ = b.place(new ReqbPanel(ctx(), b, this), QStringLiteral("Fra_14443B_ReqBWupB"), 120, 720,
                    9120, 3720);
    memoryTags_ =
        b.place(new MemoryTagPanel(ctx(), b, this), QStringLiteral("Frame1"), 120, 720, 5520, 3720);
    anticollision_ = b.place(new AnticollisionPanel(b, this), QStringLiteral("FraAnticol"), 120,
                             4560, 13320, 1560);
    // The block commands right of the memory-tag commands, the read view and the
    // page-write panel in one place further right.
    blockRange_ = b.place(new BlockRangePanel(ctx(), b, this), QStringLiteral("fraBlockRange"),
                          5760, 720, 1920, 2880);
    view_ = b.place(new widgets::MemoryView(ctx(), this), QStringLiteral("lstReadView"), 7800, 840,
                    5640, 3600);
    pageWrite_ =
        new widgets::PageWritePanel(ctx(), widgets::PageWritePanel::FillTrigger::OnChange, this);
    b.place(pageWrite_, QStringLiteral("fraPageWrite"), 7800, 840, widgets::kPageWritePanelWidth,
            widgets::kPageWritePanelHeight);
    anyFrame_ = new AnyFrameRow(
        ctx(), b, this,
        {"cmd_ISO14443B_SendFrame", "txt_ISO14443B_AnyFrame", "lbl_ISO14443B_request",
         "txt_ISO14443B_request", "lbl_ISO14443B_answer", "txt_ISO14443B_answer"},
        120, 6240);
    anyFrame_->sendButton()->setToolTip(QStringLiteral(
        "Write Enable Latch Sequence (if selected) + Page Write Operation Sequence"));

    const LogFrame logFrame =
        buildLogFrame(b, this, "rtfISO14443BLogEdit", log_, 120, 6720, 13320, 3030);
    logBox_ = logFrame.box;

    QList<QWidget*> controls = memoryTags_->commandControls();
    controls << blockRange_->commandControls() << anyFrame_->sendButton() << anyFrame_->frameBox()
             << logFrame.save << logFrame.clear;
    commands_.setControls(controls);

    connect(reqb_, &ReqbPanel::reqbClicked, this, [this] { reqbClicked(false); });
    connect(reqb_, &ReqbPanel::wupbClicked, this, [this] { reqbClicked(true); });
    connect(reqb_, &ReqbPanel::attribClicked, this, &Iso14443bWindow::attribClicked);
    connect(reqb_, &ReqbPanel::loopClicked, this,
            [this](bool ticked) { ctx().values.ReqBLoopEnabled = ticked; });
    connect(memoryTags_, &MemoryTagPanel::commandClicked, this, &Iso14443bWindow::memoryTagCommand);
    connect(anticollision_, &AnticollisionPanel::anticollisionClicked, this,
            &Iso14443bWindow::anticollisionClicked);
    connect(anticollision_, &AnticollisionPanel::loopClicked, this,
            [this](bool ticked) { ctx().values.AnticollisionLoopEnabled = ticked; });
    connect(anyFrame_, &AnyFrameRow::sendClicked, this, &Iso14443bWindow::sendFrameClicked);
    connect(blockRange_->readButton(), &QPushButton::clicked, this, &Iso14443bWindow::readClicked);
    connect(blockRange_->writeButton(), &QPushButton::clicked, this,
            &Iso14443bWindow::writeSetUpClicked);
    connect(blockRange_->stopButton(), &QPushButton::clicked, this,
            [this] { commands_.stopClicked(blockRange_->stopButton()); });
    connect(pageWrite_, &widgets::PageWritePanel::writeClicked, this,
            &Iso14443bWindow::writeClicked);
    connect(pageWrite_, &widgets::PageWritePanel::cancelClicked, this,
            &Iso14443bWindow::cancelClicked);
}

void Iso14443bWindow::load() {
    core::ProgramValues& v = ctx().values;
    v.ScriptLoopEnabled = false;
    v.AnticollisionLoopEnabled = false;
    v.ReqBLoopEnabled = false;
    const widgets::WindowBuilder b(this);
    setGeometry(b.px(kWindowLeft), b.px(kWindowTop), b.px(kWindowWidth), b.px(kWindowHeight));
    log_.attach(logBox_);
    v.AddressByteCount = 1;
    view_->empty();
    view_->hide();
    pageWrite_->hide();
    v.ReadViewTopLine = 1;
    blockRange_->setUp(addressWidth(v.MemorySizeBytes), v.AddressMask);

    core::RunScope run(*this);
    if (!run.started()) return;
    if (runLoadExchanges(run, core::BoardSetup::Iso14443B, log_, *anyFrame_)) return;
    anticollision_->resetGrid();
    applyLayout();
}

void Iso14443bWindow::applyLayout() {
    // Exactly this reference, case included, is the generic card; every other product
    // of the window is a memory tag.
    generic_ = ctx().values.SelectedProduct.Reference == QLatin1String(kIso14443bGenericReference);
    reqb_->setVisible(generic_);
    memoryTags_->setVisible(!generic_);
    anticollision_->setVisible(!generic_);
    blockRange_->setVisible(!generic_);
    title_->setText(generic_ ? kTitleGeneric : kTitleCards);
}

void Iso14443bWindow::unload() {
    core::ProgramValues& v = ctx().values;
    v.AnticollisionLoopEnabled = false;
    v.ReqBLoopEnabled = false;
}

reader::LibraryStatus Iso14443bWindow::DEMO_TQ73RN_A_reconnect_iso14443B() {
    return core::DEMO_TQ73RN_A_reconnect_iso14443B(ctx());
}

TagExchangeTarget Iso14443bWindow::exchangeTarget() {
    return {ctx(), core::BoardSetup::Iso14443B, log_, anyFrame_->requestBox(),
            anyFrame_->answerBox()};
}

TagAnswer Iso14443bWindow::exchange(const std::string& request, const QString& title) {
    return ExchangeTagFrame(exchangeTarget(), request, title);
}

// ---- REQB, WUPB, ATTRIB -----------------------------------------------------------------

void Iso14443bWindow::reqbClicked(bool wakeUp) {
    // A click during a pass's pause would start a second run of passes inside the first.
    if (pollingRuns_) return;
    core::RunScope run(*this);
    if (!run.started()) return;
    const RunFlag running(pollingRuns_);
    commitFocusedBox(this);
    do {
        if (!wakeUp) {
            reqb_->showAtqb(atqbPrefixes());
            reqb_->setPupi(kNoPupi);
        }
        // The boxes are read anew in every pass: a change made during a pause counts.
        const ReqbPanel::Box afi = reqb_->afi();
        if (!core::IsHexBox(ctx().ui(), afi.text, afi.name)) return;
        const std::string request =
            transceiver::reqbRequest(latin1(afi.text), transceiver::reqbParam(reqb_->n(), wakeUp));
        const TagAnswer a =
            exchange(request, wakeUp ? QStringLiteral("WUPB") : QStringLiteral("REQB"));
        if (a.good()) {
            reqb_->showAtqb(atqbLabels(a.text));
            const std::string pupi = transceiver::atqbPupi(latin1(a.text));
            if (!wakeUp && !pupi.empty()) reqb_->setPupi(qs(pupi));
        }
        if (run.pumpEnds(kPassPausePasses)) return;
    } while (ctx().values.ReqBLoopEnabled);
}

void Iso14443bWindow::attribClicked() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox(this);
    reqb_->showAttrib(attribPrefixes());
    const std::array<ReqbPanel::Box, 5> boxes = reqb_->attribBoxes();
    for (const ReqbPanel::Box& box : boxes) {
        if (!core::IsHexBox(ctx().ui(), box.text, box.name)) return;
    }
    const std::string request = transceiver::attribRequest(
        latin1(boxes[0].text), latin1(boxes[1].text), latin1(boxes[2].text), latin1(boxes[3].text),
        latin1(boxes[4].text));
    const TagAnswer a = exchange(request, QStringLiteral("ATTRIB"));
    if (a.good()) reqb_->showAttrib(attribLabels(a.text));
}

// ---- Memory-tag commands and raw frames ---------------------------------------------------

void Iso14443bWindow::memoryTagCommand(MemoryTagPanel::Command command) {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox(this);
    using C = MemoryTagPanel::Command;
    switch (command) {
        case C::Initiate: {
            const TagAnswer a =
                exchange(std::string(transceiver::kSolaInitiate), QStringLiteral("INITIATE"));
            const auto chipId = transceiver::solaChipId(latin1(a.text));
            if (a.good() && chipId) memoryTags_->setChipId(qs(*chipId));
            break;
        }
        case C::Pcall16:
            exchange(std::string(transceiver::kSolaPcall16), QStringLiteral("PCALL16"));
            break;
        case C::SlotMarker:
            exchange(transceiver::solaSlotMarkerRequest(memoryTags_->slotNumber()),
                     QStringLiteral("SLOT MARKER"));
            break;
        case C::Select: {
            const QString chipId = memoryTags_->chipId();
            if (core::IsHexBox(ctx().ui(), chipId, kChipIdBoxName)) {
                exchange(transceiver::solaSelectRequest(latin1(chipId)), QStringLiteral("SELECT"));
            }
            break;
        }
        case C::GetUid: {
            memoryTags_->setUid(QString());
            const TagAnswer a =
                exchange(std::string(transceiver::kSolaGetUid), QStringLiteral("GET UID"));
            const auto uid = transceiver::solaUid(latin1(a.text));
            if (a.good() && uid) memoryTags_->setUid(qs(*uid));
            break;
        }
        case C::Completion:
            exchange(std::string(transceiver::kSolaCompletion), QStringLiteral("COMPLETION"));
            break;
        case C::ResetToInventory:
            exchange(std::string(transceiver::kSolaResetToInventory),
                     QStringLiteral("RESET TO INVENTORY"));
            break;
    }
}

void Iso14443bWindow::sendFrameClicked() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox(this);
    SendAnyFrame(exchangeTarget(), anyFrame_->frame());
}

// ---- Memory-tag anticollision -------------------------------------------------------------

void Iso14443bWindow::anticollisionClicked() {
    if (anticollisionRuns_) return;
    core::RunScope run(*this);
    if (!run.started()) return;
    const RunFlag running(anticollisionRuns_);
    commitFocusedBox(this);
    anticollision_->resetGrid();
    do {
        if (!anticollisionPass(run)) return;
        if (run.pumpEnds(kPassPausePasses)) return;
    } while (ctx().values.AnticollisionLoopEnabled);
}

bool Iso14443bWindow::anticollisionPass(core::RunScope& run) {
    std::array<QString, kSlotCount> chipIds;
    int count = 0;
    int lastSlot = 0;
    anticollision_->setUid(QString());
    exchange(std::string(transceiver::kSolaResetToInventory), QStringLiteral("RESET TO INVENTORY"));
    exchange(std::string(transceiver::kSolaInitiate), QStringLiteral("INITIATE"));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        // The tag of slot 0 answers PCALL16 itself; every other slot has its slot marker.
        const TagAnswer a =
            slot == 0 ? exchange(std::string(transceiver::kSolaPcall16), QStringLiteral("PCALL16"))
                      : exchange(transceiver::solaSlotMarkerRequest(slot),
                                 QStringLiteral("SLOT MARKER (%1)").arg(slot));
        // A slot counts only with a chip ID to select it by.
        const auto chipId = transceiver::solaChipId(latin1(a.text));
        if (a.good() && chipId) {
            chipIds[static_cast<std::size_t>(slot)] = qs(*chipId);
            ++count;
            lastSlot = slot;
        }
        if (run.pumpEnds()) return false;
    }
    anticollision_->showSlots(chipIds);
    if (count != 1) return true;

    memoryTags_->setChipId(chipIds[static_cast<std::size_t>(lastSlot)]);
    const std::string select = transceiver::solaSelectRequest(latin1(memoryTags_->chipId()));
    if (!exchange(select, QStringLiteral("SELECT")).good()) return true;
    memoryTags_->setUid(QString());
    const TagAnswer a = exchange(std::string(transceiver::kSolaGetUid), QStringLiteral("GET UID"));
    const auto uid = transceiver::solaUid(latin1(a.text));
    if (a.good() && uid) anticollision_->setUid(qs(*uid));
    return true;
}

// ---- Memory view -----------------------------------------------------------------------

void Iso14443bWindow::readClicked() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    commitFocusedBox(this);
    core::ProgramValues& v = ctx().values;
    const core::CommandLock lock(run, commands_, blockRange_->stopButton());
    const core::BusyPointer busy(ctx().ui());
    pageWrite_->hide();
    pageWrite_->resetFill();
    v.PageWriteMode = 0;
    if (!core::IsMemoryAddress(ctx().ui(), blockRange_->fromText(), ctx().values) ||
        !core::IsMemoryAddress(ctx().ui(), blockRange_->toText(), ctx().values)) {
        if (!view_->isHidden()) view_->setEnabled(true);
        return;
    }
    const widgets::BlockRange range =
        widgets::blockRange(transceiver::hexValue(latin1(blockRange_->fromText())),
                            transceiver::hexValue(latin1(blockRange_->toText())), v.AddressMask);
    blockRange_->showRange(range.from, range.to);
    view_->empty();
    view_->show();
    switch (ReadBlockRange(run, range, v.SelectedProduct.PageSize)) {
        case ReadEnd::Abandoned:
            return;
        case ReadEnd::Stopped:
            view_->setEnabled(false);
            return;
        case ReadEnd::Completed:
            view_->fill(range.from, range.count);
            view_->setEnabled(true);
            return;
    }
}

Iso14443bWindow::ReadEnd Iso14443bWindow::ReadBlockRange(core::RunScope& run,
                                                         const widgets::BlockRange& range,
                                                         int bytesPerBlock) {
    core::ProgramValues& v = ctx().values;
    v.ReadViewLines.Clear();
    for (std::int32_t i = 0; i < range.count; ++i) {
        const TagAnswer a =
            exchange(transceiver::solaReadBlockRequest(range.address(i)), QStringLiteral("READ"));
        v.ReadViewLines.AddItem(a.good() ? blockLine(a.text, bytesPerBlock) : kReadErrorLine);
        if (run.pumpEnds()) return ReadEnd::Abandoned;
        if (v.StopRequested) return ReadEnd::Stopped;
    }
    return ReadEnd::Completed;
}

void Iso14443bWindow::writeSetUpClicked() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox(this);
    commands_.EnableCommandControls(false);
    if (!core::IsMemoryAddress(ctx().ui(), blockRange_->fromText(), ctx().values) ||
        !core::IsMemoryAddress(ctx().ui(), blockRange_->toText(), ctx().values)) {
        commands_.EnableCommandControls(true);
        return;
    }
    ctx().values.PageWriteMode = 0;
    pageWrite_->writeButton()->setText(kWriteCaption);
    pageWrite_->ShowPageWritePanel(kWriteBytes);
    // The command controls stay off while the panel is open.
    view_->setEnabled(false);
    pageWrite_->resetFill();
    pageWrite_->show();
    pageWrite_->raise();
    pageWrite_->row(0)->setFocus();
}

void Iso14443bWindow::writeClicked() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    core::ProgramValues& v = ctx().values;
    commands_.EnableCommandControls(false);
    const core::BusyPointer busy(ctx().ui());
    pageWrite_->setEntryEnabled(false);
    if (!core::IsMemoryAddress(ctx().ui(), blockRange_->fromText(), ctx().values) ||
        !core::IsMemoryAddress(ctx().ui(), blockRange_->toText(), ctx().values)) {
        // The panel stays open: the address boxes come back with the commands to correct
        // the address, the rows and Write to correct the data or write again.
        pageWrite_->setEntryEnabled(true);
        commands_.EnableCommandControls(true);
        return;
    }
    const widgets::BlockRange range =
        widgets::blockRange(transceiver::hexValue(latin1(blockRange_->fromText())),
                            transceiver::hexValue(latin1(blockRange_->toText())), v.AddressMask);
    // Read once: a byte typed into the panel during the run does not change it.
    const QString data = pageWrite_->data(kWriteBytes);
    v.PageWritePending = true;
    if (!core::IsHexData(ctx().ui(), data, true)) {
        // The panel stays open for a correction or for Cancel.
        pageWrite_->setEntryEnabled(true);
        return;
    }
    view_->empty();
    view_->show();
    v.ReadViewLines.Clear();
    const widgets::RangeWriteEnd end = widgets::writeBlockRange(
        run, range, [&](std::int32_t address) { WriteBlock(address, data); });
    switch (end) {
        case widgets::RangeWriteEnd::Abandoned:
            return;
        case widgets::RangeWriteEnd::Completed:
            view_->fill(range.from, range.count);
            if (run.pumpEnds()) return;
            pageWrite_->setEntryEnabled(true);
            pageWrite_->hide();
            pageWrite_->resetFill();
            commands_.EnableCommandControls(true);
            return;
        case widgets::RangeWriteEnd::Cancelled:
            // Cancel has closed the panel; the view shows nothing of the blocks written.
            view_->setEnabled(false);
            pageWrite_->writeButton()->setEnabled(true);
            commands_.EnableCommandControls(true);
            return;
    }
}

void Iso14443bWindow::WriteBlock(std::int32_t address, const QString& data) {
    const TagAnswer a = exchange(transceiver::solaWriteBlockRequest(address, latin1(data)),
                                 QStringLiteral("WRITE"));
    bool written = a.good();
    if (!written && isNoTagAnswer(a.status, a.text)) {
        const TagAnswer back =
            exchange(transceiver::solaReadBlockRequest(address), QStringLiteral("READ"));
        written =
            back.good() && blockData(back.text, kWriteBytes) ==
                               QString::fromStdString(transceiver::withoutBlanks(latin1(data)));
    }
    ctx().values.ReadViewLines.AddItem(written ? kWriteOkLine : kWriteErrorLine);
}

void Iso14443bWindow::cancelClicked() {
    ctx().values.PageWritePending = false;
    pageWrite_->hide();
    pageWrite_->resetFill();
    commands_.EnableCommandControls(true);
}

}  // namespace iso14443b
