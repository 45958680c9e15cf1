// The User Mode page: block reads into the memory view, security status, the page-write
// panel and its commands, the locks, kill and sector passwords, and energy harvesting.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/app_context.hpp"
#include "core/busy_pointer.hpp"
#include "core/hex_checks.hpp"
#include "core/run_guard.hpp"
#include "iso15693/inventory_page.hpp"
#include "iso15693/iso15693_window.hpp"
#include "iso15693/side_frames.hpp"
#include "iso15693/user_mode_page.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/memory_view.hpp"
#include "widgets/page_write_panel.hpp"

namespace iso15693 {

namespace {

// Blocks of a multiple-block read never cross a multiple of eight; security status asks
// for at most 32 blocks at once.
constexpr int kMultipleReadBlocks = 8;
constexpr int kSecurityStatusBlocks = 32;

std::uint32_t typedValue(const QString& text) {
    return transceiver::hexValue(text.toLatin1().toStdString());
}

// The controls that a block run switches off besides the command controls, back on at
// the run's end unless the window went away.
class ExtrasOff {
  public:
    ExtrasOff(const core::RunScope& run, const QList<QWidget*>& extras)
        : run_(run), extras_(extras) {
        for (QWidget* w : extras_) w->setEnabled(false);
    }
    ~ExtrasOff() {
        if (run_.mustEnd()) return;
        for (QWidget* w : extras_) w->setEnabled(true);
    }
    ExtrasOff(const ExtrasOff&) = delete;
    ExtrasOff& operator=(const ExtrasOff&) = delete;

  private:
    const core::RunScope& run_;
    QList<QWidget*> extras_;
};

// What a block run holds for its length: the command controls and the extras off (and
// STOP shown when the run has one), the hourglass on.
class BlockRunLock {
  public:
    BlockRunLock(const core::RunScope& run, core::CommandControls& controls, QWidget* stop,
                 const QList<QWidget*>& extras)
        : lock_(run, controls, stop), extras_(run, extras), busy_(run.ctx().ui()) {}

