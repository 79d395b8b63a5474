// Broken, truncated and hostile RTF: never a crash or a hang, and all the
// text that can be made out is kept.

#include "tests/support/RtfTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace rtftest;

namespace {

struct BrokenCase {
    const char* name;
    QByteArray rtf;
    QString text;  // PlainTextCrLf of the result
};

class BrokenRtf : public ::testing::TestWithParam<BrokenCase> { };

TEST_P(BrokenRtf, KeepsWhatItCan)
{
    QTextDocument doc;
    EXPECT_TRUE(ReadRtf(GetParam().rtf, doc));
    EXPECT_EQ(Escaped(PlainTextCrLf(doc)).toStdString(), Escaped(GetParam().text).toStdString());
}

QByteArray Repeat(const char* s, int n) { return QByteArray(s).repeated(n); }

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenRtf,
    ::testing::Values(
        BrokenCase{"Unclosed", "{\\rtf1 abc\\par def", QStringLiteral("abc\r\ndef")},
        BrokenCase{"TooManyCloses", "{\\rtf1 abc}}}} def", QStringLiteral("abc")},
        BrokenCase{"CloseBeforeOpen", "{\\rtf1 a}}{b", QStringLiteral("a")},
        BrokenCase{"OnlyHeader", "{\\rtf", QString()}, BrokenCase{"BackslashAtEnd", "{\\rtf1 a\\", QStringLiteral("a")},
        BrokenCase{"HexAtEnd", "{\\rtf1 a\\'", QStringLiteral("a")},
        BrokenCase{"HalfHexAtEnd", "{\\rtf1 a\\'4", QStringLiteral("a")},
        BrokenCase{"HalfHexThenText", "{\\rtf1 a\\'4xyz}", QStringLiteral("axyz")},
        BrokenCase{"NotHex", "{\\rtf1 a\\'zzb}", QStringLiteral("azzb")},
        BrokenCase{"LeadByteAtEnd", "{\\rtf1 a\\'c4", QStringLiteral("a\uFFFD")},
        BrokenCase{"HugeUnicode", "{\\rtf1 \\u99999999999999999999?b}", QStringLiteral("\uFFFDb")},
        BrokenCase{"HugeNegativeUnicode", "{\\rtf1 \\u-99999999999?b}", QStringLiteral("\uFFFDb")},
        BrokenCase{"UnicodeWithoutNumber", "{\\rtf1 \\u a}", QStringLiteral("a")},
        BrokenCase{"UnicodeZero", "{\\rtf1 \\u0?x}", QStringLiteral("x")},
        BrokenCase{"LoneHighSurrogate", "{\\rtf1 a\\u-10179?}", QStringLiteral("a\uFFFD")},
        BrokenCase{"LoneLowSurrogate", "{\\rtf1 \\u56832?x}", QStringLiteral("\uFFFDx")},
        BrokenCase{"SwappedSurrogates", "{\\rtf1 \\u-8704?\\u-10179?x}", QStringLiteral("\uFFFD\uFFFDx")},
        BrokenCase{"FrameMarkers", "{\\rtf1 \\u64976?\\u64977?x}", QStringLiteral("\uFFFD\uFFFDx")},
        BrokenCase{"HugeFallbackCount", "{\\rtf1 {\\uc999999999 \\u8364 abc}d}", QStringLiteral("€d")},
        BrokenCase{"NegativeFallbackCount", "{\\rtf1 \\uc-4\\u8364 abc}", QStringLiteral("€abc")},
        BrokenCase{"HugeBin", "{\\rtf1 a\\bin999999999999 junk}", QStringLiteral("a")},
        BrokenCase{"NegativeBin", "{\\rtf1 a\\bin-5 b}", QStringLiteral("ab")},
        BrokenCase{"NulBytes", QByteArray("{\\rtf1 a\0b\\'00c}", 17), QStringLiteral("abc")},
        BrokenCase{"ControlBytes", QByteArray("{\\rtf1 a\x01\x02\x1b\x7f b}"), QStringLiteral("a\x7f b")},
        BrokenCase{"LongControlWord", "{\\rtf1 \\" + Repeat("a", 5000) + "123 x}", QStringLiteral("x")},
        BrokenCase{"LongNumber", "{\\rtf1 \\fs" + Repeat("9", 5000) + " x}", QStringLiteral("x")},
        BrokenCase{"DeepNesting", "{\\rtf1 " + Repeat("{", 100000) + "deep" + Repeat("}", 100000) + " after}",
                   QStringLiteral("deep after")},
        BrokenCase{"DeepNestingNeverClosed", "{\\rtf1 " + Repeat("{\\b ", 100000) + "x", QStringLiteral("x")},
        BrokenCase{"TruncatedFontTable", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce", QString()},
        BrokenCase{"FontTableNeverEnds", "{\\rtf1{\\fonttbl{\\f0 A;}\\f0 text", QString()},
        BrokenCase{"StarWithoutWord", "{\\rtf1 {\\* x}y}", QStringLiteral(" xy")},
        BrokenCase{"StarAtEnd", "{\\rtf1 a\\*", QStringLiteral("a")},
        BrokenCase{"DestinationWithoutGroup", "{\\rtf1 a\\info b}", QStringLiteral("a")},
        BrokenCase{"ParFlood", "{\\rtf1 " + Repeat("\\par ", 3) + "x" + Repeat("\\par ", 2) + "}",
                   QStringLiteral("\r\n\r\n\r\nx\r\n")}),
    [](const auto& test) { return std::string(test.param.name); });

struct LimitCase {
    const char* name;
    const char* rtf;
    Attrs attrs;
};

Attrs With(void (*set)(Attrs&))
{
    Attrs a;
    set(a);
    return a;
}

class OutOfRange : public ::testing::TestWithParam<LimitCase> { };

TEST_P(OutOfRange, ValuesAreClampedOrIgnored)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(QByteArray(GetParam().rtf), doc));
    EXPECT_EQ(RunsOf(doc), OneRun(QStringLiteral("x"), GetParam().attrs));
}

