// Works the main window and the About window of the real program the way a
// user would, reading what they show through the window system.
#include "e2e/DriverSupport.h"

#include "services/Product.h"
#include "sysinfo/WindowsVersion.h"
#include "tuning/TweakCatalogue.h"

#include <commctrl.h>

#include <set>

namespace kavrolt::e2e {
namespace {

constexpr auto HKLM = kHkeyLocalMachine;

class MainWindowDriver : public ::testing::Test {
protected:
    void SetUp() override { ClearProgramState(); }
    ProgramFolder folder;
};

TEST_F(MainWindowDriver, ShowsEveryTextOfTheCaptionTable) {
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    EXPECT_EQ(TextOf(program.main), Caption(u"KVMainForm", u"KVMainForm"));
    for (auto name :
         {u"BenefitsLabel", u"BenefitsDescription", u"OSVersionLabel", u"ProcessorTypeLabel",
          u"SpeedLabel", u"FastLabel", u"FasterLabel", u"NavStatic1", u"NavStatic2", u"NavStatic3",
          u"NavStatic4", u"NavLabel2", u"LinkLabel4", u"LinkLabel5", u"LinkLabel6", u"LinkLabel7",
          u"GoButton", u"RestoreButton", u"UpdatesButton"}) {
        EXPECT_EQ(program.Text(name), Caption(u"KVMainForm", name)) << Wide(name).c_str();
        EXPECT_TRUE(IsWindowVisible(program.Control(name)));
        RECT box{};
        GetWindowRect(program.Control(name), &box);
        EXPECT_GT(box.right - box.left, 0) << "an empty box for " << Wide(name).size();
    }
    EXPECT_EQ(program.Text(u"VersionInstalledLabel"), L"Version installed : 2.11.23.2020");
    // A first start: InstalledDate is written and shown.
    EXPECT_EQ(program.Text(u"SoftwareLastUpdateLabel").rfind(L"Last updated : ", 0), 0u);
    EXPECT_GT(program.Text(u"SoftwareLastUpdateLabel").size(), 20u);
    RECT client{};
    GetClientRect(program.main, &client);
    EXPECT_EQ(client.right, 764);
    EXPECT_EQ(client.bottom, 500);
    EXPECT_TRUE(IsWindowEnabled(program.Control(u"GoButton")));
    EXPECT_FALSE(IsWindowEnabled(program.Control(u"RestoreButton")));
    SaveScreenshot(program.main, "main-96");
    EXPECT_EQ(program.Close(), 0);
}

// Every catalogue row that Windows 10 uses holds Optimize's data.
void ExpectOptimizedForWindows10() {
    for (int n = 1; n <= 33; ++n) {
        const auto& row = kTweakCatalogue[static_cast<std::size_t>(n - 1)];
        const auto value = RawValue(row.root, row.path, row.name);
        if (n == 31) {
            EXPECT_FALSE(value) << n;
            continue;
        }
        ASSERT_TRUE(value) << n;
        if (row.form == TweakForm::Integer) {
            EXPECT_EQ(value->first, kRegDword) << n;
            EXPECT_EQ(ReadRegInteger(Registry(), row.root, row.path, row.name, -1, false),
                      row.number)
                << n;
        } else if (row.form == TweakForm::Text) {
            EXPECT_EQ(value->first, kRegSz) << n;
            EXPECT_EQ(ReadRegString(Registry(), row.root, row.path, row.name, u"", false), row.text)
                << n;
        } else {
            EXPECT_EQ(value->first, kRegBinary);
            EXPECT_EQ(value->second, (std::vector<std::uint8_t>{0, 0, 0, 0}));
        }
    }
}

TEST_F(MainWindowDriver, OptimizeThenRestoreThroughTheWindows) {
    // Original values that differ from the defaults.
    WriteRegInteger(Registry(), HKLM, u"\\System\\CurrentControlSet\\Control\\PriorityControl\\",
                    u"Win32PrioritySeparation", 38, false);
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    SendMessageW(program.Control(u"WindowsCombo"), CB_SETCURSEL, 0, 0); // Windows 10
    SendMessageW(program.Control(u"ProcessorCombo"), CB_SETCURSEL, 1, 0);
    SendMessageW(program.Control(u"SpeedTrackBar"), TBM_SETPOS, TRUE, 1);
    program.Click(u"GoButton");

    HWND progress = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (progress = FindTopWindow(L"TKVSettingsForm", program.process.Id())); }));
    EXPECT_FALSE(IsWindowEnabled(program.main));
    EXPECT_EQ(TextOf(progress), Caption(u"KVSettingsForm", u"KVSettingsForm"));
    WaitUntil([&] {
        return SendMessageW(FindControl(progress, SettingsControlId(u"MainProgress")), PBM_GETPOS,
                            0, 0) >= 30;
    });
    EXPECT_EQ(TextOf(FindControl(progress, SettingsControlId(u"CurrentSettingsHeading"))),
              Caption(u"KVSettingsForm", u"MessageUpdate"));
    SaveScreenshot(progress, "progress-96");

    const auto restart = WaitForMessageBox(program.process.Id());
    ASSERT_NE(restart.window, nullptr);
    EXPECT_EQ(restart.owner, program.main);
    EXPECT_EQ(restart.title, Caption(u"KVMainForm", u"KVMainForm"));
    EXPECT_EQ(restart.text, Caption(u"KVMainForm", u"MessageBoxChangeRestart1") + L"\r\n\r\n" +
                                Caption(u"KVMainForm", u"MessageBoxChangeRestart2") + L"\r\n\r\n" +
                                Caption(u"KVMainForm", u"MessageBoxChangeRestart3"));
    EXPECT_TRUE(restart.HasButton(IDYES) && restart.HasButton(IDNO));
    EXPECT_FALSE(IsWindowVisible(progress));
    SaveScreenshot(restart.window, "restart-question-96");
    restart.Press(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(restart.window); }));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; }));
    EXPECT_TRUE(IsWindowEnabled(program.Control(u"RestoreButton")));

    ExpectOptimizedForWindows10();
    auto programInteger = [](std::u16string_view name) {
        return ReadRegInteger(Registry(), HKLM, kProgramKey, name, -99, false);
    };
    EXPECT_EQ(programInteger(u"Restore"), 1);
    EXPECT_EQ(programInteger(u"ProcessorType"), 1);
    EXPECT_EQ(programInteger(u"SpeedSetting"), 1);
    EXPECT_EQ(programInteger(u"Win32PrioritySeparation"), 38);
    EXPECT_EQ(programInteger(u"NtfsMftZoneReservation"), 0);

    // Restore: Cancel changes nothing, OK undoes.
    program.Click(u"RestoreButton");
    auto confirm = WaitForMessageBox(program.process.Id());
    ASSERT_NE(confirm.window, nullptr);
    EXPECT_EQ(confirm.text, Caption(u"KVMainForm", u"MessageBoxReset1") + L"\r\n\r\n" +
                                Caption(u"KVMainForm", u"MessageBoxReset2"));
    EXPECT_TRUE(confirm.HasButton(IDOK) && confirm.HasButton(IDCANCEL));
    SaveScreenshot(confirm.window, "restore-confirmation-96");
    confirm.Press(IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(confirm.window); }));
    Sleep(500);
    EXPECT_EQ(FindTopWindow(L"TKVSettingsForm", program.process.Id()), nullptr);
    EXPECT_EQ(programInteger(u"Restore"), 1);
    ExpectOptimizedForWindows10();

    program.Click(u"RestoreButton");
    confirm = WaitForMessageBox(program.process.Id());
    ASSERT_NE(confirm.window, nullptr);
    confirm.Press(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(confirm.window); }));
    const auto again = WaitForMessageBox(program.process.Id());
    ASSERT_NE(again.window, nullptr);
    EXPECT_EQ(again.text.substr(0, 20), restart.text.substr(0, 20));
    again.Press(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(again.window); }));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; }));
    EXPECT_FALSE(IsWindowEnabled(program.Control(u"RestoreButton")));
    for (int n = 1; n <= 33; ++n) {
        const auto& row = kTweakCatalogue[static_cast<std::size_t>(n - 1)];
        EXPECT_EQ(RawValue(row.root, row.path, row.name).has_value(),
                  row.restore == RestoreAction::FromBackup)
            << n;
        EXPECT_FALSE(RawValue(HKLM, kProgramKey, row.name)) << n;
    }
    EXPECT_EQ(ReadRegInteger(Registry(), HKLM,
                             u"\\System\\CurrentControlSet\\Control\\PriorityControl\\",
                             u"Win32PrioritySeparation", 0, false),
              38);
    EXPECT_EQ(programInteger(u"Restore"), -99);
    EXPECT_EQ(programInteger(u"ProcessorType"), 1);
    EXPECT_EQ(program.Close(), 0);
}

