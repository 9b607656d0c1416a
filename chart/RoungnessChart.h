#pragma once
// The chart of the main window: the chart library's own picture plus two
// cursor positions, a zero line or corner marker, and cursor picking that
// snaps onto a drawn curve. Positions are kept in axis values, so they stay
// on their data point however the axes are rescaled or zoomed.

#include <qcustomplot.h>

#include <QColor>
#include <QPoint>
#include <array>
#include <cstdint>

class QPainter;

struct TDoublePoint {
    double x = 0;
    double y = 0;
    bool operator==(const TDoublePoint &) const = default;
};

class TRoungnessChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TRoungnessChart(QWidget *owner = nullptr);

    int32_t ActivePosition = 0; // last hit test: 0 none, 1 first, 2 second
    TDoublePoint Position1;
    TDoublePoint Position2;
    TDoublePoint MarkerPoint;
    uint8_t MarkerMode = 0; // 0 zero line, 1 corner marker, other: neither
    uint8_t ShowPosition1 = 0;
    uint8_t ShowPosition2 = 0;
    int32_t HitRadius = 100;

    static inline const QColor Red{255, 0, 0};
    static inline const QColor Green{0, 128, 0};
    static inline const QColor Navy{0, 0, 128};

    // Bottom axis for x, left axis for y. Valid once the chart has been laid
    // out by a replot.
    QPoint ValueToPixel(TDoublePoint value) const;
    TDoublePoint PixelToValue(QPoint pixel) const;
    void PixelToValues(QPoint pixel, double &x, double &y) const;
    static double PixelDistance(QPoint a, QPoint b);

    // r becomes the point of `series` under the mouse at q, if there is one.
    void SnapToSeries(QCPGraph *series, TDoublePoint q, TDoublePoint &r, bool &found) const;
    int HitTestCursor(QPoint pixel);
    void MoveActivePosition(QPoint pixel);

    // Drawing of the additions, done by the chart's paint only.
    void DrawCursor(QPainter &canvas, TDoublePoint position, const QColor &colour) const;
    void DrawCornerMarker(QPainter &canvas, double y, double x) const;
    void DrawZeroLine(QPainter &canvas, int penWidth, const QColor &colour) const;

    // Renders the library's picture alone (no cursors, zero line or marker)
    // into `rect` of another painter, as if `rect` were a screen area of that
    // many pixels; the painter's own transformation scales it.
    void DrawToCanvas(QPainter &canvas, const QRect &rect);

    // Repaints only the additions: the curves are not drawn again.
    void RepaintCursors();

    // Axes are manual (fixed range) or automatic (fitted to the shown curves
    // at every replot). A rubber-band zoom makes the zoomed axes manual.
    void SetAxisAutomatic(QCPAxis *axis, bool automatic);
    bool AxisAutomatic(const QCPAxis *axis) const;

    // Rubber-band zoom with the left button.
    void SetZoomMode(bool on);
    bool ZoomMode() const;

    // Space around the plot in percent of the chart's width (left, right) and
    // height (top, bottom); the axis labels lie inside it.
    void SetMarginPercents(int left, int top, int right, int bottom);
    int LeftMarginPercent() const { return Margins[0]; }
    int RightMarginPercent() const { return Margins[2]; }

    // The plot rectangle in pixels.
    QRect PlotRect() const;

signals:
    // Any mouse button pressed on an axis, its line, tick labels or title;
    // also while zoom mode is on.
    void AxisClicked(QCPAxis *axis, QMouseEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TChartAdditions;
    void PaintAdditions(QPainter &canvas) const;
    void ApplyMargins(QSize size);
    void RescaleAutomaticAxes();
    QCPAxis *AxisAt(QPoint pixel) const;
    bool InsidePlot(QPoint pixel) const;

    QCPLayer *AdditionsLayer = nullptr;
    std::array<int, 4> Margins{5, 5, 5, 0};
    bool BottomAutomatic = false;
    bool LeftAutomatic = false;
    bool RightAutomatic = false;
};
