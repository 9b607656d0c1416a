#pragma once
// Why commands to the tester failed, in words for the operator. A window
// takes a watch before it sends and asks it after a failure.

#include <QString>
#include <cstdint>

class TComToPX510;

class TCommandWatch {
public:
    explicit TCommandWatch(const TComToPX510 &session);

    // Not connected, another command still waiting, the tester's own error
    // text, or no usable reply.
    QString FailureReason() const;

private:
    const TComToPX510 &Session;
    uint8_t StateBefore;
    int32_t ErrorBefore;
    bool WaitingBefore;
};
