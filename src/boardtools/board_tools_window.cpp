#include "boardtools/board_tools_window.hpp"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <optional>

#include "boardtools/board_tools_logic.hpp"
#include "boardtools/log_edit_box.hpp"
#include "core/app_context.hpp"
#include "core/board_calls.hpp"
#include "core/log_entry.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "core/status_bar.hpp"
#include "transceiver/board_answers.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/call_button.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace boardtools {

namespace {

using reader::ReaderFunction;

// Every tool button but the register write first lets the user's queued clicks run.
constexpr int kPausePasses = 1000;

// Row tops inside the tools frame, in a revision-5 layout.
constexpr int kPinStateTop = 3600;
constexpr int kRegisterTop = 4560;
constexpr int kRawCommandTop = 5880;

constexpr int kButtonHeight = 375;
constexpr int kBoxHeight = 315;

enum class Retry { Never, On5, On5Or1 };
enum class Shown { Answer, StatusNumber };
// When the button lets pending events run once more before its log entry.
enum class ExtraPass { UnlessDone, UnlessStatusOk, Never };

using transceiver::fromLatin1;
using widgets::showCallAnswer;

}  // namespace

struct BoardToolsWindow::ToolSpec {
    widgets::CallButtonNames names;
    ReaderFunction function;
    Retry retry;
    Shown shown;
    ExtraPass pass;
    const char* logName;
    int left, top, buttonWidth, boxLeft, boxWidth;  // twips, inside the tools frame
};

const BoardToolsWindow::ToolSpec& BoardToolsWindow::specOf(Tool tool) {
    using F = ReaderFunction;
    static const ToolSpec specs[] = {
        {{"cmdGetMCUrevision", "Get MCU revision", "txtGetMCUrevisionAnswer"},
         F::GetMcuRev,
         Retry::On5Or1,
         Shown::Answer,
         ExtraPass::UnlessDone,
         "TQ73RNDLL_GETMCUREV",
         120,
         360,
         1800,
         2000,
         1500},
        {{"cmdGetDLLrevision", "Get DLL revision", "txtGetDLLrevisionAnswer"},
         F::GetDllRev,
         Retry::Never,
         Shown::Answer,
         ExtraPass::UnlessStatusOk,
         "TQ73RNDLL_GETDLLREV",
         120,
         840,
         1800,
         2000,
         1500},
        {{"cmdFieldOff", "Field Off", "txtFieldOffAnswer"},
         F::FieldOff,
         Retry::On5,
         Shown::Answer,
         ExtraPass::UnlessDone,
         "TQ73RNDLL_FIELDOFF",
         4800,
         360,
         1800,
         6700,
         2460},
        {widgets::kEchoButton, core::kEchoCall.function, Retry::On5, Shown::Answer,
         ExtraPass::UnlessDone, core::kEchoCall.logName, 4800, 840, 1800, 6700, 2460},
        {{"cmdDEMO_USB_Connect", "DEMO-TQ73RN-A USB Connect", "txtUSBConnectStatus"},
         F::UsbConnect,
         Retry::Never,
         Shown::StatusNumber,
         ExtraPass::Never,
         "TQ73RNDLL_USB_CONNECT",
         120,
         1440,
         3300,
         3520,
         900},
        {{"cmd_USBhandlecheck", "DEMO-TQ73RN-A USB Handle Check", "txtUSBHandleCheckStatus"},
         F::UsbHandleCheck,
         Retry::Never,
         Shown::StatusNumber,
         ExtraPass::Never,
         "TQ73RNDLL_USB_HANDLE_CHECK",
         4800,
         1440,
         3600,
         8500,
         700},
        {{"cmdGetIDn", "IDn", "txtIDnAnswer"},
         F::Idn,
         Retry::On5,
         Shown::Answer,
         ExtraPass::UnlessDone,
         "TQ73RNDLL_IDN",
         120,
         2160,
         1800,
         2000,
         4580},
        {{"cmdResetSPI", "Reset SPI", "txtResetSequenceAnswer"},
         F::ResetSpi,
         Retry::On5,
         Shown::Answer,
         ExtraPass::UnlessDone,
         "TQ73RNDLL_RESET_SPI",
         120,
         2640,
         1800,
         2000,
         2420},
        {widgets::kIrqPulseButton, core::kIrqPulseCall.function, Retry::On5, Shown::Answer,
         ExtraPass::UnlessDone, core::kIrqPulseCall.logName, 4800, 2640, 2600, 7500, 1700},
        {{"cmdPollingReading", "Polling + reading", "txtPollingReadingAnswer"},
         F::PollingReading,
         Retry::On5,
         Shown::Answer,
         ExtraPass::UnlessDone,
         "TQ73RNDLL_POLLING_READING",
         120,
         3120,
         1800,
         2000,
         2420},
        {widgets::kNssPulseButton, core::kNssPulseCall.function, Retry::On5, Shown::Answer,
         ExtraPass::UnlessDone, core::kNssPulseCall.logName, 4800, 3120, 2600, 7500, 1700},
        // Placed inside its own group.
        {{"cmdGetInterfacePinState", "Get interface pin state", "txtGetInterfacePinStateAnswer"},
         F::GetInterfacePinState,
         Retry::On5,
         Shown::Answer,
         ExtraPass::UnlessDone,
         "TQ73RNDLL_GET_INTERFACE_PIN_STATE",
         120,
         240,
         2400,
         2640,
         1500},
    };
    return specs[static_cast<int>(tool)];
}

