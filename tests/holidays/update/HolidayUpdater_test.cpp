#include "holidays/update/HolidayUpdater.h"

#include "holidays/HolidayData.h"
#include "holidays/HolidayTexts.h"
#include "holidays/update/HolidayUpdateSettings.h"
#include "holidays/update/NotebookHolidays.h"
#include "holidays/update/UserHolidayFile.h"
#include "tests/support/LocalHttpServer.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using qn::testing::LocalHttpServer;

// A corrected 2025 notice (春节 off from 01-29 only) and the 2026 one.
const QByteArray kGood2025 = R"({"year": 2025, "papers": [], "days": [
    {"name": "春节", "date": "2025-01-29", "isOffDay": true},
    {"name": "春节", "date": "2025-02-08", "isOffDay": false}]})";
const QByteArray kGood2026 = R"({"year": 2026, "papers": [], "days": [
    {"name": "元旦", "date": "2026-01-01", "isOffDay": true}]})";

const QDateTime kNow(QDate(2025, 11, 20), QTime(12, 0), Qt::UTC);

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class HolidayUpdaterTest : public ::testing::Test {
protected:
    HolidayUpdaterTest() : folder_(dir_.path()), updater_(folder_)
    {
        updater_.setClock([] { return kNow; });
    }

    QString userFile() const { return qn::UserHolidayFilePath(folder_); }

    // Runs one check of the given years and waits for its outcome.
    qn::HolidayUpdateResult Check(const QString& pattern, const QList<qn::HolidayYearRequest>& years)
    {
        QSignalSpy spy(&updater_, &qn::HolidayUpdater::finished);
        EXPECT_TRUE(updater_.start(pattern, years));
        EXPECT_TRUE(spy.wait(20000));
        EXPECT_FALSE(updater_.isRunning());
        return spy.isEmpty() ? qn::HolidayUpdateResult{} : spy.takeFirst().at(0).value<qn::HolidayUpdateResult>();
    }
    qn::HolidayUpdateResult Check(const QList<qn::HolidayYearRequest>& years)
    {
        return Check(server_.urlPattern(), years);
    }

    // A user file that must survive every failure byte for byte.
    void WriteUserFile()
    {
        ASSERT_TRUE(qn::WriteUserHolidayFile(userFile(), {{{2027, 1, 1}, true, "元旦", 2027}}));
        before_ = ReadFile(userFile());
    }
    void ExpectFailureLeftFileAlone(const qn::HolidayUpdateResult& result, const char* reason)
    {
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.changed);
        EXPECT_TRUE(result.message.contains(QString::fromUtf8(reason))) << result.message.toStdString();
        EXPECT_EQ(ReadFile(userFile()), before_);
    }

    QTemporaryDir dir_;
    qn::ProgramFolder folder_;
    qn::HolidayUpdater updater_;
    LocalHttpServer server_;
    QByteArray before_;
};

TEST_F(HolidayUpdaterTest, GoodDownloadReplacesTheYearInTheUserFile)
{
    WriteUserFile();
    server_.setFile(QStringLiteral("/2025.json"), kGood2025);
    // 2026 is not on the server yet: the next year may be unpublished.
    const qn::HolidayUpdateResult result = Check(qn::HolidayUpdater::YearsToCheck(QDate(2025, 3, 1)));
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.message, QStringLiteral("已更新 2025 年的放假安排（2026 年的通知尚未发布）"));
    EXPECT_EQ(server_.requests(), 2);

    EXPECT_EQ(ReadFile(userFile()),
              QByteArray("date,off,name,notice_year\n"
                         "2025-01-29,1,春节,2025\n"
                         "2025-02-08,0,春节,2025\n"
                         "2027-01-01,1,元旦,2027\n"));
    EXPECT_EQ(QFileInfo(userFile()).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
              QFile::Permissions());
    const qn::HolidayLoad load = qn::LoadHolidays(userFile().toStdString());
    EXPECT_EQ(qn::HolidayTsvText(load.calendar.Look(2025, 1, 29)), "休 春节");
    EXPECT_EQ(load.calendar.Look(2025, 1, 28).kind, qn::HolidayKind::Ordinary);  // the old notice is gone
    EXPECT_EQ(qn::HolidayTsvText(load.calendar.Look(2024, 2, 10)), "休 春节");

    // The check is recorded.
    const qn::HolidayUpdateSettings settings = qn::LoadHolidayUpdateSettings(folder_);
    EXPECT_EQ(settings.lastCheck, kNow);
    EXPECT_EQ(settings.lastResult, result.message);

    // The same again: nothing to do, the file is not rewritten.
    const QByteArray after = ReadFile(userFile());
    const qn::HolidayUpdateResult again = Check({{2025, false}});
    EXPECT_TRUE(again.ok);
    EXPECT_FALSE(again.changed);
    EXPECT_EQ(again.message, QStringLiteral("放假安排已是最新（2025 年）"));
    EXPECT_EQ(ReadFile(userFile()), after);
}

TEST_F(HolidayUpdaterTest, DownloadEqualToTheShippedTableWritesNothing)
{
    // The shipped 2026 notice, as the data set serves it.
    QByteArray days;
    for (const qn::HolidayRow& row : qn::BuiltInHolidayRows()) {
        if (row.noticeYear != 2026)
            continue;
        days += (days.isEmpty() ? "" : ",") + QByteArray("{\"name\":\"") + QByteArray::fromStdString(row.name)
            + "\",\"date\":\"" + QByteArray::fromStdString(qn::FormatIsoDate(row.date))
            + "\",\"isOffDay\":" + (row.off ? "true" : "false") + "}";
    }
    server_.setFile(QStringLiteral("/2026.json"), "{\"year\":2026,\"papers\":[],\"days\":[" + days + "]}");
    const qn::HolidayUpdateResult result = Check({{2026, false}});
    EXPECT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_FALSE(result.changed);
    EXPECT_FALSE(QFileInfo::exists(userFile()));
}

