#include "files/FileBytes.h"

#include "common/Errors.h"

#include <QFile>
#include <QSaveFile>

namespace FileBytes {

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("无法打开文件“%1”：%2").arg(fileName, file.errorString()));
    QByteArray bytes = file.readAll();
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
