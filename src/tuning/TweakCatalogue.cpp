#include "tuning/TweakCatalogue.h"

#include "sysinfo/WindowsVersion.h"
#include "text/AsciiCase.h"
#include "registry/CustomRegistry.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kavrolt {
namespace {

constexpr RegRoot HKLM = kHkeyLocalMachine;
constexpr RegRoot HKCU = kHkeyCurrentUser;
constexpr std::u16string_view kFileSystem = u"\\System\\CurrentControlSet\\Control\\FileSystem\\";
constexpr std::u16string_view kTcpip =
    u"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\";
constexpr std::u16string_view kMemory =
    u"\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\";
constexpr std::u16string_view kCrash = u"\\System\\CurrentControlSet\\Control\\CrashControl\\";
constexpr std::u16string_view kPolicies =
    u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\";
constexpr std::u16string_view kNtWindows =
    u"\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows\\";
constexpr std::u16string_view kExplorer =
    u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
constexpr std::u16string_view kSessionManager =
    u"\\System\\CurrentControlSet\\Control\\Session Manager\\";

using C = TweakCondition;
using F = TweakForm;
using R = RestoreAction;

constexpr TweakEntry Int(RegRoot root, std::u16string_view path, std::u16string_view name,
                         std::int32_t number, C condition = C::Always) {
    return {root, path, name, F::Integer, number, {}, 0, condition, R::Delete, 0, {}};
}
constexpr TweakEntry IntBackedUp(std::u16string_view path, std::u16string_view name,
                                 std::int32_t number, std::int32_t fallback) {
    return {HKLM, path, name, F::Integer, number, {}, 0, C::Always, R::FromBackup, fallback, {}};
}
constexpr TweakEntry Text(RegRoot root, std::u16string_view path, std::u16string_view name,
                          std::u16string_view text, C condition = C::Always) {
    return {root, path, name, F::Text, 0, text, 0, condition, R::Delete, 0, {}};
}

} // namespace

const std::array<TweakEntry, kTweakCount> kTweakCatalogue = {{
    IntBackedUp(kFileSystem, u"NtfsDisableLastAccessupdate", 1, 1),
    IntBackedUp(kFileSystem, u"NtfsMftZoneReservation", 2, 0),
    Int(HKLM, kTcpip, u"SynAttackProtect", 2),
    Int(HKLM, kTcpip, u"TcpMaxHalfOpen", 100),
    Int(HKLM, kTcpip, u"TcpMaxHalfOpenRetried", 50),
    Int(HKLM, kTcpip, u"EnablePMTUDiscovery", 0),
    Int(HKLM, kTcpip, u"EnableDeadGWDetect", 0),
    Int(HKLM, kTcpip, u"KeepAliveTime", 300000),
    Int(HKLM, kTcpip, u"EnableICMPRedirects", 0),
    Int(HKLM, u"\\System\\CurrentControlSet\\Services\\Netbt\\Parameters\\",
        u"NoNameReleaseOnDemand", 1),
    Int(HKLM, u"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\",
        u"PerformRouterDiscovery", 0),
    {HKCU, u"\\Control Panel\\Desktop\\WindowMetrics\\", u"MinAnimate", F::Text, 0, u"1", 0,
     C::Always, R::FromBackup, 0, u"1"},
    IntBackedUp(kMemory, u"DisablePagingExecutive", 0, 0),
    IntBackedUp(kMemory, u"LargeSystemCache", 0, 0),
    IntBackedUp(u"\\System\\CurrentControlSet\\Control\\PriorityControl\\",
                u"Win32PrioritySeparation", 1, 2),
    IntBackedUp(kCrash, u"AutoReboot", 1, 1),
    {HKCU,
     u"\\Control Panel\\Desktop\\",
     u"SmoothScroll",
     F::Bytes,
     0,
     {},
     4,
     C::Always,
     R::Delete,
     0,
     {}},
    Text(HKCU, u"\\Software\\Microsoft\\Internet Explorer\\Main\\", u"Use StyleSheets", u"Yes"),
    Text(HKCU, u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoComplete\\",
         u"Append Completion", u"Yes"),
    Int(HKLM, kFileSystem, u"ContigFileAllocSize", 1536),
    Int(HKLM, kPolicies, u"LinkResolveIgnoreLinkInfo", 0),
    Int(HKLM, kPolicies, u"NoResolveSearch", 1),
    Int(HKLM, kMemory, u"IoPageLockLimit", 4096),
    Int(HKLM, kCrash, u"SendAlert", 1),
    Int(HKLM, kNtWindows, u"NoPopUpsOnBoot", 1),
    Int(HKLM, kNtWindows, u"Error Mode", 1),
    Int(HKLM, u"\\System\\CurrentControlSet\\Services\\Messenger\\", u"Start", 4),
    Int(HKLM, kExplorer, u"ThumbnailSize", 96, C::NotWin2000),
    Int(HKLM, kExplorer, u"ThumbnailQuality", 80, C::NotWin2000),
    Int(HKLM, kSessionManager, u"EnablePrefetcher", 1, C::NotWin2000),
    Int(HKLM, kSessionManager, u"AutoChkTimeOut", 0, C::Server),
    Text(HKLM, u"\\Software\\Microsoft\\Dfrg\\BootOptimizeFunction\\", u"Enable", u"Y",
         C::Workstation),
    Int(HKLM, u"\\System\\CurrentControlSet\\Services\\P3\\Parameters\\", u"HackFlags", 1,
        C::Workstation),
}};

