// The caption table: every text the program shows, kept as an RCDATA resource
// named after its language. Each non-empty line is one row of comma-separated
// fields: window name, control name or key, text. The ProgramKey value
// "Language" names the table; nothing of it is cached, every call reads the
// value, the resource and every line again.
#pragma once

#include "registry/RegistryStore.h"
#include "forms/FormModel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrolt {

// Where the caption operations find their table.
struct CaptionSource {
    // The registry that holds the "Language" value.
    RegistryStore& registry;
    // The bytes of the RCDATA resource of that name, nothing when there is none.
    std::function<std::optional<std::vector<std::uint8_t>>(std::u16string_view name)> resource;
    // Decodes 8-bit text in the system's ANSI code page.
    std::function<std::u16string(std::string_view bytes)> decodeAnsi;
};

// The program's own source: DefaultRegistryStore(), the resources of the
// program's module and the ANSI code page.
CaptionSource DefaultCaptionSource();

// The platform parts of DefaultCaptionSource(). Builds without Windows carry
// no resources and decode with code page 1252 (DecodeCodePage1252).
std::optional<std::vector<std::uint8_t>> ReadOwnRcData(std::u16string_view name);
std::u16string DecodeAnsiCodePage(std::string_view bytes);

// The text of a table resource: a byte-order mark selects UTF-8, UTF-16 LE or
// UTF-16 BE (decoded as text/TextCodecs.h says) and is dropped; without one the
// bytes are ANSI text.
std::u16string DecodeCaptionText(const std::vector<std::uint8_t>& bytes,
                                 const std::function<std::u16string(std::string_view)>& decodeAnsi);

// Lines end with CR LF, a lone CR or a lone LF; the last line needs no end.
std::vector<std::u16string> SplitCaptionLines(std::u16string_view text);

// Splits one row into its fields: comma-separated, double-quote quoting, blanks
// (U+0001 to U+0020) between fields skipped. A line of blanks only gives none.
std::vector<std::u16string> SplitCaptionRow(std::u16string_view line);

// The text of the row for that window name and key, compared without regard
// to ASCII case; the last matching row wins; empty text when none matches.
std::u16string LoadCaption(const CaptionSource& source, std::u16string_view windowName,
                           std::u16string_view key);
std::u16string LoadCaption(std::u16string_view windowName, std::u16string_view key);

// Gives the window its title and its controls their texts from the rows of
// that window, in table order.
void ApplyCaptions(const CaptionSource& source, FormModel& form);
void ApplyCaptions(FormModel& form);

} // namespace kavrolt
