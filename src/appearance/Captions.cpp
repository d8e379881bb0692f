#include "appearance/Captions.h"

#include "base/Failure.h"
#include "registry/CustomRegistry.h"
#include "text/AsciiCase.h"
#include "text/TextCodecs.h"

#include <algorithm>

namespace kavrolt {
namespace {

bool IsBlank(char16_t c) {
    return c >= 0x0001 && c <= 0x0020;
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

std::u16string
DecodeCaptionText(const std::vector<std::uint8_t>& bytes,
                  const std::function<std::u16string(std::string_view)>& decodeAnsi) {
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const auto mark = FindByteOrderMark(view))
        return DecodeUnicode(mark->encoding, view.substr(mark->length));
    return decodeAnsi(view);
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

namespace {

// Walks the rows of the table that belong to a window, in order, each with
// its key. The walk ends at the first row without any field, at a row of the
// window without a key, or when visit returns false. Any failure ends it too,
// and what the rows before did stays.
template <typename Visit>
void ForEachRowOf(const CaptionSource& source, std::u16string_view windowName, Visit visit) {
    Guarded([&] {
        const auto lines = FindTable(source);
        if (!lines)
            return;
        for (const auto& line : *lines) {
            const auto fields = SplitCaptionRow(line);
            if (fields.empty())
                return; // a line of blanks has no field 0
            if (!EqualsIgnoringAsciiCase(fields[0], windowName))
                continue;
            if (fields.size() < 2 || !visit(fields))
                return;
        }
    });
}

} // namespace

std::u16string LoadCaption(const CaptionSource& source, std::u16string_view windowName,
                           std::u16string_view key) {
    std::u16string result;
    ForEachRowOf(source, windowName, [&](const std::vector<std::u16string>& fields) {
        if (!EqualsIgnoringAsciiCase(fields[1], key))
            return true;
        if (fields.size() < 3)
            return false;
        result = fields[2];
        return true;
    });
    return result;
}

CaptionSource DefaultCaptionSource() {
    return {DefaultRegistryStore(), ReadOwnRcData, DecodeAnsiCodePage};
}

std::u16string LoadCaption(std::u16string_view windowName, std::u16string_view key) {
    return LoadCaption(DefaultCaptionSource(), windowName, key);
}

void ApplyCaptions(const CaptionSource& source, FormModel& form) {
    ForEachRowOf(source, form.name, [&](const std::vector<std::u16string>& fields) {
        if (fields[1] == form.name) {
            if (fields.size() < 3)
                return false;
            form.SetTitle(fields[2]);
            return true;
        }
        const int index = form.IndexOf(fields[1]);
        if (index < 0)
            return true;
        switch (form.components[static_cast<std::size_t>(index)].kind) {
        case ComponentKind::Label:
        case ComponentKind::Panel:
        case ComponentKind::Button:
        case ComponentKind::MenuItem:
        case ComponentKind::Memo:
        case ComponentKind::Edit:
            if (fields.size() < 3)
                return false;
            form.SetText(index, fields[2]);
            return true;
        default:
            return true; // pictures, bevels, lists, track and progress bars have no text
        }
    });
}

void ApplyCaptions(FormModel& form) {
    ApplyCaptions(DefaultCaptionSource(), form);
}

} // namespace kavrolt
