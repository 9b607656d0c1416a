#pragma once
// The serial layer the session talks through: the twelve port operations it
// relies on, with their results (0 = accepted, a negative value = refused).
// One implementation drives real ports (QtSerialComm), another plays back a
// script in tests (ScriptedComm).

#include <functional>
#include <map>
#include <string>

class PComm {
public:
    // Called with the port number: bytes are waiting, or the port went away.
    using Notify = std::function<void(int port)>;
    // True when the bytes read so far form a whole reply, so a read can end
    // before its time-outs.
    using ReplyTest = std::function<bool(const char *data, int length)>;

    virtual ~PComm() = default;

    virtual int sio_open(int port) = 0;
    virtual int sio_close(int port) = 0;
    virtual int sio_ioctl(int port, int baudCode, int lineMode) = 0;
    virtual int sio_flowctrl(int port, int mode) = 0;
    virtual int sio_DTR(int port, int mode) = 0;
    virtual int sio_RTS(int port, int mode) = 0;
    virtual long sio_getbaud(int port) = 0;
    virtual int sio_SetWriteTimeouts(int port, unsigned long totalMs) = 0;
    virtual int sio_SetReadTimeouts(int port, unsigned long totalMs, unsigned long intervalMs) = 0;
    virtual int sio_cnt_irq(int port, Notify routine, int count) = 0;
    // Number of bytes sent; 0 or less is a failure.
    virtual int sio_write(int port, const char *data, int length) = 0;
    // Number of bytes placed in `buffer`; 0 means nothing arrived, less than 0
    // a port that is not open (or no longer there).
    virtual int sio_read(int port, char *buffer, int length) = 0;
    // Discards the input waiting on the port, once no byte has arrived for
    // `quietMs` (0: at once); the first `length` discarded bytes are copied
    // to `discarded`. Number of bytes copied; less than 0 for a port that is
    // not open.
    virtual int sio_flush(int port, unsigned long quietMs, char *discarded, int length) = 0;

    // A port whose device disappeared is closed by the layer at once; then
    // this routine is told which one.
    void SetLostNotify(Notify routine) { LostRoutine = std::move(routine); }
    void SetReplyTest(ReplyTest test) { ReplyComplete = std::move(test); }

    // The devices whose last sio_open was refused because this user may not
    // use them, by port number: the Connect warning says how to fix that.
    const std::map<int, std::string> &RefusedDevices() const { return Refused; }

protected:
    void ReportLost(int port)
    {
        if (LostRoutine)
            LostRoutine(port);
    }
    // Every sio_open tells its outcome: the device refused for lack of
    // permission, or an empty text for any other outcome.
    void NoteRefused(int port, const std::string &device)
    {
        if (device.empty())
            Refused.erase(port);
        else
            Refused[port] = device;
    }
    ReplyTest ReplyComplete;

private:
    Notify LostRoutine;
    std::map<int, std::string> Refused;
};

// Result codes of the operations.
namespace CommResult {
constexpr int Ok = 0;
constexpr int BadPort = -1; // no such port, or not open
constexpr int BadParameter = -2;
constexpr int OpenFailed = -3;
constexpr int WriteFailed = -4;
constexpr int Failed = -5;
} // namespace CommResult
