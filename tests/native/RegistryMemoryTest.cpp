#include "common/RegistryBehaviourSuite.h"
#include "native/MemoryEnvironment.h"

#include <gtest/gtest.h>

namespace kavrolt::test {

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryBehaviour, MemoryEnvironment);

namespace {

// Passes every call on to a memory store and records what the helpers asked for.
class RecordingStore final : public RegistryStore {
public:
    MemoryRegistryStore inner;
    std::vector<std::string> calls;

    long OpenKey(RegRoot root, std::u16string_view path, std::uint32_t mask, RegKey& key) override {
        calls.push_back("open " + Narrow(path) + " " + Hex(mask));
        return inner.OpenKey(root, path, mask, key);
    }
    long CreateKey(RegRoot root, std::u16string_view path, std::uint32_t mask,
                   RegKey& key) override {
        calls.push_back("create " + Narrow(path) + " " + Hex(mask));
        return inner.CreateKey(root, path, mask, key);
    }
    long QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override {
        calls.push_back(data ? "read" : "size");
        return inner.QueryValue(key, name, type, data, size);
    }
    long SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override {
        calls.push_back("set");
        return inner.SetValue(key, name, type, data, size);
    }
    long DeleteValue(RegKey key, std::u16string_view name) override {
        calls.push_back("delete");
        return inner.DeleteValue(key, name);
    }
    long CloseKey(RegKey key) override {
        calls.push_back("close");
        return inner.CloseKey(key);
    }
    long FlushKey(RegKey key) override {
        calls.push_back("flush");
        return inner.FlushKey(key);
    }

private:
    static std::string Narrow(std::u16string_view text) {
        std::string out;
        for (char16_t c : text)
            out.push_back(static_cast<char>(c));
        return out;
    }
    static std::string Hex(std::uint32_t n) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%X", n);
        return buffer;
    }
};

constexpr auto HKCU = kHkeyCurrentUser;
const std::u16string_view kPath = u"\\Software\\T\\";

TEST(RegistryHelpers, OpenEachKeyWithTheMaskOfTheirKindAndCloseIt) {
    struct Case {
        bool use64;
        std::vector<std::string> expected;
    };
    for (const auto& [use64, expectedMasks] : {Case{false, {"20006", "20019", "20019", "F003F"}},
                                               Case{true, {"20106", "20119", "20119", "F013F"}}}) {
        RecordingStore store;
        WriteRegInteger(store, HKCU, kPath, u"n", 1, use64);
        ReadRegInteger(store, HKCU, kPath, u"n", 0, use64);
        ReadRegBool(store, HKCU, kPath, u"n", false, use64);
        DeleteRegValue(store, HKCU, kPath, u"n", use64);
        std::vector<std::string> masks;
        for (const auto& call : store.calls) {
            if (call.rfind("open ", 0) == 0 || call.rfind("create ", 0) == 0) {
                // The leading backslash is removed, the trailing one is kept.
                EXPECT_NE(call.find(" Software\\T\\ "), std::string::npos) << call;
                masks.push_back(call.substr(call.rfind(' ') + 1));
            }
        }
        EXPECT_EQ(masks, expectedMasks);
        EXPECT_EQ(store.inner.OpenKeyCount(), 0u);
    }
}

TEST(RegistryHelpers, ReadRegStringReadsANonEmptyTextTwice) {
    RecordingStore store;
    store.inner.Put(HKCU, kPath, u"s", {kRegSz, Utf16Bytes(u"abc")});
    store.inner.Put(HKCU, kPath, u"e", {kRegSz, Utf16Bytes(u"")});
    EXPECT_EQ(ReadRegString(store, HKCU, kPath, u"s", u"d", false), u"abc");
    const std::vector<std::string> twice = {"open Software\\T\\ 20019", "size", "read", "close",
                                            "open Software\\T\\ 20019", "size", "read", "close"};
    EXPECT_EQ(store.calls, twice);
    store.calls.clear();
    EXPECT_EQ(ReadRegString(store, HKCU, kPath, u"e", u"d", false), u"d");
    EXPECT_EQ(store.calls.size(), 4u);
}

TEST(RegistryHelpers, DeniedAccessLeavesTheRegistryUnchanged) {
    MemoryRegistryStore store;
    const std::u16string_view locked = u"\\Software\\Locked\\";
    store.Put(HKCU, locked, u"v", {kRegDword, DwordBytes(3)});
    const MemoryRegistryStore::Value three{kRegDword, DwordBytes(3)};

    store.DenyAccess(HKCU, locked, MemoryRegistryStore::Deny::Write);
    WriteRegInteger(store, HKCU, locked, u"v", 9, false);
    WriteRegString(store, HKCU, locked, u"new", u"x", false);
    WriteRegInteger(store, HKCU, u"\\Software\\Locked\\Child\\", u"v", 9, false);
    EXPECT_EQ(store.Get(HKCU, locked, u"v"), three);
    EXPECT_FALSE(store.Get(HKCU, locked, u"new"));
    EXPECT_FALSE(store.KeyExists(HKCU, u"Software\\Locked\\Child"));
    DeleteRegValue(store, HKCU, locked, u"v", false);
    EXPECT_EQ(store.Get(HKCU, locked, u"v"), three);

    // Values may be set, but deletion asks for full access.
    store.DenyAccess(HKCU, locked, MemoryRegistryStore::Deny::FullAccess);
    DeleteRegValue(store, HKCU, locked, u"v", false);
    EXPECT_EQ(store.Get(HKCU, locked, u"v"), three);
    WriteRegInteger(store, HKCU, locked, u"v", 4, false);
    EXPECT_EQ(ReadRegInteger(store, HKCU, locked, u"v", 0, false), 4);

    store.DenyAccess(HKCU, locked, MemoryRegistryStore::Deny::Read);
    EXPECT_EQ(ReadRegInteger(store, HKCU, locked, u"v", -1, false), -1);
    EXPECT_TRUE(ReadRegBool(store, HKCU, locked, u"v", true, false) &&
                !ReadRegBool(store, HKCU, locked, u"v", false, false));
    EXPECT_EQ(store.OpenKeyCount(), 0u);
}

} // namespace
} // namespace kavrolt::test
