#pragma once
// The month and year popup menus of the calendar. Every item carries its
// caption, an item name (objectName) and a tag (data(), an int).

#include <functional>

class QAction;
class QLocale;
class QMenu;

struct TCalendarMenuActions {
    std::function<void()> GoToday;
    std::function<void(QAction*)> ItemClick;  // a month or year item with its tag
};

// "今日", a separator, then the twelve months (tags 1..12) named by the locale.
void FillMonthMenu(QMenu& menu, const QLocale& locale, const TCalendarMenuActions& actions);

// "今日", a separator, "历史日期" with 19 centuries of ten years each (10 ..
// 1900), a separator, and twenty decades 1900..2090 of ten years each.
void FillYearMenu(QMenu& menu, const TCalendarMenuActions& actions);

// Tag of a menu item (0 for items without one).
int MenuItemTag(const QAction* action);
