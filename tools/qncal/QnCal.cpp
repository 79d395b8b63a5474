#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"
#include "calendar/LunarCore.h"
#include "calendar/LunarTexts.h"
#include "tools/qncal/BlockWriter.h"
#include "tools/qncal/CommandLine.h"
#include "tools/qncal/DayReport.h"
#include "tools/qncal/DayRun.h"
#include "tools/qncal/HolidayTable.h"
#include "tools/qncal/IcsFeed.h"
#include "tools/qncal/MonthGrid.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace qncal {

namespace {

// A feed covers at most this many years.
constexpr int MaxFeedYears = 200;

// Everything a command needs besides its arguments.
struct RunContext {
    std::ostream& out;
    std::ostream& err;
    const qn::NowSource& now;
    const RunOptions& options;

    // The holiday table, read when a command shows statutory days. Read
    // before the first line is written, so a bad --holidays file leaves
    // stdout empty.
    qn::HolidayCalendar Holidays(const Command& command) const
    {
        return LoadHolidayTable(command.holidayFile, options.holidayFile, err);
    }
};

int ShowCalendar(const Command& command, const RunContext& run)
{
    const qn::CivilDate today = qn::DecodeDate(run.now());
    GridStyle style{command.mondayFirst, command.weekNumbers, run.options.color};
    const std::size_t n = command.values.size();
    int year = 0;
    MonthView view;
    if (n == 1) {
        year = ParseInteger(command.values[0], "年份");
        CheckYear(year);
    } else if (n == 0) {
        if (today.year < FirstYear || today.year > LastYear)
            throw BadInput("今天的年份超出范围：" + std::to_string(today.year));
        view = {today.year, today.month, today.day};
    } else {
        view.year = ParseInteger(command.values[0], "年份");
        view.month = ParseInteger(command.values[1], "月份");
        CheckYear(view.year);
        CheckMonth(view.month);
        view.selectedDay = 1;
    }
    const qn::HolidayCalendar holidays = run.Holidays(command);
    style.holidays = &holidays;
    if (n == 1)
        WriteYear(run.out, year, today, style);
    else if (command.threeMonths)
        WriteThreeMonths(run.out, view.year, view.month, today, style);
    else
        WriteMonth(run.out, view, today, style);
    return ExitOk;
}

int ShowDay(const Command& command, const RunContext& run)
{
    const qn::CivilDate date = ParseDate(command.values[0]);
    const qn::HolidayCalendar holidays = run.Holidays(command);
    WriteDayFields(run.out, LookUpDay(date.year, date.month, date.day, &holidays));
    return ExitOk;
}

// The last lunar months of 2100 run into 2101, which the engine does not
// reach: a day there is not missing, only out of range.
bool PastLastYear(int lunarYear, int lunarMonth, int lunarDay, bool leap)
{
    int year = 0, month = 0, day = 0;
    if (lunarYear != LastYear || !LunarToSolar(lunarYear, lunarMonth, 1, leap, year, month, day))
        return false;
    return qn::DaysFromCivil(year, month, day) + lunarDay - 1 > qn::DaysFromCivil(LastYear, 12, 31);
}

int ShowFromLunar(const Command& command, std::ostream& out)
{
    const int lunarYear = ParseInteger(command.values[0], "农历年份");
    const int lunarMonth = ParseInteger(command.values[1], "农历月份");
    const int lunarDay = ParseInteger(command.values[2], "农历日");
    CheckYear(lunarYear, "农历年份");
    CheckMonth(lunarMonth, "农历月份");
    if (lunarDay < 1 || lunarDay > 30)
        throw BadInput("农历日无效：" + std::to_string(lunarDay) + "（应在 1..30 之间）");

    int year = 0, month = 0, day = 0;
    bool found = LunarToSolar(lunarYear, lunarMonth, lunarDay, command.leap, year, month, day);
    if (found) {
        // Only a date that converts back to the same lunar date is an answer.
        int backYear = 0, backMonth = 0, backDay = 0;
        bool backLeap = false;
        found = SolarToLunar(year, month, day, backYear, backMonth, backDay, backLeap) && backYear == lunarYear
            && backMonth == lunarMonth && backDay == lunarDay && backLeap == command.leap;
    }
    if (!found) {
        const std::string lunarText = "农历 " + std::to_string(lunarYear) + " 年" + (command.leap ? "闰" : "")
            + GetLunarMonthText(lunarMonth, false) + GetLunarDayText(lunarDay);
        if (PastLastYear(lunarYear, lunarMonth, lunarDay, command.leap))
            throw BadInput(lunarText + "在公历 2100 年以后，超出可换算的范围");
        throw BadInput("没有这个农历日期：" + lunarText);
    }
    out << FormatDate(year, month, day) << '\n';
    return ExitOk;
}

struct DayRange {
    qn::CivilDate from, to;
};

DayRange ParseRange(const Command& command)
{
    const DayRange range{ParseDate(command.values[0]), ParseDate(command.values[1])};
    if (qn::DaysFromCivil(range.from.year, range.from.month, range.from.day)
        > qn::DaysFromCivil(range.to.year, range.to.month, range.to.day))
        throw BadInput("起始日期晚于结束日期：" + command.values[0] + " > " + command.values[1]);
    return range;
}

int ShowTsv(const Command& command, const RunContext& run)
{
    const DayRange range = ParseRange(command);
    const qn::HolidayCalendar holidays = run.Holidays(command);
    BlockWriter writer(run.out);
    DayRun days(&holidays);
    DayInfo info;
    for (qn::CivilDate date = range.from;; date = NextDay(date)) {
        if (DayExists(date.year, date.month, date.day)) {
            days.LookUp(info, date.year, date.month, date.day);
            AppendTsvLine(writer.Text(), info);
            if (!writer.LineDone())
                break;
        }
        if (date == range.to)
            break;
    }
    return ExitOk;
}

int ShowIcs(const Command& command, const RunContext& run)
{
    const DayRange range = ParseRange(command);
    if (std::tie(range.to.year, range.to.month, range.to.day)
        >= std::make_tuple(range.from.year + MaxFeedYears, range.from.month, range.from.day))
        throw BadInput("范围太长：" + command.values[0] + " 至 " + command.values[1] + "（一个日历最多 "
                       + std::to_string(MaxFeedYears) + " 年）");
    FeedRequest request{range.from, range.to, {}, run.options.utcNow ? run.options.utcNow() : run.now()};
    std::string error;
    if (!ParseLayerList(command.layers.value_or(std::string(DefaultLayerList)), request.layers, error))
        throw BadInput(error);
    // A file named with --holidays is checked even when no layer shows it.
    std::optional<qn::HolidayCalendar> holidays;
    if (AnyLayerFrom(request.layers, LayerSource::Holidays) || command.holidayFile)
        request.holidays = &holidays.emplace(run.Holidays(command));
    BlockWriter writer(run.out);
    WriteFeed(writer, request);
    return ExitOk;
}

}  // namespace

