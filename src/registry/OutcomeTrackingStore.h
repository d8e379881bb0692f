// Passes every operation on to another store and notes whether any write or
// deletion failed to take effect. Deleting a value or key that does not exist
// counts as taking effect. Reads are never counted.
#pragma once

#include "registry/RegistryStore.h"

#include <set>

namespace kavrolt {

class OutcomeTrackingStore final : public RegistryStore {
public:
    explicit OutcomeTrackingStore(RegistryStore& inner) : inner_(inner) {}

    bool AnyChangeFailed() const { return failed_; }

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

private:
    RegistryStore& inner_;
    bool failed_ = false;
};

} // namespace kavrolt
