#include "detection/auto_detect_window.hpp"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/app_context.hpp"
#include "core/run_guard.hpp"
#include "detection/probes.hpp"
#include "widgets/log_view.hpp"
#include "widgets/window_builder.hpp"

namespace detection {

namespace {

// The window was drawn for a narrower font than today's screens have; it is laid out
// to open whole inside the main window on a 1024 x 768 screen.
constexpr int kWidthTwips = 12300;
constexpr int kHeightTwips = 8250;
constexpr int kResultsTop = 1920;

}  // namespace

AutoDetectWindow::AutoDetectWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::AutoDetect, parent),
      log_(ctx),
      controls_(ctx.values, core::CommandControls::StopFlag::LeavesAlone) {
    setObjectName(QStringLiteral("frmTQ73RN_AutoDetectTool_UI"));
    setWindowTitle(QString::fromLatin1(kAutoDetectCaption));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    const widgets::WindowBuilder b(this);
    auto* frame2 = b.place(new QGroupBox(this), QStringLiteral("Frame2"), 60, 0, 12180, 8190);
    const int resultsBottom = kResultsTop + ResultsPanel::heightTwips() + 60;
    auto* detect = b.place(new QGroupBox(frame2), QStringLiteral("FraTQ73RN_detectTag"), 60, 60,
                           12060, resultsBottom);

    b.label(detect, QStringLiteral("Label2"), QStringLiteral("1) Select RF protocols"), 120, 60);
    auto* fraProtocols =
        b.place(new QGroupBox(detect), QStringLiteral("fraProtocols"), 120, 300, 2640, 1500);
    for (int i = 0; i < kProtocolCount; ++i) {
        auto* box = b.place(new QCheckBox(protocolCaption(i), fraProtocols),
                            widgets::WindowBuilder::indexed("chkTagDetSelectProtocols", i), 120,
                            60 + 285 * i, 2400, 255);
        box->setChecked(true);
        connect(box, &QCheckBox::clicked, this, [this] { protocolBoxClicked(); });
        chkTagDetSelectProtocols_[static_cast<std::size_t>(i)] = box;
    }

    b.label(detect, QStringLiteral("lblTagDetectionTitle"),
            QStringLiteral("2) Launch Auto Detection process"), 2940, 60);
    fraOptLoop_ =
        b.place(new QGroupBox(detect), QStringLiteral("FraOptLoop"), 2940, 300, 6360, 1230);
    loopGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* opt = b.place(
            new QRadioButton(loopModeCaption(static_cast<AutoDetectLoopMode>(i)), fraOptLoop_),
            widgets::WindowBuilder::indexed("optLoopAutoDetectionTool", i), 120, 60 + 285 * i, 6120,
            255);
        loopGroup_->addButton(opt, i);
        optLoopAutoDetectionTool_[static_cast<std::size_t>(i)] = opt;
    }
    optLoopAutoDetectionTool_[0]->setChecked(true);
    b.label(detect, QStringLiteral("Label1"),
            QStringLiteral(
                "Select at least one RF protocol to be able to launch Auto Detection process"),
            2940, 1560, 6360, 240);
    cmdAutoDetectionProcess_ =
        b.place(new QPushButton(QStringLiteral("Launch Auto Detection"), detect),
                QStringLiteral("cmd_Auto_Detection_Process"), 9480, 360, 2460, 555);
    cmdStopLoop_ = b.place(new QPushButton(QStringLiteral("Stop Loop"), detect),
                           QStringLiteral("cmdStopLoop"), 9480, 360, 2460, 555);
    cmdStopLoop_->raise();
    connect(cmdAutoDetectionProcess_, &QPushButton::clicked, this,
            [this] { cmd_Auto_Detection_Process_Click(); });
    connect(cmdStopLoop_, &QPushButton::clicked, this, [this] { stopLoopClicked(); });

    results_ = std::make_unique<ResultsPanel>(
        detect, b, 60, kResultsTop,
        ResultsPanel::Captions{"3) Result", "ISO14443-B card", "txt_AutoDetect_request",
                               "txt_AutoDetect_answer"},
        log_);
    for (int i = 0; i < 4; ++i) {
        const auto which = static_cast<ProbeButton>(i);
        connect(results_->probeButton(which), &QPushButton::clicked, this,
                [this, which] { probeButtonClicked(which); });
    }

    const int logTop = 60 + resultsBottom + 60;
    const int logHeight = 8190 - 60 - logTop;
    auto* fraLog =
        b.place(new QGroupBox(frame2), QStringLiteral("FraLog"), 60, logTop, 12060, logHeight);
    rtfAutoDetectLogEdit_ =
        b.place(new widgets::LogView(fraLog), QStringLiteral("rtfAutoDetectLogEdit"), 60, 60, 9300,
                logHeight - 120);
    cmdSaveLog_ = b.place(new QPushButton(QStringLiteral("Save Log"), fraLog),
                          QStringLiteral("cmdSaveLog"), 9540, logHeight - 870, 2400, 330);
    cmdClearLog_ = b.place(new QPushButton(QStringLiteral("Clear Log"), fraLog),
                           QStringLiteral("cmdClearLog"), 9540, logHeight - 450, 2400, 330);
    connect(cmdSaveLog_, &QPushButton::clicked, this, [this] { log_.save(); });
    connect(cmdClearLog_, &QPushButton::clicked, this, [this] { log_.clear(); });

    // The run switches these. The ISO14443-A and FeliCa probe buttons are among them: a
    // probe clicked inside the run's events would change the protocol between another
    // probe's set-up and its poll.
    QList<QWidget*> controls{results_->probeButton(Iso14443BButton),
                             results_->probeButton(Iso15693Button), cmdAutoDetectionProcess_,
                             fraOptLoop_};
    for (QCheckBox* box : chkTagDetSelectProtocols_) controls.append(box);
    controls << cmdSaveLog_ << cmdClearLog_ << results_->probeButton(Iso14443AButton)
             << results_->probeButton(FelicaButton);
    controls_.setControls(controls);
}

