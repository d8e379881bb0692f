// Character sets of HTTP answers: where an answer declares its character set,
// and how its bytes become UTF-16 text.
#pragma once

#include <string>
#include <string_view>

namespace kavrolt {

// The media type of a Content-Type value in lower case, without parameters
// ("text/html" for "Text/HTML; charset=UTF-8").
std::string MediaTypeOf(std::string_view contentType);

// The value of the charset parameter of a Content-Type value, unquoted; empty
// when there is none.
std::string CharsetOfContentType(std::string_view contentType);

// The character set that an HTML document declares in a meta element, either
// <meta charset="..."> or <meta http-equiv="Content-Type" content="...; charset=...">;
// empty when it declares none.
std::string CharsetOfHtmlMeta(std::string_view html);

// Decodes bytes in the named character set (us-ascii, iso-8859-1, windows-1252,
// utf-8, utf-16, utf-16le, utf-16be and their common aliases, in any letter
// case). With an empty or unknown name each byte becomes one character.
// Malformed input becomes U+FFFD as text/TextCodecs.h states. A leading
// byte-order mark of the named encoding is dropped; for "utf-16" a UTF-16 mark
// selects the byte order, little-endian without one.
std::u16string DecodeText(std::string_view bytes, std::string_view charset);

} // namespace kavrolt
