// Backups seen from the windows: a copy is made (once a day, and at close
// when notes were written), listed with its time, size and days, and
// restored into the open notebook; a damaged notes file at start is offered
// the newest sound copy and kept aside unchanged.

#include "notes/backup/AutoBackup.h"
#include "notes/backup/RestoreCopy.h"
#include "notes/backup/RestoreWindow.h"
#include "store/Backup.h"
#include "tests/support/BoardFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>

namespace {

QStringList g_messages;
void CollectText(const QString& /*caption*/, const QString& text) { g_messages << text; }

QDateTime At(int hour) { return QDateTime(QDate(2010, 6, 1), QTime(hour, 0)); }

class BackupWindowTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        g_messages.clear();
        qn::SetMessageSink(CollectText);
    }
    QString DbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }
    void Type(const char* text)
    {
        Box(2)->setFocus();
        Box(2)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Box(2), QLatin1String(text));
    }
};

TEST_F(BackupWindowTest, ACopyIsMadeListedAndRestored)
{
    Open(qn::EncodeDate(2010, 6, 1));
    TAutoBackup autoBackup(*dm, nullptr, [] { return At(9); });
    EXPECT_FALSE(autoBackup.CheckNow());  // nothing written yet
    Type("first");
    ASSERT_TRUE(autoBackup.CheckNow());
    ASSERT_TRUE(autoBackup.WaitForCopy());
    ASSERT_EQ(qn::ListBackups(DbPath()).size(), 1u);
    Type(" second");
    // At most one copy a day.
    EXPECT_FALSE(autoBackup.CheckNow());

    window->findChild<QAction*>(QStringLiteral("N_Restore"))->trigger();
    TRestoreFrm* frm = window->restoreWindow();
    ASSERT_TRUE(frm);
    QTRY_VERIFY(frm->isVisible());
    ASSERT_EQ(frm->tblCopies->rowCount(), 1);
    EXPECT_EQ(frm->tblCopies->item(0, TRestoreFrm::MadeColumn)->text(), QStringLiteral("2010-06-01 09:00:00"));
    EXPECT_FALSE(frm->tblCopies->item(0, TRestoreFrm::SizeColumn)->text().isEmpty());
    QTRY_COMPARE(frm->tblCopies->item(0, TRestoreFrm::DaysColumn)->text(), QStringLiteral("1 天"));

    QString asked;
    frm->confirm = [&](const QString& text, QWidget*) {
        asked = text;
        return true;
    };
    frm->btnRestore->click();
    EXPECT_TRUE(asked.contains(QStringLiteral("2010-06-01 09:00:00")));
    QTRY_COMPARE(Box(2)->toPlainText(), QStringLiteral("first"));
    EXPECT_FALSE(frm->isVisible());
    // What was replaced is a copy of its own, beside the one restored.
    const std::vector<qn::BackupCopy> copies = qn::ListBackups(DbPath());
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_TRUE(qn::IsSoundNotesFile(copies[0].path));
    // The restored notes are searched, and saved again as the user types.
    ASSERT_TRUE(dm->Search().WaitForKeeper(30000));
    const auto found = dm->Search().Find(QStringLiteral("second"), 0);
    EXPECT_TRUE(found.value.hits.empty());
    Type(" again");
    EXPECT_EQ(dm->Notes().FindDay("20100601").value->plain, QStringLiteral("first again"));
}

TEST_F(BackupWindowTest, ClosingCopiesOnlyWhatWasWrittenSinceTheLastCopy)
{
    Open(qn::EncodeDate(2010, 6, 1));
    TAutoBackup autoBackup(*dm, nullptr, [] { return At(18); });
    EXPECT_TRUE(autoBackup.BackupAtClose().path.isEmpty());
    Type("text");
    const qn::BackupOutcome closing = autoBackup.BackupAtClose();
    ASSERT_TRUE(closing.ok());
    EXPECT_TRUE(QFile::exists(closing.path));
    EXPECT_TRUE(autoBackup.BackupAtClose().path.isEmpty());
}

class StartupRestoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = qn::ProgramFolder(dir.path());
        ASSERT_TRUE(folder.ensureDataFolder());
        g_messages.clear();
        qn::SetMessageSink(CollectText);
    }
    void TearDown() override { qn::SetMessageSink(nullptr); }
    QString DbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }

    // A notebook with a sound copy, a newer damaged copy and a damaged file.
    void MakeDamagedNotebook(bool withSoundCopy)
    {
        {
            TDM dm(folder);
            ASSERT_TRUE(dm.ConnectDatabase());
            const qn::DayNote note{"20100601", "{\\rtf1 good}", QStringLiteral("备份里的笔记")};
            ASSERT_TRUE(dm.Notes().WriteDays({&note, 1}).ok());
            if (withSoundCopy) {
                ASSERT_TRUE(qn::WriteBackup(DbPath(), QDateTime(QDate(2024, 5, 1), QTime(10, 30))).ok());
            }
        }
        QFile copy(folder.dataFile(QStringLiteral("Backup/UserData-2024-05-02_08-00-00.mdb")));
        ASSERT_TRUE(QDir().mkpath(folder.dataFile(QStringLiteral("Backup"))));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(QByteArray("SQLite format 3").append(4000, '\x01'));
        copy.close();
        QFile damaged(DbPath());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(damagedBytes);
    }
    QStringList DamagedFiles() const
    {
        return QDir(folder.dataFolder()).entryList({QStringLiteral("UserData-damaged-*")}, QDir::Files);
    }
    QByteArray Bytes(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    qn::ProgramFolder folder;
    const QByteArray damagedBytes = QByteArray("not a database ").repeated(300);
};

TEST_F(StartupRestoreTest, ADamagedFileIsOfferedTheNewestSoundCopyAndKeptAside)
{
    MakeDamagedNotebook(true);
    TDM dm(folder);
    ASSERT_FALSE(dm.ConnectDatabase(nullptr, false));
    EXPECT_TRUE(g_messages.isEmpty());
    QString offered;
    ASSERT_TRUE(OfferRestoreAtStart(dm, nullptr, [&](const QString& text, QWidget*) {
        offered = text;
        return true;
    }));
    EXPECT_TRUE(offered.startsWith(QStringLiteral("配置文件加载失败，请重试！")));
    EXPECT_TRUE(offered.contains(QStringLiteral("2024年5月1日 10:30 的备份"))) << offered.toStdString();
    EXPECT_TRUE(offered.contains(QStringLiteral("1 天的笔记")));
    EXPECT_EQ(dm.Notes().FindDay("20100601").value->plain, QStringLiteral("备份里的笔记"));
    const QStringList aside = DamagedFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(Bytes(folder.dataFile(aside.first())), damagedBytes);
}

TEST_F(StartupRestoreTest, DecliningOrHavingNoSoundCopyChangesNothing)
{
    MakeDamagedNotebook(true);
    {
        TDM dm(folder);
        ASSERT_FALSE(dm.ConnectDatabase(nullptr, false));
        EXPECT_FALSE(OfferRestoreAtStart(dm, nullptr, [](const QString&, QWidget*) { return false; }));
    }
    EXPECT_EQ(Bytes(DbPath()), damagedBytes);
    EXPECT_TRUE(DamagedFiles().isEmpty());

    QDir(folder.dataFile(QStringLiteral("Backup"))).removeRecursively();
    for (const char* part : {"", "-wal", "-shm"})
        QFile::remove(DbPath() + QLatin1String(part));
    MakeDamagedNotebook(false);
    TDM dm(folder);
    ASSERT_FALSE(dm.ConnectDatabase(nullptr, false));
    int asked = 0;
    EXPECT_FALSE(OfferRestoreAtStart(dm, nullptr, [&](const QString&, QWidget*) { return ++asked > 0; }));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(g_messages,
              QStringList{QStringLiteral("配置文件加载失败，请重试！\n\n笔记文件已损坏，也没有可用的备份。")});
    EXPECT_EQ(Bytes(DbPath()), damagedBytes);
}

}  // namespace