std::string UsageText()
{
    std::string text = R"(qncal：带农历的终端日历

用法：
  qncal                         显示本月月历，信息行为今天
  qncal 年 月                   显示指定月份，信息行为该月 1 日（例：qncal 2010 6）
  qncal 年                      显示全年，每行三个月（例：qncal 2025）
  qncal -3 [年 月]              显示上月、本月和下月（默认围绕今天）
  qncal --day YYYY-MM-DD        列出这一天的全部日历信息，每行一项
  qncal --from-lunar 年 月 日 [--leap]
                                农历日期对应的公历日期；--leap 表示闰月
                                （例：qncal --from-lunar 2023 2 1 --leap）
  qncal --tsv FROM TO           从 FROM 到 TO（含两端，YYYY-MM-DD）每天一行，
                                以制表符分隔，UTF-8
  qncal --ics FROM TO [--layers 列表]
                                写出 iCalendar 日历（.ics），可导入或订阅到
                                日历程序（例：qncal --ics 2024-01-01 2030-12-31
                                --layers festivals,terms > 农历.ics）
  qncal --help, -h              显示本说明
  qncal --version               显示版本

月历和年历的选项：
  -m, --monday                  每周从星期一开始（默认从星期日开始）
  -w, --week                    每周前面显示 ISO 周数（周从星期日开始时，
                                取该行星期一所在的周）
  -3, --three                   显示三个月
放假安排的选项（--from-lunar 以外的用法都可以用）：
  --holidays 文件               改用这个放假安排表（CSV，格式与内置表相同），
                                不用记事本里的（例：--holidays 放假.csv）
带值的长选项也可以写成 --选项=值，如 --day=2024-02-10、--layers=lunar。

月历：每天的数字下面是一行农历文字，取第一个有内容的：农历节日、节气、
公历节日、农历日（初一显示农历月名）。标题是该月的农历年（干支和生肖），
农历新年所在的月份写出前后两年。单月月历最后一行是信息行，
如“2010-06-01 农历四月十九”；1949 年以前用历史纪年代替公历日期。
法定假日放假的日子在数字后标“休”，调休上班的日子标“班”。
终端上周末、节日、节气和农历初一带颜色，“休”为红色，“班”为粗体，
今天以反色显示；输出不是终端，或环境变量 NO_COLOR 设为非空值时不加颜色。

放假安排：程序内置的历年国务院放假通知，加上 QN周记事本保存的放假安排表
（便携版在程序所在目录的 Data/cn-holidays.csv，否则在
~/.local/share/qnweeknote/Data/cn-holidays.csv，设了 XDG_DATA_HOME 时在
$XDG_DATA_HOME/qnweeknote/Data/ 下）；那里的文件有误时给出警告，只用内置数据。
某年没有放假通知时不标“休”“班”，--day 的“法定”一行显示“无数据”，
不按往年推测。节令（数九、三伏、入梅、出梅、小年、寒食等）在 --day、
--tsv 和 --ics 的 almanac 图层里。

--tsv 的各列依次为（没有内容的列留空，不输出标题行）：
)";
    int number = 1;
    for (const TsvColumn& column : TsvColumns()) {
        std::string name(column.name);
        name.resize(std::max<std::size_t>(name.size(), 16), ' ');
        text += (number < 10 ? "  " : " ") + std::to_string(number) + " " + name + std::string(column.meaning) + "\n";
        ++number;
    }
    text += R"(
