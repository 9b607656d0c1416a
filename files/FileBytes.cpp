#include "files/FileBytes.h"

#include "common/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace FileBytes {

QByteArray readRegularFile(const QString &fileName, qint64 limit)
{
    // A FIFO would block the open, a device read without end.
    const QFileInfo info(fileName);
    if (!info.exists())
        throw FileError(QStringLiteral("无法打开文件“%1”：文件不存在。").arg(fileName));
    if (!info.isFile())
        throw FileError(QStringLiteral("无法打开文件“%1”：这不是普通文件。").arg(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("无法打开文件“%1”：%2").arg(fileName, file.errorString()));
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("无法读取文件“%1”：%2").arg(fileName, file.errorString()));
    return bytes;
}

void writeAtomically(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("无法创建文件“%1”：%2").arg(fileName, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        QString reason = file.errorString();
        file.cancelWriting();
        throw FileError(QStringLiteral("无法写入文件“%1”：%2").arg(fileName, reason));
    }
    if (!file.commit())
        throw FileError(QStringLiteral("无法保存文件“%1”：%2").arg(fileName, file.errorString()));
}

} // namespace FileBytes
