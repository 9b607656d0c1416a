#include "PseudoTerminal.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

bool PseudoTerminal::Open(QString &error)
{
    MasterFd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (MasterFd < 0 || grantpt(MasterFd) != 0 || unlockpt(MasterFd) != 0) {
        error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        Close();
        return false;
    }
    DevicePath = QString::fromLocal8Bit(ptsname(MasterFd));
    DeviceFd = ::open(ptsname(MasterFd), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios settings{};
    if (DeviceFd < 0 || tcgetattr(DeviceFd, &settings) != 0) {
        error = QStringLiteral("cannot open %1: %2").arg(DevicePath, QString::fromLocal8Bit(std::strerror(errno)));
        Close();
        return false;
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    tcsetattr(DeviceFd, TCSANOW, &settings);
    return true;
}

bool PseudoTerminal::Link(const QString &path, QString &error)
{
    const QFileInfo existing(path);
    if (existing.isSymLink())
        QFile::remove(path);
    else if (existing.exists()) {
        error = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
        return false;
    }
    if (::symlink(DevicePath.toLocal8Bit().constData(), path.toLocal8Bit().constData()) != 0) {
        error = QStringLiteral("cannot link %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    LinkPath = path;
    return true;
}

void PseudoTerminal::Close()
{
    if (!LinkPath.isEmpty() && QFileInfo(LinkPath).isSymLink())
        QFile::remove(LinkPath);
    LinkPath.clear();
    if (DeviceFd >= 0)
        ::close(DeviceFd);
    if (MasterFd >= 0)
        ::close(MasterFd);
    DeviceFd = MasterFd = -1;
}
