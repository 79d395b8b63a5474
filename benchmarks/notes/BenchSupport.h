#pragma once
// What the notes benchmarks share: formatted Chinese text for a box, and
// timing of single steps with their p50 and p99 reported as counters.

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace bench {

// About 4 KB of text (GBK bytes). The format changes every wordsPerRun
// words: 1 is a worst case of a change every few characters, 6 is closer to
// a note with a coloured or bold phrase here and there.
inline void FillWithFormattedChinese(QTextEdit& box, int seed, int wordsPerRun)
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

inline void ReportPercentiles(benchmark::State& state, std::vector<double>& micros, const char* prefix = "")
{
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    state.counters[std::string(prefix) + "p50_us"] = micros[micros.size() / 2];
    state.counters[std::string(prefix) + "p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

// The time the calling thread spent on the processor, in microseconds: on
// a machine shared with other work it shows the step's own cost, where the
// wall time also holds the waits for a processor.
inline double ThreadCpuMicros()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// Wall time (p50_us, p99_us) and the thread's processor time (cpu_p50_us,
// cpu_p99_us) of each step.
template <typename Step>
void Measure(benchmark::State& state, Step step)
{
    std::vector<double> micros;
    std::vector<double> cpuMicros;
    for (auto _ : state) {
        const double cpuStart = ThreadCpuMicros();
        const auto start = std::chrono::steady_clock::now();
        step();
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        cpuMicros.push_back(ThreadCpuMicros() - cpuStart);
    }
    ReportPercentiles(state, micros);
    ReportPercentiles(state, cpuMicros, "cpu_");
}

}  // namespace bench
