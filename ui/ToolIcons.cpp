#include "ui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {

// Tiles are coloured by the group of the command; the glyph is white.
QColor tileColour(ToolIcon icon)
{
    switch (icon) {
    case ToolIcon::OpenFile:
    case ToolIcon::SaveFile: return QColor(44, 110, 190);
    case ToolIcon::OpenDatabase:
    case ToolIcon::SaveRecord:
    case ToolIcon::PrintPreview: return QColor(24, 140, 130);
    case ToolIcon::Connect:
    case ToolIcon::Disconnect:
    case ToolIcon::Measure:
    case ToolIcon::StylusPosition:
    case ToolIcon::LoadData: return QColor(60, 150, 60);
    case ToolIcon::Settings:
    case ToolIcon::UnfilteredCurve:
    case ToolIcon::RoughnessCurve:
    case ToolIcon::BothCurves:
    case ToolIcon::BearingCurve: return QColor(220, 120, 30);
    case ToolIcon::ShowCursors:
    case ToolIcon::HideCursors:
    case ToolIcon::Zoom:
    case ToolIcon::DefaultView:
    case ToolIcon::WholeCurve: return QColor(120, 80, 170);
    case ToolIcon::Help:
    case ToolIcon::WebSite: return QColor(100, 110, 125);
    case ToolIcon::Enlarge:
    case ToolIcon::Reduce: return QColor(24, 140, 130);
    }
    return Qt::gray;
}

void drawCylinder(QPainter &p, double top)
{
    p.drawEllipse(QRectF(9, top, 14, 5));
    p.drawLine(QPointF(9, top + 2.5), QPointF(9, 22));
    p.drawLine(QPointF(23, top + 2.5), QPointF(23, 22));
    p.drawArc(QRectF(9, 19.5, 14, 5), 180 * 16, 180 * 16);
    p.drawArc(QRectF(9, top + 5, 14, 5), 180 * 16, 180 * 16);
}

void drawCross(QPainter &p)
{
    p.drawLine(16, 7, 16, 25);
    p.drawLine(7, 16, 25, 16);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
    p.setBrush(Qt::NoBrush);
}

void drawLink(QPainter &p, double gap)
{
    p.drawRoundedRect(QRectF(5, 12, 11 - gap, 8), 4, 4);
    p.drawRoundedRect(QRectF(16 + gap, 12, 11 - gap, 8), 4, 4);
    if (gap == 0)
        p.drawLine(12, 16, 20, 16);
}

