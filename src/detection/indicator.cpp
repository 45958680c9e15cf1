#include "detection/indicator.hpp"

#include <QPainter>

namespace detection {

Indicator::Indicator(const QColor& fill, QWidget* parent) : QWidget(parent), fill_(fill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Indicator::setFill(const QColor& fill) {
    if (fill_ == fill) return;
    fill_ = fill;
    update();
}

void Indicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(fill_);
    const int side = std::min(width(), height()) - 2;
    p.drawEllipse(QRect((width() - side) / 2, (height() - side) / 2, side, side));
}

}  // namespace detection
