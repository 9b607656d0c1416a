#include "link/PickUpFm.h"

#include "common/Dialogs.h"
#include "common/Guard.h"
#include "link/ComToPX510Unit.h"

#include <qcustomplot.h>

#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QThread>
#include <QTimer>

namespace {
const QColor PointColour(255, 0, 128); // colour value 8388863

// The stylus point: a flat diamond 15 pixels to each side, 5 up and down.
QCPScatterStyle DiamondStyle()
{
    QPainterPath diamond;
    diamond.moveTo(-15, 0);
    diamond.lineTo(0, -5);
    diamond.lineTo(15, 0);
    diamond.lineTo(0, 5);
    diamond.closeSubpath();
    return QCPScatterStyle(diamond, QPen(Qt::black, 1), QBrush(PointColour));
}

// The value written beside the point: up to three decimals.
QString MarkText(double value)
{
    QString text = QLocale().toString(value, 'f', 3);
    const QChar point = QLocale().decimalPoint().front();
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(point))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}
} // namespace

TForm2::TForm2(TComToPX510 &comLink, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), ComLink(comLink), Messages(dialogs)
{
    setWindowTitle(QStringLiteral("拾取针位示意图"));
    resize(822, 573);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    Panel1 = new QWidget(this);
    Panel1->setFixedHeight(49);
    Panel2 = new QWidget(this);
    Panel2->setFixedWidth(129);
    grid->addWidget(Panel1, 0, 0, 1, 2);
    grid->addWidget(Panel2, 1, 0);

    CreateChart();
    grid->addWidget(Chart1, 1, 1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(TickMs);
    connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
}

void TForm2::CreateChart()
{
    Chart1 = new QCustomPlot(this);
    Chart1->setInteractions(QCP::Interactions()); // no panning, no zooming
    Chart1->legend->setVisible(false);
    Chart1->setBackground(Qt::white);

    QCPAxisRect *rect = Chart1->axisRect();
    rect->setAutoMargins(QCP::msNone);
    Chart1->xAxis->setVisible(false);
    Chart1->xAxis->setRange(0, 10);
    Chart1->xAxis->grid()->setVisible(false);
    QCPAxis *axis = Chart1->yAxis;
    axis->grid()->setVisible(false);
    axis->grid()->setZeroLinePen(Qt::NoPen);
    axis->setTickLength(0, 10);
    axis->setSubTickLength(0, 5);
    QFont tickFont(QStringLiteral("Arial"));
    tickFont.setPixelSize(12);
    axis->setTickLabelFont(tickFont);
    // Design scale until the window is opened.
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setTickStep(10);
    axis->setTicker(ticker);
    axis->setRange(-100, 100);

    Series2 = Chart1->addGraph(Chart1->xAxis, Chart1->yAxis);
    Series2->setLineStyle(QCPGraph::lsNone);
    Series2->setScatterStyle(DiamondStyle());

    QFont markFont(QStringLiteral("Arial"));
    markFont.setPixelSize(13);
    Series2Arrow = new QCPItemLine(Chart1);
    Series2Arrow->setPen(QPen(Qt::black, 1));
    Series2Arrow->setClipToAxisRect(false);
    Series2Mark = new QCPItemText(Chart1);
    Series2Mark->setFont(markFont);
    Series2Mark->setColor(Qt::black);
    Series2Mark->setPen(QPen(Qt::black, 1));
    Series2Mark->setBrush(QColor(255, 255, 225));
    Series2Mark->setPadding(QMargins(4, 1, 4, 1));
    Series2Mark->setClipToAxisRect(false);
    Series2Mark->setPositionAlignment(Qt::AlignBottom | Qt::AlignHCenter);
    // The mark stands 10 pixels above the point, joined to it by the arrow.
    Series2Arrow->start->setType(QCPItemPosition::ptPlotCoords);
    Series2Arrow->end->setType(QCPItemPosition::ptAbsolute);
    Series2Arrow->end->setParentAnchor(Series2Arrow->start);
    Series2Arrow->setLayer(QStringLiteral("grid")); // under the point
    Series2Arrow->end->setCoords(0, -10);
    Series2Mark->position->setType(QCPItemPosition::ptAbsolute);
    Series2Mark->position->setParentAnchor(Series2Arrow->end);
    Series2Mark->position->setCoords(0, 0);
    Plot(std::nullopt);

    Label2 = new QLabel(QStringLiteral("量程:"), Chart1);
    QFont labelFont = Label2->font();
    labelFont.setPixelSize(14);
    Label2->setFont(labelFont);
    Label2->move(12, 10);

    Chart1->installEventFilter(this);
}

bool TForm2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Chart1 && event->type() == QEvent::Resize)
        PlaceAxis();
    return QDialog::eventFilter(watched, event);
}

// The plot spans the chart's width and 10 % .. 89 % of its height; the
// vertical axis stands inside it at 46 % of the width.
void TForm2::PlaceAxis()
{
    const QSize size = Chart1->size();
    Chart1->axisRect()->setMargins(QMargins(0, size.height() * 10 / 100, 0, size.height() * 11 / 100));
    Chart1->yAxis->setOffset(-(size.width() * 46 / 100));
    Chart1->replot();
}

void TForm2::SetVerticalAxis()
{
    // The stylus moves in the tester's range, whatever measurement is on screen.
    const double limit = ComLink.TesterRangeLimit();
    QCPAxis *axis = Chart1->yAxis;
    if (limit <= 0) // no range known yet: the design scale stays
        return;
    if (ComLink.Tester.UnitSystem == 0) {
        const double maximum = limit * 1000;
        axis->setRange(-maximum - limit / 20, maximum);
        // The increment is the smallest label step; wider ones keep the
        // labels apart.
        auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
        ticker->setTickStep(0.1);
        ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
        ticker->setTickCount(10);
        axis->setTicker(ticker);
    } else {
        const double maximum = limit;
        axis->setRange(-maximum - limit / 60, maximum);
        axis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
    Chart1->replot();
}

void TForm2::ShowStylusPosition()
{
    RunGuarded(Messages, [&] {
        ComLink.ReadConditions();
        SetVerticalAxis();
        QString range;
        ComLink.TesterRangeText(range);
        Label2->setText(QStringLiteral("量程:") + range);
        Label2->adjustSize();
        Plot(std::nullopt); // nothing from an earlier showing
        if (!ComLink.EnterStylusMode())
            return;
        QThread::msleep(SettleMs);
        exec();
        ComLink.ExitStylusMode();
    });
}

void TForm2::showEvent(QShowEvent *event)
{
    Timer1->start();
    QDialog::showEvent(event);
}

void TForm2::hideEvent(QHideEvent *event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TForm2::Timer1Timer()
{
    RunGuarded(Messages, [&] {
        std::optional<double> position = ComLink.ReadStylusPosition();
        if (position && ComLink.Tester.UnitSystem == 1)
            *position /= 1000; // μin to mil
        Plot(position);
    });
}

// A tick without a reply leaves the chart empty rather than showing a stale
// position.
void TForm2::Plot(std::optional<double> value)
{
    Series2->data()->clear();
    Series2Mark->setVisible(bool(value));
    Series2Arrow->setVisible(bool(value));
    if (value) {
        Series2->addData(PointX, *value);
        Series2Arrow->start->setCoords(PointX, *value);
        Series2Mark->setText(MarkText(*value));
    }
    Chart1->replot();
}

std::optional<double> TForm2::PlottedValue() const
{
    if (Series2->data()->isEmpty())
        return std::nullopt;
    return Series2->data()->begin()->value;
}