void drawGlyph(QPainter &p, ToolIcon icon)
{
    QPainterPath path;
    switch (icon) {
    case ToolIcon::OpenFile:
        path.moveTo(7, 24);
        path.lineTo(7, 9);
        path.lineTo(13, 9);
        path.lineTo(15, 11);
        path.lineTo(24, 11);
        path.lineTo(24, 14);
        path.moveTo(7, 24);
        path.lineTo(11, 15);
        path.lineTo(27, 15);
        path.lineTo(23, 24);
        path.closeSubpath();
        p.drawPath(path);
        break;
    case ToolIcon::SaveFile:
        p.drawRect(QRectF(8, 8, 16, 16));
        p.drawRect(QRectF(11, 8, 10, 5));
        p.drawRect(QRectF(11, 17, 10, 7));
        break;
    case ToolIcon::OpenDatabase: drawCylinder(p, 7); break;
    case ToolIcon::SaveRecord:
        drawCylinder(p, 11);
        p.drawLine(16, 3, 16, 10);
        p.drawLine(13, 7, 16, 10);
        p.drawLine(19, 7, 16, 10);
        break;
    case ToolIcon::PrintPreview:
        p.drawRect(QRectF(8, 6, 12, 16));
        p.drawLine(11, 10, 17, 10);
        p.drawLine(11, 13, 15, 13);
        p.drawEllipse(QPointF(19, 19), 4.5, 4.5);
        p.drawLine(22, 22, 26, 26);
        break;
    case ToolIcon::Connect: drawLink(p, 0); break;
    case ToolIcon::Disconnect:
        drawLink(p, 2);
        p.drawLine(14, 8, 13, 11);
        p.drawLine(18, 24, 19, 21);
        break;
    case ToolIcon::Measure:
        path.moveTo(11, 8);
        path.lineTo(24, 16);
        path.lineTo(11, 24);
        path.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(path);
        break;
    case ToolIcon::StylusPosition:
        p.drawLine(16, 5, 16, 20);
        path.moveTo(13, 20);
        path.lineTo(19, 20);
        path.lineTo(16, 25);
        path.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(path);
        p.drawLine(7, 26, 25, 26);
        break;
    case ToolIcon::LoadData:
        p.drawLine(16, 6, 16, 19);
        p.drawLine(11, 14, 16, 19);
        p.drawLine(21, 14, 16, 19);
        p.drawPolyline(QPolygonF({QPointF(7, 19), QPointF(7, 25), QPointF(25, 25), QPointF(25, 19)}));
        break;
    case ToolIcon::Settings:
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(QPointF(16 + 6 * std::cos(a), 16 + 6 * std::sin(a)),
                       QPointF(16 + 10 * std::cos(a), 16 + 10 * std::sin(a)));
        }
        p.drawEllipse(QPointF(16, 16), 6, 6);
        p.drawEllipse(QPointF(16, 16), 2, 2);
        break;
    case ToolIcon::UnfilteredCurve:
        p.drawPolyline(QPolygonF({QPointF(5, 22), QPointF(9, 14), QPointF(12, 19), QPointF(15, 10), QPointF(18, 17),
                                  QPointF(21, 9), QPointF(24, 15), QPointF(27, 8)}));
        break;
    case ToolIcon::RoughnessCurve:
        p.drawPolyline(QPolygonF({QPointF(5, 16), QPointF(8, 11), QPointF(11, 20), QPointF(14, 12), QPointF(17, 21),
                                  QPointF(20, 11), QPointF(23, 19), QPointF(27, 14)}));
        break;
    case ToolIcon::BothCurves:
        p.drawPolyline(QPolygonF(
            {QPointF(5, 14), QPointF(9, 8), QPointF(13, 12), QPointF(17, 6), QPointF(21, 11), QPointF(27, 5)}));
        p.drawPolyline(QPolygonF(
            {QPointF(5, 22), QPointF(9, 18), QPointF(13, 25), QPointF(17, 19), QPointF(21, 25), QPointF(27, 20)}));
        break;
    case ToolIcon::BearingCurve:
        p.drawLine(6, 6, 6, 26);
        p.drawLine(6, 26, 26, 26);
        path.moveTo(7, 7);
        path.cubicTo(22, 8, 10, 24, 25, 25);
        p.drawPath(path);
        break;
    case ToolIcon::ShowCursors: drawCross(p); break;
    case ToolIcon::HideCursors:
        drawCross(p);
        p.drawLine(7, 25, 25, 7);
        break;
    case ToolIcon::Zoom:
    case ToolIcon::Enlarge:
        p.drawEllipse(QPointF(14, 14), 7, 7);
        p.drawLine(19, 19, 26, 26);
        p.drawLine(11, 14, 17, 14);
        p.drawLine(14, 11, 14, 17);
        break;
    case ToolIcon::Reduce:
        p.drawEllipse(QPointF(14, 14), 7, 7);
        p.drawLine(19, 19, 26, 26);
        p.drawLine(11, 14, 17, 14);
        break;
    case ToolIcon::DefaultView:
        p.drawRect(QRectF(10, 10, 12, 12));
        p.drawLine(4, 4, 9, 9);
        p.drawLine(28, 4, 23, 9);
        p.drawLine(4, 28, 9, 23);
        p.drawLine(28, 28, 23, 23);
        break;
    case ToolIcon::WholeCurve:
        p.drawRect(QRectF(6, 6, 20, 20));
        p.drawLine(10, 10, 14, 14);
        p.drawLine(22, 10, 18, 14);
        p.drawLine(10, 22, 14, 18);
        p.drawLine(22, 22, 18, 18);
        break;
    case ToolIcon::Help: {
        QFont font = p.font();
        font.setPixelSize(22);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case ToolIcon::WebSite:
        p.drawEllipse(QPointF(16, 16), 10, 10);
        p.drawEllipse(QRectF(11, 6, 10, 20));
        p.drawLine(6, 16, 26, 16);
        p.drawLine(8, 11, 24, 11);
        p.drawLine(8, 21, 24, 21);
        break;
    }
}

QPixmap drawIcon(ToolIcon icon, bool disabled)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QColor colour = tileColour(icon);
    if (disabled) {
        const int grey = qGray(colour.rgb());
        colour = QColor(grey, grey, grey).lighter(150);
    }
    QLinearGradient gradient(0, 0, 0, 32);
    gradient.setColorAt(0, colour.lighter(125));
    gradient.setColorAt(1, colour.darker(115));
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    drawGlyph(p, icon);
    return pixmap;
}

} // namespace

QIcon DrawToolIcon(ToolIcon icon)
{
    QIcon result;
    result.addPixmap(drawIcon(icon, false), QIcon::Normal);
    result.addPixmap(drawIcon(icon, true), QIcon::Disabled);
    return result;
}
