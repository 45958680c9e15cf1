#include "iso14443a/iso14443a_window.hpp"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/app_context.hpp"
#include "core/echo_handshake.hpp"
#include "core/hex_checks.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "iso14443a/analysis_panel.hpp"
#include "iso14443a/answers.hpp"
#include "iso14443a/anticollision_panel.hpp"
#include "iso14443a/flag_editor.hpp"
#include "iso14443a/memory_panel.hpp"
#include "transceiver/hex_text.hpp"
#include "transceiver/iso14443a_answers.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"
#include "widgets/memory_view.hpp"
#include "widgets/page_write_panel.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443a {

namespace {

using core::BoardSetup;
using transceiver::fromLatin1;
using transceiver::toLatin1;
using widgets::HexEntryBox;
using widgets::WindowBuilder;

constexpr int kWindowLeft = 100;
constexpr int kWindowTop = 100;
constexpr int kWindowWidth = 13695;
constexpr int kWindowHeight = 10350;

constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;
constexpr int kLeftWidth = 7000;
constexpr int kRightColumn = 7240;
constexpr int kRightWidth = 6320;
// The memory controls sit under the anticollision frame, or in its place in TOPAZ mode.
constexpr int kMemoryTop = 3240;
constexpr int kTopazMemoryTop = 60;

const QString kTitleReqa = QStringLiteral("ISO14443-A REQA");
const QString kTitleWupa = QStringLiteral("ISO14443-A WUPA");
const QString kTitleHalt = QStringLiteral("ISO14443-A ") + QStringLiteral("HALT");
const QString kTitleAnticol = QStringLiteral("ISO14443-A ANTICOL ");
const QString kTitleSelect = QStringLiteral("ISO14443-A SELECT ");
const QString kTitleSendFrame = QStringLiteral("SEND FRAME");
const QString kTitleTopazReqa = QStringLiteral("ISO14443-A TOPAZ REQA");
const QString kTitleTopazRid = QStringLiteral("ISO14443-A TOPAZ RID");

// How a refusal names the boxes: by the caption the user sees beside them.
const QString kDataForSelectBoxName = QStringLiteral("data for Select");
const QString kAnyFrameBoxName = QStringLiteral("Send any frame");

// Why the process stops at an ANTICOL answer that no single tag gave; empty for one
// that a single tag gave. A part too short to hold its BCC is not judged here: the
// tag's answer to its SELECT decides.
QString collisionNote(int level, const QString& answer,
                      const transceiver::AnticollisionAnswer& cascade) {
    // On a line of its own, under the first: the log box does not wrap.
    const QString resolve = QStringLiteral(
        "\r\n\t\t\tThe tags must be resolved one by one (ANTICOL with an NVB or "
        "\"Send any frame\").");
    const transceiver::ResponseStatus status = transceiver::responseStatusOf(toLatin1(answer));
    if (status.present && status.collision()) {
        return QStringLiteral(
                   "ANTICOL %1: collision found at byte %2 bit %3: several tags "
                   "answered, no UID is shown.")
                   .arg(level)
                   .arg(status.collisionByte)
                   .arg(status.collisionBit) +
               resolve;
    }
    if (cascade.complete && !cascade.bccMatches) {
        return QStringLiteral(
                   "ANTICOL %1: the BCC does not match the UID bytes: several tags "
                   "answered, no UID is shown.")
                   .arg(level) +
               resolve;
    }
    return {};
}

constexpr const char* kStepNames[7] = {"REQ A",    "ANTICOL 1", "SELECT 1", "ANTICOL 2",
                                       "SELECT 2", "ANTICOL 3", "SELECT 3"};

}  // namespace

Iso14443aWindow::Iso14443aWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::Iso14443A, parent),
      log_(ctx),
      controls_(ctx.values, core::CommandControls::StopFlag::Clears) {
    setObjectName(QStringLiteral("frmTQ73RN_ISO14443A_UI"));
    setWindowTitle(QString::fromLatin1(kIso14443aCaption));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    build();
}

Iso14443aWindow::~Iso14443aWindow() = default;

QSize Iso14443aWindow::sizeHint() const {
    const WindowBuilder b(this);
    return {b.px(kWindowWidth), b.px(kWindowHeight)};
}