AutoDetectWindow::~AutoDetectWindow() = default;

QSize AutoDetectWindow::sizeHint() const {
    const widgets::WindowBuilder b(this);
    return {b.px(kWidthTwips), b.px(kHeightTwips)};
}

void AutoDetectWindow::load() {
    ctx().values.StopRequested = false;
    cmdStopLoop_->hide();
    const widgets::WindowBuilder b(this);
    setGeometry(b.px(100), b.px(100), b.px(kWidthTwips), b.px(kHeightTwips));
    log_.attach(rtfAutoDetectLogEdit_);
}

void AutoDetectWindow::unload() {
    // A run under way ends: at its next pump, since the window is closing.
    ctx().values.StopRequested = true;
}

AutoDetectLoopMode AutoDetectWindow::loopMode() const {
    const int id = loopGroup_->checkedId();
    return static_cast<AutoDetectLoopMode>(id < 0 ? 0 : id);
}

void AutoDetectWindow::protocolBoxClicked() {
    bool any = false;
    for (QCheckBox* box : chkTagDetSelectProtocols_) any |= box->isChecked();
    cmdAutoDetectionProcess_->setEnabled(any);
}

void AutoDetectWindow::stopLoopClicked() {
    ctx().values.StopRequested = true;
    core::hideStopButton(cmdStopLoop_);
}

void AutoDetectWindow::cmd_Auto_Detection_Process_Click() {
    core::RunScope run(*this, core::RunScope::Start::Exclusive);
    if (!run.started()) return;
    core::ProgramValues& values = ctx().values;
    {
        core::CommandLock lock(run, controls_, cmdStopLoop_);
        results_->startRun();

        std::array<bool, kProtocolCount> ticked{};
        bool any = false;
        for (std::size_t i = 0; i < ticked.size(); ++i) {
            ticked[i] = chkTagDetSelectProtocols_[i]->isChecked();
            any |= ticked[i];
        }
        if (any) {
            if (runStartEcho(run, *results_, log_)) return;
            // Once per run: the REQB and FeliCa boxes keep what they show.
            results_->clearCaption();
            cutSlots(*results_);
            results_->setResult(ResultBox::Iso15693, {});
            results_->setResult(ResultBox::Iso14443A, {});

            AutoDetectLoop loop(ticked);
            Probes probes(run, *results_, kAutoDetectPolicy);
            // A stop requested before the run still lets it make one pass.
            do {
                results_->clearCaption();
                loop.startPass();
                probes.RfOff();
                if (run.mustEnd()) return;
                const AutoDetectLoopMode mode = loopMode();
                for (int p = 0; p < kProtocolCount; ++p) {
                    if (!loop.probes(p)) continue;
                    const int count = probes.probe(p, true, true);
                    if (run.mustEnd()) return;
                    if (isHit(p, count)) {
                        results_->appendCaption(hitText(p, count));
                        results_->showVerdict(true);
                    }
                    if (loop.record(p, count, mode)) break;
                }
                results_->showVerdict(loop.found());
                if (!loop.found()) results_->clearCaption();
                if (run.pumpEnds()) return;
                if (loop.endOfPass(loopMode())) values.StopRequested = true;
            } while (!values.StopRequested);
        }
        values.StopRequested = false;
    }
    // A run started with no protocol ticked leaves Launch as the boxes say.
    protocolBoxClicked();
}

void AutoDetectWindow::probeButtonClicked(ProbeButton which) {
    detection::probeButtonClicked(*this, *results_, kAutoDetectPolicy, which);
}

}  // namespace detection
