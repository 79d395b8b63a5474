// Export of any range of days: a heading per week with its dates and lunar
// dates, the days in order with theirs, empty days and weeks left out; the
// formatting kept in HTML, bold and italic in Markdown.

#include "notes/export/ExportWindow.h"
#include "notes/export/RangeExport.h"
#include "notes/export/RichTextExport.h"
#include "notes/store/WeekNotes.h"
#include "store/SqliteStatement.h"
#include "tests/support/BoardFixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QStringList g_messages;

class RangeExportTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        g_messages.clear();
        qn::SetMessageSink([](const QString&, const QString& text) { g_messages << text; });
        // 2024-04-29 is a Monday.
        Put("20240429", [](QTextCursor& c) { c.insertText(QStringLiteral("周一的笔记")); });
        Put("20240430", [](QTextCursor&) {});  // saved empty
        Put("20240501", [](QTextCursor& c) {
            c.insertText(QStringLiteral("普通"));
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            c.insertText(QStringLiteral("粗体"), bold);
            QTextCharFormat styled;
            styled.setFontItalic(true);
            styled.setForeground(QColor(255, 0, 0));
            styled.setProperty(QTextFormat::FontPixelSize, 18);
            c.insertText(QStringLiteral("斜体"), styled);
            c.insertText(QStringLiteral("\n# 1. <b>"), QTextCharFormat());
        });
        Put("20240504", [](QTextCursor& c) { c.insertText(QStringLiteral("周末")); });
        Put("20240506", [](QTextCursor& c) { c.insertText(QStringLiteral("下周")); });
        Put("20240513", [](QTextCursor& c) { c.insertText(QStringLiteral("  \n ")); });
        // A Sunday's own row, written by another program: no box shows it.
        Exec(QStringLiteral("insert into tb_NewQN (YearMonthStr, ContentBak) values ('20240505', '星期日自己的')"));
    }

    template <typename Fill>
    void Put(const char* key, Fill fill)
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        fill(cursor);
        const qn::DayNote note = NoteFromBox(key, doc);
        ASSERT_TRUE(dm->Notes().WriteDays({&note, 1}).ok());
    }

    RangeExportResult Export(const QDate& from, const QDate& to, ExportFormat format)
    {
        RangeExportResult result = ExportRange(qn::SqliteHandle(dm->AdoCon()), from, to, format);
        EXPECT_EQ(result.status, qn::StoreStatus::Ok);
        return result;
    }
};

TEST_F(RangeExportTest, MarkdownHasAHeadingPerWeekAndTheDaysWithTextInOrder)
{
    const RangeExportResult md = Export(QDate(2024, 4, 29), QDate(2024, 5, 19), ExportFormat::Markdown);
    EXPECT_EQ(md.days, 4);
    EXPECT_EQ(QString::fromUtf8(md.bytes),
              QStringLiteral("# QN周记事本 笔记 2024-04-29 至 2024-05-19\n"
                             "\n## 2024-04-29 至 2024-05-05（三月廿一 至 三月廿七）\n"
                             "\n### 星期一 2024-04-29 三月廿一\n\n周一的笔记\n"
                             "\n### 星期三 2024-05-01 三月廿三\n\n普通**粗体***斜体*  \n"
                             "\\# 1. \\<b\\>\n"
                             "\n### 星期六/日 2024-05-04/05-05 三月廿六/三月廿七\n\n周末\n"
                             "\n## 2024-05-06 至 2024-05-12（三月廿八 至 四月初五）\n"
                             "\n### 星期一 2024-05-06 三月廿八\n\n下周\n"));
}

