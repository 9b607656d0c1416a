// A full 30-packet fetch from px510sim at the real line rate (--pace).
// Reports the wall time of each fetch against the time its bytes take on a
// 9600 bit/s line (11 bits a byte, both directions one after the other).
// A read ends as soon as its reply is whole, so the ratio should stay near 1;
// waiting out the 100 ms idle gap after every reply would cost about 1.4.
//
//   bench_download [--runs N] [--sim PATH] [--reply-checksum crc|zero]   (both when not given)
//
// With --reply-checksum zero the simulated tester's replies carry 00 00
// where the checksum goes: the link must learn that and still download at
// line speed.

#include "bench/BenchFigure.h"
#include "link/ComToPX510Unit.h"
#include "link/QtSerialComm.h"
#include "link/ReplyFrame.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double ByteSeconds = 11.0 / 9600;

// Forwards to the real port and counts the bytes each way.
class CountingComm : public PComm {
public:
    explicit CountingComm(std::shared_ptr<QtSerialComm> port) : Port(std::move(port)) {}
    long long BytesOut = 0, BytesIn = 0;

    int sio_open(int p) override { return Port->sio_open(p); }
    int sio_close(int p) override { return Port->sio_close(p); }
    int sio_ioctl(int p, int baud, int mode) override { return Port->sio_ioctl(p, baud, mode); }
    int sio_flowctrl(int p, int mode) override { return Port->sio_flowctrl(p, mode); }
    int sio_DTR(int p, int mode) override { return Port->sio_DTR(p, mode); }
    int sio_RTS(int p, int mode) override { return Port->sio_RTS(p, mode); }
    long sio_getbaud(int p) override { return Port->sio_getbaud(p); }
    int sio_SetWriteTimeouts(int p, unsigned long ms) override { return Port->sio_SetWriteTimeouts(p, ms); }
    int sio_SetReadTimeouts(int p, unsigned long total, unsigned long interval) override
    {
        return Port->sio_SetReadTimeouts(p, total, interval);
    }
    int sio_cnt_irq(int p, Notify routine, int count) override
    {
        return Port->sio_cnt_irq(p, std::move(routine), count);
    }
    int sio_write(int p, const char *data, int length) override
    {
        const int n = Port->sio_write(p, data, length);
        BytesOut += std::max(n, 0);
        return n;
    }
    int sio_read(int p, char *buffer, int length) override
    {
        const int n = Port->sio_read(p, buffer, length);
        BytesIn += std::max(n, 0);
        return n;
    }
    int sio_flush(int p, unsigned long quietMs, char *discarded, int length) override
    {
        const int n = Port->sio_flush(p, quietMs, discarded, length);
        BytesIn += std::max(n, 0);
        return n;
    }

private:
    std::shared_ptr<QtSerialComm> Port;
};

// Fetches from a simulator whose replies carry `replyChecksum` ("crc" or
// "zero") and reports the median ratio; false when something failed.
bool MeasureFetches(const QString &simulator, const QString &replyChecksum, int runs)
{
    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("tester"));
    QProcess sim;
    sim.start(
        simulator,
        {QStringLiteral("--pace"), QStringLiteral("--reply-checksum"), replyChecksum, QStringLiteral("--link"), link});
    QElapsedTimer started;
    started.start();
    while (!QFileInfo::exists(link) && started.elapsed() < 5000)
        sim.waitForReadyRead(50);
    if (!QFileInfo::exists(link)) {
        std::fprintf(stderr, "bench_download: %s did not start\n", qPrintable(simulator));
        return false;
    }

    auto port = std::make_shared<QtSerialComm>(QStringList{link});
    auto counting = std::make_shared<CountingComm>(port);
    // The session hands its reply test to the layer it is given (the counter);
    // the port underneath needs the same one.
    port->SetReplyTest(&ReplyFrame::IsWhole);
    TComToPX510 session;
    session.UseComm(counting);
    if (!session.Connect() || !session.ReadConditions() || session.Conditions.SampleLengths != 4) {
        std::fprintf(stderr, "bench_download: the simulated tester does not answer as expected\n");
        return false;
    }

    std::vector<double> ratios;
    std::printf("replies with checksum %s\n%-6s %10s %10s %8s\n", qPrintable(replyChecksum), "fetch", "wall (s)",
                "line (s)", "ratio");
    for (int run = 1; run <= runs; ++run) {
        counting->BytesIn = counting->BytesOut = 0;
        QElapsedTimer clock;
        clock.start();
        const bool ok = session.FetchMeasurement();
        const double wall = clock.nsecsElapsed() / 1e9;
        const double line = double(counting->BytesIn + counting->BytesOut) * ByteSeconds;
        if (!ok || session.RawByteCount != 6000) {
            std::fprintf(stderr, "bench_download: fetch %d failed\n", run);
            return false;
        }
        ratios.push_back(wall / line);
        std::printf("%-6d %10.3f %10.3f %8.3f\n", run, wall, line, wall / line);
    }
    std::sort(ratios.begin(), ratios.end());
    const bool zero = replyChecksum == QLatin1String("zero");
    const char *target = zero ? "<=1.1" : "<=1.02";
    std::printf("median wall / line time: %.3f (target %s)\n", ratios[ratios.size() / 2], target);
    BenchFigure(zero ? "30-packet fetch, replies without checksum, wall / line time"
                     : "30-packet fetch, wall time / line time",
                ratios[ratios.size() / 2], "-", target);
    session.Disconnect();
    sim.terminate();
    sim.waitForFinished(3000);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int runs = 3;
    QString simulator = QCoreApplication::applicationDirPath() + QStringLiteral("/px510sim");
    QStringList habits{QStringLiteral("crc"), QStringLiteral("zero")};
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--sim"))
            simulator = args[i + 1];
        else if (args[i] == QLatin1String("--reply-checksum"))
            habits = QStringList{args[i + 1]};
    }
    for (const QString &habit : habits)
        if (!MeasureFetches(simulator, habit, runs))
            return 1;
    return 0;
}
