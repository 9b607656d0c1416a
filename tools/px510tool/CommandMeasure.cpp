// px510tool measure --port PATH [--out FILE] [--fetch-only] [--wait SECONDS]:
// a measurement on the tester at PATH, saved as a measurement file.

#include "Command.h"

#include "common/DateTimeText.h"
#include "common/NumberText.h"
#include "link/ComToPX510Unit.h"
#include "link/LinkMessages.h"
#include "link/PortPermission.h"
#include "link/QtSerialComm.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Why the tester did not do what was asked, as the operator is told.
QString Failure(const TComToPX510 &s, const QString &otherwise)
{
    if (s.LastFailure == LinkStatus::TesterError || s.LastFailure == LinkStatus::PortLost)
        return FailureText(s.LastFailure, s.ErrorCode);
    if (s.TransferIncomplete)
        return IncompleteTransferMessage();
    return otherwise;
}

// Why the device at `path` cannot serve as the tester's port; empty when it can.
QString PortProblem(const QString &path)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("no such device: %1").arg(path);
    if (PortPermission::Denied(path))
        return QStringLiteral("no permission to open %1\n%2").arg(path, PortPermission::Hint({path}));
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return QStringLiteral("%1 cannot be opened: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    if (!terminal)
        return QStringLiteral("%1 is not a serial device (not a terminal)").arg(path);
    return {};
}

int Fail(const QString &message)
{
    std::fprintf(stderr, "px510tool: %s\n", message.toUtf8().constData());
    return 1;
}

// Prints the download's progress while the event loop runs.
class ProgressPrinter {
public:
    explicit ProgressPrinter(const TComToPX510 &session) : Session(session)
    {
        Timer.setInterval(200);
        QObject::connect(&Timer, &QTimer::timeout, [this] { Print(); });
        Timer.start();
    }
    void Print()
    {
        const bool downloading = Session.LinkState == LinkDownloading || Session.LinkState == LinkDownloadComplete;
        if (downloading && Session.DownloadPercent != Shown) {
            Shown = Session.DownloadPercent;
            Tool::print("downloading " + std::to_string(Shown) + " %\n");
        }
    }

private:
    const TComToPX510 &Session;
    QTimer Timer;
    int Shown = -1;
};

} // namespace

int CommandMeasure(const QStringList &arguments)
{
    QStringList args = arguments;
    QString port = Tool::takeOption(args, QStringLiteral("--port"));
    QString out = Tool::takeOption(args, QStringLiteral("--out"));
    const QString waitText = Tool::takeOption(args, QStringLiteral("--wait"), QStringLiteral("120"));
    const bool fetchOnly = args.removeAll(QStringLiteral("--fetch-only")) > 0;
    Tool::expectArguments(args, 0);
    if (port.isEmpty())
        throw UsageError("--port PATH is required");
    const std::optional<double> waitSeconds = NumberText::parseDouble(waitText);
    if (!waitSeconds || *waitSeconds <= 0)
        throw UsageError("--wait needs a number of seconds");
    if (out.isEmpty())
        out = QDateTime::currentDateTime().toString(QStringLiteral("'PX510-'yyyyMMdd-HHmmss'.PX510'"));

    // A name without a folder is a file here, not a device under /dev.
    port = QFileInfo(port).absoluteFilePath();
    if (const QString problem = PortProblem(port); !problem.isEmpty())
        return Fail(problem);

    TComToPX510 s;
    s.UseComm(std::make_shared<QtSerialComm>(QStringList{port}));
    Tool::print("connecting to " + port.toStdString() + "\n");
    if (!s.Connect())
        return Fail(Failure(s, QStringLiteral("no tester answers on %1").arg(port)));

    QElapsedTimer clock;
    ProgressPrinter progress(s);
    if (fetchOnly) {
        clock.start();
        if (!s.FetchMeasurement())
            return Fail(Failure(s, QStringLiteral("the tester holds no measurement it can send")));
    } else {
        if (!s.ReadConditions())
            return Fail(Failure(s, QStringLiteral("the tester did not send its conditions")));
        s.PushSettings();
        s.ResetMeasurement();
        if (!s.StartMeasurement())
            return Fail(Failure(s, QStringLiteral("the tester did not start measuring")));
        Tool::print(std::string("measuring\n"));
        // The tester's finished frame starts the fetch from the notification.
        bool fetched = false;
        s.OnMeasurementReady = [&] { fetched = true; };
        QElapsedTimer waited;
        waited.start();
        while (!fetched && s.LinkState != LinkDisconnected && waited.elapsed() < *waitSeconds * 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); // the progress timer wakes it
        if (!fetched)
            return Fail(Failure(s, QStringLiteral("the tester did not finish within %1 s").arg(waitText)));
        if (!s.HasData)
            return Fail(Failure(s, QStringLiteral("the measurement could not be taken over")));
    }
    progress.Print();
    // The whole fetch when it was asked for here; from the first packet on
    // when the notification ran it.
    const double seconds = fetchOnly ? clock.elapsed() / 1000.0 : (DateTimeText::now() - s.MeasureTime) * 86400;
    char timing[160];
    std::snprintf(timing, sizeof timing, "downloaded %d packets, %d samples in %.2f s\n", s.RawByteCount / 200,
                  s.SampleCount, seconds);
    Tool::print(std::string(timing));
    s.SaveMeasurementFile(out);
    Tool::print("saved " + out.toStdString() + "\n");
    s.Disconnect();
    return 0;
}
