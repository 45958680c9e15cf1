#include "console/console_window.hpp"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include "console/answer_decoder.hpp"
#include "console/presets.hpp"
#include "core/app_context.hpp"
#include "core/log_entry.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "transceiver/frames.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace console {

using widgets::HexEntryBox;

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

std::string latin1(const QString& s) { return s.toLatin1().toStdString(); }
QString qs(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<int>(s.size()));
}

// The pause before each exchange: as many event passes as the console's sends let run.
constexpr int kPausePasses = 1000;

// Byte row of the generic panel.
int xxBoxLeft(int i) { return 1680 + 600 * i; }
constexpr int kXXRowTop = 1200;
int xxLabelTop(int i) { return 1680 + 240 * (4 - i); }

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
        const bool isSend = w == window_.sendXX_ || w == window_.send02_ || w == window_.send07_;
        return !(allowSends_ && isSend);
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
    connect(commandList_, &QComboBox::activated, this, [this](int) { ShowCommandPanel(); });

    buildGenericPanel(fraMode);
    buildProtocolPanel(fraMode);
    buildIdlePanel(fraMode);

    logBox_ =
        b.place(new QTextEdit(fraMode), QStringLiteral("rtfTQ73RNLogEdit"), 240, 7200, 9735, 2295);
    auto* save = b.place(new QPushButton(QStringLiteral("Save Log"), fraMode),
                         QStringLiteral("cmdSaveLog"), 10320, 8640, 2295, 375);
    auto* clear = b.place(new QPushButton(QStringLiteral("Clear Log"), fraMode),
                          QStringLiteral("cmdClearLog"), 10320, 9120, 2295, 375);
    connect(save, &QPushButton::clicked, this, [this] { log_.save(); });
    connect(clear, &QPushButton::clicked, this, [this] { log_.clear(); });
}

ConsoleWindow::~ConsoleWindow() = default;

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
    fraProtocol_->hide();

    PreviousCommandText = QString::fromLatin1(kCommandListHeader);
    commandList_->clear();
    for (const char* entry : commandListEntries())
        commandList_->addItem(QString::fromLatin1(entry));
    commandList_->setCurrentIndex(0);
    ShowCommandPanel();

    // The parameter lists, their bits and the saved frames start from the defaults the
    // panels were built with; only the ARC_B value is kept apart.
    savedFrames_ = defaultSavedFrames();
    dataLabel09_->hide();
    dataLine09_->hide();
    SavedArcBValue = QStringLiteral("00");
}

void ConsoleWindow::unload() { ctx().values.ScriptLoopEnabled = false; }

reader::LibraryStatus ConsoleWindow::DEMO_TQ73RN_A_reconnect_UserInterface() {
    return core::DEMO_TQ73RN_A_reconnect(ctx());
}

// ---- Command selection --------------------------------------------------------------

void ConsoleWindow::saveShownCommand() {
    const std::string code = commandCodeOf(latin1(PreviousCommandText));
    // Only a generic command's own entry saves: the header and the other panels do not.
    bool isEntry = false;
    for (const char* e : commandListEntries()) isEntry |= PreviousCommandText == QLatin1String(e);
    const int count = savedBoxCount(code);
    if (!isEntry || count == 0) return;
    SavedFrame& saved = savedFrames_[code];
    saved.boxes.resize(at(count));
    for (int i = 0; i < count; ++i) saved.boxes[at(i)] = latin1(xxFrame_[at(i)]->text());
    if (savesData(code)) saved.data = latin1(xxData_->text());
}

