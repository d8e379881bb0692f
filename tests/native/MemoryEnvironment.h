#pragma once

#include "common/RegistryEnvironment.h"
#include "registry/MemoryRegistryStore.h"

namespace kavrolt::test {

struct MemoryEnvironment {
    MemoryRegistryStore store;

    RegistryStore& Store() { return store; }
    std::u16string Base() { return u"\\Software\\KavroltTest\\"; }
    void Put(RegRoot root, std::u16string_view path, std::u16string_view name, RawValue value) {
        store.Put(root, path, name, {value.type, std::move(value.data)});
    }
    std::optional<RawValue> Get(RegRoot root, std::u16string_view path, std::u16string_view name) {
        const auto value = store.Get(root, path, name);
        if (!value)
            return std::nullopt;
        return RawValue{value->type, value->data};
    }
    bool KeyExists(RegRoot root, std::u16string_view path) { return store.KeyExists(root, path); }
    void Remove(RegRoot root, std::u16string_view path, std::u16string_view name) {
        store.Remove(root, path, name);
    }
};

} // namespace kavrolt::test
