// Keys and clicks as a user's hands give them (SendInput), where the dialog
// manager, mouse capture and modal loops decide what happens.
#include "e2e/DriverSupport.h"

#include "services/Product.h"
#include "common/UpdateCheckServer.h"

#include <aclapi.h>

namespace kavrolt::e2e {
namespace {

constexpr auto HKLM = kHkeyLocalMachine;
constexpr std::uint16_t kUpdatePort = 18480; // where the end-to-end build asks

class RealInputDriver : public ::testing::Test {
protected:
    void SetUp() override { ClearProgramState(); }
    ProgramFolder folder;
};

// Nothing that a wrong key or click could start: no web page, no About
// window, no message box, and the main window still there and usable.
void ExpectNothingHappened(const RunningProgram& program, const WebBrowserStandIn& browser,
                           const std::string& what) {
    Sleep(1500);
    EXPECT_EQ(browser.Opened(), L"") << what;
    EXPECT_EQ(FindTopWindow(L"TKVAboutForm", program.process.Id()), nullptr) << what;
    EXPECT_EQ(FindTopWindow(L"#32770", program.process.Id()), nullptr) << what;
    EXPECT_TRUE(IsWindowVisible(program.main)) << what;
    EXPECT_TRUE(IsWindowEnabled(program.main)) << what;
}

TEST_F(RealInputDriver, EscapeInTheMainWindowDoesNothingWhereverTheFocusIs) {
    WebBrowserStandIn browser(folder);
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    ASSERT_TRUE(BringToFront(program.main));
    for (auto name :
         {u"WindowsCombo", u"ProcessorCombo", u"SpeedTrackBar", u"GoButton", u"UpdatesButton"}) {
        const std::string what(name, name + std::char_traits<char16_t>::length(name));
        ASSERT_TRUE(TabTo(program.main, program.Control(name))) << what;
        PressKeys({VK_ESCAPE});
        ExpectNothingHappened(program, browser, "Escape on " + what);
    }
    EXPECT_EQ(program.Close(), 0);
}

TEST_F(RealInputDriver, EnterPressesOptimizeNowAndAltF1OpensHelp) {
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    ASSERT_TRUE(BringToFront(program.main));
    ASSERT_TRUE(TabTo(program.main, program.Control(u"SpeedTrackBar")));
    PressKeys({VK_RETURN});
    const auto restart = WaitForMessageBox(program.process.Id());
    ASSERT_NE(restart.window, nullptr) << "Enter did not press Optimize now";
    EXPECT_EQ(restart.text.rfind(Caption(u"KVMainForm", u"MessageBoxChangeRestart1"), 0), 0u);
    restart.Press(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; }));

    EXPECT_EQ(program.ModulePath(L"hhctrl.ocx"), L"");
    ASSERT_TRUE(BringToFront(program.main));
    PressKeys({VK_MENU, VK_F1});
    EXPECT_TRUE(WaitUntil([&] { return !program.ModulePath(L"hhctrl.ocx").empty(); }, 10000))
        << "Alt+F1 did not open help";
    EXPECT_EQ(program.Close(), 0);
}

TEST_F(RealInputDriver, PicturesAndLinksActOnlyOnAPressAndAReleaseOnThem) {
    WebBrowserStandIn browser(folder);
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    const POINT background = ClientToScreenPoint(program.main, 450, 30);
    const POINT supportPicture = ClientToScreenPoint(program.main, 561, 62); // NavButton3 alone
    const POINT supportLabel = CentreOf(program.Control(u"NavStatic3"));
    const POINT supportLink = CentreOf(program.Control(u"LinkLabel5"));
    const POINT helpPicture = ClientToScreenPoint(program.main, 676, 20); // NavButton1

    struct Drag {
        const char* what;
        POINT down, up;
    };
    const Drag drags[] = {
        {"from the background onto a picture", background, supportPicture},
        {"from the background onto its label", background, supportLabel},
        {"from the background onto a link", background, supportLink},
        {"from a picture off it", supportPicture, background},
        {"from a link off it", supportLink, background},
    };
    for (const Drag& drag : drags) {
        MovePointerTo(drag.down);
        LeftButton(true);
        MovePointerTo(drag.up);
        LeftButton(false);
        ExpectNothingHappened(program, browser, drag.what);
    }

    // The click that closes the help menu lands on a picture.
    ClickAt(helpPicture);
    ASSERT_TRUE(WaitUntil([&] { return FindTopWindow(L"#32768", program.process.Id()); }, 5000))
        << "the help menu did not open";
    ClickAt(supportPicture);
    EXPECT_TRUE(WaitUntil([&] { return !FindTopWindow(L"#32768", program.process.Id()); }, 5000));
    ExpectNothingHappened(program, browser, "the click that closed the menu");

    // A press and a release on the same picture, label or link opens the page.
    for (POINT target : {supportPicture, supportLabel, supportLink}) {
        browser.Forget();
        ClickAt(target);
        ASSERT_TRUE(WaitUntil([&] { return !browser.Opened().empty(); }, 15000))
            << "a click at " << target.x << "," << target.y << " opened nothing";
        EXPECT_NE(browser.Opened().find(L"torvek.com/support"), std::wstring::npos)
            << browser.Opened().c_str();
    }
    EXPECT_EQ(program.Close(), 0);
}

