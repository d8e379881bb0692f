#include "services/Shell.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kavrolt {
namespace {

std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

TEST(Shell, FolderOfPathKeepsTheLastDelimiter) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"C:\\Tools\\Kavrolt.exe", u"C:\\Tools\\"},
        {u"C:\\Kavrolt.exe", u"C:\\"},
        {u"\\\\server\\share\\Kavrolt.exe", u"\\\\server\\share\\"},
        {u"C:Kavrolt.exe", u"C:"},
        {u"C:\\Tools\\", u"C:\\Tools\\"},
        {u"/opt/kavrolt/Kavrolt.exe", u"/opt/kavrolt/"},
        {u"Kavrolt.exe", u""},
        {u"", u""},
    };
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(FolderOfPath(path), folder) << Narrow(path);
}

struct Recorder {
    std::vector<ShellRequest> requests;
    std::vector<std::u16string> helpAddresses;
    WindowHandle application = reinterpret_cast<WindowHandle>(0x1234);

    ShellPlatform Platform() {
        return {[this](const ShellRequest& r) { requests.push_back(r); },
                [this] { return application; }, [] { return u"C:\\Tools\\"; },
                [this](const std::u16string& a) { helpAddresses.push_back(a); }};
    }
};

TEST(Shell, HelpAddressFromTheProgramFolder) {
    Recorder recorder;
    ShowHelpTopic(recorder.Platform(), u"Kavrolt.chm", u"/html/main.htm");
    ASSERT_EQ(recorder.helpAddresses.size(), 1u);
    EXPECT_EQ(recorder.helpAddresses[0], u"C:\\Tools\\Kavrolt.chm::/html/main.htm>HelpWindow");
    EXPECT_EQ(HelpAddress(FolderOfPath(u"D:\\A B\\Kavrolt.exe"), u"x.chm", u"/t.htm"),
              u"D:\\A B\\x.chm::/t.htm>HelpWindow");
    EXPECT_TRUE(recorder.requests.empty());
}

TEST(Shell, DocumentsAndAddressesAreOwnedByTheApplicationWindowProgramsByNone) {
    Recorder recorder;
    const ShellPlatform platform = recorder.Platform();
    OpenDocument(platform, u"C:\\Tools\\License.rtf", u"");
    RunProgram(platform, u"C:\\Tools\\Kavrolt.exe", u"/checkupdate");
    RunProgram(platform, u"C:\\Tools\\KavroltUpdate.exe", u"");
    OpenUrl(platform, u"https://example.invalid/support/");
    struct Expected {
        WindowHandle owner;
        std::u16string_view file, parameters;
    };
    const Expected expected[] = {
        {recorder.application, u"C:\\Tools\\License.rtf", u""},
        {nullptr, u"C:\\Tools\\Kavrolt.exe", u"/checkupdate"},
        {nullptr, u"C:\\Tools\\KavroltUpdate.exe", u""},
        {recorder.application, u"https://example.invalid/support/", u""},
    };
    ASSERT_EQ(recorder.requests.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const ShellRequest& r = recorder.requests[i];
        EXPECT_EQ(r.owner, expected[i].owner) << i;
        EXPECT_EQ(r.verb, u"open") << i;
        EXPECT_EQ(r.file, expected[i].file) << i;
        EXPECT_EQ(r.parameters, expected[i].parameters) << i;
        EXPECT_EQ(r.showCommand, 5) << i;
    }
}

TEST(Shell, FailuresOfThePlatformDoNotLeaveTheCalls) {
    const ShellPlatform failing{
        [](const ShellRequest&) { throw std::runtime_error("shell"); },
        []() -> WindowHandle { throw std::runtime_error("owner"); },
        []() -> std::u16string { throw std::runtime_error("folder"); },
        [](const std::u16string&) { throw std::runtime_error("help"); },
    };
    EXPECT_NO_THROW(OpenDocument(failing, u"a", u""));
    EXPECT_NO_THROW(RunProgram(failing, u"a", u""));
    EXPECT_NO_THROW(OpenUrl(failing, u"a"));
    EXPECT_NO_THROW(ShowHelpTopic(failing, u"a", u"b"));
}

// Records the token calls and the restart request, each as one line.
struct ShutdownRecorder {
    std::vector<std::string> calls;
    bool openWorks = true, lookupWorks = true, adjustWorks = true, exitThrows = false;
    TokenHandle token = reinterpret_cast<TokenHandle>(0x77);

