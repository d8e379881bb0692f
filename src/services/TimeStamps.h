// Points in time as the program stores and shows them.
//
// A date-time value is a count of days since 1899-12-30 00:00 local time (the
// fraction is the time of day). A time stamp is a 32-bit count of seconds since
// 1970-01-01 00:00 local time, stored in the registry as its decimal text. The
// display form is the long date, " - " and the long time of the system locale.
//
// Formats come from a LocaleSource, read afresh on every call. On Windows that
// is GetLocaleInfoW with VarDateFromStr for parsing; builds without Windows use
// the fixed English (United States) table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavrolt {

using DateTime = double;

// Date-time value of 1970-01-01 00:00.
inline constexpr DateTime kUnixEpochDateTime = 25569.0;

// The parts of a locale that formatting and parsing need.
struct LocaleFormats {
    std::u16string longDate;      // date picture, e.g. "dddd, MMMM d, yyyy"
    std::u16string shortDate;     // date picture, e.g. "M/d/yyyy"
    std::u16string timeSeparator; // e.g. ":"
    bool hourLeadingZero = false; // the hour always has two digits
    bool twelveHourClock = true;  // hours 1 to 12 with a designator
    bool designatorFirst = false; // the designator stands before the time
    std::u16string am, pm;        // the designators
    std::u16string decimalSeparator;
    std::array<std::u16string, 7> dayNames; // Sunday first
    std::array<std::u16string, 7> shortDayNames;
    std::array<std::u16string, 12> monthNames; // January first
    std::array<std::u16string, 12> shortMonthNames;
};

// English (United States), as Windows gives it.
const LocaleFormats& EnglishUnitedStatesFormats();

// What a date parser says about a text.
enum class DateParseStatus { Parsed, NotADate, Failed };
struct DateParse {
    DateParseStatus status = DateParseStatus::Failed;
    DateTime value = 0.0;
};

class LocaleSource {
public:
    virtual ~LocaleSource() = default;
    // The user default locale, or nothing when it cannot be read.
    virtual std::optional<LocaleFormats> UserFormats() = 0;
    // The system default locale (the thread's where that is not valid).
    virtual std::optional<LocaleFormats> SystemFormats() = 0;
    // The platform's date parser for the user default locale.
    virtual DateParse ParseDateTime(std::u16string_view text) = 0;
};

// English (United States) as user and system locale, with a parser for the
// texts that its formats produce. Builds without Windows use it by default.
class EnglishLocaleSource final : public LocaleSource {
public:
    std::optional<LocaleFormats> UserFormats() override;
    std::optional<LocaleFormats> SystemFormats() override;
    DateParse ParseDateTime(std::u16string_view text) override;
};

// The locale of the running system.
LocaleSource& DefaultLocaleSource();

// The seven operations.
DateTime CurrentDateTime();
std::int32_t DateTimeToStamp(DateTime value); // 0 on failure
DateTime StampToDateTime(std::int32_t stamp);
std::u16string StampToDateTimeText(LocaleSource& locale, std::u16string_view stored);
std::u16string StampToDateTimeText(std::u16string_view stored);
std::optional<DateTime> TextToDateTime(LocaleSource& locale, std::u16string_view text);
std::optional<DateTime> TextToDateTime(std::u16string_view text);
std::u16string StampToText(LocaleSource& locale, std::u16string_view stored);
std::u16string StampToText(std::u16string_view stored);
std::int64_t WholeDaysBetween(DateTime a, DateTime b);

// Building blocks, shared with the platform layers.

// Date-time value of a calendar date and time of day; nothing for a date that
// does not exist.
std::optional<DateTime> EncodeDateTime(int year, int month, int day, int hour, int minute,
                                       int second, int millisecond);

// Rounds to the nearest whole number, an exact half to the even neighbour.
long double RoundHalfEven(long double value);

// The decimal text of a time stamp, as it is stored.
std::u16string StampText(std::int32_t stamp);

// A date-time formatted with a date picture of the Windows kind (d, dd, ddd,
// dddd, M, MM, MMM, MMMM, y, yy, yyyy, quoted literals) and the long time.
std::u16string FormatDatePicture(DateTime value, std::u16string_view picture,
                                 const LocaleFormats& formats);
std::u16string FormatLongTime(DateTime value, const LocaleFormats& formats);

// A date alone in the order and separator of a short date picture.
std::optional<DateTime> ParseShortDate(std::u16string_view text, const LocaleFormats& formats);
// A decimal number with the locale's decimal separator.
std::optional<double> ParseDecimal(std::u16string_view text, const LocaleFormats& formats);

} // namespace kavrolt
