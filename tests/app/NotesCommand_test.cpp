// The notes on the command line, run as the real program without any
// display, on a notebook that is open (and writing) at the same time:
// search like grep, export of a range, a backup now, and the usage with
// exit code 2 for a bad argument.

#include "app/CommandLine.h"
#include "notes/store/WeekNotes.h"
#include "store/Backup.h"
#include "tests/support/StoreFixture.h"

#include <QFile>
#include <QProcess>
#include <QTextDocument>

namespace {

struct Ran {
    int code = -1;
    QString out;
    QString err;
};

class NotesCommandTest : public StoreFixture {
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        Put("20100601", QStringLiteral("上午开会\nMeeting at noon"));
        Put("20100605", QStringLiteral("周末开会"));
        Put("20100520", QStringLiteral("开会准备"));
        Put("20100521", QStringLiteral("别的事"));
        // A row another program wrote, plain text only.
        Exec(QStringLiteral("insert into tb_NewQN (YearMonthStr, ContentBak) values ('20100701', '别的程序 开会')"));
    }

    void Put(const char* key, const QString& text)
    {
        QTextDocument doc;
        doc.setPlainText(text);
        const qn::DayNote note = NoteFromBox(key, doc);
        ASSERT_TRUE(dm->Notes().WriteDays({&note, 1}).ok());
    }

    // The program with the test's folder, without a display of any kind.
    Ran Notebook(const QStringList& arguments, const QString& programFolder = QString()) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "NO_COLOR"})
            environment.remove(QLatin1String(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QNWEEKNOTE_PATH),
                      QStringList{QStringLiteral("--folder"), programFolder.isEmpty() ? dir.path() : programFolder}
                          + arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(QLatin1Char(' ')).toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }
};

TEST_F(NotesCommandTest, SearchPrintsOneLinePerDayNewestFirstLikeGrep)
{
    Ran run = Notebook({QStringLiteral("search"), QStringLiteral("开会")});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              QStringLiteral("2010-07-01\t别的程序 开会\n"
                             "2010-06-05\t周末开会\n"
                             "2010-06-01\t上午开会 Meeting at noon\n"
                             "2010-05-20\t开会准备\n"));
    // The line of the hit; Latin letters in either case.
    run = Notebook({QStringLiteral("search"), QStringLiteral("MEETING")});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, QStringLiteral("2010-06-01\t…Meeting at noon\n"));
    run = Notebook({QStringLiteral("search"), QStringLiteral("没有的字")});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, QString());
    run = Notebook({QStringLiteral("search"), QStringLiteral("--"), QStringLiteral("-x")});
    EXPECT_EQ(run.code, 1);
}

TEST_F(NotesCommandTest, CommandsReadWhileTheNotebookIsInTheMiddleOfASave)
{
    // The notebook holds the write lock with a change not yet committed.
    Exec(QStringLiteral("BEGIN IMMEDIATE"));
    Exec(QStringLiteral("update tb_NewQN set ContentBak = '还没保存' where YearMonthStr = '20100521'"));
    Ran run = Notebook({QStringLiteral("search"), QStringLiteral("别的事")});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("2010-05-21\t别的事\n"));
    run = Notebook({QStringLiteral("backup")});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    Exec(QStringLiteral("ROLLBACK"));
}

TEST_F(NotesCommandTest, ExportWritesTheRangeToStandardOutputOrAFile)
{
    Ran run = Notebook({QStringLiteral("export"), QStringLiteral("--from"), QStringLiteral("2010-05-17"),
                        QStringLiteral("--to"), QStringLiteral("2010-06-06"), QStringLiteral("--format"),
                        QStringLiteral("md")});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("# QN周记事本 笔记 2010-05-17 至 2010-06-06\n")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("\n### 星期四 2010-05-20 四月初七\n\n开会准备\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\n### 星期二 2010-06-01 四月十九\n\n上午开会  \nMeeting at noon\n")));
    EXPECT_FALSE(run.out.contains(QStringLiteral("别的程序")));

    const QString file = dir.filePath(QStringLiteral("notes.html"));
    run = Notebook({QStringLiteral("export"), QStringLiteral("--from"), QStringLiteral("2010-06-05"),
                    QStringLiteral("--to"), QStringLiteral("2010-07-31"), QStringLiteral("--format"),
                    QStringLiteral("html"), QStringLiteral("--output"), file});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QString());
    QFile html(file);
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(written.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_TRUE(written.contains(QStringLiteral("<p>周末开会</p>")));
    EXPECT_TRUE(written.contains(QStringLiteral("<p>别的程序 开会</p>")));

    run =
        Notebook({QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("txt"), QStringLiteral("--from"),
                  QStringLiteral("2010-05-21"), QStringLiteral("--to"), QStringLiteral("2010-05-21")});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out,
              QStringLiteral("QN周记事本 笔记 2010-05-21 至 2010-05-21\n"
                             "\n==== 2010-05-17 至 2010-05-23（四月初四 至 四月初十） ====\n"
                             "\n【星期五 2010-05-21 四月初八】\n别的事\n"));
}

