// The command set of the tester: one request frame, one reply, and the
// session's state changed by the reply.

#include "link/ComToPX510Unit.h"

#include "common/Errors.h"
#include "common/NumberText.h"
#include "link/Frame.h"
#include "link/LinkMessages.h"
#include "link/LinkTrace.h"
#include "link/QtSerialComm.h"
#include "link/Replies.h"
#include "link/ReplyFrame.h"
#include "link/SessionLink.h"

#include <QCoreApplication>

namespace {
constexpr int FirstPort = 1;
constexpr int LastPort = 8;
constexpr int ReplyBufferBytes = 256;
constexpr unsigned long ReadIntervalMs = 100;

int PacketAsked(const QByteArray &payload)
{
    return payload.size() == 2 ? static_cast<uint8_t>(payload[0]) | static_cast<uint8_t>(payload[1]) << 8 : -1;
}

QByteArray Payload(std::initializer_list<uint8_t> values)
{
    QByteArray out;
    for (uint8_t v : values)
        out.append(static_cast<char>(v));
    return out;
}
} // namespace

// --- the serial layer ------------------------------------------------------

void TComToPX510::UseComm(std::shared_ptr<PComm> comm)
{
    SerialComm = std::move(comm);
    SerialComm->SetLostNotify([this](int port) { PortLost(port); });
    SerialComm->SetReplyTest(&ReplyFrame::IsWhole);
    PortOpen = false;
}

PComm &TComToPX510::Comm()
{
    if (!SerialComm)
        UseComm(std::make_shared<QtSerialComm>());
    return *SerialComm;
}

bool TComToPX510::ConfigurePort()
{
    PComm &comm = Comm();
    if (comm.sio_ioctl(PortNo, BaudCode, ParityCode + DataBitsCode + StopBitsCode) != 0)
        return false;
    const int flowMode = (HardwareFlow ? 3 : 0) + (SoftwareFlow ? 12 : 0);
    if (comm.sio_flowctrl(PortNo, flowMode) != 0)
        return false;
    if (comm.sio_DTR(PortNo, DtrState) != 0)
        return false;
    if (!HardwareFlow && comm.sio_RTS(PortNo, RtsState) != 0)
        return false;
    const long baud = comm.sio_getbaud(PortNo);
    if (baud < 10) // a port that reports no rate cannot be timed
        return false;
    long writeTimeout = 1000 / baud;
    if (writeTimeout < 1)
        writeTimeout = 1;
    comm.sio_SetWriteTimeouts(PortNo, static_cast<unsigned long>(writeTimeout * 3));
    const long readTotal = (256000 / (baud / 10)) * 3;
    comm.sio_SetReadTimeouts(PortNo, static_cast<unsigned long>(readTotal), ReadIntervalMs);
    return comm.sio_cnt_irq(
               PortNo, [this](int port) { ReceiveNotify(port); }, 1)
        == 0;
}

// --- the common exchange ---------------------------------------------------

void TComToPX510::ProcessPendingEvents()
{
    if (!QCoreApplication::instance())
        return;
    Waiting = true;
    QCoreApplication::processEvents();
    Waiting = false;
}

bool TComToPX510::WriteFrame(const QByteArray &frame)
{
    LinkTrace::Frame("->", PortNo, frame.constData(), int(frame.size()));
    return Comm().sio_write(PortNo, frame.constData(), int(frame.size())) > 0;
}

int TComToPX510::ReadReply(int port, LinkReply &reply, bool forCommand)
{
    for (;;) {
        reply = LinkReply{};
        Waiting = true;
        reply.Length = Comm().sio_read(port, reply.Bytes.data(), ReplyBufferBytes);
        Waiting = false;
        LinkTrace::Frame("<-", port, reply.Bytes.data(), std::max(reply.Length, 0));
        // The tester announced the end of a measurement just as a command
        // was sent: remember it, the command's own reply follows.
        if (!forCommand || reply.Length <= 0 || reply.Code() != 's')
            return reply.Length;
        FinishedDuringCommand();
    }
}

void TComToPX510::FinishedDuringCommand()
{
    if (!FinishedPending) {
        FinishedPending = true;
        AfterCommand([this] { MeasurementFinished(); });
    }
}

// Whatever waits on the port belongs to an earlier request (a reply that
// came after its read gave up) and is dropped, so that no reply is ever taken
// for the next request's. After a read that gave up, the rest of its reply
// is waited out first. Only the tester's end-of-measurement frame is kept.
void TComToPX510::PurgeInput(int port)
{
    std::array<char, 1024> discarded{};
    const unsigned long quietMs = LineUnsettled ? ReadIntervalMs : 0;
    LineUnsettled = false;
    Waiting = true;
    const int count = Comm().sio_flush(port, quietMs, discarded.data(), int(discarded.size()));
    Waiting = false;
    if (count <= 0)
        return;
    LinkTrace::Frame("<- dropped", port, discarded.data(), count);
    if (PortOpen && ReplyFrame::HoldsFrame(discarded.data(), count, 's'))
        FinishedDuringCommand();
}

