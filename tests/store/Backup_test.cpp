// Backups of the notes database: consistent owner-only copies made while the
// notebook is open, the keep rules, restoring a copy, and telling a damaged
// file from a sound one.

#include "store/Backup.h"
#include "store/SqliteConnection.h"
#include "store/SqliteStatement.h"
#include "tests/support/StoreFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

namespace {

constexpr QFileDevice::Permissions kOwnerReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The owner's, the group's and everyone else's permissions of a file.
QFileDevice::Permissions Mode(const QString& path) { return QFileInfo(path).permissions() & 0x7077; }

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString NoteIn(const QString& path, const char* key)
{
    qn::SqliteConnection db(path, qn::SqliteConnection::Mode::ReadOnly);
    return db.QueryText((std::string("select ContentBak from tb_NewQN where YearMonthStr = '") + key + "'").c_str());
}

class BackupTest : public StoreFixture {
protected:
    QString DbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }
    void Save(const char* key, const QString& text)
    {
        const qn::DayNote note{key, QByteArray("{\\rtf1 ") + text.toUtf8() + '}', text};
        ASSERT_TRUE(dm->Notes().WriteDays({&note, 1}).ok());
    }
};

TEST(BackupRules, KeepTheNewestOfSevenDaysFourWeeksAndTwelveMonths)
{
    // A copy every day at noon and one more every evening, for 400 days up
    // to Wednesday 15 May 2024.
    std::vector<QDateTime> times;
    for (QDate d(2024, 5, 15); d > QDate(2024, 5, 15).addDays(-400); d = d.addDays(-1)) {
        times.emplace_back(d, QTime(20, 0));
        times.emplace_back(d, QTime(12, 0));
    }
    const std::vector<bool> keep = qn::CopiesToKeep(times);
    QStringList kept;
    for (size_t i = 0; i < times.size(); ++i)
        if (keep[i])
            kept << times[i].toString(QStringLiteral("MM-dd HH"));
    EXPECT_EQ(
        kept,
        (QStringList{// seven days, and every copy of the last 24 hours
                     "05-15 20", "05-15 12", "05-14 20", "05-13 20", "05-12 20", "05-11 20", "05-10 20", "05-09 20",
                     // the Sundays ending two more weeks, the last day of eleven more months
                     "05-05 20", "04-30 20", "04-28 20", "03-31 20", "02-29 20", "01-31 20", "12-31 20", "11-30 20",
                     "10-31 20", "09-30 20", "08-31 20", "07-31 20", "06-30 20"}));
    EXPECT_TRUE(qn::CopiesToKeep({}).empty());
    EXPECT_EQ(qn::CopiesToKeep({QDateTime(QDate(2024, 1, 1), QTime(1, 0))}), std::vector<bool>{true});
}

TEST_F(BackupTest, CopyIsConsistentOwnerOnlyAndMadeWhileTheNotebookWrites)
{
    Save("20100601", QStringLiteral("备份之前的笔记"));
    // The save is in the write-ahead log only; the copy has it all the same.
    const qn::BackupOutcome made = qn::WriteBackup(DbPath(), QDateTime(QDate(2024, 5, 1), QTime(10, 30, 15)));
    ASSERT_TRUE(made.ok()) << made.error.toStdString();
    EXPECT_EQ(made.path, folder.dataFile(QStringLiteral("Backup/UserData-2024-05-01_10-30-15.mdb")));
    EXPECT_EQ(Mode(made.path), kOwnerReadWrite);
    EXPECT_EQ(Mode(folder.dataFile(QStringLiteral("Backup"))), kOwnerReadWrite | QFileDevice::ExeOwner);
    EXPECT_TRUE(qn::IsSoundNotesFile(made.path));
    EXPECT_EQ(NoteIn(made.path, "20100601"), QStringLiteral("备份之前的笔记"));
    EXPECT_EQ(QDir(folder.dataFile(QStringLiteral("Backup"))).entryList(QDir::Files),
              QStringList{QStringLiteral("UserData-2024-05-01_10-30-15.mdb")});

    // The notebook goes on writing; a second copy in the same second gets a name of its own.
    Save("20100601", QStringLiteral("之后"));
    const qn::BackupOutcome again = qn::WriteBackup(DbPath(), QDateTime(QDate(2024, 5, 1), QTime(10, 30, 15)));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(QFileInfo(again.path).fileName(), QStringLiteral("UserData-2024-05-01_10-30-15-2.mdb"));
    EXPECT_EQ(NoteIn(again.path, "20100601"), QStringLiteral("之后"));
    const std::vector<qn::BackupCopy> copies = qn::ListBackups(DbPath());
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].path, again.path);
    EXPECT_EQ(copies[0].bytes, QFileInfo(again.path).size());
    EXPECT_EQ(copies[1].path, made.path);
}

