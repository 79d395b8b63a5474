// At start the notes file passes its quick checks before the window shows;
// the check of every page runs beside the window. Until it has passed,
// saves are held in memory; a file that fails it is never written.

#include "notes/backup/AutoBackup.h"
#include "notes/backup/RestoreWindow.h"
#include "store/Backup.h"
#include "store/SqliteConnection.h"
#include "store/WholeFileCheck.h"
#include "tests/support/BoardFixture.h"
#include "tests/support/StoreTrouble.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <map>
#include <optional>

namespace {

class HeldSavesTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        dm.reset();
        g_messages.clear();
        qn::SetMessageSink(CollectMessage);
    }
    QString dbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }
    // Starts the way the program does: only the quick checks, reading only.
    void StartReadingOnly()
    {
        dm = std::make_unique<TDM>(folder);
        ASSERT_TRUE(dm->OpenForReading());
        ASSERT_FALSE(dm->AcceptsWrites());
    }
    // The rows as another connection sees them.
    QStringList StoredElsewhere() const
    {
        QStringList rows;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("elsewhere"));
            db.setDatabaseName(dbPath());
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (db.open()) {
                QSqlQuery q(db);
                q.exec(QStringLiteral("select YearMonthStr, ContentBak from tb_NewQN order by YearMonthStr"));
                while (q.next())
                    rows << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("elsewhere"));
        return rows;
    }
    void Type(int n, const QString& text)
    {
        Box(n)->setFocus();
        Box(n)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Box(n), text);
    }
    QLabel* Sign() const { return Find<QLabel>("lblUnsaved"); }
    // A note long enough to lie on pages of its own, which DamagedNotePage finds.
    void InsertLongNote()
    {
        RawConnection other(dbPath());
        const std::string note =
            "INSERT INTO tb_NewQN (YearMonthStr, Content, ContentBak) VALUES ('20100601', '{\\rtf1 "
            + std::string(20000, 'Q') + "}', 'long')";
        ASSERT_TRUE(other.Exec(note.c_str())) << other.Error().toStdString();
    }
    static QByteArray Bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The notes file and whatever lies beside it (its log and the log's index).
    std::map<QString, QByteArray> NotesFiles() const
    {
        std::map<QString, QByteArray> files;
        const QDir data(folder.dataFolder());
        for (const QString& name : data.entryList({QStringLiteral("UserData.mdb*")}, QDir::Files | QDir::Hidden)) {
            QFile f(data.filePath(name));
            files[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
        }
        return files;
    }
};

TEST_F(HeldSavesTest, SavesWaitInMemoryUntilTheWholeFileHasPassedItsCheck)
{
    StartReadingOnly();
    Open(qn::EncodeDate(2010, 6, 1));
    qn::WeekNotesTiming timing = window->board()->model()->Timing();
    timing.heldSignDelayMs = 3600 * 1000;
    window->board()->model()->SetTiming(timing);

    // A short check is not worth a sign.
    Type(2, QStringLiteral("tuesday"));
    EXPECT_FALSE(Sign()->isVisible());
    EXPECT_TRUE(window->board()->model()->HasUnsaved());
    // A long one is.
    timing.heldSignDelayMs = 10;
    window->board()->model()->SetTiming(timing);
    QTRY_VERIFY(Sign()->isVisible());
    EXPECT_EQ(Sign()->toolTip(), QStringLiteral("未保存：正在检查笔记文件…"));
    for (const int width : {TMainFrm::kMinWidth, 1400}) {
        window->resize(width, TMainFrm::kMinHeight);
        QApplication::processEvents();
        EXPECT_FALSE(Sign()->geometry().intersects(Find<QLabel>("lblweek3")->geometry())) << width;
        EXPECT_LE(Sign()->geometry().right(), Find<QWidget>("pnlRight")->width()) << width;
    }

    // Another week meanwhile; the first keeps its text.
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 14));
    Type(1, QStringLiteral("monday"));
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 1));
    EXPECT_EQ(Box(2)->toPlainText(), QStringLiteral("tuesday"));
    EXPECT_TRUE(StoredElsewhere().isEmpty());

    window->WholeFileChecked(qn::CheckWholeFile(dbPath()));
    EXPECT_TRUE(dm->AcceptsWrites());
    EXPECT_FALSE(Sign()->isVisible());
    EXPECT_FALSE(window->board()->model()->HasUnsaved());
    const QStringList stored = StoredElsewhere();
    EXPECT_TRUE(stored.contains(QStringLiteral("20100601=tuesday"))) << stored.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("20100614=monday"))) << stored.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(g_messages.isEmpty());
    EXPECT_EQ(terminationRequests, 0);

    // From now on every keystroke is stored at once.
    Type(2, QStringLiteral("!"));
    EXPECT_TRUE(StoredElsewhere().contains(QStringLiteral("20100601=tuesday!")));
}

