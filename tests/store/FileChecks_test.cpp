// The checks a notes file passes before anything writes to it: which files
// are refused, and that a refused file, its log and the log's index keep
// every byte.

#include "store/FileChecks.h"
#include "tests/support/DataModuleFixture.h"
#include "tests/support/RowsInFileAlone.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

const char* const kNotesTable = "CREATE TABLE tb_NewQN (YearMonthStr TEXT, Content BLOB, ContentBak TEXT)";

// A notes table that every save would fail on, or change behind the
// notebook's back, is refused like any other unusable file.
TEST_F(DataModuleTest, ANotesTableThatSavesCannotRelyOnIsRefusedAndLeftAlone)
{
    struct Case {
        const char* what;
        QStringList statements;
    };
    const Case cases[] = {
        {"a view over another table",
         {QStringLiteral("PRAGMA journal_mode=WAL"),
          QStringLiteral("CREATE TABLE notes_rows (YearMonthStr TEXT, Content BLOB, ContentBak TEXT)"),
          QStringLiteral("CREATE VIEW tb_NewQN AS SELECT * FROM notes_rows")}},
        {"a trigger that drops every change",
         {QString::fromLatin1(kNotesTable),
          QStringLiteral("CREATE TRIGGER keep_old BEFORE UPDATE ON tb_NewQN BEGIN SELECT RAISE(IGNORE); END")}},
        {"a trigger that writes elsewhere",
         {QStringLiteral("PRAGMA journal_mode=WAL"), QString::fromLatin1(kNotesTable),
          QStringLiteral("CREATE TABLE seen (k TEXT)"),
          QStringLiteral(
              "CREATE TRIGGER Copy AFTER INSERT ON TB_NEWQN BEGIN INSERT INTO seen VALUES (new.YearMonthStr); "
              "END")}},
        {"a table without row numbers",
         {QStringLiteral("CREATE TABLE tb_NewQN (YearMonthStr TEXT PRIMARY KEY, Content BLOB, ContentBak TEXT) "
                         "WITHOUT ROWID")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(QFile::remove(dbPath()) || !QFile::exists(dbPath()));
        g_messages.clear();
        MakeForeignDatabase(c.statements);
        ExpectRefusedAndUntouched(ReadAll(dbPath()));
    }
}

// The read-only connections reach the file by a URI: a folder whose name
// holds spaces, Chinese, or characters a URI gives a meaning works like any.
TEST_F(DataModuleTest, AFolderWithAnyNameOpens)
{
    const QString odd = dir.filePath(QStringLiteral("我的 笔记 #1 ?%20&x=y"));
    const qn::ProgramFolder oddFolder(odd);
    ASSERT_TRUE(oddFolder.ensureDataFolder());
    for (int start = 0; start < 2; ++start) {  // created, then opened again
        TDM dm(oddFolder);
        ASSERT_TRUE(dm.ConnectDatabase()) << start;
        if (start == 0)
            ASSERT_TRUE(dm.Notes().WriteDays(std::vector<qn::DayNote>{{"20100601", "{\\rtf1 x}", "x"}}).ok());
        else
            EXPECT_EQ(dm.Notes().FindDay("20100601").value->plain, QStringLiteral("x"));
    }
    EXPECT_EQ(qn::CheckWholeFile(oddFolder.dataFile(QStringLiteral("UserData.mdb"))), qn::StoreStatus::Ok);
    EXPECT_TRUE(g_messages.isEmpty());
}

class StaleLogTest : public DataModuleTest {
protected:
    // The notebook of yesterday: a notes file with a few notes, closed
    // cleanly. Then a day of work in which a crash leaves its last saves in
    // the log. Returns yesterday's file.
    QByteArray YesterdayThenADayEndingInACrash()
    {
        {
            TDM dm(folder);
            EXPECT_TRUE(dm.ConnectDatabase());
            std::vector<qn::DayNote> notes;
            for (int day = 1; day <= 5; ++day)
                notes.push_back({"201001" + std::to_string(10 + day), QByteArray("{\\rtf1 yesterday}"),
                                 QStringLiteral("yesterday")});
            EXPECT_TRUE(dm.Notes().WriteDays(notes).ok());
        }
        const QByteArray yesterday = ReadAll(dbPath());
        RawConnection today(dbPath());
        EXPECT_TRUE(today.Exec("PRAGMA wal_autocheckpoint=0")) << today.Error().toStdString();
        EXPECT_TRUE(
            today.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
                       "INSERT INTO tb_NewQN SELECT printf('2011%04d', i), randomblob(900), 'today' FROM n"))
            << today.Error().toStdString();
        EXPECT_TRUE(today.Exec("PRAGMA wal_checkpoint(TRUNCATE)"));
        // The last saves before the crash make the file grow: the log holds its first page too.
        EXPECT_TRUE(
            today.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20) "
                       "INSERT INTO tb_NewQN SELECT printf('2012%04d', i), randomblob(900), 'later' FROM n"));
        EXPECT_TRUE(today.Exec("UPDATE tb_NewQN SET ContentBak = 'last save' WHERE YearMonthStr = '20110399'"));
        today.CloseLeavingTheLog();
        EXPECT_TRUE(QFile::exists(dbPath() + QStringLiteral("-wal")));
        EXPECT_TRUE(QFile::exists(dbPath() + QStringLiteral("-shm")));
        return yesterday;
    }
};

