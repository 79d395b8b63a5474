#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "store/uDM.h"
#include "tests/support/RowsInFileAlone.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QStringList g_messages;

void CollectMessage(const QString& caption, const QString& text) { g_messages << caption + QLatin1Char('|') + text; }

class DataModuleTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = qn::ProgramFolder(dir.path());
        ASSERT_TRUE(folder.ensureDataFolder());
        g_messages.clear();
        qn::SetMessageSink(CollectMessage);
    }
    void TearDown() override { qn::SetMessageSink(nullptr); }

    QString dbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }

    static QByteArray ReadAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    void WriteFile(const QByteArray& bytes) const
    {
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // A valid SQLite file made by someone else, with the given statements run.
    void MakeForeignDatabase(const QStringList& statements) const
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            db.setDatabaseName(dbPath());
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            for (const QString& s : statements)
                ASSERT_TRUE(q.exec(s)) << s.toStdString() << q.lastError().text().toStdString();
            q = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    }

    void ExpectRefusedAndUntouched(const QByteArray& before)
    {
        {
            TDM dm(folder);
            EXPECT_FALSE(dm.ConnectDatabase());
        }
        ASSERT_EQ(g_messages.size(), 1);
        EXPECT_EQ(g_messages.first(), QStringLiteral("QN周记事本|配置文件加载失败，请重试！"));
        EXPECT_EQ(ReadAll(dbPath()), before);
        // Nothing new appears next to the file either.
        const QStringList entries = QDir(folder.dataFolder()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(entries, QStringList{QStringLiteral("UserData.mdb")});
    }

    QTemporaryDir dir;
    qn::ProgramFolder folder;
};

TEST(Statements, ExactTexts)
{
    EXPECT_EQ(TDM::LookupStatement(QStringLiteral("20100601")),
              QStringLiteral(" select * from tb_NewQN  where YearMonthStr = '20100601'"));
    EXPECT_EQ(TDM::InsertStatement(QStringLiteral("20100601")),
              QStringLiteral("insert into  tb_NewQN(YearMonthStr) Values('20100601')"));
    EXPECT_EQ(TDM::LookupStatement(QStringLiteral("a'b")),
              QStringLiteral(" select * from tb_NewQN  where YearMonthStr = 'a''b'"));
    EXPECT_EQ(TDM::InsertStatement(QStringLiteral("''")),
              QStringLiteral("insert into  tb_NewQN(YearMonthStr) Values('''''')"));
}

