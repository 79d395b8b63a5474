// The week board's model without any widget: which boxes are known, which
// notes it holds, what its sign says.

#include "calendar/DateValue.h"
#include "core/uGlobal.h"
#include "notes/board/WeekNotesModel.h"
#include "tests/support/StoreFixture.h"
#include "tests/support/StoreTrouble.h"

#include <QTest>

#include <optional>
#include <vector>

namespace {

qn::WeekNotesModel::WeekKeys KeysOfWeek(double day)
{
    TWeekConArray week(7);
    BuildWeek(week, day);
    qn::WeekNotesModel::WeekKeys keys;
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = week[i].DayKey;
    return keys;
}

qn::DayNote Note(const std::string& key, const QString& text)
{
    return {key, QStringLiteral("{\\rtf1 %1}").arg(text).toUtf8(), text};
}

class WeekNotesModelTest : public StoreFixture {
protected:
    void Watch(qn::WeekNotesModel& model)
    {
        QObject::connect(&model, &qn::WeekNotesModel::boxLoaded,
                         [this](int box, const std::optional<qn::DayNote>& note) {
                             shown[static_cast<size_t>(box)] = note ? note->plain : QString();
                         });
        QObject::connect(&model, &qn::WeekNotesModel::boxUnknown,
                         [this](int box) { shown[static_cast<size_t>(box)] = QStringLiteral("<unknown>"); });
        QObject::connect(&model, &qn::WeekNotesModel::signChanged, [this](const QString& text) { sign = text; });
    }
    QString Stored(const char* key) const
    {
        const auto rows = Rows(QStringLiteral("where YearMonthStr = '%1'").arg(QLatin1String(key)));
        return rows.empty() ? QStringLiteral("<none>") : rows.front().contentBak;
    }
    QString dbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }

    std::array<QString, 6> shown;
    QString sign;
};

// A held note wins over the stored one when its week is shown again; the
// first save of a week hands over every box whose row does not hold it yet.
TEST_F(WeekNotesModelTest, HeldNotesAreWhatTheirWeekShowsUntilTheyAreStored)
{
    ASSERT_TRUE(dm->Notes().WriteDays(std::vector<qn::DayNote>{Note("20100601", QStringLiteral("stored"))}).ok());
    qn::WeekNotesModel model(*dm);
    Watch(model);
    qn::WeekNotesTiming timing = model.Timing();
    timing.retryMs = 3600 * 1000;
    model.SetTiming(timing);
    const auto june1 = KeysOfWeek(qn::EncodeDate(2010, 6, 1));
    model.LoadWeek(june1);
    EXPECT_EQ(shown[1], QStringLiteral("stored"));
    for (int b = 0; b < 6; ++b) {
        EXPECT_TRUE(model.IsKnown(b));
        EXPECT_EQ(model.NeedsWrite(b, false), b != 1) << b;  // only Tuesday's row holds its box
        EXPECT_TRUE(model.NeedsWrite(b, true));
    }

    dm->SetBusyTimeout(20);
    {
        WriteLockHolder lock(dbPath());
        model.Save({{1, Note(june1[1], QStringLiteral("typed"))}});
        EXPECT_TRUE(model.HasUnsaved());
        EXPECT_EQ(sign, QStringLiteral("未保存：数据库被占用"));
        EXPECT_FALSE(model.NeedsWrite(1, false));  // held counts as handed over

        model.LoadWeek(KeysOfWeek(qn::EncodeDate(2010, 6, 14)));
        EXPECT_EQ(shown[1], QString());
        model.LoadWeek(june1);
        EXPECT_EQ(shown[1], QStringLiteral("typed"));
        EXPECT_EQ(Stored("20100601"), QStringLiteral("stored"));
    }
    model.Flush();
    EXPECT_FALSE(model.HasUnsaved());
    EXPECT_EQ(sign, QString());
    EXPECT_EQ(Stored("20100601"), QStringLiteral("typed"));
}

