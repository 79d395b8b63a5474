#include "holidays/update/HolidayJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>

namespace qn {

namespace {

HolidayJsonResult Fail(HolidayJsonResult::Status status, const QString& why)
{
    HolidayJsonResult result;
    result.status = status;
    result.error = why;
    return result;
}

HolidayJsonResult Malformed(const QString& why) { return Fail(HolidayJsonResult::Status::Malformed, why); }

// A whole number held by a JSON number (JSON has no integers of its own).
bool WholeNumber(const QJsonValue& value, int& number)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (d != static_cast<double>(static_cast<long long>(d)) || d < -1e6 || d > 1e6)
        return false;
    number = static_cast<int>(d);
    return true;
}

}  // namespace

HolidayJsonResult ParseHolidayJson(const QByteArray& bytes, int expectedYear)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Malformed(QStringLiteral("不是有效的 JSON（第 %1 个字节处：%2）")
                             .arg(parseError.offset + 1)
                             .arg(parseError.errorString()));
    if (!document.isObject())
        return Malformed(QStringLiteral("JSON 的最外层不是对象"));
    const QJsonObject root = document.object();

    int year = 0;
    if (!WholeNumber(root.value(QLatin1String("year")), year))
        return Malformed(QStringLiteral("缺少年份（year）或年份不是整数"));
    if (root.contains(QLatin1String("papers")) && !root.value(QLatin1String("papers")).isArray())
        return Malformed(QStringLiteral("通知列表（papers）不是数组"));
    const QJsonValue daysValue = root.value(QLatin1String("days"));
    if (!daysValue.isArray())
        return Malformed(QStringLiteral("缺少日期列表（days）"));
    if (year != expectedYear)
        return Fail(HolidayJsonResult::Status::WrongYear,
                    QStringLiteral("年份不符：请求的是 %1 年，文件是 %2 年").arg(expectedYear).arg(year));

    static const QRegularExpression isoDate(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QJsonArray days = daysValue.toArray();
    if (days.size() > static_cast<qsizetype>(kMaxHolidayRows))
        return Malformed(QStringLiteral("日期过多，不是放假安排"));
    HolidayJsonResult result;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QString where = QStringLiteral("第 %1 个日期：").arg(i + 1);
        if (!days.at(i).isObject())
            return Malformed(where + QStringLiteral("不是对象"));
        const QJsonObject day = days.at(i).toObject();
        const QJsonValue name = day.value(QLatin1String("name"));
        const QJsonValue date = day.value(QLatin1String("date"));
        const QJsonValue off = day.value(QLatin1String("isOffDay"));
        if (!name.isString())
            return Malformed(where + QStringLiteral("缺少名称（name）"));
        if (!off.isBool())
            return Malformed(where + QStringLiteral("缺少休班（isOffDay）"));
        const QRegularExpressionMatch match = isoDate.match(date.toString());
        if (!date.isString() || !match.hasMatch())
            return Malformed(where + QStringLiteral("日期（date）应为 YYYY-MM-DD"));
        HolidayRow row;
        row.date = {match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()};
        row.off = off.toBool();
        row.name = name.toString().toStdString();
        row.noticeYear = year;
        result.rows.push_back(std::move(row));
    }
    if (const std::string why = CheckHolidayRows(result.rows); !why.empty())
        return Malformed(QString::fromStdString(why));
    result.status = result.rows.empty() ? HolidayJsonResult::Status::Empty : HolidayJsonResult::Status::Ok;
    return result;
}

}  // namespace qn
