#include "forms/KVAboutFormLayout.h"
#include "forms/KVMainFormLayout.h"
#include "forms/KVSettingsFormLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

namespace kavrolt {
namespace {

struct Window {
    const char* name;
    FormModel model;
    std::span<const std::u16string_view> names; // by typed control ID
};

// Every typed control ID names the component at its index: each slot of the
// layout is filled, under its own name, once, and a panel parent comes before
// its children.
TEST(LayoutIds, EveryControlIdNamesTheComponentAtItsIndex) {
    const Window windows[] = {
        {"main", MakeMainFormModel(), kMainControlNames},
        {"about", MakeAboutFormModel(), kAboutControlNames},
        {"progress", MakeSettingsFormModel(), kSettingsControlNames},
    };
    for (const Window& window : windows) {
        SCOPED_TRACE(window.name);
        ASSERT_EQ(window.model.components.size(), window.names.size());
        std::set<std::u16string> seen;
        for (std::size_t i = 0; i < window.names.size(); ++i) {
            const Component& component = window.model.components[i];
            const std::string name(window.names[i].begin(), window.names[i].end());
            EXPECT_EQ(component.name, window.names[i]) << name;
            EXPECT_FALSE(component.name.empty()) << "slot " << i << " was never placed";
            EXPECT_TRUE(seen.insert(component.name).second) << name << " twice";
            EXPECT_EQ(window.model.IndexOf(window.names[i]), static_cast<int>(i)) << name;
            if (component.parent != kParentIsWindow) {
                ASSERT_LT(component.parent, static_cast<int>(i)) << name;
                EXPECT_EQ(window.model.components[static_cast<std::size_t>(component.parent)].kind,
                          ComponentKind::Panel)
                    << name;
            }
        }
    }
}

TEST(LayoutIds, TypedIdsReachTheirComponents) {
    struct Case {
        FormModel model;
        int index;
        std::u16string_view name;
        ComponentKind kind;
    };
    const Case cases[] = {
        {MakeMainFormModel(), Index(MainControl::GoButton), u"GoButton", ComponentKind::Button},
        {MakeMainFormModel(), Index(MainControl::SpeedTrackBar), u"SpeedTrackBar",
         ComponentKind::TrackBar},
        {MakeMainFormModel(), Index(MainControl::TechSupportPopup), u"TechSupportPopup",
         ComponentKind::MenuItem},
        {MakeAboutFormModel(), Index(AboutControl::VersionLabel), u"VersionLabel",
         ComponentKind::Label},
        {MakeAboutFormModel(), Index(AboutControl::LicensedMemo), u"LicensedMemo",
         ComponentKind::Memo},
        {MakeSettingsFormModel(), Index(SettingsControl::MainProgress), u"MainProgress",
         ComponentKind::ProgressBar},
        {MakeSettingsFormModel(), Index(SettingsControl::SettingsPanel), u"SettingsPanel",
         ComponentKind::Panel},
    };
    for (const Case& c : cases) {
        const Component& component = c.model.components.at(static_cast<std::size_t>(c.index));
        EXPECT_EQ(component.name, c.name);
        EXPECT_EQ(component.kind, c.kind) << std::string(c.name.begin(), c.name.end());
    }
    FormModel main = MakeMainFormModel();
    main.SetText(MainControl::RestoreButton, u"&Restore");
    EXPECT_EQ(main.At(MainControl::RestoreButton).text, u"&Restore");
    EXPECT_EQ(main.Find(u"RestoreButton")->text, u"&Restore");
}

} // namespace
} // namespace kavrolt
