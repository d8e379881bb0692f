// Reading dates, times and decimal numbers from text: the English locale's
// own parser and the short-date and decimal fallbacks.
#include "services/TimeStamps.h"
#include "services/TimeStampsCalendar.h"
#include "text/AsciiCase.h"
#include "text/Trim.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kavrolt {
namespace {

using dates::CivilDate;
using dates::DaysInMonth;
using dates::IsDigit;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view text) {
    return TrimWhere(text, IsBlank);
}

// Reads a run of digits at the front of text into number; false when there is
// none or it is absurdly long.
bool TakeNumber(std::u16string_view& text, int& number) {
    std::size_t length = 0;
    number = 0;
    while (length < text.size() && IsDigit(text[length])) {
        if (length == 9)
            return false;
        number = number * 10 + (text[length] - u'0');
        ++length;
    }
    text.remove_prefix(length);
    return length != 0;
}

// The order of day, month and year in a date picture, as letters 'd', 'M', 'y'.
std::u16string FieldOrder(std::u16string_view picture) {
    std::u16string order;
    bool quoted = false;
    for (char16_t c : picture) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == u'd' || c == u'M' || c == u'y') &&
            order.find(c) == std::u16string::npos)
            order.push_back(c);
    }
    return order;
}

// The separator of a short date picture without its blanks, e.g. "/" or ".".
std::u16string DateSeparator(std::u16string_view picture) {
    std::u16string separator;
    std::size_t i = 0;
    while (i < picture.size() && picture[i] != u'd' && picture[i] != u'M' && picture[i] != u'y')
        ++i;
    const char16_t first = i < picture.size() ? picture[i] : u'\0';
    while (i < picture.size() && picture[i] == first)
        ++i;
    while (i < picture.size() && picture[i] != u'd' && picture[i] != u'M' && picture[i] != u'y') {
        if (!IsBlank(picture[i]) && picture[i] != u'\'')
            separator.push_back(picture[i]);
        ++i;
    }
    return separator;
}

std::optional<CivilDate> ParseDateParts(std::u16string_view text, const LocaleFormats& formats) {
    const std::u16string order = FieldOrder(formats.shortDate);
    const std::u16string separator = DateSeparator(formats.shortDate);
    if (order.size() != 3)
        return std::nullopt;
    text = Trim(text);
    int numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            text = Trim(text);
            if (!separator.empty()) {
                if (text.substr(0, separator.size()) != separator)
                    return std::nullopt;
                text.remove_prefix(separator.size());
                text = Trim(text);
            }
        }
        if (!TakeNumber(text, numbers[i]))
            return std::nullopt;
    }
    text = Trim(text);
    if (!separator.empty() && text == separator)
        text = {};
    if (!text.empty())
        return std::nullopt;
    CivilDate date{};
    for (int i = 0; i < 3; ++i) {
        if (order[i] == u'd')
            date.day = numbers[i];
        else if (order[i] == u'M')
            date.month = numbers[i];
        else
            date.year = numbers[i];
    }
    if (date.year < 100)
        date.year += date.year < 50 ? 2000 : 1900;
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.year > 9999 ||
        date.day > DaysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

struct TimeOfDay {
    int hour, minute, second;
};

// "h:mm[:ss]" with the locale's separator, and an optional designator.
std::optional<TimeOfDay> ParseTimeOfDay(std::u16string_view text, const LocaleFormats& formats) {
    text = Trim(text);
    const std::u16string_view separator =
        formats.timeSeparator.empty() ? std::u16string_view(u":") : formats.timeSeparator;
    std::optional<bool> afternoon;
    auto takeDesignator = [&](bool atFront) {
        for (int pm = 0; pm < 2; ++pm) {
            const std::u16string& mark = pm ? formats.pm : formats.am;
            if (mark.empty() || text.size() < mark.size())
                continue;
            const auto part =
                atFront ? text.substr(0, mark.size()) : text.substr(text.size() - mark.size());
            if (EqualsIgnoringAsciiCase(part, mark)) {
                afternoon = pm == 1;
                atFront ? text.remove_prefix(mark.size()) : text.remove_suffix(mark.size());
                text = Trim(text);
                return;
            }
        }
    };
    takeDesignator(true);
    if (!afternoon)
        takeDesignator(false);
    TimeOfDay time{0, 0, 0};
    int* fields[] = {&time.hour, &time.minute, &time.second};
    int count = 0;
    while (count < 3) {
        if (!TakeNumber(text, *fields[count]))
            return std::nullopt;
        ++count;
        if (text.substr(0, separator.size()) != separator)
            break;
        text.remove_prefix(separator.size());
    }
    if (count < 2 || !text.empty())
        return std::nullopt;
    if (afternoon) {
        if (time.hour < 1 || time.hour > 12)
            return std::nullopt;
        time.hour = time.hour % 12 + (*afternoon ? 12 : 0);
    }
    if (time.hour > 23 || time.minute > 59 || time.second > 59)
        return std::nullopt;
    return time;
}

} // namespace

// A short date with an optional time behind it, or a time alone: the texts
// that the English formats produce.
DateParse EnglishLocaleSource::ParseDateTime(std::u16string_view text) {
    const LocaleFormats& formats = EnglishUnitedStatesFormats();
    text = Trim(text);
    const std::size_t blank = text.find(u' ');
    const std::u16string_view first = text.substr(0, blank);
    std::optional<CivilDate> date;
    std::u16string_view timeText;
    if (first.find(formats.timeSeparator) != std::u16string_view::npos) {
        date = CivilDate{1899, 12, 30};
        timeText = text;
    } else {
        date = ParseDateParts(first, formats);
        if (blank != std::u16string_view::npos)
            timeText = text.substr(blank + 1);
    }
    if (!date)
        return {DateParseStatus::NotADate, 0.0};
    TimeOfDay time{0, 0, 0};
    if (!Trim(timeText).empty()) {
        const auto parsed = ParseTimeOfDay(timeText, formats);
        if (!parsed)
            return {DateParseStatus::NotADate, 0.0};
        time = *parsed;
    }
    const auto value =
        EncodeDateTime(date->year, date->month, date->day, time.hour, time.minute, time.second, 0);
    if (!value)
        return {DateParseStatus::NotADate, 0.0};
    return {DateParseStatus::Parsed, *value};
}

std::optional<DateTime> ParseShortDate(std::u16string_view text, const LocaleFormats& formats) {
    const auto date = ParseDateParts(text, formats);
    if (!date)
        return std::nullopt;
    return EncodeDateTime(date->year, date->month, date->day, 0, 0, 0, 0);
}

std::optional<double> ParseDecimal(std::u16string_view text, const LocaleFormats& formats) {
    text = Trim(text);
    const std::u16string_view separator =
        formats.decimalSeparator.empty() ? std::u16string_view(u".") : formats.decimalSeparator;
    std::string ascii;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            ascii.push_back('-');
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ascii.push_back(static_cast<char>(text[i++]));
        ++mantissaDigits;
    }
    if (text.substr(i, separator.size()) == separator) {
        i += separator.size();
        ascii.push_back('.');
        while (i < text.size() && IsDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ascii.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
            ascii.push_back(static_cast<char>(text[i++]));
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace kavrolt
