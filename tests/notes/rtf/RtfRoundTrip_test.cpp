// What a note box holds comes back unchanged after WriteRtf and ReadRtf.

#include "tests/support/RtfTestSupport.h"

#include <gtest/gtest.h>
#include <QTextCursor>

#include <functional>

using namespace rtftest;

namespace {

Runs RoundTrip(const QTextDocument& doc, QByteArray* rtf = nullptr)
{
    const QByteArray bytes = WriteRtf(doc);
    if (rtf)
        *rtf = bytes;
    QTextDocument back;
    back.setDefaultFont(doc.defaultFont());
    EXPECT_TRUE(ReadRtf(bytes, back));
    return RunsOf(back);
}

struct TextCase {
    const char* name;
    QString text;  // inserted with QTextCursor::insertText: '\n' starts a paragraph
};

class TextRoundTrip : public ::testing::TestWithParam<TextCase> { };

TEST_P(TextRoundTrip, TextComesBackExactly)
{
    for (const char* family : {"宋体", "Arial"}) {
        QTextDocument doc;
        QFont font(QString::fromUtf8(family));
        font.setPixelSize(15);
        doc.setDefaultFont(font);
        QTextCursor(&doc).insertText(GetParam().text);
        QByteArray rtf;
        const Runs back = RoundTrip(doc, &rtf);
        EXPECT_EQ(back, RunsOf(doc)) << "default font " << family << "\n" << rtf.constData();
        for (char c : rtf)
            ASSERT_GE(uint8_t(c), 0x0A) << "control byte in the RTF";
        for (char c : rtf)
            ASSERT_LT(uint8_t(c), 0x80) << "RTF must be 7-bit";
    }
}

const QString LS(QChar::LineSeparator);

INSTANTIATE_TEST_SUITE_P(
    Texts, TextRoundTrip,
    ::testing::Values(
        TextCase{"Empty", QString()}, TextCase{"Ascii", QStringLiteral("Meeting at 9, room B-12. 100% done!")},
        TextCase{"Chinese", QStringLiteral("今天上午开会，讨论第三季度计划。")},
        TextCase{"MarksAndBlocks", QStringLiteral("√ 完成 × 取消 █ 标注 ● ★ ①")},
        TextCase{"RtfSpecials", QStringLiteral("a\\b {c} \\par {\\b} \\'41 ;")},
        TextCase{"Tabs", QStringLiteral("\t开头\t中间\t\t结尾\t")},
        TextCase{"LineBreaks", QStringLiteral("第一行") + LS + QStringLiteral("第二行") + LS + LS},
        TextCase{"Paragraphs", QStringLiteral("一\n\n二\n")}, TextCase{"OnlyEmptyParagraphs", QStringLiteral("\n\n\n")},
        TextCase{"Emoji", QStringLiteral("好😀?👍🏽 👨‍👩‍👧 🇨🇳")},
        TextCase{"QuestionAfterEmoji", QStringLiteral("😀??😀1😀 x")},
        TextCase{"OutsideGbk", QStringLiteral("𠀀𪚥 한국어 ภาษาไทย العربية ₹ ☺")},
        TextCase{"Gbk936Extras", QStringLiteral("€·—…“”‘’ 〇 ㈠ ＡＢ ｱ")},
        TextCase{"Western", QStringLiteral("café naïve Œuvre ß ñ ¿ ¡ «»")},
        TextCase{"Invisibles", QStringLiteral("a\u00A0b\u00ADc\u2011d\u200Be\u3000f")},
        TextCase{"SpacesAfterControlWords", QStringLiteral("\t x\t1\t ") + LS + QStringLiteral(" 2")},
        TextCase{"Digits", QStringLiteral("😀123 €456 √789")}, TextCase{"Replacement", QStringLiteral("\uFFFD \uFFFC")}),
    [](const auto& test) { return std::string(test.param.name); });

struct FormatCase {
    const char* name;
    std::function<void(QTextCharFormat&)> apply;
};

class FormatRoundTrip : public ::testing::TestWithParam<FormatCase> { };

// The formatted text sits between plain text, so the change into and out of
// the format is covered too.
TEST_P(FormatRoundTrip, FormatComesBackExactly)
{
    QTextDocument doc;
    UseBoxFont(doc);
    QTextCursor c(&doc);
    QTextCharFormat f;
    GetParam().apply(f);
    c.insertText(QStringLiteral("前 "));
    c.insertText(QStringLiteral("周报 Week √😀"), f);
    c.insertText(QStringLiteral(" 后"));
    c.insertBlock();
    c.insertText(QStringLiteral("第二段"), f);
    QByteArray rtf;
    EXPECT_EQ(RoundTrip(doc, &rtf), RunsOf(doc)) << rtf.constData();
}

QTextCharFormat::UnderlineStyle Styles[] = {QTextCharFormat::SingleUnderline, QTextCharFormat::DashUnderline,
                                            QTextCharFormat::DotLine,         QTextCharFormat::DashDotLine,
                                            QTextCharFormat::DashDotDotLine,  QTextCharFormat::WaveUnderline};

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatRoundTrip,
    ::testing::Values(
        FormatCase{"None", [](QTextCharFormat&) {}},
        FormatCase{"Bold", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); }},
        FormatCase{"ExplicitNormal", [](QTextCharFormat& f) { f.setFontWeight(QFont::Normal); }},
        FormatCase{"Italic", [](QTextCharFormat& f) { f.setFontItalic(true); }},
        FormatCase{"Underline", [](QTextCharFormat& f) { f.setFontUnderline(true); }},
        FormatCase{"DashUnderline", [](QTextCharFormat& f) { f.setUnderlineStyle(Styles[1]); }},
        FormatCase{"DotUnderline", [](QTextCharFormat& f) { f.setUnderlineStyle(Styles[2]); }},
        FormatCase{"DashDotUnderline", [](QTextCharFormat& f) { f.setUnderlineStyle(Styles[3]); }},
        FormatCase{"DashDotDotUnderline", [](QTextCharFormat& f) { f.setUnderlineStyle(Styles[4]); }},
        FormatCase{"WaveUnderline", [](QTextCharFormat& f) { f.setUnderlineStyle(Styles[5]); }},
        FormatCase{"StrikeOut", [](QTextCharFormat& f) { f.setFontStrikeOut(true); }},
        FormatCase{"MarkerBlue", [](QTextCharFormat& f) { f.setForeground(QColor(0, 0, 255)); }},
        FormatCase{"MarkerRed", [](QTextCharFormat& f) { f.setForeground(QColor(255, 0, 0)); }},
        FormatCase{"MarkerMagenta", [](QTextCharFormat& f) { f.setForeground(QColor(255, 0, 255)); }},
        FormatCase{"Black", [](QTextCharFormat& f) { f.setForeground(QColor(0, 0, 0)); }},
        FormatCase{"OddColor", [](QTextCharFormat& f) { f.setForeground(QColor(1, 128, 254)); }},
        FormatCase{"Pixels15", [](QTextCharFormat& f) { f.setProperty(QTextFormat::FontPixelSize, 15); }},
        FormatCase{"Pixels16", [](QTextCharFormat& f) { f.setProperty(QTextFormat::FontPixelSize, 16); }},
        FormatCase{"Pixels13", [](QTextCharFormat& f) { f.setProperty(QTextFormat::FontPixelSize, 13); }},
        FormatCase{"Pixels72", [](QTextCharFormat& f) { f.setProperty(QTextFormat::FontPixelSize, 72); }},
        FormatCase{"Points12", [](QTextCharFormat& f) { f.setFontPointSize(12); }},
        FormatCase{"Points10_5", [](QTextCharFormat& f) { f.setFontPointSize(10.5); }},
        FormatCase{"Points11_25", [](QTextCharFormat& f) { f.setFontPointSize(11.25); }},
        FormatCase{"Points9_33", [](QTextCharFormat& f) { f.setFontPointSize(9.33); }},
        FormatCase{"FamilySongti", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("宋体")}); }},
        FormatCase{"FamilyYahei", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("微软雅黑")}); }},
        FormatCase{"FamilyHeiti", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("黑体")}); }},
        FormatCase{"FamilyArialBlack", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("Arial Black")}); }},
        FormatCase{"FamilyOutsideGbk", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("나눔고딕 😀")}); }},
        FormatCase{"FamilyWithSemicolon", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("A;B {x}")}); }},
        FormatCase{"ArialWithGb2312", [](QTextCharFormat& f) {
            f.setFontFamilies({QStringLiteral("Arial")});
            f.setProperty(RtfCharsetProperty, 134);
        }},
        FormatCase{"SongtiWithWestern", [](QTextCharFormat& f) {
            f.setFontFamilies({QStringLiteral("宋体")});
            f.setProperty(RtfCharsetProperty, 0);
        }},
        FormatCase{"Cyrillic", [](QTextCharFormat& f) {
            f.setFontFamilies({QStringLiteral("Times New Roman")});
            f.setProperty(RtfCharsetProperty, 204);
        }},
        FormatCase{"WholeFont", [](QTextCharFormat& f) {
            QFont font(QStringLiteral("微软雅黑"));
            font.setPixelSize(16);
            font.setBold(true);
            font.setUnderline(true);
            f.setFont(font);
        }},
        FormatCase{"WholeFontInPoints", [](QTextCharFormat& f) {
            QFont font(QStringLiteral("Arial Black"), 14);
            font.setItalic(true);
            font.setStrikeOut(true);
            f.setFont(font);
        }},
        FormatCase{"FontDialogChoice", [](QTextCharFormat& f) {
            // name, colour, size, style, as the font command gives them
            f.setFontFamilies({QStringLiteral("黑体")});
            f.setForeground(QColor(0, 128, 0));
            f.setProperty(QTextFormat::FontPixelSize, 21);
            f.setFontWeight(QFont::Bold);
            f.setFontItalic(true);
            f.setFontUnderline(true);
            f.setFontStrikeOut(true);
        }}),
    [](const auto& test) { return std::string(test.param.name); });

