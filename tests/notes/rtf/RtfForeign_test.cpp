// RTF as Windows editors write it: hand-made fixtures modelled on WordPad,
// a rich-edit box and Word, and short snippets for single features.

#include "tests/support/RtfTestSupport.h"

#include <gtest/gtest.h>
#include <QTextCursor>

using namespace rtftest;

namespace {

QTextDocument* Load(const QByteArray& rtf)
{
    auto* doc = new QTextDocument;
    UseBoxFont(*doc);
    EXPECT_TRUE(ReadRtf(rtf, *doc));
    return doc;
}

// The run holding `text`; fails the test when there is none.
Attrs AttrsAt(const QTextDocument& doc, const QString& text)
{
    for (const Paragraph& p : RunsOf(doc))
        for (const Run& r : p)
            if (r.text.contains(text))
                return r.attrs;
    ADD_FAILURE() << "no run holds " << Escaped(text).toStdString();
    return {};
}

Attrs Font(const char* family, double points, int charset = -1)
{
    Attrs a;
    a.family = QString::fromUtf8(family);
    a.points = points;
    a.charset = charset;
    return a;
}

TEST(RtfForeign, WordPad)
{
    std::unique_ptr<QTextDocument> doc(Load(Fixture("wordpad.rtf")));
    EXPECT_EQ(PlainTextCrLf(*doc), QStringLiteral("今天开会 Monday\r\n重要 √ italic under gone\r\n蓝█"));
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("今天开会")), Font("宋体", 11));
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral(" Monday")), Font("Calibri", 11));
    Attrs bold = Font("宋体", 11);
    bold.weight = QFont::Bold;
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("重要")), bold);
    Attrs red = Font("宋体", 11);
    red.color = QStringLiteral("#ffff0000");
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("√")), red);
    Attrs italic = Font("Calibri", 11);
    italic.italic = true;
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("italic")), italic);
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("under")).underline, QTextCharFormat::SingleUnderline);
    EXPECT_TRUE(AttrsAt(*doc, QStringLiteral("gone")).strike);
    Attrs blue = Font("宋体", 15);
    blue.color = QStringLiteral("#ff0000ff");
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("蓝█")), blue);
}

TEST(RtfForeign, RichEditBox)
{
    std::unique_ptr<QTextDocument> doc(Load(Fixture("richedit.rtf")));
    EXPECT_EQ(PlainTextCrLf(*doc), QStringLiteral("丂乗 😀 end\r\ncafé “q”\r\n\tx\u00A0y\u00ADz\u2011w"));
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("😀")), Font("宋体", 9));
    Attrs magenta = Font("Arial", 9);
    magenta.color = QStringLiteral("#ffff00ff");
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("café “q”")), magenta);
}

TEST(RtfForeign, Word)
{
    std::unique_ptr<QTextDocument> doc(Load(Fixture("word.rtf")));
    EXPECT_EQ(PlainTextCrLf(*doc), QStringLiteral("上午啊€xlink—Пркあ\r\n1.\tword"));
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("上午")), Font("宋体", 10.5));
    Attrs bold = Font("宋体", 10.5);
    bold.weight = QFont::Bold;
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("啊")), bold) << "\\uc2 skips both fallback bytes";
    Attrs link = Font("Times New Roman", 10.5);
    link.underline = QTextCharFormat::SingleUnderline;
    link.color = QStringLiteral("#ffff0000");
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("link")), link);
    Attrs dash;
    dash.points = 10.5;
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("—")), dash);
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("Прк")), Font("Cambria Cyr", 10.5, 204));
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("あ")), Font("MS Mincho", 10.5, 128));
}

TEST(RtfForeign, NotesWrittenByThisProgram)
{
    std::unique_ptr<QTextDocument> doc(Load(Fixture("own.rtf")));
    EXPECT_EQ(PlainTextCrLf(*doc), QStringLiteral("周一：█交报告\r\n下午😀\r\n\r\n√ 已完成\t\\{}"));
    Attrs bold;
    bold.weight = QFont::Bold;
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("周一：")), bold);
    Attrs block;
    block.color = QStringLiteral("#ff0000ff");
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("█")), block);
    Attrs yahei;
    yahei.family = QStringLiteral("微软雅黑");
    yahei.pixels = 16;
    yahei.underline = QTextCharFormat::SingleUnderline;
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("下午😀")), yahei);
    Attrs done;
    done.points = 10.33;
    done.color = QStringLiteral("#ffff0000");
    done.strike = true;
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("√ 已完成")), done);
    EXPECT_EQ(AttrsAt(*doc, QStringLiteral("\\{}")), Attrs());
}

