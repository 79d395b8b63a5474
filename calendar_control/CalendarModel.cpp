#include "calendar_control/CalendarModel.h"

#include "calendar/DateValue.h"
#include "calendar_control/CalendarDayTips.h"
#include "holidays/HolidayTexts.h"

#include <cmath>

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// Days 1 and 7 of the week (Sunday and Saturday) carry the red day number.
bool IsWeekendCell(int cell) { return cell % 7 == 1 || cell % 7 == 0; }

}  // namespace

bool TCalendarModel::Accepts(double value) const
{
    if (value == DateTime)
        return false;
    // Years 1..2100 lie well inside +-1e6 days; anything beyond is not a date
    // and must not reach the integer decoding.
    if (!std::isfinite(value) || std::fabs(value) > 1.0e6)
        return false;
    const qn::CivilDate date = qn::DecodeDate(value);
    return date.year >= kMinYear && date.year <= kMaxYear;
}

void TCalendarModel::SelectDate(double value)
{
    DateTime = value;
    FDayInfo.Compute(DateTime);
    CnMonth = Text(FDayInfo.LunarMonthText);
    CnDay = Text(FDayInfo.LunarDayText);
    CnDate = CnMonth + CnDay;
    FEraName = Text(FDayInfo.EraName);
    FSelectedDay = FDayInfo;

    for (int cell = kConstellationCell; cell <= kAnimalCell; ++cell)
        FDays[cell].InUse = true;
    FDays[kYearNameCell].DayText = Text(FDayInfo.YearGanZhi);
    FDays[kAnimalCell].DayText = Text(FDayInfo.Animal) + QStringLiteral("年");
}

QString TCalendarModel::InfoDatePart() const
{
    const qn::CivilDate date = qn::DecodeDate(DateTime);
    if (date.year < 1949)
        return FEraName;
    return QStringLiteral("%1-%2-%3")
        .arg(date.year, 4, 10, QLatin1Char('0'))
        .arg(date.month, 2, 10, QLatin1Char('0'))
        .arg(date.day, 2, 10, QLatin1Char('0'));
}

int TCalendarModel::LayoutMonth()
{
    for (QString& text : FWeekNums)
        text.clear();
    for (int cell = 1; cell <= kLastDayCell; ++cell) {
        TcnDateInf& inf = FDays[cell];
        inf.InUse = false;
        inf.CnMonth.clear();
        inf.CnDay.clear();
        inf.CnText.clear();
        inf.DayColor = IsWeekendCell(cell) ? calcolor::Red : Colors.ColorDate;
    }

    const qn::CivilDate selected = qn::DecodeDate(DateTime);
    const int firstWeekday = qn::SundayFirstWeekday(qn::EncodeDate(selected.year, selected.month, 1));
    const int dayCount = qn::DaysInGregorianMonth(selected.year, selected.month);
    const QString firstLunarDay = QStringLiteral("初一");

    int selectedCell = 0;
    int weekRow = 0;
    int previousWeek = 0;
    for (int day = 1; day <= dayCount; ++day) {
        const double date = qn::EncodeDate(selected.year, selected.month, day);
        FDayInfo.Compute(date);

        const int week = qn::IsoWeekNumber(date);
        if ((day == 1 || week != previousWeek) && weekRow < 6)
            FWeekNums[++weekRow] = QString::number(week);
        previousWeek = week;

        const int cell = firstWeekday + day - 1;
        TcnDateInf& inf = FDays[cell];
        inf.DayText = QString::number(day);
        inf.Day = day;
        inf.CnMonth = Text(FDayInfo.LunarMonthText);
        inf.CnDay = Text(FDayInfo.LunarDayText);

        if (inf.CnDay != firstLunarDay) {
            inf.CnText = inf.CnDay;
            inf.CnColor = Colors.ColorCnDate;
        } else {
            inf.CnText = inf.CnMonth;
            inf.CnColor = calcolor::Red;
        }
        // A lunar festival wins over a solar term, which wins over a
        // Gregorian festival, which wins over the lunar day.
        const struct {
            const std::string& text;
            TColor color;
        } overrides[] = {{FDayInfo.Holiday, Colors.ColorHoliday},
                         {FDayInfo.SolarTerm, Colors.ColorLunarHolDay},
                         {FDayInfo.LunarHoliday, Colors.ColorCnHolDay}};
        for (const auto& item : overrides) {
            if (!item.text.empty()) {
                inf.CnText = Text(item.text);
                inf.CnColor = item.color;
            }
        }

        if (day == selected.day) {
            FDays[kConstellationCell].DayText = Text(FDayInfo.Constellation);
            selectedCell = cell;
        }
        inf.InUse = true;
    }
    MarkHolidays();
    return selectedCell;
}

void TCalendarModel::SetHolidays(std::shared_ptr<const qn::HolidayCalendar> holidays)
{
    FHolidays = std::move(holidays);
    MarkHolidays();
}

void TCalendarModel::SetShowHolidays(bool show)
{
    FShowHolidays = show;
    MarkHolidays();
}

qn::HolidayStatus TCalendarModel::HolidayOf(double date) const
{
    if (!FShowHolidays || !FHolidays)
        return {};
    return FHolidays->Look(qn::DecodeDate(date));
}

void TCalendarModel::MarkHolidays()
{
    const bool show = FShowHolidays && FHolidays && HasDate();
    const qn::CivilDate shown = show ? qn::DecodeDate(DateTime) : qn::CivilDate{};
    for (int cell = 1; cell <= kLastDayCell; ++cell) {
        TcnDateInf& inf = FDays[cell];
        qn::HolidayStatus status;
        if (show && inf.InUse) {
            status = FHolidays->Look(shown.year, shown.month, inf.Day);
            // Ordinary days and years without a notice carry nothing.
            if (status.kind != qn::HolidayKind::Off && status.kind != qn::HolidayKind::Work)
                status = {};
        }
        if (status == inf.Holiday)
            continue;
        inf.HolidayMark = QString::fromStdString(qn::HolidayMark(status));
        inf.Holiday = std::move(status);
    }
}

QStringList TCalendarModel::SelectedDayTips() const
{
    if (!HasDate())
        return {};
    return DayTipLines(FSelectedDay, HolidayOf(DateTime));
}

QStringList TCalendarModel::CellDayTips(int cell) const
{
    if (cell < 1 || cell > kLastDayCell || !FDays[cell].InUse)
        return {};
    const qn::CivilDate shown = qn::DecodeDate(DateTime);
    return DayTipLines(qn::EncodeDate(shown.year, shown.month, FDays[cell].Day), FDays[cell].Holiday);
}
