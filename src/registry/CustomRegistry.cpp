#include "registry/CustomRegistry.h"

#include <optional>

namespace kavrolt {
namespace {

std::uint32_t Mask(std::uint32_t access, bool use64BitView) {
    return use64BitView ? (access | kKeyWow64_64Key) : access;
}

// The registry takes paths relative to the root: only a leading backslash is
// removed, a trailing one is passed on unchanged.
std::u16string_view RelativePath(std::u16string_view path) {
    if (!path.empty() && path.front() == u'\\')
        path.remove_prefix(1);
    return path;
}

// Opens an existing key; on failure the handle stays 0 and the value operation
// that follows fails with an invalid handle.
void OpenExisting(RegistryStore& store, RegRoot root, std::u16string_view path, std::uint32_t mask,
                  ScopedRegKey& key) {
    if (store.OpenKey(root, RelativePath(path), mask, key.Out()) != kRegSuccess)
        key.Out() = 0;
}

// One read of a text value: nothing when the value is missing, empty, not a
// text type, or empty once cut at its first zero character.
std::optional<std::u16string> ReadTextOnce(RegistryStore& store, RegRoot root,
                                           std::u16string_view path, std::u16string_view name,
                                           bool use64BitView) {
    ScopedRegKey key(store);
    OpenExisting(store, root, path, Mask(kKeyRead, use64BitView), key);
    std::uint32_t type = kRegNone;
    std::uint32_t size = 0;
    if (store.QueryValue(key.Get(), name, &type, nullptr, &size) != kRegSuccess || size == 0)
        return std::nullopt;
    std::u16string buffer((size + 1) / 2, u'\0');
    std::uint32_t got = size;
    if (store.QueryValue(key.Get(), name, &type, reinterpret_cast<std::uint8_t*>(buffer.data()),
                         &got) != kRegSuccess)
        return std::nullopt;
    if (type != kRegSz && type != kRegExpandSz)
        return std::nullopt;
    // The buffer started as zeros, so an odd byte count leaves a half character
    // whose high byte is zero.
    buffer.resize((got + 1) / 2);
    const auto zero = buffer.find(u'\0');
    if (zero != std::u16string::npos)
        buffer.resize(zero);
    if (buffer.empty())
        return std::nullopt;
    return buffer;
}

// A REG_DWORD whose data fits in 4 bytes; nothing for any other value.
std::optional<std::int32_t> ReadDword(RegistryStore& store, RegRoot root, std::u16string_view path,
                                      std::u16string_view name, bool use64BitView) {
    ScopedRegKey key(store);
    OpenExisting(store, root, path, Mask(kKeyRead, use64BitView), key);
    std::uint8_t buffer[4] = {0, 0, 0, 0};
    std::uint32_t type = kRegNone;
    std::uint32_t size = sizeof buffer;
    if (store.QueryValue(key.Get(), name, &type, buffer, &size) != kRegSuccess ||
        type != kRegDword || size > sizeof buffer)
        return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | buffer[i];
    return static_cast<std::int32_t>(number);
}

void SetValue(RegistryStore& store, RegRoot root, std::u16string_view path,
              std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
              std::uint32_t size, bool use64BitView) {
    ScopedRegKey key(store);
    if (store.CreateKey(root, RelativePath(path), Mask(kKeyWrite, use64BitView), key.Out()) !=
        kRegSuccess)
        return;
    store.SetValue(key.Get(), name, type, data, size);
}

} // namespace

std::u16string ReadRegString(RegistryStore& store, RegRoot root, std::u16string_view path,
                             std::u16string_view name, std::u16string_view fallback,
                             bool use64BitView) {
    // A text that reads non-empty is read a second time by the same rules, and
    // the second reading is the result.
    if (!ReadTextOnce(store, root, path, name, use64BitView))
        return std::u16string(fallback);
    auto second = ReadTextOnce(store, root, path, name, use64BitView);
    return second ? *second : std::u16string(fallback);
}

std::int32_t ReadRegInteger(RegistryStore& store, RegRoot root, std::u16string_view path,
                            std::u16string_view name, std::int32_t fallback, bool use64BitView) {
    return ReadDword(store, root, path, name, use64BitView).value_or(fallback);
}

bool ReadRegBool(RegistryStore& store, RegRoot root, std::u16string_view path,
                 std::u16string_view name, bool fallback, bool use64BitView) {
    const auto number = ReadDword(store, root, path, name, use64BitView);
    return number ? *number != 0 : fallback;
}

void WriteRegString(RegistryStore& store, RegRoot root, std::u16string_view path,
                    std::u16string_view name, std::u16string_view text, bool use64BitView) {
    std::u16string data(text);
    data.push_back(u'\0');
    SetValue(store, root, path, name, kRegSz, reinterpret_cast<const std::uint8_t*>(data.data()),
             static_cast<std::uint32_t>(data.size() * 2), use64BitView);
}

void WriteRegInteger(RegistryStore& store, RegRoot root, std::u16string_view path,
                     std::u16string_view name, std::int32_t number, bool use64BitView) {
    const auto n = static_cast<std::uint32_t>(number);
    const std::uint8_t data[4] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                  static_cast<std::uint8_t>(n >> 16),
                                  static_cast<std::uint8_t>(n >> 24)};
    SetValue(store, root, path, name, kRegDword, data, sizeof data, use64BitView);
}

