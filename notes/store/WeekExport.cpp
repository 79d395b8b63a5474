#include "notes/store/WeekExport.h"

#include "calendar/DateValue.h"

#include <QSaveFile>
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("无法写入文件 \"%1\": %2").arg(path, file.errorString());
    return QString();
}
