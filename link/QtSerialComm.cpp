#include "link/QtSerialComm.h"

#include "link/LinkTrace.h"
#include "link/PortMap.h"
#include "link/PortPermission.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>
#include <algorithm>
#include <array>

QtSerialComm::QtSerialComm(QObject *parent) : QObject(parent), PathOf([](int port) { return PortMap::PathOf(port); }) {}

QtSerialComm::QtSerialComm(const QStringList &paths, QObject *parent)
    : QObject(parent),
      PathOf([paths](int port) { return port >= 1 && port <= paths.size() ? paths[port - 1] : QString(); })
{}

QtSerialComm::~QtSerialComm()
{
    for (auto &entry : Ports)
        delete entry.second.Serial;
}

int QtSerialComm::BaudOfCode(int baudCode)
{
    static constexpr std::array<int, 20> rates = {50,    75,    110,    134,    150,    300,   600,
                                                  1200,  1800,  2400,   4800,   7200,   9600,  19200,
                                                  38400, 57600, 115200, 230400, 460800, 921600};
    return baudCode >= 0 && baudCode < int(rates.size()) ? rates[baudCode] : 0;
}

QtSerialComm::OpenPort *QtSerialComm::Find(int port)
{
    auto it = Ports.find(port);
    if (it == Ports.end() || !it->second.Serial->isOpen())
        return nullptr;
    return &it->second;
}

void QtSerialComm::Release(QSerialPort *serial)
{
    // A port may be closed from inside one of its own signals.
    serial->disconnect();
    serial->close();
    serial->deleteLater();
}

int QtSerialComm::sio_open(int port)
{
    NoteRefused(port, {});
    if (Find(port))
        return CommResult::OpenFailed; // never a second handle on one device
    const QString path = PathOf(port);
    if (path.isEmpty())
        return CommResult::BadPort;
    auto stale = Ports.find(port);
    if (stale != Ports.end()) {
        Release(stale->second.Serial);
        Ports.erase(stale);
    }
    auto *serial = new QSerialPort(path);
    if (!serial->open(QIODevice::ReadWrite)) {
        const bool denied = PortPermission::Denied(path);
        LinkTrace::Note(port, denied ? "cannot be opened: permission denied" : "cannot be opened");
        if (denied)
            NoteRefused(port, path.toStdString());
        delete serial;
        return CommResult::OpenFailed;
    }
    serial->clear(QSerialPort::Input); // bytes from before the port was ours belong to nobody
    connect(serial, &QSerialPort::errorOccurred, this,
            [this, port, serial](QSerialPort::SerialPortError error) { OnError(port, serial, error); });
    Ports[port].Serial = serial;
    LinkTrace::Note(port, qPrintable(QStringLiteral("open %1").arg(path)));
    return CommResult::Ok;
}

int QtSerialComm::sio_close(int port)
{
    auto it = Ports.find(port);
    if (it == Ports.end())
        return CommResult::BadPort;
    Release(it->second.Serial);
    Ports.erase(it);
    LinkTrace::Note(port, "closed");
    return CommResult::Ok;
}

void QtSerialComm::OnError(int port, QSerialPort *serial, int error)
{
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    // Qt repeats these in a tight loop until the port is closed.
    auto it = Ports.find(port);
    if (it == Ports.end() || it->second.Serial != serial || !serial->isOpen())
        return;
    LinkTrace::Note(port, "device went away");
    serial->disconnect(this);
    serial->close();
    ReportLost(port);
}

int QtSerialComm::sio_ioctl(int port, int baudCode, int lineMode)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    const int baud = BaudOfCode(baudCode);
    if (baud == 0 || lineMode < 0 || lineMode > 0x3F)
        return CommResult::BadParameter;
    const auto dataBits = static_cast<QSerialPort::DataBits>(5 + (lineMode & 0x03));
    const auto stopBits = (lineMode & 0x04) ? QSerialPort::TwoStop : QSerialPort::OneStop;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (lineMode & 0x38) {
    case 0x00: parity = QSerialPort::NoParity; break;
    case 0x08: parity = QSerialPort::EvenParity; break;
    case 0x10: parity = QSerialPort::OddParity; break;
    case 0x18: parity = QSerialPort::MarkParity; break;
    case 0x20: parity = QSerialPort::SpaceParity; break;
    default: return CommResult::BadParameter;
    }
    QSerialPort *s = p->Serial;
    const bool ok = s->setBaudRate(baud) && s->setDataBits(dataBits) && s->setStopBits(stopBits)
        && s->setParity(parity);
    return ok ? CommResult::Ok : CommResult::Failed;
}

int QtSerialComm::sio_flowctrl(int port, int mode)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    if (mode & 0x03)
        flow = QSerialPort::HardwareControl;
    else if (mode & 0x0C)
        flow = QSerialPort::SoftwareControl;
    return p->Serial->setFlowControl(flow) ? CommResult::Ok : CommResult::Failed;
}

// A pseudo-terminal has no modem lines: setting them is then taken as done.
static int ModemLineResult(QSerialPort *serial, bool ok)
{
    if (ok)
        return CommResult::Ok;
    if (serial->error() == QSerialPort::UnsupportedOperationError) {
        serial->clearError();
        return CommResult::Ok;
    }
    return CommResult::Failed;
}

int QtSerialComm::sio_DTR(int port, int mode)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    return ModemLineResult(p->Serial, p->Serial->setDataTerminalReady(mode != 0));
}