  private:
    core::CommandLock lock_;
    ExtrasOff extras_;
    core::BusyPointer busy_;
};

}  // namespace

void Iso15693Window::wireUserModePage() {
    UserModePage& p = *user_;
    connect(p.cmdReadUser, &QPushButton::clicked, this, &Iso15693Window::cmdReadUser_Click);
    connect(p.cmdFastReadSingleBlock, &QPushButton::clicked, this,
            &Iso15693Window::cmdFastReadSingleBlock_Click);
    connect(p.cmdReadMultipleBlock, &QPushButton::clicked, this,
            [this] { runMultipleRead(false); });
    connect(p.cmdFastReadMultipleBlock, &QPushButton::clicked, this,
            [this] { runMultipleRead(true); });
    connect(p.cmdGetMultipleBlockSecurityStatus, &QPushButton::clicked, this,
            &Iso15693Window::cmdGetMultipleBlockSecurityStatus_Click);
    connect(p.cmdStopCommand, &QPushButton::clicked, this, &Iso15693Window::cmdStopCommand_Click);

    connect(p.cmdWriteSingleBlock, &QPushButton::clicked, this, [this] {
        setUpPageWrite(kWriteSingleBlock, QStringLiteral("Write Single Block"), pageSize(), true,
                       false);
    });
    connect(p.cmdWriteAFI, &QPushButton::clicked, this,
            [this] { setUpPageWrite(kWriteAfi, QStringLiteral("Write AFI"), 1, true, true); });
    connect(p.cmdWriteDSFID, &QPushButton::clicked, this,
            [this] { setUpPageWrite(kWriteDsfid, QStringLiteral("Write DSFID"), 1, true, true); });
    // The kill set-ups keep the caption of the single-block write: theirs is the same row of
    // block bytes.
    connect(p.cmdWriteKill, &QPushButton::clicked, this, [this] {
        setUpPageWrite(kWriteKill, QStringLiteral("Write Single Block"), pageSize(), true, true);
    });
    connect(p.cmdKill, &QPushButton::clicked, this, [this] {
        setUpPageWrite(kKill, QStringLiteral("Write Single Block"), pageSize(), true, true);
    });
    connect(p.cmdWriteSectorPassword, &QPushButton::clicked, this, [this] {
        setUpPageWrite(kWriteSectorPassword, QStringLiteral("Write Password"), pageSize(), true,
                       true);
    });
    connect(p.cmdLockSectorPassword, &QPushButton::clicked, this, [this] {
        setUpPageWrite(kLockSectorPassword, QStringLiteral("Lock Password"), 1, false, true);
    });
    connect(p.cmdPresentSectorPassword, &QPushButton::clicked, this, [this] {
        setUpPageWrite(kPresentPassword, QStringLiteral("Present Password"), pageSize(), true,
                       true);
    });
    connect(fraPageWrite_, &widgets::PageWritePanel::writeClicked, this,
            &Iso15693Window::cmdWriteUser_Click);
    connect(fraPageWrite_, &widgets::PageWritePanel::cancelClicked, this,
            &Iso15693Window::cmdCancelWriteTest_Click);
    connect(p.cboPageSize, &QComboBox::activated, this, [this](int) { cboPageSize_Click(); });

    connect(p.cmdLockAFI, &QPushButton::clicked, this, [this] { runLock(LockRun::Afi); });
    connect(p.cmdLockDSFID, &QPushButton::clicked, this, [this] { runLock(LockRun::Dsfid); });
    connect(p.cmdLockBlock, &QPushButton::clicked, this, [this] { runLock(LockRun::Block); });
    connect(p.cmdLockKill, &QPushButton::clicked, this, &Iso15693Window::cmdLockKill_Click);

    connect(p.cmdReadEHconfig, &QPushButton::clicked, this, [this] { ehRead(false); });
    connect(p.cmdCheckEHenable, &QPushButton::clicked, this, [this] { ehRead(true); });
    connect(p.cmdWriteEHCfg, &QPushButton::clicked, this, [this] {
        ehWrite(
            QStringLiteral("WRITE EH CONFIG"),
            [this](const QString& b) { return writeEhConfig(addressing(), b); },
            user_->txtEHconfig);
    });
    connect(p.cmdWriteDOconfig, &QPushButton::clicked, this, [this] {
        ehWrite(
            QStringLiteral("WRITE DO CONFIG"),
            [this](const QString& b) { return writeDoConfig(addressing(), b); },
            user_->txtWriteDOconfig);
    });
    connect(p.cmdSetEHenable, &QPushButton::clicked, this, [this] {
        ehWrite(
            QStringLiteral("SET RESET EH CONFIG"),
            [this](const QString&) { return setResetEhConfig(addressing(), "01"); }, nullptr);
    });
    connect(p.cmdResetEHenable, &QPushButton::clicked, this, [this] {
        ehWrite(
            QStringLiteral("SET RESET EH CONFIG"),
            [this](const QString&) { return setResetEhConfig(addressing(), "00"); }, nullptr);
    });
}

int Iso15693Window::pageSize() const { return user_->cboPageSize->currentText().toInt(); }

// ---- The block range ----------------------------------------------------------------

std::optional<widgets::BlockRange> Iso15693Window::checkedRange() {
    commitFocusedBox();
    core::Ui& ui = ctx().ui();
    const QString from = user_->txtUserAddress[0]->text();
    const QString to = user_->txtUserAddress[1]->text();
    if (!core::IsMemoryAddress(ui, from, ctx().values) ||
        !core::IsMemoryAddress(ui, to, ctx().values))
        return std::nullopt;
    return widgets::blockRange(typedValue(from), typedValue(to), ctx().values.AddressMask);
}

void Iso15693Window::rewriteAddressBoxes(const widgets::BlockRange& range) {
    const int width = user_->txtUserAddress[0]->maxLength();
    user_->txtUserAddress[0]->setText(transceiver::HexPad(range.from, width));
    user_->txtUserAddress[1]->setText(transceiver::HexPad(range.to, width));
}

void Iso15693Window::setAddressBoxesLocked(bool locked) {
    for (widgets::HexEntryBox* box : user_->txtUserAddress) box->setReadOnly(locked);
}

void Iso15693Window::endViewRun(bool stopped) {
    setAddressBoxesLocked(false);
    if (stopped) {
        lstReadView_->empty();
        lstReadView_->setEnabled(false);
    } else if (lstReadView_->isVisible()) {
        lstReadView_->setEnabled(true);
    }
}

// ---- Block reads ----------------------------------------------------------------------

int Iso15693Window::ReadSingleBlock(core::RunScope& run, const widgets::BlockRange& range,
                                    bool fast) {
    core::ProgramValues& v = ctx().values;
    v.ReadViewLines.Clear();
    const Addressing a = addressing();
    const int bytesPerBlock = v.SelectedProduct.PageSize;
    const int addressBytes = v.AddressByteCount;
    const QString title =
        fast ? QStringLiteral("FAST READ SINGLE BLOCK") : QStringLiteral("READ SINGLE BLOCK");
    int result = 0;
    for (std::int32_t i = 0; i < range.count; ++i) {
        const std::int32_t block = range.address(i);
        const std::string request = fast ? fastReadSingleBlock(a, block, addressBytes)
                                         : readSingleBlock(a, block, addressBytes);
        const Exchange x = link_.send(request, title, fast);
        v.ReadViewLines.AddItem(
            singleBlockLine(x.tag, x.answer, bytesPerBlock, a.options.lockBits));
        result = x.tag.valid() ? static_cast<int>(x.tag.response.size()) : 0;
        if (run.pumpEnds()) return -1;
        if (v.StopRequested) {
            if (!fast) return -1;
            v.StopRequested = false;
            return -99;
        }
    }
    return result;
}

std::optional<widgets::BlockRange> Iso15693Window::startViewRun(bool lockAddressBoxes) {
    fraPageWrite_->hide();
    fraPageWrite_->resetFill();
    if (lockAddressBoxes) setAddressBoxesLocked(true);
    ctx().values.PageWriteMode = kWriteSingleBlock;
    const auto range = checkedRange();
    if (!range) {
        endViewRun(false);
        return std::nullopt;
    }
    rewriteAddressBoxes(*range);
    lstReadView_->empty();
    lstReadView_->show();
    tagInfo_->lblWriteTime->clear();
    return range;
}

void Iso15693Window::cmdReadUser_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    tagInfo_->lblLoopCount->clear();
    BlockRunLock lock(run, controls_, user_->cmdStopCommand, blockRunExtras_);
    const auto range = startViewRun(true);
    if (!range) return;
    const int result = ReadSingleBlock(run, *range, false);
    if (run.mustEnd()) return;
    if (result >= 0) lstReadView_->fill(range->from, range->count);
    endViewRun(result < 0);
}