TEST_F(BackupTest, OldCopiesBeyondTheRulesGoWhenACopyIsWritten)
{
    const QString backups = folder.dataFile(QStringLiteral("Backup/"));
    ASSERT_TRUE(QDir().mkpath(backups));
    // Forty daily copies of earlier days, and a file that is no copy.
    for (int i = 1; i <= 40; ++i)
        WriteAll(backups
                     + QStringLiteral("UserData-%1_09-00-00.mdb")
                           .arg(QDate(2024, 5, 1).addDays(-i).toString(QStringLiteral("yyyy-MM-dd"))),
                 "x");
    WriteAll(backups + QStringLiteral("notes.txt"), "mine");
    ASSERT_TRUE(qn::WriteBackup(DbPath(), QDateTime(QDate(2024, 5, 1), QTime(9, 0))).ok());
    QStringList left;
    for (const qn::BackupCopy& copy : qn::ListBackups(DbPath()))
        left << copy.made.toString(QStringLiteral("MM-dd"));
    // (04-30 09:00 is 24 hours before the newest copy, not within them.)
    EXPECT_EQ(left,
              (QStringList{"05-01", "04-30", "04-29", "04-28", "04-27", "04-26", "04-25", "04-21", "04-14", "03-31"}));
    EXPECT_TRUE(QFileInfo::exists(backups + QStringLiteral("notes.txt")));
}

TEST_F(BackupTest, RestoreReplacesEveryNoteInTheOpenDatabase)
{
    Save("20100601", QStringLiteral("原来的"));
    const qn::BackupOutcome made = qn::WriteBackup(DbPath(), QDateTime::currentDateTime());
    ASSERT_TRUE(made.ok());
    Save("20100601", QStringLiteral("改过的"));
    Save("20100602", QStringLiteral("新的一天"));

    ASSERT_EQ(qn::RestoreInto(qn::SqliteHandle(dm->AdoCon()), made.path), qn::StoreStatus::Ok);
    const auto restored = dm->Notes().FindDay("20100601");
    ASSERT_TRUE(restored.ok() && restored.value);
    EXPECT_EQ(restored.value->plain, QStringLiteral("原来的"));
    EXPECT_FALSE(dm->Notes().FindDay("20100602").value);
    // Still the same kind of file: saves keep going to the log.
    qn::SqliteConnection live(DbPath(), qn::SqliteConnection::Mode::ReadOnly);
    EXPECT_EQ(live.QueryText("pragma journal_mode"), QStringLiteral("wal"));
    Save("20100603", QStringLiteral("恢复之后"));
    EXPECT_EQ(NoteIn(DbPath(), "20100603"), QStringLiteral("恢复之后"));
}

TEST_F(BackupTest, DamagedFilesAreToldFromSoundOnes)
{
    Save("20100601", QStringLiteral("正常"));
    ASSERT_TRUE(dm->Checkpoint());
    const QString sound = DbPath();
    EXPECT_FALSE(qn::IsDamagedNotesFile(sound));
    EXPECT_TRUE(qn::IsSoundNotesFile(sound));
    EXPECT_FALSE(qn::IsDamagedNotesFile(folder.dataFile(QStringLiteral("missing.mdb"))));

    const QString other = folder.dataFile(QStringLiteral("other.mdb"));
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray torn = ReadAll(sound);
    // Page 2 onwards overwritten: the header still says SQLite.
    for (qsizetype i = 4096; i < torn.size(); ++i)
        torn[i] = static_cast<char>(0xA5);
    const Case damaged[] = {
        {"text", QByteArray("这不是数据库 not a database at all, just text. ").repeated(200)},
        {"torn", torn},
        {"half header", ReadAll(sound).left(60)},
    };
    for (const Case& c : damaged) {
        WriteAll(other, c.bytes);
        EXPECT_TRUE(qn::IsDamagedNotesFile(other)) << c.what;
        EXPECT_FALSE(qn::IsSoundNotesFile(other)) << c.what;
    }
    // A database without the notes table is no notes database.
    QFile::remove(other);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(other);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("create table t (x)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    EXPECT_TRUE(qn::IsDamagedNotesFile(other));
}

TEST_F(BackupTest, DamagedFileIsSetAsideUnchangedAndACopyTakesItsPlace)
{
    Save("20100601", QStringLiteral("好的备份"));
    const qn::BackupOutcome made = qn::WriteBackup(DbPath(), QDateTime::currentDateTime());
    ASSERT_TRUE(made.ok());
    dm.reset();
    const QByteArray garbage = QByteArray("garbage ").repeated(1000);
    WriteAll(DbPath(), garbage);
    WriteAll(DbPath() + QStringLiteral("-wal"), "log of the damaged file");

    QString error;
    const QString aside = qn::SetDamagedFileAside(DbPath(), QDateTime(QDate(2024, 5, 2), QTime(8, 0)), &error);
    ASSERT_FALSE(aside.isEmpty()) << error.toStdString();
    EXPECT_EQ(QFileInfo(aside).fileName(), QStringLiteral("UserData-damaged-2024-05-02_08-00-00.mdb"));
    EXPECT_EQ(ReadAll(aside), garbage);
    EXPECT_EQ(ReadAll(aside + QStringLiteral("-wal")), QByteArray("log of the damaged file"));
    EXPECT_FALSE(QFileInfo::exists(DbPath()));
    EXPECT_FALSE(QFileInfo::exists(DbPath() + QStringLiteral("-wal")));

    ASSERT_TRUE(qn::InstallCopy(made.path, DbPath(), &error)) << error.toStdString();
    EXPECT_EQ(Mode(DbPath()), kOwnerReadWrite);
    dm = std::make_unique<TDM>(folder);
    ASSERT_TRUE(dm->ConnectDatabase());
    EXPECT_EQ(dm->Notes().FindDay("20100601").value->plain, QStringLiteral("好的备份"));
    // A file in the way is never replaced.
    EXPECT_FALSE(qn::InstallCopy(made.path, DbPath(), &error));
}

}  // namespace
