#include "holidays/update/NotebookHolidays.h"

#include "holidays/HolidayData.h"
#include "holidays/update/HolidayUpdater.h"
#include "holidays/update/UserHolidayFile.h"

namespace qn {

namespace {

std::shared_ptr<const HolidayCalendar> Load(const ProgramFolder& folder, QString& warning)
{
    HolidayLoad load = LoadHolidays(UserHolidayFilePath(folder).toStdString());
    warning = QString::fromStdString(load.warning);
    return std::make_shared<const HolidayCalendar>(std::move(load.calendar));
}

}  // namespace

NotebookHolidays::NotebookHolidays(ProgramFolder folder, QObject* parent) : QObject(parent), folder_(std::move(folder))
{
    calendar_ = Load(folder_, warning_);
}

HolidayStatus NotebookHolidays::look(const QDate& date) const
{
    if (!date.isValid())
        return {};
    return calendar_->Look(date.year(), date.month(), date.day());
}

void NotebookHolidays::reload()
{
    calendar_ = Load(folder_, warning_);
    emit changed();
}

void NotebookHolidays::follow(HolidayUpdater* updater)
{
    connect(updater, &HolidayUpdater::finished, this, [this](const HolidayUpdateResult& result) {
        if (result.changed)
            reload();
    });
}

}  // namespace qn
