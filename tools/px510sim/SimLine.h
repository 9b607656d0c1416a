#pragma once
// The line between the simulated tester and the workstation: bytes in and
// out with the time they take, faults injected into replies, byte counts.

#include "SimOptions.h"

#include <QByteArray>
#include <deque>
#include <map>
#include <random>

class SimLine {
public:
    static constexpr double ByteSeconds = 11.0 / 9600; // start, 8 data, 2 stop bits

    SimLine(const SimOptions &options, std::mt19937 &random);

    // Bytes read from the workstation at `now`; returns when the last of
    // them has arrived over the line.
    double Received(const QByteArray &bytes, double now);

    // Queues a reply, with the faults asked for; false when it is dropped.
    // `damage`: one byte of it is changed whatever the corruption rate.
    bool SendReply(QByteArray reply, double now, bool damage = false);

    // The faults asked for the reply to one request: how late it comes
    // (seconds) and whether it is damaged. Call once per request, in order.
    struct RequestFaults {
        double Delay = 0;
        bool Damage = false;
    };
    RequestFaults FaultsFor(const QByteArray &request);
    // Queues a frame the tester sends on its own (never spoilt).
    void SendFrame(const QByteArray &frame, double now);

    // When the next queued bytes are due; infinity when none are.
    double NextDue() const;
    // Writes what is due to `fd`; false when the terminal is gone.
    bool WriteDue(int fd, double now);
    int RepliesSent() const { return Replies; }
    // The terminal took no more bytes last time (nobody reads it): try later.
    bool Stalled() const { return Blocked; }
    bool Idle() const { return Queue.empty(); }

    long long BytesIn = 0;
    long long BytesOut = 0;

private:
    struct Piece {
        double At;
        QByteArray Bytes;
        bool EndsReply;
    };
    void Schedule(QByteArray frame, double now, bool reply);

    SimOptions Options;
    std::mt19937 &Random;
    std::deque<Piece> Queue;
    double SendFreeAt = 0;
    double ReceiveFreeAt = 0;
    int Replies = 0;
    bool Blocked = false;
    int LastPacketAsked = 0;
    std::map<int, int> AskedThisDownload; // packet -> requests for it
};
