#include "shell/startup_detection.hpp"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app_context.hpp"
#include "core/run_guard.hpp"
#include "core/status_bar.hpp"
#include "reader/answer_buffer.hpp"
#include "transceiver/board_answers.hpp"
#include "widgets/window_builder.hpp"

namespace shell {

namespace {

constexpr char kDllRevCaption[] = "DLL REV = ";
constexpr char kMcuRevCaption[] = "MCU REV = ";
constexpr char kIdnCaption[] = "IDN = ";

constexpr int kFirstTickMs = 2000;
constexpr int kCloseTickMs = 3000;
// The progress phases were counted event loops whose length depended on the machine;
// these steps give the same few seconds of visible progress everywhere.
constexpr int kFirstPhaseStepMs = 10;
constexpr int kPhaseStepMs = 25;
constexpr int kSettleMs = 250;
constexpr int kProgressSteps = 20;
constexpr int kProgressMaximum = 120;

const QColor kRed(255, 0, 0);

QString answerText(const reader::AnswerBuffer& a) {
    const std::string text = a.text();
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void paintRed(QLabel* label) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kRed);
    label->setPalette(p);
}

// A drawing of the board stands in for its photograph.
QPixmap boardPicture(int width, int height) {
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF board(4, 4, width - 8, height - 8);
    p.setPen(QPen(QColor(20, 60, 30), 2));
    p.setBrush(QColor(30, 110, 60));
    p.drawRoundedRect(board, 10, 10);
    // The antenna coil: three turns of copper.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(205, 150, 60), 3));
    const QRectF coil(board.left() + board.width() * 0.08, board.top() + board.height() * 0.1,
                      board.width() * 0.5, board.height() * 0.8);
    for (int turn = 0; turn < 3; ++turn) {
        const qreal d = turn * 9.0;
        p.drawRoundedRect(coil.adjusted(d, d, -d, -d), 8, 8);
    }
    // The transceiver, the USB socket and the label.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 25, 25));
    const QRectF chip(board.left() + board.width() * 0.66, board.top() + board.height() * 0.35,
                      board.width() * 0.16, board.width() * 0.16);
    p.drawRect(chip);
    p.setBrush(QColor(190, 190, 195));
    p.drawRect(QRectF(board.right() - 10, board.center().y() - 14, 14, 28));
    p.setPen(QColor(235, 235, 235));
    QFont f = p.font();
    f.setBold(true);
    f.setPointSizeF(9);
    p.setFont(f);
    p.drawText(QRectF(chip.left() - 30, chip.bottom() + 6, chip.width() + 60, 20), Qt::AlignCenter,
               QStringLiteral("TQ73RN"));
    p.drawText(QRectF(board.left(), board.bottom() - 24, board.width(), 20), Qt::AlignCenter,
               QStringLiteral("DEMO-TQ73RN-A"));
    return pm;
}

}  // namespace

