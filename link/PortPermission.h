#pragma once
// Serial devices the operator may not use. On Linux a serial device belongs
// to a group (usually "dialout"); a user outside that group cannot open it,
// and only joining the group, then logging in again, helps.

#include <QString>
#include <QStringList>

class PComm;

namespace PortPermission {

// True when `path` exists but this program's user may not read and write it.
bool Denied(const QString &path);

// The line that says why `devices` could not be opened and what to do about it.
QString Hint(const QStringList &devices);

// The hint for the devices the serial layer was last refused; empty when none.
QString HintFor(const PComm &comm);

} // namespace PortPermission