// The user puts yesterday's file back while the log of a later crash is still
// beside it. The log does not belong to that file: the notebook refuses to
// start, and the file, the log and its index keep every byte.
TEST_F(StaleLogTest, AStaleLogBesideARestoredFileIsRefusedAndNothingOnDiskChanges)
{
    const QByteArray yesterday = YesterdayThenADayEndingInACrash();
    WriteFile(yesterday);
    const auto before = DataFiles();
    ASSERT_EQ(before.size(), 3u);
    // Again at the next start: still refused, still untouched.
    for (int start = 0; start < 2; ++start) {
        TDM dm(folder);
        EXPECT_FALSE(dm.ConnectDatabase());
    }
    ASSERT_EQ(g_messages.size(), 2);
    EXPECT_TRUE(g_messages.first().contains(QStringLiteral("配置文件加载失败，请重试！")));
    const auto after = DataFiles();
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : before)
        EXPECT_TRUE(after.count(name) && after.at(name) == bytes) << name.toStdString() << " changed";
}

// A log without its index: reading it needs one, which the check makes and
// removes again when the file is refused.
TEST_F(StaleLogTest, AStaleLogWithoutItsIndexIsRefusedAndNoIndexIsLeftBehind)
{
    const QByteArray yesterday = YesterdayThenADayEndingInACrash();
    WriteFile(yesterday);
    ASSERT_TRUE(QFile::remove(dbPath() + QStringLiteral("-shm")));
    const auto before = DataFiles();
    ASSERT_EQ(before.size(), 2u);
    {
        TDM dm(folder);
        EXPECT_FALSE(dm.ConnectDatabase());
    }
    EXPECT_EQ(g_messages.size(), 1);
    EXPECT_EQ(DataFiles(), before);
}

// The log a crash leaves beside its own file is part of the notes: the next
// start keeps its saves, and closing copies them into the file.
TEST_F(StaleLogTest, TheLogOfACrashBesideItsOwnFileIsKept)
{
    YesterdayThenADayEndingInACrash();
    {
        TDM dm(folder);
        ASSERT_TRUE(dm.ConnectDatabase());
        const auto last = dm.Notes().FindDay("20110399");
        ASSERT_TRUE(last.ok());
        ASSERT_TRUE(last.value.has_value());
        EXPECT_EQ(last.value->plain, QStringLiteral("last save"));
    }
    EXPECT_FALSE(QFile::exists(dbPath() + QStringLiteral("-wal")));
    EXPECT_EQ(RowsInFileAlone(dbPath()), 425);
}

}  // namespace
