#include "iso14443b/iso18092_window.hpp"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/app_context.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "iso14443b/answers.hpp"
#include "iso14443b/any_frame_row.hpp"
#include "iso14443b/tag_exchange.hpp"
#include "iso14443b/window_common.hpp"
#include "transceiver/felica_answers.hpp"
#include "widgets/log_view.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443b {

namespace {

// The pause after each REQC pass, in event passes.
constexpr int kReqcPausePasses = 10002;

}  // namespace

Iso18092Window::Iso18092Window(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::Iso18092, parent), log_(ctx) {
    setObjectName(QStringLiteral("frmTQ73RN_ISO18092_UI"));
    setWindowTitle(QStringLiteral("   ISO18092  user interface  "));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    const widgets::WindowBuilder b(this);
    auto* frame2 = b.place(new QGroupBox(this), QStringLiteral("Frame2"), 120, 0, 13320, 9750);
    auto* fraMode =
        b.place(new QGroupBox(frame2), QStringLiteral("fraMode"), 120, 120, 13080, 3840);
    auto* title = b.label(fraMode, QStringLiteral("lbl_title_ISO18092"),
                          QStringLiteral("ISO18092 Cards user interface :"), 240, 120, 9000, 480);
    QFont titleFont = title->font();
    titleFont.setPointSize(18);
    title->setFont(titleFont);

    auto* polling =
        b.place(new QGroupBox(fraMode), QStringLiteral("Fra_18092_ReqBWupB"), 120, 720, 9120, 2040);
    auto* reqc = b.place(new QPushButton(QStringLiteral("REQC"), polling),
                         QStringLiteral("cmd_ISO18092_ReqC"), 120, 240, 1095, 375);
    auto* loop = b.place(new QCheckBox(QStringLiteral("Loop"), polling),
                         QStringLiteral("chkReqCLoop"), 120, 720, 960, 315);
    answer_ = b.label(polling, QStringLiteral("lblReqBanswer"), QStringLiteral("Answer : "), 1440,
                      285, 7560);
    manufId_ = b.label(polling, QStringLiteral("lblReqCanswer_ManufID"),
                       QStringLiteral("Manuf ID : "), 1440, 765, 7560);
    manufParameter_ = b.label(polling, QStringLiteral("lblReqCanswer_ManufParameter"),
                              QStringLiteral("Manuf Parameter : "), 1440, 1245, 7560);

    anyFrame_ =
        new AnyFrameRow(ctx, b, fraMode,
                        {"cmd_ISO18092_SendFrame", "txt_ISO18092_AnyFrame", "lbl_ISO18092_request",
                         "txt_ISO18092_request", "lbl_ISO18092_answer", "txt_ISO18092_answer"},
                        120, 3000);

    logBox_ = buildLogFrame(b, frame2, "rtfISO18092LogEdit", log_, 120, 4080, 13080, 5550).box;

    connect(reqc, &QPushButton::clicked, this, &Iso18092Window::reqcClicked);
    connect(loop, &QCheckBox::clicked, this,
            [this](bool ticked) { this->ctx().values.ReqCLoopEnabled = ticked; });
    connect(anyFrame_, &AnyFrameRow::sendClicked, this, &Iso18092Window::sendFrameClicked);
}

Iso18092Window::~Iso18092Window() = default;

QSize Iso18092Window::sizeHint() const {
    const widgets::WindowBuilder b(this);
    return {b.px(kWindowWidth), b.px(kWindowHeight)};
}

void Iso18092Window::load() {
    core::ProgramValues& v = ctx().values;
    v.ScriptLoopEnabled = false;
    v.ReqCLoopEnabled = false;
    const widgets::WindowBuilder b(this);
    setGeometry(b.px(kWindowLeft), b.px(kWindowTop), b.px(kWindowWidth), b.px(kWindowHeight));
    log_.attach(logBox_);

    core::RunScope run(*this);
    if (!run.started()) return;
    (void)runLoadExchanges(run, core::BoardSetup::Felica, log_, *anyFrame_);
}

void Iso18092Window::unload() { ctx().values.ReqCLoopEnabled = false; }

reader::LibraryStatus Iso18092Window::DEMO_TQ73RN_A_reconnect_iso18092() {
    return core::DEMO_TQ73RN_A_reconnect_iso18092(ctx());
}

void Iso18092Window::showLabels(const QString& answer, const QString& manufId,
                                const QString& manufParameter) {
    answer_->setText(answer);
    manufId_->setText(manufId);
    manufParameter_->setText(manufParameter);
}

void Iso18092Window::reqcClicked() {
    // A click during a pass's pause would start a second run of passes inside the first.
    if (reqcRuns_) return;
    core::RunScope run(*this);
    if (!run.started()) return;
    const RunFlag running(reqcRuns_);
    const TagExchangeTarget target = exchangeTarget();
    do {
        const ReqcLabels bare = reqcPrefixes();
        showLabels(bare.answer, bare.manufId, bare.manufParameter);
        const TagAnswer a =
            ExchangeTagFrame(target, transceiver::reqcRequest(), QStringLiteral("REQC"));
        if (a.good()) {
            const ReqcLabels l = reqcLabels(a.text);
            showLabels(l.answer, l.manufId, l.manufParameter);
        }
        if (run.pumpEnds(kReqcPausePasses)) return;
    } while (ctx().values.ReqCLoopEnabled);
}

void Iso18092Window::sendFrameClicked() {
    core::RunScope run(*this);
    if (!run.started()) return;
    commitFocusedBox(this);
    SendAnyFrame(exchangeTarget(), anyFrame_->frame());
}

TagExchangeTarget Iso18092Window::exchangeTarget() {
    return {ctx(), core::BoardSetup::Felica, log_, anyFrame_->requestBox(), anyFrame_->answerBox()};
}

}  // namespace iso14443b
