// The real registry through advapi32.
#pragma once

#include "registry/RegistryStore.h"

namespace kavrolt {

class Win32RegistryStore final : public RegistryStore {
public:
    long OpenKey(RegRoot root, std::u16string_view path, std::uint32_t mask, RegKey& key) override;
    long CreateKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                   RegKey& key) override;
    long QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override;
    long DeleteValue(RegKey key, std::u16string_view name) override;
    long CloseKey(RegKey key) override;
    long FlushKey(RegKey key) override;
};

} // namespace kavrolt
