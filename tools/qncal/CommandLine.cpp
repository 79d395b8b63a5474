#include "tools/qncal/CommandLine.h"

#include "tools/qncal/DayReport.h"

#include <algorithm>
#include <charconv>

namespace qncal {

namespace {

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

bool LooksLikeOption(std::string_view arg)
{
    // "-5" and "-2010-01-01" are (bad) values, not options.
    return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

// "-3", "-m", "-w", "-h" and bundles of them such as "-mw".
bool IsShortFlags(std::string_view arg)
{
    return arg.size() > 1 && arg[0] == '-'
        && std::all_of(arg.begin() + 1, arg.end(), [](char c) { return c == '3' || c == 'm' || c == 'w' || c == 'h'; });
}

struct ModeOption {
    std::string_view name;
    Mode mode;
};
constexpr ModeOption ModeOptions[] = {
    {"--day", Mode::Day}, {"--from-lunar", Mode::FromLunar}, {"--tsv", Mode::Tsv}, {"--ics", Mode::Ics}};

struct FlagOption {
    std::string_view name;
    bool Command::*flag;
};
constexpr FlagOption FlagOptions[] = {{"--leap", &Command::leap},
                                      {"--three", &Command::threeMonths},
                                      {"--monday", &Command::mondayFirst},
                                      {"--week", &Command::weekNumbers}};

struct ValueOption {
    std::string_view name;
    std::optional<std::string> Command::*value;
    const char* missing;  // what the option lacks without its value
};
constexpr ValueOption ValueOptions[] = {
    {"--layers", &Command::layers, "图层列表（例：--layers festivals,terms）"},
    {"--holidays", &Command::holidayFile, "文件名（例：--holidays 放假安排.csv）"},
};

Command OnlyMode(Mode mode)
{
    Command command;
    command.mode = mode;
    return command;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : args_(args) { }

    Command Run()
    {
        for (std::size_t i = 0; i < args_.size(); ++i) {
            const std::string& arg = args_[i];
            if (IsShortFlags(arg)) {
                for (const char c : std::string_view(arg).substr(1)) {
                    if (c == 'h')
                        return OnlyMode(Mode::Help);
                    SetFlag(c == '3'       ? &Command::threeMonths
                                : c == 'm' ? &Command::mondayFirst
                                           : &Command::weekNumbers,
                            std::string("-") + c);
                }
            } else if (!LooksLikeOption(arg)) {
                command_.values.push_back(arg);
            } else if (arg.rfind("--", 0) == 0) {
                const auto equals = arg.find('=');
                const std::string name = arg.substr(0, equals);
                const std::optional<std::string> attached =
                    equals == std::string::npos ? std::nullopt : std::optional(arg.substr(equals + 1));
                if (name == "--help")
                    return OnlyMode(Mode::Help);
                if (name == "--version")
                    return OnlyMode(Mode::Version);
                if (!LongOption(name, attached, i))
                    throw BadInput("未知选项：" + name + "（用 --help 查看用法）");
            } else {
                throw BadInput("未知选项：" + arg + "（用 --help 查看用法）");
            }
        }
        CheckCombination();
        CheckArity();
        return command_;
    }

private:
    const std::vector<std::string>& args_;
    Command command_;
    std::optional<std::string> modeName_;
    std::vector<std::pair<bool Command::*, std::string>> flagNames_;

    void SetFlag(bool Command::*flag, const std::string& name)
    {
        if (command_.*flag)
            throw BadInput("选项重复：" + name);
        command_.*flag = true;
        flagNames_.emplace_back(flag, name);
    }

    std::string FlagName(bool Command::*flag) const
    {
        for (const auto& [f, name] : flagNames_) {
            if (f == flag)
                return name;
        }
        return {};
    }

    bool LongOption(const std::string& name, const std::optional<std::string>& attached, std::size_t& i)
    {
        for (const FlagOption& option : FlagOptions) {
            if (option.name != name)
                continue;
            if (attached)
                throw BadInput("选项 " + name + " 不带值：" + args_[i]);
            SetFlag(option.flag, name);
            return true;
        }
        for (const ModeOption& option : ModeOptions) {
            if (option.name != name)
                continue;
            if (modeName_)
                throw BadInput("选项 " + *modeName_ + " 和 " + name + " 不能同时使用");
            modeName_ = name;
            command_.mode = option.mode;
            if (attached)
                command_.values.push_back(*attached);
            return true;
        }
        for (const ValueOption& option : ValueOptions) {
            if (option.name != name)
                continue;
            std::optional<std::string>& value = command_.*option.value;
            if (value)
                throw BadInput("选项重复：" + name);
            if (attached) {
                value = *attached;
            } else {
                if (i + 1 >= args_.size())
                    throw BadInput("选项 " + name + " 缺少" + option.missing);
                value = args_[++i];
            }
            return true;
        }
        return false;
    }

    void CheckCombination() const
    {
        if (command_.leap && command_.mode != Mode::FromLunar)
            throw BadInput("选项 " + FlagName(&Command::leap) + " 只能与 --from-lunar 一起使用");
        if (command_.layers && command_.mode != Mode::Ics)
            throw BadInput("选项 --layers 只能与 --ics 一起使用");
        if (command_.holidayFile && command_.mode == Mode::FromLunar)
            throw BadInput("选项 --holidays 不能与 --from-lunar 一起使用");
        if (command_.mode != Mode::Calendar) {
            for (bool Command::*flag : {&Command::threeMonths, &Command::mondayFirst, &Command::weekNumbers}) {
                if (command_.*flag)
                    throw BadInput("选项 " + FlagName(flag) + " 只能用于月历和年历，不能与 " + *modeName_
                                   + " 一起使用");
            }
        }
    }

    void CheckArity() const
    {
        struct Arity {
            Mode mode;
            std::size_t min, max;
            const char* usage;
        };
        static const Arity arities[] = {
            {Mode::Calendar, 0, 2, "qncal [年 [月]]"},
            {Mode::Day, 1, 1, "qncal --day YYYY-MM-DD"},
            {Mode::FromLunar, 3, 3, "qncal --from-lunar 年 月 日 [--leap]"},
            {Mode::Tsv, 2, 2, "qncal --tsv FROM TO"},
            {Mode::Ics, 2, 2, "qncal --ics FROM TO [--layers 列表]"},
        };
        const std::size_t n = command_.values.size();
        if (command_.mode == Mode::Calendar && command_.threeMonths && n == 1)
            throw BadInput("参数个数不对：1 个（用法：qncal -3 [年 月]）");
        for (const Arity& a : arities) {
            if (a.mode == command_.mode && (n < a.min || n > a.max))
                throw BadInput("参数个数不对：" + std::to_string(n) + " 个（用法：" + a.usage + "）");
        }
    }
};

}  // namespace

Command ParseCommandLine(const std::vector<std::string>& args) { return Parser(args).Run(); }

int ParseInteger(std::string_view s, const char* what)
{
    const auto value = ParseDecimal(s);
    if (!value)
        throw BadInput(std::string(what) + "不是整数：" + Quoted(s));
    return *value;
}

void CheckYear(int year, const char* what)
{
    if (year < FirstYear || year > LastYear)
        throw BadInput(std::string(what) + "超出范围：" + std::to_string(year) + "（应在 1..2100 之间）");
}

void CheckMonth(int month, const char* what)
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
    if (!DayExists(parts[0], parts[1], parts[2]))
        throw BadInput("没有这一天：" + Quoted(text) + "（1582 年改历时跳过了 10 月 5 日至 14 日）");
    return {parts[0], parts[1], parts[2]};
}

}  // namespace qncal
