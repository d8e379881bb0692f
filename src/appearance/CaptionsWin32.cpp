// The caption table's platform parts: RCDATA resources of the program's own
// module and the system's ANSI code page.
#include "appearance/Captions.h"

#include <windows.h>

namespace kavrolt {

std::optional<std::vector<std::uint8_t>> ReadOwnRcData(std::u16string_view name) {
    const std::wstring terminated(name.begin(), name.end());
    const HMODULE module = GetModuleHandleW(nullptr);
    // Resource names match without regard to case, so "english" finds ENGLISH.
    // Loaded resources belong to the module and are never freed.
    const HRSRC info = FindResourceW(module, terminated.c_str(), MAKEINTRESOURCEW(10));
    if (info == nullptr)
        return std::nullopt;
    const HGLOBAL loaded = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
    if (data == nullptr)
        return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

std::u16string DecodeAnsiCodePage(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), needed);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return std::u16string(wide.begin(), wide.end());
}

} // namespace kavrolt