int BoardToolsWindow::px(int twips) const { return widgets::twipsToPixels(this, twips); }

BoardToolsWindow::BoardToolsWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::BoardTools, parent), log_(ctx) {
    setObjectName(QStringLiteral("frmTQ73RN_DemoKit_tools"));
    setWindowTitle(QString::fromLatin1(kBoardToolsCaption));
    build();
}

BoardToolsWindow::~BoardToolsWindow() = default;

QSize BoardToolsWindow::sizeHint() const {
    return {px(9735), px(boardtools::layoutFor(ctx().values.DllRevisionNumber).windowHeight)};
}

QPushButton* BoardToolsWindow::toolButton(QWidget* parent, Tool tool) {
    const ToolSpec& s = specOf(tool);
    widgets::CallButtonPlace place;
    place.left = s.left;
    place.top = s.top;
    place.buttonWidth = s.buttonWidth;
    place.boxLeft = s.boxLeft;
    place.boxWidth = s.boxWidth;
    const widgets::CallButton made =
        widgets::makeCallButton(widgets::WindowBuilder(this), parent, s.names, place);
    const int i = static_cast<int>(tool);
    buttons_[i] = made.button;
    answers_[i] = made.answer;
    connect(made.button, &QPushButton::clicked, this, [this, tool] { toolClicked(tool); });
    return made.button;
}

