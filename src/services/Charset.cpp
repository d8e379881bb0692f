#include "services/Charset.h"

#include "text/AsciiCase.h"
#include "text/TextCodecs.h"
#include "text/Trim.h"

namespace kavrolt {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    return TrimWhere(text, IsBlank);
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
    switch (EncodingNamed(charset)) {
    case Encoding::Utf8:
        return DecodeUtf8(SkipByteOrderMark(bytes, UnicodeEncoding::Utf8));
    case Encoding::Utf16:
        // A UTF-16 mark decides the byte order; without one it is little-endian.
        if (const auto mark = FindByteOrderMark(bytes);
            mark && mark->encoding != UnicodeEncoding::Utf8)
            return DecodeUnicode(mark->encoding, bytes.substr(mark->length));
        return DecodeUtf16Le(bytes);
    case Encoding::Utf16Le:
        return DecodeUtf16Le(SkipByteOrderMark(bytes, UnicodeEncoding::Utf16Le));
    case Encoding::Utf16Be:
        return DecodeUtf16Be(SkipByteOrderMark(bytes, UnicodeEncoding::Utf16Be));
    case Encoding::Ascii:
        return DecodeAscii(bytes);
    case Encoding::Windows1252:
        return DecodeCodePage1252(bytes);
    case Encoding::Latin1:
    case Encoding::Bytes:
        break;
    }
    return DecodeLatin1(bytes);
}

} // namespace kavrolt
