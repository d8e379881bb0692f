// The caption table that ships in the program, read from the source tree.
#include "appearance/Captions.h"
#include "text/TextCodecs.h"
#include "registry/MemoryRegistryStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

namespace kavrolt {
namespace {

std::vector<std::uint8_t> ShippedBytes() {
    std::ifstream file(KAVROLT_RESOURCES_DIR "/english.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct ShippedTable : ::testing::Test {
    MemoryRegistryStore registry;
    std::vector<std::uint8_t> bytes = ShippedBytes();
    CaptionSource source{
        registry,
        [this](std::u16string_view name) -> std::optional<std::vector<std::uint8_t>> {
            if (name == u"english")
                return bytes;
            return std::nullopt;
        },
        DecodeCodePage1252};
};

struct Row {
    std::u16string_view window, key, text;
};

// Every row with a fixed text, among them all that the runs and start-up look up.
const Row kRows[] = {
    {u"KVMainForm", u"KVMainForm", u"Kavrolt - Make your games and computer run faster"},
    {u"KVMainForm", u"BenefitsLabel", u"Benefits of Kavrolt"},
    {u"KVMainForm", u"BenefitsDescription",
     u"Kavrolt will optimize this computer by adjusting several settings within Windows.  "
     u"These changes may fix problems with your computer and improve gaming performance."},
    {u"KVMainForm", u"OSVersionLabel", u"Operating System : "},
    {u"KVMainForm", u"ProcessorTypeLabel", u"Processor : "},
    {u"KVMainForm", u"SpeedLabel", u"Speed Setting : "},
    {u"KVMainForm", u"FastLabel", u"Boost"},
    {u"KVMainForm", u"FasterLabel", u"Maximum Boost"},
    {u"KVMainForm", u"VersionInstalledLabel", u"Version installed : "},
    {u"KVMainForm", u"SoftwareLastUpdateLabel", u"Last updated : "},
    {u"KVMainForm", u"NavStatic1", u"Help"},
    {u"KVMainForm", u"NavStatic2", u"Home"},
    {u"KVMainForm", u"NavStatic3", u"Support"},
    {u"KVMainForm", u"NavStatic4", u"About"},
    {u"KVMainForm", u"NavLabel2", u"Choose a link below"},
    {u"KVMainForm", u"LinkLabel4", u"Help with Kavrolt"},
    {u"KVMainForm", u"LinkLabel5", u"Contact tech support"},
    {u"KVMainForm", u"LinkLabel6", u"Click to visit our website"},
    {u"KVMainForm", u"LinkLabel7", u"About Kavrolt"},
    {u"KVMainForm", u"GoButton", u"&Optimize now"},
    {u"KVMainForm", u"RestoreButton", u"&Restore"},
    {u"KVMainForm", u"UpdatesButton", u" &Check for updates ..."},
    {u"KVMainForm", u"HelpFilePopup", u"Get &help with Kavrolt"},
    {u"KVMainForm", u"TechSupportPopup", u"&Contact technical support"},
    {u"KVMainForm", u"MessageBoxReset1",
     u"This will restore all changes made to the computer's gaming and system performance "
     u"settings to their original recommended values."},
    {u"KVMainForm", u"MessageBoxReset2", u"Click OK to continue."},
    {u"KVMainForm", u"MessageBoxChangeRestart1",
     u"The changes to the computer's gaming and system performance settings have finished."},
    {u"KVMainForm", u"MessageBoxChangeRestart2",
     u"You will need to restart Windows for the changes to become active."},
    {u"KVMainForm", u"MessageBoxChangeRestart3",
     u"Click Yes to restart the computer now, or click No to restart later."},
    {u"KVMainForm", u"MessageBoxChangeIncomplete1",
     u"Some of the computer's gaming and system performance settings could not be changed."},
    {u"KVMainForm", u"MessageBoxNoRights1",
     u"Kavrolt could not change the computer's settings, because it is not running with "
     u"administrator rights."},
    {u"KVMainForm", u"MessageBoxNoRights2",
     u"Right-click Kavrolt and choose Run as administrator, then try again."},
    {u"KVAboutForm", u"KVAboutForm", u"About Kavrolt"},
    {u"KVAboutForm", u"BannerLabel", u"More information about this software"},
    {u"KVAboutForm", u"VersionLabel", u"Kavrolt 2  (Version : "},
    {u"KVAboutForm", u"LicenseAgreementLabel", u"Click to view the end-user license terms"},
    {u"KVAboutForm", u"HelpButton", u"&Help"},
    {u"KVAboutForm", u"CloseButton", u"&Close"},
    {u"KVSettingsForm", u"KVSettingsForm",
     u"Updating computer's gaming and system performance settings"},
    {u"KVSettingsForm", u"MessageUpdate",
     u"Optimizing the computer's gaming and system performance settings"},
    {u"KVSettingsForm", u"MessageRestore",
     u"Restoring the computer's gaming and system performance settings"},
    {u"KVSettingsForm", u"MessageChange1", u"Finding computer information"},
    {u"KVSettingsForm", u"MessageChange2", u"Finding total physical memory installed"},
    {u"KVSettingsForm", u"MessageChange3", u"Finding hardware adapters"},
    {u"KVSettingsForm", u"MessageChange4", u"Finding display device"},
    {u"KVSettingsForm", u"MessageChange5", u"Finding 3D graphics device"},
    {u"KVSettingsForm", u"MessageChange6", u"Finding processor information"},
    {u"KVSettingsForm", u"MessageChange7", u"Finding input devices"},
    {u"KVSettingsForm", u"MessageChange8", u"Finding hard drives"},
    {u"KVSettingsForm", u"MessageChange9", u"Backing up gaming settings"},
    {u"KVSettingsForm", u"MessageChange10", u"Writing new gaming and system settings"},
    {u"KVSettingsForm", u"MessageChange11", u"Restoring gaming and system settings"},
    {u"KVUpdateForm", u"MessageBoxUpdate1",
     u"An update for this software is available to download."},
    {u"KVUpdateForm", u"MessageBoxUpdate2",
     u"Do you want to download and install a new version of this software?"},
};

std::string Narrow(std::u16string_view text) {
    return {text.begin(), text.end()};
}

TEST_F(ShippedTable, HoldsEveryRowWithItsExactText) {
    ASSERT_FALSE(bytes.empty()) << "cannot read " KAVROLT_RESOURCES_DIR "/english.txt";
    for (const auto& row : kRows)
        EXPECT_EQ(LoadCaption(source, row.window, row.key), row.text)
            << Narrow(row.window) << ", " << Narrow(row.key);
}

TEST_F(ShippedTable, IsCodePage1252WithCrLfAndOneEmptyLineBetweenWindows) {
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_FALSE(bytes[0] == 0xEF || bytes[0] == 0xFF || bytes[0] == 0xFE) << "byte-order mark";
    const std::string raw(bytes.begin(), bytes.end());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r') {
            EXPECT_TRUE(i + 1 < raw.size() && raw[i + 1] == '\n') << "lone CR at " << i;
        }
        if (raw[i] == '\n') {
            EXPECT_TRUE(i > 0 && raw[i - 1] == '\r') << "lone LF at " << i;
        }
    }

