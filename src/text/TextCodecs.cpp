#include "text/TextCodecs.h"

#include <array>
#include <cstdint>

namespace kavrolt {
namespace {

constexpr bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendCodePoint(std::u16string& text, char32_t code) {
    if (code < 0x10000) {
        text.push_back(static_cast<char16_t>(code));
        return;
    }
    code -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const std::size_t units = bytes.size() / 2;
    const auto unitAt = [&](std::size_t index) {
        const auto first = static_cast<std::uint8_t>(bytes[2 * index]);
        const auto second = static_cast<std::uint8_t>(bytes[2 * index + 1]);
        return bigEndian ? static_cast<char16_t>(first << 8 | second)
                         : static_cast<char16_t>(second << 8 | first);
    };
    std::u16string text;
    text.reserve(units + 1);
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (IsHighSurrogate(unit)) {
            if (i + 1 < units && IsLowSurrogate(unitAt(i + 1))) {
                text.push_back(unit);
                text.push_back(unitAt(++i));
                continue;
            }
            text.push_back(kReplacementCharacter);
            // Cut off by the end: an odd byte behind it belongs to the same
            // truncated sequence and gives no second U+FFFD.
            if (i + 1 == units)
                return text;
            continue;
        }
        text.push_back(IsLowSurrogate(unit) ? kReplacementCharacter : unit);
    }
    if (bytes.size() % 2 != 0)
        text.push_back(kReplacementCharacter);
    return text;
}

} // namespace

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i++]);
        if (lead < 0x80) {
            text.push_back(lead);
            continue;
        }
        // How many bytes follow the lead, and the range the first of them must
        // lie in to keep the sequence valid.
        int remaining = 0;
        char32_t code = 0;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            remaining = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            remaining = 2;
            code = lead & 0x0F;
            if (lead == 0xE0)
                low = 0xA0; // below: overlong
            if (lead == 0xED)
                high = 0x9F; // above: a surrogate
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            remaining = 3;
            code = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90; // below: overlong
            if (lead == 0xF4)
                high = 0x8F; // above: beyond U+10FFFF
        } else {
            // 80..BF alone, C0, C1 and F5..FF start no valid sequence.
            text.push_back(kReplacementCharacter);
            continue;
        }
        while (remaining > 0 && i < bytes.size()) {
            const auto next = static_cast<std::uint8_t>(bytes[i]);
            if (next < low || next > high)
                break; // not consumed: it starts what follows
            code = (code << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
            ++i;
            --remaining;
        }
        if (remaining == 0)
            AppendCodePoint(text, code);
        else
            text.push_back(kReplacementCharacter);
    }
    return text;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
    return DecodeUtf16(bytes, false);
}

std::u16string DecodeUtf16Be(std::string_view bytes) {
    return DecodeUtf16(bytes, true);
}

std::u16string DecodeCodePage1252(std::string_view bytes) {
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    // One character per byte, written in place: the caption table is decoded
    // on every caption lookup.
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        text[i] = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
    }
    return text;
}

std::u16string DecodeLatin1(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        text[i] = static_cast<std::uint8_t>(bytes[i]);
    return text;
}

std::u16string DecodeAscii(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        text[i] = b < 0x80 ? static_cast<char16_t>(b) : kReplacementCharacter;
    }
    return text;
}

std::optional<ByteOrderMark> FindByteOrderMark(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return ByteOrderMark{UnicodeEncoding::Utf8, 3};
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return ByteOrderMark{UnicodeEncoding::Utf16Le, 2};
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return ByteOrderMark{UnicodeEncoding::Utf16Be, 2};
    return std::nullopt;
}

std::string_view SkipByteOrderMark(std::string_view bytes, UnicodeEncoding encoding) {
    const auto mark = FindByteOrderMark(bytes);
    return mark && mark->encoding == encoding ? bytes.substr(mark->length) : bytes;
}

std::u16string DecodeUnicode(UnicodeEncoding encoding, std::string_view bytes) {
    switch (encoding) {
    case UnicodeEncoding::Utf8:
        return DecodeUtf8(bytes);
    case UnicodeEncoding::Utf16Le:
        return DecodeUtf16Le(bytes);
    case UnicodeEncoding::Utf16Be:
        return DecodeUtf16Be(bytes);
    }
    return {};
}

} // namespace kavrolt
