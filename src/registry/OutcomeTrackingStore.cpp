#include "registry/OutcomeTrackingStore.h"

namespace kavrolt {
namespace {

// Deletions open their key with full access; reads never ask for the right to
// delete the key.
constexpr std::uint32_t kDeleteRight = 0x00010000;

} // namespace

long OutcomeTrackingStore::OpenKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                                   RegKey& key) {
    const long status = inner_.OpenKey(root, path, mask, key);
    if ((mask & kDeleteRight) != 0 && status != kRegSuccess && status != kRegFileNotFound)
        failed_ = true;
    return status;
}

long OutcomeTrackingStore::CreateKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                                     RegKey& key) {
    const long status = inner_.CreateKey(root, path, mask, key);
    if (status != kRegSuccess)
        failed_ = true;
    return status;
}

long OutcomeTrackingStore::QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* size) {
    return inner_.QueryValue(key, name, type, data, size);
}

long OutcomeTrackingStore::SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size) {
    const long status = inner_.SetValue(key, name, type, data, size);
    if (status != kRegSuccess)
        failed_ = true;
    return status;
}

long OutcomeTrackingStore::DeleteValue(RegKey key, std::u16string_view name) {
    if (key == 0)
        return kRegInvalidHandle; // the key was missing or could not be opened: noted above
    const long status = inner_.DeleteValue(key, name);
    if (status != kRegSuccess && status != kRegFileNotFound)
        failed_ = true;
    return status;
}

long OutcomeTrackingStore::CloseKey(RegKey key) {
    return inner_.CloseKey(key);
}

long OutcomeTrackingStore::FlushKey(RegKey key) {
    return inner_.FlushKey(key);
}

} // namespace kavrolt