int QtSerialComm::sio_RTS(int port, int mode)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    return ModemLineResult(p->Serial, p->Serial->setRequestToSend(mode != 0));
}

long QtSerialComm::sio_getbaud(int port)
{
    OpenPort *p = Find(port);
    return p ? p->Serial->baudRate() : CommResult::BadPort;
}

int QtSerialComm::sio_SetWriteTimeouts(int port, unsigned long totalMs)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    p->WriteTimeout = totalMs;
    return CommResult::Ok;
}

int QtSerialComm::sio_SetReadTimeouts(int port, unsigned long totalMs, unsigned long intervalMs)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    p->ReadTotal = totalMs;
    p->ReadInterval = intervalMs;
    return CommResult::Ok;
}

int QtSerialComm::sio_cnt_irq(int port, Notify routine, int count)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    if (count < 1)
        return CommResult::BadParameter;
    const bool first = !p->Routine;
    p->Routine = std::move(routine);
    if (first)
        connect(p->Serial, &QSerialPort::readyRead, this, [this, port] { NotifyIfWaiting(port); });
    return CommResult::Ok;
}

void QtSerialComm::NotifyIfWaiting(int port)
{
    OpenPort *p = Find(port);
    if (p && p->Routine && p->Serial->bytesAvailable() > 0) {
        Notify routine = p->Routine; // the routine may close the port
        routine(port);
    }
}

// Processes events until `done` holds or `ms` have passed. The port's signals
// are not relied on: inside a slot of the port (the receive notification runs
// a whole download) QSerialPort reads arriving bytes but does not emit
// readyRead again, so the condition is checked after every batch of events.
template <typename Done>
static void WaitFor(qint64 ms, Done done)
{
    if (ms <= 0 || done())
        return;
    QElapsedTimer clock;
    clock.start();
    QTimer deadline; // wakes the wait when nothing else happens
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    for (qint64 left = ms; !done() && left > 0; left = ms - clock.elapsed()) {
        deadline.start(int(left));
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
}

int QtSerialComm::sio_write(int port, const char *data, int length)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    QSerialPort *serial = p->Serial;
    if (serial->write(data, length) != length)
        return CommResult::WriteFailed;
    serial->flush();
    const qint64 timeout = qint64(p->WriteTimeout);
    QElapsedTimer clock;
    clock.start();
    while (serial->isOpen() && serial->bytesToWrite() > 0 && clock.elapsed() < timeout)
        WaitFor(timeout - clock.elapsed(), [serial] { return !serial->isOpen() || serial->bytesToWrite() == 0; });
    if (!serial->isOpen())
        return CommResult::BadPort;
    if (serial->bytesToWrite() > 0) {
        serial->clear(QSerialPort::Output);
        return CommResult::WriteFailed;
    }
    return length;
}

int QtSerialComm::sio_read(int port, char *buffer, int length)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    QSerialPort *serial = p->Serial;
    const qint64 total = qint64(p->ReadTotal);
    const qint64 interval = qint64(p->ReadInterval);
    QElapsedTimer clock, sinceByte;
    clock.start();
    int count = 0;
    bool whole = false;
    for (;;) {
        // Byte by byte, so a read ends exactly at the end of a whole reply and
        // what follows stays for the next read.
        while (count < length && !whole && serial->bytesAvailable() > 0) {
            if (serial->read(buffer + count, 1) != 1)
                break;
            ++count;
            sinceByte.start();
            whole = ReplyComplete && ReplyComplete(buffer, count);
        }
        if (whole || count >= length || !serial->isOpen())
            break;
        qint64 wait = total - clock.elapsed();
        if (count > 0 && interval > 0)
            wait = std::min(wait, interval - sinceByte.elapsed());
        if (wait <= 0)
            break;
        WaitFor(wait, [serial] { return !serial->isOpen() || serial->bytesAvailable() > 0; });
    }
    if (!serial->isOpen())
        return CommResult::BadPort;
    if (serial->bytesAvailable() > 0 && p->Routine)
        QMetaObject::invokeMethod(
            this, [this, port] { NotifyIfWaiting(port); }, Qt::QueuedConnection);
    return count;
}

int QtSerialComm::sio_flush(int port, unsigned long quietMs, char *discarded, int length)
{
    OpenPort *p = Find(port);
    if (!p)
        return CommResult::BadPort;
    QSerialPort *serial = p->Serial;
    // The rest of a reply that came too late: wait until the line is quiet,
    // but never longer than a whole read may take.
    const qint64 quiet = qint64(quietMs);
    const qint64 longest = std::max<qint64>(qint64(p->ReadTotal), quiet);
    QElapsedTimer clock, sinceByte;
    clock.start();
    sinceByte.start();
    qint64 seen = serial->bytesAvailable();
    while (quiet > 0 && serial->isOpen() && sinceByte.elapsed() < quiet && clock.elapsed() < longest) {
        WaitFor(std::min(quiet - sinceByte.elapsed(), longest - clock.elapsed()),
                [serial, seen] { return !serial->isOpen() || serial->bytesAvailable() > seen; });
        if (serial->bytesAvailable() > seen) {
            seen = serial->bytesAvailable();
            sinceByte.start();
        }
    }
    if (!serial->isOpen())
        return CommResult::BadPort;
    const QByteArray waiting = serial->readAll();
    serial->clear(QSerialPort::Input);
    const int count = std::min(length, int(waiting.size()));
    std::copy_n(waiting.constData(), count, discarded);
    return count;
}
