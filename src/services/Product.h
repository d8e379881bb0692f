// Who the program is: its version, shown by the main and About windows and
// sent with the update check, and the maker's web pages.
#pragma once

#include "ProgramVersion.h"

#include <string_view>

namespace kavrolt {

inline constexpr std::u16string_view kProgramVersion = u"" KAVROLT_VERSION_TEXT;
inline constexpr std::u16string_view kMakerHomePage = u"http://www.torvek.com";
inline constexpr std::u16string_view kMakerSupportPage = u"http://www.torvek.com/support/";

} // namespace kavrolt