void BoardToolsWindow::build() {
    const widgets::WindowBuilder b(this);
    auto place = [&b](QWidget* w, const char* name, int left, int top, int width, int height) {
        b.place(w, QLatin1String(name), left, top, width, height);
    };
    auto display = [&b](QWidget* parent, const char* name, int left, int top, int width) {
        return b.display(parent, QLatin1String(name), left, top, width, kBoxHeight);
    };

    fraTools_ = new QGroupBox(this);
    place(fraTools_, "FraDemokitTools", 120, 0, 9375, 6375);
    for (Tool t : {Tool::McuRevision, Tool::DllRevision, Tool::FieldOff, Tool::Echo,
                   Tool::UsbConnect, Tool::UsbHandleCheck, Tool::Idn, Tool::ResetSpi,
                   Tool::IrqPulse, Tool::PollingReading, Tool::NssPulse}) {
        toolButton(fraTools_, t);
    }
    txtMCUrevision_ = display(fraTools_, "txtMCUrevision", 3580, 390, 1000);
    txtDLLrevision_ = display(fraTools_, "txtDLLrevision", 3580, 870, 1000);
    txtIDn_ = display(fraTools_, "txtIDn", 6700, 2190, 2460);

    fraPinState_ = new QGroupBox(fraTools_);
    place(fraPinState_, "FraGetInterfacePinState", 120, kPinStateTop, 9135, 855);
    toolButton(fraPinState_, Tool::PinState);
    pinGroup_ = new QButtonGroup(this);
    static const char* const kPinCaptions[] = {"UART bus", "SPI bus", "TWI"};
    for (int i = 0; i < 3; ++i) {
        auto* o = new QRadioButton(QString::fromLatin1(kPinCaptions[i]), fraPinState_);
        o->setObjectName(QStringLiteral("OptPinState_%1").arg(i));
        o->setGeometry(px(4400), px(60 + 250 * i), px(2000), px(240));
        pinGroup_->addButton(o, i);
        optPinState_[i] = o;
    }
    lowerRows_.emplace_back(fraPinState_, kPinStateTop);

    fraRegister_ = new QGroupBox(fraTools_);
    place(fraRegister_, "FraIso14443AregisterValue", 120, kRegisterTop, 9135, 1215);
    cmdRegister_ = new QPushButton(
        QStringLiteral("Change Modulation depth and Receiver Gain for ISO14443-A"), fraRegister_);
    place(cmdRegister_, "cmdISO14443AchangeRegValue", 120, 120, 5900, kButtonHeight);
    txtRegisterAnswer_ = display(fraRegister_, "txtRegisterValue_Answer", 6140, 150, 2860);
    cboDepth_ = new QComboBox(fraRegister_);
    place(cboDepth_, "cboIso14443AModulationDepth", 120, 570, 1500, kBoxHeight);
    cboGain_ = new QComboBox(fraRegister_);
    place(cboGain_, "cboIso14443AReceiverGain", 1740, 570, 1500, kBoxHeight);
    txtGain_ = display(fraRegister_, "txtISO14443AModDepthReceiverGain", 3360, 570, 500);
    txtGain_->setMaxLength(2);
    auto* warning =
        new QLabel(QStringLiteral("This value will be applied to all ISO14443-A protocol select."),
                   fraRegister_);
    place(warning, "labelIso14443Awarning", 120, 930, 8880, 240);
    lowerRows_.emplace_back(fraRegister_, kRegisterTop);
    connect(cboDepth_, &QComboBox::activated, this, [this] { gainChosen(); });
    connect(cboGain_, &QComboBox::activated, this, [this] { gainChosen(); });
    connect(cmdRegister_, &QPushButton::clicked, this, [this] { changeRegisterValue(); });

    cmdAnyKvCmd_ = new QPushButton(QStringLiteral("Send any KV_Cmd request"), fraTools_);
    place(cmdAnyKvCmd_, "cmdSendAnyKVCmdRequest", 120, kRawCommandTop, 2700, kButtonHeight);
    txtAnyKvCmdRequest_ =
        new widgets::HexEntryBox(ctx(), widgets::HexEntryBox::Kind::Request, fraTools_);
    place(txtAnyKvCmdRequest_, "txtAnyKVCmdRequest", 2940, kRawCommandTop + 30, 3060, kBoxHeight);
    // Red is what the Send button would refuse: blanks pasted between the bytes are not.
    txtAnyKvCmdRequest_->setRefusedWhen([](const QString& text) {
        return boardtools::checkRawCommand(text).verdict != boardtools::RawCommand::Verdict::Send;
    });
    txtAnyKvCmdAnswer_ = display(fraTools_, "txtAnyKVCmdAnswer", 6120, kRawCommandTop + 30, 3120);
    lowerRows_.emplace_back(cmdAnyKvCmd_, kRawCommandTop);
    lowerRows_.emplace_back(txtAnyKvCmdRequest_, kRawCommandTop + 30);
    lowerRows_.emplace_back(txtAnyKvCmdAnswer_, kRawCommandTop + 30);
    connect(cmdAnyKvCmd_, &QPushButton::clicked, this, [this] { sendAnyKvCmd(); });

    fraLog_ = new QGroupBox(this);
    place(fraLog_, "FraDemoKitToolsLog", 120, 6360, 9375, 3135);
    logBox_ = new LogEditBox(ctx().ui(), fraLog_);
    place(logBox_, "rtfTQ73RNDemoKitToolsEdit", 120, 200, 7080, 2800);
    // Narrow tab stops keep an answer on its own line next to its indent.
    logBox_->setTabStopDistance(px(600));
    auto* save = new QPushButton(QStringLiteral("Save Log"), fraLog_);
    place(save, "cmdSaveLog", 7320, 600, 1900, kButtonHeight);
    auto* clear = new QPushButton(QStringLiteral("Clear Log"), fraLog_);
    place(clear, "cmdClearLog", 7320, 1200, 1900, kButtonHeight);
    connect(save, &QPushButton::clicked, this, [this] { log_.save(); });
    connect(clear, &QPushButton::clicked, this, [this] { log_.clear(); });
}

