#pragma once
// The port operations over QSerialPort. Reads wait in a local event loop, so
// windows stay responsive while a reply is awaited; a device that goes away
// (ReadError/ResourceError) is closed at the first error.

#include "link/PComm.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <map>

class QSerialPort;

class QtSerialComm : public QObject, public PComm {
    Q_OBJECT
public:
    using PathLookup = std::function<QString(int port)>;

    // Port numbers name devices through the port map.
    explicit QtSerialComm(QObject *parent = nullptr);
    // Port N is paths[N-1] (tools and tests name their ports by path).
    explicit QtSerialComm(const QStringList &paths, QObject *parent = nullptr);
    ~QtSerialComm() override;

    int sio_open(int port) override;
    int sio_close(int port) override;
    int sio_ioctl(int port, int baudCode, int lineMode) override;
    int sio_flowctrl(int port, int mode) override;
    int sio_DTR(int port, int mode) override;
    int sio_RTS(int port, int mode) override;
    long sio_getbaud(int port) override;
    int sio_SetWriteTimeouts(int port, unsigned long totalMs) override;
    int sio_SetReadTimeouts(int port, unsigned long totalMs, unsigned long intervalMs) override;
    int sio_cnt_irq(int port, Notify routine, int count) override;
    int sio_write(int port, const char *data, int length) override;
    int sio_read(int port, char *buffer, int length) override;
    int sio_flush(int port, unsigned long quietMs, char *discarded, int length) override;

    // Baud rate of a baud code, 0 for an unknown code.
    static int BaudOfCode(int baudCode);

private:
    struct OpenPort {
        QSerialPort *Serial = nullptr;
        unsigned long WriteTimeout = 0;
        unsigned long ReadTotal = 0;
        unsigned long ReadInterval = 0;
        Notify Routine;
    };

    OpenPort *Find(int port);
    void OnError(int port, QSerialPort *serial, int error);
    void NotifyIfWaiting(int port);
    static void Release(QSerialPort *serial);

    PathLookup PathOf;
    std::map<int, OpenPort> Ports;
};
