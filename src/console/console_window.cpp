#include "console/console_window.hpp"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "console/generic_panel.hpp"
#include "console/idle_panel.hpp"
#include "console/presets.hpp"
#include "console/protocol_select_panel.hpp"
#include "core/app_context.hpp"
#include "core/board_calls.hpp"
#include "core/hex_checks.hpp"
#include "core/log_entry.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/exchange_row.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"
#include "widgets/window_builder.hpp"

namespace console {

namespace {

using transceiver::fromLatin1;
using transceiver::toLatin1;

// The pause before each exchange: as many event passes as the console's sends let run.
constexpr int kPausePasses = 1000;

// The answer box of a Send that refused its boxes (pasted text gets past the key filters).
std::vector<std::optional<QString>> shownLines(const ExplainLines& lines) {
    std::vector<std::optional<QString>> shown;
    for (const auto& line : lines) {
        shown.push_back(line ? std::optional<QString>(fromLatin1(*line)) : std::nullopt);
    }
    return shown;
}

}  // namespace

// While a console exchange pauses, the user's input reaches only the Send buttons (a
// second Send runs to its end inside the pause); a click on anything else in the
// console would change the boxes that the paused exchange is about to read and show.
class ConsoleWindow::PauseInputFilter : public QObject {
  public:
    PauseInputFilter(ConsoleWindow& window, bool allowSends)
        : window_(window), allowSends_(allowSends) {
        qApp->installEventFilter(this);
    }
    ~PauseInputFilter() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::Wheel:
                break;
            default:
                return false;
        }
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || (w != &window_ && !window_.isAncestorOf(w))) return false;
        const bool isSend = w == window_.generic_->row().sendButton() ||
                            w == window_.protocol_->row().sendButton() ||
                            w == window_.idle_->row().sendButton();
        return !(allowSends_ && isSend && window_.pauseDepth_ < kMaxNestedSends);
    }

  private:
    ConsoleWindow& window_;
    bool allowSends_;
};

ConsoleWindow::ConsoleWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::Console, parent), log_(ctx) {
    setObjectName(QStringLiteral("frmTQ73RN_UserInterface"));
    setWindowTitle(QString::fromLatin1(kConsoleCaption));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    const widgets::WindowBuilder b(this);
    auto* frame2 = b.place(new QGroupBox(this), QStringLiteral("Frame2"), 120, 0, 13095, 9975);
    auto* fraMode =
        b.place(new QGroupBox(frame2), QStringLiteral("fraMode"), 120, 240, 12735, 9615);

    commandList_ = b.place(new QComboBox(fraMode), QStringLiteral("cboTQ73RN_CommandList"), 120,
                           120, 4455, 345);
    // The pick checks the board's handle: one that arrives as the console closes, or as
    // the program quits, does nothing.
    connect(commandList_, &QComboBox::activated, this, [this](int) {
        core::RunScope run(*this);
        if (run.started()) ShowCommandPanel();
    });

    generic_ = new GenericPanel(ctx, b, fraMode);
    protocol_ = new ProtocolSelectPanel(ctx, b, fraMode);
    idle_ = new IdlePanel(ctx, b, fraMode);
    connect(&generic_->row(), &widgets::ExchangeRow::sendClicked, this,
            &ConsoleWindow::sendGeneric);
    connect(&protocol_->row(), &widgets::ExchangeRow::sendClicked, this,
            &ConsoleWindow::sendProtocolSelect);
    connect(&idle_->row(), &widgets::ExchangeRow::sendClicked, this, &ConsoleWindow::sendIdle);
    connect(generic_, &GenericPanel::dataLeft, this, &ConsoleWindow::genericDataLeft);
    connect(generic_, &GenericPanel::writePresetChosen, this,
            [this](int index) { generic_->applyWritePreset(index, state_.SavedArcBValue); });
    for (const IdlePanel::BoardButton& button : idle_->boardButtons()) {
        connect(button.controls.button, &QPushButton::clicked, this,
                [this, &button] { boardCallClicked(button.call, button.controls.answer); });
    }

    logBox_ = b.place(new widgets::LogView(fraMode), QStringLiteral("rtfTQ73RNLogEdit"), 240, 7200,
                      9735, 2295);
    auto* save = b.place(new QPushButton(QStringLiteral("Save Log"), fraMode),
                         QStringLiteral("cmdSaveLog"), 10320, 8640, 2295, 375);
    auto* clear = b.place(new QPushButton(QStringLiteral("Clear Log"), fraMode),
                          QStringLiteral("cmdClearLog"), 10320, 9120, 2295, 375);
    connect(save, &QPushButton::clicked, this, [this] { log_.save(); });
    connect(clear, &QPushButton::clicked, this, [this] { log_.clear(); });
}