struct SnippetCase {
    const char* name;
    const char* rtf;
    QString text;  // PlainTextCrLf of the result
};

class RtfSnippet : public ::testing::TestWithParam<SnippetCase> { };

TEST_P(RtfSnippet, ReadsTheText)
{
    QTextDocument doc;
    EXPECT_TRUE(ReadRtf(QByteArray(GetParam().rtf), doc));
    EXPECT_EQ(Escaped(PlainTextCrLf(doc)).toStdString(), Escaped(GetParam().text).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Snippets, RtfSnippet,
    ::testing::Values(
        SnippetCase{"NoFinalPar", R"({\rtf1 a\par b})", QStringLiteral("a\r\nb")},
        SnippetCase{"FinalParEndsTheLastParagraph", R"({\rtf1 a\par})", QStringLiteral("a")},
        SnippetCase{"TwoFinalPars", R"({\rtf1 a\par\par})", QStringLiteral("a\r\n")},
        SnippetCase{"BackslashNewlineIsPar", "{\\rtf1 a\\\r\nb}", QStringLiteral("a\r\nb")},
        SnippetCase{"LineBreaksInSourceAreNotText", "{\\rtf1 a\r\nb\nc}", QStringLiteral("abc")},
        SnippetCase{"SectPageRow", R"({\rtf1 a\sect b\page c})", QStringLiteral("a\r\nb\r\nc")},
        SnippetCase{"TableCells", R"({\rtf1\trowd\cellx1000\cellx2000 a\cell b\cell\row c})",
                    QStringLiteral("a\tb\t\r\nc")},
        SnippetCase{"NoCodePageIs936", R"({\rtf1 \'c4\'e3\'ba\'c3})", QStringLiteral("你好")},
        SnippetCase{"AnsiIs1252", R"({\rtf1\ansi caf\'e9})", QStringLiteral("café")},
        SnippetCase{"AnsiCpg1251", R"({\rtf1\ansi\ansicpg1251 \'c0})", QStringLiteral("А")},
        SnippetCase{
            "FontCharsetWins",
            R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset134 SimSun;}}\f0 \'e9\f1 \'c4\'e3})",
            QStringLiteral("é你")},
        SnippetCase{"FontWithoutCharsetUsesDocumentPage",
                    R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0 Arial;}}\f0 \'c4\'e3})", QStringLiteral("你")},
        SnippetCase{"FontCodePage", R"({\rtf1{\fonttbl{\f0\cpg1251 X;}}\f0 \'c0})", QStringLiteral("А")},
        SnippetCase{"OldFontTableWithoutGroups",
                    R"({\rtf1{\fonttbl\f0\fswiss\fcharset0 Helv;\f1\fcharset134 Song;}\f1 \'c4\'e3\f0 \'e9})",
                    QStringLiteral("你é")},
        SnippetCase{"UppercaseHex", R"({\rtf1 \'C4\'E3})", QStringLiteral("你")},
        SnippetCase{"TrailByteAsText", R"({\rtf1 \'81@\'81\\})", QStringLiteral("丂乗")},
        SnippetCase{"EuroSingleByte", R"({\rtf1\ansicpg936 \'80})", QStringLiteral("€")},
        SnippetCase{"InvalidPair", R"({\rtf1 \'81\'7f.})", QStringLiteral("\uFFFD.")},
        SnippetCase{"LeadAtEndOfRun", R"({\rtf1 \'c4{\b x}})", QStringLiteral("\uFFFDx")},
        SnippetCase{"Uc1", R"({\rtf1\uc1\u20320?\u22909?})", QStringLiteral("你好")},
        SnippetCase{"Uc0", R"({\rtf1\uc0\u20320\u22909 x})", QStringLiteral("你好x")},
        SnippetCase{"Uc2WithHexFallback", R"({\rtf1\uc2\u20320\'c4\'e3x})", QStringLiteral("你x")},
        SnippetCase{"UcIsPerGroup", R"({\rtf1{\uc2\u20320\'c4\'e3}\u22909?y})", QStringLiteral("你好y")},
        SnippetCase{"FallbackEndsAtGroup", R"({\rtf1\uc3\u20320?{\b x}})", QStringLiteral("你x")},
        SnippetCase{"NegativeUnicode", R"({\rtf1\u-10179?\u-8704?})", QStringLiteral("😀")},
        SnippetCase{"UnicodeAbove32767", R"({\rtf1\u55357?\u56832?})", QStringLiteral("😀")},
        SnippetCase{"IgnorableDestinations", R"({\rtf1 a{\*\foo b{c}}d{\*\generator x;}e})", QStringLiteral("ade")},
        SnippetCase{"UnknownControlWords", R"({\rtf1\nouicompat\foo12 a\bar-3 b\x})", QStringLiteral("ab")},
        SnippetCase{"SkippedDestinations",
                    R"({\rtf1{\info{\title t}}{\stylesheet{s;}}{\pict 0102}{\header h}a{\footnote f}})",
                    QStringLiteral("a")},
        SnippetCase{"FieldResultIsText", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})",
                    QStringLiteral("link")},
        SnippetCase{"Upr", R"({\rtf1{\upr{ansi}{\*\ud{uni}}}})", QStringLiteral("uni")},
        SnippetCase{"HiddenText", R"({\rtf1 a{\v hidden\par}b\v c\v0 d})", QStringLiteral("abd")},
        SnippetCase{"ControlSymbols", R"({\rtf1 a\~b\-c\_d\|e\:f\{\}\\})",
                    QStringLiteral("a\u00A0b\u00ADc\u2011def{}\\")},
        SnippetCase{"SpecialCharacters",
                    R"({\rtf1\lquote\rquote\ldblquote\rdblquote\bullet\endash\emdash\emspace\enspace})",
                    QStringLiteral("‘’“”•–—\u2003\u2002")},
        SnippetCase{"TabsAndLines", "{\\rtf1 a\\tab b\tc\\line d}", QStringLiteral("a\tb\tc\r\nd")},
        SnippetCase{"BinarySkipped", "{\\rtf1 a{\\pict\\bin5 }}{\\}}b}", QStringLiteral("ab")},
        SnippetCase{"BinaryInText", "{\\rtf1 a\\bin3 xyzb}", QStringLiteral("ab")},
        SnippetCase{"TextAfterDocumentIgnored", R"({\rtf1 a}b{c})", QStringLiteral("a")},
        SnippetCase{"LeadingWhitespaceAndBom", "\xEF\xBB\xBF \r\n{\\rtf1 a}", QStringLiteral("a")},
        SnippetCase{"PnText",
                    R"({\rtf1\ansi\ansicpg1252{\pntext\f0 \'b7\tab}{\*\pn\pnlvlblt{\pntxtb x}}{\pn{\pntxta y}}item})",
                    QStringLiteral("·\titem")}),
    [](const auto& test) { return std::string(test.param.name); });