bool TComToPX510::ReplyUsable(const LinkReply &reply) const
{
    if (!ReplyFrame::IsWhole(reply.Bytes.data(), reply.Length))
        return false;
    return Checksum == ChecksumHabit::Other || ReplyFrame::ChecksumMatches(reply.Bytes.data(), reply.Length);
}

LinkStatus TComToPX510::ExchangeOnce(char subCommand, const QByteArray &payload, char success, LinkReply &reply)
{
    PurgeInput(PortNo);
    if (!WriteFrame(Frame::Build(subCommand, payload)))
        return PortOpen ? LinkStatus::Io : ClosedStatus();
    ProcessPendingEvents();
    const int length = ReadReply(PortNo, reply, true);
    if (!PortOpen)
        return ClosedStatus();
    if (length < 0)
        return LinkStatus::Io;
    if (!ReplyUsable(reply)) {
        LineUnsettled = true;
        return ReplyFrame::IsWhole(reply.Bytes.data(), reply.Length) ? LinkStatus::Protocol : LinkStatus::TimeOut;
    }
    if (const std::optional<Replies::TesterError> error = Replies::TesterErrorOf(reply.View())) {
        SetError(error->Code);
        return LinkStatus::TesterError;
    }
    // A profile packet must be the one asked for (the request's payload is its number).
    const bool ours = reply.Code() == success
        && (success != 'v' || ReplyFrame::PacketNumberOf(reply.Bytes.data(), reply.Length) == PacketAsked(payload));
    if (!ours) {
        LinkTrace::Note(PortNo, "a reply to another request: dropped");
        LineUnsettled = true;
        return LinkStatus::Protocol;
    }
    return LinkStatus::None;
}

bool TComToPX510::Exchange(char subCommand, const QByteArray &payload, char success, LinkReply &reply, int attempts)
{
    if (Waiting)
        return false; // another command waits for its reply
    BusyScope busy(*this);
    LinkStatus status = LinkStatus::None;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        status = ExchangeOnce(subCommand, payload, success, reply);
        if (!Retryable(status))
            break;
    }
    return Ended(status);
}

bool TComToPX510::Ended(LinkStatus status)
{
    LastFailure = status;
    return status == LinkStatus::None;
}

LinkStatus TComToPX510::ClosedStatus() const
{
    return LinkLost ? LinkStatus::PortLost : LinkStatus::NoPort;
}

// An exchange whose acknowledgement moves the link to `newState`.
bool TComToPX510::Acknowledged(char subCommand, const QByteArray &payload, uint8_t newState)
{
    return AsCommand([&] {
        LinkReply reply;
        if (!Exchange(subCommand, payload, 'a', reply))
            return false;
        LinkState = newState;
        return true;
    });
}

// --- work after a command --------------------------------------------------

void TComToPX510::AfterCommand(std::function<void()> work)
{
    AfterCommandWork.push_back(std::move(work));
    if (CommandDepth == 0)
        RunAfterCommand();
}

void TComToPX510::RunAfterCommand()
{
    while (!AfterCommandWork.empty() && CommandDepth == 0) {
        std::function<void()> work = std::move(AfterCommandWork.front());
        AfterCommandWork.erase(AfterCommandWork.begin());
        work();
    }
}

void TComToPX510::PortLost(int port)
{
    if (!PortOpen || port != PortNo)
        return; // a port tried during the search; the search goes on
    PortOpen = false;
    LinkLost = true;
    LinkState = LinkDisconnected;
    LastFailure = LinkStatus::PortLost; // the link ends here, whatever was under way
    AfterCommand([this] {
        if (OnLinkLost)
            OnLinkLost();
    });
}

// --- commands --------------------------------------------------------------

bool TComToPX510::Connect()
{
    if (Waiting)
        return false; // the repeated handshake is skipped while a command runs
    return AsCommand([this] {
        LinkReply reply;
        if (PortOpen) {
            // The repeated handshake: on the open port only, never a new search.
            if (!Exchange('w', {}, 'a', reply))
                return false;
            LinkState = LinkIdle;
            return true;
        }
        BusyScope busy(*this);
        PComm &comm = Comm();
        LinkStatus failure = LinkStatus::NoPort;
        for (int port = FirstPort; port <= LastPort; ++port) {
            if (comm.sio_open(port) != 0)
                continue;
            PortNo = port;
            failure = ConfigurePort() ? Handshake(port, reply) : LinkStatus::Io;
            if (failure == LinkStatus::None) {
                PortOpen = true;
                LinkLost = false;
                if (const std::optional<Replies::TesterError> error = Replies::TesterErrorOf(reply.View())) {
                    SetError(error->Code); // the port stays open in PortNo
                    return Ended(LinkStatus::TesterError);
                }
                LinkState = LinkIdle;
                return Ended(LinkStatus::None);
            }
            comm.sio_close(port);
        }
        return Ended(comm.RefusedDevices().empty() ? failure : LinkStatus::NoAccess);
    });
}

