#pragma once
// The settings of the holiday updater, in Data/HolidayUpdate.ini, one
// "key=value" a line:
//
//   url=https://…/{year}.json    where to fetch a notice year; {year} is replaced
//   enabled=0                    1: check by itself, at most once a week
//   lastCheck=2025-11-20T08:00:00Z   when the last check ended (UTC)
//   lastResult=…                 what it said, for the settings menu to show
//
// Checking by itself is off until the user switches it on; fetching on
// demand from the settings menu works either way.

#include "core/ProgramFolder.h"

#include <QDateTime>
#include <QString>
#include <QUrl>

namespace qn {

// The open data set "holiday-cn" keeps one JSON file per notice year in its
// repository; this CDN mirror serves them over HTTPS and is reachable from
// mainland China, where the repository host often is not.
inline constexpr const char* kDefaultHolidayUpdateUrl =
    "https://cdn.jsdelivr.net/gh/NateScarlet/holiday-cn@master/{year}.json";
inline constexpr qint64 kHolidayCheckIntervalSecs = 7 * 24 * 60 * 60;

struct HolidayUpdateSettings {
    QString url = QString::fromLatin1(kDefaultHolidayUpdateUrl);
    bool enabled = false;
    QDateTime lastCheck;  // invalid: never
    QString lastResult;
    // An address in the file that cannot be used, as it was written: the
    // default is used meanwhile, and a save of the other settings keeps the
    // user's line instead of replacing it.
    QString unusableUrl;
};

QString HolidayUpdateSettingsPath(const ProgramFolder& folder);

// The stored settings; defaults for a missing file and for any line that
// cannot be used (a URL that is not http(s) with {year} in it, say).
HolidayUpdateSettings LoadHolidayUpdateSettings(const ProgramFolder& folder);
// False, with the reason, when the file could not be written.
bool SaveHolidayUpdateSettings(const ProgramFolder& folder, const HolidayUpdateSettings& settings,
                               QString* error = nullptr);

// A usable address pattern: http or https, with a host, and {year} in it.
bool IsValidHolidayUrlPattern(const QString& pattern);
// The address of one notice year; invalid when the pattern is not usable.
QUrl HolidayYearUrl(const QString& pattern, int year);

// Whether a check by itself is due: switched on, and never checked, or the
// last check a week or more ago (or in the future: the clock was moved).
bool IsHolidayCheckDue(const HolidayUpdateSettings& settings, const QDateTime& now);

}  // namespace qn
