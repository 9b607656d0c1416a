#include "report/ReportPrint.h"

#include "common/Errors.h"
#include "report/ReportChart.h"
#include "report/ReportPage.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

void PrintReportPage(QPrinter &printer, const ReportPageInput &input, ReportChart *chart)
{
    QPainter canvas;
    if (!canvas.begin(&printer))
        throw PX510Error(QStringLiteral("无法开始打印：打印机或输出文件不可用。"));
    const int width = printer.width();
    const int height = printer.height();
    DrawReportPage(canvas, width, height, input);
    DrawReportChart(canvas, QPoint(0, 0), width, height, chart);
    if (!canvas.end())
        throw PX510Error(QStringLiteral("打印作业未能完成。"));
}

void SetUpReportPdf(QPrinter &printer, const QString &fileName)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    printer.setFullPage(true);
}
