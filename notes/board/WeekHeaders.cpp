#include "notes/board/WeekHeaders.h"

#include "calendar/DateValue.h"
#include "holidays/HolidayTexts.h"

#include <QColor>

namespace qn {

namespace {

const char* const kWeekdayHeaders[6] = {"周 一", "周 二", "周 三", "周 四", "周 五", "周 六/日"};
const char* const kWeekdayNames[7] = {"周一", "周二", "周三", "周四", "周五", "周六", "周日"};

// The calendar's colours for the marks: 休 red, 班 near black.
const QColor kOffColour(0xFF, 0x00, 0x00);
const QColor kWorkColour(0x30, 0x30, 0x30);

HolidayStatus StatusOf(const TWeekConList& slot, const HolidayCalendar& holidays)
{
    return holidays.Look(DecodeDate(slot.DayDate));
}

bool Marked(const HolidayStatus& status) { return !HolidayMark(status).empty(); }

// "休/班" with each mark in its colour.
QString ColouredMark(const QString& mark)
{
    QString html;
    for (const QChar c : mark) {
        static const QChar off = QStringLiteral("休").front();
        static const QChar work = QStringLiteral("班").front();
        const QColor* colour = c == off ? &kOffColour : c == work ? &kWorkColour : nullptr;
        html += colour ? QStringLiteral("<span style=\"color:%1\">%2</span>").arg(colour->name(), c) : QString(c);
    }
    return html;
}

QString DayLine(const TWeekConList& slot, const HolidayStatus& status)
{
    const CivilDate date = DecodeDate(slot.DayDate);
    return QStringLiteral("%1月%2日 %3：%4")
        .arg(date.month)
        .arg(date.day)
        .arg(QString::fromUtf8(kWeekdayNames[slot.DayNo - 1]), QString::fromStdString(HolidayDescription(status)));
}

}  // namespace

std::array<WeekBoxHeader, 6> WeekBoxHeaders(const TWeekConArray& week, const HolidayCalendar* holidays)
{
    std::array<WeekBoxHeader, 6> headers;
    for (size_t box = 0; box < headers.size(); ++box) {
        headers[box].text = QString::fromUtf8(kWeekdayHeaders[box]);
        headers[box].html = headers[box].text;
    }
    const bool built = week.size() == 7 && week[0].BoxNo == 1 && week[6].BoxNo == 6;
    if (!holidays || !built)
        return headers;

    for (size_t box = 0; box < headers.size(); ++box) {
        // The last box holds Saturday and Sunday.
        const size_t first = box;
        const size_t last = box == 5 ? 6 : box;
        const HolidayStatus a = StatusOf(week[first], *holidays);
        const HolidayStatus b = first == last ? a : StatusOf(week[last], *holidays);
        const QString mark = QString::fromStdString(HolidayMarkOfDays(a, b));
        if (mark.isEmpty())
            continue;
        WeekBoxHeader& header = headers[box];
        header.html = header.text + QStringLiteral(" · ") + ColouredMark(mark);
        header.text += QStringLiteral(" · ") + mark;
        QStringList lines;
        if (Marked(a))
            lines << DayLine(week[first], a);
        if (last != first && Marked(b))
            lines << DayLine(week[last], b);
        header.toolTip = lines.join(QLatin1Char('\n'));
    }
    return headers;
}

}  // namespace qn
