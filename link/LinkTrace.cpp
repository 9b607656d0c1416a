#include "link/LinkTrace.h"

#include <QByteArray>

Q_LOGGING_CATEGORY(lcLink, "px510.link", QtWarningMsg)

namespace LinkTrace {

void Frame(const char *direction, int port, const char *data, int length)
{
    if (!lcLink().isDebugEnabled())
        return;
    const QByteArray hex = length > 0 ? QByteArray(data, length).toHex(' ').toUpper() : QByteArray("(nothing)");
    qCDebug(lcLink).noquote() << "port" << port << direction << length << hex;
}

void Note(int port, const char *what)
{
    qCDebug(lcLink).noquote() << "port" << port << what;
}

} // namespace LinkTrace
