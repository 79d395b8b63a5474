#include "notes/store/WeekExport.h"
#include "tests/support/BoardFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

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

// Records every message and question; questions are answered by `answer`.
struct Recorder {
    static inline QStringList messages;
    static inline bool answer = false;
    Recorder()
    {
        messages.clear();
        qn::SetMessageSink([](const QString& caption, const QString& text) { messages << caption + "|" + text; });
        qn::SetQuestionSink([](const QString&, const QString&) { return answer; });
    }
    ~Recorder() { qn::SetQuestionSink(nullptr); }
};

TEST_F(ExportTest, AsksBeforeReplacingAndNamesTheFileReallyWritten)
{
    Recorder recorder;
    Open(qn::EncodeDate(2010, 6, 1));
    Box(1)->setPlainText(QStringLiteral("新的"));
    QFile old(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old notes");
    old.close();

    // "notes.txt" is written as notes.txt.txt, which is new: nothing to ask.
    exportAnswer = dir.filePath(QStringLiteral("notes.txt"));
    window->N_DataOutClick();
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_EQ(Exported(QStringLiteral("notes.txt")), QByteArray("old notes"));
    EXPECT_TRUE(Exported(QStringLiteral("notes.txt.txt")).startsWith(Gbk("星期一")));

    // "notes" is written as notes.txt, which exists: asked about notes.txt.
    const QString question = QStringLiteral("QN周记事本|文件“%1”已经存在。\n要替换它吗？")
                                 .arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("notes.txt"))));
    exportAnswer = dir.filePath(QStringLiteral("notes"));
    Recorder::answer = false;
    window->N_DataOutClick();
    EXPECT_EQ(recorder.messages, QStringList{question});
    EXPECT_EQ(Exported(QStringLiteral("notes.txt")), QByteArray("old notes"));

    Recorder::answer = true;
    window->N_DataOutClick();
    EXPECT_EQ(recorder.messages, (QStringList{question, question}));
    EXPECT_TRUE(Exported(QStringLiteral("notes.txt")).contains(Gbk("新的")));
    Recorder::answer = false;
}

TEST_F(ExportTest, ReplacesALinkItselfOwnerOnlyAndNeverItsTarget)
{
    Recorder recorder;
    Recorder::answer = true;
    Open(qn::EncodeDate(2010, 6, 1));
    QTemporaryDir elsewhere;
    const QString precious = elsewhere.filePath(QStringLiteral("precious"));
    QFile target(precious);
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("keep me");
    target.close();
    ASSERT_TRUE(QFile::link(precious, dir.filePath(QStringLiteral("week.txt"))));

    exportAnswer = dir.filePath(QStringLiteral("week"));
    window->N_DataOutClick();
    ASSERT_EQ(recorder.messages.size(), 1);  // the question, naming the link
    EXPECT_TRUE(recorder.messages[0].contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("week.txt")))));
    EXPECT_FALSE(QFileInfo(dir.filePath(QStringLiteral("week.txt"))).isSymLink());
    EXPECT_TRUE(Exported(QStringLiteral("week.txt")).startsWith(Gbk("星期一")));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), QByteArray("keep me"));
    EXPECT_EQ(QFile::permissions(dir.filePath(QStringLiteral("week.txt"))),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    Recorder::answer = false;
}

TEST_F(ExportTest, RemembersTheFolderDuringTheRunAndAcrossStarts)
{
    Open(qn::EncodeDate(2010, 6, 1));
    exportAnswer = std::nullopt;
    window->N_DataOutClick();
    const QString documents = exportFolderOffered;
    EXPECT_FALSE(documents.startsWith(dir.path()));

    const QString chosen = dir.filePath(QStringLiteral("出口"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    exportAnswer = chosen + QStringLiteral("/week");
    window->N_DataOutClick();
    window->N_DataOutClick();
    EXPECT_EQ(exportFolderOffered, chosen);
    // Kept for the next start in a file of its own under Data/.
    QFile memory(folder.dataFile(QStringLiteral("ExportFolder.ini")));
    ASSERT_TRUE(memory.open(QIODevice::ReadOnly));
    QStringEncoder gbk("GBK");
    EXPECT_EQ(memory.readAll(), QByteArray(gbk.encode(chosen + QStringLiteral("\r\n"))));
    EXPECT_EQ(QFile::permissions(memory.fileName()) & 0x0077, QFileDevice::Permissions());

    window.reset();
    Open(qn::EncodeDate(2010, 6, 1));
    exportAnswer = std::nullopt;
    window->N_DataOutClick();
    EXPECT_EQ(exportFolderOffered, chosen);
    // A start that has not exported yet takes the folder from that file.
    QTemporaryDir otherRoot;
    const qn::ProgramFolder other(otherRoot.path());
    ASSERT_TRUE(other.ensureDataFolder());
    QFile::copy(memory.fileName(), other.dataFile(QStringLiteral("ExportFolder.ini")));
    EXPECT_EQ(ExportStartFolder(other), chosen);

    // A folder that has gone is not offered.
    ASSERT_TRUE(QDir(chosen).removeRecursively());
    window->N_DataOutClick();
    EXPECT_EQ(exportFolderOffered, documents);
}

TEST(ExportName, IsPaddedToFourteenDigits)
{
    EXPECT_EQ(ProposedExportName(qn::EncodeDateTime(987, 1, 2, 3, 4, 5)), QStringLiteral("周 09870102030405"));
}

}  // namespace
