#include "shell/program_icon.hpp"

#include <QPainter>
#include <algorithm>

namespace shell {

QPixmap fieldPicture(int side) {
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 160));
    p.drawEllipse(QRectF(side / 32.0, side / 32.0, side * 15 / 16.0, side * 15 / 16.0));
    p.setBrush(Qt::NoBrush);
    // At the smallest sizes a thinner line would blur into the background.
    p.setPen(QPen(Qt::white, std::max(1.5, side / 16.0), Qt::SolidLine, Qt::RoundCap));
    const QPointF c(side * 0.3, side * 0.5);
    for (int i = 1; i <= 3; ++i) {
        const qreal r = side * 0.14 * i;
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
    return pm;
}

const QIcon& programIcon() {
    static const QIcon icon = [] {
        QIcon i;
        for (int side : {16, 24, 32, 48, 64, 128, 256}) i.addPixmap(fieldPicture(side));
        return i;
    }();
    return icon;
}

}  // namespace shell
