#include "holidays/BuiltInHolidays.h"
#include "holidays/HolidayData.h"
#include "holidays/HolidayRows.h"
#include "holidays/HolidayTexts.h"
#include "holidays/NotebookHolidayFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWhole(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "qn-holidays-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(HolidayCsv, ShippedTableIsTheDataFileByteForByte) { EXPECT_EQ(BuiltInHolidayCsv(), ReadWhole(QN_HOLIDAY_CSV)); }

TEST(HolidayCsv, ReadsRowsWithBomCrLfAndBlankLines)
{
    const auto parsed = qn::ParseHolidayCsv(
        "\xEF\xBB\xBF"
        "date,off,name,notice_year\r\n"
        "\r\n"
        "2027-01-01,1,元旦,2027\r\n"
        "2026-12-27, 0 ,元旦,2027\r\n");  // sorted by date, blanks trimmed
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.rows.size(), 2u);
    EXPECT_EQ(parsed.rows[0], (qn::HolidayRow{{2026, 12, 27}, false, "元旦", 2027}));
    EXPECT_EQ(parsed.rows[1], (qn::HolidayRow{{2027, 1, 1}, true, "元旦", 2027}));
    EXPECT_TRUE(qn::ParseHolidayCsv("date,off,name,notice_year").ok);  // a header alone is an empty table
}

TEST(HolidayCsv, RejectsAMalformedTableAsAWholeWithTheReason)
{
    const std::string header = "date,off,name,notice_year\n";
    const std::string good = "2027-01-01,1,元旦,2027\n";
    struct Bad {
        std::string text;
        const char* reason;  // part of the message
    };
    const Bad cases[] = {
        {"", "空"},
        {"2027-01-01,1,元旦,2027\n", "第 1 行：表头"},
        {header + good + "2027-02-30,1,春节,2027\n", "第 3 行：日期“2027-02-30”无效"},
        {header + good + "2027/02/03,1,春节,2027\n", "第 3 行：日期"},
        {header + good + "2027-02-03,2,春节,2027\n", "第 3 行：休班"},
        {header + good + "2027-02-03,1,,2027\n", "第 3 行：节日名称为空"},
        {header + good + "2027-02-03,1,\"春节,初一\",2027\n", "第 3 行：应有 4 项"},
        {header + good + "2027-02-03,1,春节\n", "第 3 行：应有 4 项"},
        {header + good + "2027-02-03,1,春\xE8\x8A,2027\n", "UTF-8"},
        {header + good + "2027-02-03,1,春节,27\n", "通知年份“27”无效"},
        {header + good + "2027-02-03,1,春节,2029\n", "相差太远"},  // the trap the other way round
        {header + good + "1900-02-03,1,春节,1900\n", "超出范围"},
        {header + good + "2027-01-01,0,元旦,2027\n", "2027-01-01 出现了不止一次"},
        {header + good + "2027-02-03,1,春" + std::string(1, '\0') + "节,2027\n", "二进制"},
    };
    for (const Bad& c : cases) {
        const auto parsed = qn::ParseHolidayCsv(c.text);
        EXPECT_FALSE(parsed.ok) << c.text;
        EXPECT_TRUE(parsed.rows.empty());
        EXPECT_NE(parsed.error.find(c.reason), std::string::npos) << parsed.error;
    }
}

TEST(HolidayCsv, FormatReadsBackTheSame)
{
    const auto& rows = qn::BuiltInHolidayRows();
    const std::string text = qn::FormatHolidayCsv(rows);
    EXPECT_EQ(text, BuiltInHolidayCsv());
    EXPECT_EQ(qn::ParseHolidayCsv(text).rows, rows);
}

TEST(HolidayCsv, MergeReplacesWholeNoticeYearsWhereverTheirDaysFall)
{
    auto row = [](int y, int m, int d, bool off, const char* name, int notice) {
        return qn::HolidayRow{{y, m, d}, off, name, notice};
    };
    const std::vector<qn::HolidayRow> base = {
        row(2006, 12, 30, false, "元旦", 2007),  // a day of 2006 named by the 2007 notice
        row(2007, 1, 1, true, "元旦", 2007),
        row(2007, 12, 29, false, "元旦", 2008),
        row(2008, 1, 1, true, "元旦", 2008),
    };
    const std::vector<qn::HolidayRow> overlay = {
        row(2007, 1, 2, true, "元旦", 2007),
        row(2009, 1, 1, true, "元旦", 2009),
    };
    const std::vector<qn::HolidayRow> expected = {
        row(2007, 1, 2, true, "元旦", 2007),
        row(2007, 12, 29, false, "元旦", 2008),
        row(2008, 1, 1, true, "元旦", 2008),
        row(2009, 1, 1, true, "元旦", 2009),
    };
    EXPECT_EQ(qn::MergeNoticeYears(base, overlay), expected);

    // Two notices naming one date: the later notice holds.
    const auto merged = qn::MergeNoticeYears(base, {row(2007, 12, 29, true, "另议", 2007)});
    ASSERT_EQ(merged.size(), 2u);  // the 2007 notice is replaced by the one row
    EXPECT_EQ(merged[0], row(2007, 12, 29, false, "元旦", 2008));
}

