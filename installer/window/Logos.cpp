#include "window/Logos.h"

#include <QPainter>
#include <QPainterPath>

namespace zovlt {

namespace {

constexpr QSize kLogoSize(150, 56);

QPixmap Canvas() {
    QPixmap pixmap(kLogoSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Lettering(QPainter& painter, const QRect& area, const QString& text, int pointSize,
               const QColor& color) {
    QFont font = painter.font();
    font.setPointSize(pointSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

QPixmap MakerLogo() {
    QPixmap pixmap = Canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A blue tile with a white "Z" stroke, then the name.
    const QColor blue(31, 78, 121);
    painter.setBrush(blue);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRect(2, 4, 48, 48), 10, 10);
    QPen stroke(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(stroke);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(
        QPolygon({QPoint(14, 16), QPoint(38, 16), QPoint(14, 40), QPoint(38, 40)}));
    Lettering(painter, QRect(56, 0, 94, 56), QStringLiteral("zovaria"), 15, blue);
    return pixmap;
}

QPixmap AgencyLogo() {
    QPixmap pixmap = Canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A green plot of land with a roof over it, then the name.
    const QColor green(46, 125, 50);
    painter.setPen(Qt::NoPen);
    painter.setBrush(green);
    painter.drawEllipse(QRect(2, 4, 48, 48));
    QPainterPath roof;
    roof.moveTo(12, 30);
    roof.lineTo(26, 16);
    roof.lineTo(40, 30);
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(roof);
    painter.drawLine(16, 38, 36, 38);
    Lettering(painter, QRect(56, 0, 94, 56), QStringLiteral("planurbe"), 14, green);
    return pixmap;
}

}  // namespace zovlt
