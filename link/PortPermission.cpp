#include "link/PortPermission.h"

#include "link/PComm.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace PortPermission {

namespace {

// The name of the group that owns `path`, empty when it cannot be told.
QString OwningGroup(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    if (const group *owner = ::getgrgid(info.st_gid))
        return QString::fromLocal8Bit(owner->gr_name);
#else
    Q_UNUSED(path);
#endif
    return {};
}

} // namespace

bool Denied(const QString &path)
{
#ifdef Q_OS_UNIX
    // The effective user: the one whose rights opening the device uses.
    return ::eaccess(QFile::encodeName(path).constData(), R_OK | W_OK) != 0 && errno == EACCES;
#else
    Q_UNUSED(path);
    return false;
#endif
}

QString Hint(const QStringList &devices)
{
    if (devices.isEmpty())
        return {};
    QStringList named, groups;
    for (const QString &device : devices) {
        const QString group = OwningGroup(device);
        named << (group.isEmpty() ? device : QStringLiteral("%1（用户组 %2）").arg(device, group));
        if (!group.isEmpty() && !groups.contains(group))
            groups << group;
    }
    if (groups.isEmpty())
        groups << QStringLiteral("dialout");
    return QStringLiteral("没有权限打开串口 %1：请把当前用户加入拥有该设备的用户组（sudo usermod -aG %2 $USER），"
                          "然后注销并重新登录。")
        .arg(named.join(QStringLiteral("、")), groups.join(QLatin1Char(',')));
}

QString HintFor(const PComm &comm)
{
    QStringList devices;
    for (const auto &[port, device] : comm.RefusedDevices())
        devices << QString::fromStdString(device);
    return Hint(devices);
}

} // namespace PortPermission
