#include "iso14443a/analysis_panel.hpp"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>

#include "iso14443a/answers.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443a {

namespace {

constexpr const char* kCaptions[6] = {
    "result code : ",
    "lenght : ",
    "data received from tag : ",
    "error status : ",
    "index of 1st byte (collision) : ",
    "index of 1st bit (collision) : ",
};

constexpr int kRowTop = 300;
constexpr int kRowStep = 250;
constexpr int kValueLeft = 2640;
constexpr int rowTop(int row) { return kRowTop + kRowStep * row; }

// Status bits 7 to 3 one above the other from the error status row down, 2 to 0 on in
// the row of bit 3; the lines lead from the error status value to them.
constexpr int kBitLeft = 3500;
struct BitPlace {
    const char* caption;
    int left, top, width;
};
constexpr BitPlace kBits[8] = {
    {"nb significant bits for 1st byte ", kBitLeft + 900, rowTop(3) + 4 * 240, 2580},
    {"", kBitLeft + 600, rowTop(3) + 4 * 240, 300},
    {"", kBitLeft + 300, rowTop(3) + 4 * 240, 300},
    {"", kBitLeft, rowTop(3) + 4 * 240, 300},
    {"parity error", kBitLeft, rowTop(3) + 3 * 240, 2400},
    {"CRC error", kBitLeft, rowTop(3) + 2 * 240, 2400},
    {"RFU", kBitLeft, rowTop(3) + 240, 2400},
    {"collision detected", kBitLeft, rowTop(3), 2400},
};

}  // namespace

AnalysisPanel::AnalysisPanel(const widgets::WindowBuilder& b, QWidget* parent)
    : QGroupBox(QStringLiteral(" TQ73RN ISO14443-A Response analysis"), parent) {
    for (int i = 0; i < 6; ++i) {
        const auto at = static_cast<std::size_t>(i);
        captions_[at] =
            b.label(this, widgets::WindowBuilder::indexed("lblISO14443A_answer_analysis", i),
                    QString::fromLatin1(kCaptions[i]), 120, rowTop(i), 2500);
        captions_[at]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The data row takes the whole width: a READ answer is 36 digits long.
        const int width = i < 3 ? 6880 - kValueLeft : 500;
        values_[at] = b.label(this, widgets::WindowBuilder::indexed("lblAnswerAnalysis", i),
                              QString(), kValueLeft, rowTop(i), width);
        values_[at]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    for (int i = 0; i < 8; ++i) {
        const BitPlace& p = kBits[i];
        auto* c = new QCheckBox(QString::fromLatin1(p.caption), this);
        b.place(c, widgets::WindowBuilder::indexed("chk_respflag", i), p.left, p.top, p.width, 240);
        bits_[static_cast<std::size_t>(i)] = c;
    }
    const int lineLeft = kValueLeft + 550;
    const int lineY = rowTop(3) + 120;
    lines_[0] = b.hline(this, QStringLiteral("Line1"), lineLeft, lineY, kBitLeft - 150 - lineLeft);
    lines_[1] =
        b.vline(this, QStringLiteral("Line2"), kBitLeft - 150, lineY, kBits[3].top - rowTop(3));
    lines_[2] = b.hline(this, QStringLiteral("Line3"), kBitLeft - 150, kBits[3].top + 120, 150);
}

void AnalysisPanel::ClearAnswerAnalysis() {
    for (QLabel* v : values_) v->clear();
    for (QCheckBox* c : bits_) c->setChecked(false);
}

void AnalysisPanel::showAnalysis(const AnswerAnalysis& analysis) {
    for (std::size_t i = 0; i < values_.size(); ++i) values_[i]->setText(analysis.rows[i]);
    if (!analysis.errorStatus) return;
    for (int i = 0; i < 8; ++i) {
        bits_[static_cast<std::size_t>(i)]->setChecked((*analysis.errorStatus >> i) & 1);
    }
}

void AnalysisPanel::setTopazMode(bool topaz) {
    for (std::size_t i = 3; i < captions_.size(); ++i) captions_[i]->setVisible(!topaz);
    for (QFrame* l : lines_) l->setVisible(!topaz);
    for (QCheckBox* c : bits_) c->setVisible(!topaz);
}

}  // namespace iso14443a
