#include "calendar_control/CalendarDemo.h"

#include "calendar_control/CalendarFonts.h"
#include "calendar_control/ChnCalendar.h"
#include "holidays/HolidayData.h"

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

int RunCalendarDemo(const qn::NowSource& now)
{
    InstallWindowsFontSubstitutes();
    QWidget window;
    window.setWindowTitle(QStringLiteral("QN周记事本 - 日历"));
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* calendar = new TChnCalendar(&window, now);
    // As the main window sets it up: the picture, if any, stretched.
    calendar->SetStretch(true);
    calendar->setFixedSize(TChnCalendar::kInitialWidth, TChnCalendar::kInitialHeight);
    // The holidays the program ships (the demo reads no user files).
    calendar->SetHolidays(std::make_shared<const qn::HolidayCalendar>(qn::BuiltInHolidayRows()));
    layout->addWidget(calendar);
    window.show();
    return QApplication::exec();
}
