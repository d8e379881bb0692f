#include "app/Startup.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"

#include "common/RegistryEnvironment.h"

#include <gtest/gtest.h>

namespace kavrolt::test {
namespace {

constexpr auto HKLM = kHkeyLocalMachine;

class RecordingStartup : public StartupHost {
public:
    MemoryRegistryStore store;
    std::int32_t now = 1583334309;
    int updateResult = 0;
    int answer = 7;
    bool runningInstance = false;
    std::vector<std::string> calls;

    RegistryStore& Registry() override { return store; }
    std::int32_t NowStamp() override { return now++; }
    int CheckForUpdate() override {
        calls.push_back("check");
        return updateResult;
    }
    void CloseWindowOfClass(std::u16string_view className) override {
        calls.push_back("close " + Narrow(className));
    }
    int AskWithoutOwner(std::u16string_view text, std::u16string_view caption,
                        unsigned flags) override {
        calls.push_back("ask " + Narrow(text) + " | " + Narrow(caption) + " | " +
                        std::to_string(flags));
        return answer;
    }
    std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) override {
        return std::u16string(window) + u"." + std::u16string(key);
    }
    std::u16string ProgramFolder() override { return u"C:\\Kavrolt\\"; }
    void RunProgram(std::u16string_view file, std::u16string_view parameters) override {
        calls.push_back("run " + Narrow(file) + " [" + Narrow(parameters) + "]");
    }
    bool ActivateRunningInstance(std::u16string_view className, bool activate) override {
        calls.push_back("activate " + Narrow(className) + (activate ? " true" : " false"));
        return runningInstance;
    }
    void RunWindows() override { calls.push_back("windows"); }

    std::u16string Text(std::u16string_view name) {
        return ReadRegString(store, HKLM, kProgramKey, name, u"", false);
    }

private:
    static std::string Narrow(std::u16string_view text) {
        return std::string(text.begin(), text.end());
    }
};

TEST(Startup, TheSwitchIsTheFirstParameterInAnyCase) {
    const std::pair<std::vector<std::u16string>, bool> cases[] = {
        {{}, false},
        {{u"/checkupdate"}, true},
        {{u"/CHECKUPDATE"}, true},
        {{u"/CheckUpdate", u"extra"}, true},
        {{u"-checkupdate"}, false},
        {{u"/other", u"/checkupdate"}, false},
        {{u"/checkupdates"}, false},
    };
    for (const auto& [parameters, check] : cases)
        EXPECT_EQ(IsCheckMode(parameters), check) << parameters.size();
}

TEST(Startup, FirstStartWritesInstalledDateOnlyOnce) {
    RecordingStartup host;
    EXPECT_EQ(RunStartup(host, {}), 0);
    EXPECT_EQ(host.Text(u"InstalledDate"), u"1583334309");
    EXPECT_EQ(host.Text(u"UpdatedDate"), u"");
    RunStartup(host, {});
    EXPECT_EQ(host.Text(u"InstalledDate"), u"1583334309");
    // An empty value counts as missing.
    WriteRegString(host.store, HKLM, kProgramKey, u"InstalledDate", u"", false);
    RunStartup(host, {});
    EXPECT_EQ(host.Text(u"InstalledDate"), u"1583334310");
}

TEST(Startup, AStartAfterAnUpdateStampsUpdatedDateOnce) {
    RecordingStartup host;
    WriteRegBool(host.store, HKLM, kProgramKey, u"Updated", true, false);
    RunStartup(host, {});
    EXPECT_FALSE(ReadRegBool(host.store, HKLM, kProgramKey, u"Updated", true, false));
    EXPECT_EQ(host.Text(u"UpdatedDate"), u"1583334310");
    RunStartup(host, {});
    EXPECT_EQ(host.Text(u"UpdatedDate"), u"1583334310");
}

TEST(Startup, NormalModeCreatesWindowsUnlessAnInstanceRuns) {
    RecordingStartup host;
    RunStartup(host, {u"/other"});
    EXPECT_EQ(host.calls, (std::vector<std::string>{"activate TKVMainForm true", "windows"}));
    host.calls.clear();
    host.runningInstance = true;
    EXPECT_EQ(RunStartup(host, {}), 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"activate TKVMainForm true"}));
}