// Groups restore the formatting they changed; \plain and \pard reset.
TEST(RtfForeign, GroupsRestoreFormatting)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(
        R"({\rtf1{\colortbl;\red255\green0\blue0;}a{\b b{\i\cf1 c}d}e\ul f\ul0 g\ul h\ulnone i\strike j\strike0\b k\b0 l\i m\plain n})",
        doc));
    auto weight = [&](const char* t) { return AttrsAt(doc, QLatin1String(t)).weight; };
    EXPECT_EQ(weight("a"), QFont::Normal);
    EXPECT_EQ(weight("b"), QFont::Bold);
    const Attrs c = AttrsAt(doc, QStringLiteral("c"));
    EXPECT_EQ(c.weight, QFont::Bold);
    EXPECT_TRUE(c.italic);
    EXPECT_EQ(c.color, QStringLiteral("#ffff0000"));
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("d")).color, QString());
    EXPECT_FALSE(AttrsAt(doc, QStringLiteral("d")).italic);
    EXPECT_EQ(weight("e"), QFont::Normal);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("f")).underline, QTextCharFormat::SingleUnderline);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("g")).underline, QTextCharFormat::NoUnderline);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("h")).underline, QTextCharFormat::SingleUnderline);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("i")).underline, QTextCharFormat::NoUnderline);
    EXPECT_TRUE(AttrsAt(doc, QStringLiteral("j")).strike);
    EXPECT_EQ(weight("k"), QFont::Bold);
    EXPECT_FALSE(AttrsAt(doc, QStringLiteral("k")).strike);
    EXPECT_EQ(weight("l"), QFont::Normal);
    EXPECT_TRUE(AttrsAt(doc, QStringLiteral("m")).italic);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("n")), Attrs());
}