TEST_F(RealInputDriver, TheAboutWindowKeepsItsKeyboardOrderAndEscapeClosesNothing) {
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    program.ClickWithMouse(u"LinkLabel7");
    HWND about = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (about = FindTopWindow(L"TKVAboutForm", program.process.Id())); }));
    ASSERT_TRUE(BringToFront(about));
    HWND close = FindControl(about, AboutControlId(u"CloseButton"));
    HWND memo = FindControl(about, AboutControlId(u"LicensedMemo"));
    HWND help = FindControl(about, AboutControlId(u"HelpButton"));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == close; }, 5000));
    // Tab goes Close, memo, Help and round again; Shift+Tab goes back.
    for (HWND next : {memo, help, close, memo}) {
        PressKeys({VK_TAB});
        EXPECT_EQ(FocusOf(about), next);
    }
    PressKeys({VK_SHIFT, VK_TAB});
    EXPECT_EQ(FocusOf(about), close);

    for (HWND focus : {memo, close, help}) {
        ASSERT_TRUE(TabTo(about, focus));
        PressKeys({VK_ESCAPE});
        Sleep(500);
        EXPECT_TRUE(IsWindowVisible(about));
        for (HWND control : {close, memo, help}) {
            EXPECT_TRUE(IsWindow(control)) << "Escape destroyed a control";
            EXPECT_TRUE(IsWindowVisible(control));
        }
    }
    // Enter presses Close, from the memo too.
    ASSERT_TRUE(TabTo(about, memo));
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(about); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; }, 5000));
    EXPECT_EQ(program.Close(), 0);
}

std::string Answer(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

TEST_F(RealInputDriver, CheckModeEndsTheInstanceWhileItsAboutWindowIsOpen) {
    test::ScriptedServer server({Answer("TORVEK|1")}, kUpdatePort);
    RunningProgram first(folder);
    ASSERT_NE(first.main, nullptr);
    first.ClickWithMouse(u"LinkLabel7");
    ASSERT_TRUE(WaitUntil([&] { return FindTopWindow(L"TKVAboutForm", first.process.Id()); }));
    Process check;
    ASSERT_TRUE(check.Start(folder.Program(), L"/checkupdate"));
    const auto question = WaitForMessageBox(check.Id());
    ASSERT_NE(question.window, nullptr);
    question.Press(IDNO);
    EXPECT_EQ(check.WaitForExit(), 0);
    EXPECT_EQ(first.process.WaitForExit(), 0) << "the first instance went on without a window";
    first.main = nullptr;
}

// Denies writing to a key of the real registry while it lives, through the
// key's DACL, and puts the DACL back afterwards.
class DeniedWrite {
public:
    DeniedWrite(RegRoot root, std::u16string_view path) {
        std::wstring subKey = Wide(path.substr(1));
        if (!subKey.empty() && subKey.back() == L'\\')
            subKey.pop_back();
        HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
        if (RegCreateKeyExW(rootKey, subKey.c_str(), 0, nullptr, 0, READ_CONTROL | WRITE_DAC,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open the key to deny";
            return;
        }
        DWORD size = 0;
        RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size);
        if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size) !=
            ERROR_SUCCESS)
            saved_.clear();
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone_);
        acl_.resize(512);
        auto* acl = reinterpret_cast<ACL*>(acl_.data());
        InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION);
        AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE | KEY_CREATE_SUB_KEY, everyone_);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone_);
        SECURITY_DESCRIPTOR descriptor{};
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
        EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
    }
    ~DeniedWrite() {
        if (key_ && !saved_.empty())
            RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data());
        if (key_)
            RegCloseKey(key_);
        if (everyone_)
            FreeSid(everyone_);
    }
    DeniedWrite(const DeniedWrite&) = delete;
    DeniedWrite& operator=(const DeniedWrite&) = delete;