INSTANTIATE_TEST_SUITE_P(
    Values, OutOfRange,
    ::testing::Values(LimitCase{"HugeFontSize", "{\\rtf1\\fs99999999999 x}", With([](Attrs& a) { a.points = 1638; })},
                      LimitCase{"ZeroFontSize", "{\\rtf1\\fs0 x}", Attrs()},
                      LimitCase{"NegativeFontSize", "{\\rtf1\\fs-5 x}", Attrs()},
                      LimitCase{"HugePixels", "{\\rtf1\\qnpx999999 x}", With([](Attrs& a) { a.pixels = 2184; })},
                      LimitCase{"HugePoints", "{\\rtf1\\qnpt99999999 x}", With([](Attrs& a) { a.points = 1638; })},
                      LimitCase{"MissingColor", "{\\rtf1\\cf99999 x}", Attrs()},
                      LimitCase{"NegativeColor", "{\\rtf1{\\colortbl;\\red1\\green1\\blue1;}\\cf-1 x}", Attrs()},
                      LimitCase{"ComponentsClamped", "{\\rtf1{\\colortbl\\red999\\green-3\\blue;}\\cf0 x}",
                                With([](Attrs& a) { a.color = QStringLiteral("#ffff0000"); })},
                      LimitCase{"NulInFontName", "{\\rtf1{\\fonttbl{\\f0\\fcharset0 A\\'00B\\u0?;}}\\f0 x}",
                                With([](Attrs& a) { a.family = QStringLiteral("AB"); })},
                      LimitCase{"MissingFont", "{\\rtf1\\f99999 x}", Attrs()},
                      LimitCase{"NegativeFont", "{\\rtf1{\\fonttbl{\\f0 A;}}\\f-1 x}", Attrs()}),
    [](const auto& test) { return std::string(test.param.name); });

// Every prefix of every fixture loads without trouble, and the text of a
// prefix never holds more paragraphs than the whole.
TEST(BrokenRtf, EveryPrefixOfTheFixtures)
{
    for (const char* name : {"wordpad.rtf", "richedit.rtf", "word.rtf", "own.rtf"}) {
        const QByteArray whole = Fixture(name);
        ASSERT_FALSE(whole.isEmpty()) << name;
        QTextDocument full;
        ASSERT_TRUE(ReadRtf(whole, full));
        for (qsizetype n = 0; n <= whole.size(); ++n) {
            QTextDocument doc;
            ReadRtf(whole.left(n), doc);
            ASSERT_LE(doc.blockCount(), full.blockCount()) << name << " cut at " << n;
        }
    }
}

// Random bytes, and fixtures with random bytes flipped, behind an RTF
// header. A fixed seed keeps failures reproducible.
TEST(BrokenRtf, RandomDamage)
{
    std::mt19937 random(20100601);
    std::uniform_int_distribution<int> byte(0, 255);
    const char alphabet[] = "{}\\'*uc0123456789-abfsparlinebin ;\r\n\xc4\xe3";
    std::uniform_int_distribution<int> pick(0, int(sizeof alphabet) - 2);
    for (int round = 0; round < 300; ++round) {
        QByteArray junk("{\\rtf1 ");
        const int length = 1 + round * 7;
        for (int i = 0; i < length; ++i)
            junk += round % 2 ? char(byte(random)) : alphabet[pick(random)];
        QTextDocument doc;
        EXPECT_TRUE(ReadRtf(junk, doc));
        (void)WriteRtf(doc);
    }
    for (const char* name : {"wordpad.rtf", "richedit.rtf", "word.rtf", "own.rtf"}) {
        const QByteArray whole = Fixture(name);
        for (int round = 0; round < 200; ++round) {
            QByteArray damaged = whole;
            for (int i = 0; i < 4; ++i)
                damaged[std::uniform_int_distribution<qsizetype>(7, damaged.size() - 1)(random)] = char(byte(random));
            QTextDocument doc;
            ReadRtf(damaged, doc);
            // Whatever was read can be written and read again unchanged.
            const QByteArray again = WriteRtf(doc);
            QTextDocument back;
            back.setDefaultFont(doc.defaultFont());
            ASSERT_TRUE(ReadRtf(again, back));
            ASSERT_EQ(RunsOf(back), RunsOf(doc)) << name << " round " << round;
        }
    }
}

}  // namespace
