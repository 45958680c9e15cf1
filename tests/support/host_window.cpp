#include "host_window.hpp"

#include "core/app_context.hpp"
#include "core/busy_pointer.hpp"
#include "core/log_entry.hpp"
#include "core/reconnect.hpp"
#include "reader/answer_buffer.hpp"
#include "transceiver/hex_text.hpp"

namespace testsupport {

using core::RunScope;

HostWindow::HostWindow(core::AppContext& ctx, core::WindowKind kind)
    : ToolWindow(ctx, kind),
      cmdReadUser(new QPushButton(QStringLiteral("Read"), this)),
      cmdOther(new QPushButton(QStringLiteral("Other"), this)),
      cmdStopCommand(new QPushButton(QStringLiteral("STOP"), this)),
      cmdPoll(new QPushButton(QStringLiteral("Poll"), this)),
      chkUserLoop(new QCheckBox(QStringLiteral("AUTO LOOP"), this)),
      txtLOOPnumber(new widgets::HexEntryBox(ctx, widgets::HexEntryBox::Kind::Count, this)),
      lblLOOPnumber(new QLabel(QStringLiteral("0 for infinty loop"), this)),
      lblLoopCount(new QLabel(this)),
      chkLoop(new QCheckBox(QStringLiteral("Loop"), this)),
      rtfLog(new widgets::LogView(this)),
      log(ctx),
      controls(ctx.values, core::CommandControls::StopFlag::Clears) {
    controls.setControls({cmdReadUser, cmdOther});
    connect(cmdReadUser, &QPushButton::clicked, this, &HostWindow::readUser);
    connect(cmdPoll, &QPushButton::clicked, this, &HostWindow::pollLoop);
    connect(cmdStopCommand, &QPushButton::clicked, this,
            [this] { controls.stopClicked(cmdStopCommand); });
    connect(chkUserLoop, &QCheckBox::toggled, this, [this](bool on) {
        this->ctx().values.AutoLoopEnabled = on;
        txtLOOPnumber->setVisible(on);
        lblLOOPnumber->setVisible(on);
    });
    connect(chkLoop, &QCheckBox::toggled, this,
            [this](bool on) { this->ctx().values.ReqBLoopEnabled = on; });
}

void HostWindow::load() {
    log.attach(rtfLog);
    cmdStopCommand->hide();
    txtLOOPnumber->setText(QStringLiteral("0"));
    txtLOOPnumber->hide();
    lblLOOPnumber->hide();
    ctx().values.ReqBLoopEnabled = false;
}

void HostWindow::unload() {
    ++unloads;
    ctx().values.AutoLoopEnabled = false;
    ctx().values.ReqBLoopEnabled = false;
}

HostWindow::End HostWindow::readBlockRange(RunScope& run) {
    for (int block = firstBlock; block <= lastBlock; ++block) {
        const std::string request = "0220" + transceiver::HexPad(block, 2).toStdString();
        reader::AnswerBuffer answer;
        core::callWithReconnect(ctx(), core::BoardSetup::Iso15693,
                                core::OnUnreachable::ReconnectAndRepeat,
                                reader::ReaderFunction::SendReceive, request, answer);
        log.appendTitled(QStringLiteral("READ SINGLE BLOCK"), QLatin1String(core::kLogSendRecv),
                         QString::fromStdString(request), QString::fromLatin1(answer.text()));
        blocksRead.push_back(block);
        if (afterBlock) afterBlock(block);
        if (run.pumpEnds()) return End::Abandoned;
        if (ctx().values.StopRequested) {
            ctx().values.StopRequested = false;
            return End::Stopped;
        }
    }
    return End::Completed;
}

void HostWindow::readUser() {
    RunScope run(*this, RunScope::Start::Exclusive);
    if (!run.started()) {
        lastEnd = End::Refused;
        return;
    }
    core::CommandLock lock(run, controls, cmdStopCommand);
    core::BusyPointer busy(ctx().ui());
    lblLoopCount->setText(ctx().values.AutoLoopEnabled ? QStringLiteral("1") : QString());
    const core::CountedLoopControls loop{chkUserLoop, txtLOOPnumber, lblLOOPnumber, lblLoopCount};
    for (;;) {
        counterAtPass.push_back(lblLoopCount->text());
        const End end = readBlockRange(run);
        if (end != End::Completed) {
            lastEnd = end;
            return;
        }
        core::advanceCountedLoop(loop, ctx().values.AutoLoopEnabled);
        if (run.pumpEnds()) {
            lastEnd = End::Abandoned;
            return;
        }
        if (!ctx().values.AutoLoopEnabled) break;
    }
    lastEnd = End::Completed;
}

void HostWindow::pollLoop() {
    RunScope run(*this);
    do {
        reader::AnswerBuffer answer;
        core::callWithReconnect(ctx(), core::BoardSetup::Iso14443B,
                                core::OnUnreachable::ReconnectAndRepeat,
                                reader::ReaderFunction::SendReceive, "050008", answer);
        log.appendTitled(QStringLiteral("REQB"), QLatin1String(core::kLogSendRecv),
                         QStringLiteral("050008"), QString::fromLatin1(answer.text()));
        ++cycles;
        if (afterCycle) afterCycle(cycles);
        // The loops' long pass count: a short timed pause, not a burst of passes.
        if (run.pumpEnds(10001)) {
            lastEnd = End::Abandoned;
            return;
        }
    } while (ctx().values.ReqBLoopEnabled);
    lastEnd = End::Completed;
}

}  // namespace testsupport
