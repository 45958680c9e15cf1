#include "detection/tag_detection_window.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/app_context.hpp"
#include "core/log_entry.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "detection/calibration.hpp"
#include "detection/indicator.hpp"
#include "detection/probes.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"
#include "widgets/window_builder.hpp"

namespace detection {

namespace {

using widgets::HexEntryBox;

// Laid out, like the auto-detection window, to open whole on a 1024 x 768 screen.
constexpr int kWidthTwips = 12300;
constexpr int kHeightTwips = 8250;
constexpr int kDetectTop = 1500;
constexpr int kDetectControlsHeight = 1500;

const QColor kGreen(0, 192, 0);
const QColor kRed(255, 0, 0);

QString qs(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString hexBoxText(std::uint8_t v) { return transceiver::HexPad(v, 2); }

// The detection group: its controls, then the results without the request and answer rows.
int detectHeight() { return kDetectControlsHeight + ResultsPanel::heightTwips(false) + 120; }

}  // namespace

TagDetectionWindow::TagDetectionWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::TagDetection, parent),
      log_(ctx),
      controls_(ctx.values, core::CommandControls::StopFlag::LeavesAlone) {
    setObjectName(QStringLiteral("frmTQ73RN_TagDetection_UI"));
    setWindowTitle(QString::fromLatin1(kTagDetectionCaption));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    const widgets::WindowBuilder b(this);
    auto* frame2 = b.place(new QGroupBox(this), QStringLiteral("Frame2"), 60, 0, 12180, 8190);
    const int modeHeight = kDetectTop + detectHeight() + 60;
    auto* fraMode =
        b.place(new QWidget(frame2), QStringLiteral("fraMode"), 0, 0, 12180, modeHeight);
    buildCalibrationGroup(b, fraMode);
    buildIdleParameters(b, fraMode);
    buildDetectionGroup(b, fraMode);

    const int logTop = modeHeight + 60;
    const int logHeight = 8190 - 60 - logTop;
    auto* fraLog =
        b.place(new QGroupBox(frame2), QStringLiteral("FraLog"), 60, logTop, 12060, logHeight);
    rtfTagDetectionLogEdit_ =
        b.place(new widgets::LogView(fraLog), QStringLiteral("rtfTagDetectionLogEdit"), 60, 60,
                9300, logHeight - 120);
    auto* save = b.place(new QPushButton(QStringLiteral("Save Log"), fraLog),
                         QStringLiteral("cmdSaveLog"), 9540, logHeight - 870, 2400, 330);
    auto* clear = b.place(new QPushButton(QStringLiteral("Clear Log"), fraLog),
                          QStringLiteral("cmdClearLog"), 9540, logHeight - 450, 2400, 330);
    connect(save, &QPushButton::clicked, this, [this] { log_.save(); });
    connect(clear, &QPushButton::clicked, this, [this] { log_.clear(); });

    controls_.setControls({cmdCalibration_, cmdDetection_, results_->probeButton(Iso14443BButton),
                           results_->probeButton(Iso15693Button)});
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        lastSent_[i] = static_cast<std::uint8_t>(
            transceiver::hexValue(boxes_[i]->text().toLatin1().toStdString()));
    }
}

TagDetectionWindow::~TagDetectionWindow() = default;

