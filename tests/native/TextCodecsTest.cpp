#include "text/TextCodecs.h"
#include "services/Charset.h"
#include "appearance/Captions.h"
#include "registry/MemoryRegistryStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrolt {
namespace {

// The bytes in hexadecimal, for failure messages.
std::string Hex(std::string_view bytes) {
    std::string hex;
    for (const char c : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X ", static_cast<unsigned char>(c));
        hex += digits;
    }
    return hex;
}

struct DecodeCase {
    std::string bytes;
    std::u16string text;
};

constexpr char16_t R = kReplacementCharacter;

TEST(Utf8Decoding, ValidSequencesOfOneToFourBytes) {
    const DecodeCase cases[] = {
        {"", u""},
        {std::string("\0", 1), std::u16string(1, u'\0')},
        {"Kavrolt\x7F", u"Kavrolt\u007F"},
        // The first and last character of each length.
        {"\xC2\x80", u"\u0080"},
        {"\xDF\xBF", u"\u07FF"},
        {"\xE0\xA0\x80", u"\u0800"},
        {"\xEF\xBF\xBF", u"\uFFFF"},
        {"\xF0\x90\x80\x80", u"\U00010000"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        // Next to the surrogates, on either side.
        {"\xED\x9F\xBF", u"\uD7FF"},
        {"\xEE\x80\x80", u"\uE000"},
        {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"a\u00E9\u20AC\U0001F600"},
        // A byte-order mark is an ordinary character to the decoder.
        {"\xEF\xBB\xBFok", u"\uFEFFok"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeUtf8(c.bytes), c.text) << Hex(c.bytes);
}

TEST(Utf8Decoding, EachMaximalSubpartOfAnIllFormedSequenceGivesOneReplacement) {
    const DecodeCase cases[] = {
        // 80 cannot follow F0: the lead alone is the subpart, and each 80 is a
        // stray continuation byte.
        {"\xF0\x80\x80\x41", {R, R, R, u'A'}},
        // F0 9F 98 is a valid prefix that 41 cuts short: one replacement.
        {"\xF0\x9F\x98\x41", {R, u'A'}},
        {"\xE2\x41", {R, u'A'}},
        {"\xE2\x82\x41", {R, u'A'}},
        // The byte that breaks a sequence starts the next one.
        {"\xE2\x82\xE2\x82\xAC", {R, u'\u20AC'}},
        {"\xC3\xC3\xA9", {R, u'\u00E9'}},
        {"\xF0\x9F\xF0\x9F\x98\x80", {R, 0xD83D, 0xDE00}},
        // Stray continuation bytes.
        {"\x80", {R}},
        {"\xBF\x41", {R, u'A'}},
        {"\x80\x80", {R, R}},
        // Overlong forms: C0 and C1 never lead, E0 takes no 80..9F, F0 no 80..8F.
        {"\xC0\x80", {R, R}},
        {"\xC0\xAFx", {R, R, u'x'}},
        {"\xC1\xBF", {R, R}},
        {"\xE0\x80\x80", {R, R, R}},
        {"\xE0\x9F\xBF", {R, R, R}},
        {"\xF0\x80\x80\x80", {R, R, R, R}},
        {"\xF0\x8F\xBF\xBF", {R, R, R, R}},
        // Surrogates: ED takes no A0..BF.
        {"\xED\xA0\x80", {R, R, R}},
        {"\xED\xBF\xBF", {R, R, R}},
        // Beyond U+10FFFF: F4 takes no 90..BF, F5..FF never lead.
        {"\xF4\x90\x80\x80", {R, R, R, R}},
        {"\xF5\x80\x80\x80", {R, R, R, R}},
        {"\xF8\x88\x80\x80\x80", {R, R, R, R, R}},
        {"\xFE\xFF", {R, R}},
        // A sequence that the end cuts short gives one replacement.
        {"\xC3", {R}},
        {"\xE2\x82", {R}},
        {"\xF0", {R}},
        {"\xF0\x9F\x98", {R}},
        {"ok\xE2\x82", {u'o', u'k', R}},
        {"a\xFF"
         "b\xC3",
         {u'a', R, u'b', R}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeUtf8(c.bytes), c.text) << Hex(c.bytes);
}

// Each pair of bytes swapped: the big-endian form of little-endian bytes. An
// odd last byte stays where it is.
std::string Swapped(std::string bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

TEST(Utf16Decoding, PairsAndUnpairedSurrogatesInEitherByteOrder) {
    // Little-endian bytes; every case is also run in big-endian order.
    const DecodeCase cases[] = {
        {"", u""},
        {std::string("T\0O\0", 4), u"TO"},
        {std::string("\xAC\x20", 2), u"\u20AC"},
        {std::string("\xFF\xFF", 2), u"\uFFFF"},
        // A mark is an ordinary character to the decoder.
        {std::string("\xFF\xFE"
                     "A\0",
                     4),
         u"\uFEFFA"},
        // A high surrogate followed by a low one is one character.
        {std::string("\x3D\xD8\x00\xDE", 4), {0xD83D, 0xDE00}},
        {std::string("\xFF\xDB\xFF\xDF", 4), u"\U0010FFFF"},
        // Unpaired surrogates; the unit after a lone high one is read again.
        {std::string("\x3D\xD8"
                     "A\0",
                     4),
         {R, u'A'}},
        {std::string("\x00\xDE"
                     "A\0",
                     4),
         {R, u'A'}},
        {std::string("\x00\xDE\x3D\xD8", 4), {R, R}},
        {std::string("\x3D\xD8\x3D\xD8\x00\xDE", 6), {R, 0xD83D, 0xDE00}},
        {std::string("\x3D\xD8", 2), {R}},
        // An odd last byte gives one replacement; behind a high surrogate it
        // is part of the same cut-off sequence.
        {std::string("T\0O", 3), {u'T', R}},
        {std::string("\x41", 1), {R}},
        {std::string("\x3D\xD8\x00", 3), {R}},
        {std::string("\x00\xDE\x00", 3), {R, R}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeUtf16Le(c.bytes), c.text) << Hex(c.bytes);
        EXPECT_EQ(DecodeUtf16Be(Swapped(c.bytes)), c.text) << Hex(Swapped(c.bytes));
    }
    // The two byte orders read the same bytes differently.
    EXPECT_EQ(DecodeUtf16Le(std::string("\x20\xAC", 2)), u"\uAC20");
    EXPECT_EQ(DecodeUtf16Be(std::string("\x20\xAC", 2)), u"\u20AC");
}

TEST(SingleByteDecoding, CodePage1252Latin1AndAscii) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));

    // Code page 1252: 80..9F as Windows maps them, the five undefined bytes
    // (81, 8D, 8F, 90, 9D) as the C1 controls of the same number.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    const auto cp1252 = DecodeCodePage1252(all);
    const auto latin1 = DecodeLatin1(all);
    const auto ascii = DecodeAscii(all);
    ASSERT_EQ(cp1252.size(), 256u);
    ASSERT_EQ(latin1.size(), 256u);
    ASSERT_EQ(ascii.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        const auto at = static_cast<std::size_t>(b);
        const bool high = b >= 0x80 && b < 0xA0;
        EXPECT_EQ(cp1252[at], high ? kHigh[b - 0x80] : static_cast<char16_t>(b)) << b;
        EXPECT_EQ(latin1[at], static_cast<char16_t>(b)) << b;
        EXPECT_EQ(ascii[at], b < 0x80 ? static_cast<char16_t>(b) : R) << b;
    }
    EXPECT_EQ(DecodeCodePage1252("\x93q\x94"), u"\u201Cq\u201D");
    EXPECT_EQ(DecodeCodePage1252(""), u"");
}

TEST(ByteOrderMarks, FoundAtTheStartOnly) {
    struct Case {
        std::string bytes;
        std::optional<UnicodeEncoding> encoding;
        std::size_t length;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF", UnicodeEncoding::Utf8, 3},
        {"\xEF\xBB\xBFx", UnicodeEncoding::Utf8, 3},
        {"\xFF\xFE", UnicodeEncoding::Utf16Le, 2},
        // A UTF-32 little-endian mark begins like the UTF-16 one.
        {std::string("\xFF\xFE\0\0", 4), UnicodeEncoding::Utf16Le, 2},
        {"\xFE\xFF"
         "A",
         UnicodeEncoding::Utf16Be, 2},
        {"\xEF\xBB", std::nullopt, 0},
        {"\xEF\xBBx", std::nullopt, 0},
        {"\xFF", std::nullopt, 0},
        {"\xFE"
         "A",
         std::nullopt, 0},
        {"x\xEF\xBB\xBF", std::nullopt, 0},
        {"", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const auto mark = FindByteOrderMark(c.bytes);
        ASSERT_EQ(mark.has_value(), c.encoding.has_value()) << Hex(c.bytes);
        if (mark) {
            EXPECT_EQ(mark->encoding, *c.encoding) << Hex(c.bytes);
            EXPECT_EQ(mark->length, c.length) << Hex(c.bytes);
        }
    }
}

TEST(ByteOrderMarks, SkippedOnlyWhenTheyNameTheEncoding) {
    struct Case {
        std::string bytes;
        UnicodeEncoding encoding;
        std::string rest;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBFok", UnicodeEncoding::Utf8, "ok"},
        {"\xEF\xBB\xBFok", UnicodeEncoding::Utf16Le, "\xEF\xBB\xBFok"},
        {"\xFF\xFEok", UnicodeEncoding::Utf16Le, "ok"},
        {"\xFF\xFEok", UnicodeEncoding::Utf16Be, "\xFF\xFEok"},
        {"\xFE\xFFok", UnicodeEncoding::Utf16Be, "ok"},
        {"\xFE\xFFok", UnicodeEncoding::Utf8, "\xFE\xFFok"},
        {"ok", UnicodeEncoding::Utf8, "ok"},
        {"", UnicodeEncoding::Utf16Be, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SkipByteOrderMark(c.bytes, c.encoding), c.rest) << Hex(c.bytes);
}

TEST(ByteOrderMarks, DecodeUnicodeUsesTheNamedDecoder) {
    const std::string bytes("\xC3\xA9\0", 3);
    EXPECT_EQ(DecodeUnicode(UnicodeEncoding::Utf8, bytes), DecodeUtf8(bytes));
    EXPECT_EQ(DecodeUnicode(UnicodeEncoding::Utf16Le, bytes), DecodeUtf16Le(bytes));
    EXPECT_EQ(DecodeUnicode(UnicodeEncoding::Utf16Be, bytes), DecodeUtf16Be(bytes));
    // The three give three different texts, so a mixed-up dispatch shows.
    EXPECT_EQ(DecodeUtf8(bytes), std::u16string(u"\u00E9\0", 2));
    EXPECT_EQ(DecodeUtf16Le(bytes), (std::u16string{0xA9C3, R}));
    EXPECT_EQ(DecodeUtf16Be(bytes), (std::u16string{0xC3A9, R}));
}

// The caption table and the update check decode the same malformed bytes to
// the same text, each through its own public functions.
TEST(SameDecodingEverywhere, TheCaptionTableAndTheUpdateCheckAgree) {
    struct Case {
        std::string_view mark;    // the caption table's byte-order mark
        std::string_view charset; // the update check's declared character set
        std::string payload;      // text between the quotes of a caption row
        std::u16string text;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF", "utf-8", "\xF0\x80\x80\x41", {R, R, R, u'A'}},
        {"\xEF\xBB\xBF", "utf-8", "\xF0\x9F\x98\x41", {R, u'A'}},
        {"\xEF\xBB\xBF", "utf-8", "\xE0\x80\xAF\xED\xA0\x80", {R, R, R, R, R, R}},
        {"\xFF\xFE",
         "utf-16le",
         std::string("\x3D\xD8"
                     "A\0",
                     4),
         {R, u'A'}},
        {"\xFE\xFF", "utf-16be", std::string("\xDE\x00\0A", 4), {R, u'A'}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeText(c.payload, c.charset), c.text) << Hex(c.payload);

        // A one-row table in the same encoding, with the payload as its text.
        const auto encode = [&](std::string_view ascii) {
            std::string out;
            for (const char ch : ascii) {
                if (c.charset == "utf-16le")
                    out += {ch, '\0'};
                else if (c.charset == "utf-16be")
                    out += {'\0', ch};
                else
                    out += ch;
            }
            return out;
        };
        const std::string table =
            std::string(c.mark) + encode("W, K, \"") + c.payload + encode("\"");
        MemoryRegistryStore registry;
        const CaptionSource source{
            registry,
            [&](std::u16string_view) -> std::optional<std::vector<std::uint8_t>> {
                return std::vector<std::uint8_t>(table.begin(), table.end());
            },
            DecodeCodePage1252};
        EXPECT_EQ(LoadCaption(source, u"W", u"K"), c.text) << Hex(table);
    }
}

} // namespace
} // namespace kavrolt
