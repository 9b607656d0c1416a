#pragma once
// The one-page report, drawn on any painter: the screen preview and the
// printer share this code, only the device and its size differ. The page is
// laid out in units of 0.1 mm, 2970 across and 2100 down, origin top-left,
// and stretched onto the device area whatever its proportions.

#include "report/ReportInput.h"

#include <QFont>
#include <QPointF>
#include <QRect>

class QPainter;

constexpr int ReportPageWidth = 2970;
constexpr int ReportPageHeight = 2100;

// Draws the whole page except the chart into the device area (0, 0)-(width,
// height) of the painter and leaves the page mapping in force on it.
void DrawReportPage(QPainter &canvas, int width, int height, const ReportPageInput &input);

// The page mapping alone: page units onto the device area width x height.
void SetReportPageMapping(QPainter &canvas, int width, int height);

// The device rectangle the chart goes into: the page's chart frame between
// y = 740 and y = 1860 and the side borders, shrunk by 10 device units on
// every side and offset by origin.
QRect ReportChartRect(QPoint origin, int width, int height);

enum class PageTextDirection { Across, Upward };

// Writes a text through the page mapping with its cell's top-left corner at
// topLeft (page units). pageFont has its pixel size in page units; the glyphs
// are made at the device's own size, stretched as the page is, so that they
// stay crisp on a small preview and exact on paper. Upward text runs turned
// 90 degrees counter-clockwise, its cell to the right of topLeft.
void DrawPageText(QPainter &canvas, const QFont &pageFont, QPointF topLeft, const QString &text,
                  PageTextDirection direction = PageTextDirection::Across);

// A font whose character cell (ascent plus descent) is cellHeight page units.
QFont ReportCellFont(const QString &family, int cellHeight, bool bold = false);
