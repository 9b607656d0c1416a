#include "link/CommandWatch.h"

#include "link/ComToPX510Unit.h"
#include "link/LinkMessages.h"

TCommandWatch::TCommandWatch(const TComToPX510 &session)
    : Session(session), StateBefore(session.LinkState), ErrorBefore(session.ErrorCode),
      WaitingBefore(session.IsWaiting())
{
}

QString TCommandWatch::FailureReason() const
{
    if (Session.LinkState == LinkDisconnected)
        return QStringLiteral("未连接到PX510，请先启动连接。");
    if (WaitingBefore)
        return QStringLiteral("另一条命令正在等待PX510的回复，请稍后再试。");
    // An error reply always sets the error state; one left from before
    // counts only when the code has changed since.
    if (Session.LinkState == LinkError && (StateBefore != LinkError || Session.ErrorCode != ErrorBefore))
        return ErrorMessage(Session.ErrorCode);
    return QStringLiteral("PX510没有回复，请检查连接线和仪器电源。");
}