bool Iso14443aWindow::topazMode() const {
    return isTopazMode(ctx().values.SelectedProduct.Reference);
}

BoardSetup Iso14443aWindow::modeSetup() const {
    return topazMode() ? BoardSetup::Topaz : BoardSetup::Iso14443A;
}

reader::LibraryStatus Iso14443aWindow::DEMO_TQ73RN_A_reconnect_iso14443A() {
    return core::DEMO_TQ73RN_A_reconnect_iso14443A(ctx());
}

reader::LibraryStatus Iso14443aWindow::DEMO_TQ73RN_A_reconnect_iso14443A_TOPAZ() {
    return core::DEMO_TQ73RN_A_reconnect_iso14443A_TOPAZ(ctx());
}

// ---- Building ---------------------------------------------------------------------

void Iso14443aWindow::build() {
    const WindowBuilder b(this);
    title_ = b.label(this, QStringLiteral("lbl_title_ISO14443A"),
                     QString::fromLatin1(kIso14443aTitle), 120, 60, kLeftWidth, 360);
    QFont big = title_->font();
    big.setPointSize(12);
    big.setBold(true);
    title_->setFont(big);

    buildCommands(b);

    flagEditor_ = b.place(new FlagEditor(ctx(), b, this),
                          QStringLiteral("fraISO14443A_TQ73RN_TransmissionFlag"), 120, 1920,
                          kLeftWidth, 1620);
    buildFrameRows(b);
    analysis_ = b.place(new AnalysisPanel(b, this), QStringLiteral("fraISO14443A_answer_analysis"),
                        120, 4980, kLeftWidth, 2460);
    anticollision_ = b.place(new AnticollisionPanel(b, this), QStringLiteral("FraAnticolRoutine"),
                             kRightColumn, 60, kRightWidth, 3060);
    connect(anticollision_->processButton(), &QPushButton::clicked, this,
            [this] { anticollisionProcessClicked(); });

    memory_ = new MemoryPanel(ctx(), b, this);
    memory_->setObjectName(QStringLiteral("memoryArea"));
    memory_->setGeometry(b.px(kRightColumn), b.px(kMemoryTop), b.px(kRightWidth),
                         b.px(MemoryPanel::kHeight));
    connect(memory_->readButton(), &QPushButton::clicked, this, [this] { readClicked(); });
    for (PageWrite write : {PageWrite::Write, PageWrite::CompatibilityWrite,
                            PageWrite::TopazWriteErase, PageWrite::TopazWriteNoErase}) {
        connect(memory_->setupButton(write), &QPushButton::clicked, this,
                [this, write] { writeSetupClicked(write); });
    }
    connect(memory_->stopButton(), &QPushButton::clicked, this,
            [this] { controls_.stopClicked(memory_->stopButton()); });
    connect(memory_->pageWrite(), &widgets::PageWritePanel::writeClicked, this,
            [this] { writeClicked(); });
    connect(memory_->pageWrite(), &widgets::PageWritePanel::cancelClicked, this,
            [this] { cancelClicked(); });

    auto* fraLog = b.place(new QGroupBox(this), QStringLiteral("FraLog"), 120, 7560, 13440, 2700);
    logBox_ = b.place(new widgets::LogView(fraLog), QStringLiteral("rtfISO14443ALogEdit"), 120, 180,
                      11160, 2400);
    saveLog_ = b.place(new QPushButton(QStringLiteral("Save Log"), fraLog),
                       QStringLiteral("cmdSaveLog"), 11400, 1740, 1920, kButtonHeight);
    clearLog_ = b.place(new QPushButton(QStringLiteral("Clear Log"), fraLog),
                        QStringLiteral("cmdClearLog"), 11400, 2160, 1920, kButtonHeight);
    connect(saveLog_, &QPushButton::clicked, this, [this] { log_.save(); });
    connect(clearLog_, &QPushButton::clicked, this, [this] { log_.clear(); });

    // The command controls, in the order they are switched.
    controls_.setControls({memory_->readButton(),
                           memory_->setupButton(PageWrite::Write),
                           memory_->setupButton(PageWrite::CompatibilityWrite),
                           memory_->setupButton(PageWrite::TopazWriteErase),
                           memory_->setupButton(PageWrite::TopazWriteNoErase),
                           anticol_[0],
                           anticol_[1],
                           anticol_[2],
                           select_[0],
                           select_[1],
                           select_[2],
                           reqa_,
                           wupa_,
                           halt_,
                           sendFrame_,
                           topazUid_,
                           memory_->address(0),
                           memory_->address(1),
                           anyFrame_,
                           saveLog_,
                           clearLog_});
}