TEST(Startup, CheckModeAsksOnlyWhenAnUpdateIsAvailable) {
    for (int result : {-1, 0, 2}) {
        RecordingStartup host;
        host.updateResult = result;
        RunStartup(host, {u"/checkupdate"});
        EXPECT_EQ(host.calls, (std::vector<std::string>{"check", "activate TKVMainForm true"}))
            << result;
    }
    for (int answer : {6, 7}) {
        RecordingStartup host;
        host.updateResult = 1;
        host.answer = answer;
        RunStartup(host, {u"/CheckUpdate"});
        std::vector<std::string> expected = {
            "check", "close TKVAboutForm", "close TKVSettingsForm", "close TKVMainForm",
            "ask KVUpdateForm.MessageBoxUpdate1\r\n\r\nKVUpdateForm.MessageBoxUpdate2 | "
            "KVMainForm.KVMainForm | 68"};
        if (answer == 6)
            expected.push_back("run C:\\Kavrolt\\KavroltUpdate.exe []");
        expected.push_back("activate TKVMainForm true");
        EXPECT_EQ(host.calls, expected);
    }
}

using Parameters = std::vector<std::u16string>;

TEST(StartupCommandLine, TheProgramNameIsLeftOutQuotedOrNot) {
    EXPECT_EQ(SplitCommandLine(u"C:\\Kavrolt\\Kavrolt.exe"), Parameters{});
    EXPECT_EQ(SplitCommandLine(u"\"C:\\Program Files\\Kavrolt\\Kavrolt.exe\" /checkupdate"),
              Parameters{u"/checkupdate"});
    EXPECT_EQ(SplitCommandLine(u"Kavrolt.exe /CHECKUPDATE"), Parameters{u"/CHECKUPDATE"});
    // Backslashes in the program name are never escapes.
    EXPECT_EQ(SplitCommandLine(u"\"C:\\dir\\\" x"), Parameters{u"x"});
    EXPECT_EQ(SplitCommandLine(u""), Parameters{});
}

TEST(StartupCommandLine, BlanksSeparateParametersOutsideQuotes) {
    EXPECT_EQ(SplitCommandLine(u"k.exe  a\tb   c  "), (Parameters{u"a", u"b", u"c"}));
    EXPECT_EQ(SplitCommandLine(u"k.exe \"a b\" c\"d e\"f"), (Parameters{u"a b", u"cd ef"}));
    EXPECT_EQ(SplitCommandLine(u"k.exe \"\""), Parameters{u""});
    EXPECT_EQ(SplitCommandLine(u"k.exe \"open to the end"), Parameters{u"open to the end"});
}

TEST(StartupCommandLine, BackslashesEscapeOnlyBeforeAQuote) {
    EXPECT_EQ(SplitCommandLine(u"k.exe a\\b c\\\\d"), (Parameters{u"a\\b", u"c\\\\d"}));
    // 2n backslashes and a quote: n backslashes, the quote opens or closes.
    EXPECT_EQ(SplitCommandLine(u"k.exe a\\\\\"b c\""), Parameters{u"a\\b c"});
    // 2n + 1 backslashes and a quote: n backslashes and a literal quote.
    EXPECT_EQ(SplitCommandLine(u"k.exe a\\\"b"), Parameters{u"a\"b"});
    EXPECT_EQ(SplitCommandLine(u"k.exe a\\\\\\\"b"), Parameters{u"a\\\"b"});
    EXPECT_EQ(SplitCommandLine(u"k.exe \"C:\\dir\\\\\" x"), (Parameters{u"C:\\dir\\", u"x"}));
}

TEST(StartupCommandLine, TwoQuotesInsideAQuotedPartGiveOne) {
    EXPECT_EQ(SplitCommandLine(u"k.exe \"a\"\"b\" c"), (Parameters{u"a\"b", u"c"}));
    EXPECT_EQ(SplitCommandLine(u"k.exe \"say \"\"hi\"\"\""), Parameters{u"say \"hi\""});
}

} // namespace
} // namespace kavrolt::test