void BoardToolsWindow::placeRows(int lowerRowsShift) {
    for (auto& [w, top] : lowerRows_) w->move(w->x(), px(top - lowerRowsShift));
}

void BoardToolsWindow::load() {
    core::ProgramValues& v = ctx().values;
    const boardtools::Layout layout = boardtools::layoutFor(v.DllRevisionNumber);
    setGeometry(px(100), px(100), px(9735), px(layout.windowHeight));
    for (Tool t : {Tool::PollingReading, Tool::NssPulse, Tool::UsbConnect}) {
        const int i = static_cast<int>(t);
        buttons_[i]->setVisible(layout.revision5Controls);
        answers_[i]->setVisible(layout.revision5Controls);
    }
    fraTools_->resize(fraTools_->width(), px(layout.toolsFrameHeight));
    fraLog_->move(fraLog_->x(), px(layout.logFrameTop));
    placeRows(layout.lowerRowsShift);

    const QString gain = v.DemodGainValue;
    txtGain_->setText(gain);
    const QChar depthDigit = gain.size() >= 1 ? gain[0] : QChar();
    const QChar gainDigit = gain.size() >= 2 ? gain[1] : QChar();
    cboDepth_->clear();
    cboDepth_->addItems(boardtools::modulationDepthItems());
    cboDepth_->setCurrentIndex(
        boardtools::itemWithDigit(boardtools::modulationDepthItems(), depthDigit));
    cboGain_->clear();
    cboGain_->addItems(boardtools::receiverGainItems());
    cboGain_->setCurrentIndex(
        boardtools::itemWithDigit(boardtools::receiverGainItems(), gainDigit));

    log_.attach(logBox_, true);
}

reader::LibraryStatus BoardToolsWindow::DEMO_TQ73RN_A_reconnect_Demokit_tools() {
    return core::DEMO_TQ73RN_A_reconnect(ctx());
}

