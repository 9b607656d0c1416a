#include "ui/LogoPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QPixmap DrawLogoPicture(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, QColor(30, 70, 140));
    gradient.setColorAt(1, QColor(10, 30, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawRoundedRect(area, 5, 5);

    // A stylus trace across the tile.
    QPainterPath trace;
    const double h = area.height();
    trace.moveTo(area.left() + 4, h * 0.78);
    for (int i = 1; i <= 12; ++i)
        trace.lineTo(area.left() + 4 + i * (area.width() - 8) / 12, h * (i % 2 ? 0.68 : 0.84));
    p.setPen(QPen(QColor(120, 210, 255), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trace);

    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(std::max(8, int(h * 0.36)));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(area.left(), area.top() + 2, area.width(), h * 0.5), Qt::AlignCenter, QStringLiteral("PX510"));
    return pixmap;
}
