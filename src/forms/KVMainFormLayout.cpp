#include "forms/KVMainFormLayout.h"

#include "forms/LayoutBuilders.h"

namespace kavrolt {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kGrey = 0x808080;

} // namespace

FormModel MakeMainFormModel() {
    using namespace layout;
    FormModel form;
    form.name = u"KVMainForm";
    form.font = FontSpec{u"Tahoma", 8};
    const auto hand = CursorKind::Hand;
    const auto link = Font(u"Tahoma", 11, false, kBlack);
    const auto navBold = Font(u"Tahoma", 11, true, kWhite);
    const auto boldText = Font(u"Tahoma", 11, true, SystemColor(kColorWindowText));
    const int top = kParentIsWindow;

    Add(form, Picture(u"BackgroundImage", {0, 0, 764, 500}));
    Add(form, Picture(u"TopLogoImage", {8, 16, 400, 50}));
    Add(form, Picture(u"NavButton1", {672, 16, 78, 27}, top, hand));
    Add(form, Label(u"NavLabel2", 16, 98, top, Font(u"Tahoma", 13, true, kGrey)));
    Add(form, Label(u"LinkLabel4", 16, 135, top, link, hand));
    Add(form, Label(u"LinkLabel5", 16, 165, top, link, hand));
    Add(form, Label(u"LinkLabel6", 16, 195, top, link, hand));
    Add(form, Label(u"LinkLabel7", 16, 251, top, link, hand));
    Add(form, Picture(u"NavButton2", {471, 58, 85, 27}, top, hand));
    Add(form, Picture(u"NavButton3", {556, 58, 108, 27}, top, hand));
    Add(form, Picture(u"NavButton4", {664, 58, 99, 27}, top, hand));
    Add(form, Label(u"NavStatic2", 502, 64, top, navBold, hand));
    Add(form, Label(u"NavStatic3", 587, 64, top, navBold, hand));
    Add(form, Label(u"NavStatic4", 695, 64, top, navBold, hand));
    Add(form, Label(u"NavStatic1", 701, 22, top, Font(u"Tahoma", 11, false, kWhite), hand));

    const int main = Add(form, Panel(u"MainPanel", {182, 91, 582, 388}, top, kColorWindow));
    const int benefits = Add(form, Panel(u"BenefitsPanel", {0, 0, 582, 65}, main, kColorBtnFace));
    Add(form, Label(u"BenefitsLabel", 16, 6, benefits, boldText));
    Component description =
        Label(u"BenefitsDescription", 16, 25, benefits, Font(u"Tahoma", 11, false, kGrey));
    description.bounds = {16, 25, 550, 36};
    description.autoSize = false;
    description.wordWrap = true;
    description.showAccelChar = false; // the one label that shows "&" as typed
    Add(form, description);
    Add(form, Label(u"OSVersionLabel", 16, 76, main));
    Add(form, Control(u"WindowsCombo", ComponentKind::ImageCombo, {16, 95, 309, 22}, main));
    Add(form, Label(u"ProcessorTypeLabel", 16, 134, main));
    Add(form, Control(u"ProcessorCombo", ComponentKind::ImageCombo, {16, 153, 309, 22}, main));
    Add(form, Label(u"SpeedLabel", 16, 192, main));
    Add(form, Control(u"SpeedTrackBar", ComponentKind::TrackBar, {16, 211, 309, 55}, main));
    Add(form, Label(u"FastLabel", 33, 270, main));
    Component faster = Label(u"FasterLabel", 307, 270, main);
    faster.rightAligned = true; // its left coordinate is its right edge
    Add(form, faster);
    Add(form, Bevel(u"LineSeparator1", {360, 102, 2, 183}, main));
    Component go = Control(u"GoButton", ComponentKind::Button, {400, 95, 145, 52}, main);
    go.parentFont = false;
    go.font = boldText;
    Add(form, go);
    Add(form, Control(u"RestoreButton", ComponentKind::Button, {400, 171, 145, 25}, main));
    Add(form, Bevel(u"LineSeparator2", {16, 315, 536, 5}, main));
    Add(form, Label(u"VersionInstalledLabel", 16, 336, main, boldText));
    Add(form, Label(u"SoftwareLastUpdateLabel", 16, 355, main));
    Add(form, Control(u"UpdatesButton", ComponentKind::Button, {400, 336, 154, 33}, main));
    Add(form, MenuItem(u"HelpFilePopup"));
    Add(form, MenuItem(u"TechSupportPopup"));
    return form;
}

} // namespace kavrolt
