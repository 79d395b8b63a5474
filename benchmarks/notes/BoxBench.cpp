// Long notes in the real main window (offscreen): a keystroke in a box that
// holds a long note, and the load of a week whose Monday holds one. Each
// step includes the box's layout and paint and the week's save, as a user
// feels them. p50 and max are reported as counters (milliseconds).
//
// Shapes (range 0): 0 = Latin letters without a space (one endless word),
// 1 = Chinese without a line break, 2 = short lines of Chinese and Latin.
// Size (range 1): thousands of characters.

#include "calendar/DateValue.h"
#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "notes/store/WeekNotes.h"
#include "notes/window/uMain.h"
#include "store/NoteStore.h"
#include "store/uDM.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

QString LongNote(int shape, qsizetype chars)
{
    QString text;
    text.reserve(chars);
    static const QString chinese = QStringLiteral("今天上午开会讨论项目进度下午去银行办理业务记得买菜和水果");
    for (qsizetype i = 0; text.size() < chars; ++i) {
        switch (shape) {
        case 0: text += QChar(char16_t(u'a' + i % 26)); break;
        case 1: text += chinese[i % chinese.size()]; break;
        default: text += (i % 40 == 39) ? QChar(u'\n') : (i % 3 ? chinese[i % chinese.size()] : QChar(u'x')); break;
        }
    }
    return text;
}

struct Notebook {
    Notebook(int shape, qsizetype chars)
    {
        folder = qn::ProgramFolder(dir.path());
        folder.ensureDataFolder();
        dm = std::make_unique<TDM>(folder);
        dm->ConnectDatabase();
        QTextDocument note;
        QTextCursor(&note).insertText(LongNote(shape, chars));
        const std::vector<qn::DayNote> notes = {NoteFromBox("20100531", note)};
        dm->Notes().WriteDays(notes);
        window = std::make_unique<TMainFrm>(*dm, folder, qn::FixedClock(qn::EncodeDate(2010, 6, 1)));
        window->show();
        QApplication::processEvents();
    }
    QTextEdit* Monday() const { return window->boxes()[0]; }

    QTemporaryDir dir;
    qn::ProgramFolder folder;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainFrm> window;
};

void Report(benchmark::State& state, std::vector<double>& millis)
{
    if (millis.empty())
        return;
    std::sort(millis.begin(), millis.end());
    state.counters["p50_ms"] = millis[millis.size() / 2];
    state.counters["max_ms"] = millis.back();
}

double Millis(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

void BM_KeystrokeInLongNote(benchmark::State& state)
{
    Notebook book(int(state.range(0)), state.range(1) * 1000);
    QTextEdit* monday = book.Monday();
    monday->setFocus();
    monday->moveCursor(QTextCursor::End);
    std::vector<double> millis;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(monday, Qt::Key_A);
        monday->viewport()->repaint();
        millis.push_back(Millis(start));
    }
    Report(state, millis);
}
BENCHMARK(BM_KeystrokeInLongNote)
    ->Args({0, 200})
    ->Args({1, 200})
    ->Args({2, 200})
    ->Args({0, 1000})
    ->Args({2, 1000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void BM_LoadLongNote(benchmark::State& state)
{
    Notebook book(int(state.range(0)), state.range(1) * 1000);
    std::vector<double> millis;
    for (auto _ : state) {
        book.window->LoadWeekNotes(qn::EncodeDate(2010, 6, 15));
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        book.window->LoadWeekNotes(qn::EncodeDate(2010, 6, 1));
        book.Monday()->viewport()->repaint();
        millis.push_back(Millis(start));
    }
    Report(state, millis);
}
BENCHMARK(BM_LoadLongNote)
    ->Args({0, 200})
    ->Args({0, 1000})
    ->Args({1, 1000})
    ->Args({2, 1000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

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
