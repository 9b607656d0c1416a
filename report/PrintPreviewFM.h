#pragma once
// TForm6, the report window "打印预览": the report page on screen, enlarged or
// reduced in fixed steps, and printed on one landscape sheet.

#include "report/ReportInput.h"

#include <QDialog>
#include <QImage>
#include <QPrinter>
#include <array>
#include <functional>
#include <memory>

class Dialogs;
class QAction;
class QScrollArea;
class QToolBar;
class TMeasurement;
class TRoungnessChart;
class RoungnessChartReport;

// What the report reads from the other windows at the moment it draws.
// Start-up fills these in; an unset one gives empty texts.
struct ReportSources {
    std::function<ReportHeader()> CurrentRecord;          // the record of the measurement on screen
    std::function<std::array<QString, 5>()> StatusPanels; // the main window's status panels 2 to 6
    std::function<ReportBearingTexts()> BearingLevels;    // Edit1, Edit3 and Edit2 of the bearing view
    // Series 0 to 2 of the main window; unset: the visible graphs 0 to 2 of ReportChart.
    std::function<ReportSeries()> ShownSeries;
};

class TForm6 : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize DesignPageSize{841, 513};
    static constexpr QPoint PageOrigin{112, 112}; // within the window
    static constexpr QSize MinimumPageSize{40, 30};
    static constexpr QSize Step{40, 30};

    TForm6(TMeasurement &comLink, Dialogs &dialogs, QWidget *parent = nullptr);
    ~TForm6() override;

    QImage LogoBitmap;
    TRoungnessChart *ReportChart = nullptr;
    ReportSources Sources;
    // Asks for the printer; false when the user cancels. Shows the platform's
    // print dialog unless replaced.
    std::function<bool(QPrinter &)> ChoosePrinter;

    // The main window's images 8, 28 and 27.
    void SetToolIcons(const QIcon &print, const QIcon &enlarge, const QIcon &reduce);

    // Hands over the main chart and shows the window modally, maximized.
    void ShowPreview(TRoungnessChart *chart);

    QSize PageSize() const { return PageArea; }
    void Enlarge();
    void Reduce();
    void PaintPreview(QPainter &canvas);
    void PrintReport();

    QPrinter &Printer() { return ReportPrinter; }
    QAction *PrintAction = nullptr;
    QAction *EnlargeAction = nullptr;
    QAction *ReduceAction = nullptr;

private:
    ReportPageInput CurrentInput();
    RoungnessChartReport *ChartAdapter();
    void ResizePageArea(QSize size);

    TMeasurement &ComLink;
    Dialogs &Messages;
    QSize PageArea = DesignPageSize;
    QPrinter ReportPrinter{QPrinter::HighResolution};
    QToolBar *ToolBar1 = nullptr;
    QScrollArea *Scroller = nullptr;
    QWidget *Sheet = nullptr;     // the grey scrolled surface
    QWidget *PaintBox1 = nullptr; // the page image area
    std::unique_ptr<RoungnessChartReport> Adapter;
    TRoungnessChart *AdaptedChart = nullptr;
    QString LastPaintFault; // shown once until a paint succeeds again
};
