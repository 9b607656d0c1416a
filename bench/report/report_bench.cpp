// Time to render the report page with its chart onto a 300-dpi A4 image, as
// a print at that resolution draws it. Prints the median of the runs.

#include "bench/BenchFigure.h"
#include "common/Dialogs.h"
#include "link/ComToPX510Unit.h"
#include "report/ReportChart.h"
#include "report/ReportLogo.h"
#include "report/ReportPage.h"
#include "report/RoungnessChartReport.h"
#include "ui/main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

class NoDialogs : public Dialogs {
public:
    bool AskYesNo(const QString &, const QString &) override { return false; }
    void Warn(const QString &, const QString &) override {}
    void Inform(const QString &, const QString &) override {}
    std::optional<QString> InputLine(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> OpenFileName(const QString &, const QString &) override { return {}; }
    std::optional<QString> SaveFileName(const QString &, const QString &) override { return {}; }
};

// A full measurement: 3000 samples of feed marks and roughness.
void measure(TComToPX510 &session)
{
    session.RawByteCount = 6000;
    for (int i = 0; i < 3000; ++i) {
        const auto v = static_cast<int16_t>(std::lround(800 * std::sin(i * 0.05) + 150 * std::sin(i * 0.9)));
        session.RawData[static_cast<size_t>(2 * i)] = static_cast<uint8_t>(v & 0xff);
        session.RawData[static_cast<size_t>(2 * i + 1)] = static_cast<uint8_t>((v >> 8) & 0xff);
    }
    QByteArray record;
    session.SaveMeasurementStream(record);
    session.LoadMeasurementStream(record);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    TComToPX510 session;
    NoDialogs dialogs;
    TForm1 window(session, dialogs, Edition::Station);
    measure(session);
    window.ShowMeasurement();
    window.RAndUnfCurveExecute(); // both profiles: 5500 points

    ReportPageInput input;
    input.Logo = VantrelLogo();
    input.Header = {QStringLiteral("A010"), QStringLiteral("轴承座"), QStringLiteral("张三"),
                    QStringLiteral("2024-03-05 14:07:09")};
    input.StatusPanels = window.ReportStatusPanels();
    input.Series = window.ReportSeriesShown();
    input.Session = &session;
    RoungnessChartReport chart(*window.RoungnessChart1);

    constexpr int dpi = 300;
    QImage image(3508, 2480, QImage::Format_RGB32); // A4 landscape at 300 dpi
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));

    std::vector<double> ms;
    for (int i = 0; i < runs + 1; ++i) {
        QElapsedTimer timer;
        timer.start();
        image.fill(Qt::white);
        QPainter canvas(&image);
        DrawReportPage(canvas, image.width(), image.height(), input);
        DrawReportChart(canvas, QPoint(0, 0), image.width(), image.height(), &chart);
        canvas.end();
        if (i > 0) // the first run warms the font caches
            ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf(
        "report page with chart, 3508 x 2480 (A4 at %d dpi), %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n", dpi,
        runs, ms[ms.size() / 2], ms.front(), ms.back());
    BenchFigure("report page with chart, A4 at 300 dpi", ms[ms.size() / 2], "ms");
    if (argc > 2)
        image.save(QString::fromLocal8Bit(argv[2]));
    return 0;
}
