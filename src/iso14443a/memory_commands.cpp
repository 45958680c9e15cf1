// The memory commands of the ISO14443-A window: Read, the page-write set-ups, the Write
// run with its four writers, Cancel, and the command controls they switch.

#include <QLineEdit>
#include <QPushButton>

#include "core/app_context.hpp"
#include "core/busy_pointer.hpp"
#include "core/hex_checks.hpp"
#include "core/run_guard.hpp"
#include "iso14443a/analysis_panel.hpp"
#include "iso14443a/answers.hpp"
#include "iso14443a/flag_editor.hpp"
#include "iso14443a/iso14443a_window.hpp"
#include "iso14443a/memory_panel.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/hex_text.hpp"
#include "transceiver/iso14443a_answers.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/memory_view.hpp"
#include "widgets/page_write_panel.hpp"

namespace iso14443a {

namespace {

using core::BoardSetup;
using transceiver::toLatin1;

const QString kTitleRead = QStringLiteral("ISO14443-A READ");
const QString kTitleTopazRead = QStringLiteral("ISO14443-A TOPAZ READ");
const QString kTitleWrite = QStringLiteral("ISO14443-A WRITE");
const QString kTitleCompatibilityWrite = QStringLiteral("ISO14443-A COMPATIBILITY WRITE");
const QString kTitleTopazWriteErase = QStringLiteral("ISO14443-A TOPAZ WRITE_E");
const QString kTitleTopazWriteNoErase = QStringLiteral("ISO14443-A TOPAZ WRITE_NE");

// What one READ returns, as the reader reports it.
constexpr int kBytesPerRead = 16;
// The highest address a one-byte address field carries.
constexpr std::uint32_t kHighestOneByteAddress = 0xFF;

struct WriteSetup {
    const char* byteCount;
    const char* caption;
};
WriteSetup setupOf(PageWrite write) {
    switch (write) {
        case PageWrite::Write:
            return {"4", "Write"};
        case PageWrite::CompatibilityWrite:
            return {"16", "Write Compatibility"};
        case PageWrite::TopazWriteErase:
        case PageWrite::TopazWriteNoErase:
            break;
    }
    return {"1", "Write"};
}

}  // namespace

void Iso14443aWindow::EnableCommandControls(bool enabled) {
    controls_.EnableCommandControls(enabled);
}

std::optional<std::uint8_t> Iso14443aWindow::typedAddress() {
    core::Ui& ui = ctx().ui();
    if (!core::IsMemoryAddress(ui, memory_->address(0)->text(), ctx().values)) return std::nullopt;
    if (!core::IsMemoryAddress(ui, memory_->address(1)->text(), ctx().values)) return std::nullopt;
    const std::uint32_t address = transceiver::hexValue(toLatin1(memory_->address(0)->text()));
    // A memory larger than one address byte reaches cannot be read or written by these
    // commands: the byte sent would name another page.
    if (address > kHighestOneByteAddress) {
        ui.messageBox(core::kInvalidAddressText, core::kInvalidAddressTitle,
                      core::MsgIcon::Exclamation, core::MsgButtons::Ok);
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(address);
}

// ---- Read ---------------------------------------------------------------------------

void Iso14443aWindow::readClicked() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    core::ProgramValues& v = ctx().values;
    memory_->commitAddresses();
    core::BusyPointer busy(ctx().ui());
    core::CommandLock lock(run, controls_, memory_->stopButton());
    widgets::PageWritePanel* panel = memory_->pageWrite();
    widgets::MemoryView* view = memory_->view();
    panel->hide();
    panel->resetFill();
    v.PageWriteMode = 0;
    memory_->lockAddresses(true);

    const std::optional<std::uint8_t> from = typedAddress();
    if (!from) {
        memory_->lockAddresses(false);
        if (view->isVisible()) view->setEnabled(true);
        return;
    }
    const QString shown = transceiver::HexPad(*from, 2);
    memory_->address(0)->setText(shown);
    memory_->address(1)->setText(shown);
    const bool topaz = topazMode();
    view->empty();
    view->show();
    const int read = topaz ? TopazReadBytes(run, *from, 1)
                           : ReadBlockRange(run, *from, 1, v.SelectedProduct.PageSize);
    if (run.mustEnd()) return;
    memory_->lockAddresses(false);
    if (read <= 0) {
        view->setEnabled(false);
        return;
    }
    view->fill(*from, topaz ? 1 : kPagesPerRead);
    view->setEnabled(true);
}

int Iso14443aWindow::ReadBlockRange(core::RunScope& run, std::uint8_t from, int count,
                                    int pageSize) {
    core::ProgramValues& v = ctx().values;
    v.ReadViewLines.Clear();
    startCommand(transceiver::kFlagWithCrc);
    int n = 0;
    auto address = from;
    for (int i = 0; i < count; ++i) {
        const Exchanged e =
            ExchangeFrame(transceiver::readRequest(address), modeSetup(), kTitleRead);
        ShowAnswerAnalysis(e);
        for (const QString& item : readPageItems(e.text, e.status, pageSize)) {
            v.ReadViewLines.AddItem(item);
        }
        n = kBytesPerRead;
        if (run.pumpEnds()) return -1;
        ++address;
        if (v.StopRequested) return -1;
    }
    return n;
}

int Iso14443aWindow::TopazReadBytes(core::RunScope& run, std::uint8_t from, int count) {
    core::ProgramValues& v = ctx().values;
    v.ReadViewLines.Clear();
    startCommand(transceiver::kFlagTopaz);
    int n = 0;
    auto address = from;
    for (int i = 0; i < count; ++i) {
        const std::string request =
            transceiver::topazReadRequest(address, toLatin1(topazUid_->text()));
        const Exchanged e = ExchangeFrame(request, BoardSetup::Topaz, kTitleTopazRead);
        ShowTopazAnswerAnalysis(e);
        v.ReadViewLines.AddItem(topazReadItem(e.text, e.status));
        ++n;
        if (run.pumpEnds()) return -1;
        ++address;
        if (v.StopRequested) return -1;
    }
    return n;
}

// ---- Page writes ----------------------------------------------------------------------

void Iso14443aWindow::writeSetupClicked(PageWrite write) {
    const WriteSetup s = setupOf(write);
    memory_->pageSizeBox()->setText(QString::fromLatin1(s.byteCount));
    memory_->commitAddresses();
    EnableCommandControls(false);
    if (!typedAddress()) {
        EnableCommandControls(true);
        return;
    }
    ctx().values.PageWriteMode = static_cast<std::int16_t>(write);
    memory_->address(0)->setReadOnly(true);
    memory_->address(1)->setReadOnly(false);
    widgets::PageWritePanel* panel = memory_->pageWrite();
    panel->writeButton()->setText(QString::fromLatin1(s.caption));
    panel->ShowPageWritePanel(memory_->pageSizeBox()->text().toInt());
    memory_->view()->setEnabled(false);
    panel->resetFill();
    panel->show();
    panel->raise();
    panel->row(0)->setFocus();
}

void Iso14443aWindow::writeClicked() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    core::ProgramValues& v = ctx().values;
    widgets::PageWritePanel* panel = memory_->pageWrite();
    widgets::MemoryView* view = memory_->view();
    {
        core::BusyPointer busy(ctx().ui());
        EnableCommandControls(false);
        panel->setEntryEnabled(false);
        const int byteCount = memory_->pageSizeBox()->text().toInt();
        const QString data = panel->data(byteCount);
        v.PageWritePending = true;
        const std::optional<std::uint8_t> address =
            core::IsHexData(ctx().ui(), data, true) ? typedAddress() : std::nullopt;
        if (!address) {
            // The panel stays open for a correction or for Cancel.
            panel->setEntryEnabled(true);
            return;
        }
        view->empty();
        view->show();
        v.ReadViewLines.Clear();

        const auto write = static_cast<PageWrite>(v.PageWriteMode);
        bool stays = false;
        switch (write) {
            case PageWrite::Write:
                stays = WritePage(run, *address, data);
                break;
            case PageWrite::TopazWriteErase:
            case PageWrite::TopazWriteNoErase:
                stays = TopazWrite(run, write, *address, data);
                break;
            case PageWrite::CompatibilityWrite:
            default:
                stays = CompatibilityWrite(run, *address, data);
                break;
        }
        if (!stays || run.pumpEnds()) return;
        // The write's result line, on a view the user can read (the set-up switched it
        // off under the panel).
        view->fill(*address, 1);
        view->setEnabled(true);
    }
    panel->hide();
    memory_->lockAddresses(false);
    EnableCommandControls(true);
}