// Several formats in one paragraph, switching on every run, and a document
// whose text keeps changing format across paragraphs and line breaks.
TEST(RtfRoundTrip, MixedFormatsAcrossParagraphsAndLineBreaks)
{
    QTextDocument doc;
    UseBoxFont(doc);
    QTextCursor c(&doc);
    QTextCharFormat bold, red, big, song;
    bold.setFontWeight(QFont::Bold);
    red.setForeground(QColor(255, 0, 0));
    big.setProperty(QTextFormat::FontPixelSize, 24);
    big.setFontUnderline(true);
    song.setFontFamilies({QStringLiteral("宋体")});
    song.setFontPointSize(12);
    c.insertText(QStringLiteral("周一："), bold);
    c.insertText(QStringLiteral("█"), red);
    c.insertText(QStringLiteral("交报告") + QChar(QChar::LineSeparator), big);
    c.insertText(QStringLiteral("下午三点"), song);
    c.insertBlock();
    c.insertBlock();
    c.insertText(QStringLiteral("√ 已完成\t"), red);
    c.insertText(QStringLiteral("😀"), bold);
    c.insertBlock();
    EXPECT_EQ(RoundTrip(doc), RunsOf(doc));
}

// A second save of a loaded note gives the same bytes: nothing drifts from
// save to save.
TEST(RtfRoundTrip, WritingALoadedNoteGivesTheSameBytes)
{
    QTextDocument doc;
    UseBoxFont(doc);
    QTextCursor c(&doc);
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("微软雅黑")});
    f.setForeground(QColor(255, 0, 255));
    f.setFontPointSize(10.5);
    c.insertText(QStringLiteral("普通 "));
    c.insertText(QStringLiteral("标注█𠀀"), f);
    const QByteArray first = WriteRtf(doc);
    QTextDocument back;
    UseBoxFont(back);
    ASSERT_TRUE(ReadRtf(first, back));
    EXPECT_EQ(WriteRtf(back), first);
}

