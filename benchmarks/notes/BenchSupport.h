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

inline void ReportPercentiles(benchmark::State& state, std::vector<double>& micros)
{
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    state.counters["p50_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

template <typename Step>
void Measure(benchmark::State& state, Step step)
{
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        step();
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    ReportPercentiles(state, micros);
}

}  // namespace bench
