#include "calendar/DateValue.h"
#include "calendar_control/ChnCalendar.h"
#include "notes/frame/WebPanel.h"
#include "notes/window/uMain.h"
#include "tests/support/RowsInFileAlone.h"
#include "tests/support/StoreFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <memory>

namespace {

class MainWindowTest : public StoreFixture {
protected:
    std::unique_ptr<TMainFrm> Open(double now) { return std::make_unique<TMainFrm>(*dm, folder, qn::FixedClock(now)); }
    static QTextEdit* Box(TMainFrm& w, int n) { return w.findChild<QTextEdit*>(QStringLiteral("redt%1").arg(n)); }
    static void Type(QTextEdit* box, const QString& text)
    {
        box->setFocus();
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, text);
    }
};

TEST(TodayLabel, ReadsTheDateWithoutLeadingZerosAndTheWeekdayCharacter)
{
    struct Case {
        int y, m, d;
        const char* text;
    };
    const Case cases[] = {
        {2010, 6, 1, "今天是 2010年6月1日(二)"},
        {2012, 3, 4, "今天是 2012年3月4日(日)"},
        {2009, 1, 5, "今天是 2009年1月5日(一)"},
        {2024, 12, 28, "今天是 2024年12月28日(六)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TodayLabelText(qn::EncodeDateTime(c.y, c.m, c.d, 14, 30, 15)), QString::fromUtf8(c.text));
}

TEST_F(MainWindowTest, CreationShowsTodaysLabelAndWeekWithoutSaving)
{
    Exec(QStringLiteral(
        "insert into tb_NewQN (YearMonthStr, Content) values ('20120303', x'7B5C727466317B5765656B656E647D7D')"));
    auto w = Open(qn::EncodeDateTime(2012, 3, 4, 9, 15, 0));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblDateTime"))->text(), QStringLiteral("今天是 2012年3月4日(日)"));
    EXPECT_EQ(w->FMonthText, QStringLiteral("3"));
    EXPECT_EQ(w->FViewNo, 1);
    EXPECT_EQ(ShownWeek.size(), 7u);
    EXPECT_EQ(ShownWeek[0].DayKey, "20120227");
    EXPECT_EQ(Box(*w, 6)->toPlainText(), QStringLiteral("Weekend"));
    EXPECT_TRUE(NotesReady);
    EXPECT_FALSE(w->board()->FShown);

    // Before the window has been shown, changes are not saved.
    Type(Box(*w, 1), QStringLiteral("x"));
    EXPECT_EQ(Rows().size(), 1u);
}

// The web panel's page is no part of the first painting: it loads right
// after the window is on screen.
TEST_F(MainWindowTest, TheWebPanelLoadsItsPageOnceTheWindowIsOnScreen)
{
    auto w = Open(qn::EncodeDateTime(2012, 3, 4, 9, 15, 0));
    QSignalSpy navigated(w->webPanel()->webLink, &qn::TWebLink::navigated);
    w->show();
    EXPECT_EQ(navigated.size(), 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return navigated.size() == 2; }));  // about:blank, then the start page
}

TEST_F(MainWindowTest, FirstKeystrokeAfterShowCreatesTheSixRows)
{
    auto w = Open(qn::EncodeDate(2010, 6, 1));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_TRUE(w->board()->FShown);
    EXPECT_TRUE(Rows().empty());
    Type(Box(*w, 2), QStringLiteral("a"));
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1].key, QStringLiteral("20100601"));
    EXPECT_EQ(rows[1].contentBak, QStringLiteral("a"));
    Type(Box(*w, 2), QStringLiteral("bc"));
    EXPECT_EQ(Rows()[1].contentBak, QStringLiteral("abc"));
    EXPECT_EQ(Rows().size(), 6u);
}

TEST_F(MainWindowTest, SundayEditsTheSaturdayRowAndWeeksComeBack)
{
    auto w = Open(qn::EncodeDate(2012, 3, 4));  // a Sunday
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Type(Box(*w, 6), QStringLiteral("weekend"));
    Type(Box(*w, 1), QStringLiteral("monday"));
    EXPECT_EQ(Rows(QStringLiteral("where YearMonthStr = '20120303'"))[0].contentBak, QStringLiteral("weekend"));
    EXPECT_TRUE(Rows(QStringLiteral("where YearMonthStr = '20120304'")).empty());

    // Another week: its boxes are empty and loading saved nothing.
    w->calendar()->SetDateTime(qn::EncodeDate(2012, 3, 14));
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(Box(*w, n)->toPlainText(), QString()) << n;
    EXPECT_EQ(Rows().size(), 6u);

    // Saturday of the first week finds both notes again.
    w->calendar()->SetDateTime(qn::EncodeDate(2012, 3, 3));
    EXPECT_EQ(Box(*w, 6)->toPlainText(), QStringLiteral("weekend"));
    EXPECT_EQ(Box(*w, 1)->toPlainText(), QStringLiteral("monday"));
    EXPECT_EQ(Rows().size(), 6u);
}

// After a pause in typing the saves are copied from the log into the
// database file itself.
TEST_F(MainWindowTest, APauseAfterTypingCheckpointsTheStore)
{
    auto w = Open(qn::EncodeDate(2010, 6, 1));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Type(Box(*w, 1), QStringLiteral("note"));
    EXPECT_EQ(RowsInFileAlone(folder.dataFile(QStringLiteral("UserData.mdb"))), 0);
    QTest::qWait(TMainFrm::kCheckpointPauseMs + 500);
    EXPECT_EQ(RowsInFileAlone(folder.dataFile(QStringLiteral("UserData.mdb"))), 6);
}

// Typing without a pause never lets the log grow past a few megabytes: once
// it has, it is copied into the file right after the keystroke's save.
TEST_F(MainWindowTest, TypingWithoutAPauseKeepsTheLogSmall)
{
    auto w = Open(qn::EncodeDate(2010, 6, 1));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    const QString log = folder.dataFile(QStringLiteral("UserData.mdb")) + QStringLiteral("-wal");
    qint64 largest = 0;
    // About 36 KB of log per save: 200 saves make 7 MB unless it is copied.
    const auto note = [](int i) { return (QString(79, QLatin1Char('a' + i % 26)) + QLatin1Char('\n')).repeated(200); };
    for (int i = 0; i < 200; ++i) {
        Box(*w, 1)->setPlainText(note(i));
        QCoreApplication::processEvents();
        largest = std::max(largest, QFileInfo(log).size());
    }
    EXPECT_LT(largest, 5 * 1024 * 1024);
    EXPECT_EQ(Rows(QStringLiteral("where YearMonthStr = '20100531'"))[0].contentBak,
              note(199).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

TEST_F(MainWindowTest, FocusLeavingABoxSaves)
{
    auto w = Open(qn::EncodeDate(2010, 6, 1));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Box(*w, 3)->setFocus();
    Box(*w, 4)->setFocus();
    EXPECT_EQ(Rows().size(), 6u);
}

}  // namespace