// The lookup index is made once the file has passed, also when the file was
// written without it.
TEST_F(HeldSavesTest, TheLookupIndexIsMadeOnceTheWholeFileHasPassed)
{
    {
        RawConnection other(dbPath());
        ASSERT_TRUE(other.Exec("DROP INDEX idx_tb_NewQN_YearMonthStr"));
    }
    StartReadingOnly();
    Open(qn::EncodeDate(2010, 6, 1));
    window->WholeFileChecked(qn::StoreStatus::Ok);
    QSqlQuery q(dm->AdoCon());
    ASSERT_TRUE(q.exec(QStringLiteral("select 1 from sqlite_master where name = 'idx_tb_NewQN_YearMonthStr'")));
    EXPECT_TRUE(q.next());
}

TEST_F(HeldSavesTest, AFileThatFailsTheWholeCheckIsNeverWrittenAndTheProgramEnds)
{
    {
        RawConnection other(dbPath());
        const std::string note =
            "INSERT INTO tb_NewQN (YearMonthStr, Content, ContentBak) VALUES ('20100601', '{\\rtf1 "
            + std::string(20000, 'Q') + "}', 'long')";
        ASSERT_TRUE(other.Exec(note.c_str())) << other.Error().toStdString();
    }
    DamagedNotePage damage(dbPath(), 'Q');
    ASSERT_TRUE(damage.damaged());
    const auto before = NotesFiles();
    StartReadingOnly();
    Open(qn::EncodeDate(2010, 6, 14));
    Type(3, QStringLiteral("typed while checking"));

    const qn::StoreStatus checked = qn::CheckWholeFile(dbPath());
    EXPECT_EQ(checked, qn::StoreStatus::Corrupt);
    window->WholeFileChecked(checked);
    ASSERT_EQ(g_messages.size(), 1);
    EXPECT_TRUE(g_messages.first().contains(QStringLiteral("配置文件加载失败，请重试！")));
    EXPECT_TRUE(g_messages.first().contains(QDir::toNativeSeparators(dbPath()))) << g_messages.first().toStdString();
    EXPECT_EQ(terminationRequests, 1);
    EXPECT_FALSE(dm->AcceptsWrites());
    Type(3, QStringLiteral(" and after"));
    EXPECT_FALSE(dm->AcceptsWrites());

    window.reset();
    dm.reset();
    EXPECT_EQ(NotesFiles(), before);
}

// The check runs on a thread of its own and reports on the main thread.
TEST_F(HeldSavesTest, TheBackgroundCheckReportsOnTheMainThread)
{
    struct Case {
        bool damage;
        qn::StoreStatus expected;
    };
    {
        RawConnection other(dbPath());
        const std::string note =
            "INSERT INTO tb_NewQN (YearMonthStr, Content, ContentBak) VALUES ('20100601', '{\\rtf1 "
            + std::string(20000, 'Q') + "}', 'long')";
        ASSERT_TRUE(other.Exec(note.c_str())) << other.Error().toStdString();
    }
    for (const Case c : {Case{false, qn::StoreStatus::Ok}, Case{true, qn::StoreStatus::Corrupt}}) {
        std::optional<DamagedNotePage> damage;
        if (c.damage)
            damage.emplace(dbPath(), 'Q');
        qn::BackgroundFileCheck check(dbPath());
        QThread* reportedOn = nullptr;
        std::optional<qn::StoreStatus> result;
        QObject::connect(&check, &qn::BackgroundFileCheck::finished, [&](qn::StoreStatus status) {
            reportedOn = QThread::currentThread();
            result = status;
        });
        check.Start();
        QTRY_VERIFY(result.has_value());
        EXPECT_EQ(*result, c.expected);
        EXPECT_EQ(reportedOn, QCoreApplication::instance()->thread());
    }
}

