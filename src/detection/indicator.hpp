#pragma once

#include <QColor>
#include <QWidget>

namespace detection {

// A filled circle that shows a state by its colour (the detected-tag lamp, the wake-up
// reason of the calibration).
class Indicator : public QWidget {
    Q_OBJECT
  public:
    explicit Indicator(const QColor& fill, QWidget* parent = nullptr);

    QColor fill() const { return fill_; }
    void setFill(const QColor& fill);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor fill_;
};

}  // namespace detection
