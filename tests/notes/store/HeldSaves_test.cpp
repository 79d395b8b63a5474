// At start the notes file passes its quick checks before the window shows;
// the check of every page runs beside the window. Until it has passed,
// saves are held in memory; a file that fails it is never written.

#include "store/WholeFileCheck.h"
#include "tests/support/BoardFixture.h"
#include "tests/support/StoreTrouble.h"

#include <QLabel>
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

}  // namespace
