// Pasted HTML reduced to what a note keeps, and what a paste takes from the
// clipboard's flavours.

#include "notes/rtf/HtmlReader.h"
#include "notes/rtf/PastedContent.h"
#include "tests/support/RtfTestSupport.h"

#include <gtest/gtest.h>
#include <QMimeData>
#include <QTextCursor>

using namespace rtftest;

namespace {

Runs Read(const QString& html, qn::HtmlReadResult expected = qn::HtmlReadResult::Read)
{
    QTextDocument doc;
    UseBoxFont(doc);
    EXPECT_EQ(qn::ReadHtmlSubset(html, doc), expected);
    return RunsOf(doc);
}

// Paragraphs of plain runs (no formats), for cases about text and structure.
Runs Plain(std::initializer_list<const char*> paragraphs)
{
    Runs runs;
    for (const char* p : paragraphs) {
        Paragraph paragraph;
        if (*p)
            paragraph.push_back(rtftest::Run{QString::fromUtf8(p), Attrs{}});
        runs.push_back(paragraph);
    }
    return runs;
}

Attrs Bold(int pixels = 0)
{
    Attrs a;
    a.weight = QFont::Bold;
    a.pixels = pixels;
    return a;
}

struct TextCase {
    const char* name;
    const char* html;
    Runs expected;
};

class HtmlText : public ::testing::TestWithParam<TextCase> { };

TEST_P(HtmlText, ReadsAsABrowserShowsIt) { EXPECT_EQ(Read(QString::fromUtf8(GetParam().html)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlText,
    ::testing::Values(
        TextCase{"WhiteSpaceCollapses", "  one \n\t two  <span> three</span> ", Plain({"one two three"})},
        TextCase{"BlocksAreParagraphsWithoutEmptyOnes",
                 "<div><p>a</p><p>b</p></div><div></div><h4>c</h4>",
                 {{rtftest::Run{"a", {}}}, {rtftest::Run{"b", {}}}, {rtftest::Run{"c", Bold()}}}},
        TextCase{"EachBreakIsAParagraph", "a<br>b<br><br>c<br>", Plain({"a", "b", "", "c"})},
        TextCase{"ListItemsAreLines", "<ul><li>one<li>two</ul><ol><li><p>three</p></li></ol>",
                 Plain({"one", "two", "three"})},
        TextCase{"TableRowsAreLinesOfTabbedCells",
                 "x<table><tr><td> a </td><td><p>b</p><p>c</p></td></tr><tr><td></td><td>d</td></table>y",
                 Plain({"x", "a\tb c", "\td", "y"})},
        TextCase{"NestedTableInACellStaysInTheRow", "<table><tr><td>a<table><tr><td>b<td>c</table></td></tr></table>",
                 Plain({"a b\tc"})},
        TextCase{"PreKeepsItsSpacesAndLines", "<pre>\n a\n  b\tc</pre>d", Plain({" a", "  b\tc", "d"})},
        TextCase{"CharacterReferences", "&lt;&amp;&#x4E2D;&#20013;&nbsp;x &bogus; &amp &#0; &#128; &#x110000;",
                 Plain({"<&中中 x &bogus; & \xEF\xBF\xBD \xE2\x82\xAC \xEF\xBF\xBD"})},
        TextCase{"PicturesObjectsScriptsAndHiddenTextAreDropped",
                 "<head><title>t</title><style>p{}</style></head>a<img src=\"file:///dev/zero\">"
                 "<object data=\"x\">o</object><svg><text>s</text></svg><script>if (a < b) x();</script>"
                 "<span style=\"display:none\">h</span><p hidden>h</p><select><option>o</select>b\xEF\xBF\xBC"
                 "<!-- c --><![if !supportLists]>c<![endif]><!DOCTYPE html><?xml?>",
                 Plain({"abc"})},
        TextCase{"ClipboardFragmentOfABrowser",
                 "<html><body>\r\n<!--StartFragment--><span>你好</span><!--EndFragment-->\r\n</body></html>",
                 Plain({"你好"})},
        TextCase{"BrokenMarkupKeepsItsText", "a < b <3 </ x> c</p>d<p", Plain({"a < b <3 c", "d"})}),
    [](const ::testing::TestParamInfo<TextCase>& c) { return std::string(c.param.name); });

TEST(HtmlFormats, TagsAndStylesGiveTheFormatsANoteKeeps)
{
    const Runs runs = Read(QString::fromUtf8(
        "<h1>标题</h1>"
        "<p style=\"background-color:yellow; text-align:center\">a<b>b</b><i>c</i><u>d</u><s>e</s></p>"
        "<p><span style=\"color: rgb(255, 0, 0); font-size: 12pt; font-family: 'Microsoft YaHei', sans-serif; "
        "font-weight: 700; font-style: italic; text-decoration: underline line-through\">f</span>"
        "<font color=\"#00f\" face=\"黑体\" size=\"5\">g</font>"
        "<strong style=\"font-weight:normal; color:#80808080\">h</strong>"
        "<span style=\"font-size:2em\">i<span style=\"font-size:50%\">j</span></span></p>"));
    Attrs heading = Bold(30);
    Attrs bold = Bold();
    Attrs italic;
    italic.italic = true;
    Attrs underline;
    underline.underline = QTextCharFormat::SingleUnderline;
    Attrs strike;
    strike.strike = true;
    Attrs span;
    span.color = QStringLiteral("#ffff0000");
    span.points = 12;
    span.family = QStringLiteral("Microsoft YaHei");
    span.weight = QFont::Bold;
    span.italic = true;
    span.underline = QTextCharFormat::SingleUnderline;
    span.strike = true;
    Attrs font;
    font.color = QStringLiteral("#ff0000ff");
    font.family = QStringLiteral("黑体");
    font.pixels = 24;
    Attrs grey;
    grey.color = QStringLiteral("#ff808080");
    Attrs big;
    big.pixels = 30;
    Attrs back;
    back.pixels = 15;
    const Runs expected = {
        {rtftest::Run{"标题", heading}},
        {rtftest::Run{"a", {}}, rtftest::Run{"b", bold}, rtftest::Run{"c", italic}, rtftest::Run{"d", underline},
         rtftest::Run{"e", strike}},
        {rtftest::Run{"f", span}, rtftest::Run{"g", font}, rtftest::Run{"h", grey}, rtftest::Run{"i", big},
         rtftest::Run{"j", back}},
    };
    EXPECT_EQ(runs, expected);
}

TEST(HtmlFormats, WhatIsReadComesBackFromTheStoreUnchanged)
{
    QTextDocument doc;
    UseBoxFont(doc);
    qn::ReadHtmlSubset(QString::fromUtf8("<h2>周一 <em>会议</em></h2><table><tr><th>时间</th><td style=\"color:#123456;"
                                         "font-size:13.3333px\">9:30</td></tr></table>"
                                         "<p style=\"font-size:10.333pt; font-family:Arial\">Bob &amp; 李</p>"),
                       doc);
    QTextDocument back;
    UseBoxFont(back);
    ASSERT_TRUE(ReadRtf(WriteRtf(doc), back));
    EXPECT_EQ(RunsOf(back), RunsOf(doc));
    EXPECT_FALSE(PlainTextCrLf(back).contains(QChar(0xFFFC)));
    EXPECT_EQ(PlainTextCrLf(back), QStringLiteral("周一 会议\r\n时间\t9:30\r\nBob & 李"));
}

TEST(HtmlHostile, DeepNestingHugeAttributesAndEndlessTagsAreReadSafely)
{
    const QString deepTables = QStringLiteral("<table><tr><td>").repeated(3000) + QStringLiteral("deep")
        + QStringLiteral("</td></tr></table>").repeated(3000) + QStringLiteral("after");
    const Runs tables = Read(deepTables);
    ASSERT_FALSE(tables.empty());
    QString all;
    for (const Paragraph& p : tables)
        for (const rtftest::Run& r : p)
            all += r.text;
    EXPECT_TRUE(all.contains(QStringLiteral("deep")));
    EXPECT_TRUE(all.contains(QStringLiteral("after")));

    const QString deepSpans =
        QStringLiteral("<span style=\"font-weight:bold\"><i>").repeated(50000) + QStringLiteral("x");
    const Runs spans = Read(deepSpans);
    ASSERT_EQ(spans.size(), 1u);
    ASSERT_EQ(spans[0].size(), 1u);
    EXPECT_EQ(spans[0][0].text, QStringLiteral("x"));
    EXPECT_EQ(spans[0][0].attrs.weight, QFont::Bold);

    const QString hugeAttribute = QStringLiteral("<span style=\"") + QString(4 * 1024 * 1024, u'x')
        + QStringLiteral("\" title='") + QString(1024 * 1024, u';') + QStringLiteral("'>y</span>");
    EXPECT_EQ(Read(hugeAttribute), Plain({"y"}));

    EXPECT_EQ(Read(QStringLiteral("a<!-- never closed <b>b</b>")), Plain({"a"}));
    EXPECT_EQ(Read(QStringLiteral("a<script>never closed")), Plain({"a"}));
    EXPECT_EQ(Read(QStringLiteral("a<span style=\"color:red")), Plain({"a"}));
    EXPECT_EQ(Read(QStringLiteral("<font size=99999999999 face=\"") + QString(100, u'f')
                   + QStringLiteral("\">z</font><span style=\"font-size:1e308px;color:rgb(1e999,-5,nan)\">w</span>")),
              (Runs{{rtftest::Run{"z",
                                  [] {
                                      Attrs a;
                                      a.pixels = 48;
                                      return a;
                                  }()},
                     rtftest::Run{"w", {}}}}));
    // Half a surrogate pair is no character.
    EXPECT_EQ(Read(QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b&#xD800;")),
              Plain({"a\xEF\xBF\xBD"
                     "b\xEF\xBF\xBD"}));
}

TEST(HtmlLimits, TooMuchTextOrInputIsReported)
{
    QTextDocument doc;
    EXPECT_EQ(qn::ReadHtmlSubset(QStringLiteral("<p>12345</p><p>6</p>"), doc, {15, 7}), qn::HtmlReadResult::Read);
    EXPECT_EQ(qn::ReadHtmlSubset(QStringLiteral("<p>12345</p><p>67</p>"), doc, {15, 7}), qn::HtmlReadResult::TooLong);
    const QString huge = QStringLiteral("<b>") + QString(qn::MaxHtmlInput, u'a');
    EXPECT_EQ(qn::ReadHtmlSubset(huge, doc), qn::HtmlReadResult::TooLarge);
    EXPECT_TRUE(doc.isEmpty());
}

// --- what a paste takes from the clipboard ----------------------------------------------

QString TextOf(const qn::PastedContent& pasted)
{
    return pasted.kind == qn::PastedContent::Kind::Rich ? PlainTextCrLf(*pasted.rich) : pasted.plain;
}

TEST(PastedContent, FlavoursAreTakenInOrderOfFidelity)
{
    QTextDocument own;
    UseBoxFont(own);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    QTextCursor(&own).insertText(QStringLiteral("own"), red);

    struct Case {
        const char* name;
        QByteArray ownRtf, rtf;
        QString html, text;
        qn::PastedContent::Kind kind;
        QString result;
    };
    const QByteArray foreignRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 rtf\\cell table\\par}";
    const Case cases[] = {
        {"own first", WriteRtf(own), foreignRtf, "<b>html</b>", "text", qn::PastedContent::Kind::Rich, "own"},
        {"rtf before html", {}, foreignRtf, "<b>html</b>", "text", qn::PastedContent::Kind::Rich, "rtf\ttable"},
        {"rtf that is no rtf", {}, "plain bytes", "<b>html</b>", "text", qn::PastedContent::Kind::Rich, "html"},
        {"html before text", {}, {}, "<b>html</b>", "text", qn::PastedContent::Kind::Rich, "html"},
        {"picture only html", {}, {}, "<img src=\"file:///dev/zero\">", "text", qn::PastedContent::Kind::Plain, "text"},
        {"text",
         {},
         {},
         {},
         QStringLiteral("a\r\nb\rc\u2029d\uFFFC\x01"),
         qn::PastedContent::Kind::Plain,
         "a\nb\nc\nd"},
        {"nothing", {}, {}, "<img src=x>", {}, qn::PastedContent::Kind::Nothing, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QMimeData data;
        if (!c.ownRtf.isEmpty())
            data.setData(qn::kNoteRtfMimeType, c.ownRtf);
        if (!c.rtf.isEmpty())
            data.setData(QStringLiteral("text/rtf"), c.rtf);
        if (!c.html.isEmpty())
            data.setHtml(c.html);
        if (!c.text.isEmpty())
            data.setText(c.text);
        EXPECT_EQ(qn::CanPasteIntoNote(data), c.kind != qn::PastedContent::Kind::Nothing || !c.html.isEmpty());
        const qn::PastedContent pasted = qn::ConvertPasted(data, qn::MaxNoteChars, 15);
        EXPECT_EQ(pasted.kind, c.kind);
        EXPECT_EQ(TextOf(pasted).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), c.result);
    }
}

TEST(PastedContent, MoreThanTheRoomIsRefusedInEveryFlavour)
{
    QMimeData html;
    html.setHtml(QStringLiteral("<p>123</p><p>45</p>"));
    EXPECT_EQ(qn::ConvertPasted(html, 6, 15).kind, qn::PastedContent::Kind::Rich);
    EXPECT_EQ(qn::ConvertPasted(html, 5, 15).kind, qn::PastedContent::Kind::TooLong);
    QMimeData text;
    text.setText(QStringLiteral("12345"));
    EXPECT_EQ(qn::ConvertPasted(text, 5, 15).kind, qn::PastedContent::Kind::Plain);
    EXPECT_EQ(qn::ConvertPasted(text, 4, 15).kind, qn::PastedContent::Kind::TooLong);
    QMimeData rtf;
    rtf.setData(QStringLiteral("text/rtf"), "{\\rtf1 12345}");
    EXPECT_EQ(qn::ConvertPasted(rtf, 4, 15).kind, qn::PastedContent::Kind::TooLong);
    EXPECT_EQ(qn::ConvertPasted(text, -3, 15).kind, qn::PastedContent::Kind::TooLong);
}

}  // namespace
