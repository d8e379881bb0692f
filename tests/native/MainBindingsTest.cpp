#include "services/Product.h"

#include "PresenterDoubles.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace kavrolt::test {
namespace {

using enum MainControl;
using enum FormEvent;
using Handler = void (MainPresenter::*)(MainControl);

MainControl ByName(std::u16string_view name) {
    for (std::size_t i = 0; i < kMainControlNames.size(); ++i)
        if (kMainControlNames[i] == name)
            return static_cast<MainControl>(i);
    ADD_FAILURE() << "no control " << Narrow(name);
    return Count;
}

// The main window's event bindings, row by row as the window's design lists
// them: controls by name, one handler for each group.
TEST(MainBindings, TheTableBindsExactlyTheDesignedEvents) {
    struct Group {
        std::vector<std::u16string_view> controls;
        std::vector<FormEvent> events;
        Handler handler;
    };
    const Group groups[] = {
        {{u"NavButton1", u"NavStatic1"}, {Click}, &MainPresenter::NavButton1Click},
        {{u"NavButton2", u"NavStatic2", u"LinkLabel6"}, {Click}, &MainPresenter::NavButton2Click},
        {{u"NavButton3", u"NavStatic3", u"LinkLabel5", u"TechSupportPopup"},
         {Click},
         &MainPresenter::NavButton3Click},
        {{u"NavButton4", u"NavStatic4", u"LinkLabel7"}, {Click}, &MainPresenter::NavButton4Click},
        {{u"LinkLabel4", u"HelpFilePopup"}, {Click}, &MainPresenter::HelpFilePopupClick},
        {{u"NavButton1", u"NavButton2", u"NavButton3", u"NavButton4", u"NavStatic1", u"NavStatic2",
          u"NavStatic3", u"NavStatic4"},
         {MouseEnter},
         &MainPresenter::NavButtonMouseEnter},
        {{u"NavButton1", u"NavButton2", u"NavButton3", u"NavButton4", u"NavStatic1", u"NavStatic2",
          u"NavStatic3", u"NavStatic4"},
         {MouseLeave},
         &MainPresenter::NavButtonMouseLeave},
        {{u"LinkLabel4", u"LinkLabel5", u"LinkLabel6", u"LinkLabel7"},
         {MouseEnter},
         &MainPresenter::LabelMouseEnter},
        {{u"LinkLabel4", u"LinkLabel5", u"LinkLabel6", u"LinkLabel7"},
         {MouseLeave},
         &MainPresenter::LabelMouseLeave},
        {{u"GoButton"}, {Click}, &MainPresenter::GoButtonClick},
        {{u"RestoreButton"}, {Click}, &MainPresenter::RestoreButtonClick},
        {{u"UpdatesButton"}, {Click}, &MainPresenter::UpdatesButtonClick},
    };
    std::size_t expected = 0;
    std::set<std::pair<MainControl, FormEvent>> bound;
    for (const auto& row : MainPresenter::Bindings())
        EXPECT_TRUE(bound.insert({row.control, row.event}).second)
            << Narrow(kMainControlNames[static_cast<std::size_t>(row.control)])
            << " has two handlers for one event";
    for (const Group& group : groups) {
        for (auto name : group.controls) {
            for (FormEvent event : group.events) {
                ++expected;
                const MainControl control = ByName(name);
                const auto rows = MainPresenter::Bindings();
                const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& r) {
                    return r.control == control && r.event == event;
                });
                ASSERT_NE(row, rows.end()) << Narrow(name) << " is not bound";
                EXPECT_TRUE(row->handler == group.handler)
                    << Narrow(name) << " has another handler";
            }
        }
    }
    EXPECT_EQ(MainPresenter::Bindings().size(), expected) << "rows beyond the design";
}

// A picture and its label underline the label whose name is the sender's
// with its first nine characters replaced by "NavStatic".
TEST(MainBindings, NavigationHoverUnderlinesTheLabelOfTheSameNumber) {
    for (MainControl sender : {NavButton1, NavButton2, NavButton3, NavButton4, NavStatic1,
                               NavStatic2, NavStatic3, NavStatic4}) {
        const auto name = kMainControlNames[static_cast<std::size_t>(sender)];
        const std::u16string label = u"NavStatic" + std::u16string(name.substr(9));
        EXPECT_EQ(kMainControlNames[static_cast<std::size_t>(MainPresenter::NavStaticFor(sender))],
                  label);
    }
}