void Iso15693Window::cmdFastReadSingleBlock_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    tagInfo_->lblLoopCount->clear();
    {
        BlockRunLock lock(run, controls_, user_->cmdStopCommand, blockRunExtras_);
        if (const auto range = startViewRun(true)) {
            link_.selectFast();
            const int result = ReadSingleBlock(run, *range, true);
            if (run.mustEnd()) return;
            if (result >= 0) lstReadView_->fill(range->from, range->count);
            endViewRun(result < 0);
        }
    }
    // The normal parameters again, however the run ended (also after a refused address).
    link_.selectNormal();
}

void Iso15693Window::ReadMultipleBlock(std::int32_t first, int count, bool fast) {
    core::ProgramValues& v = ctx().values;
    const Addressing a = addressing();
    const int addressBytes = static_cast<std::uint8_t>(v.SelectedProduct.NbAdressByteRF);
    const std::string request = fast ? fastReadMultipleBlock(a, first, count, addressBytes)
                                     : readMultipleBlock(a, first, count, addressBytes);
    const Exchange x = link_.send(
        request,
        fast ? QStringLiteral("FAST READ MULTIPLE BLOCK") : QStringLiteral("READ MULTIPLE BLOCK"),
        fast);
    for (const QString& line :
         multipleBlockLines(x.tag, count, v.SelectedProduct.PageSize, a.options.lockBits)) {
        v.ReadViewLines.AddItem(line);
    }
}

