#include "services/Product.h"

#include "PresenterDoubles.h"

#include <gtest/gtest.h>

namespace kavrolt::test {
namespace {

using enum FormEvent;

TEST_F(MainWindow, OpeningTheAboutWindowTwiceShowsTheVersionOnce) {
    const std::u16string version =
        u"Kavrolt 2  (Version : " + std::u16string(kProgramVersion) + u")";
    for (int opening = 1; opening <= 2; ++opening) {
        about.ShowModal();
        EXPECT_EQ(aboutView.Model().At(AboutControl::VersionLabel).text, version)
            << "opening " << opening;
    }
    EXPECT_EQ(aboutView.Model().title, u"About Kavrolt");
    EXPECT_EQ(aboutView.calls.back(), "modal, focus CloseButton");
}

TEST_F(MainWindow, TheAboutBindingsHelpOpenTheLicenceAndUnderlineTheLink) {
    view.visible = true;
    aboutView.visible = true;
    const int link = Index(AboutControl::LicenseAgreementLabel);

    EXPECT_TRUE(about.Handle(Index(AboutControl::HelpButton), Click));
    EXPECT_EQ(services.actions, std::vector<std::string>{"help Kavrolt.chm /html/main.htm"})
        << "the Help button takes the main window's F1 path";

    services.actions.clear();
    EXPECT_TRUE(about.Handle(link, Click));
    EXPECT_EQ(services.actions,
              (std::vector<std::string>{"sound", "document C:\\Kavrolt\\License.rtf"}));

    about.Handle(link, MouseEnter);
    EXPECT_EQ(aboutView.underlined, (std::map<int, bool>{{link, true}}));
    about.Handle(link, MouseLeave);
    EXPECT_EQ(aboutView.underlined, (std::map<int, bool>{{link, false}}));

    // The Close button has no handler; the window closes itself.
    services.actions.clear();
    EXPECT_FALSE(about.Handle(Index(AboutControl::CloseButton), Click));
    EXPECT_FALSE(about.Handle(Index(AboutControl::VersionLabel), MouseEnter));
    EXPECT_TRUE(services.actions.empty());
}

TEST_F(MainWindow, ShowingTheProgressWindowResetsTheBarAndKeepsTheTexts) {
    const int bar = Index(SettingsControl::MainProgress);
    const int label = Index(SettingsControl::CurrentSettingsLabel);
    progress.Show();
    progress.SetStepCounters(4, 0);
    progress.SetHeading(u"Heading");
    progress.AdvanceProgressStep(u"Step");
    EXPECT_EQ(progressView.TextOf(label), u"Step...");
    EXPECT_EQ(progressView.selected[bar], 25);
    progress.Close();
    EXPECT_FALSE(progressView.visible);

    progressView.calls.clear();
    progress.Show();
    EXPECT_EQ(progressView.calls,
              (std::vector<std::string>{"centre", "fonts", "menu texts", "show"}));
    EXPECT_EQ(progressView.selected[bar], 0);
    EXPECT_EQ(progressView.TextOf(label), u"Step...");
    EXPECT_EQ(progressView.TextOf(Index(SettingsControl::CurrentSettingsHeading)), u"Heading");
    EXPECT_EQ(progressView.Model().title,
              u"Updating computer's gaming and system performance settings");
    EXPECT_TRUE(progressView.visible);
}

TEST_F(MainWindow, AStepShowsItsTextWithGrowingDotsThenMovesTheBar) {
    std::vector<std::u16string> shown;
    progressView.Model().textChanged = [&](int index) {
        if (index == Index(SettingsControl::CurrentSettingsLabel))
            shown.push_back(progressView.TextOf(index));
    };
    progress.SetStepCounters(31, 0);
    for (int step = 1; step <= 31; ++step)
        progress.AdvanceProgressStep(u"Step");
    ASSERT_EQ(shown.size(), 31u * 3);
    EXPECT_EQ(std::vector<std::u16string>(shown.begin(), shown.begin() + 3),
              (std::vector<std::u16string>{u"Step.", u"Step..", u"Step..."}));
    EXPECT_EQ(progressView.selected[Index(SettingsControl::MainProgress)], 100);
    EXPECT_EQ(progress.Progress().stepCount, 31);
}

} // namespace
} // namespace kavrolt::test
