#pragma once
// The preview chart of the data manager: the unfiltered profile of the
// current record in red on white, no legend, no title. The vertical axis
// spans twice the largest height either way, so the profile fills the middle
// half; the horizontal axis follows the profile.

#include <qcustomplot.h>

class TMeasurement;

class TPreviewChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TPreviewChart(QWidget *parent = nullptr);
    // Plots Profile[0 .. SampleCount-1] against i x SampleSpacing.
    void ShowProfile(const TMeasurement &measurement);
    // No curve: for a row without a usable measurement.
    void Clear();
    int PointCount() const;
};