void ConsoleWindow::ShowCommandPanel() {
    saveShownCommand();

    fraGeneric_->hide();
    xxRequest_->clear();
    xxAnswer_->clear();
    for (auto* e : xxExplain_) {
        e->hide();
        e->clear();
    }
    fraBaud_->hide();
    for (int i = 1; i < 5; ++i) {
        xxFrame_[at(i)]->hide();
        xxLines_[at(i)].vertical->hide();
        xxLines_[at(i)].horizontal->hide();
        xxLabel_[at(i)]->hide();
    }
    xxData_->hide();
    fraCmd08_->hide();
    fraCmd09_->hide();
    dataLabel09_->hide();
    dataLine09_->hide();
    fraProtocol_->hide();
    request02_->clear();
    answer02_->clear();
    for (auto* e : explain02_) {
        e->hide();
        e->clear();
    }
    fraIdle_->hide();
    request07_->clear();
    answer07_->clear();
    for (auto* e : explain07_) {
        e->hide();
        e->clear();
    }
    uartNote_->hide();
    for (auto* box : xxFrame_) box->setReadOnly(true);

    const QString entry = commandList_->currentText();
    const std::string code = commandCodeOf(latin1(entry));
    switch (panelFor(code)) {
        case Panel::Generic:
            showGenericCommand(code);
            break;
        case Panel::ProtocolSelect:
            fraProtocol_->show();
            break;
        case Panel::Idle:
            fraIdle_->show();
            break;
        case Panel::None:
            break;
    }
    PreviousCommandText = entry;

    if (ctx().reader().usbHandleCheck() != reader::kStatusOk) {
        DEMO_TQ73RN_A_reconnect_UserInterface();
    }
}

void ConsoleWindow::showGenericCommand(const std::string& code) {
    const GenericLayout& layout = *genericLayout(code);
    const SavedFrame& saved = savedFrames_[code];
    const widgets::WindowBuilder b(this);
    fraGeneric_->show();
    genericTitle_->setText(QString::fromLatin1(layout.title));
    for (std::size_t i = 0; i < layout.boxCaptions.size(); ++i) {
        xxFrame_[i]->show();
        xxFrame_[i]->setText(i < saved.boxes.size() ? qs(saved.boxes[i]) : QString());
        xxLines_[i].vertical->show();
        xxLines_[i].horizontal->show();
        xxLabel_[i]->show();
        xxLabel_[i]->setText(QString::fromLatin1(layout.boxCaptions[i]));
        xxLabel_[i]->adjustSize();
    }
    if (layout.writableBox >= 0) xxFrame_[at(layout.writableBox)]->setReadOnly(false);

    switch (layout.data) {
        case DataBoxMode::Hidden:
            break;
        case DataBoxMode::SendRecv:
            xxLines_[2].vertical->show();
            xxLines_[2].horizontal->show();
            xxLabel_[2]->show();
            xxLabel_[2]->setText(QString::fromLatin1(kSendRecvDataCaption));
            xxLabel_[2]->adjustSize();
            // The box may still hold the ARC_B width: widen it first, or the text is cut.
            xxData_->setMaxLength(kSendRecvDataDigits);
            xxData_->setText(qs(saved.data));
            xxData_->setGeometry(b.px(xxBoxLeft(2)), b.px(kXXRowTop), b.px(4215), b.px(315));
            xxData_->setReadOnly(false);
            xxData_->show();
            break;
        case DataBoxMode::WrReg:
            xxData_->setText(qs(saved.data));
            xxData_->setGeometry(b.px(xxBoxLeft(5)), b.px(kXXRowTop), b.px(495), b.px(315));
            xxData_->setMaxLength(kArcBValueDigits);
            xxData_->setReadOnly(true);
            if (optWrite_[1]->isChecked()) {
                xxData_->show();
                dataLabel09_->show();
                dataLine09_->show();
                xxData_->setReadOnly(false);
            }
            break;
    }
    if (layout.readRegisterPresets) fraCmd08_->show();
    if (layout.writeRegisterPresets) fraCmd09_->show();
    if (layout.baudRateTable) {
        fraBaud_->show();
        uartNote_->show();
    }
}

// ---- Generic panel ------------------------------------------------------------------

