#include "detection/results_panel.hpp"

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
constexpr int kRowIso15693 = 390;
constexpr int kRowIso14443A = 765;
constexpr int kRowReqb = 1140;
constexpr int kRowSlots = 1515;
constexpr int kSlotRowStep = 345;
constexpr int kSlotRows = 4;
constexpr int kRowFelica = 2970;
constexpr int kRowRequest = 3345;
constexpr int kRowAnswer = 3720;
constexpr int kHeight = 4020;
constexpr int kHeightWithoutExchange = 3345;

constexpr int kLabelLeft = 0;
constexpr int kLabelWidth = 1800;
constexpr int kBoxLeft = 1800;
constexpr int kBoxWidth = 7500;
constexpr int kBoxHeight = 300;
constexpr int kButtonLeft = 9480;
constexpr int kButtonWidth = 2460;
constexpr int kButtonHeight = 330;
constexpr int kWidth = 11940;
constexpr int kSlotWidth = 1815;
constexpr int kSlotStep = 1895;

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

}  // namespace

int ResultsPanel::heightTwips(bool withExchange) {
    return withExchange ? kHeight : kHeightWithoutExchange;
}

ResultsPanel::ResultsPanel(QWidget* parent, const widgets::WindowBuilder& b, int left, int top,
                           const Captions& captions, core::LogSink& log)
    : log_(log) {
    const auto y = [top](int row) { return top + row; };
    const auto x = [left](int col) { return left + col; };
    const auto rowLabel = [&](QWidget* p, const char* name, const char* caption, int px, int py) {
        return b.label(p, QString::fromLatin1(name), QString::fromLatin1(caption), px, py + 30,
                       kLabelWidth, 240);
    };
    const auto button = [&](QWidget* p, const char* name, const char* caption, int px, int py) {
        return b.place(new QPushButton(QString::fromLatin1(caption), p), QString::fromLatin1(name),
                       px, py - 15, kButtonWidth, kButtonHeight);
    };

    // The title, then the verdict of the last pass: its lamp, its words and what it found.
    b.label(parent, QStringLiteral("lblResultsTitle"), QString::fromLatin1(captions.resultsTitle),
            x(0), y(30), 1000, 240);
    // The two lamps share one place; the blue one lies over the grey one.
    shapes_[0] = b.place(new Indicator(parent->palette().color(QPalette::Button), parent),
                         QStringLiteral("ShapTagDetected_0"), x(1080), y(0), 300, 300);
    shapes_[1] = b.place(new Indicator(kBlue, parent), QStringLiteral("ShapTagDetected_1"), x(1080),
                         y(0), 300, 300);
    shapes_[1]->raise();
    for (Indicator* s : shapes_) s->hide();
    lblTagDetected_ = b.label(parent, QStringLiteral("lblTagDetected"),
                              QString::fromLatin1(kDetected), x(1440), y(30), 1560, 240);
    lblTagDetected_->setAlignment(Qt::AlignCenter);
    lblTagDetected_->hide();
    lblResult_ = b.label(parent, QStringLiteral("lblTagDetection_result"), {}, x(3060), y(30),
                         kWidth - 3060, 240);
    setTextColour(lblResult_, kBlue);

    // The ISO15693 row and the memory-tag slots stand in frames of their own.
    auto* fra15693 = b.place(new QWidget(parent), QStringLiteral("FraISO15693detection"), x(0),
                             y(kRowIso15693 - 15), kWidth, kButtonHeight);
    rowLabel(fra15693, "lbl_TagDetection_iso15693", "ISO15693 tag : ", kLabelLeft, 0);
    results_[0] = b.display(fra15693, QStringLiteral("txtISO15693DetectTags"), kBoxLeft, 15,
                            kBoxWidth, kBoxHeight);
    buttons_[Iso15693Button] =
        button(fra15693, "cmdISO15693_AntiCollision", "ISO15693 Inventory", kButtonLeft, 15);

    rowLabel(parent, "lbl_TagDetection_iso14443A", " ISO14443-A card : ", x(kLabelLeft),
             y(kRowIso14443A));
    results_[1] = b.display(parent, QStringLiteral("txtISO14443ADetectTags"), x(kBoxLeft),
                            y(kRowIso14443A), kBoxWidth, kBoxHeight);
    buttons_[Iso14443AButton] =
        button(parent, "cmdISO14443A_AntiCollision", "ISO14443A Anti Collision", x(kButtonLeft),
               y(kRowIso14443A));

    rowLabel(parent, "lblIso14443A_RegA", captions.iso14443BCard, x(kLabelLeft), y(kRowReqb));
    results_[2] = b.display(parent, QStringLiteral("txt_ISO14443B_REQB_result"), x(kBoxLeft),
                            y(kRowReqb), kBoxWidth, kBoxHeight);

    auto* fraSola = b.place(new QWidget(parent), QStringLiteral("FraISO14443B_detection"), x(0),
                            y(kRowSlots), kWidth, kSlotRows * kSlotRowStep);
    auto* solaLabel = b.label(fraSola, QStringLiteral("lbl_TagDetection_iso14443B"),
                              QStringLiteral(" ISO14443-B tag (SOLAxx) : "), kLabelLeft, 30,
                              kLabelWidth - 60, 480);
    solaLabel->setWordWrap(true);
    solaLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (int slot = 0; slot < kSlotBoxes; ++slot) {
        // Four columns of four, the slot numbers running down each column. Slot n of the
        // slot markers is box n - 1 of the array; slot 0 has a box of its own.
        const QString name = slot == 0 ? QStringLiteral("txt_ISO14443B_anticollision_result_slot0")
                                       : widgets::WindowBuilder::indexed(
                                             "txt_ISO14443B_anticollision_result", slot - 1);
        auto* box = b.display(fraSola, name, kBoxLeft + kSlotStep * (slot / kSlotRows),
                              kSlotRowStep * (slot % kSlotRows), kSlotWidth, kBoxHeight);
        box->setText(QStringLiteral("%1 : ").arg(slot));
        slots_[static_cast<std::size_t>(slot)] = box;
    }
    buttons_[Iso14443BButton] =
        button(fraSola, "cmdISO14443B_AntiCollision", "ISO14443B Anti Collision", kButtonLeft,
               (kSlotRows * kSlotRowStep - kButtonHeight) / 2 + 15);

    rowLabel(parent, "lbl_TagDetection_Felica", "Felica Card : ", x(kLabelLeft), y(kRowFelica));
    results_[3] = b.display(parent, QStringLiteral("txtFelicaDetectTags"), x(kBoxLeft),
                            y(kRowFelica), kBoxWidth, kBoxHeight);
    buttons_[FelicaButton] = button(parent, "cmdFelica_AntiCollision", "Felica Anti Collision",
                                    x(kButtonLeft), y(kRowFelica));

    exchange_[0] =
        rowLabel(parent, "lbl_TagDetection_request", "request =", x(kLabelLeft), y(kRowRequest));
    request_ = b.display(parent, QString::fromLatin1(captions.requestBox), x(kBoxLeft),
                         y(kRowRequest), kWidth - kBoxLeft, kBoxHeight);
    exchange_[1] = request_;
    exchange_[2] =
        rowLabel(parent, "lbl_TagDetection_answer", "answer =", x(kLabelLeft), y(kRowAnswer));
    answer_ = b.display(parent, QString::fromLatin1(captions.answerBox), x(kBoxLeft), y(kRowAnswer),
                        kWidth - kBoxLeft, kBoxHeight);
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

QString ResultsPanel::slot(int slot) const {
    return slots_.at(static_cast<std::size_t>(slot))->text();
}
void ResultsPanel::setSlot(int slot, const QString& text) {
    slots_.at(static_cast<std::size_t>(slot))->setText(text);
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
