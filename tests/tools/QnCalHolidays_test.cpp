// Statutory days off and working days (休/班) and the almanac in --day and
// --tsv; the holiday table from the notebook's file or from --holidays, and
// what happens when that file is missing or malformed.
#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult RunWith(const std::vector<std::string>& args, const fs::path& notebookFile = {})
{
    std::ostringstream out, err;
    qncal::RunOptions options;
    options.holidayFile = notebookFile;
    const int status =
        qncal::RunQnCal(args, out, err, qn::FixedClock(qn::EncodeDateTime(2010, 6, 15, 10, 30, 0)), options);
    return {status, out.str(), err.str()};
}

// The line of --day output that starts with the label.
std::string DayLine(const std::string& date, const std::string& label, const fs::path& notebookFile = {},
                    std::vector<std::string> extra = {})
{
    std::vector<std::string> args{"--day", date};
    args.insert(args.end(), extra.begin(), extra.end());
    const RunResult run = RunWith(args, notebookFile);
    EXPECT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(label + "：", 0) == 0)
            return line;
    }
    return "(no line " + label + ")";
}

std::string TsvColumn(const RunResult& run, int column)
{
    std::string field;
    std::istringstream line(run.out.substr(0, run.out.find('\n')));
    for (int i = 1; i <= column; ++i)
        std::getline(line, field, '\t');
    return field;
}

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "qncal-holidays-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    fs::path Write(const std::string& name, const std::string& text) const
    {
        const fs::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A table of the user's own: the notice of 2099, and a notice of 2024
// that replaces the built-in one.
const std::string UserTable =
    "date,off,name,notice_year\n"
    "2098-12-27,0,元旦,2099\n"
    "2099-01-01,1,元旦,2099\n"
    "2024-05-01,1,劳动节,2024\n";

TEST(QnCalHolidays, TheDayTellsOffWorkOrdinaryAndNoData)
{
    const struct {
        std::string date;
        std::string statutory;
        std::string almanac;
    } cases[] = {
        {"2024-02-10", "法定：    春节 休", "节令：    六九第6天"},
        {"2024-02-04", "法定：    春节调休 上班", "节令：    五九第9天"},
        {"2024-03-01", "法定：", "节令：    八九第8天"},  // an ordinary day of a year with a notice
        {"2014-04-06", "法定：    清明节 休", "节令："},  // a weekend the notice leaves out, inside the holiday
        {"2006-12-30", "法定：    元旦调休 上班", "节令：    一九第9天"},  // named by the notice of 2007
        {"2006-12-29", "法定：    无数据", "节令：    一九第8天"},
        {"1990-10-01", "法定：    无数据", "节令："},
        {"2100-12-24", "法定：    无数据", "节令：    平安夜 一九第3天"},
        {"2024-07-15", "法定：", "节令：    初伏"},
        {"2025-01-22", "法定：", "节令：    小年 四九第6天"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DayLine(c.date, "法定"), c.statutory) << c.date;
        EXPECT_EQ(DayLine(c.date, "节令"), c.almanac) << c.date;
    }
}

TEST(QnCalHolidays, AUserTableAddsAndReplacesWholeNoticeYears)
{
    const TempFolder folder;
    const fs::path table = folder.Write("cn-holidays.csv", UserTable);
    for (const bool named : {true, false}) {
        const std::vector<std::string> option =
            named ? std::vector<std::string>{"--holidays", table.string()} : std::vector<std::string>{};
        const fs::path notebook = named ? fs::path() : table;
        SCOPED_TRACE(named ? "--holidays" : "the notebook's file");
        EXPECT_EQ(DayLine("2099-01-01", "法定", notebook, option), "法定：    元旦 休");
        EXPECT_EQ(DayLine("2098-12-27", "法定", notebook, option), "法定：    元旦调休 上班");
        EXPECT_EQ(DayLine("2099-01-02", "法定", notebook, option), "法定：");
        // The user's 2024 takes the place of the built-in one as a whole.
        EXPECT_EQ(DayLine("2024-05-01", "法定", notebook, option), "法定：    劳动节 休");
        EXPECT_EQ(DayLine("2024-02-10", "法定", notebook, option), "法定：");
        EXPECT_EQ(DayLine("2023-01-22", "法定", notebook, option), "法定：    春节 休");  // the rest stays

        std::vector<std::string> tsv{"--tsv", "2099-01-01", "2099-01-01"};
        tsv.insert(tsv.end(), option.begin(), option.end());
        EXPECT_EQ(TsvColumn(RunWith(tsv, notebook), 17), "休 元旦");
        std::vector<std::string> month{"2099", "1"};
        month.insert(month.end(), option.begin(), option.end());
        EXPECT_NE(RunWith(month, notebook).out.find("  1休"), std::string::npos);
    }
    // A file named on the command line takes the place of the notebook's.
    const fs::path other = folder.Write("other.csv", "date,off,name,notice_year\n2099-01-01,1,新年,2099\n");
    EXPECT_EQ(DayLine("2099-01-01", "法定", table, {"--holidays=" + other.string()}), "法定：    新年 休");
}

TEST(QnCalHolidays, ABadNamedFileIsRefusedAndABadNotebookFileOnlyWarned)
{
    const TempFolder folder;
    const fs::path malformed = folder.Write("bad.csv", "date,off,name,notice_year\n2024-02-30,1,春节,2024\n");
    const std::string missing = (folder.path() / "missing.csv").string();
    const struct {
        std::vector<std::string> args;
        std::string mentions;
    } refused[] = {
        {{"--day", "2024-02-10", "--holidays", missing}, "放假安排文件不存在：" + missing},
        {{"2024", "--holidays", malformed.string()}, "第 2 行"},
        {{"--tsv", "2024-01-01", "2024-01-02", "--holidays", folder.path().string()}, "不是一个普通文件"},
        // Named, so checked even where no layer shows it.
        {{"--ics", "2024-01-01", "2024-01-02", "--layers", "lunar", "--holidays", missing}, "不存在"},
        {{"--day", "2024-02-10", "--holidays="}, "缺少文件名"},
        {{"--day", "2024-02-10", "--holidays"}, "缺少文件名"},
        {{"--day", "2024-02-10", "--holidays", missing, "--holidays", missing}, "选项重复：--holidays"},
        {{"--from-lunar", "2023", "2", "1", "--holidays", malformed.string()}, "不能与 --from-lunar 一起使用"},
    };
    for (const auto& r : refused) {
        const RunResult run = RunWith(r.args);
        EXPECT_EQ(run.status, qncal::ExitBadInput) << r.mentions;
        EXPECT_EQ(run.out, "") << r.mentions;
        EXPECT_NE(run.err.find(r.mentions), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }

    // The notebook's file is the user's business: the run goes on with the
    // built-in table and says why the file was left out.
    const RunResult warned = RunWith({"--day", "2024-02-10"}, malformed);
    EXPECT_EQ(warned.status, qncal::ExitOk);
    EXPECT_NE(warned.out.find("法定：    春节 休\n"), std::string::npos) << warned.out;
    EXPECT_NE(warned.err.find("已忽略"), std::string::npos) << warned.err;
    EXPECT_NE(warned.err.find("第 2 行"), std::string::npos) << warned.err;
    // No file where the notebook keeps it is no news.
    EXPECT_EQ(RunWith({"--day", "2024-02-10"}, folder.path() / "missing.csv").err, "");
}

TEST(QnCalHolidays, TheTableIsReadOnceAndOnlyWhenShown)
{
    const TempFolder folder;
    const fs::path malformed = folder.Write("bad.csv", "not a table\n");
    const struct {
        std::vector<std::string> args;
        bool read;
    } cases[] = {
        {{"--day", "2024-02-10"}, true},
        {{"2024"}, true},
        {{"-3", "2024", "2"}, true},
        {{"--tsv", "2024-01-01", "2024-12-31"}, true},
        {{"--ics", "2024-01-01", "2024-12-31"}, true},  // the default layers include statutory
        {{"--ics", "2024-01-01", "2024-12-31", "--layers", "lunar,almanac"}, false},
        {{"--from-lunar", "2023", "2", "1"}, false},
        {{"--help"}, false},
    };
    for (const auto& c : cases) {
        const RunResult run = RunWith(c.args, malformed);
        EXPECT_EQ(run.status, qncal::ExitOk) << c.args[0];
        const auto first = run.err.find("已忽略");
        EXPECT_EQ(first != std::string::npos, c.read) << c.args[0] << ": " << run.err;
        if (first != std::string::npos) {
            EXPECT_EQ(run.err.find("已忽略", first + 1), std::string::npos) << "read twice: " << run.err;
        }
    }
}

}  // namespace