TEST_F(RangeExportTest, HtmlKeepsBoldItalicColourAndSize)
{
    const QString html = QString::fromUtf8(Export(QDate(2024, 5, 1), QDate(2024, 5, 1), ExportFormat::Html).bytes);
    EXPECT_TRUE(
        html.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<h2>2024-04-29 至 2024-05-05（三月廿一 至 三月廿七）</h2>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<h3>星期三 2024-05-01 三月廿三</h3>")));
    EXPECT_TRUE(
        html.contains(QStringLiteral("<p>普通<span style=\"font-weight:bold\">粗体</span>"
                                     "<span style=\"font-style:italic;color:#ff0000;font-size:18px\">斜体</span></p>\n"
                                     "<p># 1. &lt;b&gt;</p>")))
        << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("周一的笔记")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</body>\n</html>\n")));
}

TEST_F(RangeExportTest, TextLeavesOutEmptyDaysAndTheWeekendNoteFollowsEitherDay)
{
    const RangeExportResult txt = Export(QDate(2024, 5, 5), QDate(2024, 5, 13), ExportFormat::Text);
    EXPECT_EQ(txt.days, 2);
    EXPECT_EQ(QString::fromUtf8(txt.bytes),
              QStringLiteral("QN周记事本 笔记 2024-05-05 至 2024-05-13\n"
                             "\n==== 2024-04-29 至 2024-05-05（三月廿一 至 三月廿七） ====\n"
                             "\n【星期六/日 2024-05-04/05-05 三月廿六/三月廿七】\n周末\n"
                             "\n==== 2024-05-06 至 2024-05-12（三月廿八 至 四月初五） ====\n"
                             "\n【星期一 2024-05-06 三月廿八】\n下周\n"));
    // A range without text holds only its title.
    const RangeExportResult none = Export(QDate(2024, 5, 13), QDate(2024, 5, 19), ExportFormat::Text);
    EXPECT_EQ(none.days, 0);
    EXPECT_EQ(QString::fromUtf8(none.bytes), QStringLiteral("QN周记事本 笔记 2024-05-13 至 2024-05-19\n"));
    const auto span = StoredDaySpan(qn::SqliteHandle(dm->AdoCon()));
    ASSERT_TRUE(span);
    EXPECT_EQ(span->first, QDate(2024, 4, 29));
    EXPECT_EQ(span->second, QDate(2024, 5, 13));
}

TEST(MarkdownText, EscapesWhatMarkdownWouldReadAsMarkup)
{
    EXPECT_EQ(EscapeMarkdown(QStringLiteral("- 1) *a* _b_ [c](d) <e> `f` #g"), true),
              QStringLiteral("\\- 1) \\*a\\* \\_b\\_ \\[c\\](d) \\<e\\> \\`f\\` \\#g"));
    EXPECT_EQ(EscapeMarkdown(QStringLiteral("2024. 会议 - 记录"), true), QStringLiteral("2024\\. 会议 - 记录"));
    EXPECT_EQ(EscapeMarkdown(QStringLiteral("- 中"), false), QStringLiteral("- 中"));
}

TEST_F(RangeExportTest, TheWindowWritesTheChosenRangeInTheChosenFormat)
{
    Open(qn::EncodeDate(2024, 5, 1));
    window->findChild<QAction*>(QStringLiteral("N_ExportNotes"))->trigger();
    TExportFrm* frm = window->exportWindow();
    ASSERT_TRUE(frm);
    QTRY_VERIFY(frm->isVisible());
    EXPECT_EQ(frm->rdiWeek->text(), QStringLiteral("本周（2024-04-29 至 2024-05-05）"));

    QString proposed;
    frm->chooseFile = [&](const QString&, const QString& name, QWidget*) -> std::optional<QString> {
        proposed = name;
        return dir.filePath(QStringLiteral("五月"));
    };
    frm->rdiMonth->setChecked(true);
    frm->cboFormat->setCurrentIndex(frm->cboFormat->findData(static_cast<int>(ExportFormat::Html)));
    frm->btnExport->click();
    EXPECT_EQ(proposed, QStringLiteral("笔记 2024-05-01 至 2024-05-31.html"));
    QFile written(dir.filePath(QStringLiteral("五月.html")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>QN周记事本 笔记 2024-05-01 至 2024-05-31</h1>")));
    EXPECT_TRUE(html.contains(QStringLiteral("下周")));
    EXPECT_FALSE(html.contains(QStringLiteral("周一的笔记")));
    EXPECT_EQ(g_messages.last(), QStringLiteral("已导出 3 天的笔记到\n%1").arg(written.fileName()));
    EXPECT_FALSE(frm->isVisible());

    // A range the wrong way round and a range without notes write nothing.
    window->N_ExportNotesClick();
    frm = window->exportWindow();
    int asked = 0;
    QString startFolder;
    frm->chooseFile = [&](const QString& start, const QString&, QWidget*) -> std::optional<QString> {
        ++asked;
        startFolder = start;
        return dir.filePath(QStringLiteral("never"));
    };
    frm->dtpFrom->setDate(QDate(2024, 5, 10));
    frm->dtpTo->setDate(QDate(2024, 5, 1));
    EXPECT_TRUE(frm->rdiRange->isChecked());
    EXPECT_FALSE(frm->btnExportClick());
    EXPECT_EQ(g_messages.last(), QStringLiteral("开始日期不能晚于结束日期。"));
    frm->dtpFrom->setDate(QDate(2020, 1, 1));
    frm->dtpTo->setDate(QDate(2020, 12, 31));
    EXPECT_FALSE(frm->btnExportClick());
    EXPECT_EQ(asked, 0);
    // Everything: from the first to the last day with a note.
    frm->rdiAll->setChecked(true);
    frm->cboFormat->setCurrentIndex(frm->cboFormat->findData(static_cast<int>(ExportFormat::Markdown)));
    EXPECT_TRUE(frm->btnExportClick());
    EXPECT_EQ(asked, 1);
    // The dialog opens where the last export went.
    EXPECT_EQ(startFolder, QFileInfo(written.fileName()).absolutePath());
    QFile markdown(dir.filePath(QStringLiteral("never.md")));
    ASSERT_TRUE(markdown.open(QIODevice::ReadOnly));
    const QByteArray firstExport = markdown.readAll();
    EXPECT_TRUE(firstExport.startsWith("# QN周记事本"));
    EXPECT_EQ(markdown.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
    markdown.close();

    // The file the suffix makes exists already: a question, and No keeps it.
    static QStringList questions;
    questions.clear();
    qn::SetQuestionSink([](const QString&, const QString& text) {
        questions << text;
        return false;
    });
    frm->rdiYear->setChecked(true);
    EXPECT_FALSE(frm->btnExportClick());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.first().contains(QStringLiteral("never.md")));
    ASSERT_TRUE(markdown.open(QIODevice::ReadOnly));
    EXPECT_EQ(markdown.readAll(), firstExport);
    markdown.close();
    qn::SetQuestionSink([](const QString&, const QString&) { return true; });
    EXPECT_TRUE(frm->btnExportClick());
    ASSERT_TRUE(markdown.open(QIODevice::ReadOnly));
    EXPECT_TRUE(markdown.readAll().startsWith("# QN周记事本 笔记 2024-01-01 至 2024-12-31"));
    qn::SetQuestionSink(nullptr);
}

}  // namespace
