#include "services/Charset.h"

#include <gtest/gtest.h>

namespace kavrolt {
namespace {

TEST(UpdateCheckCharset, ContentTypeParameters) {
    struct Case {
        const char* contentType;
        const char* media;
        const char* charset;
    };
    const Case cases[] = {
        {"text/plain", "text/plain", ""},
        {"Text/HTML; Charset=UTF-8", "text/html", "UTF-8"},
        {"text/plain;charset=utf-16le", "text/plain", "utf-16le"},
        {"text/plain; format=flowed; charset=\"windows-1252\"", "text/plain", "windows-1252"},
        {"text/plain; name=\"a;charset=utf-8\"; charset=us-ascii", "text/plain", "us-ascii"},
        {"text/plain; charset = iso-8859-1 ", "text/plain", "iso-8859-1"},
        {"text/plain; xcharset=utf-8", "text/plain", ""},
        {"text/plain; charset", "text/plain", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MediaTypeOf(c.contentType), c.media) << c.contentType;
        EXPECT_EQ(CharsetOfContentType(c.contentType), c.charset) << c.contentType;
    }
}

TEST(UpdateCheckCharset, HtmlMetaDeclarations) {
    struct Case {
        const char* html;
        const char* charset;
    };
    const Case cases[] = {
        {"<html><head><meta charset=\"utf-16le\"></head>", "utf-16le"},
        {"<META CHARSET=UTF-8>", "UTF-8"},
        {"<meta charset='windows-1252'/>", "windows-1252"},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-16\">", "utf-16"},
        {"<meta content='text/html;charset=\"ISO-8859-1\"' http-equiv='content-type'>",
         "ISO-8859-1"},
        {"<meta name=\"description\" content=\"charset=utf-8\">", ""},
        {"<meta http-equiv=\"refresh\" content=\"5\"><meta charset=\"utf-8\">", "utf-8"},
        {"<metadata charset=\"utf-8\">", ""},
        {"<p>charset=utf-8</p>", ""},
        {"<meta charset=\"utf-8", ""},
        {"<meta", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CharsetOfHtmlMeta(c.html), c.charset) << c.html;
}

TEST(UpdateCheckCharset, Decoding) {
    struct Case {
        const char* charset;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"", "A\x80\xE9\xFF", {u'A', 0x80, 0xE9, 0xFF}},
        {"x-unknown", "A\x80\xE9", {u'A', 0x80, 0xE9}},
        {"us-ascii", "A\x80z", {u'A', 0xFFFD, u'z'}},
        {"ISO-8859-1", "A\x80\xE9", {u'A', 0x80, 0xE9}},
        {"latin1", "\xFF", {0xFF}},
        {"windows-1252", "\x80\x81\x9F\xA0\xE9", {0x20AC, 0x81, 0x178, 0xA0, 0xE9}},
        {"cp1252", "\x93q\x94", {0x201C, u'q', 0x201D}},
        {"utf-8", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", {u'a', 0xE9, 0x20AC, 0xD83D, 0xDE00}},
        {"UTF8", "\xEF\xBB\xBFok", u"ok"},
        // Malformed: a stray continuation, an overlong form, a surrogate, a cut sequence.
        {"utf-8", "\x80x", {0xFFFD, u'x'}},
        {"utf-8", "\xC0\xAFx", {0xFFFD, 0xFFFD, u'x'}},
        {"utf-8", "\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
        {"utf-8", "ok\xE2\x82", {u'o', u'k', 0xFFFD}},
        {"utf-8", "\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
        {"utf-16le", std::string("T\0O\0", 4), u"TO"},
        {"utf-16be", std::string("\0T\0O", 4), u"TO"},
        {"utf-16be", std::string("\xFE\xFF\0T", 4), u"T"},
        {"utf-16", std::string("T\0O\0", 4), u"TO"},
        {"UTF-16", std::string("\xFF\xFET\0", 4), u"T"},
        {"utf-16", std::string("\xFE\xFF\0T", 4), u"T"},
        {"utf-16le", std::string("T\0O", 3), {u'T', 0xFFFD}},
        {"utf-16le", std::string("\x3D\xD8\x00\xDE", 4), {0xD83D, 0xDE00}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeText(c.bytes, c.charset), c.text) << c.charset << " " << c.bytes;
}

} // namespace
} // namespace kavrolt
