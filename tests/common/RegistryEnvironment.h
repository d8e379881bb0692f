// What the shared registry suites need of a store under test: the store, a
// place to work in, and raw access that bypasses the helpers under test.
#pragma once

#include "registry/RegistryStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavrolt::test {

struct RawValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const RawValue& other) const {
        return type == other.type && data == other.data;
    }
};

inline std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text, bool terminated = true) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminated) {
        bytes.push_back(0);
        bytes.push_back(0);
    }
    return bytes;
}

inline std::vector<std::uint8_t> DwordBytes(std::uint32_t n) {
    return {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
            static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
}

// An environment implements, with paths in the helpers' form ("\A\B\"):
//   RegistryStore& Store();
//   std::u16string Base();  a throw-away key path under HKEY_CURRENT_USER
//   void Put(RegRoot, path, name, RawValue);
//   std::optional<RawValue> Get(RegRoot, path, name);
//   bool KeyExists(RegRoot, path);
//   void Remove(RegRoot, path, name);

} // namespace kavrolt::test