TEST_F(HolidayUpdaterTest, EveryFailureLeavesTheUserFileAsItWas)
{
    WriteUserFile();
    server_.setFile(QStringLiteral("/2025.json"), kGood2025);
    server_.setFile(QStringLiteral("/2026.json"), R"({"year": 2026, "days": [{"name": "元旦", "date": )");
    server_.setFile(QStringLiteral("/2028.json"), kGood2026);  // a file of another year
    server_.setFile(QStringLiteral("/2029.json"), R"({"year": 2029, "papers": [], "days": []})");

    struct Case {
        QList<qn::HolidayYearRequest> years;
        const char* reason;
    };
    const Case cases[] = {
        {{{2025, false}, {2026, true}}, "2026 年的文件格式有误：不是有效的 JSON"},  // one bad year spoils all
        {{{2027, false}}, "服务器上没有 2027 年的文件（HTTP 404）"},
        {{{2028, false}}, "年份不符：请求的是 2028 年，文件是 2026 年"},
        {{{2029, false}}, "2029 年的文件是空的"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        ExpectFailureLeftFileAlone(Check(c.years), c.reason);
    }
    EXPECT_EQ(qn::LoadHolidayUpdateSettings(folder_).lastResult.left(9), QStringLiteral("放假安排没有更新："));
}

TEST_F(HolidayUpdaterTest, NetworkErrorAndABadAddressChangeNothing)
{
    WriteUserFile();
    // A port nobody listens on any more.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    ExpectFailureLeftFileAlone(Check(QStringLiteral("http://127.0.0.1:%1/{year}.json").arg(port), {{2025, false}}),
                               "网络错误");
    ExpectFailureLeftFileAlone(Check(QStringLiteral("ftp://127.0.0.1/{year}.json"), {{2025, false}}), "下载地址无效");
    EXPECT_EQ(server_.requests(), 0);
}

TEST_F(HolidayUpdaterTest, AMalformedUserFileIsNotOverwritten)
{
    ASSERT_TRUE(QDir().mkpath(folder_.dataFolder()));
    QFile file(userFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("date,off,name,notice_year\n2027-01-01,1,元旦\n");  // a line the user broke
    file.close();
    before_ = ReadFile(userFile());
    server_.setFile(QStringLiteral("/2025.json"), kGood2025);
    ExpectFailureLeftFileAlone(Check({{2025, false}}), "有误，没有改动它");
}

TEST_F(HolidayUpdaterTest, OneCheckAtATimeAndOnlyWhenDue)
{
    server_.setFile(QStringLiteral("/2025.json"), kGood2025);
    QSignalSpy spy(&updater_, &qn::HolidayUpdater::finished);
    ASSERT_TRUE(updater_.start(server_.urlPattern(), {{2025, false}}));
    EXPECT_TRUE(updater_.isRunning());
    EXPECT_FALSE(updater_.start(server_.urlPattern(), {{2025, false}}));
    ASSERT_TRUE(spy.wait(20000));
    EXPECT_EQ(spy.count(), 1);

    // Switched off by default: never due.
    EXPECT_FALSE(updater_.startIfDue());
    qn::HolidayUpdateSettings settings = qn::LoadHolidayUpdateSettings(folder_);
    settings.enabled = true;
    settings.url = server_.urlPattern();
    ASSERT_TRUE(qn::SaveHolidayUpdateSettings(folder_, settings));
    EXPECT_FALSE(updater_.startIfDue());  // checked just now
    settings.lastCheck = kNow.addDays(-8);
    ASSERT_TRUE(qn::SaveHolidayUpdateSettings(folder_, settings));
    ASSERT_TRUE(updater_.startIfDue());
    ASSERT_TRUE(spy.wait(20000));
    EXPECT_EQ(qn::LoadHolidayUpdateSettings(folder_).lastCheck, kNow);
}

}  // namespace

namespace {

TEST_F(HolidayUpdaterTest, TheNotebooksTableFollowsTheUpdates)
{
    qn::NotebookHolidays holidays(folder_);
    holidays.follow(&updater_);
    EXPECT_TRUE(holidays.warning().isEmpty());
    EXPECT_EQ(qn::HolidayTsvText(holidays.look(QDate(2025, 1, 28))), "休 春节");
    const std::shared_ptr<const qn::HolidayCalendar> before = holidays.calendar();

    QSignalSpy changed(&holidays, &qn::NotebookHolidays::changed);
    server_.setFile(QStringLiteral("/2025.json"), kGood2025);
    EXPECT_TRUE(Check({{2025, false}}).changed);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(holidays.look(QDate(2025, 1, 28)).kind, qn::HolidayKind::Ordinary);
    EXPECT_EQ(qn::HolidayTsvText(before->Look(2025, 1, 28)), "休 春节");  // a held copy stays whole

    EXPECT_FALSE(Check({{2025, false}}).changed);  // nothing new: no reload
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(HolidayUpdaterTest, TheNotebookSaysWhyItIgnoresABrokenUserFile)
{
    ASSERT_TRUE(QDir().mkpath(folder_.dataFolder()));
    QFile file(userFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("date;off;name;notice_year\n");
    file.close();
    const qn::NotebookHolidays holidays(folder_);
    EXPECT_TRUE(holidays.warning().contains(QStringLiteral("有误，已忽略"))) << holidays.warning().toStdString();
    EXPECT_EQ(qn::HolidayTsvText(holidays.look(QDate(2024, 2, 10))), "休 春节");
}

}  // namespace