    // Split at CR LF by hand, keeping the empty lines.
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < raw.size();) {
        const auto end = raw.find("\r\n", start);
        lines.push_back(raw.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? raw.size() : end + 2;
    }
    std::vector<std::u16string> windows;
    int blankBehindQuote = 0;
    bool afterEmpty = true;
    for (const auto& line : lines) {
        if (line.empty()) {
            EXPECT_FALSE(afterEmpty) << "two empty lines in a row";
            afterEmpty = true;
            continue;
        }
        const auto fields = SplitCaptionRow(DecodeCodePage1252(line));
        ASSERT_EQ(fields.size(), 3u) << line;
        if (afterEmpty)
            windows.push_back(fields[0]);
        else
            EXPECT_EQ(fields[0], windows.back())
                << "window changes without an empty line: " << line;
        afterEmpty = false;
        if (line.size() > 1 && line.back() == ' ' && line[line.size() - 2] == '"')
            ++blankBehindQuote;
    }
    EXPECT_EQ(windows, (std::vector<std::u16string>{u"KVMainForm", u"KVAboutForm",
                                                    u"KVSettingsForm", u"KVUpdateForm"}));
    EXPECT_EQ(blankBehindQuote, 2);
}

TEST_F(ShippedTable, HoldsTheUnusedRowsAndTheTextsLeftToUs) {
    const auto lines = SplitCaptionLines(DecodeCaptionText(bytes, DecodeCodePage1252));
    std::set<std::u16string> updateKeys;
    bool emptyWarning = false;
    for (const auto& line : lines) {
        const auto fields = SplitCaptionRow(line);
        ASSERT_GE(fields.size(), 3u);
        if (fields[0] == u"KVUpdateForm")
            updateKeys.insert(fields[1]);
        if (fields[0] == u"KVAboutForm" && fields[1] == u"CopyrightWarningLabel")
            emptyWarning = fields[2].empty();
    }
    EXPECT_TRUE(emptyWarning);
    EXPECT_GT(updateKeys.size(), 2u);
    EXPECT_FALSE(LoadCaption(source, u"KVMainForm", u"PerformanceHeading").empty());

    const auto copyright = LoadCaption(source, u"KVAboutForm", u"CopyrightLabel");
    EXPECT_NE(copyright.find(u"Copyright \u00A9"), std::u16string::npos);
    EXPECT_NE(copyright.find(u"TORVEK"), std::u16string::npos);
    const auto credits = LoadCaption(source, u"KVAboutForm", u"LicensedMemo");
    for (std::u16string_view part : {u"artwork", u"interface elements", u"Boost", u"HTTP",
                                     u"tooltip", u"http://www.torvek.com/support/"})
        EXPECT_NE(credits.find(part), std::u16string::npos) << Narrow(part);
}

TEST_F(ShippedTable, GivesTheMainWindowItsTexts) {
    FormModel form;
    form.name = u"KVMainForm";
    const std::pair<const char16_t*, ComponentKind> parts[] = {
        {u"GoButton", ComponentKind::Button},
        {u"UpdatesButton", ComponentKind::Button},
        {u"NavStatic4", ComponentKind::Label},
    };
    for (const auto& [name, kind] : parts) {
        Component c;
        c.name = name;
        c.kind = kind;
        form.components.push_back(c);
    }
    ApplyCaptions(source, form);
    EXPECT_EQ(form.title, u"Kavrolt - Make your games and computer run faster");
    EXPECT_EQ(form.components[0].text, u"&Optimize now");
    EXPECT_EQ(form.components[1].text, u" &Check for updates ...");
    EXPECT_EQ(form.components[2].text, u"About");
}

} // namespace
} // namespace kavrolt