TEST_F(DataModuleTest, MissingFileIsCreatedWithTableAndIndex)
{
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    EXPECT_TRUE(g_messages.isEmpty());
    EXPECT_TRUE(ReadAll(dbPath()).startsWith("SQLite format 3"));
    struct stat info { };
    ASSERT_EQ(stat(QFile::encodeName(dbPath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    QSqlQuery q(dm.AdoCon());
    ASSERT_TRUE(
        q.exec(QStringLiteral("select name from sqlite_master where type = 'index' and tbl_name = 'tb_NewQN'")));
    EXPECT_TRUE(q.next());
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA journal_mode")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("wal"));
}

TEST_F(DataModuleTest, RowsAreFoundCreatedAndUpdatedByKeyAndTheFirstOfDuplicatesWins)
{
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    const QString key = QStringLiteral("20100601");
    EXPECT_EQ(dm.LookupRow(key), false);
    ASSERT_TRUE(dm.InsertRow(key));
    ASSERT_TRUE(dm.InsertRow(key));  // a duplicate, as an old file may hold
    ASSERT_EQ(dm.LookupRow(key), true);
    EXPECT_TRUE(dm.CurrentContent().isEmpty());  // NULL Content
    ASSERT_TRUE(dm.UpdateFirstRow(key, QByteArray("first\0bytes", 11), QStringLiteral("plain")));
    ASSERT_EQ(dm.LookupRow(key), true);
    EXPECT_EQ(dm.CurrentContent(), QByteArray("first\0bytes", 11));

    QSqlQuery q(dm.AdoCon());
    ASSERT_TRUE(
        q.exec(QStringLiteral("select ContentBak from tb_NewQN where YearMonthStr = '20100601' order by rowid")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("plain"));
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.value(0).isNull());
}

TEST_F(DataModuleTest, SavesStayInTheLogUntilTheCheckpointCopiesThemIntoTheFile)
{
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    ASSERT_TRUE(dm.BeginTransaction());
    ASSERT_TRUE(dm.InsertRow(QStringLiteral("20240101")));
    ASSERT_TRUE(dm.UpdateFirstRow(QStringLiteral("20240101"), QByteArray("{\\rtf1 x}"), QStringLiteral("x")));
    ASSERT_TRUE(dm.CommitTransaction());

    EXPECT_EQ(RowsInFileAlone(dbPath()), 0);  // a keystroke's save does not copy the log back
    ASSERT_TRUE(dm.Checkpoint());
    EXPECT_EQ(RowsInFileAlone(dbPath()), 1);
    ASSERT_EQ(dm.LookupRow(QStringLiteral("20240101")), true);  // and the query goes on working
}

TEST_F(DataModuleTest, GarbageFileIsRefusedAndLeftAlone)
{
    const QByteArray garbage = QByteArray("Standard Jet DB\0\0\0 this is not SQLite", 38).repeated(200);
    WriteFile(garbage);
    ExpectRefusedAndUntouched(garbage);
}

TEST_F(DataModuleTest, TruncatedDatabaseIsRefusedAndLeftAlone)
{
    MakeForeignDatabase(
        {QStringLiteral("CREATE TABLE tb_NewQN (YearMonthStr TEXT, Content BLOB, ContentBak TEXT)"),
         QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                        "INSERT INTO tb_NewQN SELECT printf('%08d', i), randomblob(500), 'x' FROM n")});
    QByteArray bytes = ReadAll(dbPath());
    ASSERT_GT(bytes.size(), 100000);
    bytes.truncate(bytes.size() / 3);
    WriteFile(bytes);
    ExpectRefusedAndUntouched(bytes);
}

TEST_F(DataModuleTest, DatabaseWithoutTheTableIsRefusedAndLeftAlone)
{
    MakeForeignDatabase({QStringLiteral("CREATE TABLE other (a TEXT)")});
    ExpectRefusedAndUntouched(ReadAll(dbPath()));
}

TEST_F(DataModuleTest, TableWithoutTheNoteColumnsIsRefused)
{
    MakeForeignDatabase({QStringLiteral("CREATE TABLE tb_NewQN (YearMonthStr TEXT)")});
    ExpectRefusedAndUntouched(ReadAll(dbPath()));
}

TEST_F(DataModuleTest, EmptyFileIsRefusedAndLeftAlone)
{
    WriteFile(QByteArray());
    ExpectRefusedAndUntouched(QByteArray());
}

TEST_F(DataModuleTest, FolderInPlaceOfTheFileIsRefused)
{
    ASSERT_TRUE(QDir().mkpath(dbPath()));
    TDM dm(folder);
    EXPECT_FALSE(dm.ConnectDatabase());
    EXPECT_EQ(g_messages.size(), 1);
    EXPECT_TRUE(QFileInfo(dbPath()).isDir());
}

TEST_F(DataModuleTest, LockedDatabaseIsRefusedAndLeftAlone)
{
    MakeForeignDatabase({QStringLiteral("CREATE TABLE tb_NewQN (YearMonthStr TEXT, Content BLOB, ContentBak TEXT)")});
    const QByteArray before = ReadAll(dbPath());
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(dbPath());
        ASSERT_TRUE(holder.open());
        QSqlQuery q(holder);
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        {
            TDM dm(folder);
            EXPECT_FALSE(dm.ConnectDatabase());
        }
        EXPECT_EQ(g_messages.size(), 1);
        EXPECT_EQ(ReadAll(dbPath()), before);
        ASSERT_TRUE(q.exec(QStringLiteral("ROLLBACK")));
        q = QSqlQuery();
        holder.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    // Once the lock is gone the same file opens.
    TDM dm(folder);
    EXPECT_TRUE(dm.ConnectDatabase());
}

TEST_F(DataModuleTest, ForeignButUsableDatabaseOpens)
{
    MakeForeignDatabase({QStringLiteral("CREATE TABLE tb_NewQN (ID INTEGER PRIMARY KEY, YearMonthStr TEXT, "
                                        "Content BLOB, ContentBak TEXT, Extra TEXT)"),
                         QStringLiteral("INSERT INTO tb_NewQN (YearMonthStr, Content) VALUES ('20240101', x'7B7D')")});
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    ASSERT_EQ(dm.LookupRow(QStringLiteral("20240101")), true);
    EXPECT_EQ(dm.CurrentContent(), QByteArray("{}"));
}

}  // namespace
