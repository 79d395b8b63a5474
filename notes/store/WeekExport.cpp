#include "notes/store/WeekExport.h"

#include "calendar/DateValue.h"
#include "core/SafeFile.h"
#include "core/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStringEncoder>

namespace {

QString DottedDate(double value)
{
    const qn::CivilDate d = qn::DecodeDate(value);
    return QStringLiteral("%1.%2.%3")
        .arg(d.year, 4, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'));
}

QString ExportFolderFile(const qn::ProgramFolder& folder)
{
    return folder.dataFile(QStringLiteral("ExportFolder.ini"));
}

// The folder exported to last in this run, by program folder.
QHash<QString, QString>& FoldersUsedThisRun()
{
    static QHash<QString, QString> folders;
    return folders;
}

}  // namespace

QStringList BuildExportEntries(const TWeekConArray& week, const std::array<QString, 6>& boxTexts)
{
    static const char* const kDayWords[6] = {"星期一 ", "星期二 ", "星期三 ", "星期四 ", "星期五 ", "星期六/日 "};
    const QString twoSpaces = QStringLiteral("  ");
    QStringList entries;
    for (size_t i = 0; i < 6; ++i) {
        // The sixth heading carries Saturday's date, also on a Sunday.
        entries << QString::fromUtf8(kDayWords[i]) + DottedDate(week[i].DayDate) << twoSpaces << boxTexts[i]
                << twoSpaces;
    }
    return entries;
}

QString ProposedExportName(double dateTime)
{
    const qn::CivilDate d = qn::DecodeDate(dateTime);
    const qn::TimeOfDay t = qn::DecodeTime(dateTime);
    return QStringLiteral("周 %1%2%3%4%5%6")
        .arg(d.year, 4, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'))
        .arg(t.hour, 2, 10, QLatin1Char('0'))
        .arg(t.minute, 2, 10, QLatin1Char('0'))
        .arg(t.second, 2, 10, QLatin1Char('0'));
}

QString ExportTargetPath(const QString& typedName) { return typedName + QStringLiteral(".txt"); }

bool ExportTargetExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString ReplaceExportQuestion(const QString& path)
{
    return QStringLiteral("文件“%1”已经存在。\n要替换它吗？").arg(QDir::toNativeSeparators(path));
}

QString WriteExportFile(const QString& path, const QStringList& entries)
{
    QString text;
    for (const QString& entry : entries)
        text += entry + QStringLiteral("\r\n");
    QStringEncoder encoder("GB18030");
    if (!encoder.isValid())
        return QStringLiteral("无法使用 GB18030 编码");
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return QStringLiteral("无法按 GB18030 编码导出的文本");
    if (const auto error = qn::WriteFileSafely(path, bytes, qn::LinkHandling::ReplaceLink))
        return error->message();
    return QString();
}

QString ExportStartFolder(const qn::ProgramFolder& folder)
{
    QString remembered = FoldersUsedThisRun().value(folder.root());
    if (remembered.isEmpty()) {
        const qn::SettingsFile::ReadResult read = qn::SettingsFile(ExportFolderFile(folder)).read();
        if (read.ok() && !read.lines.isEmpty())
            remembered = read.lines.first();
    }
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void RememberExportFolder(const qn::ProgramFolder& folder, const QString& exportedFile)
{
    const QString used = QFileInfo(exportedFile).absolutePath();
    FoldersUsedThisRun().insert(folder.root(), used);
    qn::SettingsFile(ExportFolderFile(folder)).write({used});
}
