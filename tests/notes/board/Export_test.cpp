#include "notes/store/WeekExport.h"
#include "tests/support/BoardFixture.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

class ExportTest : public BoardFixture {
protected:
    QByteArray Exported(const QString& name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static QByteArray Gbk(const char* utf8)
    {
        QStringEncoder encoder("GB18030");
        return encoder.encode(QString::fromUtf8(utf8));
    }
};

TEST_F(ExportTest, EmptyWeekGivesTwentyFourLinesWithHeadings)
{
    Open(qn::EncodeDateTime(2010, 6, 1, 14, 30, 15));
    exportAnswer = dir.filePath(QStringLiteral("week"));
    window->N_DataOutClick();
    EXPECT_EQ(proposedName, QStringLiteral("周 20100601143015"));
    QByteArray expected;
    const char* headings[] = {"星期一 2010.05.31", "星期二 2010.06.01", "星期三 2010.06.02",
                              "星期四 2010.06.03", "星期五 2010.06.04", "星期六/日 2010.06.05"};
    for (const char* heading : headings)
        expected += Gbk(heading) + "\r\n  \r\n\r\n  \r\n";
    EXPECT_EQ(Exported(QStringLiteral("week.txt")), expected);
    EXPECT_EQ(expected.count("\r\n"), 24);
    EXPECT_TRUE(Rows().empty());  // the export saves nothing
}

TEST_F(ExportTest, SundayUsesSaturdaysHeadingAndNotesKeepTheirLinesAndRareCharacters)
{
    Open(qn::EncodeDate(2012, 3, 4));  // a Sunday
    Box(1)->setPlainText(QStringLiteral("第一行\n second"));
    Box(6)->setPlainText(QStringLiteral("周末 😀 𠀀"));
    exportAnswer = dir.filePath(QStringLiteral("notes.txt"));
    window->N_DataOutClick();
    const QByteArray bytes = Exported(QStringLiteral("notes.txt.txt"));
    EXPECT_TRUE(bytes.startsWith(Gbk("星期一 2012.02.27\r\n  \r\n第一行\r\n second\r\n  \r\n")));
    EXPECT_TRUE(bytes.endsWith(Gbk("星期六/日 2012.03.03\r\n  \r\n周末 😀 𠀀\r\n  \r\n")));
    // GB18030 keeps what GBK cannot hold; it never turns into "?".
    EXPECT_FALSE(bytes.contains('?'));
    QStringDecoder decoder("GB18030");
    EXPECT_TRUE(QString(decoder.decode(bytes)).contains(QStringLiteral("😀 𠀀")));
}

TEST_F(ExportTest, CancelEmptyNameAndUnwritableFile)
{
    QStringList messages;
    static QStringList* sink = nullptr;
    sink = &messages;
    qn::SetMessageSink([](const QString& caption, const QString& text) { *sink << caption + QLatin1Char('|') + text; });
    Open(qn::EncodeDate(2010, 6, 1));

    exportAnswer = std::nullopt;  // cancelled
    window->N_DataOutClick();
    exportAnswer = QString();  // confirmed without a name
    window->N_DataOutClick();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("QN周记事本|文件名不能为空！"));

    exportAnswer = dir.filePath(QStringLiteral("no/such/folder/week"));
    window->N_DataOutClick();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QStringLiteral("week.txt")));
    EXPECT_EQ(exportAsked, 3);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST(ExportName, IsPaddedToFourteenDigits)
{
    EXPECT_EQ(ProposedExportName(qn::EncodeDateTime(987, 1, 2, 3, 4, 5)), QStringLiteral("周 09870102030405"));
}

}  // namespace