void Iso15693Window::runMultipleRead(bool fast) {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    tagInfo_->lblLoopCount->clear();
    {
        BlockRunLock lock(run, controls_, user_->cmdStopCommand, blockRunExtras_);
        if (const auto range = startViewRun(true)) {
            core::ProgramValues& v = ctx().values;
            const bool fastInEffect = fast ? link_.selectFast() : true;
            v.ReadViewLines.Clear();
            std::int32_t next = range->from;
            std::int32_t left = range->count;
            bool stopped = false;
            while (left > 0) {
                // A request never crosses a multiple of eight, nor the end of the memory.
                const std::int32_t chunk = std::min(
                    {left, kMultipleReadBlocks - next % kMultipleReadBlocks, range->blocks - next});
                left -= chunk;
                ReadMultipleBlock(next, chunk, fast);
                if (run.pumpEnds()) return;
                if (v.StopRequested) {
                    stopped = true;
                    break;
                }
                next = range->wrap(std::int64_t(next) + chunk);
            }
            if (!stopped) {
                // The lines of a fast read are shown only when the fast parameters took
                // effect: reads under other parameters are not what was asked for.
                if (fastInEffect) {
                    lstReadView_->fill(range->from, range->count);
                } else {
                    lstReadView_->setEnabled(false);
                }
                if (run.pumpEnds()) return;
            }
            endViewRun(stopped);
        }
    }
    if (fast) link_.selectNormal();
}

// ---- Security status ----------------------------------------------------------------------

void Iso15693Window::GetMultipleBlockSecurityStatus(std::int32_t first, int count) {
    core::ProgramValues& v = ctx().values;
    const Exchange x =
        link_.send(getMultipleBlockSecurityStatus(addressing(), first, count, v.AddressByteCount),
                   QStringLiteral("GET MULTIPLE BLOCK SECURITY STATUS"), false);
    for (const QString& line : securityStatusLines(x.tag, count)) v.ReadViewLines.AddItem(line);
}

void Iso15693Window::cmdGetMultipleBlockSecurityStatus_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    tagInfo_->lblLoopCount->clear();
    BlockRunLock lock(run, controls_, nullptr, blockRunExtras_);
    const auto range = startViewRun(false);
    if (!range) return;
    core::ProgramValues& v = ctx().values;
    v.ReadViewLines.Clear();
    std::int32_t next = range->from;
    std::int32_t left = range->count;
    while (left > 0) {
        // Pieces end at the last block: the block after it is block 0, not a block the
        // tag does not have.
        const std::int32_t chunk = std::min({left, kSecurityStatusBlocks, range->blocks - next});
        left -= chunk;
        GetMultipleBlockSecurityStatus(next, chunk);
        if (run.pumpEnds()) return;
        user_->cmdStopCommand->hide();
        if (v.StopRequested) return endViewRun(true);
        next = range->wrap(std::int64_t(next) + chunk);
    }
    lstReadView_->fill(range->from, range->count);
    if (run.pumpEnds()) return;
    endViewRun(false);
}

void Iso15693Window::cmdStopCommand_Click() { controls_.stopClicked(user_->cmdStopCommand); }

// ---- The page-write panel -----------------------------------------------------------------

void Iso15693Window::setUpPageWrite(std::int16_t mode, const QString& writeCaption, int layoutBytes,
                                    bool checkAddresses, bool hideView) {
    commitFocusedBox();
    EnableCommandControls(false);
    if (checkAddresses) {
        core::Ui& ui = ctx().ui();
        if (!core::IsMemoryAddress(ui, user_->txtUserAddress[0]->text(), ctx().values) ||
            !core::IsMemoryAddress(ui, user_->txtUserAddress[1]->text(), ctx().values)) {
            EnableCommandControls(true);
            return;
        }
    }
    ctx().values.PageWriteMode = mode;
    if (checkAddresses) user_->txtUserAddress[0]->setReadOnly(true);
    fraPageWrite_->writeButton()->setText(writeCaption);
    fraPageWrite_->ShowPageWritePanel(layoutBytes, state_.ModeTabIndex == 2);
    if (hideView) {
        lstReadView_->hide();
    } else {
        lstReadView_->setEnabled(false);
    }
    fraPageWrite_->resetFill();
    fraPageWrite_->show();
    fraPageWrite_->raise();
    fraPageWrite_->row(0)->setFocus();
}

