#include "holidays/update/UserHolidayFile.h"

#include "core/Messages.h"
#include "core/SafeFile.h"
#include "holidays/HolidayData.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

namespace qn {

QString UserHolidayFilePath(const ProgramFolder& folder)
{
    return folder.dataFile(QString::fromLatin1(kUserHolidayFileName));
}

bool WriteUserHolidayFile(const QString& path, const std::vector<HolidayRow>& rows, QString* error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = FileErrorMessage(FileAction::Write, path,
                                      QStringLiteral("无法创建文件夹“%1”").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    const std::string text = FormatHolidayCsv(rows);
    if (const std::optional<FileError> failure =
            WriteFileSafely(path, QByteArray(text.data(), qsizetype(text.size())))) {
        if (error)
            *error = failure->message();
        return false;
    }
    return true;
}

}  // namespace qn