void ConsoleWindow::buildGenericPanel(QWidget* parent) {
    const widgets::WindowBuilder b(this);
    fraGeneric_ =
        b.place(new QGroupBox(parent), QStringLiteral("FraCommandCodeXX"), 0, 480, 12615, 6615);
    QWidget* p = fraGeneric_;
    genericTitle_ = b.label(p, QStringLiteral("lblCommandCodeXX"), QString(), 240, 240, 6000, 285);
    QFont bold = genericTitle_->font();
    bold.setBold(true);
    genericTitle_->setFont(bold);

    for (int i = 0; i < 5; ++i) {
        auto* box = new widgets::HexEntryBox(ctx(), widgets::HexEntryBox::Kind::FrameByte, p);
        xxFrame_[at(i)] = b.place(box, widgets::WindowBuilder::indexed("txtCodeXXFrame", i),
                                  xxBoxLeft(i), kXXRowTop, 495, 315);
        box->setReadOnly(true);
        const int centre = xxBoxLeft(i) + 247;
        const int labelTop = xxLabelTop(i);
        xxLines_[at(i)].vertical = b.vline(p, QStringLiteral("line%1VCommandCodeXX").arg(i), centre,
                                           kXXRowTop + 315, labelTop + 120 - kXXRowTop - 315);
        xxLines_[at(i)].horizontal =
            b.hline(p, QStringLiteral("line%1HCommandCodeXX").arg(i), centre, labelTop + 120, 150);
        xxLabel_[at(i)] = b.label(p, widgets::WindowBuilder::indexed("lblCmdCodeXX", i), QString(),
                                  centre + 180, labelTop);
    }
    xxData_ = new widgets::HexEntryBox(ctx(), widgets::HexEntryBox::Kind::Data, p);
    b.place(xxData_, QStringLiteral("txtCodeXXFrameData"), xxBoxLeft(2), kXXRowTop, 4215, 315);
    connect(xxData_, &widgets::HexEntryBox::committed, this, &ConsoleWindow::dataBoxLeft);
    // The ARC_B value box is full at two digits: say so rather than drop the key silently.
    xxData_->installEventFilter(this);
    dataLine09_ = b.hline(p, QStringLiteral("lineDataHCommandCode09"), xxBoxLeft(5) + 495,
                          kXXRowTop + 157, 240);
    dataLabel09_ = b.label(p, QStringLiteral("lblDataCmdCode09"), QStringLiteral("value"),
                           xxBoxLeft(5) + 780, kXXRowTop + 40);

    // Register read choices.
    fraCmd08_ = b.place(new QGroupBox(QStringLiteral("Select register"), p),
                        QStringLiteral("fraCmd08SelectRegister"), 8040, 960, 4440, 2640);
    for (int i = 0; i < 2; ++i) {
        const ReadRegisterPreset& preset = readRegisterPresets()[at(i)];
        optRead_[at(i)] = b.place(new QRadioButton(QString::fromLatin1(preset.caption), fraCmd08_),
                                  widgets::WindowBuilder::indexed("optCmd08ReadRegister", i), 240,
                                  360 + 1080 * i, 4000, 285);
        connect(optRead_[at(i)], &QRadioButton::clicked, this,
                [this, i] { readRegisterChosen(i); });
    }
    optRead_[0]->setChecked(true);
    b.label(fraCmd08_, QStringLiteral("lblCmd08Hint_0"),
            QStringLiteral("-> answer = 01 : wake-up by timeout"), 600, 660);
    b.label(fraCmd08_, QStringLiteral("lblCmd08Hint_1"),
            QStringLiteral("-> answer = 02 : wake-up by tag detect"), 600, 900);
    b.label(fraCmd08_, QStringLiteral("lblCmd08Hint_2"), QStringLiteral("-> answer = XY : "), 600,
            1740);
    b.label(fraCmd08_, QStringLiteral("lblCmd08Hint_3"), QStringLiteral("where : X = Depth"), 2160,
            1740);
    b.label(fraCmd08_, QStringLiteral("lblCmd08Hint_4"), QStringLiteral("where : Y = Gain"), 2160,
            1980);

    // Register write presets, with the ARC_B value tables between the second and third.
    fraCmd09_ = b.place(new QGroupBox(QStringLiteral("Write register command"), p),
                        QStringLiteral("fraCmd09SelectRegister"), 8040, 600, 4440, 3420);
    const int writeTops[] = {300, 570, 2800, 3070};
    for (int i = 0; i < 4; ++i) {
        optWrite_[at(i)] = b.place(
            new QRadioButton(QString::fromLatin1(writeRegisterPresets()[at(i)].caption), fraCmd09_),
            widgets::WindowBuilder::indexed("optCmd09WriteRegister", i), 240, writeTops[i], 4100,
            270);
        connect(optWrite_[at(i)], &QRadioButton::clicked, this,
                [this, i] { writeRegisterChosen(i); });
    }
    optWrite_[0]->setChecked(true);
    // Each table in two columns, so both fit between the second and third preset.
    b.label(fraCmd09_, QStringLiteral("lblCmd09X"), QStringLiteral("where : X = Modulation Depth"),
            480, 870);
    const char* depth[] = {"1 = 10%", "2 = 17%", "3 = 25%", "4 = 30%",
                           "5 = 33%", "6 = 36%", "D = 95%"};
    for (int k = 0; k < 7; ++k) {
        b.label(fraCmd09_, widgets::WindowBuilder::indexed("lblCmd09Depth", k),
                QString::fromLatin1(depth[k]), 720 + 1320 * (k / 4), 1080 + 200 * (k % 4));
    }
    b.label(fraCmd09_, QStringLiteral("lblCmd09Y"), QStringLiteral("where : Y = Receiver Gain"),
            480, 1920);
    const char* gain[] = {"0 = 34 dB", "1 = 32 dB", "3 = 27 dB", "7 = 20 dB", "F = 8 dB"};
    for (int k = 0; k < 5; ++k) {
        b.label(fraCmd09_, widgets::WindowBuilder::indexed("lblCmd09Gain", k),
                QString::fromLatin1(gain[k]), 720 + 1320 * (k / 3), 2130 + 200 * (k % 3));
    }

    // Baud rate table and the note on the board's interface.
    fraBaud_ = b.place(new QGroupBox(p), QStringLiteral("FraCommandCode0Abaudrate"), 6240, 1080,
                       3015, 2535);
    const char* rates[] = {"New baud rate = <BaudRate>*2+2",
                           "255 : 13.56/512 ~26.48Kbps",
                           "254 : 13.56/510 ~26.59Kbps",
                           "...",
                           "117 : 13.56/236 ~57.7Kbps",
                           "...",
                           "2 : 13.56/6 ~2.26Mbps",
                           "1 : RFU",
                           "0 : RFU"};
    for (int k = 0; k < 9; ++k) {
        b.label(fraBaud_, widgets::WindowBuilder::indexed("lblCmd0Abaudrate", k),
                QString::fromLatin1(rates[k]), 180, 180 + 255 * k);
    }
    uartNote_ = b.label(p, QStringLiteral("lblCommand02Uart"),
                        QStringLiteral(" * IMPORTANT : DEMO-TQ73RN-A delivered in SPI version "
                                       "(please contact KV to switch it to UART mode)"),
                        240, 3720);

    sendXX_ = b.place(new QPushButton(QStringLiteral("Send frame"), p),
                      QStringLiteral("cmdSendCommandCodeXX"), 240, 4140, 1455, 375);
    connect(sendXX_, &QPushButton::clicked, this, &ConsoleWindow::sendGeneric);
    b.label(p, QStringLiteral("lblCommandCodeXXRequest"), QStringLiteral("Request : "), 1920, 4185);
    xxRequest_ = b.display(p, QStringLiteral("txtCommandCodeXXRequest"), 3000, 4140, 9360);
    b.label(p, QStringLiteral("lblCommandCodeXXAnswer"), QStringLiteral("Answer : "), 1920, 4545);
    xxAnswer_ = b.display(p, QStringLiteral("txtCommandCodeXXAnswer"), 3000, 4500, 9360);
    for (int i = 0; i < 5; ++i) {
        xxExplain_[at(i)] =
            b.display(p, widgets::WindowBuilder::indexed("txtCommandCodeXXAnswerExplain", i), 3000,
                      4860 + 330 * i, 9360);
        xxExplain_[at(i)]->hide();
    }
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == xxData_ && event->type() == QEvent::KeyPress && !xxData_->isReadOnly()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        const bool printable = !typed.isEmpty() && typed.at(0).unicode() > 31;
        if (printable && !xxData_->hasSelectedText() &&
            xxData_->text().size() >= xxData_->maxLength()) {
            ctx().ui().beep();
            return true;
        }
    }
    return core::ToolWindow::eventFilter(watched, event);
}