void BoardToolsWindow::toolClicked(Tool tool) {
    const ToolSpec& spec = specOf(tool);
    core::RunScope run(*this);
    if (!run.started()) return;
    if (tool == Tool::McuRevision) txtMCUrevision_->clear();
    if (tool == Tool::Idn) txtIDn_->clear();
    // Another button clicked meanwhile runs to its end inside this pause.
    if (run.pumpEnds(kPausePasses)) return;

    core::BoardCallResult result;
    if (spec.retry == Retry::On5Or1) {
        // This call reports a lost link with 1 as well as 5, so both lead to a reconnect.
        result = core::callBoard(ctx(), spec.function, core::OnUnreachable::Nothing);
        if (result.status == reader::kStatusOk) {
            core::StatusBarService& bar = ctx().statusBar();
            QString panel = bar.panelText(1);
            panel.replace(QLatin1String(core::kBoardNotConnectedPhrase),
                          QLatin1String(core::kBoardConnectedPhrase));
            bar.setPanelText(1, panel);
        } else if (result.status == reader::kStatusUnreachable || result.status == 1) {
            DEMO_TQ73RN_A_reconnect_Demokit_tools();
            result = core::callBoard(ctx(), spec.function, core::OnUnreachable::Nothing);
        } else if (run.pumpEnds(1)) {
            return;
        }
    } else {
        result = core::callBoard(ctx(), spec.function,
                                 spec.retry == Retry::On5 ? core::OnUnreachable::ReconnectAndRepeat
                                                          : core::OnUnreachable::Nothing);
    }

    QLineEdit* box = answers_[static_cast<int>(tool)];
    const QString& answer = result.answer;
    widgets::showCallAnswer(
        box, spec.shown == Shown::StatusNumber ? QString::number(result.status) : answer);
    const bool done = result.done();
    switch (tool) {
        case Tool::McuRevision:
            if (done) txtMCUrevision_->setText(transceiver::decodeMcuRevisionText(answer));
            break;
        case Tool::DllRevision:
            if (result.status == reader::kStatusOk) txtDLLrevision_->setText(answer);
            break;
        case Tool::Idn:
            if (done) txtIDn_->setText(boardtools::identificationText(answer));
            break;
        case Tool::PinState:
            showPinState(done ? boardtools::pinStateOption(answer).value_or(-1) : -1);
            break;
        default:
            break;
    }
    const bool extraPass =
        (spec.pass == ExtraPass::UnlessDone && !done) ||
        (spec.pass == ExtraPass::UnlessStatusOk && result.status != reader::kStatusOk);
    if (extraPass && run.pumpEnds(1)) return;
    log_.appendBoardTools(QLatin1String(spec.logName), box->text());
}

void BoardToolsWindow::showPinState(int option) {
    // An exclusive group cannot show "none chosen" on its own.
    pinGroup_->setExclusive(false);
    for (int i = 0; i < 3; ++i) optPinState_[i]->setChecked(i == option);
    pinGroup_->setExclusive(true);
}

void BoardToolsWindow::gainChosen() {
    txtGain_->setText(boardtools::gainFromItems(cboDepth_->currentText(), cboGain_->currentText()));
}

void BoardToolsWindow::changeRegisterValue() {
    core::RunScope run(*this);
    if (!run.started()) return;
    const QString gain = txtGain_->text();
    // Half a setting would reach every later ISO14443-A set-up as a broken register write.
    if (!boardtools::isGainSetting(gain)) return;
    ctx().values.DemodGainValue = gain;
    reader::AnswerBuffer buffer;
    ctx().reader().kvCmd(boardtools::registerWriteRequest(gain), buffer);
    showCallAnswer(txtRegisterAnswer_, fromLatin1(buffer.text()));
    log_.append(
        boardtools::registerLogEntry(ctx().clock().now(), gain, txtRegisterAnswer_->text()));
}

void BoardToolsWindow::sendAnyKvCmd() {
    core::RunScope run(*this);
    if (!run.started() || run.pumpEnds(kPausePasses)) return;
    const boardtools::RawCommand command = boardtools::checkRawCommand(txtAnyKvCmdRequest_->text());
    const QString logName = QLatin1String(core::kLogKvCmdRaw);
    if (command.verdict != boardtools::RawCommand::Verdict::Send) {
        log_.appendBoardTools(logName, command.refusal());
        return;
    }
    // The answer of the command before never stands beside this one while the board works.
    txtAnyKvCmdAnswer_->clear();
    reader::AnswerBuffer buffer;
    ctx().reader().kvCmd(command.request, buffer);
    showCallAnswer(txtAnyKvCmdAnswer_, fromLatin1(buffer.text()));
    log_.appendBoardTools(logName + fromLatin1(command.request), txtAnyKvCmdAnswer_->text());
}

}  // namespace boardtools
