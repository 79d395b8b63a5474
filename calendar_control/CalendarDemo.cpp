#include "CalendarDemo.h"

#include <QApplication>
#include <QLabel>

int RunCalendarDemo(const qn::NowSource& /*now*/)
{
    // Placeholder until the calendar control exists.
    QLabel label(QStringLiteral("日历控件尚未完成"));
    label.show();
    return QApplication::exec();
}
