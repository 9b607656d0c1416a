#pragma once
// Pieces the session's link commands and download share; not for windows.

#include "link/ComToPX510Unit.h"

#include <QByteArrayView>
#include <algorithm>
#include <array>
#include <type_traits>

// A request that changes nothing on the tester (conditions, results, a
// profile packet) is asked for up to two more times when its reply is unusable.
constexpr int RepeatableAttempts = 3;

// One reply as read: at most 256 bytes in a zero-filled buffer.
struct TComToPX510::LinkReply {
    std::array<char, 256> Bytes{};
    int Length = 0;
    char Code() const { return Bytes[2]; }
    QByteArrayView View() const { return {Bytes.data(), std::max(Length, 0)}; }
};

// Work queued for after a command (a deferred Disconnect, the windows'
// hooks) waits while any command runs and is drained when the outermost one
// returns. A command that throws leaves it queued for the next one.
template <class Work>
auto TComToPX510::AsCommand(Work &&work)
{
    using Result = decltype(work());
    ++CommandDepth;
    if constexpr (std::is_void_v<Result>) {
        try {
            work();
        } catch (...) {
            --CommandDepth;
            throw;
        }
        if (--CommandDepth == 0)
            RunAfterCommand();
    } else {
        Result result{};
        try {
            result = work();
        } catch (...) {
            --CommandDepth;
            throw;
        }
        if (--CommandDepth == 0)
            RunAfterCommand();
        return result;
    }
}

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