ConsoleWindow::~ConsoleWindow() = default;

const ProtocolSelectModel& ConsoleWindow::protocolSelect() const { return protocol_->model(); }

QSize ConsoleWindow::sizeHint() const {
    const widgets::WindowBuilder b(this);
    return {b.px(13425), b.px(10425)};
}

void ConsoleWindow::load() {
    auto& values = ctx().values;
    values.ScriptLoopEnabled = false;
    const widgets::WindowBuilder b(this);
    setGeometry(b.px(100), b.px(100), b.px(13425), b.px(10425));
    log_.attach(logBox_);
    values.SolaChipId = QStringLiteral("00");
    protocol_->hide();

    state_.PreviousCommandText = QString::fromLatin1(kCommandListHeader);
    commandList_->clear();
    for (const char* entry : commandListEntries())
        commandList_->addItem(QString::fromLatin1(entry));
    commandList_->setCurrentIndex(0);
    ShowCommandPanel();

    // The parameter lists, their bits and the saved frames start from the defaults the
    // panels were built with; only the ARC_B value is kept apart.
    state_.SavedFrames = defaultSavedFrames();
    generic_->hideValueCaption();
    state_.SavedArcBValue = QStringLiteral("00");
}

void ConsoleWindow::unload() { ctx().values.ScriptLoopEnabled = false; }

reader::LibraryStatus ConsoleWindow::DEMO_TQ73RN_A_reconnect_UserInterface() {
    return core::DEMO_TQ73RN_A_reconnect(ctx());
}

// ---- Command selection --------------------------------------------------------------

void ConsoleWindow::saveShownCommand() {
    const std::string code = commandCodeOf(toLatin1(state_.PreviousCommandText));
    // Only a generic command's own entry saves: the header and the other panels do not.
    bool isEntry = false;
    for (const char* e : commandListEntries())
        isEntry |= state_.PreviousCommandText == QLatin1String(e);
    const int count = savedBoxCount(code);
    if (!isEntry || count == 0) return;
    SavedFrame& saved = state_.SavedFrames[code];
    const SavedFrame shown = generic_->frameToSave(count, savesData(code));
    saved.boxes = shown.boxes;
    if (savesData(code)) saved.data = shown.data;
}

void ConsoleWindow::ShowCommandPanel() {
    saveShownCommand();
    generic_->reset();
    protocol_->hide();
    protocol_->row().clear();
    idle_->hide();
    idle_->row().clear();

    const QString entry = commandList_->currentText();
    const std::string code = commandCodeOf(toLatin1(entry));
    switch (panelFor(code)) {
        case Panel::Generic:
            generic_->showCommand(code, state_.SavedFrames[code]);
            break;
        case Panel::ProtocolSelect:
            protocol_->show();
            break;
        case Panel::Idle:
            idle_->show();
            break;
        case Panel::None:
            break;
    }
    state_.PreviousCommandText = entry;

    if (ctx().reader().usbHandleCheck() != reader::kStatusOk) {
        DEMO_TQ73RN_A_reconnect_UserInterface();
    }
}

// ---- Handlers -----------------------------------------------------------------------

void ConsoleWindow::genericDataLeft() {
    const std::string code = commandCodeOf(toLatin1(commandList_->currentText()));
    if (code == transceiver::kCmdSendRecv) {
        generic_->setLengthBox(fromLatin1(sendRecvLength(generic_->data())));
    } else if (code == transceiver::kCmdWrReg && generic_->writeRegisterOption() == 1) {
        state_.SavedArcBValue = fromLatin1(generic_->data());
    }
}

