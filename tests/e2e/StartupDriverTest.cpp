// Start-up of the real program: first-start and update dates, the single
// instance, the update check mode and the update rule of the main window.
#include "e2e/DriverSupport.h"

#include "services/TimeStamps.h"
#include "common/UpdateCheckServer.h"

namespace kavrolt::e2e {
namespace {

constexpr auto HKLM = kHkeyLocalMachine;
constexpr std::uint16_t kUpdatePort = 18480; // where the end-to-end build asks

// A stamp that many seconds before now. Stamps round to the nearest second,
// so a stamp can lie up to half a second after the moment it was taken.
std::u16string StampSecondsBack(int seconds) {
    const auto stamp = DateTimeToStamp(CurrentDateTime()) - seconds;
    const std::string text = std::to_string(stamp);
    return std::u16string(text.begin(), text.end());
}

std::string Answer(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

class StartupDriver : public ::testing::Test {
protected:
    void SetUp() override { ClearProgramState(); }
    ProgramFolder folder;
};

TEST_F(StartupDriver, FirstStartAndAStartAfterAnUpdateRecordTheirDates) {
    {
        RunningProgram program(folder);
        ASSERT_NE(program.main, nullptr);
        EXPECT_FALSE(
            ReadRegString(Registry(), HKLM, kProgramKey, u"InstalledDate", u"", false).empty());
        EXPECT_TRUE(
            ReadRegString(Registry(), HKLM, kProgramKey, u"UpdatedDate", u"", false).empty());
        EXPECT_EQ(program.Close(), 0);
    }
    WriteRegBool(Registry(), HKLM, kProgramKey, u"Updated", true, false);
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    EXPECT_FALSE(ReadRegBool(Registry(), HKLM, kProgramKey, u"Updated", true, false));
    EXPECT_EQ(RawValue(HKLM, kProgramKey, u"Updated")->first, kRegDword);
    const auto updated = ReadRegString(Registry(), HKLM, kProgramKey, u"UpdatedDate", u"", false);
    EXPECT_FALSE(updated.empty());
    // The main window shows the update date in place of the install date.
    EXPECT_EQ(program.Text(u"SoftwareLastUpdateLabel"),
              L"Last updated : " + Wide(StampToText(updated)));
}

TEST_F(StartupDriver, ASecondStartBringsTheFirstToTheFront) {
    RunningProgram first(folder);
    ASSERT_NE(first.main, nullptr);
    for (bool minimised : {false, true}) {
        if (minimised) {
            ShowWindow(first.main, SW_MINIMIZE);
            ASSERT_TRUE(WaitUntil([&] { return IsIconic(first.main) != FALSE; }));
        }
        Process second;
        ASSERT_TRUE(second.Start(folder.Program()));
        EXPECT_EQ(second.WaitForExit(), 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsIconic(first.main); }, 5000));
        EXPECT_EQ(GetForegroundWindow(), first.main);
        EXPECT_EQ(FindTopWindow(L"TKVMainForm", second.Id(), false), nullptr);
    }
}

TEST_F(StartupDriver, CheckModeWithoutAnUpdateShowsNothing) {
    test::ScriptedServer server({Answer("TORVEK|0")}, kUpdatePort);
    for (const wchar_t* switchText : {L"/checkupdate", L"/CHECKUPDATE"}) {
        Process check;
        ASSERT_TRUE(check.Start(folder.Program(), switchText));
        EXPECT_EQ(check.WaitForExit(), 0);
        EXPECT_EQ(FindTopWindow(L"TKVMainForm", check.Id(), false), nullptr);
        EXPECT_EQ(FindTopWindow(L"#32770", check.Id(), false), nullptr);
    }
    EXPECT_EQ(server.Connections(), 2);
    EXPECT_NE(server.Received().find("GET "), std::string::npos);
}

TEST_F(StartupDriver, OtherSwitchesGiveANormalStart) {
    for (const wchar_t* arguments : {L"-checkupdate", L"/other /checkupdate"}) {
        RunningProgram program(folder, arguments);
        EXPECT_NE(program.main, nullptr) << arguments;
        EXPECT_EQ(program.Close(), 0);
    }
}

TEST_F(StartupDriver, CheckModeWithAnUpdateClosesTheInstanceAndOffersTheUpdater) {
    folder.AddUpdaterStandIn();
    test::ScriptedServer server({Answer("TORVEK|1")}, kUpdatePort);
    RunningProgram first(folder);
    ASSERT_NE(first.main, nullptr);
    Process check;
    ASSERT_TRUE(check.Start(folder.Program(), L"/checkupdate"));
    // The instance's windows are asked to close; closing its main window ends it.
    EXPECT_EQ(first.process.WaitForExit(), 0);
    const auto question = WaitForMessageBox(check.Id());
    ASSERT_NE(question.window, nullptr);
    EXPECT_EQ(question.owner, nullptr);
    EXPECT_EQ(question.title, Caption(u"KVMainForm", u"KVMainForm"));
    EXPECT_EQ(question.text, Caption(u"KVUpdateForm", u"MessageBoxUpdate1") + L"\r\n\r\n" +
                                 Caption(u"KVUpdateForm", u"MessageBoxUpdate2"));
    SaveScreenshot(question.window, "update-question-96");
    question.Press(IDYES);
    EXPECT_EQ(check.WaitForExit(), 0);
    EXPECT_TRUE(WaitUntil([&] { return folder.UpdaterRan(); }, 10000));
    first.main = nullptr;
}

TEST_F(StartupDriver, TheUpdateRuleStartsACheckAfterMoreThan45Days) {
    // Just past 46 whole days, and a minute short of them: the rounding of
    // the stamp and the time the program takes to start fit in the margins.
    constexpr int kDay = 86400;
    const struct {
        int secondsBack;
        bool checks;
    } cases[] = {{46 * kDay + 2, true}, {46 * kDay - 60, false}};
    for (const auto& [secondsBack, checks] : cases) {
        test::ScriptedServer server({Answer("TORVEK|0")}, kUpdatePort);
        WriteRegString(Registry(), HKLM, kProgramKey, u"UpdatedDate", StampSecondsBack(secondsBack),
                       false);
        RunningProgram program(folder);
        ASSERT_NE(program.main, nullptr);
        // The check-mode copy asks the web site, then ends.
        const bool asked = WaitUntil([&] { return server.Connections() > 0; }, 8000);
        EXPECT_EQ(asked, checks) << secondsBack << " seconds back";
        EXPECT_EQ(program.Close(), 0);
    }
}

TEST_F(StartupDriver, F1InTheAboutWindowOpensHelpFromTheSystemFolder) {
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    EXPECT_EQ(program.ModulePath(L"hhctrl.ocx"), L"");
    program.ClickWithMouse(u"NavStatic4");
    HWND about = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (about = FindTopWindow(L"TKVAboutForm", program.process.Id())); }));
    PostMessageW(FindControl(about, AboutControlId(u"CloseButton")), WM_KEYDOWN, VK_F1, 0);
    ASSERT_TRUE(WaitUntil([&] { return !program.ModulePath(L"hhctrl.ocx").empty(); }, 10000));
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring help = program.ModulePath(L"hhctrl.ocx");
    EXPECT_EQ(_wcsnicmp(help.c_str(), system, wcslen(system)), 0) << help.c_str();
    PostMessageW(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(about); }, 5000));
    EXPECT_EQ(program.Close(), 0);
}

} // namespace
} // namespace kavrolt::e2e
