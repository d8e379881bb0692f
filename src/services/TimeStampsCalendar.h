// The calendar pieces that the writing (TimeStamps.cpp) and the reading
// (TimeStampsParsing.cpp) of dates share.
#pragma once

namespace kavrolt::dates {

struct CivilDate {
    int year, month, day;
};

inline bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

inline int DaysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

inline bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace kavrolt::dates
