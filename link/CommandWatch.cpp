#include "link/CommandWatch.h"

#include "link/ComToPX510Unit.h"
#include "link/LinkMessages.h"

TCommandWatch::TCommandWatch(const TComToPX510 &session)
    : Session(session), StateBefore(session.LinkState), ErrorBefore(session.ErrorCode),
      WaitingBefore(session.IsWaiting())
{}

QString TCommandWatch::FailureReason() const
{
    if (Session.LinkState == LinkDisconnected)
        return FailureText(LinkStatus::NoPort, Session.ErrorCode);
    if (WaitingBefore)
        return QStringLiteral("另一条命令正在等待PX510的回复，请稍后再试。");
    // The watch spans several commands, so the last one's status does not
    // tell: an error reply always sets the error state, and one left from
    // before counts only when the code has changed since.
    if (Session.LinkState == LinkError && (StateBefore != LinkError || Session.ErrorCode != ErrorBefore))
        return FailureText(LinkStatus::TesterError, Session.ErrorCode);
    return FailureText(LinkStatus::TimeOut, Session.ErrorCode);
}
