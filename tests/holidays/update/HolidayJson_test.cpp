#include "holidays/update/HolidayJson.h"
#include "holidays/update/HolidayUpdateSettings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Status = qn::HolidayJsonResult::Status;

TEST(HolidayJson, ReadsTheOpenDataSetsYearFile)
{
    const QByteArray json = R"({"$schema": "https://example.org/schema.json", "year": 2025,
        "papers": ["https://www.gov.cn/zhengce/content/202411/content_6986382.htm"],
        "days": [{"name": "元旦", "date": "2025-01-01", "isOffDay": true},
                 {"name": "春节", "date": "2025-01-26", "isOffDay": false}]})";
    const qn::HolidayJsonResult result = qn::ParseHolidayJson(json, 2025);
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    const std::vector<qn::HolidayRow> expected = {{{2025, 1, 1}, true, "元旦", 2025},
                                                  {{2025, 1, 26}, false, "春节", 2025}};
    EXPECT_EQ(result.rows, expected);
}

TEST(HolidayJson, RejectsWhatIsNotAYearFile)
{
    struct Case {
        const char* json;
        Status status;
        const char* reason;
    };
    const Case cases[] = {
        {R"({"year": 2027, "papers": [], "days": []})", Status::Empty, ""},
        {R"({"year": 2024, "papers": [], "days": []})", Status::WrongYear, "年份不符"},
        {R"({"year": 2027, "days": [)", Status::Malformed, "不是有效的 JSON"},
        {"<html>404</html>", Status::Malformed, "不是有效的 JSON"},
        {R"([1, 2])", Status::Malformed, "最外层不是对象"},
        {R"({"year": "2027", "days": []})", Status::Malformed, "年份"},
        {R"({"year": 2027.5, "days": []})", Status::Malformed, "年份"},
        {R"({"year": 2027})", Status::Malformed, "days"},
        {R"({"year": 2027, "papers": "x", "days": []})", Status::Malformed, "papers"},
        {R"({"year": 2027, "days": [3]})", Status::Malformed, "第 1 个日期：不是对象"},
        {R"({"year": 2027, "days": [{"date": "2027-01-01", "isOffDay": true}]})", Status::Malformed, "name"},
        {R"({"year": 2027, "days": [{"name": "元旦", "date": "2027-01-01", "isOffDay": 1}]})", Status::Malformed,
         "isOffDay"},
        {R"({"year": 2027, "days": [{"name": "元旦", "date": "2027-1-1", "isOffDay": true}]})", Status::Malformed,
         "YYYY-MM-DD"},
        {R"({"year": 2027, "days": [{"name": "元旦", "date": "2027-02-29", "isOffDay": true}]})", Status::Malformed,
         "无效"},
        {R"({"year": 2027, "days": [{"name": "元旦", "date": "2030-01-01", "isOffDay": true}]})", Status::Malformed,
         "相差太远"},
        {R"({"year": 2027, "days": [{"name": "", "date": "2027-01-01", "isOffDay": true}]})", Status::Malformed,
         "名称为空"},
        {R"({"year": 2027, "days": [{"name": "元旦", "date": "2027-01-01", "isOffDay": true},
                                    {"name": "元旦", "date": "2027-01-01", "isOffDay": false}]})",
         Status::Malformed, "不止一次"},
    };
    for (const Case& c : cases) {
        const qn::HolidayJsonResult result = qn::ParseHolidayJson(c.json, 2027);
        EXPECT_EQ(result.status, c.status) << c.json;
        EXPECT_TRUE(result.rows.empty() || result.status == Status::Ok) << c.json;
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(c.reason))) << result.error.toStdString();
    }
}

TEST(HolidayUpdateSettings, OffByDefaultAndRoundTrips)
{
    QTemporaryDir dir;
    const qn::ProgramFolder folder(dir.path());
    qn::HolidayUpdateSettings settings = qn::LoadHolidayUpdateSettings(folder);
    EXPECT_FALSE(settings.enabled);
    EXPECT_EQ(settings.url, QString::fromLatin1(qn::kDefaultHolidayUpdateUrl));
    EXPECT_FALSE(settings.lastCheck.isValid());
    EXPECT_TRUE(qn::IsValidHolidayUrlPattern(settings.url));

    settings.enabled = true;
    settings.url = QStringLiteral("https://example.org/holidays/{year}.json");
    settings.lastCheck = QDateTime(QDate(2025, 11, 20), QTime(8, 0), Qt::UTC);
    settings.lastResult = QStringLiteral("已更新 2026 年的放假安排\n第二行");
    ASSERT_TRUE(qn::SaveHolidayUpdateSettings(folder, settings));
    const qn::HolidayUpdateSettings read = qn::LoadHolidayUpdateSettings(folder);
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(read.url, settings.url);
    EXPECT_EQ(read.lastCheck, settings.lastCheck);
    EXPECT_EQ(read.lastResult, QStringLiteral("已更新 2026 年的放假安排 第二行"));
}

TEST(HolidayUpdateSettings, UnusableAddressesFallBackToTheDefault)
{
    for (const char* url : {"ftp://example.org/{year}.json", "https://example.org/2025.json", "file:///tmp/{year}.json",
                            "{year}", "https:///{year}.json"}) {
        EXPECT_FALSE(qn::IsValidHolidayUrlPattern(QString::fromLatin1(url))) << url;
        QTemporaryDir dir;
        const qn::ProgramFolder folder(dir.path());
        qn::HolidayUpdateSettings settings;
        settings.url = QString::fromLatin1(url);
        ASSERT_TRUE(qn::SaveHolidayUpdateSettings(folder, settings));
        qn::HolidayUpdateSettings read = qn::LoadHolidayUpdateSettings(folder);
        EXPECT_EQ(read.url, QString::fromLatin1(qn::kDefaultHolidayUpdateUrl));
        // Saving the other settings (a check, the weekly switch) keeps the
        // line the user wrote, to be mended by hand.
        read.enabled = true;
        ASSERT_TRUE(qn::SaveHolidayUpdateSettings(folder, read));
        const qn::HolidayUpdateSettings again = qn::LoadHolidayUpdateSettings(folder);
        EXPECT_TRUE(again.enabled);
        EXPECT_EQ(again.unusableUrl, QString::fromLatin1(url));
    }
    EXPECT_EQ(qn::HolidayYearUrl(QStringLiteral("http://127.0.0.1:8080/{year}.json"), 2026).toString(),
              QStringLiteral("http://127.0.0.1:8080/2026.json"));
}

TEST(HolidayUpdateSettings, ACheckIsDueAtMostOnceAWeekWhenSwitchedOn)
{
    const QDateTime now(QDate(2025, 11, 20), QTime(12, 0), Qt::UTC);
    struct Case {
        bool enabled;
        QDateTime lastCheck;
        bool due;
    };
    const Case cases[] = {
        {false, {}, false},
        {false, now.addDays(-30), false},
        {true, {}, true},
        {true, now.addDays(-6).addSecs(-23 * 3600), false},
        {true, now.addDays(-7), true},
        {true, now.addDays(1), true},  // the clock was moved back
    };
    for (const Case& c : cases) {
        qn::HolidayUpdateSettings settings;
        settings.enabled = c.enabled;
        settings.lastCheck = c.lastCheck;
        EXPECT_EQ(qn::IsHolidayCheckDue(settings, now), c.due) << c.lastCheck.toString().toStdString();
    }
}

}  // namespace