void TagDetectionWindow::buildCalibrationGroup(const widgets::WindowBuilder& b, QWidget* parent) {
    auto* frame1 = b.place(new QGroupBox(parent), QStringLiteral("Frame1"), 60, 60, 5400, 1380);
    b.label(
        frame1, QStringLiteral("lblCalibrationTitle"),
        QStringLiteral("1) calibrate your DEMO-TQ73RN board before using \"Tag Detection\" Tool"),
        120, 60, 5220, 240);
    cmdCalibration_ = b.place(new QPushButton(QStringLiteral("Calibration"), frame1),
                              QStringLiteral("cmd_TagDetection_calibration"), 120, 390, 1500, 450);
    connect(cmdCalibration_, &QPushButton::clicked, this,
            [this] { cmd_TagDetection_calibration_Click(); });

    lblCalibrationAnswer_ = b.label(frame1, QStringLiteral("lbl_TagDetection_Calibration_Answer"),
                                    QStringLiteral("WUFlags"), 120, 990, 720, 240);
    txtCalibrWuFlags_ =
        b.display(frame1, QStringLiteral("txt_TagDetection_Calibr_WUflags"), 840, 960, 480, 300);
    txtCalibrWuFlags_->setMaxLength(2);
    txtCalibrWuFlags_->setAlignment(Qt::AlignCenter);
    txtCalibrWuFlags_->setText(QStringLiteral("00"));
    QPalette light = txtCalibrWuFlags_->palette();
    light.setColor(QPalette::Base, palette().color(QPalette::Midlight));
    txtCalibrWuFlags_->setPalette(light);
    shapCalibrationWuReason_ =
        b.place(new Indicator(palette().color(QPalette::Midlight), frame1),
                QStringLiteral("shapCalibration_WuReason"), 1380, 960, 300, 300);
    lblCalibrationAnswer_->hide();
    txtCalibrWuFlags_->hide();
    shapCalibrationWuReason_->hide();

    auto* results = b.place(new QGroupBox(QStringLiteral(" Calibration results : "), frame1),
                            QStringLiteral("FraCalibrationResults"), 1860, 330, 3420, 960);
    const auto resultRow = [&](const char* label, const char* caption, const char* box, int top,
                               QLabel*& l, QLineEdit*& e) {
        l = b.label(results, QString::fromLatin1(label), QString::fromLatin1(caption), 120,
                    top + 30, 1920, 240);
        e = b.display(results, QString::fromLatin1(box), 2160, top, 600, 300);
        e->setMaxLength(2);
        e->setAlignment(Qt::AlignCenter);
    };
    resultRow("lblDacDataL_result", "DacDataL", "txt_Calibration_DacDataL_result", 270,
              lblDacDataLResult_, txtDacDataLResult_);
    resultRow("lblDacDataH_result", "DacDataH", "txt_Calibration_DacDataH_result", 600,
              lblDacDataHResult_, txtDacDataHResult_);
}

