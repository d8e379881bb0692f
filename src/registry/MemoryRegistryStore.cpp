#include "registry/MemoryRegistryStore.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <cstring>

namespace kavrolt {
namespace {

std::vector<std::u16string_view> Split(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

constexpr std::uint32_t kRightsOnly = ~(kKeyWow64_64Key | kKeyWow64_32Key);

} // namespace

struct MemoryRegistryStore::Node {
    std::u16string name;
    std::map<std::u16string, std::unique_ptr<Node>> children;          // by folded name
    std::map<std::u16string, std::pair<std::u16string, Value>> values; // folded -> (name, value)
    std::uint32_t granted = kKeyAllAccess;
};

MemoryRegistryStore::MemoryRegistryStore() = default;
MemoryRegistryStore::~MemoryRegistryStore() = default;

MemoryRegistryStore::Node* MemoryRegistryStore::Find(RegRoot root, std::u16string_view path) const {
    const auto it = roots_.find(root);
    if (it == roots_.end())
        return nullptr;
    Node* node = it->second.get();
    for (auto part : Split(path)) {
        const auto child = node->children.find(FoldAscii(part));
        if (child == node->children.end())
            return nullptr;
        node = child->second.get();
    }
    return node;
}

long MemoryRegistryStore::Grant(const Node& node, std::uint32_t mask) const {
    const auto wanted = mask & kRightsOnly;
    return (wanted & ~node.granted) == 0 ? kRegSuccess : kRegAccessDenied;
}

RegKey MemoryRegistryStore::Register(Node* node, std::uint32_t mask) {
    const RegKey key = next_;
    next_ += 4;
    open_[key] = OpenEntry{node, mask & kRightsOnly};
    return key;
}

long MemoryRegistryStore::OpenKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                                  RegKey& key) {
    if (root != kHkeyCurrentUser && root != kHkeyLocalMachine)
        return kRegInvalidHandle;
    if (!roots_.count(root))
        roots_[root] = std::make_unique<Node>();
    Node* node = Find(root, path);
    if (node == nullptr)
        return kRegFileNotFound;
    if (const auto status = Grant(*node, mask); status != kRegSuccess)
        return status;
    key = Register(node, mask);
    return kRegSuccess;
}

long MemoryRegistryStore::CreateKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                                    RegKey& key) {
    if (root != kHkeyCurrentUser && root != kHkeyLocalMachine)
        return kRegInvalidHandle;
    auto& slot = roots_[root];
    if (!slot)
        slot = std::make_unique<Node>();
    // Find the deepest existing key first: creating below it needs the right to
    // create subkeys there, and nothing is created when that right is missing.
    Node* node = slot.get();
    const auto parts = Split(path);
    std::size_t depth = 0;
    for (; depth < parts.size(); ++depth) {
        const auto child = node->children.find(FoldAscii(parts[depth]));
        if (child == node->children.end())
            break;
        node = child->second.get();
    }
    if (depth < parts.size() && (node->granted & kKeyCreateSubKey) == 0)
        return kRegAccessDenied;
    for (; depth < parts.size(); ++depth) {
        auto child = std::make_unique<Node>();
        child->name = std::u16string(parts[depth]);
        Node* raw = child.get();
        node->children[FoldAscii(parts[depth])] = std::move(child);
        node = raw;
    }
    if (const auto status = Grant(*node, mask); status != kRegSuccess)
        return status;
    key = Register(node, mask);
    return kRegSuccess;
}

long MemoryRegistryStore::QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
    const auto it = open_.find(key);
    if (it == open_.end())
        return kRegInvalidHandle;
    if ((it->second.mask & kKeyQueryValue) == 0)
        return kRegAccessDenied;
    const auto& values = it->second.node->values;
    const auto found = values.find(FoldAscii(name));
    if (found == values.end())
        return kRegFileNotFound;
    const Value& value = found->second.second;
    const auto actual = static_cast<std::uint32_t>(value.data.size());
    if (type != nullptr)
        *type = value.type;
    if (data == nullptr) {
        if (size != nullptr)
            *size = actual;
        return kRegSuccess;
    }
    if (size == nullptr)
        return kRegInvalidHandle;
    if (*size < actual) {
        *size = actual;
        return kRegMoreData;
    }
    if (actual != 0)
        std::memcpy(data, value.data.data(), actual);
    *size = actual;
    return kRegSuccess;
}

