// Time from the start of the program (the application object) to the first
// paint of the main window, both editions, offscreen. The whole start-up
// runs: the session, the eight windows, the database opened by the data
// manager, showing the main window maximized.

#include "bench/BenchFigure.h"
#include "ui/ProgramStart.h"
#include "ui/main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

class FirstPaint : public QObject {
public:
    bool Painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const double application = clock.nsecsElapsed() / 1e6;
    std::printf("startup_bench: offscreen; application object %.1f ms\n", application);
    for (Edition edition : {Edition::Station, Edition::View}) {
        std::vector<double> runs;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer start;
            start.start();
            TProgram program(edition);
            FirstPaint paint;
            program.Form1->installEventFilter(&paint);
            program.Form1->showMaximized();
            while (!paint.Painted && start.elapsed() < 10000)
                app.processEvents(QEventLoop::AllEvents, 5);
            runs.push_back(start.nsecsElapsed() / 1e6);
        }
        std::sort(runs.begin(), runs.end());
        std::printf("  %s: start-up to first paint of the main window: median %.1f ms (%.1f .. %.1f ms, 5 runs)\n",
                    edition == Edition::Station ? "corviastation" : "corviaview", runs[2], runs.front(), runs.back());
        BenchFigure(std::string(edition == Edition::Station ? "corviastation" : "corviaview")
                        + " start to first paint, median",
                    runs[2], "ms");
    }
    return 0;
}