// An empty line takes the formatting in effect at its paragraph mark, so
// typing into it continues in that formatting.
TEST(RtfForeign, EmptyLinesKeepTheFormattingOfTheirMark)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(R"({\rtf1{\b bold}\par\par\b x\par\par\b0 y})", doc));
    ASSERT_EQ(doc.blockCount(), 5);
    EXPECT_EQ(doc.findBlockByNumber(1).charFormat().fontWeight(), QFont::Normal);
    EXPECT_EQ(doc.findBlockByNumber(3).charFormat().fontWeight(), QFont::Bold);
    EXPECT_FALSE(doc.isModified());
}

// The protected effect has nothing to map to in a QTextEdit: it is read
// as nothing, so protected text is ordinary text.
TEST(RtfForeign, ProtectIsIgnored)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(R"({\rtf1 a{\protect b}\protect c\protect0 d})", doc));
    EXPECT_EQ(RunsOf(doc), OneRun(QStringLiteral("abcd"), Attrs()));
    EXPECT_FALSE(WriteRtf(doc).contains("protect"));
}

TEST(RtfForeign, ColorTableEntries)
{
    QTextDocument doc;
    // No leading ';': \cf0 is a real colour. An empty entry is automatic.
    ASSERT_TRUE(ReadRtf(R"({\rtf1{\colortbl\red0\green128\blue0;;\red1\green2\blue3;}\cf0 a\cf1 b\cf2 c\cf3 d})", doc));
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("a")).color, QStringLiteral("#ff008000"));
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("b")).color, QString());
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("c")).color, QStringLiteral("#ff010203"));
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("d")).color, QString());
}

TEST(RtfForeign, FontSizes)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(R"({\rtf1\fs21 a\fs24\qnpx15 b\qnfsi c\fs23\qnpt1133 d\plain e})", doc));
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("a")).points, 10.5);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("b")).pixels, 15);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("b")).points, 0);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("c")), Attrs());
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("d")).points, 11.33);
    EXPECT_EQ(AttrsAt(doc, QStringLiteral("e")), Attrs());
}

struct PlainBytesCase {
    const char* name;
    QByteArray bytes;
    QString text;
};

class NotRtf : public ::testing::TestWithParam<PlainBytesCase> { };

TEST_P(NotRtf, IsShownAsPlainText)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("旧"));
    EXPECT_FALSE(ReadRtf(GetParam().bytes, doc));
    EXPECT_EQ(PlainTextCrLf(doc), GetParam().text);
    EXPECT_FALSE(doc.isUndoAvailable());
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, NotRtf,
    ::testing::Values(PlainBytesCase{"Gbk", QByteArray("\xbd\xf1\xcc\xec abc"), QStringLiteral("今天 abc")},
                      PlainBytesCase{"Gb18030FourBytes", QByteArray("\x95\x32\x82\x36"), QStringLiteral("𠀀")},
                      PlainBytesCase{"Utf8WithBom", QByteArray("\xEF\xBB\xBF今天"), QStringLiteral("今天")},
                      PlainBytesCase{"Lines", QByteArray("a\r\nb\nc"), QStringLiteral("a\r\nb\r\nc")},
                      PlainBytesCase{"AlmostRtf", QByteArray("{\\rt"), QStringLiteral("{\\rt")},
                      PlainBytesCase{"NulBytes", QByteArray("a\0b", 3), QStringLiteral("ab")}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(RtfReader, EmptyBytesGiveAnEmptyDocument)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("旧"));
    EXPECT_TRUE(ReadRtf(QByteArray(), doc));
    EXPECT_TRUE(doc.isEmpty());
}

}  // namespace
