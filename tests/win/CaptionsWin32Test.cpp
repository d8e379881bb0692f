// The caption table in the test program's own resources, which carry the
// shipped table as RCDATA "ENGLISH".
#include "appearance/Captions.h"
#include "text/TextCodecs.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kavrolt {
namespace {

void SetLanguage(MemoryRegistryStore& registry, std::u16string_view language) {
    std::vector<std::uint8_t> data;
    for (char16_t c : language) {
        data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        data.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    data.insert(data.end(), {0, 0});
    registry.Put(kHkeyLocalMachine, kProgramKey, u"Language", {kRegSz, data});
}

TEST(CaptionsWin32, FindsTheTableInTheOwnModuleWhateverTheCaseOfItsName) {
    const auto lower = ReadOwnRcData(u"english");
    ASSERT_TRUE(lower.has_value());
    EXPECT_GT(lower->size(), 1000u);
    EXPECT_EQ(ReadOwnRcData(u"ENGLISH"), lower);
    EXPECT_EQ(ReadOwnRcData(u"EnGlIsH"), lower);
    EXPECT_FALSE(ReadOwnRcData(u"german").has_value());
    EXPECT_FALSE(ReadOwnRcData(u"").has_value());
}

TEST(CaptionsWin32, LooksUpRowsOfTheRealResource) {
    // The product entry: "Language" from the registry of the prefix, where
    // the program never writes it, so the default table answers.
    EXPECT_EQ(LoadCaption(u"KVMainForm", u"GoButton"), u"&Optimize now");
    EXPECT_EQ(LoadCaption(u"kvupdateform", u"MESSAGEBOXUPDATE2"),
              u"Do you want to download and install a new version of this software?");
    EXPECT_EQ(LoadCaption(u"KVMainForm", u"NoSuchRow"), u"");

    MemoryRegistryStore registry;
    const CaptionSource source{registry, ReadOwnRcData, DecodeAnsiCodePage};
    SetLanguage(registry, u"ENGLISH");
    EXPECT_EQ(LoadCaption(source, u"KVSettingsForm", u"MessageChange8"), u"Finding hard drives");
    SetLanguage(registry, u"german");
    EXPECT_EQ(LoadCaption(source, u"KVSettingsForm", u"MessageChange8"), u"");

    SetLanguage(registry, u"english");
    FormModel form;
    form.name = u"KVAboutForm";
    Component label;
    label.name = u"VersionLabel";
    form.components.push_back(label);
    ApplyCaptions(source, form);
    EXPECT_EQ(form.title, u"About Kavrolt");
    EXPECT_EQ(form.components[0].text, u"Kavrolt 2  (Version : ");
}

TEST(CaptionsWin32, DecodesWithTheAnsiCodePage) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const auto decoded = DecodeAnsiCodePage(all);
    EXPECT_EQ(DecodeAnsiCodePage(""), u"");
    EXPECT_EQ(DecodeAnsiCodePage("Kavrolt"), u"Kavrolt");
    if (GetACP() != 1252)
        GTEST_SKIP() << "ANSI code page " << GetACP() << ", not 1252";
    EXPECT_EQ(decoded, DecodeCodePage1252(all));
    // The copyright line of the shipped table holds a code-page 1252 sign.
    EXPECT_NE(LoadCaption(u"KVAboutForm", u"CopyrightLabel").find(u"\u00A9"), std::u16string::npos);
}

} // namespace
} // namespace kavrolt
