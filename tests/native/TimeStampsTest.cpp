#include "services/TimeStamps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kavrolt {
namespace {

std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return EncodeDateTime(y, mo, d, h, mi, s, ms).value();
}

TEST(TimeStamps, StampOfALocalTimeAndBack) {
    EXPECT_EQ(DateTimeToStamp(At(2020, 3, 4, 15, 5, 9)), 1583334309);
    EXPECT_EQ(StampText(DateTimeToStamp(At(2020, 3, 4, 15, 5, 9))), u"1583334309");
    EXPECT_EQ(DateTimeToStamp(kUnixEpochDateTime), 0);
    EXPECT_EQ(DateTimeToStamp(At(2038, 1, 19, 3, 14, 7)), 2147483647);
    EXPECT_EQ(DateTimeToStamp(At(1901, 12, 13, 20, 45, 52)), -2147483647 - 1);
    EXPECT_DOUBLE_EQ(StampToDateTime(1583334309), At(2020, 3, 4, 15, 5, 9));
    const std::int32_t stamps[] = {0,     1,         -1,         59,         86399,
                                   86400, 951782400, 1583334309, 2147483647, -2147483647 - 1};
    for (std::int32_t stamp : stamps)
        EXPECT_EQ(DateTimeToStamp(StampToDateTime(stamp)), stamp) << stamp;
    EXPECT_EQ(StampText(-42), u"-42");
}

