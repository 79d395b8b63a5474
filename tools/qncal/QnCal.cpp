#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"
#include "calendar/LunarCore.h"
#include "calendar/LunarTexts.h"
#include "tools/qncal/DayReport.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace qncal {

namespace {

constexpr int FirstYear = 1;
constexpr int LastYear = 2100;

// A problem with the command line; its text is the one-line message.
class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::optional<int> ParseDecimal(std::string_view s)
{
    int value = 0;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (s.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

int ParseInteger(std::string_view s, const char* what)
{
    const auto value = ParseDecimal(s);
    if (!value)
        throw BadInput(std::string(what) + "不是整数：" + Quoted(s));
    return *value;
}

void CheckYear(int year, const char* what = "年份")
{
    if (year < FirstYear || year > LastYear)
        throw BadInput(std::string(what) + "超出范围：" + std::to_string(year) + "（应在 1..2100 之间）");
}

void CheckMonth(int month, const char* what = "月份")
{
    if (month < 1 || month > 12)
        throw BadInput(std::string(what) + "无效：" + std::to_string(month) + "（应在 1..12 之间）");
}

qn::CivilDate ParseDate(std::string_view text)
{
    const std::string malformed = "日期格式不对：" + Quoted(text) + "（应为 YYYY-MM-DD）";
    int parts[3] = {};
    std::string_view rest = text;
    for (int i = 0; i < 3; ++i) {
        const auto cut = i < 2 ? rest.find('-') : std::string_view::npos;
        if (i < 2 && cut == std::string_view::npos)
            throw BadInput(malformed);
        const std::string_view piece = rest.substr(0, cut);
        const bool digits = !piece.empty() && piece.size() <= 9
            && std::all_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits)
            throw BadInput(malformed);
        parts[i] = *ParseDecimal(piece);
        if (i < 2)
            rest.remove_prefix(cut + 1);
    }
    CheckYear(parts[0]);
    CheckMonth(parts[1]);
    if (!qn::IsValidDate(parts[0], parts[1], parts[2]))
        throw BadInput("没有这一天：" + Quoted(text));
    return {parts[0], parts[1], parts[2]};
}

bool LooksLikeOption(std::string_view arg)
{
    // "-5" and "-2010-01-01" are (bad) values, not options.
    return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

enum class Mode { Month, Day, FromLunar, Tsv, Help };

struct Command {
    Mode mode = Mode::Month;
    bool leap = false;
    std::vector<std::string> values;
};

Command ParseCommandLine(const std::vector<std::string>& args)
{
    Command command;
    std::optional<std::string> modeOption;
    for (const std::string& arg : args) {
        if (!LooksLikeOption(arg)) {
            command.values.push_back(arg);
            continue;
        }
        if (arg == "--help" || arg == "-h")
            return {Mode::Help, false, {}};
        if (arg == "--leap") {
            if (command.leap)
                throw BadInput("选项重复：--leap");
            command.leap = true;
            continue;
        }
        Mode mode;
        if (arg == "--day")
            mode = Mode::Day;
        else if (arg == "--from-lunar")
            mode = Mode::FromLunar;
        else if (arg == "--tsv")
            mode = Mode::Tsv;
        else
            throw BadInput("未知选项：" + arg + "（用 --help 查看用法）");
        if (modeOption)
            throw BadInput("选项 " + *modeOption + " 和 " + arg + " 不能同时使用");
        modeOption = arg;
        command.mode = mode;
    }
    if (command.leap && command.mode != Mode::FromLunar)
        throw BadInput("选项 --leap 只能与 --from-lunar 一起使用");

    struct Arity {
        Mode mode;
        std::size_t min, max;
        const char* usage;
    };
    static const Arity arities[] = {
        {Mode::Month, 0, 2, "qncal [年 月]"},
        {Mode::Day, 1, 1, "qncal --day YYYY-MM-DD"},
        {Mode::FromLunar, 3, 3, "qncal --from-lunar 年 月 日 [--leap]"},
        {Mode::Tsv, 2, 2, "qncal --tsv FROM TO"},
    };
    for (const Arity& a : arities) {
        if (a.mode != command.mode)
            continue;
        const std::size_t n = command.values.size();
        if (n < a.min || n > a.max || (a.mode == Mode::Month && n == 1))
            throw BadInput("参数个数不对：" + std::to_string(n) + " 个（用法：" + a.usage + "）");
    }
    return command;
}

int ShowMonth(const Command& command, std::ostream& out, const qn::NowSource& now, const RunOptions& options)
{
    const qn::CivilDate today = qn::DecodeDate(now());
    MonthView view;
    if (command.values.empty()) {
        if (today.year < FirstYear || today.year > LastYear)
            throw BadInput("今天的年份超出范围：" + std::to_string(today.year));
        view = {today.year, today.month, today.day, 0};
    } else {
        view.year = ParseInteger(command.values[0], "年份");
        view.month = ParseInteger(command.values[1], "月份");
        CheckYear(view.year);
        CheckMonth(view.month);
        view.selectedDay = 1;
    }
    if (options.highlightToday && today.year == view.year && today.month == view.month)
        view.highlightDay = today.day;
    WriteMonth(out, view);
    return ExitOk;
}

int ShowDay(const Command& command, std::ostream& out)
{
    const qn::CivilDate date = ParseDate(command.values[0]);
    WriteDayFields(out, LookUpDay(date.year, date.month, date.day));
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

int ShowFromLunar(const Command& command, std::ostream& out, std::ostream& err)
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
            err << "qncal: " << lunarText << "在公历 2100 年以后，超出可换算的范围\n";
        else
            err << "qncal: 没有这个农历日期：" << lunarText << '\n';
        return ExitNoSuchLunarDate;
    }
    out << FormatDate(year, month, day) << '\n';
    return ExitOk;
}

int ShowTsv(const Command& command, std::ostream& out)
{
    const qn::CivilDate from = ParseDate(command.values[0]);
    const qn::CivilDate to = ParseDate(command.values[1]);
    const long long first = qn::DaysFromCivil(from.year, from.month, from.day);
    const long long last = qn::DaysFromCivil(to.year, to.month, to.day);
    if (first > last)
        throw BadInput("起始日期晚于结束日期：" + command.values[0] + " > " + command.values[1]);
    DayInfo info;
    for (long long days = first; days <= last; ++days) {
        const qn::CivilDate date = qn::CivilFromDays(days);
        LookUpDay(info, date.year, date.month, date.day);
        WriteTsvLine(out, info);
    }
    return ExitOk;
}

}  // namespace

std::string UsageText()
{
    return R"(qncal：带农历的终端月历

用法：
  qncal                         显示本月月历，信息行为今天
  qncal 年 月                   显示指定月份，信息行为该月 1 日（例：qncal 2010 6）
  qncal --day YYYY-MM-DD        列出这一天的全部日历信息，每行一项
  qncal --from-lunar 年 月 日 [--leap]
                                农历日期对应的公历日期；--leap 表示闰月
                                （例：qncal --from-lunar 2023 2 1 --leap）
  qncal --tsv FROM TO           从 FROM 到 TO（含两端，YYYY-MM-DD）每天一行，
                                以制表符分隔，UTF-8
  qncal --help, -h              显示本说明

月历：每周从星期日开始。每天的数字下面是一行农历文字，取第一个有内容的：
农历节日、节气、公历节日、农历日（初一显示农历月名）。最后一行是信息行，
如“2010-06-01 农历四月十九”；1949 年以前用历史纪年代替公历日期。

--tsv 的各列依次为（没有内容的列留空，不输出标题行）：
  1 date            公历日期 YYYY-MM-DD
  2 LunarYear       农历年
  3 LunarMonth      农历月（1..12，闰月也是月份数字）
  4 LunarDay        农历日（1..30）
  5 IsLeap          是否闰月（1 是，0 否）
  6 LunarMonthText  农历月名（正月……腊月，闰月前加“闰”）
  7 LunarDayText    农历日名（初一……三十）
  8 SolarTerm       节气
  9 Holiday         公历节日
 10 LunarHoliday    农历节日
 11 YearGanZhi      年干支（以立春为界）
 12 MonthGanZhi     月干支（以节为界）
 13 DayGanZhi       日干支
 14 Animal          生肖
 15 Constellation   星座
 16 EraName         历史纪年（1949 年起为空）

年份范围为 1..2100。日期与日历控件一样按年、月、日的数字交给农历计算，
因此 1582-10-15 以前的日期按儒略历读；1582-10-05 至 1582-10-14 是改历时
跳过的十天，没有农历日（LunarDay 为 -1，农历日名为空）。

终端上今天的日期以反色显示；设置了环境变量 NO_COLOR 时不加颜色。

退出状态：0 成功；1 要换算的农历日期不存在；2 输入有误（日期格式、范围、
未知选项、参数个数等），此时在标准错误输出一行说明，标准输出为空；
3 结果写不出去（例如磁盘已满）。
)";
}

int RunQnCal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const qn::NowSource& now,
             const RunOptions& options)
{
    try {
        const Command command = ParseCommandLine(args);
        // Every check runs before the first line is written, so bad input
        // leaves stdout empty.
        switch (command.mode) {
        case Mode::Help: out << UsageText(); return ExitOk;
        case Mode::Month: return ShowMonth(command, out, now, options);
        case Mode::Day: return ShowDay(command, out);
        case Mode::FromLunar: return ShowFromLunar(command, out, err);
        case Mode::Tsv: return ShowTsv(command, out);
        }
    } catch (const BadInput& problem) {
        err << "qncal: " << problem.what() << '\n';
        return ExitBadInput;
    }
    return ExitOk;
}

}  // namespace qncal
