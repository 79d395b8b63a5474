// The statutory holidays in the main window: the table (the built-in one with
// the user's Data/cn-holidays.csv over it) given to the calendar and the week
// board, the settings menu's entries that fetch new notice years, and the
// weekly check by itself once the user has switched it on.

#include "calendar/DateValue.h"
#include "calendar_control/ChnCalendar.h"
#include "core/Messages.h"
#include "holidays/update/HolidayUpdater.h"
#include "holidays/update/HolidayUpdateSettings.h"
#include "holidays/update/NotebookHolidays.h"
#include "notes/window/uMain.h"

#include <QAction>
#include <QDateTime>
#include <QMenu>
#include <QTimer>

namespace {

const QString kUpdateCaption = QStringLiteral("更新法定节假日");
const QString kUpdatingCaption = QStringLiteral("更新法定节假日（正在下载…）");

// A date value of the notebook's clock as the local date and time it names.
QDateTime LocalDateTime(double value)
{
    const qn::CivilDate d = qn::DecodeDate(value);
    const qn::TimeOfDay t = qn::DecodeTime(value);
    return QDateTime(QDate(d.year, d.month, d.day), QTime(t.hour, t.minute, t.second, t.msec));
}

}  // namespace

void TMainFrm::BuildHolidays()
{
    // A file that cannot be used is left as it is: the built-in table is
    // used alone and the window says why once it is up.
    m_holidays = new qn::NotebookHolidays(m_folder, this);
    connect(m_holidays, &qn::NotebookHolidays::changed, this, [this] {
        ApplyHolidayTable();
        TellHolidayWarning();
    });
    ApplyHolidayTable();

    m_holidayCheckTimer = new QTimer(this);
    m_holidayCheckTimer->setInterval(kHolidayCheckPollMs);
    connect(m_holidayCheckTimer, &QTimer::timeout, this, &TMainFrm::StartDueHolidayCheck);
}

void TMainFrm::ApplyHolidayTable()
{
    chnRili->SetHolidays(m_holidays->calendar());
    m_board->SetHolidays(m_holidays->calendar());
}

void TMainFrm::TellHolidayWarning()
{
    if (!m_holidays->warning().isEmpty())
        qn::ShowNotice(
            this, m_holidays->warning() + QStringLiteral("。\n这个文件没有被改动；改正后重新启动本程序即可使用。"));
}

qn::HolidayUpdater* TMainFrm::holidayUpdater()
{
    if (m_holidayUpdater)
        return m_holidayUpdater;
    m_holidayUpdater = new qn::HolidayUpdater(m_folder, this);
    // The notebook's clock decides which years are asked for and when the
    // check was.
    m_holidayUpdater->setClock([now = m_now] { return LocalDateTime(now()).toUTC(); });
    // The table is reloaded before the outcome is told.
    m_holidays->follow(m_holidayUpdater);
    connect(m_holidayUpdater, &qn::HolidayUpdater::finished, this, &TMainFrm::HolidayCheckFinished);
    return m_holidayUpdater;
}

void TMainFrm::N_UpdateHolidaysClick()
{
    // A check already running (the weekly one) is told like this one.
    m_reportHolidayCheck = true;
    qn::HolidayUpdater* updater = holidayUpdater();
    if (updater->isRunning())
        return;
    if (updater->start())
        HolidayCheckStarted();
    else
        m_reportHolidayCheck = false;
}

void TMainFrm::N_AutoUpdateHolidaysClick(bool on)
{
    qn::HolidayUpdateSettings settings = qn::LoadHolidayUpdateSettings(m_folder);
    settings.enabled = on;
    QString error;
    if (!qn::SaveHolidayUpdateSettings(m_folder, settings, &error)) {
        N_AutoUpdateHolidays->setChecked(!on);
        qn::ShowPlainMessage(this, QStringLiteral("无法保存节假日更新的设置：%1").arg(error));
        return;
    }
    // Switched on, the first check need not wait for the next start.
    if (on)
        StartDueHolidayCheck();
}

void TMainFrm::StartDueHolidayCheck()
{
    // Switched off (the usual case), no network part is made at all.
    if (!qn::LoadHolidayUpdateSettings(m_folder).enabled)
        return;
    if (holidayUpdater()->startIfDue())
        HolidayCheckStarted();
}

void TMainFrm::HolidayCheckStarted() { N_UpdateHolidays->setText(kUpdatingCaption); }

void TMainFrm::HolidayCheckFinished(const qn::HolidayUpdateResult& result)
{
    N_UpdateHolidays->setText(kUpdateCaption);
    ShowHolidaySettings();
    // A check by itself speaks only when it changed the table; its other
    // outcomes are in the menu entry's tooltip.
    const bool tell = m_reportHolidayCheck || result.changed;
    m_reportHolidayCheck = false;
    if (tell)
        qn::ShowNotice(this, result.message);
}

void TMainFrm::ShowHolidaySettings()
{
    const qn::HolidayUpdateSettings settings = qn::LoadHolidayUpdateSettings(m_folder);
    N_AutoUpdateHolidays->setChecked(settings.enabled);
    QString tip = QStringLiteral("从 %1 下载今年和明年的放假安排").arg(settings.url);
    if (settings.lastCheck.isValid())
        tip += QStringLiteral("\n上次检查：%1 %2")
                   .arg(settings.lastCheck.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                        settings.lastResult);
    N_UpdateHolidays->setToolTip(tip);
}
