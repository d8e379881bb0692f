// Bytes to UTF-16 text: UTF-8, UTF-16 in either byte order, Windows code page
// 1252, ISO-8859-1 and US-ASCII. Every part of the program that decodes text
// uses these, so the same bytes give the same text everywhere.
//
// Malformed input never fails and never drops bytes silently: each ill-formed
// piece becomes U+FFFD by one rule, the one of the WHATWG Encoding Standard.
//
// UTF-8: U+FFFD for each maximal subpart of an ill-formed sequence. A lead byte
// starts a sequence only when it is C2..F4, and each following byte continues
// it only while it lies in the range that can still lead to a valid character:
//   - after E0 only A0..BF (lower would be overlong), after ED only 80..9F
//     (higher would be a surrogate), after F0 only 90..BF (overlong), after F4
//     only 80..8F (beyond U+10FFFF), elsewhere 80..BF;
//   - a byte that does not fit ends the sequence: the bytes before it give one
//     U+FFFD, and the byte is read again as the start of what follows;
//   - a byte that starts no valid prefix at all (80..BF alone, C0, C1, F5..FF)
//     gives one U+FFFD of its own;
//   - a sequence that the end of the input cuts short gives one U+FFFD.
// So F0 80 80 41 gives U+FFFD U+FFFD U+FFFD U+0041 (80 cannot follow F0), and
// F0 9F 98 41 gives U+FFFD U+0041. A byte-order mark is an ordinary U+FEFF
// here; FindByteOrderMark and SkipByteOrderMark deal with marks.
//
// UTF-16: pairs of bytes are code units. A high surrogate followed by a low one
// is one character; a surrogate without its partner gives U+FFFD, and the unit
// after an unpaired high surrogate is read again on its own. An odd last byte
// gives U+FFFD; a high surrogate that the end of the input cuts off, with or
// without such an odd byte behind it, gives one U+FFFD in all.
//
// Code page 1252: 80..9F as Windows maps them (80 is U+20AC); the five bytes it
// leaves undefined (81, 8D, 8F, 90, 9D) stand for the C1 control characters of
// the same number, as Windows decodes them. Every other byte is the character
// of the same number.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kavrolt {

// The character that stands in for malformed input.
inline constexpr char16_t kReplacementCharacter = u'\uFFFD';

std::u16string DecodeUtf8(std::string_view bytes);
std::u16string DecodeUtf16Le(std::string_view bytes);
std::u16string DecodeUtf16Be(std::string_view bytes);
std::u16string DecodeCodePage1252(std::string_view bytes);

// ISO-8859-1: each byte is the character of the same number.
std::u16string DecodeLatin1(std::string_view bytes);

// US-ASCII: bytes 00..7F are themselves; each byte 80..FF gives U+FFFD.
std::u16string DecodeAscii(std::string_view bytes);

// The encodings that a byte-order mark can name.
enum class UnicodeEncoding { Utf8, Utf16Le, Utf16Be };

// A byte-order mark at the start of some bytes: the encoding it names and its
// length in bytes.
struct ByteOrderMark {
    UnicodeEncoding encoding;
    std::size_t length;
};

// The mark that the bytes begin with: EF BB BF (UTF-8), FF FE (UTF-16 LE) or
// FE FF (UTF-16 BE); nothing when they begin with none of these.
std::optional<ByteOrderMark> FindByteOrderMark(std::string_view bytes);

// The bytes behind a leading mark of that encoding; all of them when they do
// not begin with one.
std::string_view SkipByteOrderMark(std::string_view bytes, UnicodeEncoding encoding);

// DecodeUtf8, DecodeUtf16Le or DecodeUtf16Be, as the encoding names; a mark at
// the start of the bytes is decoded as U+FEFF.
std::u16string DecodeUnicode(UnicodeEncoding encoding, std::string_view bytes);

} // namespace kavrolt
