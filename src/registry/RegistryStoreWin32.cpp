#include "registry/RegistryStoreWin32.h"

#include "base/Handles.h"

#include <windows.h>

namespace kavrolt {
namespace {

// The predefined keys are sign-extended 32-bit values.
BorrowedKey RootKey(RegRoot root) {
    return BorrowedKey::FromBits(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}
// A key the store opened and its caller closes through CloseKey.
BorrowedKey AsKey(RegKey key) {
    return BorrowedKey::FromBits(key);
}

// The key a successful open or create handed out, for the caller to close;
// what a failure leaves in the slot is no key.
RegKey HandOver(LONG status, UniqueKey& key) {
    const auto handed = key.release();
    return status == ERROR_SUCCESS ? reinterpret_cast<RegKey>(handed) : 0;
}

// The view functions take zero-terminated names; these views rarely are.
std::wstring Terminated(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace

long Win32RegistryStore::OpenKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                                 RegKey& key) {
    UniqueKey opened;
    const LONG status =
        RegOpenKeyExW(RootKey(root).get(), Terminated(path).c_str(), 0, mask, opened.Out());
    key = HandOver(status, opened);
    return status;
}

long Win32RegistryStore::CreateKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                                   RegKey& key) {
    UniqueKey created;
    const LONG status =
        RegCreateKeyExW(RootKey(root).get(), Terminated(path).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, mask, nullptr, created.Out(), nullptr);
    key = HandOver(status, created);
    return status;
}

long Win32RegistryStore::QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LONG status = RegQueryValueExW(AsKey(key).get(), Terminated(name).c_str(), nullptr,
                                         &valueType, data, size != nullptr ? &valueSize : nullptr);
    if (type != nullptr)
        *type = valueType;
    if (size != nullptr)
        *size = valueSize;
    return status;
}

long Win32RegistryStore::SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
    return RegSetValueExW(AsKey(key).get(), Terminated(name).c_str(), 0, type, data, size);
}

long Win32RegistryStore::DeleteValue(RegKey key, std::u16string_view name) {
    return RegDeleteValueW(AsKey(key).get(), Terminated(name).c_str());
}

long Win32RegistryStore::CloseKey(RegKey key) {
    return RegCloseKey(AsKey(key).get());
}

long Win32RegistryStore::FlushKey(RegKey key) {
    return RegFlushKey(AsKey(key).get());
}

RegistryStore& DefaultRegistryStore() {
    static Win32RegistryStore store;
    return store;
}

} // namespace kavrolt
