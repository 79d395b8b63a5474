#include "holidays/HolidayData.h"

#include "holidays/BuiltInHolidays.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace qn {

const std::vector<HolidayRow>& BuiltInHolidayRows()
{
    // The table is checked by the tests; a table that failed to parse would
    // leave the program without built-in data, never with half of it.
    static const std::vector<HolidayRow> rows = ParseHolidayCsv(BuiltInHolidayCsv()).rows;
    return rows;
}

HolidayFileRead ReadHolidayFile(const std::filesystem::path& file)
{
    HolidayFileRead read;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return read;
    read.status = HolidayFileRead::Status::Rejected;
    if (error) {
        read.error = "无法读取：" + error.message();
        return read;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        read.error = "不是一个普通文件";
        return read;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        read.error = "无法读取：" + error.message();
        return read;
    }
    if (size > kMaxHolidayFileBytes) {
        read.error = "文件过大（超过 1 MB），不是放假安排表";
        return read;
    }
    std::ifstream in(file, std::ios::binary);
    std::string text;
    if (in)
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        read.error = "无法读取文件";
        return read;
    }
    HolidayParseResult parsed = ParseHolidayCsv(text);
    if (!parsed.ok) {
        read.error = parsed.error;
        return read;
    }
    read.status = HolidayFileRead::Status::Ok;
    read.rows = std::move(parsed.rows);
    return read;
}

HolidayLoad LoadHolidays(const std::filesystem::path& userFile, bool mustExist)
{
    HolidayLoad load;
    const HolidayFileRead read = ReadHolidayFile(userFile);
    switch (read.status) {
    case HolidayFileRead::Status::Ok:
        load.calendar = HolidayCalendar(MergeNoticeYears(BuiltInHolidayRows(), read.rows));
        load.userFileUsed = true;
        return load;
    case HolidayFileRead::Status::Missing:
        if (mustExist)
            load.warning = "放假安排文件 " + userFile.string() + " 不存在，只用内置数据";
        break;
    case HolidayFileRead::Status::Rejected:
        load.warning = "放假安排文件 " + userFile.string() + " 有误，已忽略，只用内置数据：" + read.error;
        break;
    }
    load.calendar = HolidayCalendar(BuiltInHolidayRows());
    return load;
}

}  // namespace qn