bool ConditionHolds(TweakCondition condition, int versionCode) {
    switch (condition) {
    case C::Always:
        return true;
    case C::NotWin2000:
        return versionCode != VersionCode::kWindows2000;
    case C::Server:
        return versionCode == VersionCode::kWindows2000 ||
               versionCode == VersionCode::kServer2003 || versionCode == VersionCode::kServer2008 ||
               versionCode == VersionCode::kServer2012;
    case C::Workstation:
        return versionCode == VersionCode::kWindowsXp || versionCode == VersionCode::kVista ||
               versionCode == VersionCode::kWindows7 || versionCode == VersionCode::kWindows8 ||
               versionCode == VersionCode::kWindows10;
    }
    return false;
}

namespace {

// Row numbers (1-based) of the catalogue in the order Undo works on them: the
// rows restored from backup, then the deletions of the others, each where its
// own condition holds for the release.
constexpr std::array<int, 7> kBackedUpRows = {1, 2, 12, 13, 14, 15, 16};
constexpr std::array<int, 26> kUndoDeletionOrder = {3,  4,  5,  6,  7,  8,  9,  10, 11,
                                                    17, 18, 19, 20, 21, 22, 23, 24, 25,
                                                    26, 27, 30, 28, 29, 31, 32, 33};

const TweakEntry& Row(int number) {
    return kTweakCatalogue[static_cast<std::size_t>(number - 1)];
}

void WriteRow(RegistryStore& store, const TweakEntry& row) {
    switch (row.form) {
    case F::Integer:
        WriteRegInteger(store, row.root, row.path, row.name, row.number, false);
        break;
    case F::Text:
        WriteRegString(store, row.root, row.path, row.name, row.text, false);
        break;
    case F::Bytes:
        WriteRegBinary(store, row.root, row.path, row.name,
                       std::vector<std::uint8_t>(row.byteCount, 0), false);
        break;
    }
}

// Copies a backed-up row's value from one place to another with the row's
// read function and default.
void CopyRow(RegistryStore& store, const TweakEntry& row, RegRoot fromRoot,
             std::u16string_view fromPath, RegRoot toRoot, std::u16string_view toPath) {
    if (row.form == F::Text) {
        const auto text =
            ReadRegString(store, fromRoot, fromPath, row.name, row.defaultText, false);
        WriteRegString(store, toRoot, toPath, row.name, text, false);
    } else {
        const auto number =
            ReadRegInteger(store, fromRoot, fromPath, row.name, row.defaultNumber, false);
        WriteRegInteger(store, toRoot, toPath, row.name, number, false);
    }
}

void WriteBack(RegistryStore& store, int number) {
    const auto& row = Row(number);
    CopyRow(store, row, kHkeyLocalMachine, kProgramKey, row.root, row.path);
}

void DeleteBackup(RegistryStore& store, int number) {
    DeleteRegValue(store, kHkeyLocalMachine, kProgramKey, Row(number).name, false);
}

// The hive that holds a key, given by a path without leading backslashes: the
// current user's is one hive, the local machine's has one per key below its
// root (SOFTWARE, SYSTEM, ...).
std::u16string HiveOf(RegRoot root, std::u16string_view path) {
    std::u16string hive = root == kHkeyCurrentUser ? u"HKCU" : u"HKLM";
    if (root == kHkeyCurrentUser)
        return hive;
    hive += u'\\';
    hive += FoldAscii(path.substr(0, path.find(u'\\')));
    return hive;
}

// Flushes the hives of the given keys, each once, through the first key of the
// hive that opens.
template <class Keys> void FlushHives(RegistryStore& store, const Keys& keys) {
    std::vector<std::u16string> flushed;
    for (const auto& [root, path] : keys) {
        std::u16string_view relative = path;
        while (!relative.empty() && relative.front() == u'\\')
            relative.remove_prefix(1);
        while (!relative.empty() && relative.back() == u'\\')
            relative.remove_suffix(1);
        const std::u16string hive = HiveOf(root, relative);
        if (std::find(flushed.begin(), flushed.end(), hive) != flushed.end())
            continue;
        ScopedRegKey key(store);
        if (store.OpenKey(root, relative, kKeyQueryValue, key.Out()) != kRegSuccess)
            continue;
        if (store.FlushKey(key.Get()) == kRegSuccess)
            flushed.push_back(hive);
    }
}

void DeleteRow(RegistryStore& store, int number) {
    const auto& row = Row(number);
    DeleteRegValue(store, row.root, row.path, row.name, false);
}

} // namespace

