#pragma once
// Small helpers shared by the test executables.

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <initializer_list>

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

inline QByteArray fromHex(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

inline QString sourcePath(const QString &relative)
{
    return QStringLiteral(PX510_SOURCE_DIR "/") + relative;
}

// Runs the event loop until `done` holds or `ms` have passed.
template <typename Done>
bool RunUntil(Done done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}
