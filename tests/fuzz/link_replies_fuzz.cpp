// Runs the session's commands, in an order the input chooses, against a port
// that answers whatever the input says: nothing, stray bytes, well-formed
// frames of any code, error replies, profile packets, damaged frames, an
// unsolicited end-of-measurement frame in front of the reply, a failed write,
// or a device that goes away. Besides the sanitizers, it checks what the
// session promises after every command whatever came back, and what the
// reply parsers promise for the input's bytes taken as a reply.

#include "FuzzInput.h"

#include "common/Errors.h"
#include "link/ComToPX510Unit.h"
#include "link/Frame.h"
#include "link/Replies.h"
#include "link/ReplyFrame.h"
#include "link/ScriptedComm.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "link replies: %s\n", what);
        std::abort();
    }
}

// A tester that says what the input tells it to.
class FuzzedPort : public ScriptedComm {
public:
    explicit FuzzedPort(FuzzInput &input) : Input(input)
    {
        Responder = [this](int port, const QByteArray &request) { return Answer(port, request); };
    }

    int sio_write(int port, const char *data, int length) override
    {
        Choice = Input.Pick(10);
        if (Choice == 9 && IsOpen(port)) {
            Log.push_back("write failed");
            return CommResult::WriteFailed;
        }
        return ScriptedComm::sio_write(port, data, length);
    }

    int OpenPorts() const
    {
        int open = 0;
        for (int port = 1; port <= 8; ++port)
            open += IsOpen(port);
        return open;
    }

    // Bytes the tester sends without being asked.
    QByteArray Unsolicited()
    {
        switch (Input.Pick(3)) {
        case 0: return ReplyFrame::Build('s');
        case 1: return ReplyFrame::Error(Input.Byte());
        default: return Input.Bytes(Input.Byte());
        }
    }

private:
    // The reply the request itself asks for, with a payload from the input.
    QByteArray OwnReply(const QByteArray &request)
    {
        if (request[2] == 'v')
            return ReplyFrame::Packet(uint8_t(request[4]) | uint8_t(request[5]) << 8,
                                      Input.Bytes(ReplyFrame::PacketDataBytes));
        return ReplyFrame::Build(request[2], Input.Bytes(Input.Byte()));
    }

    QByteArray Answer(int port, const QByteArray &request)
    {
        switch (Choice) {
        case 0: return {};
        case 1: return Input.Bytes(Input.Byte());
        case 2: return OwnReply(request);
        case 3: {
            const char code = char(Input.Byte());
            return ReplyFrame::Build(code, Input.Bytes(Input.Byte()));
        }
        case 4: return ReplyFrame::Error(Input.Byte());
        case 5: return ReplyFrame::Packet(int(Input.Word() & 0xFFFF), Input.Bytes(Input.Byte()));
        case 6: {
            QByteArray reply = OwnReply(request);
            const qsizetype at = Input.Byte() % reply.size();
            reply[at] = char(reply[at] ^ (Input.Byte() | 1));
            return reply;
        }
        case 7: Vanish(port); return {};
        default: return ReplyFrame::Build('s') + OwnReply(request);
        }
    }

    FuzzInput &Input;
    unsigned Choice = 0;
};

bool allFinite(const double *values, int count)
{
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i]))
            return false;
    return true;
}

void checkSession(TComToPX510 &s, const FuzzedPort &port)
{
    require(!s.Busy, "Busy left set");
    require(!s.IsWaiting(), "still waiting for a reply");
    require(s.RawByteCount >= 0 && s.RawByteCount <= TComToPX510::MaxRawBytes, "RawByteCount outside 0 .. 6000");
    require(s.SampleCount >= 0 && s.SampleCount <= TComToPX510::MaxSamples, "SampleCount outside 0 .. 3000");
    require(s.RoughnessCount >= 0 && s.RoughnessCount <= 2500, "RoughnessCount outside 0 .. 2500");
    require(s.DownloadPercent >= 0 && s.DownloadPercent <= 100, "DownloadPercent outside 0 .. 100");
    require(s.LinkState <= LinkError, "unknown link state");
    require(s.LinkState != LinkMeasurementFinished, "a fetch left the link waiting in state 3");
    const TConditions &c = s.Conditions;
    require(c.Cutoff <= 3 && c.SampleLengths <= 4 && c.Standard <= 3 && c.Range <= 3 && c.FilterCode <= 3,
            "condition code outside its range");
    require(s.UnitSystem <= 1, "unit system outside 0 .. 1");
    require(s.ActualRange <= 3 && s.ActualCutoff <= 3, "actual range or cutoff outside 0 .. 3");
    require(port.OpenPorts() <= 1, "more than one port left open");
    if (s.LinkLost) {
        require(port.OpenPorts() == 0, "a lost port is still open");
        require(s.LinkState == LinkDisconnected, "a lost link not in state 1");
    }
    for (Tparameter *p : s.InstrumentParams.InReportOrder())
        require(!std::isnan(p->ParamValue), "a result is not a number");
    if (s.HasData) {
        require(!s.TransferIncomplete, "an incomplete transfer shown as a measurement");
        require(s.SampleCount == s.RawByteCount / 2, "SampleCount does not match RawByteCount");
        require(s.RoughnessCount <= std::max(0, s.SampleCount - TComToPX510::FilterOrigin), "roughness count");
        require(allFinite(s.Profile.data(), s.SampleCount), "profile not finite");
        require(allFinite(s.RoughnessProfile.data(), s.RoughnessCount), "roughness profile not finite");
        for (double entry : s.BearingCurve)
            require(entry >= 0 && entry <= 100, "bearing entry outside 0 .. 100");
    }
}

