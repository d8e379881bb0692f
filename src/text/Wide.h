// The program's text is UTF-16 (std::u16string); the Win32 API takes wchar_t,
// which on Windows is the same 16-bit code unit, so the text is handed over
// without a copy.
#pragma once

#include <string>

#ifdef _WIN32
namespace kavrolt {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

} // namespace kavrolt
#endif
