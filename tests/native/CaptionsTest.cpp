#include "appearance/Captions.h"
#include "text/AsciiCase.h"
#include "text/TextCodecs.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace kavrolt {
namespace {

using Fields = std::vector<std::u16string>;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// A registry and a set of table resources. Resource names match without regard
// to ASCII case, as Windows matches them.
struct CaptionFixture {
    MemoryRegistryStore registry;
    std::map<std::u16string, std::vector<std::uint8_t>> tables;
    std::vector<std::u16string> asked;
    std::function<void()> onRead;

    CaptionSource Source() {
        return {registry,
                [this](std::u16string_view name) -> std::optional<std::vector<std::uint8_t>> {
                    asked.emplace_back(name);
                    if (onRead)
                        onRead();
                    const auto it = tables.find(FoldAscii(name));
                    if (it == tables.end())
                        return std::nullopt;
                    return it->second;
                },
                DecodeCodePage1252};
    }
    void Table(std::u16string_view name, std::string_view text) {
        tables[FoldAscii(name)] = Bytes(text);
    }
    void SetLanguage(std::u16string_view language) {
        std::vector<std::uint8_t> data;
        for (char16_t c : language) {
            data.push_back(static_cast<std::uint8_t>(c & 0xFF));
            data.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        data.insert(data.end(), {0, 0});
        registry.Put(kHkeyLocalMachine, kProgramKey, u"Language", {kRegSz, data});
    }
    std::u16string Load(std::u16string_view window, std::u16string_view key) {
        return LoadCaption(Source(), window, key);
    }
};

TEST(CaptionRow, SplitsAsTheTableFormatSays) {
    struct Case {
        std::u16string_view line;
        Fields fields;
    };
    const Case cases[] = {
        {u"KVMainForm, GoButton, \"&Optimize now\"",
         {u"KVMainForm", u"GoButton", u"&Optimize now"}},
        // A blank behind the closing quote belongs to no field.
        {u"KVMainForm, NavStatic4, \"About\" ", {u"KVMainForm", u"NavStatic4", u"About"}},
        {u"KVMainForm, NavStatic4, \"About\"\t\x01 ", {u"KVMainForm", u"NavStatic4", u"About"}},
        // Leading, inner and trailing spaces of a quoted text stay.
        {u"KVAboutForm, VersionLabel, \"Kavrolt 2  (Version : \"",
         {u"KVAboutForm", u"VersionLabel", u"Kavrolt 2  (Version : "}},
        {u"   \t A,B", {u"A", u"B"}},
        // An unquoted field ends at a blank; the words after it are fields.
        {u"a b", {u"a", u"b"}},
        {u"W, K, Two words here", {u"W", u"K", u"Two", u"words", u"here"}},
        {u"W, K, \"say \"\"hi\"\"\"", {u"W", u"K", u"say \"hi\""}},
        {u"W, K, \"\"\"\"", {u"W", u"K", u"\""}},
        {u"W, K, \"\"", {u"W", u"K", u""}},
        // Without its closing quote the field runs to the end of the line.
        {u"W, K, \"open, and more  ", {u"W", u"K", u"open, and more  "}},
        // Text directly behind a closing quote is a field of its own.
        {u"W, K, \"x\"y, z", {u"W", u"K", u"x", u"y", u"z"}},
        {u"\"a\"\"b\"c", {u"a\"b", u"c"}},
        // A comma as the last character adds an empty field; followed by
        // blanks it adds none.
        {u"W, K,", {u"W", u"K", u""}},
        {u"W, K, ", {u"W", u"K"}},
        {u"W, K", {u"W", u"K"}},
        {u"W,,K", {u"W", u"", u"K"}},
        {u"W, \t ,K", {u"W", u"", u"K"}},
        {u"W,,", {u"W", u"", u""}},
        {u",", {u"", u""}},
        {u"A;B|C", {u"A;B|C"}},
        {u"\u00C4rger, \u20AC", {u"\u00C4rger", u"\u20AC"}},
        // Only U+0001 to U+0020 are blanks.
        {u"a\u00A0b", {u"a\u00A0b"}},
        {std::u16string_view(u"a\0b c", 5), {std::u16string(u"a\0b", 3), u"c"}},
        // A line of blanks only has no field at all.
        {u"   ", {}},
        {u"\t\x01\x1F ", {}},
        {u"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCaptionRow(c.line), c.fields) << std::string(c.line.begin(), c.line.end());
}

TEST(CaptionText, LinesEndWithCrLfLoneCrOrLoneLfAndEmptyLinesAreSkipped) {
    EXPECT_EQ(SplitCaptionLines(u"a\r\nb\rc\nd"), (Fields{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(SplitCaptionLines(u"a\r\n\r\nb\r\n"), (Fields{u"a", u"b"}));
    EXPECT_EQ(SplitCaptionLines(u"a\n\rb"), (Fields{u"a", u"b"}));
    EXPECT_EQ(SplitCaptionLines(u"\r\r\n\n"), Fields{});
    // A line of blanks is no empty line: it stays, for the row splitter.
    EXPECT_EQ(SplitCaptionLines(u"a\r\n  \r\nb"), (Fields{u"a", u"  ", u"b"}));
}

TEST(CaptionText, AByteOrderMarkDecidesTheEncodingElseTheAnsiCodePage) {
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "K\xC3\xA9 \xE2\x82\xAC",
         u"K\u00E9 \u20AC"},
        {"\xEF\xBB\xBF"
         "\xF0\x9F\x8E\xAE",
         u"\U0001F3AE"},
        {"\xEF\xBB\xBF"
         "a\xFF"
         "b\xC3",
         u"a\uFFFDb\uFFFD"},
        // An overlong form and a surrogate: no byte of them starts a valid
        // prefix, so each gives U+FFFD.
        {"\xEF\xBB\xBF"
         "\xC0\xAF\xED\xA0\x80",
         u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xEF\xBB\xBF", u""},
        {std::string("\xFF\xFE"
                     "A\0\xAC\x20",
                     6),
         u"A\u20AC"},
        {std::string("\xFE\xFF\0A\x20\xAC", 6), u"A\u20AC"},
        // An odd last byte of UTF-16 gives U+FFFD.
        {std::string("\xFF\xFE"
                     "A\0B",
                     5),
         u"A\uFFFD"},
        // No mark: code page 1252 here, the five undefined bytes as C1 controls.
        {"\xA9 \x80\x85\x9F\x81\x8D\x8F\x90\x9D",
         u"\u00A9 \u20AC\u2026\u0178\u0081\u008D\u008F\u0090\u009D"},
        {"\xEF\xBB"
         "x",
         u"\u00EF\u00BBx"},
        {"\xFE"
         "A",
         u"\u00FEA"},
        {"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeCaptionText(Bytes(c.bytes), DecodeCodePage1252), c.text) << c.bytes;
}

TEST(LoadCaption, FindsTheRowIgnoringAsciiCaseAndTheLastMatchWins) {
    CaptionFixture f;
    f.Table(u"english", "KVMainForm, KVMainForm, \"Title\"\r\n"
                        "KVMainForm, MessageBoxReset2, \"Click OK to continue.\"\r\n"
                        "\r\n"
                        "KVSettingsForm, MessageChange1, \"First\"\r\n"
                        "KVSettingsForm, MessageChange1, \"Second\" \r\n"
                        "KVSettingsForm, M\xC4ssage, \"Non-ASCII key\"\r\n");
    EXPECT_EQ(f.Load(u"KVMainForm", u"MessageBoxReset2"), u"Click OK to continue.");
    EXPECT_EQ(f.Load(u"kvmainform", u"MESSAGEBOXRESET2"), u"Click OK to continue.");
    EXPECT_EQ(f.Load(u"KVMainForm", u"KVMainForm"), u"Title");
    EXPECT_EQ(f.Load(u"KVSettingsForm", u"MessageChange1"), u"Second");
    EXPECT_EQ(f.Load(u"KVSettingsForm", u"m\u00C4ssage"), u"Non-ASCII key");
    // Only ASCII letters fold.
    EXPECT_EQ(f.Load(u"KVSettingsForm", u"m\u00E4ssage"), u"");
    EXPECT_EQ(f.Load(u"KVSettingsForm", u"MessageBoxReset2"), u"");
    EXPECT_EQ(f.Load(u"KVMainForm", u"Missing"), u"");
    EXPECT_EQ(f.Load(u"", u""), u"");
}

TEST(LoadCaption, TheLanguageValueNamesTheTableAtEveryCall) {
    CaptionFixture f;
    f.Table(u"english", "W, K, \"English\"");
    f.Table(u"dutch", "W, K, \"Nederlands\"");
    // Missing, empty, and any case of the name select the table.
    EXPECT_EQ(f.Load(u"W", u"K"), u"English");
    f.SetLanguage(u"");
    EXPECT_EQ(f.Load(u"W", u"K"), u"English");
    f.SetLanguage(u"ENGLISH");
    EXPECT_EQ(f.Load(u"W", u"K"), u"English");
    f.SetLanguage(u"Dutch");
    EXPECT_EQ(f.Load(u"W", u"K"), u"Nederlands");
    f.SetLanguage(u"german");
    EXPECT_EQ(f.Load(u"W", u"K"), u"");
    // The name is looked up lower-cased, ASCII letters only.
    f.SetLanguage(u"\u00C7A-Z");
    f.Load(u"W", u"K");
    EXPECT_EQ(f.asked,
              (Fields{u"english", u"english", u"english", u"dutch", u"german", u"\u00C7a-z"}));
    // Nothing is cached: a changed table is read at the next call.
    f.SetLanguage(u"english");
    f.Table(u"english", "W, K, \"Changed\"");
    EXPECT_EQ(f.Load(u"W", u"K"), u"Changed");
}

TEST(LoadCaption, ATableInUtf16IsReadToo) {
    CaptionFixture f;
    static constexpr char kUtf16[] = "\xFF\xFEW\0,\0K\0,\0\"\0\xAC\x20\"\0";
    const std::string utf16(kUtf16, sizeof kUtf16 - 1);
    f.tables[u"english"] = Bytes(utf16);
    EXPECT_EQ(f.Load(u"w", u"k"), u"\u20AC");
}

TEST(LoadCaption, EndsAtTheFirstFailureWithTheResultFoundSoFar) {
    struct Case {
        const char* table;
        std::u16string expected;
    };
    const Case cases[] = {
        // A line of blanks only ends the lookup there.
        {"W, K, \"one\"\r\n   \r\nW, K, \"two\"", u"one"},
        {"\t\r\nW, K, \"two\"", u""},
        // A matching field 0 without field 1 ends it; a foreign one does not.
        {"W, K, \"one\"\r\nW\r\nW, K, \"two\"", u"one"},
        {"Other\r\nW, K, \"two\"", u"two"},
        // A matching row without field 2 ends it; one with another key does not.
        {"W, K, \"one\"\r\nW, K\r\nW, K, \"two\"", u"one"},
        {"W, K, \"one\"\r\nW, Other\r\nW, K, \"two\"", u"two"},
        // A comma after field 1 as the last character gives an empty text.
        {"W, K, \"one\"\r\nW, K,", u""},
        {"W, K, \"one\"\r\nW, K, ", u"one"},
        {"W, K, Two words", u"Two"},
    };
    for (const auto& c : cases) {
        CaptionFixture f;
        f.Table(u"english", c.table);
        EXPECT_EQ(f.Load(u"W", u"K"), c.expected) << c.table;
    }
}

TEST(LoadCaption, AFailingResourceReadGivesEmptyText) {
    CaptionFixture f;
    f.Table(u"english", "W, K, \"one\"");
    f.onRead = [] { throw std::runtime_error("resource"); };
    EXPECT_EQ(f.Load(u"W", u"K"), u"");
    CaptionSource noResources{f.registry, nullptr, DecodeCodePage1252};
    EXPECT_EQ(LoadCaption(noResources, u"W", u"K"), u"");
}

// A main window with controls of every kind, one of them on a panel.
FormModel MainForm() {
    FormModel form;
    form.name = u"KVMainForm";
    form.title = u"design title";
    const std::pair<const char16_t*, ComponentKind> parts[] = {
        {u"NavPanel", ComponentKind::Panel},           {u"NavLabel2", ComponentKind::Label},
        {u"GoButton", ComponentKind::Button},          {u"HelpFilePopup", ComponentKind::MenuItem},
        {u"LicensedMemo", ComponentKind::Memo},        {u"NameEdit", ComponentKind::Edit},
        {u"Background", ComponentKind::Picture},       {u"Line", ComponentKind::Bevel},
        {u"WindowsCombo", ComponentKind::ImageCombo},  {u"SpeedTrackBar", ComponentKind::TrackBar},
        {u"MainProgress", ComponentKind::ProgressBar},
    };
    for (const auto& [name, kind] : parts) {
        Component c;
        c.name = name;
        c.kind = kind;
        form.components.push_back(c);
    }
    form.components[1].parent = 0; // the label lies on the panel
    return form;
}

std::vector<std::u16string> Texts(const FormModel& form) {
    std::vector<std::u16string> texts{form.title};
    for (const auto& c : form.components)
        texts.push_back(c.text);
    return texts;
}

TEST(ApplyCaptions, SetsTheTitleAndTheTextsOfTheSixKindsAtAnyDepth) {
    CaptionFixture f;
    f.Table(u"english", "KVMainForm, KVMainForm, \"Main title\"\r\n"
                        "KVMainForm, NavPanel, \"Panel\"\r\n"
                        "kvmainform, navlabel2, \"Choose a link below\"\r\n"
                        "KVMainForm, GoButton, \"&Optimize now\"\r\n"
                        "KVMainForm, HelpFilePopup, \"Get &help with Kavrolt\"\r\n"
                        "KVMainForm, LicensedMemo, \"Memo text\"\r\n"
                        "KVMainForm, NameEdit, \"Edit text\"\r\n"
                        // Components of other kinds, and names the window does not own.
                        "KVMainForm, Background, \"x\"\r\n"
                        "KVMainForm, Line, \"x\"\r\n"
                        "KVMainForm, WindowsCombo, \"x\"\r\n"
                        "KVMainForm, SpeedTrackBar, \"x\"\r\n"
                        "KVMainForm, MainProgress, \"x\"\r\n"
                        "KVMainForm, PerformanceHeading, \"Performance\"\r\n"
                        "\r\n"
                        "KVAboutForm, KVAboutForm, \"About\"\r\n"
                        "KVAboutForm, GoButton, \"Other window\"\r\n");
    FormModel form = MainForm();
    std::vector<int> changed;
    form.textChanged = [&](int index) { changed.push_back(index); };
    ApplyCaptions(f.Source(), form);
    EXPECT_EQ(Texts(form), (Fields{u"Main title", u"Panel", u"Choose a link below",
                                   u"&Optimize now", u"Get &help with Kavrolt", u"Memo text",
                                   u"Edit text", u"", u"", u"", u"", u""}));
    EXPECT_EQ(changed, (std::vector<int>{kParentIsWindow, 0, 1, 2, 3, 4, 5}));
    // Applying again changes nothing and tells nothing.
    changed.clear();
    ApplyCaptions(f.Source(), form);
    EXPECT_TRUE(changed.empty());
}

TEST(ApplyCaptions, TheTitleRowNeedsTheWindowNameInItsOwnCase) {
    CaptionFixture f;
    f.Table(u"english", "kvmainform, KVMainForm, \"Field 0 folds\"\r\n"
                        "KVMainForm, KVMAINFORM, \"Taken for a control\"\r\n");
    FormModel form = MainForm();
    ApplyCaptions(f.Source(), form);
    EXPECT_EQ(form.title, u"Field 0 folds");

    // A component that bears the window's name in another case takes the row.
    f.Table(u"english", "KVMainForm, kvmainform, \"Control\"");
    form = MainForm();
    form.components[2].name = u"KVMAINFORM";
    ApplyCaptions(f.Source(), form);
    EXPECT_EQ(form.title, u"design title");
    EXPECT_EQ(form.components[2].text, u"Control");
}

TEST(ApplyCaptions, RowsApplyInTableOrderSoTheLaterTextStays) {
    CaptionFixture f;
    f.Table(u"english", "KVMainForm, GoButton, \"First\"\r\n"
                        "KVMainForm, KVMainForm, \"Title 1\"\r\n"
                        "KVMainForm, GOBUTTON, \"Second\"\r\n"
                        "KVMainForm, KVMainForm, \"Title 2\"\r\n");
    FormModel form = MainForm();
    std::vector<int> changed;
    form.textChanged = [&](int index) { changed.push_back(index); };
    ApplyCaptions(f.Source(), form);
    EXPECT_EQ(form.components[2].text, u"Second");
    EXPECT_EQ(form.title, u"Title 2");
    EXPECT_EQ(changed, (std::vector<int>{2, kParentIsWindow, 2, kParentIsWindow}));
}

TEST(ApplyCaptions, EndsAtTheFirstFailureAndKeepsWhatWasSet) {
    struct Case {
        const char* rows;
        bool goButtonSet; // the row after the failing one sets GoButton
    };
    const Case cases[] = {
        {"  \t", false},
        {"KVMainForm", false},
        {"KVMainForm, NavLabel2", false},    // a label without its text
        {"KVMainForm, KVMainForm", false},   // a title row without its text
        {"KVMainForm, Background", true},    // a picture: no effect
        {"KVMainForm, NoSuchControl", true}, // not owned: no effect
        {"OtherForm", true},
        {"OtherForm, NavLabel2", true},
    };
    for (const auto& c : cases) {
        CaptionFixture f;
        f.Table(u"english", std::string("KVMainForm, HelpFilePopup, \"Before\"\r\n") + c.rows +
                                "\r\nKVMainForm, GoButton, \"After\"\r\n");
        FormModel form = MainForm();
        ApplyCaptions(f.Source(), form);
        EXPECT_EQ(form.components[3].text, u"Before") << c.rows;
        EXPECT_EQ(form.components[2].text, c.goButtonSet ? u"After" : u"") << c.rows;
    }
}

TEST(ApplyCaptions, AControlThatFailsToTakeItsTextEndsThePass) {
    CaptionFixture f;
    f.Table(u"english", "KVMainForm, HelpFilePopup, \"Before\"\r\n"
                        "KVMainForm, NavLabel2, \"Fails\"\r\n"
                        "KVMainForm, GoButton, \"After\"\r\n");
    FormModel form = MainForm();
    form.textChanged = [](int index) {
        if (index == 1)
            throw std::runtime_error("control gone");
    };
    ApplyCaptions(f.Source(), form);
    EXPECT_EQ(form.components[3].text, u"Before");
    EXPECT_EQ(form.components[2].text, u"");
}

TEST(ApplyCaptions, ALanguageWithoutTableLeavesTheWindowAsItIs) {
    CaptionFixture f;
    f.Table(u"english", "KVMainForm, KVMainForm, \"Title\"\r\nKVMainForm, GoButton, \"Go\"");
    f.SetLanguage(u"klingon");
    FormModel form = MainForm();
    ApplyCaptions(f.Source(), form);
    EXPECT_EQ(Texts(form), Texts(MainForm()));
    f.SetLanguage(u"ENGLISH");
    ApplyCaptions(f.Source(), form);
    EXPECT_EQ(form.title, u"Title");
    EXPECT_EQ(form.components[2].text, u"Go");
}

} // namespace
} // namespace kavrolt