void Iso14443aWindow::buildCommands(const WindowBuilder& b) {
    auto button = [&](const QString& name, const QString& caption, int left, int top) {
        return b.place(new QPushButton(caption, this), name, left, top, kButtonWidth,
                       kButtonHeight);
    };
    constexpr int kRow1 = 480;
    constexpr int kRow2 = 960;
    constexpr int kRow3 = 1440;
    reqa_ = button(QStringLiteral("cmd_ISO14443A_REQA"), QStringLiteral("REQA"), 120, kRow1);
    wupa_ = button(QStringLiteral("cmd_ISO14443A_WUPA"), QStringLiteral("WUPA"), 1440, kRow1);
    halt_ = button(QStringLiteral("cmd_ISO14443A_HALT"), QStringLiteral("HALT"), 2760, kRow1);
    connect(reqa_, &QPushButton::clicked, this, [this] {
        frameCommandClicked(transceiver::kFlagShortFrame, transceiver::reqaRequest(), kTitleReqa);
    });
    connect(wupa_, &QPushButton::clicked, this, [this] {
        frameCommandClicked(transceiver::kFlagShortFrame, transceiver::wupaRequest(), kTitleWupa);
    });
    connect(halt_, &QPushButton::clicked, this, [this] {
        frameCommandClicked(transceiver::kFlagWithCrc, transceiver::haltRequest(), kTitleHalt);
    });

    static const char* const kAnticolCaptions[3] = {"Anticol1", "Anticol2", "Anticol 3"};
    for (int k = 0; k < 3; ++k) {
        const auto at = static_cast<std::size_t>(k);
        anticol_[at] = button(WindowBuilder::indexed("cmd_ISO14443A_Anticol", k),
                              QString::fromLatin1(kAnticolCaptions[k]), 120 + 1320 * k, kRow2);
        select_[at] = button(WindowBuilder::indexed("cmd_ISO14443A_Select", k),
                             QStringLiteral("Select %1").arg(k + 1), 120 + 1320 * k, kRow3);
        connect(anticol_[at], &QPushButton::clicked, this, [this, k] { anticolClicked(k); });
        connect(select_[at], &QPushButton::clicked, this, [this, k] { selectClicked(k); });
    }
    dataForSelectLabel_ = b.label(this, QStringLiteral("lblISO14443A_DataForSelect"),
                                  QStringLiteral("data for Select "), 4080, kRow2 + 60, 2400);
    dataForSelect_ = b.place(new QLineEdit(this), QStringLiteral("txtUIDforSelect123"), 4080,
                             kRow3 + 30, 3040, 315);
    dataForSelect_->setMaxLength(16);
    widgets::refuseTextThatDoesNotFit(dataForSelect_, ctx().ui());
    // The NVB of the ANTICOL frames; never shown, so every ANTICOL carries "20".
    anticolArg_ = b.place(new QLineEdit(QStringLiteral("20"), this),
                          QStringLiteral("txtISO14443A_Anticol_Arg"), 4080, kRow1, 500, 315);
    anticolArg_->setMaxLength(2);
    widgets::refuseTextThatDoesNotFit(anticolArg_, ctx().ui());
    anticolArg_->hide();

    topazReqa_ =
        button(QStringLiteral("cmd_ISO14443A_TOPAZ_REQA"), QStringLiteral("REQA"), 120, kRow1);
    topazRid_ =
        button(QStringLiteral("cmd_ISO14443A_TOPAZ_RID"), QStringLiteral("RID"), 1440, kRow1);
    connect(topazReqa_, &QPushButton::clicked, this, [this] { topazReqaClicked(); });
    connect(topazRid_, &QPushButton::clicked, this, [this] { topazRidClicked(); });
    static const char* const kTopazLabelNames[3] = {"lblHR0_TOPAZ", "lblHR1_TOPAZ", "lblUID_TOPAZ"};
    static const char* const kTopazCaptions[3] = {"HR0 =", "HR1 =", "UID ="};
    for (int i = 0; i < 3; ++i) {
        topazLabels_[static_cast<std::size_t>(i)] =
            b.label(this, QString::fromLatin1(kTopazLabelNames[i]),
                    QString::fromLatin1(kTopazCaptions[i]), 120 + 1320 * i, kRow2 + 60, 560);
    }
    hr0_ = b.display(this, QStringLiteral("txtHR0_TOPAZ"), 700, kRow2 + 30, 500, 315);
    hr1_ = b.display(this, QStringLiteral("txtHR1_TOPAZ"), 2020, kRow2 + 30, 500, 315);
    // Only RID writes the UID: a typed one could not be told from the tag's.
    topazUid_ = b.place(new HexEntryBox(ctx(), HexEntryBox::Kind::Request, this),
                        QStringLiteral("txtUID_cmdSelect"), 3340, kRow2 + 30, 1560, 315);
    topazUid_->setMaxLength(16);
    topazUid_->setReadOnly(true);
}

