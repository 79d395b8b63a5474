#include "core/IdleMemory.h"
#include "tests/support/RenderedText.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(IdleMemory, OnlyReadOnlyPrivateFontFileMappingsAreDropped)
{
    const struct {
        const char* line;
        bool font;
    } cases[] = {
        {"7f10a0000000-7f10a1000000 r--p 00000000 08:01 1234 /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
         true},
        {"7f10a0000000-7f10a0001000 r--p 00001000 08:01 99 /home/user/My Fonts/Some Face.TTF", true},
        {"7f10a0000000-7f10a0001000 r--p 00000000 08:01 99 /usr/share/fonts/truetype/x.otf", true},
        // Written to, shared with others, executable or not a file: never.
        {"7f10a0000000-7f10a0001000 rw-p 00000000 08:01 99 /usr/share/fonts/truetype/x.ttf", false},
        {"7f10a0000000-7f10a0001000 r--s 00000000 08:01 99 /usr/share/fonts/truetype/x.ttf", false},
        {"7f10a0000000-7f10a0001000 r-xp 00000000 08:01 99 /usr/share/fonts/truetype/x.ttf", false},
        {"55d0c0000000-55d0c0021000 rw-p 00000000 00:00 0 [heap]", false},
        {"7f10a0000000-7f10a0001000 r--p 00000000 00:00 0", false},
        {"7f10a0000000-7f10a0001000 r--p 00000000 08:01 5 /usr/lib/x86_64-linux-gnu/libQt6Gui.so.6.4.2", false},
        {"7f10a0000000-7f10a0001000 r--p 00000000 08:01 5 /tmp/notes.ttf.sqlite", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qn::IsReadOnlyFontMapping(QString::fromUtf8(c.line)), c.font) << c.line;
}

// Kilobytes of this process's font file pages in memory.
long long FontPagesKb()
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    long long kb = 0;
    bool inFont = false;
    for (const QByteArray& raw : smaps.readAll().split('\n')) {
        const QString line = QString::fromLocal8Bit(raw);
        const QString first = line.section(QLatin1Char(' '), 0, 0);
        if (!first.endsWith(QLatin1Char(':')))
            inFont = qn::IsReadOnlyFontMapping(line);  // a mapping's first line
        else if (inFont && first == QLatin1String("Rss:"))
            kb += line.section(QLatin1Char(':'), 1).simplified().section(QLatin1Char(' '), 0, 0).toLongLong();
    }
    return kb;
}

// The dropped pages come back from the file: glyphs first drawn after the
// release are the very same as before it.
TEST(IdleMemory, FontPagesGoAndGlyphsDrawnAfterwardsAreUnchanged)
{
    const QString family = QStringLiteral("Noto Serif CJK SC");
    if (!QFontDatabase::hasFamily(family))
        GTEST_SKIP() << "no " << family.toStdString();
    QFont before(family);
    before.setPixelSize(48);
    const QString text = QStringLiteral("永远记事");
    const QImage drawnBefore = qn::test::RenderedText(before, text);
    ASSERT_GT(FontPagesKb(), 0);

    qn::ReleaseIdleMemory();
    EXPECT_EQ(FontPagesKb(), 0);

    // Another font engine for the same face and size: its glyphs are read
    // from the file again, not taken from the first engine's cache.
    QFont after = before;
    after.setStyleStrategy(QFont::PreferQuality);
    EXPECT_EQ(qn::test::RenderedText(after, text), drawnBefore);
    EXPECT_GT(FontPagesKb(), 0);
}

}  // namespace