StartupDetectionWindow::StartupDetectionWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::StartupDetection, parent) {
    setObjectName(QStringLiteral("frmTQ73RN_Detection"));
    setWindowTitle(QString());
    setAutoFillBackground(true);

    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("pictTQ73RNdemokit"));
    picture->setPixmap(
        boardPicture(widgets::twipsToPixels(this, 4200), widgets::twipsToPixels(this, 3000)));

    lblProductName_ = label("lblProductName", "TQ73RN_Development_Software");
    QFont big = lblProductName_->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblProductName_->setFont(big);
    lblVersion_ = label("lblVersion", "revision 1.3");
    lblWarning_ = label("lblWarning", "Using DEMO-TQ73RN-A or DEMO-TQ73RN-B");
    QFont bold = lblWarning_->font();
    bold.setBold(true);
    lblWarning_->setFont(bold);
    auto* organisation1 = label("lblOrganisation_0", "TQ73RN Evaluation Tools");
    auto* organisation2 = label("lblOrganisation_1", "Reader evaluation software");

    lblDetectionOnGoing_ = label("lblDetectionOnGoing", "detection on going");
    lblDetectionStatus_ = label("lblDetectionStatus", "Detection Status");
    lblDetectionStatus_->setFont(bold);
    lblDllRev_ = label("lblDllRev", kDllRevCaption);
    lblMCUrev_ = label("lblMCUrev", kMcuRevCaption);
    lblIDn_ = label("lblIDn", kIdnCaption);
    txtAnswer_ = new QLineEdit(this);
    txtAnswer_->setObjectName(QStringLiteral("txtAnswer"));
    progressbarReaderDetect_ = new QProgressBar(this);
    progressbarReaderDetect_->setObjectName(QStringLiteral("progressbarReaderDetect"));
    progressbarReaderDetect_->setTextVisible(false);

    // Controls that appear during the detection keep their place while hidden, so the
    // window does not jump about as they show up.
    for (QWidget* w : std::initializer_list<QWidget*>{lblDetectionStatus_, lblDllRev_, lblMCUrev_,
                                                      lblIDn_, progressbarReaderDetect_}) {
        QSizePolicy sp = w->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        w->setSizePolicy(sp);
        w->hide();
    }
    txtAnswer_->hide();

    auto* heading = new QVBoxLayout;
    heading->addWidget(lblProductName_);
    heading->addWidget(lblVersion_);
    heading->addSpacing(8);
    heading->addWidget(lblWarning_);
    heading->addStretch(1);
    heading->addWidget(organisation1);
    heading->addWidget(organisation2);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(16);
    grid->addWidget(picture, 0, 0, Qt::AlignTop);
    grid->addLayout(heading, 0, 1);
    grid->addWidget(lblDetectionOnGoing_, 1, 0, 1, 2);
    grid->addWidget(progressbarReaderDetect_, 2, 0, 1, 2);
    grid->addWidget(lblDetectionStatus_, 3, 0, 1, 2);
    grid->addWidget(lblDllRev_, 4, 0, 1, 2);
    grid->addWidget(lblMCUrev_, 5, 0, 1, 2);
    grid->addWidget(lblIDn_, 6, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
}

QSize StartupDetectionWindow::sizeHint() const {
    return {widgets::twipsToPixels(this, 10170), widgets::twipsToPixels(this, 6090)};
}

void StartupDetectionWindow::paintEvent(QPaintEvent* event) {
    core::ToolWindow::paintEvent(event);
    // Without a caption bar the window needs an edge to stand out from the background.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void StartupDetectionWindow::load() {
    lblDetectionStatus_->setText(QString());
    setGeometry(widgets::twipsToPixels(this, 1000), widgets::twipsToPixels(this, 1000),
                widgets::twipsToPixels(this, 10170), widgets::twipsToPixels(this, 6090));
    ctx().values.DetectionPending = true;
    scheduleTimer(kFirstTickMs);
}

void StartupDetectionWindow::scheduleTimer(int ms) {
    ctx().timing().after(ms, this, [this] { onTimer(); });
}

void StartupDetectionWindow::onTimer() {
    if (isClosing()) return;
    if (ctx().values.DetectionPending) {
        DetectBoard();
        return;
    }
    ctx().statusBar().setMenusEnabled(true);
    ctx().windows().close(core::WindowKind::StartupDetection);
}

bool StartupDetectionWindow::progressPhase(core::RunScope& run, int stepMs) {
    for (int i = 0; i < kProgressSteps; ++i) {
        progressbarReaderDetect_->setValue(progressbarReaderDetect_->value() + 1);
        if (run.pauseEnds(stepMs)) return true;
    }
    return false;
}

void StartupDetectionWindow::failureEnding(core::RunScope& run, int passes) {
    if (run.pumpEnds(passes)) return;
    ctx().values.DetectionPending = false;
    paintRed(lblDetectionStatus_);
    lblDetectionOnGoing_->hide();
    lblDetectionStatus_->setText(QLatin1String(kDetectionFailedText));
    if (run.pauseEnds(3 * kSettleMs)) return;
    // The closing tick starts only now, so the window cannot close under this run.
    scheduleTimer(kCloseTickMs);
}

