// The fonts of the program's windows. A window shows the desktop font (the
// icon-title font of Windows) while its desktop-font switch is on, capped at
// 9 points by PrepareFormFont, which also hands the window's face on to every
// control with a font of its own.
#pragma once

#include "forms/FormModel.h"

#include <optional>
#include <string_view>

namespace kavrolt {

inline constexpr int kMaxFormFontPoints = 9;

// Caps the window's font at 9 points (turning its desktop-font switch off when
// it does) and gives every component with a font of its own, at any depth, the
// window's face and at least the window's size. Components that follow their
// parent's font and components without a font are passed over.
void PrepareFormFont(FormModel& form);

// Turns the window's desktop-font switch on or off. Turning it on when it was
// off gives the window the desktop font at once.
void SetDesktopFont(FormModel& form, bool on, const FontSpec& desktop);

// A new reading of the desktop font: a window whose switch is on takes it at
// once, without the cap; controls of their own keep what they have.
void DesktopFontChanged(FormModel& form, const FontSpec& desktop);

// The font a component shows: its own, or when it follows its parent's font,
// that of the panel or window that contains it. Components without a font
// show the window's.
FontSpec EffectiveFont(const FormModel& form, int index);

// Points and pixels convert through the pixels per inch of the font, rounded
// to the nearest whole number.
int FontPointsFromPixels(int pixels, int pixelsPerInch);
int FontPixelsFromPoints(int points, int pixelsPerInch);

// Whether a WM_SETTINGCHANGE makes the program read the desktop font again:
// always without a section name; never for "Policy" or "Windows", nor for an
// empty section that comes with a wallpaper change (SPI_SETDESKWALLPAPER).
inline constexpr unsigned kSpiSetDeskWallpaper = 20;
bool SettingChangeRereadsDesktopFont(std::optional<std::u16string_view> section, unsigned action);

// The desktop font of Windows: SPI_GETICONTITLELOGFONT, or the stock
// SYSTEM_FONT when that fails. Windows only.
FontSpec ReadDesktopFont();

} // namespace kavrolt
