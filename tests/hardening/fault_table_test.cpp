// Downloads from px510sim under a table of injected faults, each row with its
// own seed, through the real serial layer on a pseudo-terminal. Every record
// taken over is compared byte for byte with the clean run of the same seed:
// a download is byte-exact or clearly refused, never a wrong measurement.
// Runs per row come from PX510_FAULT_RUNS (a few in `make test`, more in
// `make test-faults`); PX510_FAULT_ROW picks the rows whose name contains it.

#include "SimProcess.h"
#include "TestSupport.h"

#include "link/ComToPX510Unit.h"
#include "link/QtSerialComm.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

namespace {

struct FaultRow {
    const char *Name;
    QStringList Options;
    bool Recoverable; // every download must come out byte-exact
    bool Paced;       // slow: fewer runs
};

int RunsPerRow(bool paced)
{
    const char *text = std::getenv("PX510_FAULT_RUNS");
    const int runs = text ? std::max(1, std::atoi(text)) : 2;
    return paced ? std::max(1, runs / 4) : runs;
}

// A session on a simulator with `options`, connected as an operator would
// (who tries again when the first click does not find the tester).
struct Bench {
    explicit Bench(const QStringList &options) : Sim(options)
    {
        if (!Sim.Ready())
            return;
        Session.UseComm(std::make_shared<QtSerialComm>(QStringList{Sim.Link}));
        Connected = Session.Connect() || Session.Connect() || Session.Connect();
    }
    // The record of the measurement the tester holds, or nothing when the
    // fetch failed.
    std::optional<QByteArray> Fetch()
    {
        if (!Session.FetchMeasurement())
            return std::nullopt;
        Session.MeasureTime = 0; // the moment of the download is no part of the measurement
        QByteArray record;
        Session.SaveMeasurementStream(record);
        return record;
    }
    SimProcess Sim;
    TComToPX510 Session;
    bool Connected = false;
};

TEST(FaultTable, EveryDownloadIsByteExactOrClearlyRefused)
{
    const std::vector<FaultRow> rows = {
        {"clean line", {}, true, false},
        {"slow tester, replies after the time-out", {"--pace", "--turnaround", "580"}, false, true},
        {"one packet reply late", {"--late-packet", "5:1200"}, true, false},
        {"one packet reply late, at line rate", {"--pace", "--late-packet", "12:900"}, true, true},
        {"packet damaged once", {"--corrupt-packet", "7:1"}, true, false},
        {"packet damaged twice", {"--corrupt-packet", "7:2"}, true, false},
        {"packet damaged on every try", {"--corrupt-packet", "7:3"}, false, false},
        {"replies without checksum", {"--reply-checksum", "zero"}, true, false},
        {"replies without checksum, late packet", {"--reply-checksum", "zero", "--late-packet", "3:1000"}, true, false},
        {"replies without checksum, drops, split",
         {"--reply-checksum", "zero", "--drop-rate", "0.05", "--split"},
         false,
         false},
        {"drops 5 %, split", {"--drop-rate", "0.05", "--split"}, false, false},
        {"corruption 20 %", {"--corrupt-rate", "0.2"}, false, false},
        {"corruption 50 %", {"--corrupt-rate", "0.5"}, false, false},
        {"line rate, split, drops 2 %, corruption 5 %",
         {"--pace", "--split", "--drop-rate", "0.02", "--corrupt-rate", "0.05"},
         false,
         true},
    };
    uint32_t seed = 11;
    const QString only = QString::fromLocal8Bit(qgetenv("PX510_FAULT_ROW"));
    for (const FaultRow &row : rows) {
        SCOPED_TRACE(row.Name);
        ++seed;
        if (!only.isEmpty() && !QString::fromUtf8(row.Name).contains(only))
            continue;
        const QStringList seedOption{"--seed", QString::number(seed), "--measure-seconds", "0"};
        std::optional<QByteArray> clean;
        {
            Bench reference(seedOption);
            ASSERT_TRUE(reference.Connected) << reference.Sim.Output.constData();
            clean = reference.Fetch();
            ASSERT_TRUE(clean.has_value());
        }
        Bench faulty(seedOption + row.Options);
        ASSERT_TRUE(faulty.Sim.Ready()) << faulty.Sim.Output.constData();
        const int runs = RunsPerRow(row.Paced);
        int exact = 0, refused = 0, wrong = 0;
        QElapsedTimer clock;
        clock.start();
        for (int run = 0; run < runs; ++run) {
            const std::optional<QByteArray> record = faulty.Connected ? faulty.Fetch() : std::nullopt;
            if (!record) {
                ++refused;
                EXPECT_FALSE(faulty.Session.HasData);
                EXPECT_NE(faulty.Session.LinkState, LinkMeasurementFinished);
                EXPECT_NE(faulty.Session.LinkState, LinkDownloadComplete);
            } else if (*record == *clean) {
                ++exact;
            } else {
                ++wrong;
                const qsizetype at = std::mismatch(record->begin(), record->end(), clean->begin(), clean->end()).first
                    - record->begin();
                ADD_FAILURE() << "run " << run << ": the record differs from byte " << at << " on";
            }
            EXPECT_FALSE(faulty.Session.Busy);
        }
        std::printf("%-48s runs %3d  byte-exact %3d  clear failures %3d  wrong files %d  (%.1f s)\n", row.Name, runs,
                    exact, refused, wrong, clock.elapsed() / 1000.0);
        std::fflush(stdout);
        EXPECT_EQ(wrong, 0) << "a measurement the tester never sent was taken as its own";
        if (row.Recoverable) {
            EXPECT_EQ(exact, runs) << "a fault the link can recover from failed a download";
        }
    }
}

} // namespace