TEST_F(MainWindow, ClicksRunTheirBoundHandlers) {
    struct Case {
        MainControl control;
        std::vector<std::string> actions;
        std::vector<std::string> mainCalls;
    };
    const std::string home = "url " + Narrow(kMakerHomePage);
    const std::string support = "url " + Narrow(kMakerSupportPage);
    const std::string help = "help Kavrolt.chm /html/main.htm";
    const Case cases[] = {
        {NavButton1, {}, {"menu NavButton1"}},
        {NavStatic1, {}, {"menu NavButton1"}},
        {NavButton2, {"sound", home}, {}},
        {LinkLabel6, {"sound", home}, {}},
        {NavStatic3, {"sound", support}, {}},
        {TechSupportPopup, {"sound", support}, {}},
        {LinkLabel4, {help}, {}},
        {HelpFilePopup, {help}, {}},
        {UpdatesButton, {"sound", "run C:\\Kavrolt\\KavroltUpdate.exe"}, {}},
        {BenefitsLabel, {}, {}},
    };
    view.visible = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(view.NameAt(Index(c.control)));
        services.actions.clear();
        view.calls.clear();
        EXPECT_EQ(presenter.Handle(Index(c.control), Click),
                  !c.actions.empty() || !c.mainCalls.empty());
        EXPECT_EQ(services.actions, c.actions);
        EXPECT_EQ(view.calls, c.mainCalls);
    }
}

TEST_F(MainWindow, TheAboutLinksOpenTheAboutWindowModallyAfterTheSound) {
    for (MainControl control : {NavButton4, NavStatic4, LinkLabel7}) {
        services.actions.clear();
        aboutView.calls.clear();
        presenter.Handle(Index(control), Click);
        EXPECT_EQ(services.actions, std::vector<std::string>{"sound"});
        EXPECT_EQ(aboutView.calls, (std::vector<std::string>{"centre", "fonts", "menu texts",
                                                             "modal, focus CloseButton"}));
    }
}

TEST_F(MainWindow, HoverUnderlinesAndLeavingTakesTheUnderlineAway) {
    struct Case {
        MainControl sender;
        MainControl underlined;
    };
    const Case cases[] = {
        {NavButton2, NavStatic2},
        {NavStatic2, NavStatic2},
        {NavButton1, NavStatic1},
        {LinkLabel5, LinkLabel5},
    };
    for (const Case& c : cases) {
        view.underlined.clear();
        presenter.Handle(Index(c.sender), MouseEnter);
        EXPECT_EQ(view.underlined, (std::map<int, bool>{{Index(c.underlined), true}}));
        presenter.Handle(Index(c.sender), MouseLeave);
        EXPECT_EQ(view.underlined, (std::map<int, bool>{{Index(c.underlined), false}}));
    }
    view.underlined.clear();
    EXPECT_FALSE(presenter.Handle(Index(GoButton), MouseEnter));
    EXPECT_TRUE(view.underlined.empty());
}

// The Optimize button runs the Optimize run on the windows through the host:
// the main window disabled, the progress window shown and stepped, then the
// Restore button enabled and the restart question asked.
TEST_F(MainWindow, TheOptimizeButtonDrivesTheProgressWindowAndTheMainWindow) {
    view.selected[Index(WindowsCombo)] = 0;
    view.selected[Index(ProcessorCombo)] = 1;
    view.selected[Index(SpeedTrackBar)] = 1;
    presenter.Handle(Index(GoButton), Click);
    EXPECT_EQ(view.enabled[kParentIsWindow], true);
    EXPECT_EQ(view.enabled[Index(RestoreButton)], true);
    EXPECT_FALSE(progressView.visible);
    EXPECT_EQ(progress.Progress().stepCount, 31);
    EXPECT_EQ(progressView.selected[Index(SettingsControl::MainProgress)], 100);
    EXPECT_EQ(progressView.TextOf(Index(SettingsControl::CurrentSettingsLabel)),
              u"Writing new gaming and system settings...");
    EXPECT_EQ(progressView.TextOf(Index(SettingsControl::CurrentSettingsHeading)),
              u"Optimizing the computer's gaming and system performance settings");
    ASSERT_FALSE(view.calls.empty());
    EXPECT_EQ(view.calls.back().rfind("ask ", 0), 0u) << "the restart question";
    EXPECT_EQ(ReadRegInteger(services.store, HKLM, kProgramKey, u"ProcessorType", -1, false), 1);
    EXPECT_EQ(std::count(services.actions.begin(), services.actions.end(), "restart"), 0);
}

} // namespace
} // namespace kavrolt::test
