// Audits everything the program changes in the registry. The whole registry
// is exported with reg.exe before an Optimize run, after it and after the
// Restore run that follows, and the exports are compared value by value. Each
// case needs a prefix that the program has never run in, so scripts/audit runs
// each in a fresh prefix of its own; the main end-to-end run leaves them out.
#include "e2e/DriverSupport.h"

#include "sysinfo/WindowsVersion.h"

#include <sddl.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace kavrolt::e2e {
namespace {

// Key paths are compared in lower case, as the registry compares them.
using Values = std::map<std::wstring, std::wstring>; // value name → data as exported
using Registry = std::map<std::wstring, Values>;     // key path → its values

std::string Narrow(const std::wstring& text) {
    const std::u16string wide = U16(text);
    std::string narrow;
    for (char16_t c : wide)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

std::wstring Lower(std::wstring text) {
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Reads a .reg export (UTF-16 LE with a byte-order mark, CR LF lines, long
// hex data continued on lines that start with two blanks).
Registry ParseExport(const std::wstring& text) {
    Registry registry;
    std::vector<std::wstring> lines;
    std::wstring line;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at == text.size() || text[at] == L'\n') {
            if (!line.empty() && line.back() == L'\r')
                line.pop_back();
            if (!lines.empty() && !lines.back().empty() && lines.back().back() == L'\\' &&
                lines.back().front() != L'[') {
                lines.back().pop_back();
                const std::size_t indent = line.find_first_not_of(L' ');
                if (indent != std::wstring::npos)
                    lines.back() += line.substr(indent);
            } else {
                lines.push_back(line);
            }
            line.clear();
        } else {
            line += text[at];
        }
    }
    Values* current = nullptr;
    for (const auto& entry : lines) {
        if (entry.size() >= 2 && entry.front() == L'[' && entry.back() == L']') {
            current = &registry[Lower(entry.substr(1, entry.size() - 2))];
            continue;
        }
        if (!current || entry.empty())
            continue;
        std::wstring name;
        std::size_t at = 0;
        if (entry[0] == L'@') {
            at = 1;
        } else if (entry[0] == L'"') {
            for (at = 1; at < entry.size() && entry[at] != L'"'; ++at) {
                if (entry[at] == L'\\' && at + 1 < entry.size())
                    ++at;
                name += entry[at];
            }
            ++at;
        } else {
            continue;
        }
        if (at < entry.size() && entry[at] == L'=')
            (*current)[Lower(name)] = entry.substr(at + 1);
    }
    return registry;
}

std::wstring ReadUtf16File(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::wstring text;
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[at]) |
                                     static_cast<unsigned char>(bytes[at + 1]) << 8);
    return text;
}

// Every hive: HKEY_LOCAL_MACHINE and HKEY_USERS (which holds the current
// user's hive); the other roots are views of these two.
Registry ExportRegistry() {
    Registry registry;
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    for (const wchar_t* root : {L"HKLM", L"HKU"}) {
        const std::wstring file = std::wstring(temp) + L"kavrolt-audit-" + root + L".reg";
        DeleteFileW(file.c_str());
        Process reg;
        EXPECT_TRUE(reg.Start(std::wstring(system) + L"\\reg.exe",
                              std::wstring(L"export ") + root + L" \"" + file + L"\" /y"));
        EXPECT_EQ(reg.WaitForExit(120000), 0) << "reg export failed";
        const auto part = ParseExport(ReadUtf16File(file));
        EXPECT_GT(part.size(), 10u) << "an export without keys";
        registry.insert(part.begin(), part.end());
        DeleteFileW(file.c_str());
    }
    return registry;
}

std::wstring CurrentUserSid() {
    HANDLE token = nullptr;
    std::wstring result;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return result;
    std::vector<std::uint8_t> buffer(512);
    DWORD size = 0;
    wchar_t* text = nullptr;
    if (GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()),
                            &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        result = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return result;
}

// The export's key path for a root and a path of the program's own form
// ("\Software\...\").
std::wstring ExportKey(RegRoot root, std::u16string_view path) {
    static const std::wstring user = L"hkey_users\\" + Lower(CurrentUserSid());
    std::wstring key = root == kHkeyCurrentUser ? user : std::wstring(L"hkey_local_machine");
    std::wstring rest = Wide(path);
    while (!rest.empty() && rest.back() == L'\\')
        rest.pop_back();
    return key + Lower(rest);
}

wchar_t HexDigit(unsigned value) {
    return L"0123456789abcdef"[value & 15];
}

std::wstring DwordText(std::int32_t number) {
    std::wstring text = L"dword:";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += HexDigit(static_cast<std::uint32_t>(number) >> shift);
    return text;
}

std::wstring StringText(std::u16string_view value) {
    std::wstring text = L"\"";
    for (char16_t c : value) {
        if (c == u'\\' || c == u'"')
            text += L'\\';
        text += static_cast<wchar_t>(c);
    }
    return text + L"\"";
}

