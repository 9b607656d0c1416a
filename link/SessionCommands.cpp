// The command set of the tester: one request frame, one reply, and the
// session's state changed by the reply.

#include "link/ComToPX510Unit.h"

#include "common/Errors.h"
#include "common/NumberText.h"
#include "link/Frame.h"
#include "link/LinkMessages.h"
#include "link/LinkTrace.h"
#include "link/QtSerialComm.h"
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
    return comm.sio_cnt_irq(PortNo, [this](int port) { ReceiveNotify(port); }, 1) == 0;
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

TComToPX510::ReplyOutcome TComToPX510::ExchangeOnce(char subCommand, const QByteArray &payload, char success,
                                                     LinkReply &reply)
{
    PurgeInput(PortNo);
    if (!WriteFrame(Frame::Build(subCommand, payload)))
        return ReplyOutcome::Failed;
    ProcessPendingEvents();
    if (ReadReply(PortNo, reply, true) < 0 || !PortOpen)
        return ReplyOutcome::Failed;
    if (!ReplyUsable(reply)) {
        LineUnsettled = true;
        return ReplyOutcome::Unusable;
    }
    if (reply.Code() == 'e')
        return ReplyOutcome::ErrorReply;
    // A profile packet must be the one asked for (the request's payload is its number).
    const bool ours = reply.Code() == success
                      && (success != 'v' || ReplyFrame::PacketNumberOf(reply.Bytes.data(), reply.Length) == PacketAsked(payload));
    if (!ours) {
        LinkTrace::Note(PortNo, "a reply to another request: dropped");
        LineUnsettled = true;
        return ReplyOutcome::Unusable;
    }
    return ReplyOutcome::Taken;
}

bool TComToPX510::Exchange(char subCommand, const QByteArray &payload, char success, LinkReply &reply, int attempts)
{
    if (Waiting)
        return false; // another command waits for its reply
    BusyScope busy(*this);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        switch (ExchangeOnce(subCommand, payload, success, reply)) {
        case ReplyOutcome::Taken: return true;
        case ReplyOutcome::ErrorReply: SetError(reply.At(3)); return false;
        case ReplyOutcome::Failed: return false;
        case ReplyOutcome::Unusable: break;
        }
    }
    return false;
}

// An exchange whose acknowledgement moves the link to `newState`.
bool TComToPX510::Acknowledged(char subCommand, const QByteArray &payload, uint8_t newState)
{
    CommandScope scope(*this);
    LinkReply reply;
    if (!Exchange(subCommand, payload, 'a', reply))
        return false;
    LinkState = newState;
    return true;
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
    CommandScope scope(*this);
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
    for (int port = FirstPort; port <= LastPort; ++port) {
        if (comm.sio_open(port) != 0)
            continue;
        PortNo = port;
        if (ConfigurePort() && Handshake(port, reply)) {
            PortOpen = true;
            LinkLost = false;
            if (reply.Code() == 'e') {
                SetError(reply.At(3)); // the port stays open in PortNo
                return false;
            }
            LinkState = LinkIdle;
            return true;
        }
        comm.sio_close(port);
    }
    return false;
}

// The first handshake on a port, which also learns whether the tester's
// replies carry the checksum a request carries. A whole reply whose checksum
// does not is asked for again: the same bytes twice are the tester's habit,
// different ones a damaged line. True when the tester answered "a" or "e".
bool TComToPX510::Handshake(int port, LinkReply &reply)
{
    constexpr int Attempts = 3;
    const QByteArray frame = Frame::Build('w');
    Checksum = ChecksumHabit::Unknown;
    LineUnsettled = false;
    LinkReply earlier;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        PurgeInput(port);
        if (!WriteFrame(frame))
            return false;
        ProcessPendingEvents();
        if (ReadReply(port, reply, false) <= 0)
            return false; // nothing answers on this port
        const char *bytes = reply.Bytes.data();
        if (!ReplyFrame::IsWhole(bytes, reply.Length) || (reply.Code() != 'a' && reply.Code() != 'e')) {
            LineUnsettled = true;
            continue;
        }
        if (ReplyFrame::ChecksumMatches(bytes, reply.Length)) {
            Checksum = ChecksumHabit::RequestRule;
            LinkTrace::Note(port, "replies carry the request checksum: a reply that does not match is damaged");
            return true;
        }
        if (earlier.Length == reply.Length && std::equal(bytes, bytes + reply.Length, earlier.Bytes.data())) {
            Checksum = ChecksumHabit::Other;
            LinkTrace::Note(port, "replies do not carry the request checksum: taken whole by length and end byte");
            return true;
        }
        earlier = reply;
    }
    return false;
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
    CommandScope scope(*this);
    if (!Acknowledged('o', {}, LinkDisconnected))
        return false;
    Comm().sio_close(PortNo);
    PortOpen = false;
    return true;
}