--ics 写出全天事件（DTEND 为次日，不占用忙闲时间），每个事件的 UID 由日期、
图层和文字决定，重新导入时更新而不重复。范围最多 200 年。--layers 用逗号
分隔，默认为 )";
    text += DefaultLayerList;
    text += "：\n";
    for (const FeedLayer& layer : FeedLayers()) {
        std::string name(layer.name);
        name.resize(std::max<std::size_t>(name.size(), 12), ' ');
        text += "  " + name + std::string(layer.help) + (layer.collect ? "" : "（暂无数据）") + "\n";
    }
    text += R"(
年份范围为 1..2100。日期与日历控件一样按年、月、日的数字交给农历计算，
因此 1582-10-15 以前的日期按儒略历读；1582-10-05 至 1582-10-14 是改历时
跳过的十天，没有这几天：作为日期输入时报错，在 --tsv 和 --ics 的范围里略过。

退出状态：0 成功；2 输入有误（日期格式、范围、不存在的公历或农历日期、
未知选项、参数个数、--holidays 的文件不存在或有误等），此时在标准错误输出
一行说明，标准输出为空；
3 结果写不出去（例如磁盘已满）。
)";
    return text;
}

std::string VersionText() { return "qncal " QNCAL_VERSION "（QN周记事本）\n"; }

bool ColorWanted(bool isTerminal, const char* noColor)
{
    return isTerminal && (noColor == nullptr || *noColor == '\0');
}

int RunQnCal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const qn::NowSource& now,
             const RunOptions& options)
{
    try {
        const Command command = ParseCommandLine(args);
        const RunContext run{out, err, now, options};
        // Every check runs before the first line is written, so bad input
        // leaves stdout empty.
        switch (command.mode) {
        case Mode::Help: out << UsageText(); return ExitOk;
        case Mode::Version: out << VersionText(); return ExitOk;
        case Mode::Calendar: return ShowCalendar(command, run);
        case Mode::Day: return ShowDay(command, run);
        case Mode::FromLunar: return ShowFromLunar(command, out);
        case Mode::Tsv: return ShowTsv(command, run);
        case Mode::Ics: return ShowIcs(command, run);
        }
    } catch (const BadInput& problem) {
        err << "qncal: " << problem.what() << '\n';
        return ExitBadInput;
    }
    return ExitOk;
}

}  // namespace qncal
