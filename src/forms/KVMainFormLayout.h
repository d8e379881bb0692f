// The layout of the main window, in drawing order from bottom to top.
#pragma once

#include "forms/FormModel.h"

#include <array>

namespace kavrolt {

inline constexpr int kMainClientWidth = 764;
inline constexpr int kMainClientHeight = 500;

// The components of the main window, in layout (drawing) order: the index of
// each in the window's component list.
enum class MainControl {
    BackgroundImage,
    TopLogoImage,
    NavButton1,
    NavLabel2,
    LinkLabel4,
    LinkLabel5,
    LinkLabel6,
    LinkLabel7,
    NavButton2,
    NavButton3,
    NavButton4,
    NavStatic2,
    NavStatic3,
    NavStatic4,
    NavStatic1,
    MainPanel,
    BenefitsPanel,
    BenefitsLabel,
    BenefitsDescription,
    OSVersionLabel,
    WindowsCombo,
    ProcessorTypeLabel,
    ProcessorCombo,
    SpeedLabel,
    SpeedTrackBar,
    FastLabel,
    FasterLabel,
    LineSeparator1,
    GoButton,
    RestoreButton,
    LineSeparator2,
    VersionInstalledLabel,
    SoftwareLastUpdateLabel,
    UpdatesButton,
    HelpFilePopup,
    TechSupportPopup,
    Count,
};

// The component names, which the caption table uses as keys, by MainControl.
inline constexpr std::array<std::u16string_view, Index(MainControl::Count)> kMainControlNames = {
    u"BackgroundImage",
    u"TopLogoImage",
    u"NavButton1",
    u"NavLabel2",
    u"LinkLabel4",
    u"LinkLabel5",
    u"LinkLabel6",
    u"LinkLabel7",
    u"NavButton2",
    u"NavButton3",
    u"NavButton4",
    u"NavStatic2",
    u"NavStatic3",
    u"NavStatic4",
    u"NavStatic1",
    u"MainPanel",
    u"BenefitsPanel",
    u"BenefitsLabel",
    u"BenefitsDescription",
    u"OSVersionLabel",
    u"WindowsCombo",
    u"ProcessorTypeLabel",
    u"ProcessorCombo",
    u"SpeedLabel",
    u"SpeedTrackBar",
    u"FastLabel",
    u"FasterLabel",
    u"LineSeparator1",
    u"GoButton",
    u"RestoreButton",
    u"LineSeparator2",
    u"VersionInstalledLabel",
    u"SoftwareLastUpdateLabel",
    u"UpdatesButton",
    u"HelpFilePopup",
    u"TechSupportPopup",
};

FormModel MakeMainFormModel();

// The keyboard order of the main panel.
inline constexpr MainControl kMainTabOrder[] = {
    MainControl::GoButton,       MainControl::RestoreButton, MainControl::WindowsCombo,
    MainControl::ProcessorCombo, MainControl::SpeedTrackBar, MainControl::UpdatesButton};

} // namespace kavrolt