long MemoryRegistryStore::SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    const auto it = open_.find(key);
    if (it == open_.end())
        return kRegInvalidHandle;
    if ((it->second.mask & kKeySetValue) == 0)
        return kRegAccessDenied;
    Value value{type, size == 0 ? std::vector<std::uint8_t>{}
                                : std::vector<std::uint8_t>(data, data + size)};
    it->second.node->values[FoldAscii(name)] = {std::u16string(name), std::move(value)};
    return kRegSuccess;
}

long MemoryRegistryStore::DeleteValue(RegKey key, std::u16string_view name) {
    const auto it = open_.find(key);
    if (it == open_.end())
        return kRegInvalidHandle;
    if ((it->second.mask & kKeySetValue) == 0)
        return kRegAccessDenied;
    return it->second.node->values.erase(FoldAscii(name)) ? kRegSuccess : kRegFileNotFound;
}

long MemoryRegistryStore::CloseKey(RegKey key) {
    return open_.erase(key) ? kRegSuccess : kRegInvalidHandle;
}

// The memory store has no disk to write to: flushing an open key succeeds.
long MemoryRegistryStore::FlushKey(RegKey key) {
    return open_.count(key) ? kRegSuccess : kRegInvalidHandle;
}

MemoryRegistryStore::Node* MemoryRegistryStore::Ensure(RegRoot root, std::u16string_view path) {
    auto& slot = roots_[root];
    if (!slot)
        slot = std::make_unique<Node>();
    Node* node = slot.get();
    for (auto part : Split(path)) {
        auto& child = node->children[FoldAscii(part)];
        if (!child) {
            child = std::make_unique<Node>();
            child->name = std::u16string(part);
        }
        node = child.get();
    }
    return node;
}

void MemoryRegistryStore::Put(RegRoot root, std::u16string_view path, std::u16string_view name,
                              Value value) {
    Ensure(root, path)->values[FoldAscii(name)] = {std::u16string(name), std::move(value)};
}

std::optional<MemoryRegistryStore::Value>
MemoryRegistryStore::Get(RegRoot root, std::u16string_view path, std::u16string_view name) const {
    const Node* node = Find(root, path);
    if (node == nullptr)
        return std::nullopt;
    const auto it = node->values.find(FoldAscii(name));
    if (it == node->values.end())
        return std::nullopt;
    return it->second.second;
}

bool MemoryRegistryStore::KeyExists(RegRoot root, std::u16string_view path) const {
    return Find(root, path) != nullptr;
}

void MemoryRegistryStore::Remove(RegRoot root, std::u16string_view path, std::u16string_view name) {
    if (Node* node = Find(root, path))
        node->values.erase(FoldAscii(name));
}

void MemoryRegistryStore::DenyAccess(RegRoot root, std::u16string_view path, Deny deny) {
    Node* node = Ensure(root, path);
    switch (deny) {
    case Deny::None:
        node->granted = kKeyAllAccess;
        break;
    case Deny::Read:
        node->granted = kKeyAllAccess & ~(kKeyQueryValue | kKeyEnumerateSubKeys | kKeyNotify);
        break;
    case Deny::Write:
        node->granted = kKeyAllAccess & ~(kKeySetValue | kKeyCreateSubKey | kKeyCreateLink);
        break;
    case Deny::FullAccess:
        // Reading and setting values stay allowed; what is missing is full control.
        node->granted = kKeyRead | kKeyWrite;
        break;
    }
}

namespace {

void Collect(const std::u16string& prefix, const auto& node, auto& out) {
    for (const auto& [folded, entry] : node.values)
        out[prefix + u"\\" + entry.first] = entry.second;
    for (const auto& [folded, child] : node.children)
        Collect(prefix + u"\\" + child->name, *child, out);
}

} // namespace

std::map<std::u16string, MemoryRegistryStore::Value> MemoryRegistryStore::Snapshot() const {
    std::map<std::u16string, Value> out;
    for (const auto& [root, node] : roots_)
        Collect(root == kHkeyCurrentUser ? u"HKCU" : u"HKLM", *node, out);
    return out;
}

} // namespace kavrolt
