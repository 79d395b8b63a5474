// Renders the calendar control to PNG files so it can be looked at:
//   calendar_snapshot <folder> [yyyy-mm-dd]
// writes board.png (as the main window sets it up), board@2x.png (the same
// at twice the density), defaults.png and weeknumbers.png (title hidden,
// week numbers shown) into <folder>. All of them mark the statutory holidays
// of the shipped table.

#include "calendar/DateValue.h"
#include "calendar_control/CalendarFonts.h"
#include "calendar_control/ChnCalendar.h"
#include "holidays/HolidayData.h"

#include <QApplication>
#include <QDate>
#include <QDir>

#include <cstdio>
#include <memory>

namespace {

void ApplyBoardSettings(TChnCalendar& calendar)
{
    calendar.SetShowTitle(true);
    calendar.SetShowWeekNum(false);
    calendar.SetShowFrame(true);
    calendar.SetShowWeekNumLine(true);
    calendar.SetHideSelection(false);
    QFont date(QStringLiteral("黑体"));
    date.setPixelSize(12);
    date.setBold(true);
    calendar.SetFontDate({date, BgrFromColor(calendar.palette().color(QPalette::WindowText))});
    QFont cnDate(QStringLiteral("宋体"));
    cnDate.setPixelSize(12);
    calendar.SetFontCnDate({cnDate, 0xEEEEEE});
    calendar.SetColorTitleWeekLine(0xC5C5C5);
    calendar.SetColorTitleWeekEnd(0x0000FF);
    calendar.SetColorTitleWeek(0x4F4F4F);
    calendar.SetColorCnDate(0x008000);
    calendar.SetColorDate(0x4F4F4F);
    calendar.SetColorHoliday(0x0080FF);
    calendar.SetColorLunarHolDay(0xFF5353);
    calendar.SetColorCnHolDay(0x0080FF);
    calendar.SetColorSelectedStart(0x53AE00);
    calendar.SetColorSelectedEnd(0x65D500);
    calendar.SetColorSelectedFrame(0x469300);
    calendar.SetColorWeekNum(0x808080);
    calendar.SetColorShowFrame(0x808080);
    calendar.SetColorBackYear(0xDDE8FF);
    calendar.SetColorBackMonth(0xEBEBEB);
    calendar.SetColorTitleToday(0xFF0000);
    calendar.SetColorTitleMonth(0xC08080);
    calendar.SetColorTitleYear(0xFF0000);
    calendar.SetColorTitleSelected(0x808080);
    calendar.SetColorTitleConstellation(0);
    calendar.SetColorTitleAnimalsYear(0);
    calendar.SetCenter(false);
    calendar.SetStretch(true);
    calendar.SetAlphaBlend(50);
}

bool Save(TChnCalendar& calendar, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    const bool ok = calendar.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

bool SaveAtRatio2(TChnCalendar& calendar, const QDir& folder, const QString& name)
{
    QImage image(calendar.size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    calendar.render(&image);
    const QString path = folder.filePath(name);
    const bool ok = image.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: calendar_snapshot <folder> [yyyy-mm-dd]\n");
        return 2;
    }
    InstallWindowsFontSubstitutes();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    qn::NowSource now = qn::SystemNow;
    if (argc > 2) {
        const QDate day = QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate);
        if (!day.isValid()) {
            std::fprintf(stderr, "not a date: %s\n", argv[2]);
            return 2;
        }
        now = qn::FixedClock(qn::EncodeDateTime(day.year(), day.month(), day.day(), 9, 0, 0));
    }

    const auto holidays = std::make_shared<const qn::HolidayCalendar>(qn::BuiltInHolidayRows());
    bool ok = true;
    TChnCalendar board(nullptr, now);
    board.show();
    ApplyBoardSettings(board);
    board.SetHolidays(holidays);
    ok &= Save(board, folder, QStringLiteral("board.png"));
    ok &= SaveAtRatio2(board, folder, QStringLiteral("board@2x.png"));

    TChnCalendar defaults(nullptr, now);
    defaults.show();
    defaults.SetHolidays(holidays);
    ok &= Save(defaults, folder, QStringLiteral("defaults.png"));

    TChnCalendar weeks(nullptr, now);
    weeks.show();
    weeks.SetHolidays(holidays);
    weeks.SetShowTitle(false);
    weeks.SetShowWeekNum(true);
    ok &= Save(weeks, folder, QStringLiteral("weeknumbers.png"));
    return ok ? 0 : 1;
}
