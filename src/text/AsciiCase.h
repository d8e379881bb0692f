// ASCII letter case, folded one way wherever the program compares names
// without regard to case: A to Z become a to z; every other character,
// non-ASCII letters included, stays as it is. The fold depends on no locale,
// so a name compares the same on every system.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kavrolt {
namespace ascii_case_detail {

template <class Char> constexpr Char Fold(Char c) noexcept {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <class Char> std::basic_string<Char> FoldAll(std::basic_string_view<Char> text) {
    std::basic_string<Char> folded(text);
    for (Char& c : folded)
        c = Fold(c);
    return folded;
}

template <class Char>
constexpr bool Equal(std::basic_string_view<Char> a, std::basic_string_view<Char> b) noexcept {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

} // namespace ascii_case_detail

// One character with A to Z lowered.
constexpr char16_t FoldAscii(char16_t c) noexcept {
    return ascii_case_detail::Fold(c);
}
constexpr char FoldAscii(char c) noexcept {
    return ascii_case_detail::Fold(c);
}

// A copy of the text with A to Z lowered.
inline std::u16string FoldAscii(std::u16string_view text) {
    return ascii_case_detail::FoldAll(text);
}
inline std::string FoldAscii(std::string_view text) {
    return ascii_case_detail::FoldAll(text);
}

// Whether the two texts are equal once A to Z are lowered in both.
constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) noexcept {
    return ascii_case_detail::Equal(a, b);
}
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
    return ascii_case_detail::Equal(a, b);
}

} // namespace kavrolt