void Iso14443aWindow::cancelClicked() {
    core::ProgramValues& v = ctx().values;
    v.PageWritePending = false;
    memory_->pageWrite()->hide();
    memory_->pageWrite()->resetFill();
    v.AutoLoopEnabled = false;
    EnableCommandControls(true);
    memory_->lockAddresses(false);
}

bool Iso14443aWindow::WritePage(core::RunScope& run, std::uint8_t address, const QString& data) {
    startCommand(transceiver::kFlagWithCrc);
    const Exchanged e =
        ExchangeFrame(transceiver::writeRequest(address, toLatin1(data)), modeSetup(), kTitleWrite);
    ctx().values.ReadViewLines.AddItem(pageWriteAccepted(e.text, e.status) ? kWriteOkItem
                                                                           : kWriteErrorItem);
    return !run.pumpEnds();
}

bool Iso14443aWindow::CompatibilityWrite(core::RunScope& run, std::uint8_t address,
                                         const QString& data) {
    startCommand(transceiver::kFlagWithCrc);
    // The tag's answer to the address is shown and logged; the data go whatever it was.
    ExchangeFrame(transceiver::compatibilityWriteRequest(address), modeSetup(),
                  kTitleCompatibilityWrite);
    // The data, in the same log entry: only the tag's answer to them decides.
    const Exchanged e = widgets::exchangeTagFrameContinued(
        exchangeTarget(modeSetup()), transceiver::compatibilityWriteDataRequest(toLatin1(data)));
    ctx().values.ReadViewLines.AddItem(pageWriteAccepted(e.text, e.status) ? kWriteOkItem
                                                                           : kWriteErrorItem);
    return !run.pumpEnds();
}

bool Iso14443aWindow::TopazWrite(core::RunScope& run, PageWrite write, std::uint8_t address,
                                 const QString& data) {
    const bool erase = write == PageWrite::TopazWriteErase;
    startCommand(transceiver::kFlagTopaz);
    const std::string request = transceiver::topazWriteRequest(
        erase ? transceiver::TopazWrite::Erase : transceiver::TopazWrite::NoErase, address,
        toLatin1(data), toLatin1(topazUid_->text()));
    const Exchanged e = ExchangeFrame(request, BoardSetup::Topaz,
                                      erase ? kTitleTopazWriteErase : kTitleTopazWriteNoErase);
    const bool accepted = topazWriteAccepted(e.text, e.status);
    if (accepted) ShowTopazAnswerAnalysis(e);
    ctx().values.ReadViewLines.AddItem(accepted ? kWriteOkItem : kWriteErrorItem);
    return !run.pumpEnds();
}

}  // namespace iso14443a
