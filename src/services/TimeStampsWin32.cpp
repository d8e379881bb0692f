// The clock, the locale formats and the date parser of Windows.
#include "services/TimeStamps.h"

#include "services/Shell.h"

#include <windows.h>

#include <oleauto.h>

#include <string>

namespace kavrolt {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");

std::u16string_view View(const wchar_t* text, std::size_t length) {
    return {reinterpret_cast<const char16_t*>(text), length};
}

// One locale text; false when Windows does not give it.
bool ReadText(LCID locale, LCTYPE type, std::u16string& out) {
    const int length = GetLocaleInfoW(locale, type, nullptr, 0);
    if (length <= 0)
        return false;
    std::wstring buffer(static_cast<std::size_t>(length), L'\0');
    const int written = GetLocaleInfoW(locale, type, buffer.data(), length);
    if (written <= 0)
        return false;
    out = View(buffer.c_str(), static_cast<std::size_t>(written - 1));
    return true;
}

bool ReadFlag(LCID locale, LCTYPE type, bool& out) {
    std::u16string text;
    if (!ReadText(locale, type, text))
        return false;
    out = text == u"1";
    return true;
}

std::optional<LocaleFormats> ReadFormats(LCID locale) {
    LocaleFormats formats;
    bool twentyFourHour = false;
    bool ok = ReadText(locale, LOCALE_SLONGDATE, formats.longDate) &&
              ReadText(locale, LOCALE_SSHORTDATE, formats.shortDate) &&
              ReadText(locale, LOCALE_STIME, formats.timeSeparator) &&
              ReadFlag(locale, LOCALE_ITLZERO, formats.hourLeadingZero) &&
              ReadFlag(locale, LOCALE_ITIME, twentyFourHour) &&
              ReadFlag(locale, LOCALE_ITIMEMARKPOSN, formats.designatorFirst) &&
              ReadText(locale, LOCALE_S1159, formats.am) &&
              ReadText(locale, LOCALE_S2359, formats.pm) &&
              ReadText(locale, LOCALE_SDECIMAL, formats.decimalSeparator);
    formats.twelveHourClock = !twentyFourHour;
    // LOCALE_SDAYNAME1 is Monday; the table starts with Sunday.
    for (int i = 0; ok && i < 7; ++i) {
        const int fromMonday = (i + 6) % 7;
        ok = ReadText(locale, LOCALE_SDAYNAME1 + fromMonday, formats.dayNames[i]) &&
             ReadText(locale, LOCALE_SABBREVDAYNAME1 + fromMonday, formats.shortDayNames[i]);
    }
    for (int i = 0; ok && i < 12; ++i)
        ok = ReadText(locale, LOCALE_SMONTHNAME1 + i, formats.monthNames[i]) &&
             ReadText(locale, LOCALE_SABBREVMONTHNAME1 + i, formats.shortMonthNames[i]);
    if (!ok)
        return std::nullopt;
    return formats;
}

class Win32LocaleSource final : public LocaleSource {
public:
    std::optional<LocaleFormats> UserFormats() override { return ReadFormats(LOCALE_USER_DEFAULT); }

    std::optional<LocaleFormats> SystemFormats() override {
        const LCID system = GetSystemDefaultLCID();
        return ReadFormats(IsValidLocale(system, LCID_INSTALLED) ? system : GetThreadLocale());
    }

    DateParse ParseDateTime(std::u16string_view text) override {
        // oleaut32 is loaded when the first date text is read, not with the
        // program: a start that reads none does not pay for it.
        using VarDateFromStrFunction = HRESULT(WINAPI*)(LPCOLESTR, LCID, ULONG, DATE*);
        static const auto varDateFromStr = reinterpret_cast<VarDateFromStrFunction>(
            SystemFunction(u"oleaut32.dll", "VarDateFromStr"));
        if (varDateFromStr == nullptr)
            return {DateParseStatus::Failed, 0.0};
        std::wstring copy(text.begin(), text.end());
        DATE value = 0;
        const HRESULT result = varDateFromStr(copy.data(), LOCALE_USER_DEFAULT, 0, &value);
        if (SUCCEEDED(result))
            return {DateParseStatus::Parsed, value};
        if (result == DISP_E_TYPEMISMATCH)
            return {DateParseStatus::NotADate, 0.0};
        return {DateParseStatus::Failed, 0.0};
    }
};

} // namespace

LocaleSource& DefaultLocaleSource() {
    static Win32LocaleSource source;
    return source;
}

DateTime CurrentDateTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return EncodeDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                          now.wMilliseconds)
        .value_or(0.0);
}

} // namespace kavrolt
