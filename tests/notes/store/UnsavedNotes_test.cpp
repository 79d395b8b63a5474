// A save the store refuses (another program holds the lock, the disk is
// full) is shown on the board, kept across week switches, tried again, and
// written once the store takes it; closing with such text asks first.

#include "tests/support/BoardFixture.h"
#include "tests/support/StoreTrouble.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QTest>

namespace {

class UnsavedNotesTest : public BoardFixture {
protected:
    QString dbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }
    QString Stored(const char* key) const
    {
        const auto rows = Rows(QStringLiteral("where YearMonthStr = '%1'").arg(QLatin1String(key)));
        return rows.empty() ? QStringLiteral("<none>") : rows.front().contentBak;
    }
    void Type(int n, const QString& text)
    {
        Box(n)->setFocus();
        Box(n)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Box(n), text);
    }
    QLabel* Sign() const { return Find<QLabel>("lblUnsaved"); }
    // The sign's whole text is its tooltip; the label shortens it when the
    // header has no room for all of it, and never covers a day's header.
    bool SignShows(const QString& text) const
    {
        return Sign()->isVisible() && Sign()->toolTip() == text && !Sign()->text().isEmpty()
            && !Sign()->geometry().intersects(Find<QLabel>("lblweek3")->geometry());
    }
};

TEST_F(UnsavedNotesTest, ASaveRefusedByALockIsShownKeptAcrossWeeksAndWrittenWhenTheLockEnds)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FastRetries();
    Type(2, QStringLiteral("a"));
    ASSERT_EQ(Stored("20100601"), QStringLiteral("a"));
    EXPECT_FALSE(Sign()->isVisible());

    WriteLockHolder lock(dbPath());
    ASSERT_TRUE(lock.held());
    Type(2, QStringLiteral("b"));
    EXPECT_EQ(Stored("20100601"), QStringLiteral("a"));
    EXPECT_TRUE(SignShows(QStringLiteral("未保存：数据库被占用")));

    // Another week, typed in as well; then back: the unsaved text is there.
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 14));
    EXPECT_EQ(Box(2)->toPlainText(), QString());
    Type(1, QStringLiteral("c"));
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 2));
    EXPECT_EQ(Box(2)->toPlainText(), QStringLiteral("ab"));
    EXPECT_TRUE(SignShows(QStringLiteral("未保存：数据库被占用")));

    lock.Release();
    QTRY_VERIFY(!Sign()->isVisible());
    EXPECT_EQ(Stored("20100601"), QStringLiteral("ab"));
    EXPECT_EQ(Stored("20100614"), QStringLiteral("c"));
    EXPECT_FALSE(window->board()->model()->HasUnsaved());
}

// Every keystroke tries the held saves again, not only the timer.
TEST_F(UnsavedNotesTest, AKeystrokeTriesTheHeldSavesAgain)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FastRetries();
    qn::WeekNotesTiming timing = window->board()->model()->Timing();
    timing.retryMs = 3600 * 1000;
    window->board()->model()->SetTiming(timing);
    {
        WriteLockHolder lock(dbPath());
        Type(3, QStringLiteral("held"));
        EXPECT_EQ(Stored("20100602"), QStringLiteral("<none>"));
    }
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 14));
    Type(4, QStringLiteral("z"));
    EXPECT_EQ(Stored("20100602"), QStringLiteral("held"));
    EXPECT_EQ(Stored("20100617"), QStringLiteral("z"));
    EXPECT_FALSE(Sign()->isVisible());
}

// The notebook on a small disk of its own, which the test fills.
class FullDiskTest : public UnsavedNotesTest {
protected:
    void SetUp() override
    {
        if (!disk.mounted())
            GTEST_SKIP() << disk.why().toStdString();
        folder = qn::ProgramFolder(disk.path());
        ASSERT_TRUE(folder.ensureDataFolder());
        qn::SetMessageSink([](const QString&, const QString&) {});
        dm = std::make_unique<TDM>(folder);
        ASSERT_TRUE(dm->ConnectDatabase());
    }
    SmallDisk disk;
};