bool within(const std::optional<uint8_t> &code, int lowest, int highest)
{
    return !code || (*code >= lowest && *code <= highest);
}

// The parsers on the bytes as they are, as if a read had brought them.
void checkParsers(QByteArrayView reply)
{
    const bool hasCode = reply.size() > 2;
    const auto is = [&](char code) { return hasCode && reply[2] == code; };
    require(Replies::AcknowledgementOf(reply).has_value() == is('a'), "acknowledgement of another code");
    require(Replies::TesterErrorOf(reply).has_value() == is('e'), "error reply of another code");
    if (const auto c = Replies::ConditionsOf(reply))
        require(within(c->Cutoff, 0, 3) && within(c->SampleLengths, 0, 4) && within(c->Standard, 0, 3)
                    && within(c->Range, 0, 3) && within(c->FilterCode, 0, 3) && within(c->UnitSystem, 0, 1),
                "a condition code outside its range");
    if (const auto l = Replies::ActualSettingsOf(reply))
        require(within(l->Range, 1, 3) && within(l->Cutoff, 1, 3), "an actual setting outside 1 .. 3");
    if (const auto p = Replies::ResultsOf(reply)) {
        require(p->Count >= 0 && p->Count <= Replies::Results::FieldCount, "result count");
        require(allFinite(p->Values.data(), p->Count), "a result not finite");
    }
    if (const auto v = Replies::ProfilePacketOf(reply)) {
        require(reply.size() == ReplyFrame::PacketReplyBytes, "a packet of another length");
        require(v->Data.size() == ReplyFrame::PacketDataBytes && v->Number >= 0 && v->Number <= 0xFFFF,
                "packet data or number");
    }
    require(Replies::StylusPositionOf(reply).has_value() == is('k'), "stylus position of another code");
}

TConditions conditionsFrom(FuzzInput &input)
{
    TConditions c;
    c.Cutoff = uint8_t(input.Pick(4));
    c.SampleLengths = uint8_t(input.Pick(5));
    c.Standard = uint8_t(input.Pick(4));
    c.Range = uint8_t(input.Pick(4));
    c.FilterCode = uint8_t(input.Pick(4));
    return c;
}

void runCommand(TComToPX510 &s, FuzzedPort &port, FuzzInput &input)
{
    switch (input.Pick(20)) {
    case 0: s.Connect(); break;
    case 1: s.Disconnect(); break;
    case 2: s.StartMeasurement(); break;
    case 3: s.QueryConditions(); break;
    case 4: s.ReadActualSettings(); break;
    case 5: s.ReadConditions(); break;
    case 6: s.SendConditions(conditionsFrom(input)); break;
    case 7: s.ApplyConditions(conditionsFrom(input)); break;
    case 8: s.SetUnitSystem(uint8_t(input.Pick(2))); break;
    case 9: s.PushSettings(); break;
    case 10: s.ReadResults(); break;
    case 11: s.EnterStylusMode(); break;
    case 12: {
        const double limit = s.RangeLimit() * 1000;
        if (const std::optional<double> position = s.ReadStylusPosition())
            require(std::isfinite(*position) && std::fabs(*position) <= 16 * limit, "stylus position out of range");
        break;
    }
    case 13: s.ExitStylusMode(); break;
    case 14: s.FetchMeasurement(); break;
    case 15:
        // As its callers do: the download replaces the measurement.
        s.ResetMeasurement();
        s.DownloadProfile(s.RawData, s.RawByteCount);
        break;
    case 16: port.Arrive(s.PortNo, port.Unsolicited()); break;
    case 17: s.ResetMeasurement(); break;
    case 18: {
        QString text;
        s.ResultsText(1 + int(input.Pick(4)), text);
        break;
    }
    default: s.ReceiveNotify(s.PortNo); break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkParsers(QByteArrayView(data, qsizetype(size)));
    FuzzInput input(data, size);
    auto port = std::make_shared<FuzzedPort>(input);
    // Which of the eight ports exist, and how the serial layer behaves.
    const uint8_t present = input.Byte();
    for (int p = 1; p <= 8; ++p)
        if (present & (1 << (p - 1)))
            port->Present.insert(p);
    const uint8_t refusals = input.Byte();
    const char *operations[] = {"ioctl", "flowctrl", "DTR", "RTS", "cnt_irq"};
    for (int i = 0; i < 5; ++i)
        if (refusals & (1 << i))
            port->Results[operations[i]] = CommResult::Failed;
    const long rates[] = {9600, 9600, 19200, 110, 9, 10, 0, 1L << 30};
    port->Baud = rates[input.Pick(8)];

    auto session = std::make_unique<TComToPX510>();
    session->UseComm(port);
    session->OnLinkMessage = [](const QString &message) { require(!message.isEmpty(), "an empty message"); };

    while (!input.Empty()) {
        try {
            runCommand(*session, *port, input);
        } catch (const PX510Error &error) {
            require(!error.message().isEmpty(), "an error without a message");
        }
        checkSession(*session, *port);
    }
    return 0;
}
