// A week whose notes cannot be read is unknown, not empty: its boxes are
// read-only and say so, nothing typed elsewhere overwrites them, and they
// are read again until they can be.

#include "tests/support/BoardFixture.h"
#include "tests/support/StoreTrouble.h"

#include <QTest>

namespace {

const QString kUnknownNote = QStringLiteral("读取失败，正在重试…");

class UnknownWeekTest : public BoardFixture {
protected:
    // The week of 7 June 2010 as another program left it: a note in every
    // box, Tuesday's long enough to fill several pages of the file, all
    // copied into the file itself.
    void StoreTheWeekElsewhere()
    {
        RawConnection other(dbPath());
        const std::string tuesday = "{\\rtf1 " + std::string(20000, 'Q') + "}";
        const std::string sql =
            "INSERT INTO tb_NewQN (YearMonthStr, Content, ContentBak) VALUES "
            "('20100607', '{\\rtf1 monday}', 'monday'), ('20100608', '"
            + tuesday
            + "', 'tuesday'), ('20100609', '{\\rtf1 wednesday}', 'wednesday'), "
              "('20100610', '{\\rtf1 thursday}', 'thursday'), ('20100611', '{\\rtf1 friday}', 'friday'), "
              "('20100612', '{\\rtf1 weekend}', 'weekend')";
        ASSERT_TRUE(other.Exec(sql.c_str())) << other.Error().toStdString();
        ASSERT_TRUE(other.Exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QString dbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }
    std::vector<StoredRow> Week() const
    {
        return Rows(QStringLiteral("where YearMonthStr between '20100607' and '20100612'"));
    }
    void ExpectUnknown(int n) const
    {
        EXPECT_TRUE(Box(n)->isReadOnly()) << n;
        EXPECT_EQ(Box(n)->toPlainText(), QString()) << n;
        EXPECT_EQ(Box(n)->placeholderText(), kUnknownNote) << n;
    }
};

TEST_F(UnknownWeekTest, AWeekThatFailsToLoadIsNeverSavedOverAndIsLoadedAgainOnceItCanBe)
{
    StoreTheWeekElsewhere();
    const auto before = Week();
    ASSERT_EQ(before.size(), 6u);
    DamagedNotePage damage(dbPath(), 'Q');
    ASSERT_TRUE(damage.damaged());
    ASSERT_TRUE(TouchDatabase(dbPath()));  // no connection keeps the sound page in memory
    Open(qn::EncodeDate(2010, 6, 1));
    qn::WeekNotesTiming slow = window->board()->model()->Timing();
    slow.retryMs = 3600 * 1000;  // no retry until the file is repaired
    window->board()->model()->SetTiming(slow);

    // Monday is read before Tuesday's damaged note stops the load.
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 9));
    EXPECT_EQ(Box(1)->toPlainText(), QStringLiteral("monday"));
    EXPECT_FALSE(Box(1)->isReadOnly());
    EXPECT_TRUE(Box(1)->placeholderText().isEmpty());
    for (int n = 2; n <= 6; ++n)
        ExpectUnknown(n);

    // Typing in Monday's box stores Monday alone; the unknown boxes take no
    // typing or commands.
    Box(1)->setFocus();
    Box(1)->moveCursor(QTextCursor::End);
    QTest::keyClicks(Box(1), QStringLiteral("x"));
    Box(3)->setFocus();
    QTest::keyClicks(Box(3), QStringLiteral("y"));
    window->V1Click();  // a tick in the focused box
    window->N2Click();  // paste
    ExpectUnknown(3);
    EXPECT_EQ(Rows(QStringLiteral("where YearMonthStr = '20100607'"))[0].contentBak, QStringLiteral("mondayx"));

    // Repaired: every other stored note is as it was.
    ASSERT_TRUE(damage.Repair());
    ASSERT_TRUE(TouchDatabase(dbPath()));
    const auto after = Week();
    ASSERT_EQ(after.size(), 6u);
    for (size_t i = 1; i < 6; ++i) {
        EXPECT_EQ(after[i].contentBak, before[i].contentBak) << i;
        EXPECT_EQ(after[i].content, before[i].content) << i;
    }

    // The boxes are read again: they show their notes and take typing.
    FastRetries();
    QTRY_COMPARE(Box(2)->toPlainText(), QString(20000, QLatin1Char('Q')));
    const char* const texts[] = {"mondayx", "", "wednesday", "thursday", "friday", "weekend"};
    for (int n = 3; n <= 6; ++n) {
        EXPECT_EQ(Box(n)->toPlainText(), QLatin1String(texts[n - 1])) << n;
        EXPECT_FALSE(Box(n)->isReadOnly()) << n;
        EXPECT_TRUE(Box(n)->placeholderText().isEmpty()) << n;
    }
    Box(3)->setFocus();
    Box(3)->moveCursor(QTextCursor::End);
    QTest::keyClicks(Box(3), QStringLiteral("!"));
    EXPECT_EQ(Week()[2].contentBak, QStringLiteral("wednesday!"));
    EXPECT_EQ(Week()[1].content, before[1].content);
}

// Leaving an unknown week for a known one and coming back: the known week is
// editable, the unknown one still unknown, and nothing of one week ends up
// in the other.
TEST_F(UnknownWeekTest, AnUnknownWeekNeverShowsAnotherWeeksNotes)
{
    StoreTheWeekElsewhere();
    DamagedNotePage damage(dbPath(), 'Q');
    ASSERT_TRUE(damage.damaged());
    ASSERT_TRUE(TouchDatabase(dbPath()));  // no connection keeps the sound page in memory
    Open(qn::EncodeDate(2010, 6, 1));
    qn::WeekNotesTiming slow = window->board()->model()->Timing();
    slow.retryMs = 3600 * 1000;
    window->board()->model()->SetTiming(slow);
    for (int n = 1; n <= 6; ++n)
        Box(n)->setPlainText(QStringLiteral("first week %1").arg(n));

    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 12));
    for (int n = 2; n <= 6; ++n)
        ExpectUnknown(n);
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 1));
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(Box(n)->toPlainText(), QStringLiteral("first week %1").arg(n));
        EXPECT_FALSE(Box(n)->isReadOnly());
    }
    window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, 8));
    EXPECT_EQ(Box(1)->toPlainText(), QStringLiteral("monday"));
    for (int n = 2; n <= 6; ++n)
        ExpectUnknown(n);
}

}  // namespace
