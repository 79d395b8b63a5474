#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "store/Schema.h"
#include "store/SqliteStatement.h"
#include "store/uDM.h"
#include "tests/support/DataModuleFixture.h"
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

TEST(Statements, ExactTexts)
{
    EXPECT_EQ(qn::NoteStore::LookupStatement(QStringLiteral("20100601")),
              QStringLiteral(" select * from tb_NewQN  where YearMonthStr = '20100601'"));
    EXPECT_EQ(qn::NoteStore::InsertStatement(QStringLiteral("20100601")),
              QStringLiteral("insert into  tb_NewQN(YearMonthStr) Values('20100601')"));
    EXPECT_EQ(qn::NoteStore::LookupStatement(QStringLiteral("a'b")),
              QStringLiteral(" select * from tb_NewQN  where YearMonthStr = 'a''b'"));
    EXPECT_EQ(qn::NoteStore::InsertStatement(QStringLiteral("''")),
              QStringLiteral("insert into  tb_NewQN(YearMonthStr) Values('''''')"));
}

// The prepared statements run exactly those texts once the key is bound.
TEST_F(DataModuleTest, PreparedStatementsRunTheExactTexts)
{
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    for (const char* key : {"20100601", "a'b", "''"}) {
        EXPECT_EQ(dm.Notes().ExpandedLookup(key), qn::NoteStore::LookupStatement(QString::fromUtf8(key)));
        EXPECT_EQ(dm.Notes().ExpandedInsert(key), qn::NoteStore::InsertStatement(QString::fromUtf8(key)));
    }
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
    qn::NoteStore& notes = dm.Notes();
    const std::string key = "20100601";
    const auto missing = notes.FindDay(key);
    ASSERT_TRUE(missing.ok());
    EXPECT_FALSE(missing.value.has_value());

    // A missing row is created by the write.
    const qn::DayNote first{key, QByteArray("first\0bytes", 11), QStringLiteral("plain")};
    const auto written = notes.WriteDays(std::vector<qn::DayNote>{first});
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value, std::vector<bool>{true});
    const auto found = notes.FindDay(key);
    ASSERT_TRUE(found.ok());
    ASSERT_TRUE(found.value.has_value());
    EXPECT_EQ(*found.value, first);

    // A duplicate row, as an old file may hold: the first one is read and written.
    QSqlQuery q(dm.AdoCon());
    ASSERT_TRUE(q.exec(QStringLiteral("insert into tb_NewQN (YearMonthStr) values ('20100601')")));
    const qn::DayNote second{key, QByteArray("{\\rtf1 second}"), QStringLiteral("second")};
    ASSERT_TRUE(notes.WriteDays(std::vector<qn::DayNote>{second}).ok());
    EXPECT_EQ(notes.FindDay(key).value, second);
    ASSERT_TRUE(
        q.exec(QStringLiteral("select ContentBak from tb_NewQN where YearMonthStr = '20100601' order by rowid")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("second"));
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.value(0).isNull());

    // A row without content reads as an empty note.
    ASSERT_TRUE(q.exec(QStringLiteral("insert into tb_NewQN (YearMonthStr) values ('20100602')")));
    const auto empty = notes.FindDay("20100602");
    ASSERT_TRUE(empty.value.has_value());
    EXPECT_TRUE(empty.value->rtf.isEmpty());
}

TEST_F(DataModuleTest, KeysOfARangeComeInOrderOnceEach)
{
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    std::vector<qn::DayNote> week;
    for (const char* key : {"20240107", "20231231", "20240101", "20240201"})
        week.push_back({key, QByteArray("{\\rtf1 x}"), QStringLiteral("x")});
    ASSERT_TRUE(dm.Notes().WriteDays(week).ok());
    QSqlQuery q(dm.AdoCon());
    ASSERT_TRUE(q.exec(QStringLiteral("insert into tb_NewQN (YearMonthStr) values ('20240101')")));
    const auto keys = dm.Notes().ListKeys("20240101", "20240131");
    ASSERT_TRUE(keys.ok());
    EXPECT_EQ(keys.value, (std::vector<std::string>{"20240101", "20240107"}));
}

TEST_F(DataModuleTest, SavesStayInTheLogUntilTheCheckpointCopiesThemIntoTheFile)
{
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    const qn::DayNote note{"20240101", QByteArray("{\\rtf1 x}"), QStringLiteral("x")};
    ASSERT_TRUE(dm.Notes().WriteDays(std::vector<qn::DayNote>{note}).ok());

    EXPECT_EQ(RowsInFileAlone(dbPath()), 0);  // a keystroke's save does not copy the log back
    ASSERT_TRUE(dm.Checkpoint());
    EXPECT_EQ(RowsInFileAlone(dbPath()), 1);
    EXPECT_EQ(dm.Notes().FindDay("20240101").value, note);  // and the store goes on working
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
    const auto found = dm.Notes().FindDay("20240101");
    ASSERT_TRUE(found.value.has_value());
    EXPECT_EQ(found.value->rtf, QByteArray("{}"));
}

}  // namespace

