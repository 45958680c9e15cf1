#pragma once

#include <QGroupBox>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;

namespace widgets {
class WindowBuilder;
}

namespace iso14443a {

struct AnswerAnalysis;

// The response analysis: the fields of the last received frame and the bits of the
// transceiver's error status. TOPAZ answers are shown in a reduced form, so TOPAZ mode
// hides the captions of the status rows and the status bits.
class AnalysisPanel : public QGroupBox {
    Q_OBJECT
  public:
    AnalysisPanel(const widgets::WindowBuilder& b, QWidget* parent);

    void ClearAnswerAnalysis();
    void showAnalysis(const AnswerAnalysis& analysis);
    void setTopazMode(bool topaz);

    QLabel* value(int row) const { return values_[static_cast<std::size_t>(row)]; }
    QCheckBox* statusBit(int i) const { return bits_[static_cast<std::size_t>(i)]; }

  private:
    std::array<QLabel*, 6> captions_{};
    std::array<QLabel*, 6> values_{};
    std::array<QCheckBox*, 8> bits_{};
    std::array<QFrame*, 3> lines_{};
};

}  // namespace iso14443a