void TagDetectionWindow::buildIdleParameters(const widgets::WindowBuilder& b, QWidget* parent) {
    auto* options = b.place(new QGroupBox(QStringLiteral(" IDLE command parameters"), parent),
                            QStringLiteral("FraOptions"), 5580, 60, 6540, 1380);
    const struct {
        Box box;
        const char* name;
        const char* labelName;
        const char* label;
        const char* text;
    } rows[] = {
        {WuPeriod, "txtWUPeriod", "lblWUperiod", "WU Period", "20"},
        {OscStart, "txtOscStart", "lblOscStart", "Osc Start", "60"},
        {DacStart, "txtDacStart", "lblDacStart", "Dac Start", "60"},
        {SwingsCnt, "txtSwingsCnt", "lblSwingsCnt", "Swings Cnt", "3F"},
        {MaxSleep, "txtTimeOut", "lblTimeOut", "Max Sleep", "01"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const int left = 120 + 1000 * static_cast<int>(i);
        auto* l = b.label(options, QString::fromLatin1(rows[i].labelName),
                          QString::fromLatin1(rows[i].label), left, 390, 960, 240);
        l->setAlignment(Qt::AlignCenter);
        auto* box = b.place(new HexEntryBox(ctx(), HexEntryBox::Kind::Byte, options),
                            QString::fromLatin1(rows[i].name), left + 210, 690, 540, 300);
        box->setAlignment(Qt::AlignCenter);
        box->setText(QString::fromLatin1(rows[i].text));
        boxes_[rows[i].box] = box;
        boxLabels_[rows[i].box] = rows[i].label;
    }
    chkWithReadRg_ = b.place(new QCheckBox(QStringLiteral("with ReadReg"), options),
                             QStringLiteral("chkWithReadRg"), 5160, 705, 1320, 270);
}

void TagDetectionWindow::buildDetectionGroup(const widgets::WindowBuilder& b, QWidget* parent) {
    auto* detect = b.place(new QGroupBox(parent), QStringLiteral("FraTQ73RN_detectTag"), 60,
                           kDetectTop, 12060, detectHeight());

    // 2) The protocols.
    auto* fraProtocols =
        b.place(new QGroupBox(detect), QStringLiteral("fraProtocols"), 60, 60, 3900, 1380);
    b.label(fraProtocols, QStringLiteral("Label2"), QStringLiteral("2) Select RF protocols"), 120,
            60);
    for (int i = 0; i < kProtocolCount; ++i) {
        auto* box = b.place(new QCheckBox(protocolCaption(i), fraProtocols),
                            widgets::WindowBuilder::indexed("chkTagDetSelectProtocols", i),
                            i < 3 ? 120 : 2040, 330 + 270 * (i % 3), 1860, 255);
        box->setChecked(true);
        chkTagDetSelectProtocols_[static_cast<std::size_t>(i)] = box;
    }
    b.label(fraProtocols, QStringLiteral("Label3"),
            QStringLiteral("note : if no protocol selected, tag detection only"), 120, 1110, 3720,
            240);

    // 3) The run.
    b.label(detect, QStringLiteral("lblTagDetectionTitle"),
            QStringLiteral("3) Launch Tag Detection process"), 4080, 90, 2460, 240);
    cmdDetection_ = b.place(new QPushButton(QStringLiteral("Launch Tag Detection"), detect),
                            QStringLiteral("cmd_TagDetection_Detection"), 4080, 390, 2220, 450);
    connect(cmdDetection_, &QPushButton::clicked, this,
            [this] { cmd_TagDetection_Detection_Click(); });
    chkLoop_ = b.place(new QCheckBox(QStringLiteral("loop"), detect), QStringLiteral("chkLoop"),
                       4080, 930, 2460, 255);
    chkLoopWhileDetection_ =
        b.place(new QCheckBox(QStringLiteral("loop until a tag is detected"), detect),
                QStringLiteral("chkLoop_While_detection"), 4080, 1200, 2460, 255);
    // A box unticked by the other runs its own handler too.
    connect(chkLoop_, &QCheckBox::toggled, this, [this](bool on) { loopBoxToggled(true, on); });
    connect(chkLoopWhileDetection_, &QCheckBox::toggled, this,
            [this](bool on) { loopBoxToggled(false, on); });
    const char* cycleEnd[] = {"WuCycleEnd = true", "WuCycleEnd = false"};
    for (int i = 0; i < 2; ++i) {
        potWuCycleEnd_[static_cast<std::size_t>(i)] =
            b.place(new QRadioButton(QString::fromLatin1(cycleEnd[i]), detect),
                    widgets::WindowBuilder::indexed("pot_TagDetection_AWuCycleEnd", i), 4080,
                    390 + 285 * i, 2220, 255);
        potWuCycleEnd_[static_cast<std::size_t>(i)]->hide();
    }
    potWuCycleEnd_[0]->setChecked(true);

    // The DAC values the detection sends.
    auto* dac = b.place(new QGroupBox(QStringLiteral("  Change IDLE parameters "), detect),
                        QStringLiteral("FraDacDataValues"), 6660, 60, 5340, 1380);
    const auto dacRow = [&](Box box, const char* label, const char* labelName, const char* name,
                            const char* minus, const char* plus, const char* text, int top) {
        b.label(dac, QString::fromLatin1(labelName), QString::fromLatin1(label), 120, top + 30, 900,
                240);
        auto* e = b.place(new HexEntryBox(ctx(), HexEntryBox::Kind::Byte, dac),
                          QString::fromLatin1(name), 1020, top, 540, 300);
        e->setAlignment(Qt::AlignCenter);
        e->setText(QString::fromLatin1(text));
        boxes_[box] = e;
        boxLabels_[box] = label;
        auto* m = b.place(new QPushButton(QStringLiteral("-"), dac), QString::fromLatin1(minus),
                          1620, top, 360, 300);
        auto* p = b.place(new QPushButton(QStringLiteral("+"), dac), QString::fromLatin1(plus),
                          2040, top, 360, 300);
        connect(m, &QPushButton::clicked, this, [this, box] { stepBox(box, -1); });
        connect(p, &QPushButton::clicked, this, [this, box] { stepBox(box, +1); });
    };
    dacRow(DacDataL, "DacDataL", "lbl_TagDetection_Detection_DacDataL",
           "txt_TagDetection_DacDataL_value", "cmdDacDataL_minus", "cmdDacDataL_plus", "00", 360);
    dacRow(DacDataH, "DacDataH", "lbl_TagDetection_Detection_DacDataH",
           "txt_TagDetection_DacDataH_value", "cmdDacDataH_minus", "cmdDacDataH_plus", "FF", 750);
    // Kept, as the window has always had them, but never shown.
    auto* initIdxLabel = b.label(dac, QStringLiteral("lbl_TagDetection_Detection_AinitIdx"),
                                 QStringLiteral("InitIdx"), 2640, 390, 900, 240);
    txtInitIdx_ = b.place(new HexEntryBox(ctx(), HexEntryBox::Kind::Byte, dac),
                          QStringLiteral("txt_TagDetection_AInitIdx_value"), 3540, 360, 540, 300);
    txtInitIdx_->setText(QStringLiteral("00"));
    auto* wuFlagsLabel = b.label(dac, QStringLiteral("lbl_TagDetection_Detection_Answer"),
                                 QStringLiteral("WUFlags"), 2640, 780, 900, 240);
    txtDetectionWuFlags_ =
        b.display(dac, QStringLiteral("txt_TagDetection_WUflags"), 3540, 750, 540, 300);
    txtDetectionWuFlags_->setMaxLength(2);
    txtDetectionWuFlags_->setText(QStringLiteral("00"));
    auto* wuReason = b.place(new Indicator(palette().color(QPalette::Midlight), dac),
                             QStringLiteral("shapWuReason"), 4200, 750, 300, 300);
    for (QWidget* hidden : std::initializer_list<QWidget*>{initIdxLabel, txtInitIdx_, wuFlagsLabel,
                                                           txtDetectionWuFlags_, wuReason}) {
        hidden->hide();
    }
    for (HexEntryBox* box : boxes_) box->setMaxLength(2);

    // 4) The results; the request and answer boxes and the probe buttons are never shown.
    results_ = std::make_unique<ResultsPanel>(
        detect, b, 60, kDetectControlsHeight + 60,
        ResultsPanel::Captions{"4) Result", "ISO14443-B card : ", "txt_TagDetection_request",
                               "txt_TagDetection_answer"},
        log_);
    results_->setExchangeVisible(false);
    for (int i = 0; i < 4; ++i) {
        const auto which = static_cast<ProbeButton>(i);
        results_->probeButton(which)->hide();
        connect(results_->probeButton(which), &QPushButton::clicked, this,
                [this, which] { probeButtonClicked(which); });
    }
}

QSize TagDetectionWindow::sizeHint() const {
    const widgets::WindowBuilder b(this);
    return {b.px(kWidthTwips), b.px(kHeightTwips)};
}

void TagDetectionWindow::load() {
    state_ = {};
    const widgets::WindowBuilder b(this);
    setGeometry(b.px(100), b.px(100), b.px(kWidthTwips), b.px(kHeightTwips));
    log_.attach(rtfTagDetectionLogEdit_);
    const bool forced = readRegisterForced(ctx().values.ReaderIdnText);
    chkWithReadRg_->setChecked(forced);
    chkWithReadRg_->setVisible(!forced);
}

void TagDetectionWindow::unload() {
    ctx().values.StopRequested = true;
    state_.LoopForever = false;
    state_.LoopUntilTag = false;
}

// ---- Boxes ----------------------------------------------------------------------------

std::optional<std::uint8_t> TagDetectionWindow::boxValue(Box box) const {
    const HexEntryBox* e = boxes_[box];
    if (e->text().isEmpty() || !e->holdsValidText()) return std::nullopt;
    return static_cast<std::uint8_t>(transceiver::hexValue(e->text().toLatin1().toStdString()));
}

bool TagDetectionWindow::boxesHoldValues(std::initializer_list<Box> boxes) {
    if (auto* focused = qobject_cast<HexEntryBox*>(QApplication::focusWidget());
        focused && isAncestorOf(focused)) {
        focused->commit();
    }
    for (Box box : boxes) {
        if (boxValue(box)) continue;
        ctx().ui().messageBox(QStringLiteral("The box ") + QLatin1String(boxLabels_[box]) +
                                  QStringLiteral(" holds no hexadecimal value."),
                              QString::fromLatin1(kTagDetectionCaption),
                              core::MsgIcon::Exclamation);
        return false;
    }
    return true;
}

std::uint8_t TagDetectionWindow::sentValue(Box box) {
    if (const auto v = boxValue(box)) lastSent_[box] = *v;
    return lastSent_[box];
}

IdleParameters TagDetectionWindow::idleParameters() {
    return {sentValue(WuPeriod), sentValue(OscStart), sentValue(DacStart), sentValue(SwingsCnt),
            sentValue(MaxSleep)};
}

void TagDetectionWindow::stepBox(Box box, int delta) {
    const auto v = boxValue(box);
    if (!v) {
        ctx().ui().beep();
        return;
    }
    const int next = *v + delta;
    if (next < 0 || next > 0xFF) return;
    boxes_[box]->setText(hexBoxText(static_cast<std::uint8_t>(next)));
}

void TagDetectionWindow::loopBoxToggled(bool loopBox, bool checked) {
    QCheckBox* other = loopBox ? chkLoopWhileDetection_ : chkLoop_;
    if (checked) other->setChecked(false);
    (loopBox ? state_.LoopForever : state_.LoopUntilTag) = checked;
}

// ---- Raw exchanges --------------------------------------------------------------------

QString TagDetectionWindow::rawExchange(const std::string& frame) {
    const QString request = QStringLiteral("01 ") + qs(frame);
    results_->setRequest(request);
    results_->setAnswer({});
    reader::AnswerBuffer buffer = reader::AnswerBuffer::blanks();
    core::callWithReconnect(ctx(), core::BoardSetup::None, core::OnUnreachable::ReconnectOnly,
                            reader::ReaderFunction::KvCmd, transceiver::transceiverRequest(frame),
                            buffer);
    results_->setAnswer(qs(buffer.text()));
    // A buffer the library wrote nothing into holds no answer at all.
    QString answer = buffer.hasNul() ? qs(buffer.text()) : QString();
    log_.appendUntitled(QString::fromLatin1(core::kLogKvCmdRaw), request, answer);
    return answer;
}

QString TagDetectionWindow::SendIdleDetection(bool wuCycleEnd, std::uint8_t dacDataL,
                                              std::uint8_t dacDataH) {
    return rawExchange(detectionIdleFrame(idleParameters(), wuCycleEnd, dacDataL, dacDataH));
}

QString TagDetectionWindow::SendIdleCalibration(std::uint8_t dacDataHIndex) {
    return rawExchange(calibrationIdleFrame(idleParameters(), dacDataHIndex));
}

// ---- Calibration ----------------------------------------------------------------------

void TagDetectionWindow::showCalibrationFlags(const QString& flags) {
    txtCalibrWuFlags_->setText(flags);
    const QString shown = txtCalibrWuFlags_->text();
    shapCalibrationWuReason_->setFill(shown == kWokenByTimeOut ? palette().color(QPalette::Midlight)
                                      : shown == kWokenByTag   ? kGreen
                                                               : kRed);
}

void TagDetectionWindow::cmd_TagDetection_calibration_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    if (!boxesHoldValues({WuPeriod, OscStart, DacStart, SwingsCnt, MaxSleep})) return;

    lblCalibrationAnswer_->show();
    txtCalibrWuFlags_->show();
    shapCalibrationWuReason_->show();
    core::CommandLock lock(run, controls_);
    if (runStartEcho(run, *results_, log_)) return;

    CalibrationHooks hooks;
    hooks.measure = [this](std::uint8_t index) {
        QString answer = SendIdleCalibration(index);
        if (chkWithReadRg_->isChecked()) answer = ReadWakeUpRegister();
        return wakeUpFlags(answer);
    };
    hooks.pump = [&run](int passes) { return run.pumpEnds(passes); };
    hooks.progress = [this](const QString& line) { log_.appendProgress(line); };
    hooks.showStepFlags = [this](const QString& flags) { showCalibrationFlags(flags); };
    hooks.clearResults = [this] {
        txtDacDataLResult_->clear();
        txtDacDataHResult_->clear();
    };
    const CalibrationResult r = calibrate(hooks);
    if (r.end == CalibrationResult::End::Abandoned) return;
    if (r.end == CalibrationResult::End::Complete) {
        lblDacDataLResult_->setText(r.dacDataLCaption);
        txtDacDataLResult_->setText(r.dacDataLBox);
        boxes_[DacDataL]->setText(txtDacDataLResult_->text());
        lblDacDataHResult_->setText(r.dacDataHCaption);
        txtDacDataHResult_->setText(r.dacDataHBox);
        boxes_[DacDataH]->setText(txtDacDataHResult_->text());
    }
}

