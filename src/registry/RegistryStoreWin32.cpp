#include "registry/RegistryStoreWin32.h"

#include <windows.h>

namespace kavrolt {
namespace {

HKEY RootKey(RegRoot root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}
HKEY AsHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

// The view functions take zero-terminated names; these views rarely are.
std::wstring Terminated(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace

long Win32RegistryStore::OpenKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                                 RegKey& key) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExW(RootKey(root), Terminated(path).c_str(), 0, mask, &opened);
    key = status == ERROR_SUCCESS ? reinterpret_cast<RegKey>(opened) : 0;
    return status;
}

long Win32RegistryStore::CreateKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                                   RegKey& key) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExW(RootKey(root), Terminated(path).c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, mask, nullptr, &created, nullptr);
    key = status == ERROR_SUCCESS ? reinterpret_cast<RegKey>(created) : 0;
    return status;
}

long Win32RegistryStore::QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LONG status = RegQueryValueExW(AsHkey(key), Terminated(name).c_str(), nullptr, &valueType,
                                         data, size != nullptr ? &valueSize : nullptr);
    if (type != nullptr)
        *type = valueType;
    if (size != nullptr)
        *size = valueSize;
    return status;
}

long Win32RegistryStore::SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
    return RegSetValueExW(AsHkey(key), Terminated(name).c_str(), 0, type, data, size);
}

long Win32RegistryStore::DeleteValue(RegKey key, std::u16string_view name) {
    return RegDeleteValueW(AsHkey(key), Terminated(name).c_str());
}

long Win32RegistryStore::CloseKey(RegKey key) {
    return RegCloseKey(AsHkey(key));
}

long Win32RegistryStore::FlushKey(RegKey key) {
    return RegFlushKey(AsHkey(key));
}

RegistryStore& DefaultRegistryStore() {
    static Win32RegistryStore store;
    return store;
}

} // namespace kavrolt
