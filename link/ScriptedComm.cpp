#include "link/ScriptedComm.h"

#include "link/ReplyFrame.h"

#include <algorithm>
#include <cstring>

namespace {
std::string Hex(const QByteArray &bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
}
} // namespace

void ScriptedComm::QueueReply(int port, const QByteArray &reply)
{
    Script[port].push_back({StepKind::Reply, reply});
}

void ScriptedComm::QueueFrame(int port, char code, const QByteArray &payload)
{
    QueueReply(port, ReplyFrame::Build(code, payload));
}

void ScriptedComm::QueueLateReply(int port, const QByteArray &reply)
{
    Script[port].push_back({StepKind::LateReply, reply});
}

void ScriptedComm::QueueWriteFailure(int port)
{
    Script[port].push_back({StepKind::WriteFailure, {}});
}

void ScriptedComm::QueueVanish(int port)
{
    Script[port].push_back({StepKind::Vanish, {}});
}

void ScriptedComm::Vanish(int port)
{
    Log.push_back("vanish " + std::to_string(port));
    Open.erase(port);
    Input.erase(port);
    ReportLost(port);
}

void ScriptedComm::Arrive(int port, const QByteArray &bytes)
{
    Input[port].append(bytes);
    auto routine = Routines.find(port);
    if (IsOpen(port) && routine != Routines.end() && routine->second) {
        Notify copy = routine->second;
        copy(port);
    }
}

std::vector<QByteArray> ScriptedComm::Written(int port) const
{
    auto it = Frames.find(port);
    return it == Frames.end() ? std::vector<QByteArray>{} : it->second;
}

std::vector<std::string> ScriptedComm::LogOf(const std::string &prefix) const
{
    std::vector<std::string> out;
    std::copy_if(Log.begin(), Log.end(), std::back_inserter(out),
                 [&](const std::string &entry) { return entry.rfind(prefix, 0) == 0; });
    return out;
}

int ScriptedComm::sio_open(int port)
{
    Log.push_back("open " + std::to_string(port));
    if (!Present.count(port) || Open.count(port))
        return CommResult::OpenFailed;
    Open.insert(port);
    Input[port].clear();
    return CommResult::Ok;
}

int ScriptedComm::sio_close(int port)
{
    Log.push_back("close " + std::to_string(port));
    Routines.erase(port);
    return Open.erase(port) ? CommResult::Ok : CommResult::BadPort;
}

int ScriptedComm::Configured(int port, const std::string &name, const std::string &entry)
{
    Log.push_back(entry);
    if (!IsOpen(port))
        return CommResult::BadPort;
    auto it = Results.find(name);
    return it == Results.end() ? CommResult::Ok : it->second;
}

int ScriptedComm::sio_ioctl(int port, int baudCode, int lineMode)
{
    return Configured(port, "ioctl",
                      "ioctl " + std::to_string(port) + " " + std::to_string(baudCode) + " "
                          + std::to_string(lineMode));
}

int ScriptedComm::sio_flowctrl(int port, int mode)
{
    return Configured(port, "flowctrl", "flowctrl " + std::to_string(port) + " " + std::to_string(mode));
}

int ScriptedComm::sio_DTR(int port, int mode)
{
    return Configured(port, "DTR", "DTR " + std::to_string(port) + " " + std::to_string(mode));
}

int ScriptedComm::sio_RTS(int port, int mode)
{
    return Configured(port, "RTS", "RTS " + std::to_string(port) + " " + std::to_string(mode));
}

long ScriptedComm::sio_getbaud(int port)
{
    Log.push_back("getbaud " + std::to_string(port));
    return IsOpen(port) ? Baud : CommResult::BadPort;
}

int ScriptedComm::sio_SetWriteTimeouts(int port, unsigned long totalMs)
{
    return Configured(port, "wtimeout", "wtimeout " + std::to_string(port) + " " + std::to_string(totalMs));
}

int ScriptedComm::sio_SetReadTimeouts(int port, unsigned long totalMs, unsigned long intervalMs)
{
    return Configured(port, "rtimeout",
                      "rtimeout " + std::to_string(port) + " " + std::to_string(totalMs) + " "
                          + std::to_string(intervalMs));
}

int ScriptedComm::sio_cnt_irq(int port, Notify routine, int count)
{
    const int result = Configured(port, "cnt_irq", "cnt_irq " + std::to_string(port) + " " + std::to_string(count));
    if (result == CommResult::Ok)
        Routines[port] = std::move(routine);
    return result;
}

int ScriptedComm::sio_write(int port, const char *data, int length)
{
    const QByteArray frame(data, length);
    Log.push_back("write " + std::to_string(port) + " " + Hex(frame));
    if (!IsOpen(port))
        return CommResult::BadPort;
    Frames[port].push_back(frame);
    auto &steps = Script[port];
    if (!steps.empty()) {
        Step step = steps.front();
        steps.pop_front();
        switch (step.Kind) {
        case StepKind::WriteFailure: return CommResult::WriteFailed;
        case StepKind::Vanish: VanishAtRead.insert(port); return length;
        case StepKind::Reply: Input[port].append(step.Bytes); return length;
        case StepKind::LateReply: AfterRead[port].append(step.Bytes); return length;
        }
    }
    if (Responder)
        Input[port].append(Responder(port, frame));
    return length;
}

int ScriptedComm::sio_read(int port, char *buffer, int length)
{
    Log.push_back("read " + std::to_string(port));
    if (VanishAtRead.erase(port)) {
        Vanish(port);
        return CommResult::BadPort;
    }
    if (!IsOpen(port))
        return CommResult::BadPort;
    QByteArray &input = Input[port];
    int count = std::min<int>(length, int(input.size()));
    // A real read ends at the end of a whole reply; the rest waits.
    if (ReplyComplete) {
        for (int n = 1; n <= count; ++n)
            if (ReplyComplete(input.constData(), n)) {
                count = n;
                break;
            }
    }
    std::memcpy(buffer, input.constData(), size_t(count));
    input.remove(0, count);
    input.append(AfterRead[port]);
    AfterRead.erase(port);
    return count;
}

int ScriptedComm::sio_flush(int port, unsigned long quietMs, char *discarded, int length)
{
    Log.push_back("flush " + std::to_string(port) + " " + std::to_string(quietMs));
    if (!IsOpen(port))
        return CommResult::BadPort;
    QByteArray &input = Input[port];
    const int count = std::min<int>(length, int(input.size()));
    std::memcpy(discarded, input.constData(), size_t(count));
    input.clear();
    return count;
}
