// Stored time-stamp texts through the two display conversions with the fixed
// English (United States) locale. They must not crash, a text with a colon or
// a slash is shown as it is, and the decimal text of any 32-bit stamp is shown
// as a date.
#include "services/TimeStamps.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The first byte chooses how the rest becomes text: one character per byte
// (digits, signs and separators are likely) or UTF-16 LE pairs (any unit,
// lone surrogates included).
std::u16string TextOf(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    if (size == 0)
        return text;
    if (data[0] & 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2)
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    } else {
        for (std::size_t i = 1; i < size; ++i)
            text.push_back(static_cast<char16_t>(data[i]));
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    kavrolt::EnglishLocaleSource locale;
    const std::u16string text = TextOf(data, size);
    const std::u16string shown = kavrolt::StampToDateTimeText(locale, text);
    if (text.find(u':') != std::u16string::npos || text.find(u'/') != std::u16string::npos)
        Check(shown == text);
    (void)kavrolt::StampToText(locale, text);

    // The stored form of a stamp made of the first four bytes.
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4 && i < size; ++i)
        bits |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    const auto stamp = static_cast<std::int32_t>(bits);
    const std::u16string stored = kavrolt::StampText(stamp);
    Check(!kavrolt::StampToDateTimeText(locale, stored).empty());
    const std::u16string full = kavrolt::StampToText(locale, stored);
    Check(full.find(u" - ") != std::u16string::npos);
    // The full text is the long date and the long time of the same moment.
    const kavrolt::DateTime moment = kavrolt::StampToDateTime(stamp);
    const auto& english = kavrolt::EnglishUnitedStatesFormats();
    Check(full == kavrolt::FormatDatePicture(moment, english.longDate, english) + u" - " +
                      kavrolt::FormatLongTime(moment, english));
    return 0;
}
