#include "text/AsciiCase.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kavrolt {
namespace {

// Usable where a constant is needed.
static_assert(FoldAscii(u'Q') == u'q' && EqualsIgnoringAsciiCase(u"KVMainForm", u"kvmainform"));

TEST(AsciiCase, OnlyTheLettersAToZFold) {
    struct Case {
        char16_t in;
        char16_t out;
    };
    const Case cases[] = {
        {u'A', u'a'},
        {u'M', u'm'},
        {u'Z', u'z'},
        // Unchanged: lower-case letters, the neighbours of both ranges, digits.
        {u'a', u'a'},
        {u'z', u'z'},
        {u'@', u'@'},
        {u'[', u'['},
        {u'`', u'`'},
        {u'{', u'{'},
        {u'0', u'0'},
        {u'\0', u'\0'},
        // Non-ASCII letters, including those whose low byte is an ASCII letter.
        {u'\u00C4', u'\u00C4'},
        {u'\u0130', u'\u0130'},
        {u'\u0141', u'\u0141'},
        {u'\uFF21', u'\uFF21'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldAscii(c.in), c.out) << static_cast<int>(c.in);
        if (c.in < 0x80) {
            EXPECT_EQ(FoldAscii(static_cast<char>(c.in)), static_cast<char>(c.out))
                << static_cast<int>(c.in);
        }
    }
    // Bytes 80..FF are no letters to the fold.
    for (int b = 0x80; b < 0x100; ++b)
        EXPECT_EQ(FoldAscii(static_cast<char>(b)), static_cast<char>(b)) << b;
}

TEST(AsciiCase, TextsFoldAndCompare) {
    EXPECT_EQ(FoldAscii(std::u16string_view(u"KVMainForm")), u"kvmainform");
    EXPECT_EQ(FoldAscii(std::u16string_view(u"\u00C7A-Z")), u"\u00C7a-z");
    EXPECT_EQ(FoldAscii(std::u16string_view(u"")), u"");
    EXPECT_EQ(FoldAscii(std::string_view("Text/HTML; Charset=UTF-8")), "text/html; charset=utf-8");
    EXPECT_EQ(FoldAscii(std::string_view("\xC4X")), "\xC4x");

    struct Case {
        std::u16string_view a;
        std::u16string_view b;
        bool equal;
    };
    const Case cases[] = {
        {u"GoButton", u"gobutton", true},
        {u"GOBUTTON", u"GoButton", true},
        {u"", u"", true},
        {u"a", u"ab", false},
        {u"ab", u"a", false},
        {u"GoButton", u"GoButtom", false},
        // Characters 20 apart that are no letters stay different.
        {u"@", u"`", false},
        {u"[", u"{", false},
        {u"\u00E4", u"\u00C4", false},
        {u"m\u00C4ssage", u"M\u00C4SSAGE", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualsIgnoringAsciiCase(c.a, c.b), c.equal)
            << std::string(c.a.begin(), c.a.end()) << " / " << std::string(c.b.begin(), c.b.end());
        EXPECT_EQ(EqualsIgnoringAsciiCase(c.b, c.a), c.equal);
        // The 8-bit form agrees wherever the texts are ASCII.
        const auto ascii = [](std::u16string_view text) {
            for (char16_t ch : text)
                if (ch >= 0x80)
                    return false;
            return true;
        };
        if (ascii(c.a) && ascii(c.b)) {
            const std::string a(c.a.begin(), c.a.end());
            const std::string b(c.b.begin(), c.b.end());
            EXPECT_EQ(EqualsIgnoringAsciiCase(a, b), c.equal) << a << " / " << b;
        }
    }
    EXPECT_TRUE(EqualsIgnoringAsciiCase(std::string_view("Content-Type"), "content-type"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(std::string_view("charset"), "charse"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(std::string_view("@"), "`"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(std::string_view("\xE4"), "\xC4"));
}

} // namespace
} // namespace kavrolt