void WriteRegBinary(RegistryStore& store, RegRoot root, std::u16string_view path,
                    std::u16string_view name, const std::vector<std::uint8_t>& bytes,
                    bool use64BitView) {
    SetValue(store, root, path, name, kRegBinary, bytes.data(),
             static_cast<std::uint32_t>(bytes.size()), use64BitView);
}

void WriteRegBool(RegistryStore& store, RegRoot root, std::u16string_view path,
                  std::u16string_view name, bool flag, bool use64BitView) {
    WriteRegInteger(store, root, path, name, flag ? 1 : 0, use64BitView);
}

void DeleteRegValue(RegistryStore& store, RegRoot root, std::u16string_view path,
                    std::u16string_view name, bool use64BitView) {
    ScopedRegKey key(store);
    OpenExisting(store, root, path, Mask(kKeyAllAccess, use64BitView), key);
    store.DeleteValue(key.Get(), name);
}

std::u16string ReadRegString(RegRoot root, std::u16string_view path, std::u16string_view name,
                             std::u16string_view fallback, bool use64BitView) {
    return ReadRegString(DefaultRegistryStore(), root, path, name, fallback, use64BitView);
}
std::int32_t ReadRegInteger(RegRoot root, std::u16string_view path, std::u16string_view name,
                            std::int32_t fallback, bool use64BitView) {
    return ReadRegInteger(DefaultRegistryStore(), root, path, name, fallback, use64BitView);
}
bool ReadRegBool(RegRoot root, std::u16string_view path, std::u16string_view name, bool fallback,
                 bool use64BitView) {
    return ReadRegBool(DefaultRegistryStore(), root, path, name, fallback, use64BitView);
}
void WriteRegString(RegRoot root, std::u16string_view path, std::u16string_view name,
                    std::u16string_view text, bool use64BitView) {
    WriteRegString(DefaultRegistryStore(), root, path, name, text, use64BitView);
}
void WriteRegInteger(RegRoot root, std::u16string_view path, std::u16string_view name,
                     std::int32_t number, bool use64BitView) {
    WriteRegInteger(DefaultRegistryStore(), root, path, name, number, use64BitView);
}
void WriteRegBinary(RegRoot root, std::u16string_view path, std::u16string_view name,
                    const std::vector<std::uint8_t>& bytes, bool use64BitView) {
    WriteRegBinary(DefaultRegistryStore(), root, path, name, bytes, use64BitView);
}
void WriteRegBool(RegRoot root, std::u16string_view path, std::u16string_view name, bool flag,
                  bool use64BitView) {
    WriteRegBool(DefaultRegistryStore(), root, path, name, flag, use64BitView);
}
void DeleteRegValue(RegRoot root, std::u16string_view path, std::u16string_view name,
                    bool use64BitView) {
    DeleteRegValue(DefaultRegistryStore(), root, path, name, use64BitView);
}

} // namespace kavrolt
