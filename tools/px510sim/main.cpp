// px510sim: a simulated PX510 tester on a pseudo-terminal, for tests,
// benchmarks and demonstrations without the instrument.

#include "PseudoTerminal.h"
#include "SimLine.h"
#include "SimOptions.h"
#include "SimTester.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <deque>
#include <poll.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t StopRequested = 0;

void RequestStop(int)
{
    StopRequested = 1;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct PendingRequest {
    double AnswerAt;
    QByteArray Frame;
    bool Damaged;     // arrived damaged
    bool DamageReply; // its reply is to be damaged
};

void PrintCounts(const SimLine &line)
{
    std::printf("px510sim: received %lld bytes (%.3f s on the line), sent %lld bytes (%.3f s on the line) "
                "at 9600 bit/s\n",
                line.BytesIn, double(line.BytesIn) * SimLine::ByteSeconds, line.BytesOut,
                double(line.BytesOut) * SimLine::ByteSeconds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    const std::optional<SimOptions> parsed = ParseSimOptions(app.arguments(), error);
    if (!parsed) {
        const bool help = app.arguments().contains(QStringLiteral("--help"))
            || app.arguments().contains(QStringLiteral("-h"));
        std::fprintf(help ? stdout : stderr, "%s\n", qPrintable(error));
        return help ? 0 : 2;
    }
    const SimOptions options = *parsed;

    // Signals are taken only inside ppoll, so none is missed between checks.
    sigset_t blocked, waiting;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &waiting);
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    sigemptyset(&stop.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    PseudoTerminal terminal;
    if (!terminal.Open(error) || (!options.Link.isEmpty() && !terminal.Link(options.Link, error))) {
        std::fprintf(stderr, "px510sim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("px510sim: tester on %s\n", qPrintable(terminal.Device()));
    if (!options.Link.isEmpty())
        std::printf("px510sim: link %s\n", qPrintable(options.Link));
    std::fflush(stdout);

    std::mt19937 random(options.Seed ^ 0x5EED5EEDu);
    SimTester tester(options.Seed, options.MeasureSeconds);
    tester.ErrorReplies = options.ErrorReplies;
    SimLine line(options, random);
    const auto start = std::chrono::steady_clock::now();
    QByteArray input;
    double lastInputAt = 0;
    std::deque<PendingRequest> requests;
    int exitCode = 0;

    while (!StopRequested) {
        const double now = Seconds(start);
        if (!line.WriteDue(terminal.Master(), now)) {
            std::fprintf(stderr, "px510sim: the terminal was closed\n");
            exitCode = 1;
            break;
        }
        if (options.VanishAfter >= 0 && line.RepliesSent() >= options.VanishAfter) {
            std::printf("px510sim: vanishing after %d replies\n", line.RepliesSent());
            break;
        }
        while (!requests.empty() && requests.front().AnswerAt <= now) {
            const PendingRequest request = requests.front();
            requests.pop_front();
            line.SendReply(request.Damaged ? SimTester::DamagedReply() : tester.Answer(request.Frame, now), now,
                           request.DamageReply);
        }
        const QByteArray announcement = tester.Due(now);
        if (!announcement.isEmpty())
            line.SendFrame(announcement, now);
        // A request left incomplete for half a second is given up.
        if (!input.isEmpty() && now - lastInputAt > 0.5)
            input.clear();

        const double due = line.Stalled() ? std::max(line.NextDue(), now + 0.01) : line.NextDue();
        double next = std::min(
            {due, tester.NextEventAt(), requests.empty() ? INFINITY : requests.front().AnswerAt, now + 1.0});
        if (!input.isEmpty())
            next = std::min(next, lastInputAt + 0.5);
        const double wait = std::max(0.0, next - Seconds(start));
        timespec timeout{time_t(wait), long((wait - std::floor(wait)) * 1e9)};
        pollfd fd{terminal.Master(), POLLIN, 0};
        const int ready = ppoll(&fd, 1, &timeout, &waiting);
        if (ready <= 0)
            continue;
        char buffer[512];
        const ssize_t count = ::read(terminal.Master(), buffer, sizeof buffer);
        if (count <= 0)
            continue;
        const double arrived = Seconds(start);
        lastInputAt = arrived;
        const double receivedAt = line.Received(QByteArray(buffer, count), arrived);
        input.append(buffer, count);
        bool damaged = false;
        while (std::optional<QByteArray> frame = TakeRequest(input, damaged)) {
            if (frame->isEmpty())
                continue;
            const SimLine::RequestFaults faults = line.FaultsFor(*frame);
            requests.push_back(
                {receivedAt + options.TurnaroundMs / 1000.0 + faults.Delay, *frame, damaged, faults.Damage});
        }
    }
    terminal.Close();
    PrintCounts(line);
    return exitCode;
}
