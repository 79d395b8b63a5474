#include "holidays/HolidayRows.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

namespace qn {

namespace {

constexpr std::string_view kHeader = "date,off,name,notice_year";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DigitsValue(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// Well-formed UTF-8 without overlong forms, surrogates or code points past
// U+10FFFF.
bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned min = 0, code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, min = 0x80, code = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, min = 0x800, code = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, min = 0x10000, code = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::string Quoted(std::string_view text) { return "“" + std::string(text) + "”"; }

// Empty when the name is sound, else why not.
std::string CheckName(std::string_view name)
{
    if (name.empty())
        return "节日名称为空";
    if (name.size() > kMaxHolidayNameBytes)
        return "节日名称过长";
    if (!IsValidUtf8(name))
        return "节日名称不是有效的 UTF-8 文字";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return "节日名称含有控制字符";
        if (c == '"' || c == ',')
            return "节日名称含有英文引号或逗号";
    }
    return {};
}

// Empty when the date can belong to the notice year, else why not.
std::string CheckDateAndNotice(const CivilDate& date, int noticeYear)
{
    if (noticeYear < kFirstNoticeYear || noticeYear > kLastNoticeYear)
        return "通知年份 " + std::to_string(noticeYear) + " 超出范围（应在 " + std::to_string(kFirstNoticeYear) + "..."
            + std::to_string(kLastNoticeYear) + " 之间）";
    if (!IsValidDate(date.year, date.month, date.day))
        return "日期无效";
    if (date.year < noticeYear - kNoticeYearReach || date.year > noticeYear + kNoticeYearReach)
        return "日期 " + FormatIsoDate(date) + " 与通知年份 " + std::to_string(noticeYear) + " 相差太远";
    return {};
}

bool ParseDate(std::string_view text, CivilDate& date)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    const std::string_view y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
    if (!AllDigits(y) || !AllDigits(m) || !AllDigits(d))
        return false;
    date = {DigitsValue(y), DigitsValue(m), DigitsValue(d)};
    return IsValidDate(date.year, date.month, date.day);
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(
            Trim(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

bool DateLess(const HolidayRow& a, const HolidayRow& b)
{
    return std::tie(a.date.year, a.date.month, a.date.day) < std::tie(b.date.year, b.date.month, b.date.day);
}

// Empty when no date is named twice, else the first such date.
std::string FirstRepeatedDate(std::vector<HolidayRow> rows)
{
    std::sort(rows.begin(), rows.end(), DateLess);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].date == rows[i - 1].date)
            return FormatIsoDate(rows[i].date);
    }
    return {};
}

}  // namespace

std::string FormatIsoDate(const CivilDate& date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

HolidayParseResult ParseHolidayCsv(std::string_view text)
{
    HolidayParseResult result;
    auto fail = [&result](int lineNumber, const std::string& why) {
        result.rows.clear();
        result.error = lineNumber > 0 ? "第 " + std::to_string(lineNumber) + " 行：" + why : why;
        return result;
    };
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    if (text.find('\0') != std::string_view::npos)
        return fail(0, "文件含有二进制内容，不是放假安排表");

    bool seenHeader = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (Trim(line).empty())
            continue;
        if (!seenHeader) {
            if (Trim(line) != kHeader)
                return fail(lineNumber, "表头应为 " + std::string(kHeader));
            seenHeader = true;
            continue;
        }
        const std::vector<std::string_view> fields = SplitFields(line);
        if (fields.size() != 4)
            return fail(lineNumber,
                        "应有 4 项（日期,休班,名称,通知年份），实有 " + std::to_string(fields.size()) + " 项");
        HolidayRow row;
        if (!ParseDate(fields[0], row.date))
            return fail(lineNumber, "日期" + Quoted(fields[0]) + "无效（应为 YYYY-MM-DD）");
        if (fields[1] != "0" && fields[1] != "1")
            return fail(lineNumber, "休班一项应为 1（休）或 0（班），实为" + Quoted(fields[1]));
        row.off = fields[1] == "1";
        if (const std::string why = CheckName(fields[2]); !why.empty())
            return fail(lineNumber, why);
        row.name = std::string(fields[2]);
        if (fields[3].size() != 4 || !AllDigits(fields[3]))
            return fail(lineNumber, "通知年份" + Quoted(fields[3]) + "无效");
        row.noticeYear = DigitsValue(fields[3]);
        if (const std::string why = CheckDateAndNotice(row.date, row.noticeYear); !why.empty())
            return fail(lineNumber, why);
        if (result.rows.size() >= kMaxHolidayRows)
            return fail(lineNumber, "行数超过 " + std::to_string(kMaxHolidayRows) + "，不是放假安排表");
        result.rows.push_back(std::move(row));
    }
    if (!seenHeader)
        return fail(0, "文件是空的（没有表头）");
    if (const std::string date = FirstRepeatedDate(result.rows); !date.empty())
        return fail(0, "日期 " + date + " 出现了不止一次");
    std::sort(result.rows.begin(), result.rows.end(), DateLess);
    result.ok = true;
    return result;
}

std::string CheckHolidayRows(const std::vector<HolidayRow>& rows)
{
    if (rows.size() > kMaxHolidayRows)
        return "行数超过 " + std::to_string(kMaxHolidayRows);
    for (const HolidayRow& row : rows) {
        if (const std::string why = CheckDateAndNotice(row.date, row.noticeYear); !why.empty())
            return FormatIsoDate(row.date) + "：" + why;
        if (const std::string why = CheckName(row.name); !why.empty())
            return FormatIsoDate(row.date) + "：" + why;
    }
    if (const std::string date = FirstRepeatedDate(rows); !date.empty())
        return "日期 " + date + " 出现了不止一次";
    return {};
}

std::string FormatHolidayCsv(const std::vector<HolidayRow>& rows)
{
    std::vector<HolidayRow> sorted = rows;
    std::stable_sort(sorted.begin(), sorted.end(), DateLess);
    std::string text(kHeader);
    text += '\n';
    for (const HolidayRow& row : sorted) {
        text += FormatIsoDate(row.date);
        text += row.off ? ",1," : ",0,";
        text += row.name;
        text += ',';
        text += std::to_string(row.noticeYear);
        text += '\n';
    }
    return text;
}

std::set<int> NoticeYearsOf(const std::vector<HolidayRow>& rows)
{
    std::set<int> years;
    for (const HolidayRow& row : rows)
        years.insert(row.noticeYear);
    return years;
}

std::vector<HolidayRow> MergeNoticeYears(const std::vector<HolidayRow>& base, const std::vector<HolidayRow>& overlay)
{
    const std::set<int> replaced = NoticeYearsOf(overlay);
    // Keyed by date: a later notice's row for the same date wins.
    std::map<std::tuple<int, int, int>, HolidayRow> byDate;
    auto add = [&byDate](const HolidayRow& row) {
        const auto key = std::make_tuple(row.date.year, row.date.month, row.date.day);
        const auto found = byDate.find(key);
        if (found == byDate.end())
            byDate.emplace(key, row);
        else if (row.noticeYear >= found->second.noticeYear)
            found->second = row;
    };
    for (const HolidayRow& row : base) {
        if (!replaced.contains(row.noticeYear))
            add(row);
    }
    for (const HolidayRow& row : overlay)
        add(row);
    std::vector<HolidayRow> merged;
    merged.reserve(byDate.size());
    for (auto& [key, row] : byDate)
        merged.push_back(std::move(row));
    return merged;
}

}  // namespace qn