    ShutdownPlatform Platform() {
        return {
            [this](std::uint32_t access, TokenHandle& out) {
                calls.push_back("open " + std::to_string(access));
                if (openWorks)
                    out = token;
                return openWorks;
            },
            [this](std::u16string_view name, PrivilegeId& id) {
                calls.push_back("lookup " + Narrow(name));
                id = {19, 0};
                return lookupWorks;
            },
            [this](TokenHandle t, PrivilegeId id, std::uint32_t attributes) {
                calls.push_back(std::string("adjust ") + (t == token ? "token" : "other") + " " +
                                std::to_string(id.low) + " " + std::to_string(attributes));
                return adjustWorks;
            },
            [this](TokenHandle t) { calls.push_back(t == token ? "close token" : "close other"); },
            [this](std::uint32_t flags, std::uint32_t reason) {
                calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reason));
                if (exitThrows)
                    throw std::runtime_error("exit");
                return true;
            },
        };
    }
};

TEST(Shell, RestartSwitchesThePrivilegeOnAroundTheRequest) {
    ShutdownRecorder recorder;
    RestartWindows(recorder.Platform());
    // 18 = EWX_REBOOT | EWX_FORCEIFHUNG; 40 = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY.
    const std::vector<std::string> expected = {
        "open 40", "lookup SeShutdownPrivilege", "adjust token 19 2", "close token", "exit 18 0",
        "open 40", "lookup SeShutdownPrivilege", "adjust token 19 0", "close token"};
    EXPECT_EQ(recorder.calls, expected);
}

TEST(Shell, PrivilegeStepsStopQuietlyAtAFailingCall) {
    struct Case {
        const char* name;
        bool openWorks, lookupWorks, adjustWorks;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"token not opened", false, true, true, {"open 40"}},
        {"privilege unknown",
         true,
         false,
         true,
         {"open 40", "lookup SeShutdownPrivilege", "close token"}},
        {"right not held",
         true,
         true,
         false,
         {"open 40", "lookup SeShutdownPrivilege", "adjust token 19 2", "close token"}},
    };
    for (const auto& c : cases) {
        ShutdownRecorder recorder;
        recorder.openWorks = c.openWorks;
        recorder.lookupWorks = c.lookupWorks;
        recorder.adjustWorks = c.adjustWorks;
        SetShutdownPrivilege(recorder.Platform(), true);
        EXPECT_EQ(recorder.calls, c.calls) << c.name;
    }
    // Without the privilege the restart is still asked for (and refused by the
    // system); the call returns normally.
    ShutdownRecorder refused;
    refused.openWorks = false;
    EXPECT_NO_THROW(RestartWindows(refused.Platform()));
    EXPECT_EQ(refused.calls, (std::vector<std::string>{"open 40", "exit 18 0", "open 40"}));
    // A failing request still switches the privilege off again.
    ShutdownRecorder throwing;
    throwing.exitThrows = true;
    EXPECT_NO_THROW(RestartWindows(throwing.Platform()));
    ASSERT_FALSE(throwing.calls.empty());
    EXPECT_EQ(throwing.calls[throwing.calls.size() - 2], "adjust token 19 0");
}

struct WindowRecorder {
    WindowHandle found = nullptr;
    std::vector<std::string> calls;
    bool showThrows = false;

    WindowPlatform Platform() {
        return {[this](std::u16string_view name) {
                    calls.push_back("find " + Narrow(name));
                    return found;
                },
                [this](WindowHandle, int command) {
                    calls.push_back("show " + std::to_string(command));
                    if (showThrows)
                        throw std::runtime_error("show");
                },
                [this](WindowHandle) { calls.push_back("foreground"); }};
    }
};

TEST(Shell, ActivateRunningInstance) {
    WindowRecorder none;
    EXPECT_FALSE(ActivateRunningInstance(none.Platform(), u"TKVMainForm", true));
    EXPECT_EQ(none.calls, (std::vector<std::string>{"find TKVMainForm"}));

    WindowRecorder found;
    found.found = reinterpret_cast<WindowHandle>(0x42);
    EXPECT_TRUE(ActivateRunningInstance(found.Platform(), u"TKVMainForm", true));
    EXPECT_EQ(found.calls, (std::vector<std::string>{"find TKVMainForm", "show 9", "foreground"}));

    WindowRecorder onlyAsk;
    onlyAsk.found = reinterpret_cast<WindowHandle>(0x42);
    EXPECT_TRUE(ActivateRunningInstance(onlyAsk.Platform(), u"TKVMainForm", false));
    EXPECT_EQ(onlyAsk.calls, (std::vector<std::string>{"find TKVMainForm"}));

    WindowRecorder failing;
    failing.found = reinterpret_cast<WindowHandle>(0x42);
    failing.showThrows = true;
    EXPECT_FALSE(ActivateRunningInstance(failing.Platform(), u"TKVMainForm", true));
}

} // namespace
} // namespace kavrolt
