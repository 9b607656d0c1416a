// Build step: the program icon in the freedesktop sizes, and the logo picture
// that goes into the program folder's "file".
// Usage: px510icons <icon theme folder> <logo file> <size> ...
// writes <icon theme folder>/<n>x<n>/apps/px510.png for every size n.

#include "ui/LogoPicture.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// A blue tile with a stylus trace, like the logo, but square and legible
// down to 16 pixels: small sizes drop the lettering and thicken the trace.
QImage DrawProgramIcon(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = side;
    const QRectF tile(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
    QLinearGradient gradient(tile.topLeft(), tile.bottomLeft());
    gradient.setColorAt(0, QColor(30, 70, 140));
    gradient.setColorAt(1, QColor(10, 30, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawRoundedRect(tile, s * 0.18, s * 0.18);

    const bool lettered = side >= 32;
    const double baseline = lettered ? 0.72 : 0.58;
    const double swing = lettered ? 0.09 : 0.16;
    const int peaks = side >= 48 ? 10 : 6;
    QPainterPath trace;
    const double left = tile.left() + s * 0.1;
    const double width = tile.width() - s * 0.2;
    trace.moveTo(left, s * baseline);
    for (int i = 1; i <= peaks; ++i)
        trace.lineTo(left + i * width / peaks, s * (baseline + (i % 2 ? -swing : swing) * (i % 3 ? 1.0 : 0.6)));
    QPen pen(QColor(120, 210, 255), std::max(1.5, s * 0.045));
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(trace);

    if (lettered) {
        const QRectF band(tile.left() + s * 0.08, tile.top() + s * 0.1, tile.width() - s * 0.16, s * 0.4);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(std::max(6, int(band.height())));
        // Shrink until the word fits the band.
        while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(QStringLiteral("PX510")) > band.width())
            font.setPixelSize(font.pixelSize() - 1);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(band, Qt::AlignCenter, QStringLiteral("PX510"));
    }
    return image;
}

bool Save(const QImage &image, const QString &file)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath()) || !image.save(file, "PNG")) {
        std::fprintf(stderr, "px510icons: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: px510icons <icon theme folder> <logo file> <size> ...\n");
        return 2;
    }
    const QString themeFolder = QString::fromLocal8Bit(argv[1]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int side = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || side < 16 || side > 1024) {
            std::fprintf(stderr, "px510icons: not an icon size: %s\n", argv[i]);
            return 2;
        }
        const QString file = QStringLiteral("%1/%2x%2/apps/px510.png").arg(themeFolder).arg(side);
        if (!Save(DrawProgramIcon(side), file))
            return 1;
    }
    // The logo as the main window's toolbar shows it, at twice that size.
    return Save(DrawLogoPicture(QSize(200, 90)).toImage(), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