int Iso15693Window::writeBytes() const {
    switch (ctx().values.PageWriteMode) {
        case kWriteAfi:
        case kWriteDsfid:
        case kWriteKill:
        case kLockSectorPassword:
            return 1;
        default:
            return pageSize();
    }
}

void Iso15693Window::WriteSingleBlock(std::int32_t block, const QString& data) {
    core::ProgramValues& v = ctx().values;
    const Exchange x = link_.send(writeSingleBlock(addressing(), block, v.AddressByteCount, data),
                                  QStringLiteral("WRITE SINGLE BLOCK"), false);
    const WriteOutcome outcome = writeOutcome(x.tag, x.answer);
    if (outcome.label) tagInfo_->lblWriteTime->setText(*outcome.label);
    v.ReadViewLines.AddItem(outcome.line);
}

void Iso15693Window::cmdWriteUser_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    tagInfo_->lblLoopCount->clear();
    core::ProgramValues& v = ctx().values;
    core::Ui& ui = ctx().ui();
    EnableCommandControls(false);
    ExtrasOff extras(run, blockRunExtras_);
    core::BusyPointer busy(ui);
    fraPageWrite_->setEntryEnabled(false);
    // A refused address or data leaves the panel open for a correction, or for Cancel.
    auto refused = [&] {
        fraPageWrite_->setEntryEnabled(true);
        EnableCommandControls(false);
    };
    const QString fromText = user_->txtUserAddress[0]->text();
    const QString toText = user_->txtUserAddress[1]->text();
    if (!core::IsMemoryAddress(ui, fromText, ctx().values) ||
        !core::IsMemoryAddress(ui, toText, ctx().values))
        return refused();
    const widgets::BlockRange range =
        widgets::blockRange(typedValue(fromText), typedValue(toText), v.AddressMask);
    const QString data = fraPageWrite_->data(writeBytes());
    v.PageWritePending = true;
    if (!core::IsHexData(ui, data, true)) return refused();

    const Addressing a = addressing();
    switch (v.PageWriteMode) {
        case kWriteSingleBlock: {
            lstReadView_->empty();
            lstReadView_->show();
            v.ReadViewLines.Clear();
            const widgets::RangeWriteEnd end = widgets::writeBlockRange(
                run, range, [&](std::int32_t block) { WriteSingleBlock(block, data); });
            if (end == widgets::RangeWriteEnd::Abandoned) return;
            if (end == widgets::RangeWriteEnd::Cancelled) {
                lstReadView_->setEnabled(false);
                setAddressBoxesLocked(false);
                fraPageWrite_->setEntryEnabled(true);
                EnableCommandControls(true);
                return;
            }
            lstReadView_->fill(range.from, range.count);
            break;
        }
        case kWriteAfi:
            sendShortCommand(writeAfi(a, data), QStringLiteral("WRITE AFI"));
            break;
        case kWriteDsfid:
            sendShortCommand(writeDsfid(a, data), QStringLiteral("WRITE DSFID"));
            break;
        case kWriteKill:
            sendShortCommand(writeKill(a, data), QStringLiteral("WRITE KILL"));
            break;
        case kKill:
            sendShortCommand(kill(a, data), QStringLiteral("KILL"));
            break;
        case kWriteSectorPassword:
            sendShortCommand(writeSectorPassword(a, user_->passwordNumber(), data),
                             QStringLiteral("WRITE SECTOR PASSWORD"));
            break;
        case kLockSectorPassword:
            sendShortCommand(lockSectorPassword(a, range.from, v.AddressByteCount, data),
                             QStringLiteral("LOCK SECTOR PASSWORD"));
            break;
        case kPresentPassword:
            sendShortCommand(presentPassword(a, user_->passwordNumber(), data),
                             QStringLiteral("PRESENT PASSWORD"));
            break;
        default:
            break;
    }
    if (run.pumpEnds(2)) return;
    v.PageWritePending = true;
    fraPageWrite_->setEntryEnabled(true);
    fraPageWrite_->hide();
    fraPageWrite_->resetFill();
    setAddressBoxesLocked(false);
    EnableCommandControls(true);
}

