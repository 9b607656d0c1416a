#include "SimTester.h"

#include "SimSurface.h"
#include "link/Frame.h"
#include "link/ReplyFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr double CutoffMm[] = {0, 0.25, 0.8, 2.5};
constexpr double RangeUm[] = {0, 20, 40, 80};
constexpr int SamplesPerCutoff = 1000;
constexpr int ErrorUnknown = 255;
constexpr int ErrorNoData = 1;
constexpr int ErrorChecksum = 128;
constexpr int ErrorPacketNumber = 129;

uint8_t AutomaticCutoff(double ra)
{
    if (ra <= 0.1)
        return 1;
    return ra <= 2 ? 2 : 3;
}

// A value in exactly eight characters.
QByteArray EightCharacters(double value)
{
    char text[64];
    for (int decimals = 4; decimals >= 0; --decimals) {
        std::snprintf(text, sizeof text, "%8.*f", decimals, value);
        if (std::strlen(text) == 8)
            return QByteArray(text);
    }
    return QByteArray(value < 0 ? "-9999999" : "99999999");
}

} // namespace

SimMeasurement Measure(uint32_t seed, int index, const SimConditions &conditions)
{
    const uint32_t surfaceSeed = seed * 7919u + uint32_t(index) * 104729u;
    const SurfaceKind kind = DrawSurfaceKind(surfaceSeed);
    SimMeasurement m;
    m.ActualCutoff = conditions.Cutoff != 0 ? conditions.Cutoff : AutomaticCutoff(ExpectedRa(kind));
    m.SampleLengths = std::clamp(int(conditions.SampleLengths), 0, 4) + 1;
    // 500 samples a sampling length plus 500 for the filter to settle, the
    // whole trace spanning the evaluation length (as the workstation plots it).
    const int count = 500 * (m.SampleLengths + 1);
    const double spacing = m.SampleLengths * CutoffMm[m.ActualCutoff] / count;
    const int perCutoff = int(std::lround(CutoffMm[m.ActualCutoff] / spacing));
    // The stylus runs a cutoff further at each end than it reports, so the
    // filter has its full weights everywhere it is evaluated.
    const int runUp = perCutoff;
    std::vector<double> z = TraceSurface(kind, surfaceSeed, count + 2 * runUp, spacing);

    double peak = 0;
    for (double v : z)
        peak = std::max(peak, std::abs(v));
    m.ActualRange = conditions.Range;
    if (m.ActualRange == 0) {
        m.ActualRange = 3;
        for (uint8_t code = 1; code <= 3; ++code)
            if (peak * 1.1 <= RangeUm[code]) {
                m.ActualRange = code;
                break;
            }
    }
    // The operator keeps the trace inside the measuring range.
    const double limit = RangeUm[m.ActualRange];
    if (peak > 0.9 * limit)
        for (double &v : z)
            v *= 0.9 * limit / peak;

    m.Raw.resize(2 * count);
    std::vector<double> traced(z.size());
    for (size_t i = 0; i < z.size(); ++i) {
        const auto counts = static_cast<int16_t>(std::clamp(std::lround(z[i] / limit * 4096), -32768L, 32767L));
        traced[i] = counts / 4096.0 * limit;
        const int sent = int(i) - runUp;
        if (sent >= 0 && sent < count) {
            m.Raw[2 * sent] = static_cast<char>(counts & 0xFF);
            m.Raw[2 * sent + 1] = static_cast<char>((counts >> 8) & 0xFF);
        }
    }
    // Evaluated over the reported trace less 250 samples at each end.
    const std::vector<double> roughness = GaussianRoughness(traced, perCutoff);
    const std::vector<double> evaluated(roughness.begin() + runUp + 250, roughness.begin() + runUp + count - 250);
    m.Results = EvaluateRoughness(evaluated, m.SampleLengths, spacing);
    return m;
}

std::optional<QByteArray> TakeRequest(QByteArray &input, bool &damaged)
{
    damaged = false;
    const qsizetype start = input.indexOf(Frame::STX);
    if (start < 0) {
        input.clear();
        return std::nullopt;
    }
    input.remove(0, start);
    if (input.size() < 4)
        return std::nullopt;
    const int payload = static_cast<uint8_t>(input[3]);
    if (input[1] != Frame::CommandClass || payload > 16) {
        input.remove(0, 1); // not the start of a request: skipped
        return QByteArray();
    }
    const int length = payload + 7;
    if (input.size() < length)
        return std::nullopt;
    QByteArray frame = input.left(length);
    input.remove(0, length);
    damaged = !Frame::IsComplete(frame.constData(), frame.size());
    return frame;
}

