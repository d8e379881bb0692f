#include "app/Charset.h"

#include "text/AsciiCase.h"

#include <array>
#include <cstdint>

namespace kavrolt {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Position of needle in text compared without letter case, or npos.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.size() > text.size())
        return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i)
        if (EqualsIgnoringAsciiCase(text.substr(i, needle.size()), needle))
            return i;
    return std::string_view::npos;
}

// The charset value inside a content attribute or header value: the word
// "charset", optional blanks, "=", optional blanks, then a quoted or bare value.
std::string CharsetAfterKeyword(std::string_view text) {
    std::size_t at = 0;
    while ((at = FindIgnoringCase(text, "charset", at)) != std::string_view::npos) {
        std::size_t i = at + 7;
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i >= text.size() || text[i] != '=') {
            at += 7;
            continue;
        }
        ++i;
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i >= text.size())
            return {};
        if (text[i] == '"' || text[i] == '\'') {
            const char quote = text[i];
            const std::size_t end = text.find(quote, i + 1);
            if (end == std::string_view::npos)
                return {};
            return std::string(Trim(text.substr(i + 1, end - i - 1)));
        }
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end]) && text[end] != ';')
            ++end;
        return std::string(text.substr(i, end - i));
    }
    return {};
}

enum class Encoding { Bytes, Ascii, Latin1, Windows1252, Utf8, Utf16, Utf16Le, Utf16Be };

Encoding EncodingNamed(std::string_view label) {
    struct Alias {
        std::string_view name;
        Encoding encoding;
    };
    static constexpr Alias kAliases[] = {
        {"us-ascii", Encoding::Ascii},
        {"ascii", Encoding::Ascii},
        {"us", Encoding::Ascii},
        {"ansi_x3.4-1968", Encoding::Ascii},
        {"iso646-us", Encoding::Ascii},
        {"iso-ir-6", Encoding::Ascii},
        {"csascii", Encoding::Ascii},
        {"cp367", Encoding::Ascii},
        {"ibm367", Encoding::Ascii},
        {"iso-8859-1", Encoding::Latin1},
        {"iso8859-1", Encoding::Latin1},
        {"iso_8859-1", Encoding::Latin1},
        {"iso_8859-1:1987", Encoding::Latin1},
        {"latin1", Encoding::Latin1},
        {"l1", Encoding::Latin1},
        {"iso-ir-100", Encoding::Latin1},
        {"cp819", Encoding::Latin1},
        {"ibm819", Encoding::Latin1},
        {"csisolatin1", Encoding::Latin1},
        {"windows-1252", Encoding::Windows1252},
        {"cp1252", Encoding::Windows1252},
        {"x-cp1252", Encoding::Windows1252},
        {"utf-8", Encoding::Utf8},
        {"utf8", Encoding::Utf8},
        {"unicode-1-1-utf-8", Encoding::Utf8},
        {"utf-16", Encoding::Utf16},
        {"utf16", Encoding::Utf16},
        {"unicode", Encoding::Utf16Le},
        {"ucs-2", Encoding::Utf16Le},
        {"utf-16le", Encoding::Utf16Le},
        {"utf-16be", Encoding::Utf16Be},
    };
    const std::string name = FoldAscii(Trim(label));
    for (const Alias& alias : kAliases)
        if (alias.name == name)
            return alias.encoding;
    return Encoding::Bytes;
}

// Code points of bytes 0x80 to 0x9F in windows-1252; the five unassigned bytes
// keep their own value, as in the web's definition of the code page.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendCodePoint(std::u16string& out, std::uint32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Strict UTF-8: overlong forms, surrogates and values above U+10FFFF are
// malformed; each maximal malformed subpart becomes one U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        i = 3;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t cp = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
            if (lead == 0xE0)
                low = 0xA0;
            if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        std::size_t taken = 1;
        bool complete = true;
        while (taken < length) {
            if (i + taken >= bytes.size()) {
                complete = false;
                break;
            }
            const auto next = static_cast<unsigned char>(bytes[i + taken]);
            if (next < low || next > high) {
                complete = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
            ++taken;
        }
        if (complete)
            AppendCodePoint(out, cp);
        else
            out.push_back(kReplacement);
        i += taken;
    }
    return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 2 + 1);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(bigEndian ? static_cast<char16_t>(first << 8 | second)
                                : static_cast<char16_t>(second << 8 | first));
    }
    if (i < bytes.size())
        out.push_back(kReplacement);
    return out;
}

} // namespace

std::string MediaTypeOf(std::string_view contentType) {
    return FoldAscii(Trim(contentType.substr(0, contentType.find(';'))));
}