void ConsoleWindow::readRegisterChosen(int index) {
    const ReadRegisterPreset& preset = readRegisterPresets()[index == 0 ? 0 : 1];
    xxFrame_[2]->setText(QString::fromLatin1(preset.address));
    xxLabel_[2]->setText(QString::fromLatin1(preset.addressCaption));
    xxLabel_[2]->adjustSize();
}

void ConsoleWindow::writeRegisterChosen(int index) {
    if (index < 0 || index > 3) return;
    const WriteRegisterPreset& preset = writeRegisterPresets()[at(index)];
    for (int i = 0; i < 4; ++i)
        xxFrame_[at(i + 1)]->setText(QString::fromLatin1(preset.boxes[at(i)]));
    if (preset.dataBox == WriteDataBox::SavedValue) xxData_->setText(SavedArcBValue);
    if (preset.dataBox == WriteDataBox::Fixed) xxData_->setText(QString::fromLatin1(preset.data));
    const bool shown = preset.dataBox != WriteDataBox::Unchanged;
    xxData_->setVisible(shown);
    xxData_->setReadOnly(preset.dataBox != WriteDataBox::SavedValue);
    dataLabel09_->setVisible(shown);
    dataLine09_->setVisible(shown);
}

int ConsoleWindow::writeRegisterOption() const {
    for (int i = 0; i < 4; ++i) {
        if (optWrite_[at(i)]->isChecked()) return i;
    }
    return 0;
}

