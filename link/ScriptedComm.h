#pragma once
// A serial layer that plays a script: which ports exist, what each port
// operation returns, and the bytes the tester answers to each written frame.
// Waiting costs nothing, every call is logged, so tests can check the exact
// sequence of port operations.

#include "link/PComm.h"

#include <QByteArray>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

class ScriptedComm : public PComm {
public:
    // Ports that sio_open accepts.
    std::set<int> Present;
    // Result of a configuration operation by name ("ioctl", "flowctrl", "DTR",
    // "RTS", "cnt_irq"); 0 when not listed.
    std::map<std::string, int> Results;
    long Baud = 9600;
    // Every call, e.g. "open 3", "ioctl 3 12 7", "write 3 02 55 77 00 F0 24 03", "read 3".
    std::vector<std::string> Log;
    // Asked for the reply to a written frame when no reply is queued for the port.
    std::function<QByteArray(int port, const QByteArray &frame)> Responder;

    // The reply to the next write on `port`; an empty reply: nothing comes back.
    void QueueReply(int port, const QByteArray &reply);
    // The same, framed as the tester frames its replies.
    void QueueFrame(int port, char code, const QByteArray &payload = {});
    // The write after the queued ones fails.
    void QueueWriteFailure(int port);
    // The reply to the next write on `port` comes only after the read for it
    // has given up: it waits on the port for whatever is sent next.
    void QueueLateReply(int port, const QByteArray &reply);
    // Bytes that arrive as soon as the next read on `port` has ended.
    void ArriveAfterRead(int port, const QByteArray &bytes) { AfterRead[port].append(bytes); }
    // The device goes away during the next read on `port`.
    void QueueVanish(int port);
    // The device goes away now.
    void Vanish(int port);
    // Bytes the tester sends unprompted; the notification routine is called.
    void Arrive(int port, const QByteArray &bytes);

    bool IsOpen(int port) const { return Open.count(port) != 0; }
    // Frames written to `port`, in order.
    std::vector<QByteArray> Written(int port) const;
    // Log entries that start with `prefix`.
    std::vector<std::string> LogOf(const std::string &prefix) const;

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

private:
    enum class StepKind { Reply, LateReply, WriteFailure, Vanish };
    struct Step {
        StepKind Kind;
        QByteArray Bytes;
    };
    int Configured(int port, const std::string &name, const std::string &entry);

    std::set<int> Open;
    std::map<int, std::deque<Step>> Script;
    std::map<int, QByteArray> Input; // bytes waiting to be read, per port
    std::map<int, std::vector<QByteArray>> Frames;
    std::map<int, Notify> Routines;
    std::set<int> VanishAtRead;
    std::map<int, QByteArray> AfterRead; // arrives once the next read has ended
};
