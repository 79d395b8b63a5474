#include "holidays/update/UserHolidayFile.h"

#include "holidays/HolidayData.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace qn {

QString UserHolidayFilePath(const ProgramFolder& folder)
{
    return folder.dataFile(QString::fromLatin1(kUserHolidayFileName));
}

bool WriteUserHolidayFile(const QString& path, const std::vector<HolidayRow>& rows, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("无法创建文件夹 %1").arg(QFileInfo(path).absolutePath()));
    const std::string text = FormatHolidayCsv(rows);
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("无法写入 %1：%2").arg(path, file.errorString()));
    if (!existed)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const qint64 written = file.write(text.data(), static_cast<qint64>(text.size()));
    if (written != static_cast<qint64>(text.size())) {
        // A full disk: the half-written temporary file is dropped.
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("写入 %1 失败（磁盘已满？）：%2").arg(path, why));
    }
    if (!file.commit())
        return fail(QStringLiteral("保存 %1 失败：%2").arg(path, file.errorString()));
    return true;
}

}  // namespace qn
