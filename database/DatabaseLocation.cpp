#include "database/DatabaseLocation.h"

#include "common/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace DatabaseLocation {

QString ShippedFile(const QString &appDir)
{
    return appDir + QStringLiteral("file/DataViewDB.mdb");
}

QString FileToOpen(const QString &appDir)
{
    // One folder for both programs and every version (the application name
    // differs between them), so they share the user's measurements.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        throw FileError(QStringLiteral("找不到用户的数据文件夹，无法使用数据库（请检查 HOME 环境变量）。"));
    return ChooseFile(ShippedFile(appDir), data + QStringLiteral("/px510/file"));
}

QString ChooseFile(const QString &shipped, const QString &folder)
{
    const QString copy = folder + QStringLiteral("/DataViewDB.mdb");
    if (QFileInfo::exists(copy))
        return copy;
    if (!QFileInfo::exists(shipped))
        return shipped;
    if (!QDir().mkpath(folder))
        throw FileError(QStringLiteral("无法创建文件夹：%1").arg(folder));
    const QString partial = copy + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(shipped, partial))
        throw FileError(QStringLiteral("无法复制数据库文件 %1 到 %2").arg(shipped, copy));
    QFile::setPermissions(partial, QFile::permissions(partial) | QFile::ReadOwner | QFile::WriteOwner);
    if (!QFile::rename(partial, copy)) {
        QFile::remove(partial);
        throw FileError(QStringLiteral("无法复制数据库文件 %1 到 %2").arg(shipped, copy));
    }
    return copy;
}

} // namespace DatabaseLocation