TEST_F(FullDiskTest, AFullDiskIsShownAndTheTextWrittenOnceThereIsRoomAgain)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FastRetries();
    Type(1, QStringLiteral("a"));
    ASSERT_EQ(Stored("20100531"), QStringLiteral("a"));

    ASSERT_TRUE(disk.Fill());
    const QString longNote = QStringLiteral("记事本").repeated(20000);
    Box(1)->insertPlainText(longNote);
    EXPECT_TRUE(SignShows(QStringLiteral("未保存：磁盘已满")));
    EXPECT_TRUE(window->board()->model()->HasUnsaved());
    EXPECT_EQ(Stored("20100531"), QStringLiteral("a"));

    ASSERT_TRUE(disk.Free());
    QTRY_VERIFY(!Sign()->isVisible());
    EXPECT_EQ(Stored("20100531"), QStringLiteral("a") + longNote);
}

// Closing with unsaved text asks; whichever way the window is closed.
TEST_F(UnsavedNotesTest, ClosingWithUnsavedTextAsksAndOnlyTheAnswerDecides)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FastRetries();
    WriteLockHolder lock(dbPath());
    Type(2, QStringLiteral("unsaved"));
    ASSERT_TRUE(window->board()->model()->HasUnsaved());

    struct Way {
        const char* name;
        std::function<void()> close;
    };
    const Way ways[] = {
        {"close button", [this] { window->img_close_highlightClick(); }},
        {"退出程序", [this] { window->findChild<QAction*>(QStringLiteral("N_ExitPrj"))->trigger(); }},
        {"close event", [this] { window->close(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        // Cancel: the program goes on, the text still waits.
        closeQuestions.clear();
        closeAnswers = {UnsavedAnswer::Cancel};
        way.close();
        EXPECT_EQ(closeQuestions.size(), 1);
        EXPECT_EQ(terminationRequests, 0);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->board()->model()->HasUnsaved());
        // Retrying while the lock is still held asks again.
        closeQuestions.clear();
        closeAnswers = {UnsavedAnswer::RetrySave, UnsavedAnswer::Cancel};
        way.close();
        EXPECT_EQ(closeQuestions.size(), 2);
        EXPECT_EQ(terminationRequests, 0);
        EXPECT_TRUE(window->isVisible());
    }
    ASSERT_FALSE(closeQuestions.isEmpty());
    EXPECT_TRUE(closeQuestions.first().contains(QStringLiteral("数据库被占用")))
        << closeQuestions.first().toStdString();

    // Once the lock has ended, closing saves first and asks nothing.
    closeQuestions.clear();
    closeAnswers = {UnsavedAnswer::RetrySave};
    window->board()->model()->SetTiming({3600 * 1000, 10, TWeekBoard::kCheckpointPauseMs});
    lock.Release();
    window->img_close_highlightClick();
    EXPECT_EQ(closeQuestions.size(), 0);  // the first try before asking already succeeds
    EXPECT_EQ(terminationRequests, 1);
    EXPECT_EQ(Stored("20100601"), QStringLiteral("unsaved"));
}

TEST_F(UnsavedNotesTest, DiscardingTheUnsavedTextCloses)
{
    Open(qn::EncodeDate(2010, 6, 1));
    FastRetries();
    WriteLockHolder lock(dbPath());
    Type(2, QStringLiteral("lost"));
    closeAnswers = {UnsavedAnswer::Discard};
    window->findChild<QAction*>(QStringLiteral("N_ExitPrj"))->trigger();
    EXPECT_EQ(closeQuestions.size(), 1);
    EXPECT_EQ(terminationRequests, 1);
    // What was let go is not written by a later save either.
    lock.Release();
    Type(1, QStringLiteral("x"));
    EXPECT_EQ(Stored("20100531"), QStringLiteral("x"));
    EXPECT_EQ(Stored("20100601"), QStringLiteral("<none>"));
}

// Nothing unsaved: closing asks nothing.
TEST_F(UnsavedNotesTest, ClosingWithEverythingSavedAsksNothing)
{
    Open(qn::EncodeDate(2010, 6, 1));
    Type(2, QStringLiteral("saved"));
    window->img_close_highlightClick();
    window->close();
    EXPECT_TRUE(closeQuestions.isEmpty());
    EXPECT_EQ(terminationRequests, 1);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
