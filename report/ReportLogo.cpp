#include "report/ReportLogo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

QImage drawLogo()
{
    constexpr int side = 293;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor navy(0, 0, 128);
    p.setPen(QPen(navy, 6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(8, 8, side - 16, side - 16));

    // A rough surface with its trace.
    QPainterPath surface;
    surface.moveTo(40, 170);
    for (int x = 40; x <= 253; x += 3) {
        const double y = 170 + 12 * std::sin(x * 0.21) + 6 * std::sin(x * 0.57 + 1.0);
        surface.lineTo(x, y);
    }
    p.setPen(QPen(QColor(0, 128, 0), 4));
    p.drawPath(surface);

    // The stylus coming down on it.
    QPainterPath stylus;
    stylus.moveTo(132, 60);
    stylus.lineTo(160, 60);
    stylus.lineTo(150, 140);
    stylus.lineTo(146, 158);
    stylus.lineTo(142, 140);
    stylus.closeSubpath();
    p.setPen(QPen(navy, 2));
    p.setBrush(QColor(255, 0, 0));
    p.drawPath(stylus);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(44);
    font.setBold(true);
    p.setFont(font);
    p.setPen(navy);
    p.drawText(QRect(0, 190, side, 60), Qt::AlignCenter, QStringLiteral("PX510"));
    return image;
}

} // namespace

QImage VantrelLogo()
{
    static const QImage logo = drawLogo();
    return logo;
}
