#include "registry/CustomRegistry.h"
#include "services/Product.h"
#include "services/TimeStamps.h"
#include "sysinfo/WindowsVersion.h"

#include "PresenterDoubles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

namespace kavrolt::test {
namespace {

using enum MainControl;
TEST_F(MainWindow, TheUpdateRuleStartsTheCheckOnlyBeyond45Days) {
    struct Case {
        const char* name;
        std::optional<std::u16string> updatedDate; // nothing: no value at all
        bool check;
    };
    const Case cases[] = {
        {"missing", std::nullopt, false},
        {"empty", u"", false},
        {"today", StampDaysBack(0), false},
        {"45 days old", StampDaysBack(45), false},
        {"46 days old", StampDaysBack(46), true},
        {"400 days old", StampDaysBack(400), true},
        {"45 days ahead", StampDaysBack(-45), false},
        {"46 days ahead", StampDaysBack(-46), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingServices fresh;
        fresh.now = services.now;
        if (c.updatedDate)
            WriteRegString(fresh.store, HKLM, kProgramKey, u"UpdatedDate", *c.updatedDate, false);
        RecordingView mainView{MakeMainFormModel()};
        MainPresenter main{mainView, fresh, about, progress};
        main.FormCreate();
        const bool started = std::count(fresh.actions.begin(), fresh.actions.end(),
                                        "run C:\\Kavrolt\\Kavrolt.exe /checkupdate") == 1;
        EXPECT_EQ(started, c.check);
        EXPECT_EQ(fresh.actions.size(), c.check ? 1u : 0u);
    }
}

TEST_F(MainWindow, TheLastUpdateLabelShowsTheUpdateOrElseTheInstallDate) {
    PutString(u"InstalledDate", StampDaysBack(100));
    presenter.FormCreate();
    const std::u16string installed = StampToText(StampDaysBack(100));
    ASSERT_FALSE(installed.empty());
    EXPECT_EQ(Text(SoftwareLastUpdateLabel), u"Last updated : " + installed);
    EXPECT_FALSE(CheckStarted()) << "the rule reads UpdatedDate only";

    RecordingView second{MakeMainFormModel()};
    MainPresenter again{second, services, about, progress};
    PutString(u"UpdatedDate", StampDaysBack(3));
    again.FormCreate();
    EXPECT_EQ(second.Model().At(SoftwareLastUpdateLabel).text,
              u"Last updated : " + StampToText(StampDaysBack(3)));
}

TEST_F(MainWindow, NeitherDateLeavesTheLabelWithItsCaptionAlone) {
    presenter.FormCreate();
    EXPECT_EQ(Text(SoftwareLastUpdateLabel), u"Last updated : ");
    EXPECT_EQ(Text(VersionInstalledLabel),
              u"Version installed : " + std::u16string(kProgramVersion));
    EXPECT_EQ(view.Model().title, u"Kavrolt - Make your games and computer run faster");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"fonts", "menu texts"}));
    EXPECT_EQ(view.Model().font.face, u"Segoe UI") << "the desktop font";
}

TEST_F(MainWindow, ADateThatConvertsToNoDateEndsCreationAfterStepNine) {
    PutString(u"UpdatedDate", u"not a time stamp");
    PutInteger(u"SpeedSetting", 1);
    presenter.FormCreate();
    EXPECT_EQ(view.selected[Index(SpeedTrackBar)], 1);
    EXPECT_FALSE(CheckStarted());
}

TEST_F(MainWindow, TheChoicesComeFromProgramKeyOrTheDetections) {
    struct Case {
        const char* name;
        std::optional<int> processorType, speedSetting, restore;
        int processor, thumb;
        bool restoreEnabled;
    };
    const Case cases[] = {
        {"nothing stored", {}, {}, {}, 1, 0, false},
        {"VIA chosen", 2, 1, 1, 2, 1, true},
        {"speed beyond the bar", 0, 5, 0, 0, 1, false},
        {"negative speed", 1, -3, {}, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingServices fresh;
        fresh.windowsVersion = 3; // Windows XP
        if (c.processorType)
            WriteRegInteger(fresh.store, HKLM, kProgramKey, u"ProcessorType", *c.processorType,
                            false);
        if (c.speedSetting)
            WriteRegInteger(fresh.store, HKLM, kProgramKey, u"SpeedSetting", *c.speedSetting,
                            false);
        if (c.restore)
            WriteRegBool(fresh.store, HKLM, kProgramKey, u"Restore", *c.restore != 0, false);
        RecordingView mainView{MakeMainFormModel()};
        MainPresenter main{mainView, fresh, about, progress};
        main.FormCreate();
        EXPECT_EQ(mainView.selected[Index(WindowsCombo)], WindowsVersionToListIndex(3));
        EXPECT_EQ(mainView.selected[Index(ProcessorCombo)], c.processor);
        EXPECT_EQ(mainView.selected[Index(SpeedTrackBar)], c.thumb);
        EXPECT_EQ(mainView.enabled[Index(RestoreButton)], c.restoreEnabled);
        // The runs read the choices back through the same view.
        EXPECT_EQ(main.ProcessorListIndex(), c.processor);
        EXPECT_EQ(main.SpeedPosition(), c.thumb);
    }
}

TEST_F(MainWindow, F1OpensHelpWhileAnyWindowOfTheProgramIsVisible) {
    for (int state = 0; state < 8; ++state) {
        aboutView.visible = (state & 1) != 0;
        progressView.visible = (state & 2) != 0;
        view.visible = (state & 4) != 0;
        services.actions.clear();
        bool handled = false;
        presenter.ApplicationEventsShortCut(kKeyF1, handled);
        const std::vector<std::string> help = {"help Kavrolt.chm /html/main.htm"};
        EXPECT_EQ(services.actions, state == 0 ? std::vector<std::string>{} : help)
            << "visible: about " << aboutView.visible << ", progress " << progressView.visible
            << ", main " << view.visible;
        EXPECT_FALSE(handled) << "the key goes on to the focused window";
        presenter.ApplicationEventsShortCut(113, handled); // F2
        EXPECT_EQ(services.actions.size(), state == 0 ? 0u : 1u) << "other keys are ignored";
    }
}

} // namespace
} // namespace kavrolt::test
