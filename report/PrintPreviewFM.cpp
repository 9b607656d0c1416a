#include "report/PrintPreviewFM.h"

#include "chart/RoungnessChart.h"
#include "common/Dialogs.h"
#include "common/Guard.h"
#include "measurement/Measurement.h"
#include "report/ReportChart.h"
#include "report/ReportLogo.h"
#include "report/ReportPage.h"
#include "report/ReportPrint.h"
#include "report/RoungnessChartReport.h"

#include <QPageLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QScrollArea>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int ToolBarHeight = 40;

// A plain surface that hands its painting to the window.
class PaintBox : public QWidget {
public:
    PaintBox(QWidget *parent, std::function<void(QPainter &)> paint) : QWidget(parent), Paint(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter canvas(this);
        Paint(canvas);
    }

private:
    std::function<void(QPainter &)> Paint;
};

} // namespace

TForm6::TForm6(TMeasurement &comLink, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), ComLink(comLink), Messages(dialogs)
{
    setWindowTitle(QStringLiteral("打印预览"));
    resize(931, 662);
    LogoBitmap = VantrelLogo();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setFixedHeight(ToolBarHeight);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    PrintAction = ToolBar1->addAction(QStringLiteral("打印"), this, [this] { PrintReport(); });
    EnlargeAction = ToolBar1->addAction(QStringLiteral("放大"), this, [this] { Enlarge(); });
    ReduceAction = ToolBar1->addAction(QStringLiteral("缩小"), this, [this] { Reduce(); });
    for (QAction *action : ToolBar1->actions())
        if (QWidget *button = ToolBar1->widgetForAction(action))
            button->setFixedSize(39, 38);
    layout->addWidget(ToolBar1);

    Scroller = new QScrollArea(this);
    Scroller->setFrameShape(QFrame::NoFrame);
    Scroller->setWidgetResizable(false);
    Scroller->setBackgroundRole(QPalette::Dark);
    QPalette grey = Scroller->palette();
    grey.setColor(QPalette::Dark, QColor(128, 128, 128));
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    Scroller->setPalette(grey);
    Sheet = new QWidget;
    Sheet->setAutoFillBackground(true);
    Sheet->setPalette(grey);
    PaintBox1 = new PaintBox(Sheet, [this](QPainter &canvas) { PaintPreview(canvas); });
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->move(PageOrigin.x(), PageOrigin.y() - ToolBarHeight);
    Scroller->setWidget(Sheet);
    layout->addWidget(Scroller);
    ResizePageArea(PageArea);

    ChoosePrinter = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
}

TForm6::~TForm6() = default;

void TForm6::SetToolIcons(const QIcon &print, const QIcon &enlarge, const QIcon &reduce)
{
    PrintAction->setIcon(print);
    EnlargeAction->setIcon(enlarge);
    ReduceAction->setIcon(reduce);
}

void TForm6::ShowPreview(TRoungnessChart *chart)
{
    ReportChart = chart;
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
}

void TForm6::ResizePageArea(QSize size)
{
    PageArea = size;
    PaintBox1->resize(size);
    // Room around the page, so that it scrolls fully into view when it grows.
    Sheet->resize(PaintBox1->x() + size.width() + PageOrigin.x(), PaintBox1->y() + size.height() + 40);
    PaintBox1->update();
}

void TForm6::Enlarge()
{
    ResizePageArea(PageArea + Step);
}

void TForm6::Reduce()
{
    ResizePageArea(QSize(std::max(MinimumPageSize.width(), PageArea.width() - Step.width()),
                         std::max(MinimumPageSize.height(), PageArea.height() - Step.height())));
}

RoungnessChartReport *TForm6::ChartAdapter()
{
    if (!ReportChart)
        return nullptr;
    if (AdaptedChart != ReportChart) {
        Adapter = std::make_unique<RoungnessChartReport>(*ReportChart);
        AdaptedChart = ReportChart;
    }
    return Adapter.get();
}

ReportPageInput TForm6::CurrentInput()
{
    ReportPageInput input;
    input.Logo = LogoBitmap;
    input.Session = &ComLink;
    if (Sources.CurrentRecord)
        input.Header = Sources.CurrentRecord();
    if (Sources.StatusPanels)
        input.StatusPanels = Sources.StatusPanels();
    if (Sources.ShownSeries)
        input.Series = Sources.ShownSeries();
    else if (RoungnessChartReport *chart = ChartAdapter())
        input.Series = chart->ShownSeries();
    return input;
}

void TForm6::PaintPreview(QPainter &canvas)
{
    // A paint must not open a message box in the middle of painting, nor open
    // one at every repaint while a fault lasts: the first report of a fault is
    // shown once the paint is over.
    try {
        // The painter works in the page area's own coordinates, so the chart
        // needs no offset by the area's place in the window.
        const int width = PageArea.width(), height = PageArea.height();
        const ReportPageInput input = CurrentInput();
        DrawReportPage(canvas, width, height, input);
        RoungnessChartReport *chart = ChartAdapter();
        if (input.Series.Bearing) {
            const ReportBearingTexts levels = Sources.BearingLevels ? Sources.BearingLevels() : ReportBearingTexts{};
            DrawBearingReportChart(canvas, QPoint(0, 0), width, height, chart, levels);
        } else {
            DrawReportChart(canvas, QPoint(0, 0), width, height, chart);
        }
        LastPaintFault.clear();
    } catch (const std::exception &e) {
        const QString fault = QString::fromUtf8(e.what());
        if (fault == LastPaintFault)
            return;
        LastPaintFault = fault;
        QTimer::singleShot(0, this, [this, fault] { Messages.Warn(QStringLiteral("错误"), fault); });
    }
}

void TForm6::PrintReport()
{
    RunGuarded(Messages, [&] {
        ReportPrinter.setPageOrientation(QPageLayout::Landscape);
        if (!ChoosePrinter(ReportPrinter))
            return;
        PrintReportPage(ReportPrinter, CurrentInput(), ChartAdapter());
    });
}