// The check finds the damage after the window is up: the newest sound copy
// is offered. Taken, the damaged file is kept aside unchanged, the copy
// takes its place and the notes typed during the check go into it;
// declined, nothing is written and the program ends.
TEST_F(HeldSavesTest, DamageFoundByTheCheckIsOfferedTheNewestSoundCopy)
{
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "restored" : "declined");
        window.reset();
        dm.reset();
        QDir(folder.dataFolder()).removeRecursively();
        ASSERT_TRUE(folder.ensureDataFolder());
        {
            TDM fresh(folder);
            ASSERT_TRUE(fresh.ConnectDatabase());
        }
        InsertLongNote();
        ASSERT_TRUE(qn::WriteBackup(dbPath(), QDateTime(QDate(2024, 5, 1), QTime(10, 30))).ok());
        DamagedNotePage damage(dbPath(), 'Q');
        ASSERT_TRUE(damage.damaged());
        const auto before = NotesFiles();
        g_messages.clear();
        soundCopyOffers.clear();
        soundCopyAnswer = accept;
        terminationRequests = 0;

        StartReadingOnly();
        Open(qn::EncodeDate(2010, 6, 14));
        Type(3, QStringLiteral("typed while checking"));
        window->WholeFileChecked(qn::CheckWholeFile(dbPath()));

        ASSERT_EQ(soundCopyOffers.size(), 1);
        EXPECT_TRUE(soundCopyOffers.first().contains(QStringLiteral("2024年5月1日 10:30 的备份")))
            << soundCopyOffers.first().toStdString();
        const QStringList aside =
            QDir(folder.dataFolder()).entryList({QStringLiteral("UserData-damaged-*.mdb")}, QDir::Files);
        if (!accept) {
            EXPECT_EQ(terminationRequests, 1);
            EXPECT_EQ(g_messages.size(), 1);
            EXPECT_FALSE(dm->AcceptsWrites());
            EXPECT_TRUE(aside.isEmpty());
            window.reset();
            dm.reset();
            EXPECT_EQ(NotesFiles(), before);
            continue;
        }
        EXPECT_EQ(terminationRequests, 0);
        EXPECT_TRUE(g_messages.isEmpty()) << g_messages.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(dm->AcceptsWrites());
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(Bytes(folder.dataFile(aside.first())), before.at(QStringLiteral("UserData.mdb")));
        EXPECT_FALSE(window->board()->model()->HasUnsaved());
        const QStringList stored = StoredElsewhere();
        EXPECT_TRUE(stored.contains(QStringLiteral("20100601=long")));
        EXPECT_TRUE(stored.contains(QStringLiteral("20100616=typed while checking")))
            << stored.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(Box(3)->toPlainText(), QStringLiteral("typed while checking"));
    }
}

// A backup is put back only into a file that has passed its check, and
// only when no typed note waits in memory: those would otherwise be lost
// with the notes they were typed over, or written over the restored ones.
// Meanwhile no automatic copy is made and the index keeper holds back.
TEST_F(HeldSavesTest, ARestoreWaitsForTheCheckAndForNotesHeldInMemory)
{
    dm = std::make_unique<TDM>(folder);
    ASSERT_TRUE(dm->ConnectDatabase());
    const qn::DayNote old{"20100601", "{\\rtf1 old}", QStringLiteral("old")};
    ASSERT_TRUE(dm->Notes().WriteDays({&old, 1}).ok());
    ASSERT_TRUE(qn::WriteBackup(dbPath(), QDateTime(QDate(2010, 6, 1), QTime(9, 0))).ok());
    dm.reset();

    StartReadingOnly();
    Open(qn::EncodeDate(2010, 6, 1));
    FastRetries();
    Type(2, QStringLiteral(" new"));
    TAutoBackup autoBackup(*dm, nullptr, [] { return QDateTime(QDate(2010, 6, 2), QTime(9, 0)); });
    auto restore = [&] {
        window->findChild<QAction*>(QStringLiteral("N_Restore"))->trigger();
        TRestoreFrm* frm = window->restoreWindow();
        frm->confirm = [](const QString&, QWidget*) { return true; };
        return frm->btnRestoreClick();
    };
    const auto copiesBefore = qn::ListBackups(dbPath()).size();

    // Not yet checked: nothing is replaced.
    EXPECT_FALSE(restore());
    ASSERT_EQ(g_messages.size(), 1);
    EXPECT_TRUE(g_messages.first().contains(QStringLiteral("还没有检查完")));
    EXPECT_EQ(qn::ListBackups(dbPath()).size(), copiesBefore);

    // Checked, but another program holds the write lock: the typed note waits.
    window->WholeFileChecked(qn::StoreStatus::Ok);
    {
        WriteLockHolder lock(dbPath());
        ASSERT_TRUE(lock.held());
        Type(2, QStringLiteral("er"));
        ASSERT_TRUE(window->board()->model()->HasUnsaved());
        EXPECT_TRUE(dm->SavesHeld());
        EXPECT_FALSE(autoBackup.CheckNow());
        g_messages.clear();
        EXPECT_FALSE(restore());
        ASSERT_EQ(g_messages.size(), 1);
        EXPECT_TRUE(g_messages.first().contains(QStringLiteral("有笔记还没有保存")));
        EXPECT_EQ(qn::ListBackups(dbPath()).size(), copiesBefore);
        EXPECT_EQ(Box(2)->toPlainText(), QStringLiteral("old newer"));
    }

    // The lock gone, the restore first stores the note, then copies the notes
    // that hold it, then puts the backup back.
    g_messages.clear();
    EXPECT_TRUE(restore());
    EXPECT_TRUE(g_messages.isEmpty()) << g_messages.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(dm->SavesHeld());
    QTRY_COMPARE(Box(2)->toPlainText(), QStringLiteral("old"));
    const std::vector<qn::BackupCopy> copies = qn::ListBackups(dbPath());
    ASSERT_EQ(copies.size(), copiesBefore + 1);
    qn::SqliteConnection newest(copies.front().path, qn::SqliteConnection::Mode::ReadOnly);
    EXPECT_EQ(newest.QueryText("select ContentBak from tb_NewQN where YearMonthStr = '20100601'"),
              QStringLiteral("old newer"));
}

}  // namespace