namespace {

QString SchemaOfNotesTable(QSqlDatabase& db)
{
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec(QStringLiteral("select sql from sqlite_master where name = 'tb_NewQN'")));
    return q.next() ? q.value(0).toString() : QString();
}

int UserVersion(QSqlDatabase& db)
{
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec(QStringLiteral("PRAGMA user_version")));
    return q.next() ? q.value(0).toInt() : -1;
}

TEST_F(DataModuleTest, ANewFileHasTheCurrentSchemaVersion)
{
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    EXPECT_EQ(UserVersion(dm.AdoCon()), qn::CurrentSchemaVersion());
}

// An older file (another program's, without the lookup index) is brought to
// the current version; its notes table and rows stay exactly as they were.
TEST_F(DataModuleTest, AnOlderFileGetsTheIndexAndVersionAndKeepsItsNotes)
{
    const QString table = QStringLiteral(
        "CREATE TABLE tb_NewQN (ID INTEGER PRIMARY KEY, YearMonthStr TEXT, "
        "Content BLOB, ContentBak TEXT)");
    MakeForeignDatabase({table,
                         QStringLiteral("INSERT INTO tb_NewQN (YearMonthStr, Content, ContentBak) "
                                        "VALUES ('20240101', x'7B7D', 'a'), ('20240102', NULL, NULL)")});
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    EXPECT_EQ(UserVersion(dm.AdoCon()), qn::CurrentSchemaVersion());
    EXPECT_EQ(SchemaOfNotesTable(dm.AdoCon()), table);
    QSqlQuery q(dm.AdoCon());
    ASSERT_TRUE(q.exec(QStringLiteral("EXPLAIN QUERY PLAN select * from tb_NewQN where YearMonthStr = '20240101'")));
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.value(3).toString().contains(QStringLiteral("USING INDEX"))) << q.value(3).toString().toStdString();
    ASSERT_TRUE(q.exec(QStringLiteral("select ID, YearMonthStr, hex(Content), ContentBak from tb_NewQN order by ID")));
    QStringList rows;
    while (q.next())
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                         q.value(3).isNull() ? QStringLiteral("NULL") : q.value(3).toString());
    EXPECT_EQ(rows, (QStringList{QStringLiteral("1|20240101|7B7D|a"), QStringLiteral("2|20240102||NULL")}));
}

// A dropped index comes back at the next start, whatever the file's version.
TEST_F(DataModuleTest, TheLookupIndexIsMadeAgainWhenItIsMissing)
{
    {
        TDM dm(folder);
        ASSERT_TRUE(dm.ConnectDatabase());
        QSqlQuery q(dm.AdoCon());
        ASSERT_TRUE(q.exec(QStringLiteral("DROP INDEX idx_tb_NewQN_YearMonthStr")));
    }
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    QSqlQuery q(dm.AdoCon());
    ASSERT_TRUE(q.exec(QStringLiteral("select 1 from sqlite_master where name = 'idx_tb_NewQN_YearMonthStr'")));
    EXPECT_TRUE(q.next());
}

// Steps run once each, in order, each with its version; a failing step
// leaves the file at the version before it and undoes its own statements.
TEST_F(DataModuleTest, MigrationStepsRunOnceAndAFailingStepChangesNothing)
{
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    sqlite3* db = qn::SqliteHandle(dm.AdoCon());
    ASSERT_NE(db, nullptr);
    const int base = qn::CurrentSchemaVersion();
    const std::vector<qn::MigrationStep> steps = {
        {base + 1, {"CREATE TABLE extra_a (x)"}},
        {base + 2, {"CREATE TABLE extra_b (x)", "CREATE TABLE extra_a (x)"}},  // fails: extra_a exists
    };
    EXPECT_NE(qn::MigrateSchema(db, steps), qn::StoreStatus::Ok);
    EXPECT_EQ(UserVersion(dm.AdoCon()), base + 1);
    QSqlQuery q(dm.AdoCon());
    ASSERT_TRUE(q.exec(QStringLiteral("select name from sqlite_master where name like 'extra_%' order by name")));
    QStringList tables;
    while (q.next())
        tables << q.value(0).toString();
    EXPECT_EQ(tables, QStringList{QStringLiteral("extra_a")});
    // Run again: the first step is not repeated (it would fail if it were).
    const std::vector<qn::MigrationStep> fixed = {{base + 1, {"CREATE TABLE extra_a (x)"}},
                                                  {base + 2, {"CREATE TABLE extra_b (x)"}}};
    EXPECT_EQ(qn::MigrateSchema(db, fixed), qn::StoreStatus::Ok);
    EXPECT_EQ(UserVersion(dm.AdoCon()), base + 2);
}

TEST_F(DataModuleTest, AFileFromANewerProgramKeepsItsVersion)
{
    MakeForeignDatabase({QStringLiteral("CREATE TABLE tb_NewQN (YearMonthStr TEXT, Content BLOB, ContentBak TEXT)"),
                         QStringLiteral("PRAGMA user_version = 99")});
    TDM dm(folder);
    ASSERT_TRUE(dm.ConnectDatabase());
    EXPECT_EQ(UserVersion(dm.AdoCon()), 99);
}

}  // namespace