// A note handed over for an unknown box, or under another week's key, is
// never written.
TEST_F(WeekNotesModelTest, NotesForUnknownBoxesOrOtherKeysAreIgnored)
{
    // Wednesday's row cannot be read: the table is a view that fails on it.
    Exec(QStringLiteral("alter table tb_NewQN rename to notes_rows"));
    Exec(
        QStringLiteral("create view tb_NewQN as select YearMonthStr, Content, ContentBak, case when YearMonthStr = "
                       "'20100602' then abs(-9223372036854775807 - 1) end as boom from notes_rows"));
    Exec(QStringLiteral("insert into notes_rows (YearMonthStr, ContentBak) values ('20100602', 'x')"));
    qn::WeekNotesModel model(*dm);
    Watch(model);
    const auto june1 = KeysOfWeek(qn::EncodeDate(2010, 6, 1));
    model.LoadWeek(june1);
    EXPECT_EQ(shown[1], QString());
    for (int b = 2; b < 6; ++b) {
        EXPECT_EQ(shown[static_cast<size_t>(b)], QStringLiteral("<unknown>")) << b;
        EXPECT_FALSE(model.IsKnown(b));
        EXPECT_FALSE(model.NeedsWrite(b, true));
    }
    model.Save({{2, Note(june1[2], QStringLiteral("over the unknown"))},
                {0, Note("20100607", QStringLiteral("another week's key"))}});
    EXPECT_FALSE(model.HasUnsaved());
    QSqlQuery q(dm->AdoCon());
    ASSERT_TRUE(q.exec(QStringLiteral("select YearMonthStr, ContentBak from notes_rows order by YearMonthStr")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("20100602"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("x"));
    EXPECT_FALSE(q.next());
}

// After its check the file cannot be opened for writing at once (another
// program holds it): the notes stay held, the reads go on, and the store is
// opened as soon as it can be.
TEST_F(WeekNotesModelTest, AStoreThatCannotBeOpenedForWritingYetIsTriedAgain)
{
    dm.reset();
    QFile::remove(dbPath());
    {
        RawConnection other(dbPath());  // another program's file, in rollback mode
        ASSERT_TRUE(other.Exec("CREATE TABLE tb_NewQN (YearMonthStr TEXT, Content BLOB, ContentBak TEXT)"));
        ASSERT_TRUE(other.Exec("INSERT INTO tb_NewQN VALUES ('20100601', '{\\rtf1 old}', 'old')"));
    }
    dm = std::make_unique<TDM>(folder);
    dm->SetBusyTimeout(20);
    ASSERT_TRUE(dm->OpenForReading());
    qn::WeekNotesModel model(*dm);
    Watch(model);
    qn::WeekNotesTiming timing = model.Timing();
    timing.retryMs = 10;
    model.SetTiming(timing);
    const auto june1 = KeysOfWeek(qn::EncodeDate(2010, 6, 1));
    model.LoadWeek(june1);
    EXPECT_EQ(shown[1], QStringLiteral("old"));

    auto lock = std::make_unique<WriteLockHolder>(dbPath());
    ASSERT_TRUE(lock->held());
    model.Save({{1, Note(june1[1], QStringLiteral("new"))}});
    model.WholeFileChecked();
    EXPECT_FALSE(dm->AcceptsWrites());
    EXPECT_TRUE(model.HasUnsaved());
    EXPECT_EQ(sign, QStringLiteral("未保存：数据库被占用"));
    model.LoadWeek(june1);  // still readable
    EXPECT_EQ(shown[1], QStringLiteral("new"));

    lock.reset();
    QTRY_VERIFY(dm->AcceptsWrites());
    QTRY_VERIFY(!model.HasUnsaved());
    EXPECT_EQ(sign, QString());
    EXPECT_EQ(Stored("20100601"), QStringLiteral("new"));
}

}  // namespace