TEST_F(MainWindowDriver, ChoicesAndRestoreButtonComeFromProgramKey) {
    struct Case {
        int speed, processor;
        bool restore;
        int thumb;
    };
    // 2 is "  VIA \u00AE Processor", whatever the processor is.
    const Case cases[] = {{5, 2, true, 1}, {-3, 1, false, 0}, {1, 0, true, 1}};
    for (const auto& c : cases) {
        WriteRegInteger(Registry(), HKLM, kProgramKey, u"SpeedSetting", c.speed, false);
        WriteRegInteger(Registry(), HKLM, kProgramKey, u"ProcessorType", c.processor, false);
        if (c.restore)
            WriteRegBool(Registry(), HKLM, kProgramKey, u"Restore", true, false);
        else
            DeleteRegValue(Registry(), HKLM, kProgramKey, u"Restore", false);
        RunningProgram program(folder);
        ASSERT_NE(program.main, nullptr);
        EXPECT_EQ(SendMessageW(program.Control(u"SpeedTrackBar"), TBM_GETPOS, 0, 0), c.thumb);
        EXPECT_EQ(SendMessageW(program.Control(u"ProcessorCombo"), CB_GETCURSEL, 0, 0),
                  c.processor);
        EXPECT_EQ(IsWindowEnabled(program.Control(u"RestoreButton")) != FALSE, c.restore);
        EXPECT_EQ(program.Close(), 0);
    }
}

