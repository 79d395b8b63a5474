#include "holidays/update/HolidayUpdateSettings.h"

#include "core/SettingsFile.h"

namespace qn {

namespace {

const QLatin1String kUrlKey("url");
const QLatin1String kEnabledKey("enabled");
const QLatin1String kLastCheckKey("lastCheck");
const QLatin1String kLastResultKey("lastResult");
const QLatin1String kYearPlaceholder("{year}");

}  // namespace

QString HolidayUpdateSettingsPath(const ProgramFolder& folder)
{
    return folder.dataFile(QStringLiteral("HolidayUpdate.ini"));
}

bool IsValidHolidayUrlPattern(const QString& pattern) { return HolidayYearUrl(pattern, 2000).isValid(); }

QUrl HolidayYearUrl(const QString& pattern, int year)
{
    if (!pattern.contains(kYearPlaceholder))
        return {};
    QString text = pattern;
    const QUrl url(text.replace(kYearPlaceholder, QString::number(year)), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || url.host().isEmpty())
        return {};
    return url;
}

HolidayUpdateSettings LoadHolidayUpdateSettings(const ProgramFolder& folder)
{
    HolidayUpdateSettings settings;
    const SettingsFile::ReadResult read = SettingsFile(HolidayUpdateSettingsPath(folder)).read();
    if (!read.ok())
        return settings;
    for (const QString& line : read.lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == kUrlKey) {
            if (IsValidHolidayUrlPattern(value))
                settings.url = value;
            else
                settings.unusableUrl = value;
        } else if (key == kEnabledKey) {
            settings.enabled = ParseWholeNumber(value).value_or(0) == 1;
        } else if (key == kLastCheckKey) {
            const QDateTime time = QDateTime::fromString(value, Qt::ISODate);
            if (time.isValid())
                settings.lastCheck = time.toUTC();
        } else if (key == kLastResultKey) {
            settings.lastResult = value;
        }
    }
    return settings;
}

bool SaveHolidayUpdateSettings(const ProgramFolder& folder, const HolidayUpdateSettings& settings, QString* error)
{
    // One line each: a line break in the result text would start a new key.
    QString result = settings.lastResult;
    result.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QStringList lines = {
        kUrlKey + QLatin1Char('=') + (settings.unusableUrl.isEmpty() ? settings.url : settings.unusableUrl),
        kEnabledKey + QLatin1Char('=') + (settings.enabled ? QLatin1Char('1') : QLatin1Char('0')),
        kLastCheckKey + QLatin1Char('=')
            + (settings.lastCheck.isValid() ? settings.lastCheck.toUTC().toString(Qt::ISODate) : QString()),
        kLastResultKey + QLatin1Char('=') + result,
    };
    return SettingsFile(HolidayUpdateSettingsPath(folder)).write(lines, error);
}

bool IsHolidayCheckDue(const HolidayUpdateSettings& settings, const QDateTime& now)
{
    if (!settings.enabled)
        return false;
    if (!settings.lastCheck.isValid())
        return true;
    const qint64 since = settings.lastCheck.secsTo(now);
    return since < 0 || since >= kHolidayCheckIntervalSecs;
}

}  // namespace qn