void Iso14443aWindow::buildFrameRows(const WindowBuilder& b) {
    constexpr int kRequestTop = 3660;
    constexpr int kAnswerTop = 4020;
    constexpr int kAnyFrameTop = 4440;
    b.label(this, QStringLiteral("lblRequest"), QStringLiteral("request ="), 120, kRequestTop + 45,
            900);
    request_ = b.display(this, QStringLiteral("txt_ISO14443A_request"), 1080, kRequestTop,
                         kLeftWidth - 960, 315);
    b.label(this, QStringLiteral("lblAnswer"), QStringLiteral("answer ="), 120, kAnswerTop + 45,
            900);
    answer_ = b.display(this, QStringLiteral("txt_ISO14443A_answer"), 1080, kAnswerTop,
                        kLeftWidth - 960, 315);
    anyFrame_ =
        b.place(new HexEntryBox(ctx(), HexEntryBox::Kind::RawFrame, this),
                QStringLiteral("txt_ISO14443A_AnyFrame"), 120, kAnyFrameTop + 30, 4780, 315);
    sendFrame_ =
        b.place(new QPushButton(QStringLiteral("Send any frame"), this),
                QStringLiteral("cmd_ISO14443A_SendFrame"), 5020, kAnyFrameTop, 2100, kButtonHeight);
    anyFrame_->setSendButton(sendFrame_);
    connect(sendFrame_, &QPushButton::clicked, this, [this] { sendFrameClicked(); });
}

void Iso14443aWindow::applyMode(bool topaz) {
    title_->setText(QString::fromLatin1(topaz ? kTopazTitle : kIso14443aTitle));
    for (QWidget* w : std::initializer_list<QWidget*>{
             reqa_, wupa_, halt_, anticol_[0], anticol_[1], anticol_[2], select_[0], select_[1],
             select_[2], dataForSelectLabel_, dataForSelect_, anticollision_}) {
        w->setVisible(!topaz);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{topazReqa_, topazRid_, topazLabels_[0], topazLabels_[1],
                                         topazLabels_[2], hr0_, hr1_, topazUid_}) {
        w->setVisible(topaz);
    }
    analysis_->setTopazMode(topaz);
    memory_->setTopazMode(topaz);
    const WindowBuilder b(this);
    memory_->move(b.px(kRightColumn), b.px(topaz ? kTopazMemoryTop : kMemoryTop));
}

// ---- Load -------------------------------------------------------------------------