SimTester::SimTester(uint32_t seed, double measureSeconds)
    : Seed(seed), MeasureSeconds(measureSeconds), Current(Measure(seed, 0, Settings))
{}

QByteArray SimTester::DamagedReply()
{
    return ReplyFrame::Error(ErrorChecksum);
}

QByteArray SimTester::ResultsText(const SimResults &results, uint8_t unit)
{
    static const char *const names[12] = {
        "Ra  =", "Rq  =", "Rz  =", "R3z =", "Ryi =", "Ryd =", "Rt  =", "Rp  =", "Rv  =", "S   =", "Sm  =", "Sk  ="};
    const std::array<double, 12> values = results.InOrder();
    QByteArray text;
    for (size_t i = 0; i < values.size(); ++i) {
        const double factor = unit == 1 && i < 11 ? 40 : 1; // Sk has no unit
        text += names[i];
        text += EightCharacters(values[i] * factor);
    }
    return text;
}

QByteArray SimTester::StylusPosition(double now) const
{
    // The stylus drifts slowly as the operator turns the height screw.
    const auto counts = static_cast<int16_t>(
        std::lround(2048 * (0.35 * std::sin(now * 0.4) + 0.05 * std::sin(now * 3.1))));
    QByteArray position;
    position.append(static_cast<char>(counts & 0xFF));
    position.append(static_cast<char>((counts >> 8) & 0xFF));
    return position;
}

QByteArray SimTester::Answer(const QByteArray &request, double now)
{
    const char code = request[2];
    const QByteArray payload = request.mid(4, static_cast<uint8_t>(request[3]));
    auto error = ErrorReplies.find(code);
    if (error != ErrorReplies.end())
        return ReplyFrame::Error(uint8_t(error->second));
    auto byteAt = [&](int i) { return i < payload.size() ? static_cast<uint8_t>(payload[i]) : uint8_t(0xFF); };
    switch (code) {
    case 'w':
    case 'o': return ReplyFrame::Build('a');
    case 's': FinishAt = now + MeasureSeconds; return ReplyFrame::Build('a');
    case 't': {
        QByteArray reply;
        for (uint8_t v :
             {Settings.Cutoff, Settings.SampleLengths, Settings.Standard, Settings.Range, Settings.Filter, Unit})
            reply.append(static_cast<char>(v));
        return ReplyFrame::Build('t', reply);
    }
    case 'l': {
        QByteArray reply;
        reply.append(static_cast<char>(Current.ActualRange));
        reply.append(static_cast<char>(Current.ActualCutoff));
        return ReplyFrame::Build('l', reply);
    }
    case 'c': {
        const SimConditions wanted{byteAt(0), byteAt(1), byteAt(2), byteAt(3), byteAt(4)};
        if (payload.size() != 5 || wanted.Cutoff > 3 || wanted.SampleLengths > 4 || wanted.Standard > 3
            || wanted.Range > 3 || wanted.Filter > 3)
            return ReplyFrame::Error(ErrorUnknown);
        Settings = wanted;
        return ReplyFrame::Build('a');
    }
    case 'u':
        if (payload.size() != 1 || byteAt(0) > 1)
            return ReplyFrame::Error(ErrorUnknown);
        Unit = byteAt(0);
        return ReplyFrame::Build('a');
    case 'k':
        switch (byteAt(0)) {
        case 0: StylusMode = true; return ReplyFrame::Build('a');
        case 2: StylusMode = false; return ReplyFrame::Build('a');
        case 1: return StylusMode ? ReplyFrame::Build('k', StylusPosition(now)) : ReplyFrame::Error(ErrorUnknown);
        }
        return ReplyFrame::Error(ErrorUnknown);
    case 'p':
        return Current.Raw.isEmpty() ? ReplyFrame::Error(ErrorNoData)
                                     : ReplyFrame::Build('p', ResultsText(Current.Results, Unit));
    case 'v': {
        const int packet = byteAt(0) | byteAt(1) << 8;
        if (payload.size() != 2 || packet < 1 || packet > Current.Packets())
            return ReplyFrame::Error(ErrorPacketNumber);
        return ReplyFrame::Packet(packet, Current.Raw.mid((packet - 1) * 200, 200));
    }
    }
    return ReplyFrame::Error(ErrorUnknown);
}

QByteArray SimTester::Due(double now)
{
    if (!FinishAt || now < *FinishAt)
        return {};
    FinishAt.reset();
    Current = Measure(Seed, ++Index, Settings);
    return ReplyFrame::Build('s');
}

double SimTester::NextEventAt() const
{
    return FinishAt ? *FinishAt : std::numeric_limits<double>::infinity();
}
