#pragma once
// TForm2, "拾取针位示意图": the stylus height, read from the tester once a
// second, as one point on a vertical scale spanning the measuring range, so
// the operator can set the pick-up to the middle of its range.

#include <QDialog>
#include <optional>

class Dialogs;
class QCPGraph;
class QCPItemLine;
class QCPItemText;
class QCustomPlot;
class QLabel;
class QTimer;
class TComToPX510;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    static constexpr int TickMs = 1000;
    static constexpr int SettleMs = 100; // after entering stylus mode
    static constexpr double PointX = 5;  // middle of the fixed 0 .. 10 span

    TForm2(TComToPX510 &comLink, Dialogs &dialogs, QWidget *parent = nullptr);

    // The whole sequence of the main window's 拾取针位: read the conditions,
    // scale the chart, put the tester into stylus mode and, only if it
    // acknowledges, show the window modally; stylus mode ends when it closes.
    void ShowStylusPosition();

    // The vertical scale for the tester's range and unit system.
    void SetVerticalAxis();
    // One position read and plotted: what Timer1 does every second.
    void Timer1Timer();
    // The plotted height, if a position has been plotted.
    std::optional<double> PlottedValue() const;

    QWidget *Panel1 = nullptr; // top frame
    QWidget *Panel2 = nullptr; // left frame
    QCustomPlot *Chart1 = nullptr;
    QCPGraph *Series2 = nullptr;
    QCPItemText *Series2Mark = nullptr;
    QCPItemLine *Series2Arrow = nullptr;
    QLabel *Label2 = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateChart();
    void PlaceAxis();
    void Plot(std::optional<double> value);

    TComToPX510 &ComLink;
    Dialogs &Messages;
};