TEST_F(NotesCommandTest, BackupWritesASoundCopyAndPrintsItsPath)
{
    const Ran run = Notebook({QStringLiteral("backup")});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    ASSERT_TRUE(run.out.endsWith(QLatin1Char('\n')));
    const QString path = run.out.chopped(1);
    EXPECT_TRUE(path.startsWith(folder.dataFile(QStringLiteral("Backup/UserData-")))) << path.toStdString();
    EXPECT_TRUE(qn::IsSoundNotesFile(path));
    EXPECT_EQ(qn::ListBackups(folder.dataFile(QStringLiteral("UserData.mdb"))).size(), 1u);
}

TEST_F(NotesCommandTest, BadArgumentsGiveTheUsageInChineseAndCodeTwo)
{
    const QStringList cases[] = {
        {QStringLiteral("search")},
        {QStringLiteral("search"), QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("search"), QStringLiteral("-x")},
        {QStringLiteral("search"), QString()},
        {QStringLiteral("export")},
        {QStringLiteral("export"), QStringLiteral("--from"), QStringLiteral("2010-13-01"), QStringLiteral("--to"),
         QStringLiteral("2010-06-01"), QStringLiteral("--format"), QStringLiteral("md")},
        {QStringLiteral("export"), QStringLiteral("--from"), QStringLiteral("2010-06-02"), QStringLiteral("--to"),
         QStringLiteral("2010-06-01"), QStringLiteral("--format"), QStringLiteral("md")},
        {QStringLiteral("export"), QStringLiteral("--from"), QStringLiteral("2010-06-01"), QStringLiteral("--to"),
         QStringLiteral("2010-06-02"), QStringLiteral("--format"), QStringLiteral("pdf")},
        {QStringLiteral("export"), QStringLiteral("--from"), QStringLiteral("2010-06-01"), QStringLiteral("--to")},
        {QStringLiteral("export"), QStringLiteral("--since"), QStringLiteral("2010-06-01")},
        {QStringLiteral("backup"), QStringLiteral("now")},
    };
    for (const QStringList& arguments : cases) {
        const Ran run = Notebook(arguments);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.err.contains(QStringLiteral("用法"))) << run.err.toStdString();
        EXPECT_EQ(run.out, QString());
    }
    // A folder without notes is an error, not "nothing found".
    QTemporaryDir empty;
    const Ran run = Notebook({QStringLiteral("search"), QStringLiteral("开会")}, empty.path());
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("找不到笔记文件")));
    EXPECT_FALSE(QFile::exists(empty.filePath(QStringLiteral("Data/UserData.mdb"))));
}

TEST(NotesCommandLine, TheCommandWordTakesTheRestOfTheArguments)
{
    const qn::CommandLine line = qn::ParseCommandLine(
        {QStringLiteral("--folder"), QStringLiteral("/tmp/n"), QStringLiteral("search"), QStringLiteral("--folder")});
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_EQ(line.folder, QStringLiteral("/tmp/n"));
    EXPECT_EQ(line.command, QStringLiteral("search"));
    EXPECT_EQ(line.commandArguments, QStringList{QStringLiteral("--folder")});
    // A folder named like a command is still a folder.
    EXPECT_EQ(qn::ParseCommandLine({QStringLiteral("--folder"), QStringLiteral("backup")}).command, QString());
}

}  // namespace