void StartupDetectionWindow::DetectBoard() {
    core::RunScope run(*this);
    core::ProgramValues& v = ctx().values;
    reader::ReaderLibrary& library = ctx().reader();

    lblDetectionOnGoing_->show();
    progressbarReaderDetect_->show();
    lblDetectionStatus_->show();
    progressbarReaderDetect_->setMaximum(kProgressMaximum);
    progressbarReaderDetect_->setValue(0);
    if (progressPhase(run, kFirstPhaseStepMs)) return;

    // Library revision.
    lblDllRev_->show();
    txtAnswer_->clear();
    {
        reader::AnswerBuffer answer;
        const reader::LibraryStatus status = library.getDllRev(answer);
        txtAnswer_->setText(answerText(answer));
        if (status != reader::kStatusOk) return failureEnding(run, 6);
    }
    const QString revision = txtAnswer_->text();
    const int revisionNumber = transceiver::decodeDllRevisionNumber(revision);
    if (revisionNumber < 3) {
        paintRed(lblDllRev_);
        lblDllRev_->setText(lblDllRev_->text() + revision.left(3) +
                            QLatin1String(kWrongDllRevisionText));
        return failureEnding(run, 5);
    }
    lblDllRev_->setText(lblDllRev_->text() + revision);
    v.DllRevisionNumber = revisionNumber;
    if (run.pumpEnds(1) || progressPhase(run, kPhaseStepMs)) return;

    // USB connection: only libraries from revision 5 have it.
    if (v.DllRevisionNumber >= 5) {
        if (library.usbConnect() != reader::kStatusOk) return failureEnding(run, 5);
        if (run.pumpEnds(1)) return;
    }
    if (progressPhase(run, kPhaseStepMs)) return;

    // Board firmware revision.
    lblMCUrev_->show();
    txtAnswer_->clear();
    {
        reader::AnswerBuffer answer;
        const reader::LibraryStatus status = library.getMcuRev(answer);
        txtAnswer_->setText(answerText(answer));
        if (status != reader::kStatusOk || !txtAnswer_->text().startsWith(QLatin1String("00"))) {
            return failureEnding(run, 2);
        }
    }
    lblMCUrev_->setText(lblMCUrev_->text() +
                        transceiver::decodeMcuRevisionText(txtAnswer_->text()));
    v.McuRevisionText = lblMCUrev_->text().remove(QLatin1String(kMcuRevCaption));
    if (progressPhase(run, kPhaseStepMs)) return;

    // Echo.
    txtAnswer_->clear();
    {
        reader::AnswerBuffer answer;
        const reader::LibraryStatus status = library.echo(answer);
        txtAnswer_->setText(answerText(answer));
        if (status != reader::kStatusOk || !txtAnswer_->text().startsWith(QLatin1String("5500"))) {
            return failureEnding(run, 4);
        }
    }
    if (run.pumpEnds(1) || progressPhase(run, kPhaseStepMs)) return;

    // Transceiver identification.
    lblIDn_->show();
    txtAnswer_->clear();
    {
        reader::AnswerBuffer answer;
        const reader::LibraryStatus status = library.idn(answer);
        txtAnswer_->setText(answerText(answer));
        if (status != reader::kStatusOk) return failureEnding(run, 3);
    }
    const QString idn = txtAnswer_->text();
    if (!idn.startsWith(QLatin1String("00"))) {
        if (run.pumpEnds(1)) return;
        v.ReaderIdnText.clear();
        return failureEnding(run, 2);
    }
    lblIDn_->setText(lblIDn_->text() + transceiver::decodeIdnCharacters(idn));
    v.ReaderIdnText = lblIDn_->text();
    if (progressPhase(run, kPhaseStepMs) || run.pauseEnds(kSettleMs)) return;

    v.DetectionPending = false;
    lblDetectionOnGoing_->hide();
    lblDetectionStatus_->setText(QLatin1String(kDetectionOkText));
    core::StatusBarService& bar = ctx().statusBar();
    bar.setPanelText(1, bar.panelText(1) + QLatin1String(core::kBoardConnectedPhrase));
    scheduleTimer(kCloseTickMs);
    (void)run.pumpEnds(1);
}

}  // namespace shell