void ConsoleWindow::sendGeneric() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox();
    const std::array<std::string, 5> boxes = generic_->boxes();
    const std::string& command = boxes[0];
    sendFrame(
        generic_->row(), genericRequest(boxes, generic_->data(), generic_->writeRegisterOption()),
        generic_->refusedBox(), FailureText::Generic,
        [&command](const std::string& answer) { return decodeGenericAnswer(command, answer); });
}

void ConsoleWindow::sendProtocolSelect() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox();
    sendFrame(protocol_->row(), protocol_->requestText(), protocol_->refusedBox(),
              FailureText::WithStatus,
              [](const std::string& answer) { return decodeProtocolSelectAnswer(answer); });
}

void ConsoleWindow::sendIdle() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox();
    sendFrame(idle_->row(), idleRequest(idle_->boxes()), idle_->refusedBox(),
              FailureText::WithStatus,
              [](const std::string& answer) { return decodeIdleAnswer(answer); });
}

void ConsoleWindow::boardCallClicked(const core::BoardCall& call, QLineEdit* answerBox) {
    // Inside a Send's pause a board call would interleave with the paused exchange.
    if (pauseDepth_ > 0) return;
    core::RunScope run(*this);
    if (!run.started()) return;
    const core::BoardCallResult result =
        core::callBoard(ctx(), call.function, core::OnUnreachable::ReconnectAndRepeat);
    widgets::showCallAnswer(answerBox, result.answer);
    if (!result.done()) {
        ++pauseDepth_;
        PauseInputFilter filter(*this, false);
        const bool ends = run.pumpEnds(1);
        --pauseDepth_;
        if (ends) return;
    }
    log_.appendUntitled(QString::fromLatin1(call.logName), answerBox->text());
}

// ---- The shared send path -----------------------------------------------------------

void ConsoleWindow::sendFrame(widgets::ExchangeRow& row, const std::string& request,
                              const QString& refusedBox, FailureText failure,
                              const Explain& explain) {
    row.clearForExchange();
    if (!refusedBox.isEmpty()) {
        // No frame was sent, so the request box stays empty and the entry has no request.
        ctx().ui().beep();
        row.showAnswer(core::notHexRefusalText(refusedBox));
        row.showExplanations({});
        log_.appendUntitled(QString::fromLatin1(core::kLogKvCmdRaw), QString(), row.answer());
        return;
    }
    row.showRequest(fromLatin1(request.substr(2)));
    Exchange ex;
    if (!exchange(request, ex)) {
        row.showExplanations({});
        return;
    }
    const AnswerVerdict verdict = judgeAnswer(ex.status, ex.answer, ex.hadNul, failure);
    row.showAnswer(fromLatin1(verdict.answerBox));
    row.showExplanations(verdict.decode ? shownLines(explain(ex.answer))
                                        : std::vector<std::optional<QString>>{});
    log_.appendUntitled(QString::fromLatin1(core::kLogKvCmdRaw), fromLatin1(request), row.answer());
}

void ConsoleWindow::commitFocusedBox() {
    auto* box = qobject_cast<widgets::HexEntryBox*>(QApplication::focusWidget());
    if (box && isAncestorOf(box)) box->commit();
}

bool ConsoleWindow::exchange(const std::string& request, Exchange& out) {
    const std::string sent = transceiver::withoutBlanks(request);
    core::RunScope run(*this);
    {
        ++pauseDepth_;
        PauseInputFilter filter(*this, true);
        const bool ends = run.pumpEnds(kPausePasses);
        --pauseDepth_;
        if (ends) return false;
    }
    auto buffer = reader::AnswerBuffer::blanks();
    out.status = core::callWithReconnect(
        ctx(), core::BoardSetup::None, core::OnUnreachable::ReconnectAndRepeat, buffer,
        [&](reader::AnswerBuffer& a) { return ctx().reader().kvCmd(sent, a); });
    out.hadNul = buffer.hasNul();
    out.answer = buffer.text();
    return !run.mustEnd();
}

}  // namespace console
