#include "appearance/Captions.h"

#include "text/AsciiCase.h"
#include "tuning/CustomRegistry.h"

#include <algorithm>

namespace kavrolt {
namespace {

bool IsBlank(char16_t c) {
    return c >= 0x0001 && c <= 0x0020;
}

// UTF-8 with every malformed or overlong sequence, surrogate and value beyond
// U+10FFFF replaced by U+FFFD, one replacement per offending byte run.
std::u16string DecodeUtf8(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    text.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = data[i];
        if (lead < 0x80) {
            text.push_back(lead);
            ++i;
            continue;
        }
        int length = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, minimum = 0x10000;
        }
        int taken = 1;
        bool valid = length > 0;
        for (; valid && taken < length; ++taken) {
            if (i + taken >= size || (data[i + taken] & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (data[i + taken] & 0x3F);
        }
        if (valid && (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            valid = false;
        if (!valid) {
            text.push_back(u'\uFFFD');
            i += taken;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(code));
        }
        i += static_cast<std::size_t>(length);
    }
    return text;
}

// UTF-16 code units; an odd last byte is no character and is dropped.
std::u16string DecodeUtf16(const std::uint8_t* data, std::size_t size, bool bigEndian) {
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(bigEndian ? static_cast<char16_t>((data[i] << 8) | data[i + 1])
                                 : static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

// The lines of the table in use, or nothing when "Language" names no table.
std::optional<std::vector<std::u16string>> FindTable(const CaptionSource& source) {
    std::u16string language = ReadRegString(source.registry, kHkeyLocalMachine, kProgramKey,
                                            u"Language", u"english", false);
    if (language.empty())
        language = u"english";
    const auto bytes = source.resource(FoldAscii(language));
    if (!bytes)
        return std::nullopt;
    return SplitCaptionLines(DecodeCaptionText(*bytes, source.decodeAnsi));
}

} // namespace

std::u16string DecodeCodePage1252(std::string_view bytes) {
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    // One character per byte, written in place: the table is decoded on every
    // caption lookup.
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        text[i] = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
    }
    return text;
}

std::u16string
DecodeCaptionText(const std::vector<std::uint8_t>& bytes,
                  const std::function<std::u16string(std::string_view)>& decodeAnsi) {
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
        return DecodeUtf8(data + 3, size - 3);
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE)
        return DecodeUtf16(data + 2, size - 2, false);
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF)
        return DecodeUtf16(data + 2, size - 2, true);
    return decodeAnsi(std::string_view(reinterpret_cast<const char*>(data), size));
}

std::vector<std::u16string> SplitCaptionLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        if (end > start)
            lines.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() &&
            text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

std::vector<std::u16string> SplitCaptionRow(std::u16string_view line) {
    std::vector<std::u16string> fields;
    fields.reserve(3); // window name, key, text
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n && IsBlank(line[i]))
        ++i;
    while (i < n) {
        std::u16string field;
        if (line[i] == u'"') {
            // Up to the next quote that is not doubled; a doubled one stands
            // for itself. Without a closing quote the field takes the rest.
            ++i;
            while (i < n) {
                // The run up to the next quote is taken whole.
                const std::size_t quote = std::min(line.find(u'"', i), n);
                field.append(line.substr(i, quote - i));
                i = quote;
                if (i == n)
                    break;
                if (i + 1 < n && line[i + 1] == u'"') {
                    field.push_back(u'"');
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
        } else {
            const std::size_t begin = i;
            while (i < n && line[i] != u',' && !IsBlank(line[i]))
                ++i;
            field.assign(line.substr(begin, i - begin));
        }
        fields.push_back(std::move(field));
        while (i < n && IsBlank(line[i]))
            ++i;
        if (i < n && line[i] == u',') {
            if (i + 1 == n)
                fields.emplace_back();
            ++i;
            while (i < n && IsBlank(line[i]))
                ++i;
        }
    }
    return fields;
}

std::u16string LoadCaption(const CaptionSource& source, std::u16string_view windowName,
                           std::u16string_view key) {
    std::u16string result;
    // Any failure ends the lookup with what was found before it.
    try {
        const auto lines = FindTable(source);
        if (!lines)
            return result;
        for (const auto& line : *lines) {
            const auto fields = SplitCaptionRow(line);
            if (fields.empty())
                break; // a line of blanks has no field 0
            if (!EqualsIgnoringAsciiCase(fields[0], windowName))
                continue;
            if (fields.size() < 2)
                break;
            if (!EqualsIgnoringAsciiCase(fields[1], key))
                continue;
            if (fields.size() < 3)
                break;
            result = fields[2];
        }
    } catch (...) {
    }
    return result;
}

CaptionSource DefaultCaptionSource() {
    return {DefaultRegistryStore(), ReadOwnRcData, DecodeAnsiCodePage};
}

std::u16string LoadCaption(std::u16string_view windowName, std::u16string_view key) {
    return LoadCaption(DefaultCaptionSource(), windowName, key);
}

void ApplyCaptions(const CaptionSource& source, FormModel& form) {
    // Any failure ends the pass; what the rows before it set stays.
    try {
        const auto lines = FindTable(source);
        if (!lines)
            return;
        for (const auto& line : *lines) {
            const auto fields = SplitCaptionRow(line);
            if (fields.empty())
                return;
            if (!EqualsIgnoringAsciiCase(fields[0], form.name))
                continue;
            if (fields.size() < 2)
                return;
            if (fields[1] == form.name) {
                if (fields.size() < 3)
                    return;
                form.SetTitle(fields[2]);
                continue;
            }
            const int index = form.IndexOf(fields[1]);
            if (index < 0)
                continue;
            switch (form.components[static_cast<std::size_t>(index)].kind) {
            case ComponentKind::Label:
            case ComponentKind::Panel:
            case ComponentKind::Button:
            case ComponentKind::MenuItem:
            case ComponentKind::Memo:
            case ComponentKind::Edit:
                if (fields.size() < 3)
                    return;
                form.SetText(index, fields[2]);
                break;
            default:
                break; // pictures, bevels, lists, track and progress bars have no text
            }
        }
    } catch (...) {
    }
}

void ApplyCaptions(FormModel& form) {
    ApplyCaptions(DefaultCaptionSource(), form);
}

} // namespace kavrolt
