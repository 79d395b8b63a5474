// A save writes six boxes on every keystroke, so one box of about 4 KB of
// formatted Chinese text must be written and read in well under 0.2 ms.

#include "notes/rtf/RtfStream.h"

#include <benchmark/benchmark.h>
#include <QColor>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// About 4 KB of text in code page 936 (two bytes per Chinese character):
// short paragraphs of Chinese with some ASCII, a tick, a marker block and a
// time stamp, formatted the way the editing commands do it. One phrase in
// `formattedEvery` carries a format (bold, colour, another font and size,
// underline and italic in turn); 1 formats every phrase.
void FillNote(QTextDocument& doc, int formattedEvery)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(15);
    doc.setDefaultFont(font);
    QTextCursor cursor(&doc);
    const QString words[] = {
        QStringLiteral("今天上午和客户开会，讨论第三季度的销售计划"),
        QStringLiteral("下午整理会议纪要并发送给项目组"),
        QStringLiteral(" 09:05 "),
        QStringLiteral("√"),
        QStringLiteral("█"),
        QStringLiteral("准备周五的汇报材料（PPT 12页）"),
        QStringLiteral("记得给王经理回电话，确认合同细节"),
    };
    const QColor colors[] = {QColor(0, 0, 255), QColor(255, 0, 0), QColor(255, 0, 255)};
    int n = 0;
    while (doc.characterCount() < 2000) {
        QTextCharFormat f;
        switch (n % formattedEvery ? 0 : n / formattedEvery % 4 + 1) {
        case 1: f.setFontWeight(QFont::Bold); break;
        case 2: f.setForeground(colors[n % 3]); break;
        case 3:
            f.setFontFamilies({QStringLiteral("微软雅黑")});
            f.setProperty(QTextFormat::FontPixelSize, 16);
            break;
        case 4:
            f.setFontUnderline(true);
            f.setFontItalic(true);
            break;
        default: break;
        }
        cursor.insertText(words[n % 7], f);
        if (n % 4 == 3)
            cursor.insertBlock();
        ++n;
    }
}

int Fragments(const QTextDocument& doc)
{
    int n = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            ++n;
    return n;
}

void BM_WriteRtf(benchmark::State& state)
{
    QTextDocument doc;
    FillNote(doc, int(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray rtf = WriteRtf(doc);
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.constData());
    }
    state.counters["rtf_bytes"] = double(bytes);
    state.counters["chars"] = doc.characterCount();
    state.counters["fragments"] = double(Fragments(doc));
}
BENCHMARK(BM_WriteRtf)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

void BM_ReadRtf(benchmark::State& state)
{
    QTextDocument source;
    FillNote(source, int(state.range(0)));
    const QByteArray rtf = WriteRtf(source);
    QTextDocument doc;
    doc.setDefaultFont(source.defaultFont());
    for (auto _ : state) {
        ReadRtf(rtf, doc);
        benchmark::DoNotOptimize(&doc);
    }
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_ReadRtf)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

// The same with a layout attached, as in a note box on screen.
void BM_ReadRtfWithLayout(benchmark::State& state)
{
    QTextDocument source;
    FillNote(source, int(state.range(0)));
    const QByteArray rtf = WriteRtf(source);
    QTextDocument doc;
    doc.setDefaultFont(source.defaultFont());
    doc.setTextWidth(190);
    doc.documentLayout();
    for (auto _ : state) {
        ReadRtf(rtf, doc);
        benchmark::DoNotOptimize(&doc);
    }
}
BENCHMARK(BM_ReadRtfWithLayout)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

void BM_PlainTextCrLf(benchmark::State& state)
{
    QTextDocument doc;
    FillNote(doc, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainTextCrLf(doc));
}
BENCHMARK(BM_PlainTextCrLf)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
