// qncal: a calendar with the Chinese lunar calendar, for the terminal.
#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"
#include "holidays/NotebookHolidayFile.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <unistd.h>

namespace {

// The time stamp of a feed: now in UTC, or SOURCE_DATE_EPOCH when it is set,
// so that a feed can be made again byte for byte.
double UtcNow()
{
    std::time_t seconds = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        long long value = 0;
        const char* end = epoch + std::strlen(epoch);
        const auto [ptr, ec] = std::from_chars(epoch, end, value);
        if (ec == std::errc() && ptr == end && *epoch != '\0' && value >= 0)
            seconds = static_cast<std::time_t>(value);
    }
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    return qn::EncodeDateTime(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
}

// The folder of the running program, where a portable copy keeps its Data/.
std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

}  // namespace

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    qncal::RunOptions options;
    options.color = qncal::ColorWanted(isatty(STDOUT_FILENO) != 0, std::getenv("NO_COLOR"));
    options.utcNow = UtcNow;
    options.holidayFile =
        qn::NotebookHolidayFile(ExecutableFolder(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    const int status = qncal::RunQnCal(args, std::cout, std::cerr, qn::SystemNow, options);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "qncal: 结果写不出去\n";
        return qncal::ExitOutputFailed;
    }
    return status;
}
