#include "report/ReportPrint.h"

#include "common/Errors.h"
#include "report/ReportChart.h"
#include "report/ReportPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

void PrintReportPage(QPagedPaintDevice &device, const ReportPageInput &input, ReportChart *chart)
{
    QPainter canvas;
    if (!canvas.begin(&device))
        throw PX510Error(QStringLiteral("无法开始打印：打印机或输出文件不可用。"));
    const int width = device.width();
    const int height = device.height();
    DrawReportPage(canvas, width, height, input);
    DrawReportChart(canvas, QPoint(0, 0), width, height, chart);
    if (!canvas.end())
        throw PX510Error(QStringLiteral("打印作业未能完成。"));
}

void WriteReportPdf(const QString &fileName, const ReportPageInput &input, ReportChart *chart)
{
    const QFileInfo target(fileName);
    const QString folder = QDir::toNativeSeparators(target.absolutePath());
    if (!target.absoluteDir().exists())
        throw FileError(QStringLiteral("无法保存报告“%1”：文件夹“%2”不存在。").arg(fileName, folder));
    if (target.isDir())
        throw FileError(QStringLiteral("无法保存报告“%1”：这是一个文件夹。").arg(fileName));

    // The writer fills its file as it draws; it writes into a name of its own.
    QTemporaryFile part(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX.part")));
    if (!part.open())
        throw FileError(QStringLiteral("无法在文件夹“%1”中写入报告：%2").arg(folder, part.errorString()));
    part.close();
    {
        QPdfWriter writer(part.fileName());
        writer.setResolution(1200); // a printer's high resolution
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        PrintReportPage(writer, input, chart);
    }
    // Replaces an existing file in one step.
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(part.fileName()).toStdString(),
                            QFile::encodeName(target.absoluteFilePath()).toStdString(), error);
    if (error)
        throw FileError(QStringLiteral("无法保存报告“%1”：%2").arg(fileName, QString::fromLocal8Bit(error.message())));
    part.setAutoRemove(false);
}
