// Builds without Windows read the clock through the C library and format with
// the English (United States) table.
#include "services/TimeStamps.h"

#include <chrono>
#include <ctime>

namespace kavrolt {

LocaleSource& DefaultLocaleSource() {
    static EnglishLocaleSource source;
    return source;
}

DateTime CurrentDateTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec < 60 ? local.tm_sec : 59,
                          static_cast<int>(milliseconds < 0 ? 0 : milliseconds))
        .value_or(0.0);
}

} // namespace kavrolt
