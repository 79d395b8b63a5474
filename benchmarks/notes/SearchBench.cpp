// Search and saves on a notebook of 100 years (5,200 weeks x 6 notes of about
// 2 KB): the first 50 days for searches of 1, 2 and 4 Chinese characters
// through the index (and, for comparison, by reading the notes), a week's
// save with the index kept in step, and the start-up check of the index.
// Each step's p50 and p99 are counters; "days" is how many days hold the
// text in all.

#include "benchmarks/notes/BenchSupport.h"
#include "benchmarks/notes/HundredYearNotebook.h"
#include "calendar/DateValue.h"
#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "core/uGlobal.h"
#include "notes/store/WeekNotes.h"
#include "store/NoteSearch.h"
#include "store/SearchKeeper.h"
#include "store/SearchTokenizer.h"
#include "store/SqliteConnection.h"
#include "store/SqliteStatement.h"
#include "store/uDM.h"

#include <QApplication>
#include <QDate>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>

#include <array>
#include <atomic>
#include <cstdio>
#include <memory>

namespace {

// A copy of the 100-year notebook, open as the notebook opens it, with its
// index in step.
struct Notebook {
    Notebook()
    {
        folder = qn::ProgramFolder(dir.path());
        folder.ensureDataFolder();
        ok = bench::CopyNotebookInto(folder.dataFolder());
        dm = std::make_unique<TDM>(folder);
        ok = ok && dm->ConnectDatabase() && dm->Search().WaitForKeeper(3600 * 1000) && dm->Search().IndexInStep();
        if (!ok)
            std::fprintf(stderr, "The 100-year notebook could not be opened.\n");
    }
    QTemporaryDir dir;
    qn::ProgramFolder folder;
    std::unique_ptr<TDM> dm;
    bool ok = false;
};

Notebook& SearchNotebook()
{
    static Notebook notebook;
    return notebook;
}

void Search(benchmark::State& state, const char* text, bool throughIndex)
{
    Notebook& notebook = SearchNotebook();
    if (!notebook.ok) {
        state.SkipWithError("no notebook");
        return;
    }
    const QString query = QString::fromUtf8(text);
    sqlite3* db = qn::SqliteHandle(notebook.dm->AdoCon());
    size_t hits = 0;
    bool fromIndex = true;
    bench::Measure(state, [&] {
        const auto found = throughIndex ? notebook.dm->Search().Find(query, 50) : qn::ScanNotes(db, query, 50);
        hits = found.value.hits.size();
        fromIndex = fromIndex && found.value.fromIndex;
    });
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["from_index"] = fromIndex ? 1 : 0;
    state.counters["days"] = static_cast<double>(notebook.dm->Search().Find(query, 0).value.hits.size());
}

void BM_SearchFirst50(benchmark::State& state, const char* text) { Search(state, text, true); }
void BM_ScanFirst50(benchmark::State& state, const char* text) { Search(state, text, false); }

// One character: common, rare; two: common, rare; four: a phrase, a rare
// phrase, and characters whose pairs are all common but which no note holds
// in that order (every pair's list is walked to the end).
#define QN_SEARCHES(bm, iterations)                                                                                    \
    BENCHMARK_CAPTURE(bm, one_common, "会")->Unit(benchmark::kMillisecond)->Iterations(iterations);                    \
    BENCHMARK_CAPTURE(bm, one_rare, "琴")->Unit(benchmark::kMillisecond)->Iterations(iterations);                      \
    BENCHMARK_CAPTURE(bm, two_common, "会议")->Unit(benchmark::kMillisecond)->Iterations(iterations);                  \
    BENCHMARK_CAPTURE(bm, two_rare, "鹦鹉")->Unit(benchmark::kMillisecond)->Iterations(iterations);                    \
    BENCHMARK_CAPTURE(bm, four_common, "项目进度")->Unit(benchmark::kMillisecond)->Iterations(iterations);             \
    BENCHMARK_CAPTURE(bm, four_rare, "钓鱼比赛")->Unit(benchmark::kMillisecond)->Iterations(iterations);               \
    BENCHMARK_CAPTURE(bm, four_none, "，开会议")->Unit(benchmark::kMillisecond)->Iterations(iterations);               \
    BENCHMARK_CAPTURE(bm, latin_any_case, "python")->Unit(benchmark::kMillisecond)->Iterations(iterations)

QN_SEARCHES(BM_SearchFirst50, 200);
QN_SEARCHES(BM_ScanFirst50, 5);

// A keystroke's worth of change in one box of the newest week, then the
// whole-week save, with the index following in the same transaction
// (second argument 1) or, for comparison, without it (0).
void BM_SaveWeekWithIndex(benchmark::State& state)
{
    Notebook notebook;
    if (!notebook.ok) {
        state.SkipWithError("no notebook");
        return;
    }
    if (state.range(1) == 0)
        notebook.dm->Notes().SetDayWritten({});
    std::array<std::unique_ptr<QTextEdit>, 6> owned;
    NoteBoxes boxes{};
    for (size_t i = 0; i < 6; ++i) {
        owned[i] = std::make_unique<QTextEdit>();
        boxes[i] = owned[i].get();
        bench::FillWithFormattedChinese(*owned[i], static_cast<int>(i), static_cast<int>(state.range(0)));
    }
    TWeekConArray week(7);
    const QDate last = QDate(bench::kFirstYear, 12, 31).addYears(99);
    BuildWeek(week, qn::EncodeDate(last.year(), last.month(), last.day()));
    SaveWeekBoxes(notebook.dm->Notes(), week, boxes);
    int n = 0;
    bench::Measure(state, [&] {
        QTextCursor c(boxes[static_cast<size_t>(n++ % 6)]->document());
        c.insertText(QStringLiteral("字"));
        SaveWeekBoxes(notebook.dm->Notes(), week, boxes);
    });
    state.counters["index_in_step"] = notebook.dm->Search().IndexInStep() ? 1 : 0;
}
BENCHMARK(BM_SaveWeekWithIndex)
    ->Args({6, 1})
    ->Args({6, 0})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2000);