void Iso14443aWindow::load() {
    core::ProgramValues& v = ctx().values;
    v.ScriptLoopEnabled = false;
    const WindowBuilder b(this);
    setGeometry(b.px(kWindowLeft), b.px(kWindowTop), b.px(kWindowWidth), b.px(kWindowHeight));
    log_.attach(logBox_);
    v.AddressByteCount = 1;
    memory_->view()->empty();
    v.ReadViewTopLine = 1;
    memory_->setUpAddressBoxes(addressDigits(v.MemorySizeBytes), v.AddressMask);

    const bool topaz = topazMode();
    title_->setText(QString::fromLatin1(topaz ? kTopazTitle : kIso14443aTitle));

    core::RunScope run(*this);
    if (!run.started()) return;
    const BoardSetup setup = modeSetup();
    const core::ShowText showAnswer = [this](const QString& a) { answer_->setText(a); };
    if (core::EchoHandshake(run, core::EchoCaller::Load, setup, log_, showAnswer)) return;
    core::sendLoadSetup(
        ctx(), setup, log_, [this](const QString&) { request_->clear(); }, showAnswer);
    // The set-up's last entry ends its line, so the log of a fresh window ends with one.
    log_.append(QStringLiteral("\r\n"));

    if (!topaz) anticollision_->setUpGrid(b);
    applyMode(topaz);
    request_->clear();
    answer_->clear();
}

// ---- The exchange every command makes ------------------------------------------------

widgets::TagExchangeTarget Iso14443aWindow::exchangeTarget(BoardSetup reconnect) {
    return {ctx(), reconnect, log_, request_, answer_};
}

Iso14443aWindow::Exchanged Iso14443aWindow::ExchangeFrame(const std::string& request,
                                                          BoardSetup reconnect,
                                                          const QString& title) {
    return widgets::exchangeTagFrame(exchangeTarget(reconnect), request, title);
}

void Iso14443aWindow::startCommand(std::string_view flag) {
    flagEditor_->SetTransmissionFlag(fromLatin1(flag));
    answer_->clear();
    analysis_->ClearAnswerAnalysis();
}

void Iso14443aWindow::ShowAnswerAnalysis(const Exchanged& e) {
    if (e.status != reader::kStatusOk) return;
    if (const auto a = analyseAnswer(e.text)) analysis_->showAnalysis(*a);
}

void Iso14443aWindow::ShowTopazAnswerAnalysis(const Exchanged& e) {
    if (e.status != reader::kStatusOk) return;
    if (const auto a = analyseTopazAnswer(e.text)) analysis_->showAnalysis(*a);
}

// ---- Frame commands ---------------------------------------------------------------

void Iso14443aWindow::frameCommandClicked(std::string_view flag, const std::string& request,
                                          const QString& title) {
    core::RunScope run(*this);
    if (!run.started()) return;
    startCommand(flag);
    ShowAnswerAnalysis(ExchangeFrame(request, modeSetup(), title));
}

void Iso14443aWindow::anticolClicked(int index) {
    core::RunScope run(*this);
    if (!run.started()) return;
    const int level = index + 1;
    startCommand(transceiver::kFlagAnticollision);
    const std::string request =
        transceiver::anticollisionRequest(level, toLatin1(anticolArg_->text()));
    ShowAnswerAnalysis(ExchangeFrame(request, modeSetup(), kTitleAnticol + QString::number(level)));
}

void Iso14443aWindow::selectClicked(int index) {
    core::RunScope run(*this);
    if (!run.started()) return;
    const int level = index + 1;
    if (!core::IsHexBox(ctx().ui(), dataForSelect_->text(), kDataForSelectBoxName)) return;
    const std::string data = toLatin1(dataForSelect_->text());
    startCommand(transceiver::kFlagWithCrc);
    const std::string request = transceiver::selectRequest(level, data);
    ShowAnswerAnalysis(ExchangeFrame(request, modeSetup(), kTitleSelect + QString::number(level)));
}

void Iso14443aWindow::sendFrameClicked() {
    core::RunScope run(*this);
    if (!run.started()) return;
    // The box's own rule drops the blanks of a pasted frame; what is still not hex got
    // past the key filter (pasted) and is no frame.
    if (!anyFrame_->commit()) {
        core::RefuseNotHex(ctx().ui(), kAnyFrameBoxName);
        return;
    }
    const QString frame = anyFrame_->text();
    if (frame.isEmpty()) return;
    ExchangeFrame(toLatin1(frame), modeSetup(), kTitleSendFrame);
}

// ---- TOPAZ ------------------------------------------------------------------------

void Iso14443aWindow::clearTopazIdentification() {
    hr0_->clear();
    hr1_->clear();
    topazUid_->clear();
    answer_->clear();
    analysis_->ClearAnswerAnalysis();
}

