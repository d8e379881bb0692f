#include "services/TimeStamps.h"
#include "services/TimeStampsCalendar.h"

#include "base/Failure.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace kavrolt {
namespace {

using dates::CivilDate;
using dates::DaysInMonth;
using dates::IsDigit;

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
constexpr long double kSecondsPerDay = 86400.0L;
// The last day the calendar arithmetic accepts: 9999-12-31.
constexpr double kLastDay = 2958465.0;
constexpr double kFirstDay = -693593.0; // 0001-01-01

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = static_cast<int>(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(yoe + era * 400) + (m <= 2), m, d};
}

struct Decoded {
    CivilDate date;
    int dayOfWeek; // 0 Sunday
    int hour, minute, second, millisecond;
    std::int64_t millisecondOfDay;
};

// Splits a date-time value into its calendar date and time of day, rounded to
// whole milliseconds. Days before 1899-12-30 count backwards with a time of
// day that still counts forwards, as OLE Automation dates do.
std::optional<Decoded> Decode(DateTime value) {
    if (!std::isfinite(value) || value < kFirstDay - 1 || value > kLastDay + 1)
        return std::nullopt;
    std::int64_t day = static_cast<std::int64_t>(std::trunc(value));
    std::int64_t ms = std::llround(std::fabs(value - std::trunc(value)) *
                                   static_cast<double>(kMillisecondsPerDay));
    if (ms >= kMillisecondsPerDay) {
        ms -= kMillisecondsPerDay;
        ++day;
    }
    const std::int64_t unixDay = day - static_cast<std::int64_t>(kUnixEpochDateTime);
    Decoded out{};
    out.date = CivilFromDays(unixDay);
    if (out.date.year < 1 || out.date.year > 9999)
        return std::nullopt;
    out.dayOfWeek = static_cast<int>(((unixDay % 7) + 7 + 4) % 7); // 1970-01-01 was a Thursday
    out.millisecondOfDay = ms;
    out.hour = static_cast<int>(ms / 3'600'000);
    out.minute = static_cast<int>(ms / 60'000 % 60);
    out.second = static_cast<int>(ms / 1000 % 60);
    out.millisecond = static_cast<int>(ms % 1000);
    return out;
}

std::u16string Digits(std::int64_t number, int width = 1) {
    const bool negative = number < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    while (text.size() < static_cast<std::size_t>(width))
        text.insert(text.begin(), u'0');
    if (negative)
        text.insert(text.begin(), u'-');
    return text;
}

std::optional<std::int32_t> ReadStamp(std::u16string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == u'-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    std::int64_t number = 0;
    for (char16_t c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        number = number * 10 + (c - u'0');
    }
    if (negative)
        number = -number;
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(number);
}

} // namespace

const LocaleFormats& EnglishUnitedStatesFormats() {
    static const LocaleFormats formats{
        u"dddd, MMMM d, yyyy",
        u"M/d/yyyy",
        u":",
        false,
        true,
        false,
        u"AM",
        u"PM",
        u".",
        {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"},
        {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"},
        {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August",
         u"September", u"October", u"November", u"December"},
        {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov",
         u"Dec"},
    };
    return formats;
}

std::optional<LocaleFormats> EnglishLocaleSource::UserFormats() {
    return EnglishUnitedStatesFormats();
}

std::optional<LocaleFormats> EnglishLocaleSource::SystemFormats() {
    return EnglishUnitedStatesFormats();
}

std::optional<DateTime> EncodeDateTime(int year, int month, int day, int hour, int minute,
                                       int second, int millisecond) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59 || millisecond < 0 || millisecond > 999)
        return std::nullopt;
    const double days = static_cast<double>(DaysFromCivil(year, month, day)) + kUnixEpochDateTime;
    const double time =
        static_cast<double>(hour * 3'600'000 + minute * 60'000 + second * 1000 + millisecond) /
        static_cast<double>(kMillisecondsPerDay);
    return days < 0 ? days - time : days + time;
}

long double RoundHalfEven(long double value) {
    if (!std::isfinite(value))
        return value;
    long double whole = std::floor(value);
    const long double fraction = value - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0.0L))
        whole += 1.0L;
    return whole;
}

