#include "calendar_control/CalendarMenus.h"

#include <QAction>
#include <QDate>
#include <QLocale>
#include <QMenu>

namespace {

QAction* AddItem(QMenu& menu, const QString& caption, const QString& name, int tag)
{
    QAction* action = menu.addAction(caption);
    action->setObjectName(name);
    action->setData(tag);
    return action;
}

QAction* AddSeparator(QMenu& menu, const QString& name)
{
    QAction* action = menu.addSeparator();
    action->setObjectName(name);
    action->setData(0);
    return action;
}

QMenu* AddSubmenu(QMenu& menu, const QString& caption, const QString& name)
{
    QMenu* submenu = menu.addMenu(caption);
    submenu->setObjectName(name);
    submenu->menuAction()->setObjectName(name);
    submenu->menuAction()->setData(0);
    return submenu;
}

void AddTodayItem(QMenu& menu, const QString& name, const TCalendarMenuActions& actions)
{
    QAction* today = AddItem(menu, QStringLiteral("今日"), name, 0);
    menu.setDefaultAction(today);
    QObject::connect(today, &QAction::triggered, &menu, [go = actions.GoToday] {
        if (go)
            go();
    });
}

void AddYearItem(QMenu& menu, const QString& prefix, int year, const TCalendarMenuActions& actions)
{
    QAction* item = AddItem(menu, QString::number(year), prefix + QString::number(year), year);
    QObject::connect(item, &QAction::triggered, &menu, [item, click = actions.ItemClick] {
        if (click)
            click(item);
    });
}

}  // namespace

int MenuItemTag(const QAction* action) { return action ? action->data().toInt() : 0; }

void FillMonthMenu(QMenu& menu, const QLocale& locale, const TCalendarMenuActions& actions)
{
    AddTodayItem(menu, QStringLiteral("MenuMonth_ToDay"), actions);
    AddSeparator(menu, QStringLiteral("MenuMonth_ToDay_"));
    for (int month = 1; month <= 12; ++month) {
        // Full month names as the locale writes them for the months of 2004.
        const QString caption = locale.toString(QDate(2004, month, 1), QStringLiteral("MMMM"));
        QAction* item = AddItem(menu, caption, QStringLiteral("MenuMonth_") + QString::number(month - 1), month);
        QObject::connect(item, &QAction::triggered, &menu, [item, click = actions.ItemClick] {
            if (click)
                click(item);
        });
    }
}

void FillYearMenu(QMenu& menu, const TCalendarMenuActions& actions)
{
    AddTodayItem(menu, QStringLiteral("MenuYear_ToDay"), actions);
    AddSeparator(menu, QStringLiteral("MenuYear_ToDay_1"));

    const QString historyPrefix = QStringLiteral("MenuYear_History_");
    QMenu* history = AddSubmenu(menu, QStringLiteral("历史日期"), QStringLiteral("MenuYear_History"));
    for (int century = 0; century <= 18; ++century) {
        const int base = 100 * century;
        QMenu* centuryMenu = AddSubmenu(*history, QString::number(base), historyPrefix + QString::number(base + 10));
        for (int year = base + 10; year <= base + 100; year += 10)
            AddYearItem(*centuryMenu, historyPrefix, year, actions);
    }

    AddSeparator(menu, QStringLiteral("MenuYear_ToDay_2"));
    const QString decadePrefix = QStringLiteral("MenuYear_");
    for (int decade = 1900; decade <= 2090; decade += 10) {
        QMenu* decadeMenu = AddSubmenu(menu, QString::number(decade), decadePrefix + QString::number(decade));
        for (int year = decade; year < decade + 10; ++year)
            AddYearItem(*decadeMenu, decadePrefix, year, actions);
    }
}
