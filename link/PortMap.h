#pragma once
// Port numbers 1 to 8 name serial devices. The list comes from PX510_PORTS
// (paths separated by ':') when it is set, otherwise from the serial ports
// the system lists: USB adapters first, then built-in ports, each in name
// order. On Windows port N is COMN.

#include <QList>
#include <QString>
#include <QStringList>

namespace PortMap {

struct SystemPort {
    QString Path;
    bool Usb = false;
};

// The device of each port number, port 1 first.
QStringList Paths();
// The device of `portNo` (1 = first), empty when there is none.
QString PathOf(int portNo);

// The two sources of Paths(), apart so they can be checked alone.
QStringList FromVariable(const QString &value);
QStringList FromSystemPorts(QList<SystemPort> ports);

} // namespace PortMap
