#pragma once
// The simulated tester's behaviour, apart from any port: it keeps its
// conditions and unit system, answers request frames, measures, and holds
// the last measurement with its profile and its twelve results.

#include "SimEvaluation.h"

#include <QByteArray>
#include <cstdint>
#include <map>
#include <optional>

struct SimConditions {
    uint8_t Cutoff = 2;        // 0 automatic, 1 0.25 mm, 2 0.8 mm, 3 2.5 mm
    uint8_t SampleLengths = 4; // 0 .. 4 for 1 .. 5
    uint8_t Standard = 0;
    uint8_t Range = 2; // 0 automatic, 1 ±20 μm, 2 ±40 μm, 3 ±80 μm
    uint8_t Filter = 2;
};

struct SimMeasurement {
    uint8_t ActualRange = 2;
    uint8_t ActualCutoff = 2;
    int SampleLengths = 5;
    QByteArray Raw;     // signed 16-bit samples, low byte first; 4096 counts = range limit
    SimResults Results; // μm and mm
    int Packets() const { return int(Raw.size()) / 200; }
};

// Measurement number `index` of a tester started with `seed`.
SimMeasurement Measure(uint32_t seed, int index, const SimConditions &conditions);

// Takes the next request frame off the front of `input`. Bytes before a
// start byte are dropped; a start byte that begins no request gives an empty
// frame (skip it and go on). A frame whose checksum or end byte is wrong
// comes back with `damaged` set. Nothing while the frame is incomplete.
std::optional<QByteArray> TakeRequest(QByteArray &input, bool &damaged);

class SimTester {
public:
    SimTester(uint32_t seed, double measureSeconds);

    // Sub-commands answered with an error reply of the given code.
    std::map<char, int> ErrorReplies;

    // The reply to a whole request frame received at `now` (seconds).
    QByteArray Answer(const QByteArray &request, double now);
    // The reply to a frame that arrived damaged.
    static QByteArray DamagedReply();
    // The unsolicited frame due at `now` (end of a measurement), or nothing.
    QByteArray Due(double now);
    // When Due() will next have a frame; infinity when nothing is running.
    double NextEventAt() const;

    const SimConditions &Conditions() const { return Settings; }
    uint8_t UnitSystem() const { return Unit; }
    const SimMeasurement &Held() const { return Current; }
    int MeasurementCount() const { return Index; }
    bool Measuring() const { return FinishAt.has_value(); }

    // Text of the results reply: twelve fields of 13 characters.
    static QByteArray ResultsText(const SimResults &results, uint8_t unit);

private:
    QByteArray StylusPosition(double now) const;

    uint32_t Seed;
    double MeasureSeconds;
    SimConditions Settings;
    uint8_t Unit = 0;
    bool StylusMode = false;
    int Index = 0;
    SimMeasurement Current;
    std::optional<double> FinishAt;
};
