#pragma once
// Small helpers shared by the test executables.

#include <QByteArray>
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
