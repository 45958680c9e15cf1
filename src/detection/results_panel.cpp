#include "detection/results_panel.hpp"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include "detection/indicator.hpp"
#include "widgets/window_builder.hpp"

namespace detection {

namespace {

const QColor kBlue(0, 0, 255);  // &HFF0000
constexpr char kDetected[] = "Detected Tag";
constexpr char kNotDetected[] = "No Detected Tag";

// Rows of the panel, in twips from its top.
constexpr int kRowIso15693 = 780;
constexpr int kRowIso14443A = 1260;
constexpr int kRowReqb = 1680;
constexpr int kRowSlots = 2100;
constexpr int kRowFelica = 3420;
constexpr int kRowRequest = 3900;
constexpr int kRowAnswer = 4320;
constexpr int kHeight = 4740;

constexpr int kLabelLeft = 120;
constexpr int kBoxLeft = 1920;
constexpr int kBoxWidth = 7935;
constexpr int kButtonLeft = 10080;
constexpr int kButtonWidth = 2415;
constexpr int kWidth = 12615;
constexpr int kSlotWidth = 1560;
constexpr int kSlotStep = 1620;

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

QLineEdit* resultBox(QWidget* parent, const widgets::WindowBuilder& b, const char* name, int left,
                     int top, int width) {
    return b.display(parent, QString::fromLatin1(name), left, top, width, 315);
}

}  // namespace

int ResultsPanel::heightTwips() { return kHeight; }

ResultsPanel::ResultsPanel(QWidget* parent, const widgets::WindowBuilder& b, int left, int top,
                           const Captions& captions, core::LogSink& log)
    : log_(log) {
    const auto y = [top](int row) { return top + row; };
    const auto x = [left](int col) { return left + col; };

    b.label(parent, QStringLiteral("lblResultsTitle"), QString::fromLatin1(captions.resultsTitle),
            x(0), y(0));
    // The two lamps share one place; the blue one lies over the grey one.
    shapes_[0] = b.place(new Indicator(parent->palette().color(QPalette::Button), parent),
                         QStringLiteral("ShapTagDetected_0"), x(120), y(300), 375, 375);
    shapes_[1] = b.place(new Indicator(kBlue, parent), QStringLiteral("ShapTagDetected_1"), x(120),
                         y(300), 375, 375);
    shapes_[1]->raise();
    for (Indicator* s : shapes_) s->hide();
    lblTagDetected_ = b.label(parent, QStringLiteral("lblTagDetected"),
                              QString::fromLatin1(kDetected), x(600), y(360), 1815, 255);
    lblTagDetected_->setAlignment(Qt::AlignCenter);
    lblTagDetected_->hide();
    lblResult_ = b.label(parent, QStringLiteral("lblTagDetection_result"), {}, x(2520), y(360),
                         kWidth - 2520, 255);
    setTextColour(lblResult_, kBlue);

    auto* fra15693 = b.place(new QGroupBox(parent), QStringLiteral("FraISO15693detection"), x(0),
                             y(kRowIso15693 - 75), kWidth, 435);
    b.label(fra15693, QStringLiteral("lbl_TagDetection_iso15693"),
            QStringLiteral("ISO15693 tag : "), kLabelLeft, 120);
    results_[0] = resultBox(fra15693, b, "txtISO15693DetectTags", kBoxLeft, 60, kBoxWidth);
    buttons_[Iso15693Button] =
        b.place(new QPushButton(QStringLiteral("ISO15693 Inventory"), fra15693),
                QStringLiteral("cmdISO15693_AntiCollision"), kButtonLeft, 30, kButtonWidth, 375);

    b.label(parent, QStringLiteral("lbl_TagDetection_iso14443A"),
            QStringLiteral(" ISO14443-A card : "), x(kLabelLeft), y(kRowIso14443A + 45));
    results_[1] =
        resultBox(parent, b, "txtISO14443ADetectTags", x(kBoxLeft), y(kRowIso14443A), kBoxWidth);
    buttons_[Iso14443AButton] =
        b.place(new QPushButton(QStringLiteral("ISO14443A Anti Collision"), parent),
                QStringLiteral("cmdISO14443A_AntiCollision"), x(kButtonLeft), y(kRowIso14443A - 30),
                kButtonWidth, 375);

    b.label(parent, QStringLiteral("lblIso14443A_RegA"),
            QString::fromLatin1(captions.iso14443BCard), x(kLabelLeft), y(kRowReqb + 45));
    results_[2] =
        resultBox(parent, b, "txt_ISO14443B_REQB_result", x(kBoxLeft), y(kRowReqb), kBoxWidth);

    auto* fraSola = b.place(new QGroupBox(parent), QStringLiteral("FraISO14443B_detection"), x(0),
                            y(kRowSlots - 75), kWidth, 1275);
    auto* solaLabel =
        b.label(fraSola, QStringLiteral("lbl_TagDetection_iso14443B"),
                QStringLiteral(" ISO14443-B tag (SOLAxx) : "), kLabelLeft, 120, 1740, 480);
    solaLabel->setWordWrap(true);
    for (int i = 0; i < kSlotBoxes; ++i) {
        // Five columns of three, the slot numbers running down each column.
        const int column = i / 3;
        const int row = i % 3;
        slots_[static_cast<std::size_t>(i)] =
            resultBox(fraSola, b, "", kBoxLeft + kSlotStep * column, 60 + 390 * row, kSlotWidth);
        slots_[static_cast<std::size_t>(i)]->setObjectName(
            widgets::WindowBuilder::indexed("txt_ISO14443B_anticollision_result", i));
        slots_[static_cast<std::size_t>(i)]->setText(QStringLiteral("%1 : ").arg(i + 1));
    }
    buttons_[Iso14443BButton] =
        b.place(new QPushButton(QStringLiteral("ISO14443B Anti Collision"), fraSola),
                QStringLiteral("cmdISO14443B_AntiCollision"), kButtonLeft, 450, kButtonWidth, 375);

    b.label(parent, QStringLiteral("lbl_TagDetection_Felica"), QStringLiteral("Felica Card : "),
            x(kLabelLeft), y(kRowFelica + 45));
    results_[3] =
        resultBox(parent, b, "txtFelicaDetectTags", x(kBoxLeft), y(kRowFelica), kBoxWidth);
    buttons_[FelicaButton] =
        b.place(new QPushButton(QStringLiteral("Felica Anti Collision"), parent),
                QStringLiteral("cmdFelica_AntiCollision"), x(kButtonLeft), y(kRowFelica - 30),
                kButtonWidth, 375);

    exchange_[0] = b.label(parent, QStringLiteral("lbl_TagDetection_request"),
                           QStringLiteral("request ="), x(kLabelLeft), y(kRowRequest + 45));
    request_ = b.display(parent, QStringLiteral("txt_TagDetection_request"), x(kBoxLeft),
                         y(kRowRequest), kWidth - kBoxLeft);
    exchange_[1] = request_;
    exchange_[2] = b.label(parent, QStringLiteral("lbl_TagDetection_answer"),
                           QStringLiteral("answer ="), x(kLabelLeft), y(kRowAnswer + 45));
    answer_ = b.display(parent, QStringLiteral("txt_TagDetection_answer"), x(kBoxLeft),
                        y(kRowAnswer), kWidth - kBoxLeft);
    exchange_[3] = answer_;
}

void ResultsPanel::setExchangeVisible(bool visible) {
    for (QWidget* w : exchange_) w->setVisible(visible);
}

void ResultsPanel::setRequest(const QString& text) { request_->setText(text); }
void ResultsPanel::setAnswer(const QString& text) { answer_->setText(text); }

QLineEdit* ResultsPanel::box(ResultBox b) const {
    return results_[static_cast<std::size_t>(static_cast<int>(b))];
}

QString ResultsPanel::result(ResultBox b) const { return box(b)->text(); }
void ResultsPanel::setResult(ResultBox b, const QString& text) { box(b)->setText(text); }

QString ResultsPanel::slot(int index) const {
    return slots_.at(static_cast<std::size_t>(index))->text();
}
void ResultsPanel::setSlot(int index, const QString& text) {
    slots_.at(static_cast<std::size_t>(index))->setText(text);
}

void ResultsPanel::startRun() {
    shapes_[0]->show();
    shapes_[1]->hide();
    lblTagDetected_->show();
    showVerdict(false);
}

void ResultsPanel::showVerdict(bool found) {
    shapes_[1]->setVisible(found);
    setTextColour(
        lblTagDetected_,
        found ? kBlue : lblResult_->parentWidget()->palette().color(QPalette::WindowText));
    lblTagDetected_->setText(QString::fromLatin1(found ? kDetected : kNotDetected));
}

void ResultsPanel::clearCaption() { lblResult_->clear(); }
void ResultsPanel::appendCaption(const QString& text) {
    lblResult_->setText(lblResult_->text() + text);
}
QString ResultsPanel::caption() const { return lblResult_->text(); }

}  // namespace detection
