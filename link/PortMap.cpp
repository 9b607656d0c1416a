#include "link/PortMap.h"

#include <QSerialPortInfo>
#include <QtGlobal>
#include <algorithm>

namespace PortMap {

QStringList FromVariable(const QString &value)
{
    return value.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QStringList FromSystemPorts(QList<SystemPort> ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const SystemPort &a, const SystemPort &b) {
        if (a.Usb != b.Usb)
            return a.Usb;
        return a.Path < b.Path;
    });
    QStringList paths;
    for (const SystemPort &port : ports)
        paths << port.Path;
    return paths;
}

static QList<SystemPort> ListedPorts()
{
    QList<SystemPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString name = info.portName();
        const bool usb = info.hasVendorIdentifier() || name.startsWith(QLatin1String("ttyUSB"))
            || name.startsWith(QLatin1String("ttyACM"));
        ports.append({info.systemLocation(), usb});
    }
    return ports;
}

QStringList Paths()
{
    const QByteArray variable = qgetenv("PX510_PORTS");
    if (!variable.isNull())
        return FromVariable(QString::fromLocal8Bit(variable));
    return FromSystemPorts(ListedPorts());
}

QString PathOf(int portNo)
{
#ifdef Q_OS_WIN
    if (qgetenv("PX510_PORTS").isNull())
        return portNo >= 1 ? QStringLiteral("COM%1").arg(portNo) : QString();
#endif
    const QStringList paths = Paths();
    return portNo >= 1 && portNo <= paths.size() ? paths[portNo - 1] : QString();
}

} // namespace PortMap
