#pragma once
// Command line of px510sim.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>

struct SimOptions {
    QString Link; // symbolic link to the terminal's device, if wanted
    uint32_t Seed = 1;
    double MeasureSeconds = 5; // from "s" to the finished frame
    bool Pace = false;         // bytes at the line rate
    int TurnaroundMs = 0;      // delay before each reply
    double DropRate = 0;       // a reply is not sent
    double CorruptRate = 0;    // one byte of a reply is changed
    bool Split = false;        // replies in pieces with gaps under 80 ms
    std::map<char, int> ErrorReplies;
    int VanishAfter = -1; // close the terminal after this many replies
    // Faults of single profile packets, counted afresh for every download
    // (from the request for packet 1 that follows a request for another one).
    std::map<int, int> LatePackets;    // packet -> ms its first reply comes late
    std::map<int, int> CorruptPackets; // packet -> how many of its first replies are damaged
    bool ZeroReplyChecksum = false;    // replies carry 00 00 where the checksum goes
};

// The options, or an error message for the user.
std::optional<SimOptions> ParseSimOptions(const QStringList &arguments, QString &error);
