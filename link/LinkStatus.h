#pragma once
// How the last exchange with the tester ended.

#include <cstdint>

enum class LinkStatus : uint8_t {
    None,        // the reply asked for was taken
    NoPort,      // no port could be opened
    NoAccess,    // a port was refused for lack of permission
    Io,          // the port refused a write or a read
    TimeOut,     // nothing, or only part of a reply, arrived in time
    Protocol,    // a whole reply that is damaged or answers another request
    TesterError, // the tester sent its error reply
    DataFormat,  // the reply's contents cannot be read
    PortLost,    // the open port went away
};

// Only a reply that did not come, or came damaged or stray, is asked for again.
constexpr bool Retryable(LinkStatus status)
{
    return status == LinkStatus::TimeOut || status == LinkStatus::Protocol;
}
