// Builds without Windows carry no resources; 8-bit text is taken as code page
// 1252, the code page of the shipped table.
#include "appearance/Captions.h"

#include "text/TextCodecs.h"

namespace kavrolt {

std::optional<std::vector<std::uint8_t>> ReadOwnRcData(std::u16string_view) {
    return std::nullopt;
}

std::u16string DecodeAnsiCodePage(std::string_view bytes) {
    return DecodeCodePage1252(bytes);
}

} // namespace kavrolt
