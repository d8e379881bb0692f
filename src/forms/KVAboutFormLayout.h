// The layout of the About window.
#pragma once

#include "forms/FormModel.h"

#include <array>

namespace kavrolt {

inline constexpr int kAboutClientWidth = 700;
inline constexpr int kAboutClientHeight = 441;

// The components of the About window, in layout order.
enum class AboutControl {
    AboutPanel,
    LargeIcon,
    VersionLabel,
    CopyrightLabel,
    LicenseAgreementLabel,
    CopyrightWarningLabel,
    BannerImage,
    BannerLabel,
    LicensedMemo,
    AboutBevel,
    CloseButton,
    HelpButton,
    Count,
};

// The component names, which the caption table uses as keys, by AboutControl.
inline constexpr std::array<std::u16string_view, Index(AboutControl::Count)> kAboutControlNames = {
    u"AboutPanel",
    u"LargeIcon",
    u"VersionLabel",
    u"CopyrightLabel",
    u"LicenseAgreementLabel",
    u"CopyrightWarningLabel",
    u"BannerImage",
    u"BannerLabel",
    u"LicensedMemo",
    u"AboutBevel",
    u"CloseButton",
    u"HelpButton",
};

FormModel MakeAboutFormModel();

// The keyboard order: Close, the credits memo (on its panel), Help.
inline constexpr AboutControl kAboutTabOrder[] = {
    AboutControl::CloseButton, AboutControl::AboutPanel, AboutControl::HelpButton};

} // namespace kavrolt