TEST_F(MainWindowDriver, AboutShowsTheVersionOnceAndCloses) {
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    for (int opening = 0; opening < 2; ++opening) {
        program.ClickWithMouse(u"LinkLabel7");
        HWND about = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (about = FindTopWindow(L"TKVAboutForm", program.process.Id())); }));
        EXPECT_EQ(TextOf(about), Caption(u"KVAboutForm", u"KVAboutForm"));
        EXPECT_EQ(TextOf(FindControl(about, AboutControlId(u"VersionLabel"))),
                  L"Kavrolt 2  (Version : 2.11.23.2020)");
        EXPECT_EQ(TextOf(FindControl(about, AboutControlId(u"BannerLabel"))),
                  Caption(u"KVAboutForm", u"BannerLabel"));
        EXPECT_FALSE(IsWindowEnabled(program.main)); // modal
        RECT client{};
        GetClientRect(about, &client);
        EXPECT_EQ(client.right, 700);
        EXPECT_EQ(client.bottom, 441);
        if (opening == 0)
            SaveScreenshot(about, "about-96");
        // Escape does not close it; Enter presses Close.
        HWND focus = FindControl(about, AboutControlId(u"CloseButton"));
        PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0);
        Sleep(500);
        EXPECT_TRUE(IsWindowVisible(about));
        PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(about); }, 5000));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; }, 5000));
    }
    EXPECT_EQ(program.Close(), 0);
}

} // namespace
} // namespace kavrolt::e2e

namespace kavrolt::e2e {
namespace {

// Wine takes the screen's pixels per inch from LogPixels when a program starts.
class ScreenDpi {
public:
    explicit ScreenDpi(int dpi) { Set(dpi); }
    ~ScreenDpi() { Set(96); }

private:
    static void Set(int dpi) {
        WriteRegInteger(Registry(), kHkeyCurrentUser, u"\\Control Panel\\Desktop\\", u"LogPixels",
                        dpi, false);
        WriteRegInteger(
            Registry(), kHkeyLocalMachine,
            u"\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts\\",
            u"LogPixels", dpi, false);
    }
};

TEST_F(MainWindowDriver, WindowsScaleAt144Dpi) {
    ScreenDpi dpi(144);
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    RECT client{};
    GetClientRect(program.main, &client);
    EXPECT_EQ(client.right, MulDiv(764, 144, 96));
    EXPECT_EQ(client.bottom, MulDiv(500, 144, 96));
    RECT go{};
    GetWindowRect(program.Control(u"GoButton"), &go);
    // Sizes scale as MulDiv does, rounding halves away from zero.
    EXPECT_EQ(go.right - go.left, MulDiv(145, 144, 96));
    SaveScreenshot(program.main, "main-144");

    program.ClickWithMouse(u"LinkLabel7");
    HWND about = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (about = FindTopWindow(L"TKVAboutForm", program.process.Id())); }));
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, MulDiv(700, 144, 96));
    SaveScreenshot(about, "about-144");
    PostMessageW(about, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; }));

    SendMessageW(program.Control(u"WindowsCombo"), CB_SETCURSEL, 0, 0);
    program.Click(u"GoButton");
    HWND progress = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (progress = FindTopWindow(L"TKVSettingsForm", program.process.Id())); }));
    WaitUntil([&] {
        return SendMessageW(FindControl(progress, SettingsControlId(u"MainProgress")), PBM_GETPOS,
                            0, 0) >= 50;
    });
    GetClientRect(progress, &client);
    EXPECT_EQ(client.right, MulDiv(479, 144, 96));
    SaveScreenshot(progress, "progress-144");
    const auto restart = WaitForMessageBox(program.process.Id());
    ASSERT_NE(restart.window, nullptr);
    SaveScreenshot(restart.window, "restart-question-144");
    restart.Press(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(restart.window); }));
    program.Click(u"RestoreButton");
    const auto confirm = WaitForMessageBox(program.process.Id());
    ASSERT_NE(confirm.window, nullptr);
    SaveScreenshot(confirm.window, "restore-confirmation-144");
    confirm.Press(IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(confirm.window); }));
    EXPECT_EQ(program.Close(), 0);
}

} // namespace
} // namespace kavrolt::e2e