// Rich text pasted from elsewhere can bring tables, lists and pictures into
// a box. Their text is kept, in order; the pictures are left out.
TEST(RtfWriter, PastedTablesListsAndPicturesKeepTheirText)
{
    QTextDocument doc;
    UseBoxFont(doc);
    doc.setHtml(
        QStringLiteral("<p>一</p><table><tr><td>二</td><td><b>三</b></td></tr></table>"
                       "<ul><li>四</li></ul><p><img src=\"x.png\">五</p>"));
    QTextDocument back;
    ASSERT_TRUE(ReadRtf(WriteRtf(doc), back));
    QString letters;
    for (QChar c : back.toPlainText())
        if (!c.isSpace())
            letters += c;
    EXPECT_EQ(letters, QStringLiteral("一二三四五"));
}

TEST(RtfWriter, HeaderAndEncoding)
{
    QTextDocument doc;
    UseBoxFont(doc);
    QTextCursor(&doc).insertText(QStringLiteral("今天😀"));
    const QByteArray rtf = WriteRtf(doc);
    EXPECT_TRUE(
        rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\fs23\\qnfsi ")) << "15 pixels are 22.5 half-points";
    EXPECT_TRUE(rtf.contains("\\'bd\\'f1\\'cc\\'ec\\u-10179?\\u-8704?\\par")) << rtf.constData();
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
}

// The characters of the editing commands, in the bytes of code page 936.
TEST(RtfWriter, MarksInCodePage936)
{
    QTextDocument doc;
    UseBoxFont(doc);
    QTextCursor(&doc).insertText(QStringLiteral("√×█€"));
    EXPECT_TRUE(WriteRtf(doc).contains("\\'a1\\'cc\\'a1\\'c1\\'a8\\'80\\'80\\par"));
}

TEST(RtfWriter, PixelSizeIsWrittenForOtherReadersToo)
{
    QTextDocument doc;
    UseBoxFont(doc);
    QTextCharFormat f;
    f.setProperty(QTextFormat::FontPixelSize, 16);
    QTextCursor(&doc).insertText(QStringLiteral("x"), f);
    EXPECT_TRUE(WriteRtf(doc).contains("{\\fs24\\qnpx16 x}"));
}

TEST(RtfWriter, EmptyDocumentIsAnEmptyText)
{
    QTextDocument doc;
    UseBoxFont(doc);
    const QByteArray rtf = WriteRtf(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_EQ(rtf.count('{'), rtf.count('}'));
    QTextDocument back;
    QTextCursor(&back).insertText(QStringLiteral("旧内容"));
    ASSERT_TRUE(ReadRtf(rtf, back));
    EXPECT_EQ(back.blockCount(), 1);
    EXPECT_TRUE(back.isEmpty());
}

TEST(RtfReader, LoadingKeepsTheDefaultFontAndClearsUndo)
{
    QTextDocument doc;
    UseBoxFont(doc);
    QTextCursor(&doc).insertText(QStringLiteral("上周的笔记"));
    ASSERT_TRUE(doc.isUndoAvailable());
    QTextDocument source;
    UseBoxFont(source);
    QTextCursor(&source).insertText(QStringLiteral("本周"));
    ASSERT_TRUE(ReadRtf(WriteRtf(source), doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("本周"));
    EXPECT_FALSE(doc.isUndoAvailable()) << "undo would bring back last week's note";
    EXPECT_TRUE(doc.isUndoRedoEnabled());
    EXPECT_EQ(doc.defaultFont().pixelSize(), 15);
    // Typing after a load is undoable again.
    QTextCursor(&doc).insertText(QStringLiteral("新"));
    EXPECT_TRUE(doc.isUndoAvailable());
}

struct PlainCase {
    const char* name;
    QString text;
    QString expected;
};

class PlainTextCrLfTest : public ::testing::TestWithParam<PlainCase> { };

TEST_P(PlainTextCrLfTest, LinesAreJoinedByCrLf)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(GetParam().text);
    EXPECT_EQ(PlainTextCrLf(doc), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PlainTextCrLfTest,
    ::testing::Values(PlainCase{"Empty", QString(), QString()},
                      PlainCase{"OneLine", QStringLiteral("周一 √"), QStringLiteral("周一 √")},
                      PlainCase{"Paragraphs", QStringLiteral("一\n二\n"), QStringLiteral("一\r\n二\r\n")},
                      PlainCase{"EmptyParagraphs", QStringLiteral("\n\n"), QStringLiteral("\r\n\r\n")},
                      PlainCase{"LineBreak", QStringLiteral("a") + QChar(QChar::LineSeparator) + QStringLiteral("b"),
                                QStringLiteral("a\r\nb")},
                      PlainCase{"KeepsTabsAndSpaces", QStringLiteral("\ta\u00A0b 😀"), QStringLiteral("\ta\u00A0b 😀")}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
