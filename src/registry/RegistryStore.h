// The primitive registry operations that the registry helpers run on, with the
// semantics of advapi32: status codes, value types, byte sizes and access masks.
// Two stores implement it: the real registry (Windows only) and an in-memory
// tree used by the portable tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kavrolt {

// Handle value of a predefined root key.
using RegRoot = std::uint32_t;
inline constexpr RegRoot kHkeyCurrentUser = 0x80000001u;
inline constexpr RegRoot kHkeyLocalMachine = 0x80000002u;

// Status codes, as the Win32 error numbers.
inline constexpr long kRegSuccess = 0;
inline constexpr long kRegFileNotFound = 2;
inline constexpr long kRegAccessDenied = 5;
inline constexpr long kRegInvalidHandle = 6;
inline constexpr long kRegMoreData = 234;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// Access rights.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kKeyCreateLink = 0x0020;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// An opened key. 0 is never a valid key.
using RegKey = std::uintptr_t;

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // RegOpenKeyExW: opens an existing key below root.
    virtual long OpenKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                         RegKey& key) = 0;
    // RegCreateKeyExW with REG_OPTION_NON_VOLATILE: opens the key or creates it
    // together with every missing key along the path.
    virtual long CreateKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                           RegKey& key) = 0;
    // RegQueryValueExW. With data null only the type and size are given. With
    // data set, *size is the buffer size on entry and the data size on return;
    // a buffer that is too small gives kRegMoreData.
    virtual long QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) = 0;
    // RegSetValueExW.
    virtual long SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
    // RegDeleteValueW.
    virtual long DeleteValue(RegKey key, std::u16string_view name) = 0;
    // RegCloseKey.
    virtual long CloseKey(RegKey key) = 0;
    // RegFlushKey: asks for the hive that holds the key to be written to disk
    // before the call returns. Windows otherwise writes each hive on a schedule
    // of its own, so values written to two hives may reach the disk in either
    // order.
    virtual long FlushKey(RegKey key) = 0;
};

// Owns an opened key of a store and closes it when it goes out of scope.
class ScopedRegKey {
public:
    explicit ScopedRegKey(RegistryStore& store) : store_(store) {}
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;
    ~ScopedRegKey() {
        if (key_ != 0)
            store_.CloseKey(key_);
    }
    RegKey& Out() { return key_; }
    RegKey Get() const { return key_; }

private:
    RegistryStore& store_;
    RegKey key_ = 0;
};

// The store that the program's registry accesses go to: the real registry on
// Windows, a process-wide memory store elsewhere.
RegistryStore& DefaultRegistryStore();

} // namespace kavrolt
