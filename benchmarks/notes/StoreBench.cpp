// Save and load of a whole week: six boxes of about 4 KB of formatted Chinese
// text each, on a database file in a temporary folder. A save runs on every
// keystroke, so its tail matters: p50 and p99 are reported as counters, of
// the wall clock and of the thread's own CPU time. On a shared machine the
// wall-clock tail is mostly time the thread waited for a core; the CPU-time
// tail is the work itself.

#include "calendar/DateValue.h"
#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "core/uGlobal.h"
#include "notes/store/WeekNotes.h"
#include "notes/window/uMain.h"
#include "store/uDM.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

// About 4 KB of text (GBK bytes). The format changes every wordsPerRun
// words: 1 is a worst case of a change every few characters, 6 is closer to
// a note with a coloured or bold phrase here and there.
void FillWithFormattedChinese(QTextEdit& box, int seed, int wordsPerRun)
{
    static const QString words[] = {QStringLiteral("今天上午开会讨论"),     QStringLiteral("项目进度"),
                                    QStringLiteral("下午去银行办理业务，"), QStringLiteral("记得买菜和水果。"),
                                    QStringLiteral("周末计划：爬山、看书"), QStringLiteral("重要！")};
    box.clear();
    QTextCursor cursor(box.document());
    int bytes = 0;
    for (int i = 0; bytes < 4096; ++i) {
        const int run = i / wordsPerRun;
        QTextCharFormat format;
        format.setFontFamilies({run % 3 ? QStringLiteral("宋体") : QStringLiteral("微软雅黑")});
        format.setFontPointSize(9 + (run + seed) % 4 * 2);
        format.setFontWeight((run + seed) % 5 == 0 ? QFont::Bold : QFont::Normal);
        format.setFontItalic((run + seed) % 7 == 0);
        format.setForeground(QColor::fromRgb(((run * 40) % 256), 0, ((run * 90 + seed) % 256)));
        const QString& word = words[(i + seed) % 6];
        cursor.insertText(word, format);
        bytes += static_cast<int>(word.size()) * 2;
        if (i % 12 == 11)
            cursor.insertBlock();
    }
}

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

void ReportPercentiles(benchmark::State& state, const char* prefix, std::vector<double>& micros)
{
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    state.counters[std::string(prefix) + "p50_us"] = micros[micros.size() / 2];
    state.counters[std::string(prefix) + "p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

double ThreadCpuMicros()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

template <typename Step>
void Measure(benchmark::State& state, Step step)
{
    std::vector<double> wall, cpu;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMicros();
        step();
        cpu.push_back(ThreadCpuMicros() - cpuStart);
        wall.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    ReportPercentiles(state, "", wall);
    ReportPercentiles(state, "cpu_", cpu);
}

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
