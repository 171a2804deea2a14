#include "window/Logo.h"

#include <QPainter>
#include <QPainterPath>

namespace setup {

// A globe with a parallel, a meridian and a map pin: the product maps the world.
QPixmap CartelixLogo(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF globe(size * 0.08, size * 0.08, size * 0.84, size * 0.84);
    QRadialGradient sea(globe.center() - QPointF(size * 0.15, size * 0.15), size * 0.6);
    sea.setColorAt(0, QColor(110, 180, 230));
    sea.setColorAt(1, QColor(20, 80, 150));
    painter.setPen(QPen(QColor(15, 55, 105), size * 0.03));
    painter.setBrush(sea);
    painter.drawEllipse(globe);

    painter.setPen(QPen(QColor(235, 245, 255, 180), size * 0.02));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(globe.adjusted(size * 0.22, 0, -size * 0.22, 0));
    painter.drawLine(QPointF(globe.left(), globe.center().y()),
                     QPointF(globe.right(), globe.center().y()));

    const QPointF tip(size * 0.62, size * 0.62);
    const qreal head = size * 0.14;
    QPainterPath pin;
    pin.moveTo(tip);
    pin.arcTo(QRectF(tip.x() - head, tip.y() - 3.2 * head, 2 * head, 2 * head), -60, 300);
    pin.closeSubpath();
    painter.setPen(QPen(QColor(120, 20, 20), size * 0.015));
    painter.setBrush(QColor(220, 50, 40));
    painter.drawPath(pin);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(tip.x(), tip.y() - 2.2 * head), head * 0.4, head * 0.4);
    return pixmap;
}

}  // namespace setup
