// Trimming of the characters that a format counts as blanks from both ends of
// a text; what counts as a blank differs between formats (HTTP headers, dates
// typed by the user), so the caller names it.
#pragma once

#include <string_view>

namespace kavrolt {

template <class Char, class IsBlank>
constexpr std::basic_string_view<Char> TrimWhere(std::basic_string_view<Char> text,
                                                 IsBlank isBlank) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace kavrolt
