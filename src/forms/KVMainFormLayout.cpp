#include "forms/KVMainFormLayout.h"

#include "forms/LayoutBuilders.h"

namespace kavrolt {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kGrey = 0x808080;

} // namespace

// The builders' names are left empty: Place names each component from
// kMainControlNames.
FormModel MakeMainFormModel() {
    using namespace layout;
    using enum MainControl;
    FormModel form;
    form.name = u"KVMainForm";
    form.font = FontSpec{u"Tahoma", 8};
    const auto hand = CursorKind::Hand;
    const auto link = Font(u"Tahoma", 11, false, kBlack);
    const auto navBold = Font(u"Tahoma", 11, true, kWhite);
    const auto boldText = Font(u"Tahoma", 11, true, SystemColor(kColorWindowText));
    const int top = kParentIsWindow;
    auto add = [&form](MainControl id, Component component) {
        return Place(form, kMainControlNames, id, std::move(component));
    };

    add(BackgroundImage, Picture({}, {0, 0, 764, 500}));
    add(TopLogoImage, Picture({}, {8, 16, 400, 50}));
    add(NavButton1, Picture({}, {672, 16, 78, 27}, top, hand));
    add(NavLabel2, Label({}, 16, 98, top, Font(u"Tahoma", 13, true, kGrey)));
    add(LinkLabel4, Label({}, 16, 135, top, link, hand));
    add(LinkLabel5, Label({}, 16, 165, top, link, hand));
    add(LinkLabel6, Label({}, 16, 195, top, link, hand));
    add(LinkLabel7, Label({}, 16, 251, top, link, hand));
    add(NavButton2, Picture({}, {471, 58, 85, 27}, top, hand));
    add(NavButton3, Picture({}, {556, 58, 108, 27}, top, hand));
    add(NavButton4, Picture({}, {664, 58, 99, 27}, top, hand));
    add(NavStatic2, Label({}, 502, 64, top, navBold, hand));
    add(NavStatic3, Label({}, 587, 64, top, navBold, hand));
    add(NavStatic4, Label({}, 695, 64, top, navBold, hand));
    add(NavStatic1, Label({}, 701, 22, top, Font(u"Tahoma", 11, false, kWhite), hand));

    const int main = add(MainPanel, Panel({}, {182, 91, 582, 388}, top, kColorWindow));
    const int benefits = add(BenefitsPanel, Panel({}, {0, 0, 582, 65}, main, kColorBtnFace));
    add(BenefitsLabel, Label({}, 16, 6, benefits, boldText));
    Component description = Label({}, 16, 25, benefits, Font(u"Tahoma", 11, false, kGrey));
    description.bounds = {16, 25, 550, 36};
    description.autoSize = false;
    description.wordWrap = true;
    description.showAccelChar = false; // the one label that shows "&" as typed
    add(BenefitsDescription, description);
    add(OSVersionLabel, Label({}, 16, 76, main));
    add(WindowsCombo, Control({}, ComponentKind::ImageCombo, {16, 95, 309, 22}, main));
    add(ProcessorTypeLabel, Label({}, 16, 134, main));
    add(ProcessorCombo, Control({}, ComponentKind::ImageCombo, {16, 153, 309, 22}, main));
    add(SpeedLabel, Label({}, 16, 192, main));
    add(SpeedTrackBar, Control({}, ComponentKind::TrackBar, {16, 211, 309, 55}, main));
    add(FastLabel, Label({}, 33, 270, main));
    Component faster = Label({}, 307, 270, main);
    faster.rightAligned = true; // its left coordinate is its right edge
    add(FasterLabel, faster);
    add(LineSeparator1, Bevel({}, {360, 102, 2, 183}, main));
    Component go = Control({}, ComponentKind::Button, {400, 95, 145, 52}, main);
    go.parentFont = false;
    go.font = boldText;
    add(GoButton, go);
    add(RestoreButton, Control({}, ComponentKind::Button, {400, 171, 145, 25}, main));
    add(LineSeparator2, Bevel({}, {16, 315, 536, 5}, main));
    add(VersionInstalledLabel, Label({}, 16, 336, main, boldText));
    add(SoftwareLastUpdateLabel, Label({}, 16, 355, main));
    add(UpdatesButton, Control({}, ComponentKind::Button, {400, 336, 154, 33}, main));
    add(HelpFilePopup, MenuItem({}));
    add(TechSupportPopup, MenuItem({}));
    return form;
}

} // namespace kavrolt