void Iso15693Window::cmdCancelWriteTest_Click() {
    core::ProgramValues& v = ctx().values;
    v.PageWritePending = false;
    fraPageWrite_->hide();
    fraPageWrite_->resetFill();
    v.AutoLoopEnabled = false;
    inventory_->chkUserLoop->setChecked(false);
    EnableCommandControls(true);
    setAddressBoxesLocked(false);
}

void Iso15693Window::cboPageSize_Click() {
    fraPageWrite_->hide();
    fraPageWrite_->resetFill();
    lstReadView_->hide();
}

// ---- Locks ----------------------------------------------------------------------------------

void Iso15693Window::LockBlock(std::int32_t block) {
    sendShortCommand(lockBlock(addressing(), block, ctx().values.AddressByteCount),
                     QStringLiteral("LOCK"));
}

void Iso15693Window::runLock(LockRun which) {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    tagInfo_->lblLoopCount->clear();
    BlockRunLock lock(run, controls_, nullptr, blockRunExtras_);
    core::ProgramValues& v = ctx().values;
    const auto range = checkedRange();
    if (!range) {
        setAddressBoxesLocked(false);
        return;
    }
    v.PageWritePending = true;
    switch (which) {
        case LockRun::Afi:
            sendShortCommand(lockAfi(addressing()), QStringLiteral("LOCK AFI"));
            if (run.pumpEnds()) return;
            break;
        case LockRun::Dsfid:
            sendShortCommand(lockDsfid(addressing()), QStringLiteral("LOCK DSFID"));
            if (run.pumpEnds()) return;
            break;
        case LockRun::Block: {
            // "to" is masked as "from" is: the walk ends after the range's count of blocks.
            std::int32_t block = range->from;
            for (std::int32_t i = 0; i < range->count && v.PageWritePending; ++i) {
                LockBlock(block);
                if (run.pumpEnds()) return;
                if (block == range->to) v.PageWritePending = false;
                block = range->next(block);
            }
            break;
        }
    }
    if (run.pumpEnds()) return;
    setAddressBoxesLocked(false);
}

// The kill code locked, and nothing else: no block is locked and the address boxes play
// no part (a walk over them would make the tag read-only for good).
void Iso15693Window::cmdLockKill_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    tagInfo_->lblLoopCount->clear();
    BlockRunLock lock(run, controls_, nullptr, blockRunExtras_);
    sendShortCommand(lockKill(addressing()), QStringLiteral("LOCK KILL"));
    (void)run.pumpEnds();
}

// ---- Kill, passwords and energy harvesting ------------------------------------------------

void Iso15693Window::sendShortCommand(const std::string& request, const QString& title) {
    showShortResult(link_.send(request, title, false));
}

void Iso15693Window::ehRead(bool checkEnable) {
    core::RunScope run(*this);
    if (!run.started()) return;
    const Addressing a = addressing();
    const Exchange x = checkEnable
                           ? link_.send(checkEhEnable(a), QStringLiteral("CHECK EH ENABLE"), false)
                           : link_.send(readEhConfig(a), QStringLiteral("READ EH CONFIG"), false);
    if (const auto shown = ehReadResult(x.tag)) {
        (checkEnable ? user_->txtCheckEHenable : user_->txtEHstatus)->setText(*shown);
    }
    (void)run.pumpEnds();
}

void Iso15693Window::ehWrite(const QString& title,
                             const std::function<std::string(const QString&)>& request,
                             widgets::HexEntryBox* box) {
    core::RunScope run(*this);
    if (!run.started()) return;
    QString byte;
    if (box) {
        box->commit();
        byte = box->text();
        // A write without its byte would have the tag take whatever follows for it.
        if (!core::IsHexData(ctx().ui(), byte, true)) return;
    }
    sendShortCommand(request(byte), title);
    (void)run.pumpEnds();
}

}  // namespace iso15693