private:
    HKEY key_ = nullptr;
    PSID everyone_ = nullptr;
    std::vector<BYTE> saved_;
    std::vector<BYTE> acl_;
};

TEST_F(RealInputDriver, WithoutRightsToProgramKeyTheRunChangesNothing) {
    WriteRegString(Registry(), HKLM, kProgramKey, u"InstalledDate", u"1583334309", false);
    DeniedWrite denied(HKLM, kProgramKey);
    HKEY probe = nullptr;
    std::wstring programKey = Wide(kProgramKey.substr(1));
    programKey.pop_back();
    ASSERT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, programKey.c_str(), 0, KEY_SET_VALUE, &probe),
              ERROR_SUCCESS)
        << "the DACL does not deny writing";
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    program.ClickWithMouse(u"GoButton");
    const auto box = WaitForMessageBox(program.process.Id());
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, Caption(u"KVMainForm", u"MessageBoxNoRights1") + L"\r\n\r\n" +
                            Caption(u"KVMainForm", u"MessageBoxNoRights2"));
    box.Press(IDOK);
    for (const auto& row : kTweakCatalogue)
        EXPECT_FALSE(RawValue(row.root, row.path, row.name)) << Wide(row.name).c_str();
    EXPECT_FALSE(RawValue(HKLM, kProgramKey, u"Restore"));
    EXPECT_EQ(program.Close(), 0);
}

// Clicks Restore, confirms, and answers No to the restart question; the
// question's first paragraph, or empty when a box did not come.
std::wstring RestoreAndAnswerNo(const RunningProgram& program) {
    program.ClickWithMouse(u"RestoreButton");
    const auto confirm = WaitForMessageBox(program.process.Id());
    if (!confirm.window)
        return L"";
    confirm.Press(IDOK);
    WaitUntil([&] { return !IsWindow(confirm.window); });
    const auto restart = WaitForMessageBox(program.process.Id());
    if (!restart.window)
        return L"";
    restart.Press(IDNO);
    WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; });
    return restart.text.substr(0, restart.text.find(L"\r\n"));
}

TEST_F(RealInputDriver, AFailedWriteBackKeepsEveryBackupForALaterRestore) {
    const auto& memory = kTweakCatalogue[12]; // row 13, in Memory Management
    WriteRegInteger(Registry(), memory.root, memory.path, memory.name, 1, false);
    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    program.ClickWithMouse(u"GoButton");
    auto box = WaitForMessageBox(program.process.Id());
    ASSERT_NE(box.window, nullptr);
    box.Press(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.Control(u"RestoreButton")); }));
    const auto optimized = RawValue(memory.root, memory.path, memory.name);
    const auto backup = RawValue(HKLM, kProgramKey, memory.name);
    ASSERT_TRUE(backup);
    {
        DeniedWrite denied(memory.root, memory.path);
        EXPECT_EQ(RestoreAndAnswerNo(program),
                  Caption(u"KVMainForm", u"MessageBoxChangeIncomplete1"));
        EXPECT_TRUE(IsWindowEnabled(program.Control(u"RestoreButton")));
        EXPECT_EQ(RawValue(memory.root, memory.path, memory.name), optimized);
        EXPECT_EQ(RawValue(HKLM, kProgramKey, memory.name), backup);
        EXPECT_TRUE(RawValue(HKLM, kProgramKey, u"Restore"));
    }
    EXPECT_EQ(RestoreAndAnswerNo(program), Caption(u"KVMainForm", u"MessageBoxChangeRestart1"));
    EXPECT_FALSE(IsWindowEnabled(program.Control(u"RestoreButton")));
    EXPECT_EQ(ReadRegInteger(Registry(), memory.root, memory.path, memory.name, -1, false), 1);
    EXPECT_FALSE(RawValue(HKLM, kProgramKey, memory.name));
    EXPECT_FALSE(RawValue(HKLM, kProgramKey, u"Restore"));
    EXPECT_EQ(program.Close(), 0);
}

} // namespace
} // namespace kavrolt::e2e
