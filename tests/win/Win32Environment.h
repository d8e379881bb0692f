// The real registry of the Wine prefix, with raw access through advapi32.
#pragma once

#include "common/RegistryEnvironment.h"
#include "registry/RegistryStoreWin32.h"

#include <windows.h>

#include <stdexcept>

namespace kavrolt::test {

class Win32Environment {
public:
    Win32Environment() {
        base_ = u"\\Software\\KavroltTest\\Run" + ToU16(std::to_wstring(GetCurrentProcessId())) +
                u"_" + ToU16(std::to_wstring(++counter_)) + u"\\";
    }
    ~Win32Environment() { RegDeleteTreeW(HKEY_CURRENT_USER, Native(base_).c_str()); }
    Win32Environment(const Win32Environment&) = delete;
    Win32Environment& operator=(const Win32Environment&) = delete;

    RegistryStore& Store() { return store_; }
    std::u16string Base() { return base_; }

    void Put(RegRoot root, std::u16string_view path, std::u16string_view name, RawValue value) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(Root(root), Native(path).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot create test key");
        RegSetValueExW(key, Native(name, false).c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
        RegCloseKey(key);
    }
    std::optional<RawValue> Get(RegRoot root, std::u16string_view path, std::u16string_view name) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(Root(root), Native(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0, size = 0;
        std::optional<RawValue> result;
        const auto valueName = Native(name, false);
        if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS) {
            RawValue value{type, std::vector<std::uint8_t>(size)};
            if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, value.data.data(),
                                 &size) == ERROR_SUCCESS) {
                value.data.resize(size);
                result = value;
            }
        }
        RegCloseKey(key);
        return result;
    }
    bool KeyExists(RegRoot root, std::u16string_view path) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(Root(root), Native(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    void Remove(RegRoot root, std::u16string_view path, std::u16string_view name) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(Root(root), Native(path).c_str(), 0, KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            return;
        RegDeleteValueW(key, Native(name, false).c_str());
        RegCloseKey(key);
    }

private:
    static HKEY Root(RegRoot root) {
        return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    }
    static std::wstring Native(std::u16string_view text, bool isPath = true) {
        if (isPath && !text.empty() && text.front() == u'\\')
            text.remove_prefix(1);
        return std::wstring(text.begin(), text.end());
    }
    static std::u16string ToU16(const std::wstring& text) {
        return std::u16string(text.begin(), text.end());
    }

    Win32RegistryStore store_;
    std::u16string base_;
    static inline int counter_ = 0;
};

} // namespace kavrolt::test