TEST(TimeStamps, StampFailuresGiveZero) {
    EXPECT_EQ(DateTimeToStamp(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(DateTimeToStamp(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(DateTimeToStamp(At(2038, 1, 19, 3, 14, 8)), 0);
    EXPECT_EQ(DateTimeToStamp(At(1901, 12, 13, 20, 45, 51)), 0);
    EXPECT_EQ(DateTimeToStamp(1e300), 0);
}

TEST(TimeStamps, RoundingTakesExactHalvesToTheEvenNeighbour) {
    const std::pair<long double, long double> cases[] = {
        {0.5L, 0.0L},    {1.5L, 2.0L},      {2.5L, 2.0L},   {3.5L, 4.0L},
        {-0.5L, 0.0L},   {-1.5L, -2.0L},    {-2.5L, -2.0L}, {2.4999L, 2.0L},
        {2.5001L, 3.0L}, {-2.5001L, -3.0L}, {7.0L, 7.0L},   {-7.0L, -7.0L},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << static_cast<double>(value);
    // n/256 of a day is n x 337.5 seconds, an exact half for odd n.
    EXPECT_EQ(DateTimeToStamp(kUnixEpochDateTime + 1.0 / 256), 338);
    EXPECT_EQ(DateTimeToStamp(kUnixEpochDateTime + 3.0 / 256), 1012);
    EXPECT_EQ(DateTimeToStamp(kUnixEpochDateTime - 1.0 / 256), -338);
    EXPECT_EQ(DateTimeToStamp(kUnixEpochDateTime - 3.0 / 256), -1012);
}

TEST(TimeStamps, CalendarEncoding) {
    EXPECT_EQ(At(1899, 12, 30), 0.0);
    EXPECT_EQ(At(1970, 1, 1), 25569.0);
    EXPECT_EQ(At(2000, 2, 29, 12), 36585.5);
    // Before 1899-12-30 the day counts backwards and the time forwards.
    EXPECT_EQ(At(1899, 12, 29, 6), -1.25);
    EXPECT_FALSE(EncodeDateTime(2019, 2, 29, 0, 0, 0, 0));
    EXPECT_FALSE(EncodeDateTime(1900, 2, 29, 0, 0, 0, 0));
    EXPECT_FALSE(EncodeDateTime(2020, 13, 1, 0, 0, 0, 0));
    EXPECT_FALSE(EncodeDateTime(2020, 4, 31, 0, 0, 0, 0));
    EXPECT_FALSE(EncodeDateTime(2020, 1, 1, 24, 0, 0, 0));
    EXPECT_FALSE(EncodeDateTime(0, 1, 1, 0, 0, 0, 0));
    const LocaleFormats& english = EnglishUnitedStatesFormats();
    EXPECT_EQ(FormatDatePicture(-1.25, u"M/d/yyyy", english), u"12/29/1899");
    EXPECT_EQ(FormatLongTime(-1.25, english), u"6:00:00 AM");
}

struct TextCase {
    std::u16string_view stored;
    std::u16string_view shown;
};

TEST(TimeStamps, StampToTextInEnglishUnitedStates) {
    const TextCase cases[] = {
        {u"1583334309", u"Wednesday, March 4, 2020 - 3:05:09 PM"},
        {u"0", u"Thursday, January 1, 1970 - 12:00:00 AM"},
        {u"-1", u"Wednesday, December 31, 1969 - 11:59:59 PM"},
        {u"43200", u"Thursday, January 1, 1970 - 12:00:00 PM"},
        {u"2147483647", u"Tuesday, January 19, 2038 - 3:14:07 AM"},
        {u"-2147483648", u"Friday, December 13, 1901 - 8:45:52 PM"},
        {u"", u""},
        {u"abc", u""},
        {u"12a4", u""},
        {u"-", u""},
        {u"99999999999", u""},
        {u"2147483648", u""},
        // Date-time texts are parsed, not read as numbers.
        {u"3/4/2020 3:05:09 PM", u"Wednesday, March 4, 2020 - 3:05:09 PM"},
        {u"3/4/2020", u"Wednesday, March 4, 2020 - 12:00:00 AM"},
        {u"12:30", u"Saturday, December 30, 1899 - 12:30:00 PM"},
        {u"2/30/2020", u""},
        {u"tomorrow: noon", u""},
    };
    EnglishLocaleSource locale;
    for (const auto& c : cases)
        EXPECT_EQ(StampToText(locale, c.stored), c.shown) << Narrow(c.stored);
}

TEST(TimeStamps, StampToDateTimeTextLeavesMidnightOut) {
    EnglishLocaleSource locale;
    EXPECT_EQ(StampToDateTimeText(locale, u"0"), u"1/1/1970");
    EXPECT_EQ(StampToDateTimeText(locale, u"86400"), u"1/2/1970");
    EXPECT_EQ(StampToDateTimeText(locale, u"86401"), u"1/2/1970 12:00:01 AM");
    EXPECT_EQ(StampToDateTimeText(locale, u"1583334309"), u"3/4/2020 3:05:09 PM");
    EXPECT_EQ(StampToDateTimeText(locale, u"not/a date"), u"not/a date");
    EXPECT_EQ(StampToDateTimeText(locale, u"x"), u"");
    // What the update rule does with a stored stamp gives the same moment back.
    for (std::int32_t stamp : {0, 1, 86399, 951782400, 1583334309, 2147483647}) {
        const auto value = TextToDateTime(locale, StampToDateTimeText(locale, StampText(stamp)));
        ASSERT_TRUE(value) << stamp;
        EXPECT_EQ(DateTimeToStamp(*value), stamp);
    }
}

// A locale whose user and system formats differ and whose parser answers as told.
class FakeLocale final : public LocaleSource {
public:
    std::optional<LocaleFormats> user = EnglishUnitedStatesFormats();
    std::optional<LocaleFormats> system = EnglishUnitedStatesFormats();
    DateParse answer{DateParseStatus::NotADate, 0.0};

    std::optional<LocaleFormats> UserFormats() override { return user; }
    std::optional<LocaleFormats> SystemFormats() override { return system; }
    DateParse ParseDateTime(std::u16string_view) override { return answer; }
};

LocaleFormats German() {
    LocaleFormats formats = EnglishUnitedStatesFormats();
    formats.longDate = u"dddd, d. MMMM yyyy";
    formats.shortDate = u"dd.MM.yyyy";
    formats.timeSeparator = u":";
    formats.hourLeadingZero = true;
    formats.twelveHourClock = false;
    formats.decimalSeparator = u",";
    formats.dayNames = {u"Sonntag",    u"Montag",  u"Dienstag", u"Mittwoch",
                        u"Donnerstag", u"Freitag", u"Samstag"};
    formats.monthNames[2] = u"M\u00e4rz";
    return formats;
}

TEST(TimeStamps, TextToDateTimeFallsBackOnlyWhenTheParserSaysNotADate) {
    FakeLocale locale;
    locale.user = German();
    EXPECT_EQ(TextToDateTime(locale, u"04.03.2020"), At(2020, 3, 4));
    EXPECT_EQ(TextToDateTime(locale, u" 4.3.2020 "), At(2020, 3, 4));
    EXPECT_EQ(TextToDateTime(locale, u"43894,25"), 43894.25);
    EXPECT_EQ(TextToDateTime(locale, u"-1,5"), -1.5);
    EXPECT_FALSE(TextToDateTime(locale, u"43894.25"));
    EXPECT_FALSE(TextToDateTime(locale, u"31.02.2020"));
    EXPECT_FALSE(TextToDateTime(locale, u""));
    EXPECT_FALSE(TextToDateTime(locale, u"letters"));
    locale.answer = {DateParseStatus::Parsed, 1234.5};
    EXPECT_EQ(TextToDateTime(locale, u"04.03.2020"), 1234.5);
    locale.answer = {DateParseStatus::Failed, 0.0};
    EXPECT_FALSE(TextToDateTime(locale, u"04.03.2020"));
    EXPECT_FALSE(TextToDateTime(locale, u"43894,25"));
}

TEST(TimeStamps, DisplayUsesTheSystemLocaleAndTheIntermediateTextTheUserLocale) {
    FakeLocale locale;
    locale.user = German();
    locale.system = EnglishUnitedStatesFormats();
    EXPECT_EQ(StampToDateTimeText(locale, u"1583334309"), u"04.03.2020 15:05:09");
    // The fake parser does not read the time, so the fallback reads the date.
    EXPECT_EQ(StampToText(locale, u"0"), u"Thursday, January 1, 1970 - 12:00:00 AM");
    locale.answer = {DateParseStatus::Parsed, At(2020, 3, 4, 15, 5, 9)};
    EXPECT_EQ(StampToText(locale, u"1583334309"), u"Wednesday, March 4, 2020 - 3:05:09 PM");
    locale.user = EnglishUnitedStatesFormats();
    locale.system = German();
    EXPECT_EQ(StampToText(locale, u"1583334309"), u"Mittwoch, 4. M\u00e4rz 2020 - 15:05:09");
    locale.system.reset();
    EXPECT_EQ(StampToText(locale, u"1583334309"), u"");
    locale.system = German();
    locale.user.reset();
    EXPECT_EQ(StampToDateTimeText(locale, u"1583334309"), u"");
    EXPECT_EQ(StampToText(locale, u"1583334309"), u"");
}

TEST(TimeStamps, PicturesAndTimeFormats) {
    const DateTime value = At(2020, 3, 4, 9, 5, 9);
    const LocaleFormats english = EnglishUnitedStatesFormats();
    const std::pair<std::u16string_view, std::u16string_view> pictures[] = {
        {u"dddd, MMMM d, yyyy", u"Wednesday, March 4, 2020"},
        {u"ddd dd MMM yy", u"Wed 04 Mar 20"},
        {u"d/M/y", u"4/3/20"},
        {u"d 'de' MMMM 'de' yyyy", u"4 de March de 2020"},
        {u"'o''clock' yyyy", u"o'clock 2020"},
        {u"gg yyyy", u" 2020"},
    };
    for (const auto& [picture, expected] : pictures)
        EXPECT_EQ(FormatDatePicture(value, picture, english), expected) << Narrow(picture);

    EXPECT_EQ(FormatLongTime(value, english), u"9:05:09 AM");
    EXPECT_EQ(FormatLongTime(At(2020, 3, 4, 12, 0, 0), english), u"12:00:00 PM");
    EXPECT_EQ(FormatLongTime(At(2020, 3, 4, 23, 59, 59, 999), english), u"11:59:59 PM");
    LocaleFormats other = english;
    other.hourLeadingZero = true;
    other.designatorFirst = true;
    other.timeSeparator = u".";
    EXPECT_EQ(FormatLongTime(value, other), u"AM 09.05.09");
    other.twelveHourClock = false;
    EXPECT_EQ(FormatLongTime(At(2020, 3, 4, 15, 5, 9), other), u"15.05.09");
    EXPECT_EQ(FormatLongTime(At(2020, 3, 4, 0, 0, 0), other), u"00.00.00");
    // Half a millisecond before midnight rounds into the next day.
    EXPECT_EQ(FormatDatePicture(At(2020, 3, 4) + 0.99999999999, u"M/d/yyyy", english), u"3/5/2020");
    EXPECT_EQ(FormatDatePicture(std::numeric_limits<double>::quiet_NaN(), u"d", english), u"");
    EXPECT_EQ(FormatDatePicture(1e9, u"d", english), u"");
}

TEST(TimeStamps, WholeDaysBetween) {
    const DateTime start = At(2020, 3, 4, 15, 5, 9);
    const std::pair<DateTime, std::int64_t> cases[] = {
        {start, 0},
        {start + 45 + 23.0 / 24, 45},
        {start + 45 + (23 * 60 + 59) / 1440.0, 45},
        {start + 46, 46},
        {start + 46 - 0.4 / 86'400'000, 46}, // rounds to the same millisecond
        {start + 46 - 1.0 / 86'400'000, 45},
        {start + 0.999, 0},
        {At(2020, 4, 19, 15, 5, 9), 46},
    };
    for (const auto& [other, days] : cases) {
        EXPECT_EQ(WholeDaysBetween(start, other), days);
        EXPECT_EQ(WholeDaysBetween(other, start), days);
    }
    EXPECT_EQ(WholeDaysBetween(std::numeric_limits<double>::quiet_NaN(), start), 0);
}

TEST(TimeStamps, ReadingTheClock) {
    const DateTime now = CurrentDateTime();
    EXPECT_GT(now, At(2020, 1, 1));
    EXPECT_LT(now, At(2100, 1, 1));
}

} // namespace
} // namespace kavrolt