// The start-up check of an index in step: every note is read and compared
// (in the background; searches read the notes meanwhile).
void BM_StartupCheckInStep(benchmark::State& state)
{
    Notebook& notebook = SearchNotebook();
    if (!notebook.ok) {
        state.SkipWithError("no notebook");
        return;
    }
    qn::SqliteConnection db(notebook.folder.dataFile(QStringLiteral("UserData.mdb")),
                            qn::SqliteConnection::Mode::ReadWrite);
    qn::RegisterSearchTokenizer(db.handle());
    std::atomic<bool> stop{false};
    bench::Measure(state, [&] { benchmark::DoNotOptimize(qn::BringSearchIndexInStep(db.handle(), stop)); });
}
BENCHMARK(BM_StartupCheckInStep)->Unit(benchmark::kMillisecond)->Iterations(3);

// Building the whole index from nothing, as the first start with a
// notebook from before the index does, in the background.
void BM_IndexBuildFromNothing(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!bench::CopyNotebookInto(dir.path())) {
        state.SkipWithError("no notebook");
        return;
    }
    qn::SqliteConnection db(dir.path() + QStringLiteral("/UserData.mdb"), qn::SqliteConnection::Mode::ReadWrite);
    db.Execute("PRAGMA synchronous=NORMAL");  // as the keeper has it
    qn::RegisterSearchTokenizer(db.handle());
    std::atomic<bool> stop{false};
    bench::Measure(state, [&] {
        db.Execute("DROP TABLE qn_search");
        db.Execute("DROP TABLE qn_search_days");
        benchmark::DoNotOptimize(qn::BringSearchIndexInStep(db.handle(), stop));
    });
}
BENCHMARK(BM_IndexBuildFromNothing)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qn::SetMessageSink([](const QString&, const QString&) {});
    benchmark::Initialize(&argc, argv);
    const bench::GeneratedNotebook notebook = bench::HundredYearNotebook();
    if (notebook.generateSeconds > 0)
        std::fprintf(stderr, "100-year notebook: rows %.1f s, index from nothing %.1f s\n", notebook.generateSeconds,
                     notebook.indexSeconds);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