bool TComToPX510::StartMeasurement()
{
    return Acknowledged('s', {}, LinkMeasuring);
}

bool TComToPX510::QueryConditions()
{
    CommandScope scope(*this);
    LinkReply reply;
    if (!Exchange('t', {}, 't', reply, RepeatableAttempts))
        return false;
    auto take = [&](uint8_t &field, int offset, uint8_t highest) {
        if (reply.At(offset) <= highest)
            field = reply.At(offset);
    };
    // The tester's settings: the measurement held keeps its own codes.
    take(Tester.Conditions.Cutoff, 4, 3);
    take(Tester.Conditions.SampleLengths, 5, 4);
    take(Tester.Conditions.Standard, 6, 3);
    take(Tester.Conditions.Range, 7, 3);
    take(Tester.Conditions.FilterCode, 8, 3);
    take(Tester.UnitSystem, 9, 1);
    FollowTesterWithoutData();
    return true;
}

bool TComToPX510::ReadActualSettings()
{
    CommandScope scope(*this);
    LinkReply reply;
    if (!Exchange('l', {}, 'l', reply, RepeatableAttempts))
        return false;
    if (reply.At(4) >= 1 && reply.At(4) <= 3)
        Tester.ActualRange = reply.At(4);
    if (reply.At(5) >= 1 && reply.At(5) <= 3)
        Tester.ActualCutoff = reply.At(5);
    FollowTesterWithoutData();
    return true;
}

bool TComToPX510::ReadConditions()
{
    CommandScope scope(*this);
    return QueryConditions() && ReadActualSettings();
}

bool TComToPX510::SendConditions(const TConditions &conditions)
{
    CommandScope scope(*this);
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
}

bool TComToPX510::ApplyConditions(const TConditions &conditions)
{
    const TConditions copy = conditions;
    return SendConditions(copy);
}

void TComToPX510::SetUnitSystem(uint8_t unit)
{
    CommandScope scope(*this);
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
}

bool TComToPX510::PushSettings()
{
    CommandScope scope(*this);
    ApplyConditions(Tester.Conditions);
    SetUnitSystem(Tester.UnitSystem);
    return false;
}

bool TComToPX510::ReadResults()
{
    CommandScope scope(*this);
    LinkReply reply;
    if (!Exchange('p', {}, 'p', reply, RepeatableAttempts))
        return false;
    constexpr int FieldCount = 12;
    constexpr int FieldWidth = 13;
    constexpr int FirstField = 4;
    constexpr int ValueOffset = 5;
    constexpr int ValueWidth = 8;
    const qsizetype textLength = qstrnlen(reply.Bytes.data(), reply.Bytes.size());
    const QString text = QString::fromLatin1(reply.Bytes.data(), textLength);
    const std::array<Tparameter *, FieldCount> targets = {
        &InstrumentParams.Ra,  &InstrumentParams.Rq, &InstrumentParams.Rz, &InstrumentParams.R3z,
        &InstrumentParams.Ryi, &InstrumentParams.Ryd, &InstrumentParams.Rt, &InstrumentParams.Rp,
        &InstrumentParams.Rv,  &InstrumentParams.S,  &InstrumentParams.Sm, &InstrumentParams.Sk};
    for (int i = 0; i < FieldCount; ++i) {
        const QString value = text.mid(FirstField + i * FieldWidth + ValueOffset, ValueWidth);
        const std::optional<double> number = NumberText::parseDouble(value);
        if (!number)
            throw ConversionError(QStringLiteral("“%1”不是有效的数值").arg(value.trimmed()));
        targets[size_t(i)]->ParamValue = *number;
    }
    DistributeParameters();
    return true;
}

bool TComToPX510::EnterStylusMode()
{
    return Acknowledged('k', Payload({0}), LinkStylusMode);
}

std::optional<double> TComToPX510::ReadStylusPosition()
{
    CommandScope scope(*this);
    const double limit = TesterRangeLimit(); // the stylus moves in the tester's range
    LinkReply reply;
    if (!Exchange('k', Payload({1}), 'k', reply))
        return std::nullopt;
    const auto position = static_cast<int16_t>(reply.At(4) | (reply.At(5) << 8));
    return position / 2048.0 * limit * 1000;
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
    CommandScope scope(*this);
    LinkReply reply;
    {
        BusyScope busy(*this);
        if (ReadReply(port, reply, false) <= 0)
            return;
    }
    if (reply.Code() == 's')
        MeasurementFinished();
    else if (reply.Code() == 'e')
        SetError(reply.At(3));
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