void ConsoleWindow::dataBoxLeft() {
    // The box's own rule has already padded an odd digit count.
    const std::string code = commandCodeOf(latin1(commandList_->currentText()));
    if (code == transceiver::kCmdSendRecv) {
        xxFrame_[1]->setText(qs(sendRecvLength(latin1(xxData_->text()))));
    } else if (code == transceiver::kCmdWrReg && optWrite_[1]->isChecked()) {
        SavedArcBValue = xxData_->text();
    }
}

// ---- Sends --------------------------------------------------------------------------

void ConsoleWindow::commitFocusedBox() {
    auto* box = qobject_cast<widgets::HexEntryBox*>(QApplication::focusWidget());
    if (box && isAncestorOf(box)) box->commit();
}

bool ConsoleWindow::exchange(const std::string& request, Exchange& out) {
    // Pasted text gets past the boxes' key filters (they show it red): such a request
    // never reaches the library.
    const std::string sent = transceiver::withoutBlanks(request);
    if (!transceiver::isHexText(sent)) {
        ctx().ui().beep();
        return false;
    }
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

void ConsoleWindow::logKvCmd(const std::string& request, const QString& answerBox) {
    log_.appendUntitled(QString::fromLatin1(core::kLogKvCmdRaw), qs(request), answerBox);
}

namespace {

void showLines(const ExplainLines& lines, QLineEdit* const* boxes, std::size_t count) {
    for (std::size_t i = 0; i < lines.size() && i < count; ++i) {
        if (!lines[i]) continue;
        boxes[i]->show();
        boxes[i]->setText(qs(*lines[i]));
    }
}

}  // namespace

void ConsoleWindow::sendGeneric() {
    commitFocusedBox();
    xxRequest_->clear();
    xxAnswer_->clear();
    for (auto* e : xxExplain_) {
        e->hide();
        e->clear();
    }
    std::array<std::string, 5> boxes;
    for (int i = 0; i < 5; ++i) boxes[at(i)] = latin1(xxFrame_[at(i)]->text());
    const std::string command = boxes[0];
    const std::string request =
        genericRequest(boxes, latin1(xxData_->text()), writeRegisterOption());
    xxRequest_->setText(qs(request.substr(2)));

    Exchange ex;
    if (!exchange(request, ex)) return;
    const AnswerVerdict verdict =
        judgeAnswer(ex.status, ex.answer, ex.hadNul, FailureText::Generic);
    xxAnswer_->setText(qs(verdict.answerBox));
    if (verdict.decode) showLines(decodeGenericAnswer(command, ex.answer), xxExplain_.data(), 5);
    logKvCmd(request, xxAnswer_->text());
}

void ConsoleWindow::sendProtocolSelect() {
    commitFocusedBox();
    request02_->clear();
    answer02_->clear();
    for (auto* e : explain02_) e->hide();
    // The frame comes from the panel model, which keeps the last good byte of a box that
    // was given pasted non-hex text: refuse it as the other panels do, rather than send
    // a byte the box does not show.
    for (int i = 0; i < 6; ++i) {
        if (protocol_.frameVisible(i) && !transceiver::isHexText(latin1(frame02_[at(i)]->text()))) {
            ctx().ui().beep();
            return;
        }
    }
    const std::string request = protocol_.requestText();
    request02_->setText(qs(request.substr(2)));

    Exchange ex;
    if (!exchange(request, ex)) return;
    const AnswerVerdict verdict =
        judgeAnswer(ex.status, ex.answer, ex.hadNul, FailureText::WithStatus);
    answer02_->setText(qs(verdict.answerBox));
    if (verdict.decode) showLines(decodeProtocolSelectAnswer(ex.answer), explain02_.data(), 3);
    logKvCmd(request, answer02_->text());
}

void ConsoleWindow::sendIdle() {
    commitFocusedBox();
    request07_->clear();
    answer07_->clear();
    for (auto* e : explain07_) {
        e->hide();
        e->clear();
    }
    std::array<std::string, 16> boxes;
    for (int i = 0; i < 16; ++i) boxes[at(i)] = latin1(frame07_[at(i)]->text());
    const std::string request = idleRequest(boxes);
    request07_->setText(qs(request.substr(2)));

    Exchange ex;
    if (!exchange(request, ex)) return;
    const AnswerVerdict verdict =
        judgeAnswer(ex.status, ex.answer, ex.hadNul, FailureText::WithStatus);
    answer07_->setText(qs(verdict.answerBox));
    if (verdict.decode) showLines(decodeIdleAnswer(ex.answer), explain07_.data(), 2);
    logKvCmd(request, answer07_->text());
}

void ConsoleWindow::boardButtonClicked(BoardButton button) {
    // Inside a Send's pause a board call would interleave with the paused exchange.
    if (pauseDepth_ > 0) return;
    core::RunScope run(*this);
    reader::AnswerBuffer buffer;
    auto& r = ctx().reader();
    const char* logName = nullptr;
    QLineEdit* box = nullptr;
    std::function<reader::LibraryStatus(reader::AnswerBuffer&)> call;
    switch (button) {
        case BoardButton::Echo:
            logName = core::kLogEcho;
            box = echoAnswer_;
            call = [&r](reader::AnswerBuffer& a) { return r.echo(a); };
            break;
        case BoardButton::IrqPulse:
            logName = core::kLogPulseIrqIn;
            box = irqAnswer_;
            call = [&r](reader::AnswerBuffer& a) { return r.sendIrqPulse(a); };
            break;
        case BoardButton::NssPulse:
            logName = core::kLogNssPulse;
            box = nssAnswer_;
            call = [&r](reader::AnswerBuffer& a) { return r.sendNssPulse(a); };
            break;
    }
    const reader::LibraryStatus status = core::callWithReconnect(
        ctx(), core::BoardSetup::None, core::OnUnreachable::ReconnectAndRepeat, buffer, call);
    const QString answer = qs(buffer.text());
    box->setText(answer);
    if (status != reader::kStatusOk || !answer.startsWith(QLatin1String("00"))) {
        ++pauseDepth_;
        PauseInputFilter filter(*this, false);
        const bool ends = run.pumpEnds(1);
        --pauseDepth_;
        if (ends) return;
    }
    log_.appendUntitled(QString::fromLatin1(logName), box->text());
}

}  // namespace console