// ---- Detection run --------------------------------------------------------------------

void TagDetectionWindow::cmd_TagDetection_Detection_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    if (!boxesHoldValues({WuPeriod, OscStart, DacStart, SwingsCnt, MaxSleep, DacDataL, DacDataH}))
        return;

    core::CommandLock lock(run, controls_);
    results_->startRun();
    int tickedAtStart = 0;
    for (QCheckBox* box : chkTagDetSelectProtocols_) tickedAtStart += box->isChecked() ? 1 : 0;
    if (runStartEcho(run, *results_, log_)) return;

    Probes probes(run, *results_, kTagDetectionPolicy);
    for (;;) {
        results_->clearCaption();
        cutSlots(*results_);
        results_->setResult(ResultBox::Iso15693, {});
        results_->setResult(ResultBox::Iso14443A, {});
        txtDetectionWuFlags_->clear();
        const bool wuCycleEnd = potWuCycleEnd_[0]->isChecked();

        SendPreIdleRegisterWrite();
        if (run.pumpEnds()) return;
        QString last = SendIdleDetection(wuCycleEnd, sentValue(DacDataL), sentValue(DacDataH));
        if (run.pumpEnds()) return;
        if (chkWithReadRg_->isChecked()) last = ReadWakeUpRegister();
        if (run.pumpEnds()) return;
        txtDetectionWuFlags_->setText(wakeUpFlags(last));
        const QString flags = txtDetectionWuFlags_->text();

        std::array<std::optional<int>, kProtocolCount> counts{};
        if (flags == kWokenByTag) {
            for (int p = 0; p < kProtocolCount; ++p) {
                if (!chkTagDetSelectProtocols_[static_cast<std::size_t>(p)]->isChecked()) continue;
                counts[static_cast<std::size_t>(p)] = probes.probe(p, true, true);
                if (run.mustEnd()) return;
                if (p == Sola && run.pumpEnds()) return;
            }
        }
        const PassVerdict verdict = tagDetectionVerdict(flags, tickedAtStart, counts);
        results_->clearCaption();
        results_->appendCaption(verdict.caption);
        results_->showVerdict(verdict.found);

        if (run.pumpEnds()) return;
        if (state_.LoopForever) continue;
        if (run.pumpEnds()) return;
        if (state_.LoopUntilTag && !verdict.found) continue;
        break;
    }
}

void TagDetectionWindow::probeButtonClicked(ProbeButton which) {
    detection::probeButtonClicked(*this, *results_, kTagDetectionPolicy, which);
}

}  // namespace detection