// What Optimize writes for a row, as the export shows it.
std::wstring AppliedText(const TweakEntry& row) {
    switch (row.form) {
    case TweakForm::Integer:
        return DwordText(row.number);
    case TweakForm::Text:
        return StringText(row.text);
    case TweakForm::Bytes: {
        std::wstring text = L"hex:";
        for (std::size_t i = 0; i < row.byteCount; ++i)
            text += i ? L",00" : L"00";
        return text;
    }
    }
    return L"";
}

std::wstring DefaultText(const TweakEntry& row) {
    return row.form == TweakForm::Text ? StringText(row.defaultText) : DwordText(row.defaultNumber);
}

// Keys that Wine itself rewrites whenever a program starts on the desktop, so
// they differ between any two exports. Nothing of the program lives there.
bool IsVolatile(const std::wstring& key, const std::wstring& name) {
    // Wine registers the display adapters anew, under a fresh GUID, for each
    // desktop it starts.
    if (key.rfind(L"hkey_local_machine\\system\\currentcontrolset\\control\\video\\", 0) == 0)
        return true;
    // The display adapter's driver date is stamped with the time of that start.
    if (name == L"driverdatedata" &&
        key.rfind(L"hkey_local_machine\\system\\currentcontrolset\\control\\class\\", 0) == 0)
        return true;
    // Wine's session store of system parameters, created empty when a program
    // first reads some of the mouse parameters.
    const std::wstring temporary = L"\\software\\wine\\temporary system parameters";
    return key.rfind(L"hkey_users\\", 0) == 0 && key.find(temporary) != std::wstring::npos;
}

// Wine shares some keys of HKLM\Software between the 64-bit and the 32-bit
// view, as Windows does (Policies among them): a value written through one
// view shows under Wow6432Node too. Such a copy counts as the value itself.
std::wstring Unmirrored(const std::wstring& key) {
    const std::wstring mirror = L"hkey_local_machine\\software\\wow6432node";
    if (key.rfind(mirror, 0) == 0 && (key.size() == mirror.size() || key[mirror.size()] == L'\\'))
        return L"hkey_local_machine\\software" + key.substr(mirror.size());
    return key;
}

