// Save and load of a whole week: six boxes of about 4 KB of formatted Chinese
// text each, on a database file in a temporary folder. A save runs on every
// keystroke, so its tail matters: p50 and p99 are reported as counters, of
// the wall clock and of the thread's own CPU time. On a shared machine the
// wall-clock tail is mostly time the thread waited for a core; the CPU-time
// tail is the work itself.

#include "benchmarks/notes/BenchSupport.h"
#include "calendar/DateValue.h"
#include "core/ProgramFolder.h"
#include "core/uGlobal.h"
#include "notes/store/WeekNotes.h"
#include "notes/window/uMain.h"
#include "store/uDM.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace {

using bench::FillWithFormattedChinese;
using bench::Measure;

struct Week {
    explicit Week(int wordsPerRun)
    {
        folder = qn::ProgramFolder(dir.path());
        folder.ensureDataFolder();
        dm = std::make_unique<TDM>(folder);
        dm->ConnectDatabase();
        for (size_t i = 0; i < 6; ++i) {
            owned[i] = std::make_unique<QTextEdit>();
            boxes[i] = owned[i].get();
            FillWithFormattedChinese(*owned[i], static_cast<int>(i), wordsPerRun);
        }
        BuildWeek(week, qn::EncodeDate(2010, 6, 1));
        SaveWeekBoxes(dm->Notes(), week, boxes);  // rows exist, as after the first keystroke
    }
    QTemporaryDir dir;
    qn::ProgramFolder folder;
    std::unique_ptr<TDM> dm;
    std::array<std::unique_ptr<QTextEdit>, 6> owned;
    NoteBoxes boxes{};
    TWeekConArray week = TWeekConArray(7);
};

void BM_SaveWeekNotes(benchmark::State& state)
{
    Week w(static_cast<int>(state.range(0)));
    int n = 0;
    Measure(state, [&] {
        // A keystroke's worth of change in one box, then the whole-week save.
        QTextCursor c(w.boxes[static_cast<size_t>(n++ % 6)]->document());
        c.insertText(QStringLiteral("字"));
        SaveWeekBoxes(w.dm->Notes(), w.week, w.boxes);
    });
}
BENCHMARK(BM_SaveWeekNotes)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(2000);

// The save as the window makes it: the store state skips the five boxes that
// did not change, so only the typed-in box is written.
void BM_SaveChangedBox(benchmark::State& state)
{
    Week w(static_cast<int>(state.range(0)));
    WeekStoreState stored;
    LoadWeekBoxes(w.dm->Notes(), w.week, w.boxes, &stored);
    int n = 0;
    Measure(state, [&] {
        QTextCursor c(w.boxes[static_cast<size_t>(n++ % 6)]->document());
        c.insertText(QStringLiteral("字"));
        SaveWeekBoxes(w.dm->Notes(), w.week, w.boxes, &stored);
    });
}
BENCHMARK(BM_SaveChangedBox)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(2000);

void BM_LoadWeekNotes(benchmark::State& state)
{
    Week w(static_cast<int>(state.range(0)));
    Measure(state, [&] { LoadWeekBoxes(w.dm->Notes(), w.week, w.boxes); });
}
BENCHMARK(BM_LoadWeekNotes)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(1000);

// A key typed into Monday's box through Qt's event path, until the week is
// saved: what a user feels on every keystroke.
void BM_KeystrokeToSaved(benchmark::State& state)
{
    QTemporaryDir dir;
    const qn::ProgramFolder folder(dir.path());
    folder.ensureDataFolder();
    TDM dm(folder);
    dm.ConnectDatabase();
    TMainFrm window(dm, folder, qn::FixedClock(qn::EncodeDate(2010, 6, 1)));
    window.show();
    for (QTextEdit* box : window.boxes())
        FillWithFormattedChinese(*box, 3, static_cast<int>(state.range(0)));
    QTextEdit* monday = window.boxes()[0];
    monday->setFocus();
    monday->moveCursor(QTextCursor::End);
    Measure(state, [&] { QTest::keyClick(monday, Qt::Key_A); });
}
BENCHMARK(BM_KeystrokeToSaved)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(2000);

}  // namespace