std::string CharsetOfContentType(std::string_view contentType) {
    // Parameters follow the media type, each "name=value" after a ";"; a value
    // may be a quoted string, in which ";" does not end it.
    std::size_t i = contentType.find(';');
    while (i != std::string_view::npos && i < contentType.size()) {
        ++i;
        const std::size_t equals = contentType.find('=', i);
        const std::size_t semicolon = contentType.find(';', i);
        if (equals == std::string_view::npos)
            return {};
        if (semicolon != std::string_view::npos && semicolon < equals) {
            i = semicolon;
            continue;
        }
        const std::string_view name = Trim(contentType.substr(i, equals - i));
        std::size_t v = equals + 1;
        while (v < contentType.size() && IsBlank(contentType[v]))
            ++v;
        std::string value;
        std::size_t next;
        if (v < contentType.size() && contentType[v] == '"') {
            std::size_t q = v + 1;
            while (q < contentType.size() && contentType[q] != '"') {
                if (contentType[q] == '\\' && q + 1 < contentType.size())
                    ++q;
                value.push_back(contentType[q]);
                ++q;
            }
            next = contentType.find(';', q);
        } else {
            next = contentType.find(';', v);
            value = std::string(Trim(contentType.substr(
                v, next == std::string_view::npos ? std::string_view::npos : next - v)));
        }
        if (EqualsIgnoringAsciiCase(name, "charset"))
            return value;
        i = next;
    }
    return {};
}

std::string CharsetOfHtmlMeta(std::string_view html) {
    std::size_t at = 0;
    while ((at = FindIgnoringCase(html, "<meta", at)) != std::string_view::npos) {
        std::size_t i = at + 5;
        if (i < html.size() && !IsBlank(html[i]) && html[i] != '/') {
            at = i;
            continue;
        }
        // Attributes up to the closing ">": name, optional "=" and a quoted or
        // bare value. The scan resumes after this tag, so each byte is read once.
        std::string charset, content;
        bool contentTypeEquiv = false;
        while (i < html.size() && html[i] != '>') {
            if (IsBlank(html[i]) || html[i] == '/') {
                ++i;
                continue;
            }
            const std::size_t nameStart = i;
            while (i < html.size() && html[i] != '=' && html[i] != '>' && !IsBlank(html[i]) &&
                   html[i] != '/')
                ++i;
            const std::string name = FoldAscii(html.substr(nameStart, i - nameStart));
            while (i < html.size() && IsBlank(html[i]))
                ++i;
            std::string value;
            if (i < html.size() && html[i] == '=') {
                ++i;
                while (i < html.size() && IsBlank(html[i]))
                    ++i;
                if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                    const char quote = html[i++];
                    const std::size_t valueStart = i;
                    while (i < html.size() && html[i] != quote)
                        ++i;
                    value = html.substr(valueStart, i - valueStart);
                    if (i < html.size())
                        ++i;
                } else {
                    const std::size_t valueStart = i;
                    while (i < html.size() && !IsBlank(html[i]) && html[i] != '>')
                        ++i;
                    value = html.substr(valueStart, i - valueStart);
                }
            }
            if (name == "charset" && charset.empty())
                charset = std::string(Trim(value));
            else if (name == "http-equiv")
                contentTypeEquiv = EqualsIgnoringAsciiCase(Trim(value), "content-type");
            else if (name == "content" && content.empty())
                content = value;
        }
        if (i >= html.size())
            return {}; // the tag never ends
        if (!charset.empty())
            return charset;
        if (contentTypeEquiv) {
            std::string fromContent = CharsetAfterKeyword(content);
            if (!fromContent.empty())
                return fromContent;
        }
        at = i;
    }
    return {};
}

std::u16string DecodeText(std::string_view bytes, std::string_view charset) {
    const Encoding encoding = EncodingNamed(charset);
    switch (encoding) {
    case Encoding::Utf8:
        return DecodeUtf8(bytes);
    case Encoding::Utf16:
        if (bytes.substr(0, 2) == "\xFE\xFF")
            return DecodeUtf16(bytes.substr(2), true);
        if (bytes.substr(0, 2) == "\xFF\xFE")
            return DecodeUtf16(bytes.substr(2), false);
        return DecodeUtf16(bytes, false);
    case Encoding::Utf16Le:
        return DecodeUtf16(bytes.substr(0, 2) == "\xFF\xFE" ? bytes.substr(2) : bytes, false);
    case Encoding::Utf16Be:
        return DecodeUtf16(bytes.substr(0, 2) == "\xFE\xFF" ? bytes.substr(2) : bytes, true);
    case Encoding::Ascii:
    case Encoding::Latin1:
    case Encoding::Windows1252:
    case Encoding::Bytes:
        break;
    }
    std::u16string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 || encoding == Encoding::Latin1 || encoding == Encoding::Bytes)
            out.push_back(byte);
        else if (encoding == Encoding::Ascii)
            out.push_back(kReplacement);
        else if (byte < 0xA0)
            out.push_back(kWindows1252High[byte - 0x80]);
        else
            out.push_back(byte);
    }
    return out;
}

} // namespace kavrolt
