#pragma once
// Pieces the session's link commands and download share; not for windows.

#include "link/ComToPX510Unit.h"

#include <array>
#include <exception>

// A request that changes nothing on the tester (conditions, results, a
// profile packet) is asked for up to two more times when its reply is unusable.
constexpr int RepeatableAttempts = 3;

// One reply as read: at most 256 bytes in a zero-filled buffer.
struct TComToPX510::LinkReply {
    std::array<char, 256> Bytes{};
    int Length = 0;
    uint8_t At(int offset) const { return static_cast<uint8_t>(Bytes[size_t(offset)]); }
    char Code() const { return Bytes[2]; }
};

// Marks a command in progress. Work queued for after the command (a deferred
// Disconnect, the windows' hooks) runs when the outermost one ends normally.
class TComToPX510::CommandScope {
public:
    explicit CommandScope(TComToPX510 &session)
        : Session(session), Exceptions(std::uncaught_exceptions())
    {
        ++Session.CommandDepth;
    }
    ~CommandScope() noexcept(false)
    {
        if (--Session.CommandDepth == 0 && std::uncaught_exceptions() == Exceptions)
            Session.RunAfterCommand();
    }
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

private:
    TComToPX510 &Session;
    int Exceptions;
};

// Busy for the length of an exchange, cleared whatever happens.
class TComToPX510::BusyScope {
public:
    explicit BusyScope(TComToPX510 &session) : Session(session), Before(session.Busy) { Session.Busy = true; }
    ~BusyScope() { Session.Busy = Before; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    TComToPX510 &Session;
    bool Before;
};