void Iso14443aWindow::topazReqaClicked() {
    core::RunScope run(*this);
    if (!run.started()) return;
    clearTopazIdentification();
    flagEditor_->SetTransmissionFlag(fromLatin1(transceiver::kFlagShortFrame));
    ShowTopazAnswerAnalysis(
        ExchangeFrame(transceiver::reqaRequest(), BoardSetup::Topaz, kTitleTopazReqa));
}

void Iso14443aWindow::topazRidClicked() {
    core::RunScope run(*this);
    if (!run.started()) return;
    clearTopazIdentification();
    flagEditor_->SetTransmissionFlag(fromLatin1(transceiver::kFlagTopaz));
    const Exchanged e =
        ExchangeFrame(transceiver::topazRidRequest(), BoardSetup::Topaz, kTitleTopazRid);
    if (!frameReceived(e.text, e.status)) return;
    ShowTopazAnswerAnalysis(e);
    const TopazIdentification id = topazIdentification(e.text);
    hr0_->setText(id.hr0);
    hr1_->setText(id.hr1);
    topazUid_->setText(id.uid);
}

// ---- The anticollision process ----------------------------------------------------

void Iso14443aWindow::anticollisionProcessClicked() {
    // A click during the process's own pauses would start a second process over the
    // rows and the UID the first one is still writing.
    if (processRunning_) return;
    core::RunScope run(*this);
    if (!run.started()) return;
    processRunning_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{processRunning_};

    const BoardSetup setup = modeSetup();
    auto step = [&](int row, std::string_view flag, const std::string& request,
                    const QString& title) {
        startCommand(flag);
        Exchanged e = ExchangeFrame(request, setup, title);
        anticollision_->setStep(row, QString::fromLatin1(kStepNames[row - 1]), request_->text(),
                                answer_->text());
        return e;
    };
    // Every end of the process lets pending events run once.
    auto end = [&] { (void)run.pumpEnds(); };

    anticollision_->uidBox()->clear();
    anticollision_->clearSteps();

    const Exchanged reqa =
        step(1, transceiver::kFlagShortFrame, transceiver::reqaRequest(), kTitleReqa);
    switch (reqaOutcome(reqa.text, reqa.status)) {
        case ReqaOutcome::FrameReceived:
            ShowAnswerAnalysis(reqa);
            if (run.pumpEnds()) return;
            break;
        case ReqaOutcome::ShortFrame:
            break;
        case ReqaOutcome::End:
            return end();
    }

    for (int level = 1; level <= transceiver::kCascadeLevels; ++level) {
        const int row = 2 * level;
        const Exchanged anticol =
            step(row, transceiver::kFlagAnticollision,
                 transceiver::anticollisionRequest(level, toLatin1(anticolArg_->text())),
                 kTitleAnticol + QString::number(level));
        if (!frameReceived(anticol.text, anticol.status)) return end();
        ShowAnswerAnalysis(anticol);
        const transceiver::AnticollisionAnswer cascade =
            transceiver::decodeAnticollisionAnswer(toLatin1(anticol.text));
        QLineEdit* uid = anticollision_->uidBox();
        // Several tags answered: the part holds the OR of their bits, no tag's UID, and a
        // SELECT of it would be answered by none of them.
        if (const QString note = collisionNote(level, anticol.text, cascade); !note.isEmpty()) {
            uid->clear();
            log_.appendProgress(note);
            return end();
        }
        uid->setText((level == 1 ? QString() : uid->text()) + fromLatin1(cascade.uidPiece));

        // The part goes to SELECT as received, cut or not: the tag's answer decides.
        const Exchanged select = step(row + 1, transceiver::kFlagWithCrc,
                                      transceiver::selectRequest(level, cascade.uidPart),
                                      kTitleSelect + QString::number(level));
        if (!frameReceived(select.text, select.status)) return end();
        ShowAnswerAnalysis(select);
        // The cascade tag alone says whether the UID goes on; the SAK is only shown.
        if (!transceiver::cascadeContinues(level, cascade)) return end();
        if (run.pumpEnds()) return;
    }
}

}  // namespace iso14443a
