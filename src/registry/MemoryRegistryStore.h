// An in-memory registry with advapi32's semantics, for tests and for builds
// without a Windows registry. Key and value names compare without regard to
// ASCII letter case, as the registry's do. Access can be denied per key.
#pragma once

#include "registry/RegistryStore.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kavrolt {

class MemoryRegistryStore final : public RegistryStore {
public:
    struct Value {
        std::uint32_t type = kRegNone;
        std::vector<std::uint8_t> data;
        bool operator==(const Value& other) const {
            return type == other.type && data == other.data;
        }
    };

    // Which rights a key refuses when it is opened or created.
    enum class Deny { None, Read, Write, FullAccess };

    MemoryRegistryStore();
    ~MemoryRegistryStore() override;

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

    // Direct access for tests, bypassing rights. Paths are relative to the root,
    // with or without leading and trailing backslashes.
    void Put(RegRoot root, std::u16string_view path, std::u16string_view name, Value value);
    std::optional<Value> Get(RegRoot root, std::u16string_view path,
                             std::u16string_view name) const;
    bool KeyExists(RegRoot root, std::u16string_view path) const;
    void Remove(RegRoot root, std::u16string_view path, std::u16string_view name);
    // Denies access to a key, creating it when it is missing.
    void DenyAccess(RegRoot root, std::u16string_view path, Deny deny);
    // Every value of the store as "root\path\name", in a stable order.
    std::map<std::u16string, Value> Snapshot() const;
    // Keys opened and not yet closed.
    std::size_t OpenKeyCount() const { return open_.size(); }

private:
    struct Node;
    Node* Find(RegRoot root, std::u16string_view path) const;
    Node* Ensure(RegRoot root, std::u16string_view path);
    long Grant(const Node& node, std::uint32_t mask) const;
    RegKey Register(Node* node, std::uint32_t mask);

    std::map<RegRoot, std::unique_ptr<Node>> roots_;
    struct OpenEntry {
        Node* node;
        std::uint32_t mask;
    };
    std::map<RegKey, OpenEntry> open_;
    RegKey next_ = 0x1000;
};

} // namespace kavrolt
