#include "calendar/Clock.h"

#include "calendar/DateValue.h"

#include <chrono>
#include <ctime>

namespace qn {

double SystemNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec, static_cast<int>(ms));
}

NowSource FixedClock(double value)
{
    return [value] { return value; };
}

}  // namespace qn
