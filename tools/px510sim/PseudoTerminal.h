#pragma once
// The simulator's end of a pseudo-terminal. The simulator keeps the device
// side open itself, in raw mode, so the terminal lives on while programs
// open and close it, and nothing is echoed back.

#include <QString>

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal() { Close(); }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool Open(QString &error);
    // Makes `path` a symbolic link to the device (replacing an old link).
    bool Link(const QString &path, QString &error);
    void Close();

    int Master() const { return MasterFd; }
    QString Device() const { return DevicePath; }

private:
    int MasterFd = -1;
    int DeviceFd = -1;
    QString DevicePath;
    QString LinkPath;
};
