#include "calendar/DateValue.h"
#include "notes/store/WeekNotes.h"
#include "tests/support/StoreFixture.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <array>
#include <memory>

namespace {

class WeekNotesTest : public StoreFixture {
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        for (size_t i = 0; i < 6; ++i) {
            owned[i] = std::make_unique<QTextEdit>();
            boxes[i] = owned[i].get();
        }
        BuildWeek(week, qn::EncodeDate(2010, 6, 1));
    }

    void SetTexts(const std::array<QString, 6>& texts)
    {
        for (size_t i = 0; i < 6; ++i)
            boxes[i]->setPlainText(texts[i]);
    }

    std::array<QString, 6> Texts() const
    {
        std::array<QString, 6> texts;
        for (size_t i = 0; i < 6; ++i)
            texts[i] = boxes[i]->toPlainText();
        return texts;
    }

    std::array<std::unique_ptr<QTextEdit>, 6> owned;
    NoteBoxes boxes{};
    TWeekConArray week = TWeekConArray(7);
};

const std::array<QString, 6> kWeekTexts = {
    QStringLiteral("周一 买菜"),
    QStringLiteral("Tuesday\nsecond line"),
    QString(),
    QStringLiteral("√ 完成 😀"),
    QStringLiteral("𠀀 rare"),
    QStringLiteral("周末 █"),
};

TEST_F(WeekNotesTest, FirstSaveCreatesAllSixRowsWithRtfAndPlainText)
{
    SetTexts(kWeekTexts);
    SaveWeekBoxes(dm->Notes(), week, boxes);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    const char* keys[] = {"20100531", "20100601", "20100602", "20100603", "20100604", "20100605"};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(rows[i].key, QLatin1String(keys[i]));
        EXPECT_TRUE(rows[i].content.startsWith("{\\rtf1")) << i;
        EXPECT_EQ(rows[i].contentBak, QString(kWeekTexts[i]).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    }
    // An empty box is stored as the RTF of an empty text, not as nothing.
    EXPECT_FALSE(rows[2].contentIsNull);
    EXPECT_EQ(rows[2].contentBak, QString());

    // Saving again updates; it never adds rows.
    SetTexts({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e"),
              QStringLiteral("f")});
    SaveWeekBoxes(dm->Notes(), week, boxes);
    EXPECT_EQ(Rows().size(), 6u);
    EXPECT_EQ(Rows()[5].contentBak, QStringLiteral("f"));
}

TEST_F(WeekNotesTest, LoadBringsBackTextAndFormats)
{
    SetTexts(kWeekTexts);
    QTextCursor cursor(boxes[0]->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0, 0, 255));
    cursor.insertText(QStringLiteral(" 重要"), bold);
    SaveWeekBoxes(dm->Notes(), week, boxes);

    SetTexts({});
    LoadWeekBoxes(dm->Notes(), week, boxes);
    auto expected = kWeekTexts;
    expected[0] += QStringLiteral(" 重要");
    EXPECT_EQ(Texts(), expected);

    QTextCursor check(boxes[0]->document());
    check.movePosition(QTextCursor::End);
    EXPECT_EQ(check.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(check.charFormat().foreground().color(), QColor(0, 0, 255));
    // Undo starts at the loaded note.
    EXPECT_FALSE(boxes[0]->document()->isUndoAvailable());
}

TEST_F(WeekNotesTest, MissingEmptyAndNullRowsLoadAsEmptyBoxes)
{
    Exec(QStringLiteral("insert into tb_NewQN (YearMonthStr) values ('20100531')"));
    Exec(QStringLiteral("insert into tb_NewQN (YearMonthStr, Content) values ('20100601', x'')"));
    Exec(QStringLiteral("insert into tb_NewQN (YearMonthStr, Content) values ('20100602', '')"));
    SetTexts(kWeekTexts);
    LoadWeekBoxes(dm->Notes(), week, boxes);
    EXPECT_EQ(Texts(), (std::array<QString, 6>{}));
    EXPECT_EQ(Rows().size(), 3u);  // loading never creates rows
}

TEST_F(WeekNotesTest, FirstOfDuplicateRowsIsLoadedAndUpdated)
{
    SetTexts({QStringLiteral("first")});
    SaveWeekBoxes(dm->Notes(), week, boxes);
    boxes[0]->setPlainText(QStringLiteral("second"));
    const QByteArray secondRtf = Rows()[0].content;
    Exec(
        QStringLiteral("insert into tb_NewQN (YearMonthStr, Content, ContentBak) select YearMonthStr, Content, "
                       "'second' from tb_NewQN where YearMonthStr = '20100531'"));
    boxes[0]->setPlainText(QString());
    LoadWeekBoxes(dm->Notes(), week, boxes);
    EXPECT_EQ(boxes[0]->toPlainText(), QStringLiteral("first"));

    boxes[0]->setPlainText(QStringLiteral("changed"));
    SaveWeekBoxes(dm->Notes(), week, boxes);
    const auto rows = Rows(QStringLiteral("where YearMonthStr = '20100531'"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].contentBak, QStringLiteral("changed"));
    EXPECT_EQ(rows[1].contentBak, QStringLiteral("second"));
}

TEST_F(WeekNotesTest, OneFailingBoxDoesNotStopTheOthers)
{
    SaveWeekBoxes(dm->Notes(), week, boxes);  // six rows
    Exec(
        QStringLiteral("create trigger refuse_tuesday before update on tb_NewQN when new.YearMonthStr = '20100601' "
                       "begin select raise(abort, 'refused'); end"));
    SetTexts(kWeekTexts);
    SaveWeekBoxes(dm->Notes(), week, boxes);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        const QString expected =
            i == 1 ? QString() : QString(kWeekTexts[i]).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        EXPECT_EQ(rows[i].contentBak, expected) << i;
    }
}

TEST_F(WeekNotesTest, LoadStoppedByAnErrorEmptiesEveryBoxItDidNotReach)
{
    // Wednesday's lookup fails: the table is a view whose row for that key
    // cannot be evaluated.
    Exec(QStringLiteral("alter table tb_NewQN rename to notes_rows"));
    Exec(
        QStringLiteral("create view tb_NewQN as select YearMonthStr, Content, ContentBak, case when YearMonthStr = "
                       "'20100602' then abs(-9223372036854775807 - 1) end as boom from notes_rows"));
    Exec(QStringLiteral("insert into notes_rows (YearMonthStr, ContentBak) values ('20100602', 'x')"));
    SetTexts({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e"),
              QStringLiteral("f")});
    // Old week's notes on screen; the new week has a note only on Monday.
    Exec(QStringLiteral(
        "insert into notes_rows (YearMonthStr, Content) values ('20100531', x'7B5C727466317B4D6F6E7D7D')"));
    LoadWeekBoxes(dm->Notes(), week, boxes);
    const auto texts = Texts();
    EXPECT_EQ(texts[0], QStringLiteral("Mon"));
    for (size_t i = 1; i < 6; ++i)
        EXPECT_EQ(texts[i], QString()) << i;
}

}  // namespace
