#include "SimLine.h"

#include <cerrno>
#include <limits>
#include <unistd.h>

SimLine::SimLine(const SimOptions &options, std::mt19937 &random) : Options(options), Random(random) {}

double SimLine::Received(const QByteArray &bytes, double now)
{
    BytesIn += bytes.size();
    if (!Options.Pace)
        return now;
    // The bytes arrived together but take their time on the line.
    ReceiveFreeAt = std::max(ReceiveFreeAt, now) + ByteSeconds * double(bytes.size());
    return ReceiveFreeAt;
}

SimLine::RequestFaults SimLine::FaultsFor(const QByteArray &request)
{
    RequestFaults faults;
    if (request.size() < 7 || request[2] != 'v')
        return faults;
    const int packet = static_cast<uint8_t>(request[4]) | static_cast<uint8_t>(request[5]) << 8;
    if (packet == 1 && LastPacketAsked != 1)
        AskedThisDownload.clear(); // a new download
    LastPacketAsked = packet;
    const int asked = AskedThisDownload[packet]++;
    auto late = Options.LatePackets.find(packet);
    if (late != Options.LatePackets.end() && asked == 0)
        faults.Delay = late->second / 1000.0;
    auto damaged = Options.CorruptPackets.find(packet);
    faults.Damage = damaged != Options.CorruptPackets.end() && asked < damaged->second;
    return faults;
}

bool SimLine::SendReply(QByteArray reply, double now, bool damage)
{
    std::uniform_real_distribution<double> chance(0, 1);
    if (Options.DropRate > 0 && chance(Random) < Options.DropRate)
        return false;
    if ((damage || (Options.CorruptRate > 0 && chance(Random) < Options.CorruptRate)) && !reply.isEmpty()) {
        std::uniform_int_distribution<qsizetype> at(0, reply.size() - 1);
        std::uniform_int_distribution<int> flip(1, 255);
        const qsizetype i = at(Random);
        reply[i] = static_cast<char>(reply[i] ^ flip(Random));
    }
    Schedule(reply, now, true);
    return true;
}

void SimLine::SendFrame(const QByteArray &frame, double now)
{
    Schedule(frame, now, false);
}

void SimLine::Schedule(QByteArray frame, double now, bool reply)
{
    if (Options.ZeroReplyChecksum && frame.size() >= 7)
        frame[frame.size() - 3] = frame[frame.size() - 2] = 0;
    double at = std::max(now, SendFreeAt);
    qsizetype done = 0;
    std::uniform_int_distribution<qsizetype> pieceSize(1, std::max<qsizetype>(1, frame.size() / 2));
    std::uniform_real_distribution<double> gap(0.005, 0.075);
    while (done < frame.size()) {
        const qsizetype size = Options.Split ? std::min(pieceSize(Random), frame.size() - done) : frame.size() - done;
        if (Options.Pace) {
            for (qsizetype i = 0; i < size; ++i) {
                at += ByteSeconds;
                Queue.push_back({at, frame.mid(done + i, 1), false});
            }
        } else {
            Queue.push_back({at, frame.mid(done, size), false});
        }
        done += size;
        if (Options.Split && done < frame.size())
            at += gap(Random);
    }
    if (!Queue.empty())
        Queue.back().EndsReply = reply;
    SendFreeAt = at;
}

double SimLine::NextDue() const
{
    return Queue.empty() ? std::numeric_limits<double>::infinity() : Queue.front().At;
}

bool SimLine::WriteDue(int fd, double now)
{
    while (!Queue.empty() && Queue.front().At <= now) {
        Piece &piece = Queue.front();
        const ssize_t written = ::write(fd, piece.Bytes.constData(), size_t(piece.Bytes.size()));
        Blocked = written < 0 && (errno == EAGAIN || errno == EINTR);
        if (written < 0)
            return Blocked; // a full buffer: later; anything else: the terminal is gone
        BytesOut += written;
        piece.Bytes.remove(0, written);
        if (!piece.Bytes.isEmpty())
            return true;
        if (piece.EndsReply)
            ++Replies;
        Queue.pop_front();
    }
    return true;
}