// The first handshake on a port, which also learns whether the tester's
// replies carry the checksum a request carries. A whole reply whose checksum
// does not is asked for again: the same bytes twice are the tester's habit,
// different ones a damaged line. None when the tester answered "a" or "e".
LinkStatus TComToPX510::Handshake(int port, LinkReply &reply)
{
    constexpr int Attempts = 3;
    const QByteArray frame = Frame::Build('w');
    Checksum = ChecksumHabit::Unknown;
    LineUnsettled = false;
    LinkReply earlier;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        PurgeInput(port);
        if (!WriteFrame(frame))
            return LinkStatus::Io;
        ProcessPendingEvents();
        if (const int length = ReadReply(port, reply, false); length <= 0)
            return length < 0 ? LinkStatus::Io : LinkStatus::TimeOut; // nothing answers on this port
        const char *bytes = reply.Bytes.data();
        const bool answered = Replies::AcknowledgementOf(reply.View()) || Replies::TesterErrorOf(reply.View());
        if (!ReplyFrame::IsWhole(bytes, reply.Length) || !answered) {
            LineUnsettled = true;
            continue;
        }
        if (ReplyFrame::ChecksumMatches(bytes, reply.Length)) {
            Checksum = ChecksumHabit::RequestRule;
            LinkTrace::Note(port, "replies carry the request checksum: a reply that does not match is damaged");
            return LinkStatus::None;
        }
        if (earlier.Length == reply.Length && std::equal(bytes, bytes + reply.Length, earlier.Bytes.data())) {
            Checksum = ChecksumHabit::Other;
            LinkTrace::Note(port, "replies do not carry the request checksum: taken whole by length and end byte");
            return LinkStatus::None;
        }
        earlier = reply;
    }
    return LinkStatus::Protocol;
}

bool TComToPX510::Disconnect()
{
    if (Waiting) {
        // Asked for from a timer while a command waits: send it afterwards.
        if (!DisconnectPending) {
            DisconnectPending = true;
            AfterCommandWork.push_back([this] {
                DisconnectPending = false;
                Disconnect();
            });
        }
        return false;
    }
    return AsCommand([this] {
        if (!Acknowledged('o', {}, LinkDisconnected))
            return false;
        Comm().sio_close(PortNo);
        PortOpen = false;
        return true;
    });
}

bool TComToPX510::StartMeasurement()
{
    return Acknowledged('s', {}, LinkMeasuring);
}

bool TComToPX510::QueryConditions()
{
    return AsCommand([this] {
        LinkReply reply;
        if (!Exchange('t', {}, 't', reply, RepeatableAttempts))
            return false;
        const Replies::Conditions read = *Replies::ConditionsOf(reply.View()); // a "t" reply was taken
        auto take = [](uint8_t &field, std::optional<uint8_t> code) {
            if (code)
                field = *code;
        };
        // The tester's settings: the measurement held keeps its own codes.
        take(Tester.Conditions.Cutoff, read.Cutoff);
        take(Tester.Conditions.SampleLengths, read.SampleLengths);
        take(Tester.Conditions.Standard, read.Standard);
        take(Tester.Conditions.Range, read.Range);
        take(Tester.Conditions.FilterCode, read.FilterCode);
        take(Tester.UnitSystem, read.UnitSystem);
        FollowTesterWithoutData();
        return true;
    });
}

bool TComToPX510::ReadActualSettings()
{
    return AsCommand([this] {
        LinkReply reply;
        if (!Exchange('l', {}, 'l', reply, RepeatableAttempts))
            return false;
        const Replies::ActualSettings used = *Replies::ActualSettingsOf(reply.View()); // an "l" reply was taken
        if (used.Range)
            Tester.ActualRange = *used.Range;
        if (used.Cutoff)
            Tester.ActualCutoff = *used.Cutoff;
        FollowTesterWithoutData();
        return true;
    });
}

bool TComToPX510::ReadConditions()
{
    return AsCommand([this] { return QueryConditions() && ReadActualSettings(); });
}

bool TComToPX510::SendConditions(const TConditions &conditions)
{
    return AsCommand([&] {
        LinkReply reply;
        const QByteArray payload = Payload({conditions.Cutoff, conditions.SampleLengths, conditions.Standard,
                                            conditions.Range, conditions.FilterCode});
        if (!Exchange('c', payload, 'a', reply))
            return false;
        // They hold for the next measurement; the one on screen was taken under
        // its own and keeps them.
        Tester.Conditions = conditions;
        FollowTesterWithoutData();
        return true;
    });
}