TEST(HolidayFile, UserFileReplacesAYear)
{
    TempFolder folder;
    const fs::path file = folder.path() / qn::kUserHolidayFileName;
    // A corrected 2024 notice: 春节 moved by a week, and 2027 added.
    WriteWhole(file,
               "date,off,name,notice_year\n"
               "2024-02-17,1,春节,2024\n"
               "2024-02-24,0,春节,2024\n"
               "2027-02-06,1,春节,2027\n");
    const qn::HolidayLoad load = qn::LoadHolidays(file);
    EXPECT_TRUE(load.userFileUsed);
    EXPECT_TRUE(load.warning.empty());
    const qn::HolidayCalendar& calendar = load.calendar;
    EXPECT_EQ(qn::HolidayTsvText(calendar.Look(2024, 2, 17)), "休 春节");
    EXPECT_EQ(qn::HolidayTsvText(calendar.Look(2024, 2, 24)), "班 春节");
    EXPECT_EQ(calendar.Look(2024, 2, 10).kind, qn::HolidayKind::Ordinary);  // the replaced notice is gone
    EXPECT_EQ(calendar.Look(2024, 10, 1).kind, qn::HolidayKind::Ordinary);
    EXPECT_EQ(qn::HolidayTsvText(calendar.Look(2025, 1, 26)), "班 春节");  // other years untouched
    EXPECT_EQ(qn::HolidayTsvText(calendar.Look(2027, 2, 6)), "休 春节");
    EXPECT_EQ(calendar.Look(2027, 3, 1).kind, qn::HolidayKind::Ordinary);  // 2027 is known now
}

TEST(HolidayFile, AFileThatCannotBeUsedIsIgnoredWithTheReason)
{
    TempFolder folder;
    const fs::path file = folder.path() / qn::kUserHolidayFileName;
    auto expectBuiltInWith = [&file](const char* reason, bool mustExist = false) {
        const qn::HolidayLoad load = qn::LoadHolidays(file, mustExist);
        EXPECT_FALSE(load.userFileUsed);
        EXPECT_NE(load.warning.find(reason), std::string::npos) << load.warning;
        EXPECT_EQ(qn::HolidayTsvText(load.calendar.Look(2024, 2, 10)), "休 春节");
        EXPECT_EQ(load.calendar.Rows(), qn::BuiltInHolidayRows());
    };

    // Missing: the built-in table alone, silently unless the file was named.
    EXPECT_TRUE(qn::LoadHolidays(file).warning.empty());
    expectBuiltInWith("不存在", true);

    // One bad row among good ones: nothing of the file is used.
    WriteWhole(file, "date,off,name,notice_year\n2024-02-17,1,春节,2024\n2024-02-31,1,春节,2024\n");
    expectBuiltInWith("第 3 行");

    fs::remove(file);
    fs::create_directory(file);
    expectBuiltInWith("不是一个普通文件");
    fs::remove(file);

    WriteWhole(file, std::string(qn::kMaxHolidayFileBytes + 1, '\n'));
    expectBuiltInWith("过大");
}

}  // namespace

namespace {

TEST(HolidayFile, QncalFindsTheFileWhereTheNotebookKeepsIt)
{
    TempFolder folder;
    const fs::path exe = folder.path() / "bin";
    fs::create_directories(exe);
    // An installed copy: the user's data folder.
    EXPECT_EQ(qn::NotebookHolidayFile(exe, "/xdg", "/home/u"), fs::path("/xdg/qnweeknote/Data/cn-holidays.csv"));
    EXPECT_EQ(qn::NotebookHolidayFile(exe, "", "/home/u"),
              fs::path("/home/u/.local/share/qnweeknote/Data/cn-holidays.csv"));
    EXPECT_EQ(qn::NotebookHolidayFile(exe, "relative", "/home/u"),
              fs::path("/home/u/.local/share/qnweeknote/Data/cn-holidays.csv"));
    EXPECT_EQ(qn::NotebookHolidayFile(exe, nullptr, nullptr), exe / "Data" / "cn-holidays.csv");
    // A portable copy that keeps its own file.
    fs::create_directories(exe / "Data");
    WriteWhole(exe / "Data" / "cn-holidays.csv", "date,off,name,notice_year\n");
    EXPECT_EQ(qn::NotebookHolidayFile(exe, "/xdg", "/home/u"), exe / "Data" / "cn-holidays.csv");
}

}  // namespace
