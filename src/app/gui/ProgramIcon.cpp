#include "app/gui/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

/// The 64-unit drawing of lumara.svg at `size` pixels.
QPixmap paintIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QColor edge(0x8a, 0x64, 0x17);
    p.setPen(QPen(edge, 2));
    p.setBrush(QColor(0xe8, 0xb6, 0x4c));
    p.drawRoundedRect(QRectF(4, 14, 56, 42), 4, 4);
    QPainterPath tab; // the folder's top with its tab
    tab.moveTo(4, 28);
    tab.lineTo(4, 18);
    tab.quadTo(4, 14, 8, 14);
    tab.lineTo(24, 14);
    tab.lineTo(30, 20);
    tab.lineTo(56, 20);
    tab.quadTo(60, 20, 60, 24);
    tab.lineTo(60, 28);
    tab.closeSubpath();
    p.setBrush(QColor(0xf4, 0xcf, 0x76));
    p.drawPath(tab);
    const QColor glass(0x2b, 0x4a, 0x80);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(glass, 4));
    p.drawEllipse(QPointF(40, 40), 9, 9);
    p.setPen(QPen(glass, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(46, 46), QPointF(55, 55));
    return pixmap;
}

} // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(paintIcon(size));
    return icon;
}