bool TComToPX510::ApplyConditions(const TConditions &conditions)
{
    const TConditions copy = conditions;
    return SendConditions(copy);
}

void TComToPX510::SetUnitSystem(uint8_t unit)
{
    AsCommand([&] {
        // The texts of the measurement's own system, whatever the tester's is.
        SetParameterUnitTexts();
        DistributeParameters();
        if (unit == Tester.UnitSystem)
            return;
        LinkReply reply;
        if (!Exchange('u', Payload({unit}), 'a', reply))
            return;
        Tester.UnitSystem = unit;
        // The operator switched the system: the measurement goes with it, unless
        // it was taken in that system already.
        if (UnitSystem == unit)
            return;
        UnitSystem = unit;
        if (unit == 0)
            ConvertToMetric();
        else
            ConvertToImperial();
    });
}

bool TComToPX510::PushSettings()
{
    return AsCommand([this] {
        ApplyConditions(Tester.Conditions);
        SetUnitSystem(Tester.UnitSystem);
        return false;
    });
}

bool TComToPX510::ReadResults()
{
    return AsCommand([this] {
        LinkReply reply;
        if (!Exchange('p', {}, 'p', reply, RepeatableAttempts))
            return false;
        const Replies::Results results = *Replies::ResultsOf(reply.View()); // a "p" reply was taken
        const std::array<Tparameter *, Replies::Results::FieldCount> targets = {
            &InstrumentParams.Ra,  &InstrumentParams.Rq,  &InstrumentParams.Rz, &InstrumentParams.R3z,
            &InstrumentParams.Ryi, &InstrumentParams.Ryd, &InstrumentParams.Rt, &InstrumentParams.Rp,
            &InstrumentParams.Rv,  &InstrumentParams.S,   &InstrumentParams.Sm, &InstrumentParams.Sk};
        // The values before a field that is not a number are kept.
        for (int i = 0; i < results.Count; ++i)
            targets[size_t(i)]->ParamValue = results.Values[size_t(i)];
        if (!results.Complete()) {
            Ended(LinkStatus::DataFormat);
            throw ConversionError(QStringLiteral("“%1”不是有效的数值").arg(results.Unreadable));
        }
        DistributeParameters();
        return true;
    });
}

bool TComToPX510::EnterStylusMode()
{
    return Acknowledged('k', Payload({0}), LinkStylusMode);
}

std::optional<double> TComToPX510::ReadStylusPosition()
{
    return AsCommand([this]() -> std::optional<double> {
        const double limit = TesterRangeLimit(); // the stylus moves in the tester's range
        LinkReply reply;
        if (!Exchange('k', Payload({1}), 'k', reply))
            return std::nullopt;
        const Replies::StylusPosition position = *Replies::StylusPositionOf(reply.View()); // a "k" reply was taken
        return position.Counts / 2048.0 * limit * 1000;
    });
}

bool TComToPX510::ExitStylusMode()
{
    return Acknowledged('k', Payload({2}), LinkIdle);
}

// --- input the tester sends unprompted -------------------------------------

void TComToPX510::ReceiveNotify(int port)
{
    if (Busy || Waiting)
        return; // the bytes belong to the command in progress
    AsCommand([&] {
        LinkReply reply;
        {
            BusyScope busy(*this);
            if (ReadReply(port, reply, false) <= 0)
                return;
        }
        if (reply.Code() == 's') {
            MeasurementFinished();
        } else if (const std::optional<Replies::TesterError> error = Replies::TesterErrorOf(reply.View())) {
            SetError(error->Code);
            Ended(LinkStatus::TesterError);
        }
    });
}

void TComToPX510::MeasurementFinished()
{
    // An end announced again during the fetch is fetched after it, by this
    // loop, not from inside it: a tester that keeps announcing would
    // otherwise nest fetches until the stack runs out.
    if (FetchingFinished) {
        FinishedAgain = true;
        return;
    }
    struct Reset {
        bool &Flag;
        ~Reset() { Flag = false; }
    } reset{FetchingFinished};
    FetchingFinished = true;
    do {
        FinishedAgain = false;
        FinishedPending = false;
        if (!PortOpen)
            break; // the port has gone since: the lost link is reported instead
        try {
            SetLinkState(LinkMeasurementFinished); // runs FetchMeasurement
        } catch (const PX510Error &error) {
            // This runs from the serial layer's notification: the message goes
            // to the windows instead of travelling through Qt.
            const QString message = error.message();
            AfterCommand([this, message] {
                if (OnLinkMessage)
                    OnLinkMessage(message);
            });
        }
        if (OnMeasurementReady)
            OnMeasurementReady();
    } while (FinishedAgain);
}
