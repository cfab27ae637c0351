#include "ui/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace qx {
namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 64.0;
    p.scale(unit, unit);
    p.setPen(QPen(QColor(0x2b, 0x5f, 0x8a), 3));
    p.setBrush(QColor(0xf5, 0xf7, 0xfa));
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 6, 6);
    p.setPen(QPen(QColor(0x9f, 0xb4, 0xc7), 2));
    for (int y : {34, 48}) p.drawLine(4, y, 60, y);
    for (int x : {22, 41}) p.drawLine(x, 20, x, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x5f, 0x8a));
    p.drawRoundedRect(QRectF(4, 4, 56, 16), 6, 6);
    p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(44, 41), 9, 9);
    p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50.5, 47.5), QPointF(57, 54));
    return pixmap;
}

}  // namespace

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace qx
