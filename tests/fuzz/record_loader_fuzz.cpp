// Feeds arbitrary bytes to the session's record loader. Besides the
// sanitizers, it checks what a load promises: a refused record changes
// nothing, and an accepted one leaves a consistent, finite measurement whose
// next save writes back every byte it does not rewrite on purpose.

#include "common/Errors.h"
#include "files/PX510FileUnit.h"
#include "link/ComToPX510Unit.h"

#include <QByteArray>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "record loader: %s\n", what);
        std::abort();
    }
}

bool allFinite(const double *values, int count)
{
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i]))
            return false;
    return true;
}

// The measurement as far as a refused load must leave it alone.
QByteArray state(TComToPX510 &s)
{
    QByteArray out;
    auto add = [&out](const void *data, size_t size) { out.append(static_cast<const char *>(data), qsizetype(size)); };
    for (Tparameter *p : s.InstrumentParams.InReportOrder()) {
        add(&p->ParamValue, sizeof p->ParamValue);
        out += p->ParamUnit.toUtf8();
    }
    add(&s.Conditions, sizeof s.Conditions);
    add(&s.UnitSystem, 1);
    add(&s.ActualRange, 1);
    add(&s.ActualCutoff, 1);
    add(&s.MeasureTime, sizeof s.MeasureTime);
    add(&s.RawByteCount, sizeof s.RawByteCount);
    add(&s.SampleCount, sizeof s.SampleCount);
    add(&s.RoughnessCount, sizeof s.RoughnessCount);
    add(s.RawData.data(), s.RawData.size());
    add(s.Profile.data(), sizeof s.Profile);
    add(s.RoughnessProfile.data(), sizeof s.RoughnessProfile);
    add(s.BearingCurve.data(), sizeof s.BearingCurve);
    add(&s.BearingLevelStep, sizeof s.BearingLevelStep);
    out += s.FileIO->ToBytes();
    return out;
}

void checkAccepted(TComToPX510 &s, const QByteArray &input)
{
    require(s.HasData, "HasData not set");
    require(s.RawByteCount >= 0 && s.RawByteCount <= 6000, "count outside 0 .. 6000");
    require(s.SampleCount == s.RawByteCount / 2, "sample count");
    require(s.RoughnessCount >= 0 && s.RoughnessCount <= 2500, "roughness count");
    require(allFinite(s.Profile.data(), s.SampleCount), "profile not finite");
    require(allFinite(s.RoughnessProfile.data(), s.RoughnessCount), "roughness profile not finite");
    require(allFinite(s.BearingCurve.data(), 100), "bearing curve not finite");
    require(std::isfinite(s.BearingLevelStep) && s.BearingLevelStep >= 0, "level step");
    for (double entry : s.BearingCurve)
        require(entry >= 0 && entry <= 100, "bearing entry outside 0 .. 100");
    for (double depth : {-5.0, 0.0, 37.5, 99.2, 100.0, 1e300}) {
        double ratio = s.MaterialRatioAtDepth(depth);
        require(ratio >= 0 && ratio <= 100, "ratio at depth outside 0 .. 100");
    }

    QByteArray saved;
    s.SaveMeasurementStream(saved);
    const qsizetype length = 561 + s.RawByteCount;
    require(saved.size() == length, "saved length");
    // The format byte becomes 1 and the date text is rewritten in its fixed
    // form; everything from offset 23 on comes back byte for byte.
    require(saved[1] == input[1], "reserved byte 1");
    require(std::memcmp(saved.constData() + 23, input.constData() + 23, size_t(length - 23)) == 0,
            "bytes not written back unchanged");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static TComToPX510 session;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray before = state(session);
    try {
        session.LoadMeasurementStream(input);
    } catch (const RecordError &) {
        require(state(session) == before, "a refused record changed the session");
        return 0;
    }
    checkAccepted(session, input);
    return 0;
}
