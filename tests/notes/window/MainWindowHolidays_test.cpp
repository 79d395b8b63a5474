// The statutory holidays in the main window: the table the calendar's marks
// and the week board's headers show (the built-in one, the user's file over
// it, a malformed file ignored), and the settings menu's entries that fetch
// new notice years from a local server.

#include "holidays/update/HolidayUpdateSettings.h"
#include "holidays/update/NotebookHolidays.h"
#include "holidays/update/UserHolidayFile.h"
#include "tests/support/BoardFixture.h"
#include "tests/support/LocalHttpServer.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace {

QStringList& Notices()
{
    static QStringList messages;
    return messages;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A 2024 notice unlike the real one: Monday 02-05 off, Saturday 02-10 worked.
const QByteArray kOther2024Csv =
    "date,off,name,notice_year\n"
    "2024-02-05,1,测试假,2024\n"
    "2024-02-10,0,测试假,2024\n";
const QByteArray kOther2024Json = R"({"year": 2024, "papers": [], "days": [
    {"name": "测试假", "date": "2024-02-05", "isOffDay": true},
    {"name": "测试假", "date": "2024-02-10", "isOffDay": false}]})";

class MainWindowHolidaysTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        Notices().clear();
        qn::SetMessageSink([](const QString&, const QString& text) { Notices().append(text); });
    }

    QString UserFile() const { return qn::UserHolidayFilePath(folder); }
    void WriteUserFile(const QByteArray& bytes) const
    {
        QFile file(UserFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    void UseServer(bool enabled = false, const QDateTime& lastCheck = {})
    {
        qn::HolidayUpdateSettings settings;
        settings.url = server.urlPattern();
        settings.enabled = enabled;
        settings.lastCheck = lastCheck;
        ASSERT_TRUE(qn::SaveHolidayUpdateSettings(folder, settings));
    }

    void ShowWeekOf(int y, int m, int d) { window->calendar()->SetDateTime(qn::EncodeDate(y, m, d)); }
    QStringList Headers() const
    {
        QStringList texts;
        for (int box = 0; box < 6; ++box)
            texts << window->board()->HeaderText(box);
        return texts;
    }
    // The corner mark of a day of the calendar's shown month.
    QString CalendarMark(int day) const
    {
        for (const TcnDateInf& cell : window->calendar()->FDays())
            if (cell.InUse && cell.Day == day)
                return cell.HolidayMark;
        return QStringLiteral("<no cell>");
    }
    QAction* Action(const char* name) const { return window->findChild<QAction*>(QLatin1String(name)); }
    static bool WaitForNotice()
    {
        return QTest::qWaitFor([] { return !Notices().isEmpty(); }, 20000);
    }

    qn::testing::LocalHttpServer server;
};

const QString kPlain[6] = {"周 一", "周 二", "周 三", "周 四", "周 五", "周 六/日"};

QStringList Week(std::initializer_list<std::pair<int, const char*>> marked)
{
    QStringList texts(std::begin(kPlain), std::end(kPlain));
    for (const auto& [box, text] : marked)
        texts[box] = QString::fromUtf8(text);
    return texts;
}

TEST_F(MainWindowHolidaysTest, BuiltInTableMarksTheCalendarAndTheHeadersOfEveryWeek)
{
    Open(qn::EncodeDate(2024, 2, 10));
    ASSERT_NE(window->calendar()->Holidays(), nullptr);
    EXPECT_EQ(window->calendar()->Holidays(), window->holidays()->calendar());
    EXPECT_EQ(window->calendar()->Holidays()->Look(2024, 2, 10).kind, qn::HolidayKind::Off);
    EXPECT_EQ(CalendarMark(10), QStringLiteral("休"));
    EXPECT_EQ(CalendarMark(4), QStringLiteral("班"));

    struct Case {
        int y, m, d;
        QStringList headers;
    };
    const Case cases[] = {
        {2024, 2, 10, Week({{5, "周 六/日 · 休"}})},
        {2024, 2, 4, Week({{5, "周 六/日 · 班"}})},  // Sunday worked, Saturday an ordinary weekend
        // Monday to Saturday off, Sunday worked.
        {2024, 2, 14,
         Week({{0, "周 一 · 休"},
               {1, "周 二 · 休"},
               {2, "周 三 · 休"},
               {3, "周 四 · 休"},
               {4, "周 五 · 休"},
               {5, "周 六/日 · 休/班"}})},
        {2024, 4, 3, Week({{3, "周 四 · 休"}, {4, "周 五 · 休"}, {5, "周 六/日 · 休/班"}})},
        {2024, 3, 6, Week({})},  // an ordinary week
        {2030, 2, 4, Week({})},  // a year without a notice shows nothing
    };
    for (const Case& c : cases) {
        ShowWeekOf(c.y, c.m, c.d);
        EXPECT_EQ(Headers(), c.headers) << c.y << "-" << c.m << "-" << c.d;
    }

    // The label shows the mark in colour, and its tooltip says which day is what.
    ShowWeekOf(2024, 2, 14);
    auto* weekend = Find<QLabel>("lblweek67");
    EXPECT_TRUE(weekend->text().startsWith(QStringLiteral("周 六/日 · "))) << weekend->text().toStdString();
    EXPECT_EQ(weekend->toolTip(), QStringLiteral("2月17日 周六：春节 休\n2月18日 周日：春节调休 上班"));
    EXPECT_EQ(Find<QLabel>("lblweek1")->toolTip(), QStringLiteral("2月12日 周一：春节 休"));
    ShowWeekOf(2024, 3, 6);
    EXPECT_EQ(weekend->text(), QStringLiteral("周 六/日"));
    EXPECT_EQ(weekend->toolTip(), QString());
    EXPECT_TRUE(Notices().isEmpty()) << Notices().join('|').toStdString();
}

TEST_F(MainWindowHolidaysTest, UserFileInTheDataFolderReplacesItsYear)
{
    WriteUserFile(kOther2024Csv);
    Open(qn::EncodeDate(2024, 2, 10));
    EXPECT_EQ(Headers(), Week({{0, "周 一 · 休"}, {5, "周 六/日 · 班"}}));
    EXPECT_EQ(CalendarMark(10), QStringLiteral("班"));
    EXPECT_EQ(CalendarMark(11), QString());  // the shipped 2024 notice is replaced as a whole
    EXPECT_EQ(Find<QLabel>("lblweek67")->toolTip(), QStringLiteral("2月10日 周六：测试假调休 上班"));
    // Other years keep the shipped notices.
    EXPECT_EQ(window->calendar()->Holidays()->Look(2025, 1, 28).kind, qn::HolidayKind::Off);
    QApplication::processEvents();
    EXPECT_TRUE(Notices().isEmpty()) << Notices().join('|').toStdString();
}

TEST_F(MainWindowHolidaysTest, MalformedUserFileIsIgnoredWithANoticeAndKept)
{
    const QByteArray malformed = "date,off,name,notice_year\n2024-02-05,1,测试假,2024\n2024-02-10,x,测试假,2024\n";
    WriteUserFile(malformed);
    Open(qn::EncodeDate(2024, 2, 10));
    // The shipped table in full.
    EXPECT_EQ(Headers(), Week({{5, "周 六/日 · 休"}}));
    EXPECT_EQ(CalendarMark(10), QStringLiteral("休"));
    ASSERT_TRUE(WaitForNotice());
    ASSERT_EQ(Notices().size(), 1);
    EXPECT_TRUE(Notices()[0].contains(UserFile())) << Notices()[0].toStdString();
    EXPECT_TRUE(Notices()[0].contains(QStringLiteral("有误，已忽略"))) << Notices()[0].toStdString();
    EXPECT_TRUE(Notices()[0].contains(QStringLiteral("第 3 行"))) << Notices()[0].toStdString();
    EXPECT_EQ(ReadFile(UserFile()), malformed);

    // A download does not write over it either.
    UseServer();
    server.setFile(QStringLiteral("/2024.json"), kOther2024Json);
    Notices().clear();
    Action("N_UpdateHolidays")->trigger();
    ASSERT_TRUE(WaitForNotice());
    EXPECT_TRUE(Notices()[0].startsWith(QStringLiteral("放假安排没有更新："))) << Notices()[0].toStdString();
    EXPECT_EQ(ReadFile(UserFile()), malformed);
    EXPECT_EQ(Headers(), Week({{5, "周 六/日 · 休"}}));
}

TEST_F(MainWindowHolidaysTest, UpdateFromTheMenuRefreshesOnlyAfterAGoodDownload)
{
    UseServer();
    Open(qn::EncodeDate(2024, 2, 10));
    const auto before = window->calendar()->Holidays();
    QAction* update = Action("N_UpdateHolidays");
    ASSERT_NE(update, nullptr);

    // Malformed: nothing changes, the notice says why.
    server.setFile(QStringLiteral("/2024.json"), R"({"year": 2024, "days": [{"name": "测试假", "date": )");
    update->trigger();
    EXPECT_EQ(update->text(), QStringLiteral("更新法定节假日（正在下载…）"));
    ASSERT_TRUE(WaitForNotice());
    EXPECT_TRUE(Notices()[0].startsWith(QStringLiteral("放假安排没有更新：2024 年的文件格式有误")))
        << Notices()[0].toStdString();
    EXPECT_EQ(update->text(), QStringLiteral("更新法定节假日"));
    EXPECT_EQ(window->calendar()->Holidays(), before);
    EXPECT_EQ(Headers(), Week({{5, "周 六/日 · 休"}}));
    EXPECT_FALSE(QFileInfo::exists(UserFile()));
    EXPECT_TRUE(update->toolTip().contains(QStringLiteral("上次检查："))) << update->toolTip().toStdString();

    // Good: the user's file holds the year, the calendar and the headers
    // show it at once. The next year is not out yet, which is no failure.
    Notices().clear();
    server.setFile(QStringLiteral("/2024.json"), kOther2024Json);
    update->trigger();
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(Notices()[0], QStringLiteral("已更新 2024 年的放假安排（2025 年的通知尚未发布）"));
    EXPECT_NE(window->calendar()->Holidays(), before);
    EXPECT_EQ(CalendarMark(10), QStringLiteral("班"));
    EXPECT_EQ(CalendarMark(11), QString());
    EXPECT_EQ(Headers(), Week({{0, "周 一 · 休"}, {5, "周 六/日 · 班"}}));
    EXPECT_EQ(ReadFile(UserFile()), kOther2024Csv);
    EXPECT_TRUE(update->toolTip().contains(Notices()[0])) << update->toolTip().toStdString();
}

TEST_F(MainWindowHolidaysTest, WeeklyCheckIsOffByDefaultAndTheSwitchIsStored)
{
    UseServer();
    server.setFile(QStringLiteral("/2024.json"), kOther2024Json);
    Open(qn::EncodeDate(2024, 2, 10));
    QAction* weekly = Action("N_AutoUpdateHolidays");
    ASSERT_NE(weekly, nullptr);
    EXPECT_TRUE(weekly->isCheckable());
    EXPECT_FALSE(weekly->isChecked());
    EXPECT_FALSE(qn::LoadHolidayUpdateSettings(folder).enabled);

    // Switched on: stored, and the first check runs at once; a check by
    // itself that changed the table says so.
    weekly->trigger();
    EXPECT_TRUE(weekly->isChecked());
    EXPECT_TRUE(qn::LoadHolidayUpdateSettings(folder).enabled);
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(Notices()[0], QStringLiteral("已更新 2024 年的放假安排（2025 年的通知尚未发布）"));
    EXPECT_EQ(Headers(), Week({{0, "周 一 · 休"}, {5, "周 六/日 · 班"}}));
    EXPECT_EQ(qn::LoadHolidayUpdateSettings(folder).url, server.urlPattern());  // the address is kept

    // The next start shows the switch on; switched off, it stays off.
    window.reset();
    Open(qn::EncodeDate(2024, 2, 10));
    weekly = Action("N_AutoUpdateHolidays");
    EXPECT_TRUE(weekly->isChecked());
    weekly->trigger();
    EXPECT_FALSE(weekly->isChecked());
    EXPECT_FALSE(qn::LoadHolidayUpdateSettings(folder).enabled);
    window.reset();
    Open(qn::EncodeDate(2024, 2, 10));
    EXPECT_FALSE(Action("N_AutoUpdateHolidays")->isChecked());
}

// Switched on and due, the check runs by itself shortly after the start; it
// tells only a change, and a failure is kept for the menu's tooltip.
TEST_F(MainWindowHolidaysTest, DueCheckRunsAfterTheStartAndSpeaksOnlyOfAChange)
{
    struct Case {
        const char* name;
        QByteArray served;  // empty: nothing on the server
        const char* notice;
        QStringList headers;
    };
    const Case cases[] = {
        {"changed", kOther2024Json, "已更新 2024 年的放假安排（2025 年的通知尚未发布）",
         Week({{0, "周 一 · 休"}, {5, "周 六/日 · 班"}})},
        {"failed", {}, nullptr, Week({{5, "周 六/日 · 休"}})},
    };
    const QDateTime start(QDate(2024, 2, 10), QTime(9, 0));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(UserFile());
        Notices().clear();
        if (c.served.isEmpty())
            server.removeFile(QStringLiteral("/2024.json"));
        else
            server.setFile(QStringLiteral("/2024.json"), c.served);
        // Last checked more than a week before.
        UseServer(true, start.addDays(-8).toUTC());
        const int requestsBefore = server.requests();
        Open(qn::EncodeDateTime(2024, 2, 10, 9, 0, 0));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return qn::LoadHolidayUpdateSettings(folder).lastCheck == start.toUTC(); }, 20000));
        QApplication::processEvents();
        EXPECT_EQ(server.requests() - requestsBefore, 2);  // this year and the next
        EXPECT_EQ(Notices(), c.notice ? QStringList{QString::fromUtf8(c.notice)} : QStringList());
        EXPECT_EQ(Headers(), c.headers);
        if (!c.notice) {
            const QString tip = Action("N_UpdateHolidays")->toolTip();
            EXPECT_TRUE(tip.contains(QStringLiteral("服务器上没有 2024 年的文件"))) << tip.toStdString();
        }
        window.reset();
    }
}

}  // namespace
