#include "appearance/SystemFont.h"

#include <gtest/gtest.h>

namespace kavrolt {
namespace {

FontSpec Font(std::u16string face, int points, bool bold = false, bool italic = false,
              std::uint32_t color = 0) {
    FontSpec font;
    font.face = std::move(face);
    font.points = points;
    font.bold = bold;
    font.italic = italic;
    font.color = color;
    return font;
}

FontSpec Desktop(int points) {
    return Font(u"Desktop Sans", points);
}

enum Index { kOwn8, kOwn10, kPanel, kOnPanel, kOnWindow, kPicture, kMenu, kFollowingWithFont };

// A window designed in an 8-point font, with controls of their own at 8 and
// 10 points, a panel of its own, labels that follow their parents, and
// components without a font.
FormModel DesignedForm() {
    FormModel form;
    form.name = u"KVAboutForm";
    form.font = Font(u"Design Serif", 8);
    auto add = [&](std::u16string name, ComponentKind kind, std::optional<bool> parentFont,
                   std::optional<FontSpec> font, int parent = kParentIsWindow) {
        Component c;
        c.name = std::move(name);
        c.kind = kind;
        c.parentFont = parentFont;
        c.font = std::move(font);
        c.parent = parent;
        form.components.push_back(std::move(c));
    };
    add(u"Own8", ComponentKind::Label, false, Font(u"Design Serif", 8, true, false, 0xFF));
    add(u"Own10", ComponentKind::Button, false, Font(u"Design Serif", 10, false, true, 0x80));
    add(u"Panel", ComponentKind::Panel, false, Font(u"Design Serif", 8));
    add(u"OnPanel", ComponentKind::Label, true, std::nullopt, kPanel);
    add(u"OnWindow", ComponentKind::Label, true, std::nullopt);
    add(u"Picture", ComponentKind::Picture, std::nullopt, std::nullopt);
    add(u"Menu", ComponentKind::MenuItem, std::nullopt, std::nullopt);
    // Follows its parent although a font is recorded: the switch decides.
    add(u"Following", ComponentKind::Label, true, Font(u"Design Serif", 7));
    return form;
}

FormModel PreparedAt(int desktopPoints) {
    FormModel form = DesignedForm();
    SetDesktopFont(form, true, Desktop(desktopPoints));
    PrepareFormFont(form);
    return form;
}

const FontSpec& OwnFont(const FormModel& form, Index index) {
    return *form.components[index].font;
}

TEST(PrepareFormFont, ADesktopFontOf12PointsIsCappedAt9) {
    const FormModel form = PreparedAt(12);
    EXPECT_EQ(form.font, Desktop(9));
    // The cap changed the window's font itself: it no longer follows the desktop.
    EXPECT_FALSE(form.desktopFont);
    EXPECT_EQ(OwnFont(form, kOwn8), Font(u"Desktop Sans", 9, true, false, 0xFF));
    EXPECT_EQ(OwnFont(form, kOwn10), Font(u"Desktop Sans", 10, false, true, 0x80));
    EXPECT_EQ(OwnFont(form, kPanel), Desktop(9));
    // Followers keep following: the label on the panel shows the panel's font.
    EXPECT_FALSE(form.components[kOnPanel].font);
    EXPECT_EQ(EffectiveFont(form, kOnPanel), OwnFont(form, kPanel));
    EXPECT_EQ(EffectiveFont(form, kOnWindow), form.font);
    EXPECT_EQ(OwnFont(form, kFollowingWithFont), Font(u"Design Serif", 7));
    EXPECT_EQ(EffectiveFont(form, kFollowingWithFont), form.font);
    EXPECT_FALSE(form.components[kPicture].font || form.components[kPicture].parentFont);
    EXPECT_FALSE(form.components[kMenu].font || form.components[kMenu].parentFont);

    // A later desktop font no longer reaches the window.
    FormModel later = form;
    DesktopFontChanged(later, Desktop(14));
    EXPECT_EQ(later.font, Desktop(9));
}

TEST(PrepareFormFont, ADesktopFontOf8PointsStaysAndSmallerControlsRiseToIt) {
    const FormModel form = PreparedAt(8);
    EXPECT_EQ(form.font, Desktop(8));
    EXPECT_TRUE(form.desktopFont);
    EXPECT_EQ(OwnFont(form, kOwn8), Font(u"Desktop Sans", 8, true, false, 0xFF));
    EXPECT_EQ(OwnFont(form, kOwn10), Font(u"Desktop Sans", 10, false, true, 0x80));

    FormModel tiny = DesignedForm();
    SetDesktopFont(tiny, true, Desktop(6));
    PrepareFormFont(tiny);
    EXPECT_EQ(OwnFont(tiny, kOwn8).points, 8);
}

TEST(PrepareFormFont, ADesktopFontOfExactly9PointsKeepsTheWindowFollowingIt) {
    FormModel form = PreparedAt(9);
    EXPECT_EQ(form.font, Desktop(9));
    EXPECT_TRUE(form.desktopFont);
    EXPECT_EQ(OwnFont(form, kOwn8), Font(u"Desktop Sans", 9, true, false, 0xFF));

    // A new reading reaches the window at once, without the cap; controls of
    // their own keep what the preparation gave them.
    DesktopFontChanged(form, Font(u"Bigger Sans", 11));
    EXPECT_EQ(form.font, Font(u"Bigger Sans", 11));
    EXPECT_EQ(EffectiveFont(form, kOnWindow), Font(u"Bigger Sans", 11));
    EXPECT_EQ(OwnFont(form, kOwn8), Font(u"Desktop Sans", 9, true, false, 0xFF));
}

TEST(PrepareFormFont, PreparingAgainOrAtTheNextShowingGivesTheSameResult) {
    FormModel once = PreparedAt(12);
    FormModel twice = once;
    PrepareFormFont(twice);
    EXPECT_EQ(twice.font, once.font);
    for (std::size_t i = 0; i < once.components.size(); ++i)
        EXPECT_EQ(twice.components[i].font, once.components[i].font) << i;

    // The next showing turns the switch on again, which reloads the desktop
    // font, and repeats the cap.
    SetDesktopFont(twice, true, Desktop(12));
    EXPECT_EQ(twice.font, Desktop(12));
    PrepareFormFont(twice);
    EXPECT_EQ(twice.font, Desktop(9));
    EXPECT_FALSE(twice.desktopFont);

    // Turning the switch on when it is on already changes nothing.
    FormModel following = PreparedAt(8);
    SetDesktopFont(following, true, Desktop(11));
    EXPECT_EQ(following.font, Desktop(8));
}

TEST(PrepareFormFont, AFormWithoutComponentsOnlyCapsItsOwnFont) {
    FormModel form;
    form.font = Font(u"X", 20);
    PrepareFormFont(form);
    EXPECT_EQ(form.font.points, 9);
}

TEST(EffectiveFont, ALoopOfParentsEndsAtTheWindowFont) {
    FormModel form;
    form.font = Font(u"Window", 9);
    Component a;
    a.kind = ComponentKind::Panel;
    a.parentFont = true;
    a.parent = 1;
    Component b = a;
    b.parent = 0;
    form.components = {a, b};
    EXPECT_EQ(EffectiveFont(form, 0), form.font);
    EXPECT_EQ(EffectiveFont(form, 7), form.font);
}

TEST(FontSize, PointsAndPixelsConvertThroughThePixelsPerInchRounded) {
    struct Case {
        int pixels, ppi, points;
    };
    const Case toPoints[] = {{12, 96, 9},  {16, 96, 12},  {11, 96, 8}, {13, 96, 10},
                             {15, 120, 9}, {-12, 96, -9}, {0, 96, 0},  {12, 0, 0}};
    for (const auto& c : toPoints)
        EXPECT_EQ(FontPointsFromPixels(c.pixels, c.ppi), c.points) << c.pixels << "@" << c.ppi;
    const Case toPixels[] = {{12, 96, 9},  {11, 96, 8},  {15, 120, 9},
                             {16, 144, 8}, {13, 96, 10}, {-12, 96, -9}};
    for (const auto& c : toPixels)
        EXPECT_EQ(FontPixelsFromPoints(c.points, c.ppi), c.pixels) << c.points << "@" << c.ppi;
}

TEST(DesktopFontReading, FollowsTheSettingChangeRules) {
    struct Case {
        std::optional<std::u16string_view> section;
        unsigned action;
        bool rereads;
    };
    const Case cases[] = {
        {std::nullopt, 0, true},
        {std::nullopt, kSpiSetDeskWallpaper, true},
        {u"Policy", 0, false},
        {u"Windows", 0x2A, false},
        {u"", kSpiSetDeskWallpaper, false},
        {u"", 0, true},
        {u"", 0x2A, true},
        {u"intl", kSpiSetDeskWallpaper, true},
        {u"WindowsThemeElement", 0, true},
        {u"ImmersiveColorSet", 0, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingChangeRereadsDesktopFont(c.section, c.action), c.rereads)
            << (c.section ? std::string(c.section->begin(), c.section->end()) : "(none)") << " "
            << c.action;
}

} // namespace
} // namespace kavrolt