void BackupTweaks(RegistryStore& store) {
    for (const auto& row : kTweakCatalogue)
        if (row.restore == R::FromBackup)
            CopyRow(store, row, row.root, row.path, kHkeyLocalMachine, kProgramKey);
}

void ApplyTweaks(RegistryStore& store, int versionCode) {
    for (const auto& row : kTweakCatalogue)
        if (ConditionHolds(row.condition, versionCode))
            WriteRow(store, row);
}

void WriteBackTweaks(RegistryStore& store) {
    for (int n : kBackedUpRows)
        WriteBack(store, n);
}

void DeleteTweaks(RegistryStore& store, int versionCode) {
    for (int n : kUndoDeletionOrder)
        if (ConditionHolds(Row(n).condition, versionCode))
            DeleteRow(store, n);
}

void DeleteTweakBackups(RegistryStore& store) {
    for (int n : kBackedUpRows)
        DeleteBackup(store, n);
}

void FlushBackupHive(RegistryStore& store) {
    const std::pair<RegRoot, std::u16string_view> programKey[] = {{kHkeyLocalMachine, kProgramKey}};
    FlushHives(store, programKey);
}

void FlushWrittenBackHives(RegistryStore& store) {
    std::vector<std::pair<RegRoot, std::u16string_view>> keys;
    for (const auto& row : kTweakCatalogue)
        if (row.restore == R::FromBackup)
            keys.emplace_back(row.root, row.path);
    FlushHives(store, keys);
}

void UndoTweaks(RegistryStore& store, int versionCode) {
    WriteBackTweaks(store);
    DeleteTweaks(store, versionCode);
    DeleteTweakBackups(store);
}

} // namespace kavrolt
