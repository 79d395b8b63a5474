#pragma once
// The holiday table the notebook shows: the built-in table with the user's
// Data/cn-holidays.csv over it, loaded once and shared by the calendar and
// the week board. After an update changed the user's file it is loaded again
// and changed() tells the views to repaint.
//
//   qn::NotebookHolidays holidays(folder);
//   holidays.follow(&updater);
//   const qn::HolidayStatus s = holidays.look(QDate(2024, 2, 10));  // 休 春节
//   qn::HolidayMark(s), qn::HolidayDescription(s) for the texts.

#include "core/ProgramFolder.h"
#include "holidays/HolidayCalendar.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <memory>

namespace qn {

class HolidayUpdater;

class NotebookHolidays : public QObject {
    Q_OBJECT
public:
    explicit NotebookHolidays(ProgramFolder folder, QObject* parent = nullptr);

    // The table in use; a copy of the pointer stays valid across reloads.
    std::shared_ptr<const HolidayCalendar> calendar() const { return calendar_; }
    HolidayStatus look(const QDate& date) const;
    // Non-empty, in Chinese, when the user's file was ignored and why.
    const QString& warning() const { return warning_; }

    // Loads the table again and emits changed().
    void reload();
    // Reloads whenever the updater has rewritten the user's file.
    void follow(HolidayUpdater* updater);

signals:
    void changed();

private:
    ProgramFolder folder_;
    std::shared_ptr<const HolidayCalendar> calendar_;
    QString warning_;
};

}  // namespace qn