void StartDesktop() {
    HWND window = CreateWindowExW(0, L"STATIC", L"audit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                  200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    SetForegroundWindow(window);
    SetCursorPos(50, 50);
    for (int i = 0; i < 20; ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(50);
    }
    DestroyWindow(window);
}

struct Difference {
    std::wstring key;
    std::wstring name; // empty for a key that appeared or went
    std::optional<std::wstring> before;
    std::optional<std::wstring> after;
    std::wstring Describe() const {
        std::wstring text = key + (name.empty() ? L"" : L" : " + name) + L"  ";
        text += before ? *before : L"(none)";
        text += L" -> ";
        text += after ? *after : L"(none)";
        return text;
    }
};

std::vector<Difference> Compare(const Registry& before, const Registry& after) {
    std::vector<Difference> differences;
    std::set<std::wstring> keys;
    for (const auto& [key, values] : before)
        keys.insert(key);
    for (const auto& [key, values] : after)
        keys.insert(key);
    static const Values kNone;
    for (const auto& key : keys) {
        const auto old = before.find(key);
        const auto now = after.find(key);
        const Values& oldValues = old == before.end() ? kNone : old->second;
        const Values& newValues = now == after.end() ? kNone : now->second;
        if ((old == before.end()) != (now == after.end()) && !IsVolatile(key, L""))
            differences.push_back({key, L"",
                                   old == before.end() ? std::nullopt : std::optional(L"key"),
                                   now == after.end() ? std::nullopt : std::optional(L"key")});
        std::set<std::wstring> names;
        for (const auto& [name, data] : oldValues)
            names.insert(name);
        for (const auto& [name, data] : newValues)
            names.insert(name);
        for (const auto& name : names) {
            const auto a = oldValues.find(name);
            const auto b = newValues.find(name);
            std::optional<std::wstring> was, is;
            if (a != oldValues.end())
                was = a->second;
            if (b != newValues.end())
                is = b->second;
            if (was != is && !IsVolatile(key, name))
                differences.push_back({key, name, was, is});
        }
    }
    return differences;
}

std::optional<std::wstring> Lookup(const Registry& registry, const std::wstring& key,
                                   const std::wstring& name) {
    const auto found = registry.find(key);
    if (found == registry.end())
        return std::nullopt;
    const auto value = found->second.find(Lower(name));
    if (value == found->second.end())
        return std::nullopt;
    return value->second;
}

// A key may appear only as a key that a written value needs: the value's own
// key or one of its parents.
bool IsNeededKey(const std::wstring& key, const std::set<std::wstring>& valueKeys) {
    for (const auto& valueKey : valueKeys)
        if (valueKey == key || valueKey.rfind(key + L"\\", 0) == 0)
            return true;
    return false;
}

class RegistryAudit : public ::testing::Test {
protected:
    void Audit(int versionCode);
    ProgramFolder folder;
};

void RegistryAudit::Audit(int versionCode) {
    const std::wstring programKey = ExportKey(kHkeyLocalMachine, kProgramKey);
    // Wine sets up its desktop, with registry entries of its own, when the
    // first window of a prefix appears; that happens before the first export.
    StartDesktop();
    const Registry before = ExportRegistry();
    ASSERT_EQ(before.count(programKey), 0u)
        << "the audit needs a prefix that the program has never run in (scripts/audit)";

    RunningProgram program(folder);
    ASSERT_NE(program.main, nullptr);
    SendMessageW(program.Control(u"WindowsCombo"), CB_SETCURSEL,
                 static_cast<WPARAM>(WindowsVersionToListIndex(versionCode)), 0);
    program.Click(u"GoButton");
    const auto restart = WaitForMessageBox(program.process.Id());
    ASSERT_NE(restart.window, nullptr);
    restart.Press(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; }));
    const Registry optimized = ExportRegistry();

    program.Click(u"RestoreButton");
    const auto confirm = WaitForMessageBox(program.process.Id());
    ASSERT_NE(confirm.window, nullptr);
    confirm.Press(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(confirm.window); }));
    const auto again = WaitForMessageBox(program.process.Id());
    ASSERT_NE(again.window, nullptr);
    again.Press(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.main) != FALSE; }));
    EXPECT_EQ(program.Close(), 0);
    const Registry restored = ExportRegistry();

    // What each of the two runs may change, value by value, with the data it
    // must leave; an empty expectation stands for "any data".
    std::map<std::pair<std::wstring, std::wstring>, std::optional<std::wstring>> optimizeMay,
        restoreMay;
    std::set<std::wstring> optimizeKeys{programKey}, restoreKeys{programKey};
    for (const auto& row : kTweakCatalogue) {
        const std::wstring key = ExportKey(row.root, row.path);
        const std::wstring name = Lower(Wide(row.name));
        const auto original = Lookup(before, key, name);
        if (row.restore == RestoreAction::FromBackup) {
            // Backed up first (the default where the system has none), then
            // written back by Restore.
            optimizeMay[{programKey, name}] = original ? *original : DefaultText(row);
            if (!original) {
                restoreMay[{key, name}] = DefaultText(row);
                restoreKeys.insert(key);
            }
        }
        if (ConditionHolds(row.condition, versionCode)) {
            optimizeMay[{key, name}] = AppliedText(row);
            optimizeKeys.insert(key);
            restoreKeys.insert(key); // a key that Optimize made stays
        }
    }
    // The program's own values: the flag, the first-start date and the two
    // choices of the window (the first processor, the lower speed), which
    // Restore leaves.
    optimizeMay[{programKey, L"restore"}] = DwordText(1);
    optimizeMay[{programKey, L"installeddate"}] = std::nullopt;
    restoreMay[{programKey, L"installeddate"}] = std::nullopt;
    optimizeMay[{programKey, L"processortype"}] = DwordText(0);
    optimizeMay[{programKey, L"speedsetting"}] = DwordText(0);
    restoreMay[{programKey, L"processortype"}] = DwordText(0);
    restoreMay[{programKey, L"speedsetting"}] = DwordText(0);

    auto check =
        [](const char* run, const std::vector<Difference>& differences,
           const std::map<std::pair<std::wstring, std::wstring>, std::optional<std::wstring>>& may,
           const std::set<std::wstring>& keys, const Registry& after) {
            for (const auto& difference : differences) {
                if (difference.name.empty()) {
                    EXPECT_TRUE(difference.after && IsNeededKey(Unmirrored(difference.key), keys))
                        << run << " changed a key: " << Narrow(difference.Describe());
                    continue;
                }
                const auto allowed = may.find({Unmirrored(difference.key), difference.name});
                const bool ok = allowed != may.end() && difference.after &&
                                (!allowed->second || *allowed->second == *difference.after);
                EXPECT_TRUE(ok) << run << " made a difference it may not make: "
                                << Narrow(difference.Describe());
            }
            // Every value that the run must leave is there, with its data.
            for (const auto& [where, data] : may) {
                const auto value = Lookup(after, where.first, where.second);
                EXPECT_TRUE(value && (!data || *value == *data))
                    << "after " << run << ": " << Narrow(where.first) << " : "
                    << Narrow(where.second) << " holds " << Narrow(value.value_or(L"(none)"));
            }
        };
    check("Optimize", Compare(before, optimized), optimizeMay, optimizeKeys, optimized);
    check("Restore", Compare(before, restored), restoreMay, restoreKeys, restored);
}

TEST_F(RegistryAudit, Windows10) {
    Audit(8);
}

TEST_F(RegistryAudit, Server2003) {
    Audit(2);
}

} // namespace
} // namespace kavrolt::e2e