std::int32_t DateTimeToStamp(DateTime value) {
    if (!std::isfinite(value))
        return 0;
    const long double seconds =
        RoundHalfEven((static_cast<long double>(value) - kUnixEpochDateTime) * kSecondsPerDay);
    // Beyond 2038-01-19 03:14:07 and before 1901-12-13 20:45:52 there is no
    // stamp; such a value counts as a failure.
    if (seconds < std::numeric_limits<std::int32_t>::min() ||
        seconds > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(seconds);
}

DateTime StampToDateTime(std::int32_t stamp) {
    return static_cast<double>(stamp) / 86400.0 + kUnixEpochDateTime;
}

std::u16string StampText(std::int32_t stamp) {
    return Digits(stamp);
}

std::u16string FormatDatePicture(DateTime value, std::u16string_view picture,
                                 const LocaleFormats& formats) {
    const auto decoded = Decode(value);
    if (!decoded)
        return {};
    std::u16string text;
    for (std::size_t i = 0; i < picture.size();) {
        const char16_t c = picture[i];
        if (c == u'\'') {
            // Quoted literal text; two quotes in a row stand for one.
            ++i;
            if (i < picture.size() && picture[i] == u'\'') {
                text.push_back(u'\'');
                ++i;
                continue;
            }
            while (i < picture.size()) {
                if (picture[i] == u'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
                        text.push_back(u'\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text.push_back(picture[i++]);
            }
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        const auto& d = *decoded;
        switch (c) {
        case u'd':
            if (run <= 2)
                text += Digits(d.date.day, static_cast<int>(run));
            else
                text +=
                    run == 3 ? formats.shortDayNames[d.dayOfWeek] : formats.dayNames[d.dayOfWeek];
            break;
        case u'M':
            if (run <= 2)
                text += Digits(d.date.month, static_cast<int>(run));
            else
                text += run == 3 ? formats.shortMonthNames[d.date.month - 1]
                                 : formats.monthNames[d.date.month - 1];
            break;
        case u'y':
            if (run <= 2)
                text += Digits(d.date.year % 100, static_cast<int>(run));
            else
                text += Digits(d.date.year, 4);
            break;
        case u'g':
            break; // the era: none for the Gregorian calendar
        default:
            text.append(run, c);
        }
        i += run;
    }
    return text;
}

std::u16string FormatLongTime(DateTime value, const LocaleFormats& formats) {
    const auto decoded = Decode(value);
    if (!decoded)
        return {};
    int hour = decoded->hour;
    std::u16string designator;
    if (formats.twelveHourClock) {
        designator = hour < 12 ? formats.am : formats.pm;
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    std::u16string time = Digits(hour, formats.hourLeadingZero ? 2 : 1) + formats.timeSeparator +
                          Digits(decoded->minute, 2) + formats.timeSeparator +
                          Digits(decoded->second, 2);
    if (designator.empty())
        return time;
    return formats.designatorFirst ? designator + u' ' + time : time + u' ' + designator;
}

std::u16string StampToDateTimeText(LocaleSource& locale, std::u16string_view stored) {
    return Guarded(std::u16string(), [&]() -> std::u16string {
        if (stored.find(u':') != std::u16string_view::npos ||
            stored.find(u'/') != std::u16string_view::npos)
            return std::u16string(stored);
        const auto stamp = ReadStamp(stored);
        if (!stamp)
            return {};
        const DateTime value = StampToDateTime(*stamp);
        const auto formats = locale.UserFormats();
        const auto decoded = Decode(value);
        if (!formats || !decoded)
            return {};
        std::u16string text = FormatDatePicture(value, formats->shortDate, *formats);
        if (text.empty())
            return {};
        if (decoded->millisecondOfDay != 0)
            text += u' ' + FormatLongTime(value, *formats);
        return text;
    });
}

std::optional<DateTime> TextToDateTime(LocaleSource& locale, std::u16string_view text) {
    return Guarded(std::optional<DateTime>(), [&]() -> std::optional<DateTime> {
        const DateParse parsed = locale.ParseDateTime(text);
        if (parsed.status == DateParseStatus::Parsed)
            return parsed.value;
        if (parsed.status != DateParseStatus::NotADate)
            return std::nullopt;
        const auto formats = locale.UserFormats();
        if (!formats)
            return std::nullopt;
        if (const auto date = ParseShortDate(text, *formats))
            return date;
        return ParseDecimal(text, *formats);
    });
}

std::u16string StampToText(LocaleSource& locale, std::u16string_view stored) {
    return Guarded(std::u16string(), [&]() -> std::u16string {
        const std::u16string text = StampToDateTimeText(locale, stored);
        if (text.empty())
            return {};
        const auto value = TextToDateTime(locale, text);
        if (!value)
            return {};
        const auto formats = locale.SystemFormats();
        if (!formats)
            return {};
        const std::u16string date = FormatDatePicture(*value, formats->longDate, *formats);
        const std::u16string time = FormatLongTime(*value, *formats);
        if (date.empty() || time.empty())
            return {};
        return date + u" - " + time;
    });
}

std::int64_t WholeDaysBetween(DateTime a, DateTime b) {
    // Values outside the calendar have no whole-millisecond form.
    constexpr double limit = 1e10;
    if (!std::isfinite(a) || !std::isfinite(b) || std::fabs(a) > limit || std::fabs(b) > limit)
        return 0;
    constexpr double ms = static_cast<double>(kMillisecondsPerDay);
    const std::int64_t first = std::llround(a * ms);
    const std::int64_t second = std::llround(b * ms);
    const std::int64_t difference = first > second ? first - second : second - first;
    return difference / kMillisecondsPerDay;
}

std::u16string StampToDateTimeText(std::u16string_view stored) {
    return StampToDateTimeText(DefaultLocaleSource(), stored);
}

std::optional<DateTime> TextToDateTime(std::u16string_view text) {
    return TextToDateTime(DefaultLocaleSource(), text);
}

std::u16string StampToText(std::u16string_view stored) {
    return StampToText(DefaultLocaleSource(), stored);
}

} // namespace kavrolt
