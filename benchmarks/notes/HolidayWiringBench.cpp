// What the statutory holidays add to the notebook's start and to a week
// switch: loading the table (the shipped one alone, or with a user's file of
// two notice years over it), handing it to the calendar and the week board,
// and the six headers of a week. BM_FirstLoadInProcess is the cold case: the
// shipped table is parsed once per process, on the first load; it runs first.

#include "calendar/DateValue.h"
#include "calendar_control/ChnCalendar.h"
#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "core/uGlobal.h"
#include "holidays/update/NotebookHolidays.h"
#include "holidays/update/UserHolidayFile.h"
#include "notes/board/WeekHeaders.h"
#include "notes/window/uMain.h"
#include "store/uDM.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_FirstLoadInProcess(benchmark::State& state)
{
    QTemporaryDir dir;
    const qn::ProgramFolder folder(dir.path());
    for (auto _ : state) {
        qn::NotebookHolidays holidays(folder);
        benchmark::DoNotOptimize(holidays.calendar().get());
    }
}
BENCHMARK(BM_FirstLoadInProcess)->Unit(benchmark::kMicrosecond)->Iterations(1);

// 0: no user file; 1: a user file replacing two notice years.
void BM_NotebookHolidaysLoad(benchmark::State& state)
{
    QTemporaryDir dir;
    const qn::ProgramFolder folder(dir.path());
    folder.ensureDataFolder();
    if (state.range(0) == 1) {
        std::vector<qn::HolidayRow> rows;
        for (int year : {2025, 2026}) {
            for (int d = 1; d <= 8; ++d)
                rows.push_back({{year, 2, d}, true, "春节", year});
            rows.push_back({{year, 2, 14}, false, "春节", year});
        }
        qn::WriteUserHolidayFile(qn::UserHolidayFilePath(folder), rows);
    }
    for (auto _ : state) {
        qn::NotebookHolidays holidays(folder);
        benchmark::DoNotOptimize(holidays.calendar().get());
    }
}
BENCHMARK(BM_NotebookHolidaysLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The table given to the calendar (its month's marks) and to the board (the
// headers), as at the start and after an update.
void BM_ApplyTableToCalendarAndBoard(benchmark::State& state)
{
    QTemporaryDir dir;
    const qn::ProgramFolder folder(dir.path());
    folder.ensureDataFolder();
    TDM dm(folder);
    dm.ConnectDatabase();
    TMainFrm window(dm, folder, qn::FixedClock(qn::EncodeDate(2024, 2, 10)));
    const qn::NotebookHolidays holidays(folder);
    for (auto _ : state) {
        window.calendar()->SetHolidays(holidays.calendar());
        window.board()->SetHolidays(holidays.calendar());
    }
}
BENCHMARK(BM_ApplyTableToCalendarAndBoard)->Unit(benchmark::kMicrosecond);

// The six headers of a week with marks, on every week switch.
void BM_WeekHeaders(benchmark::State& state)
{
    QTemporaryDir dir;
    const qn::NotebookHolidays holidays(qn::ProgramFolder(dir.path()));
    TWeekConArray week(7);
    BuildWeek(week, qn::EncodeDate(2024, 2, 14));
    for (auto _ : state)
        benchmark::DoNotOptimize(qn::WeekBoxHeaders(week, holidays.calendar().get()));
}
BENCHMARK(BM_WeekHeaders)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qn::SetMessageSink([](const QString&, const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
