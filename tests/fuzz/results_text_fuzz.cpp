// Feeds arbitrary text to ReadResults as the tester's "p" reply, then lists
// the results. A reply is either taken whole (twelve finite values, handed
// on to the standard sets) or refused with a message at its first bad field,
// leaving the fields after it as they were; the listing copes with whatever
// values were taken.

#include "FuzzInput.h"

#include "common/Errors.h"
#include "link/ComToPX510Unit.h"
#include "link/ScriptedComm.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "results text: %s\n", what);
        std::abort();
    }
}

constexpr double Untouched = -12345.678;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t settings = input.Byte();
    QByteArray reply("\x02Up", 3);
    reply += input.Rest().left(256 - 3);

    auto port = std::make_shared<ScriptedComm>();
    port->Present.insert(1);
    port->QueueFrame(1, 'a');
    TComToPX510 session;
    session.UseComm(port);
    require(session.Connect(), "connect");
    session.Conditions.Standard = settings & 3;
    session.UnitSystem = (settings >> 2) & 1;
    session.SetParameterUnitTexts();
    auto results = session.InstrumentParams.InReportOrder();
    for (Tparameter *p : results)
        p->ParamValue = Untouched;

    port->QueueReply(1, reply);
    bool taken = false;
    try {
        taken = session.ReadResults();
    } catch (const ConversionError &error) {
        require(!error.message().isEmpty(), "a refusal without a message");
        size_t firstUntouched = 0;
        while (firstUntouched < results.size() && results[firstUntouched]->ParamValue != Untouched)
            ++firstUntouched;
        for (size_t i = firstUntouched; i < results.size(); ++i)
            require(results[i]->ParamValue == Untouched, "a field after the bad one was taken");
    }
    require(!session.Busy, "Busy left set");
    if (taken) {
        for (Tparameter *p : results)
            require(std::isfinite(p->ParamValue), "a taken value is not finite");
        require(session.IsoParams.Ra.ParamValue == session.InstrumentParams.Ra.ParamValue
                    && session.AnsiParams.Sm.ParamValue == session.InstrumentParams.Sm.ParamValue,
                "results not handed on to the standard sets");
    }
    for (uint8_t standard = 0; standard < 4; ++standard) {
        session.Conditions.Standard = standard;
        QString text;
        session.ResultsText(1 + ((settings >> 3) % 6), text);
        require(text.endsWith(QStringLiteral("\r\n")), "listing not ended");
    }
    return 0;
}
