// Time stamps with the locale and date parser of Windows. The suite runs with
// English (United States) as the user and system locale (LANG and LC_ALL are
// set for Wine).
#include "services/TimeStamps.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <string>

namespace kavrolt {
namespace {

std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

class TimeStampsUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(LANGIDFROMLCID(GetUserDefaultLCID()), 0x0409) << "user locale is not en-US";
        ASSERT_EQ(LANGIDFROMLCID(GetSystemDefaultLCID()), 0x0409) << "system locale is not en-US";
    }
};

TEST_F(TimeStampsUnderWine, TheLocaleGivesTheEnglishFormats) {
    const auto user = DefaultLocaleSource().UserFormats();
    const auto system = DefaultLocaleSource().SystemFormats();
    ASSERT_TRUE(user && system);
    const LocaleFormats& english = EnglishUnitedStatesFormats();
    for (const LocaleFormats* formats : {&*user, &*system}) {
        EXPECT_EQ(formats->longDate, english.longDate);
        EXPECT_EQ(formats->shortDate, english.shortDate);
        EXPECT_EQ(formats->timeSeparator, english.timeSeparator);
        EXPECT_EQ(formats->hourLeadingZero, english.hourLeadingZero);
        EXPECT_EQ(formats->twelveHourClock, english.twelveHourClock);
        EXPECT_EQ(formats->designatorFirst, english.designatorFirst);
        EXPECT_EQ(formats->am, english.am);
        EXPECT_EQ(formats->pm, english.pm);
        EXPECT_EQ(formats->decimalSeparator, english.decimalSeparator);
        EXPECT_EQ(formats->dayNames, english.dayNames);
        EXPECT_EQ(formats->shortDayNames, english.shortDayNames);
        EXPECT_EQ(formats->monthNames, english.monthNames);
        EXPECT_EQ(formats->shortMonthNames, english.shortMonthNames);
    }
}

TEST_F(TimeStampsUnderWine, StampToText) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"1583334309", u"Wednesday, March 4, 2020 - 3:05:09 PM"},
        {u"0", u"Thursday, January 1, 1970 - 12:00:00 AM"},
        {u"2147483647", u"Tuesday, January 19, 2038 - 3:14:07 AM"},
        {u"", u""},
        {u"abc", u""},
        {u"99999999999", u""},
        {u"3/4/2020 3:05:09 PM", u"Wednesday, March 4, 2020 - 3:05:09 PM"},
        {u"3/4/2020", u"Wednesday, March 4, 2020 - 12:00:00 AM"},
        {u"13/45/2020", u""},
    };
    for (const auto& [stored, shown] : cases)
        EXPECT_EQ(StampToText(stored), shown) << Narrow(stored);
}

TEST_F(TimeStampsUnderWine, IntermediateTextAndItsParsing) {
    EXPECT_EQ(StampToDateTimeText(u"0"), u"1/1/1970");
    EXPECT_EQ(StampToDateTimeText(u"1583334309"), u"3/4/2020 3:05:09 PM");
    for (std::int32_t stamp : {0, 1, 86399, 951782400, 1583334309, 2147483647}) {
        const auto value = TextToDateTime(StampToDateTimeText(StampText(stamp)));
        ASSERT_TRUE(value) << stamp;
        EXPECT_EQ(DateTimeToStamp(*value), stamp);
    }
    // VarDateFromStr's answer for a text that is no date.
    EXPECT_EQ(DefaultLocaleSource().ParseDateTime(u"letters").status, DateParseStatus::NotADate);
    EXPECT_FALSE(TextToDateTime(u"letters"));
    EXPECT_FALSE(TextToDateTime(u""));
}

TEST_F(TimeStampsUnderWine, CurrentDateTimeIsTheLocalClock) {
    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    const DateTime now = CurrentDateTime();
    GetLocalTime(&after);
    const DateTime low = EncodeDateTime(before.wYear, before.wMonth, before.wDay, before.wHour,
                                        before.wMinute, before.wSecond, before.wMilliseconds)
                             .value();
    const DateTime high = EncodeDateTime(after.wYear, after.wMonth, after.wDay, after.wHour,
                                         after.wMinute, after.wSecond, after.wMilliseconds)
                              .value();
    EXPECT_LE(low, now);
    // Milliseconds are kept: a value cut to whole seconds would fall below low.
    EXPECT_LE(now, high);
}

} // namespace
} // namespace kavrolt
