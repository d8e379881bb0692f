#include "sysinfo/WindowsVersion.h"

#include "base/Failure.h"
#include "text/AsciiCase.h"
#include "registry/CustomRegistry.h"

namespace kavrolt {

const std::array<ListEntry, 9> kWindowsListEntries = {{
    {u"  Microsoft \u00AE Windows 10", 0, 8},
    {u"  Microsoft \u00AE Windows 8", 0, 6},
    {u"  Microsoft \u00AE Windows 7", 0, 5},
    {u"  Microsoft \u00AE Windows Vista", 0, 3},
    {u"  Microsoft \u00AE Windows XP", 0, 1},
    {u"  Microsoft \u00AE Windows Server 2012", 1, 7},
    {u"  Microsoft \u00AE Windows Server 2008", 1, 4},
    {u"  Microsoft \u00AE Windows Server 2003", 1, 2},
    {u"  Microsoft \u00AE Windows Server 2000", 1, 0},
}};

const std::array<ListEntry, 3> kProcessorListEntries = {{
    {u"  Intel \u00AE Processor", 0, 0},
    {u"  AMD \u00AE Processor", 0, 1},
    {u"  VIA \u00AE Processor", 0, 2},
}};

int VersionCodeFor(const ReportedVersion& v) {
    const bool workstation = v.productType == 1;
    const bool server = v.productType >= 2;
    if (v.major == 10)
        return VersionCode::kWindows10;
    if (v.major == 5) {
        switch (v.minor) {
        case 0:
            return VersionCode::kWindows2000;
        case 1:
            return VersionCode::kWindowsXp;
        case 2:
            return workstation ? VersionCode::kWindowsXp
                   : server    ? VersionCode::kServer2003
                               : VersionCode::kUnknown;
        default:
            return -1;
        }
    }
    if (v.major == 6) {
        switch (v.minor) {
        case 0:
            return workstation ? VersionCode::kVista
                   : server    ? VersionCode::kServer2008
                               : VersionCode::kUnknown;
        case 1:
            return workstation ? VersionCode::kWindows7
                   : server    ? VersionCode::kServer2008
                               : VersionCode::kUnknown;
        case 2:
        case 3:
            return workstation ? VersionCode::kWindows8
                   : server    ? VersionCode::kServer2012
                               : VersionCode::kUnknown;
        default:
            return -1;
        }
    }
    return -1;
}

int DetectWindowsVersionWith(const VersionQueries& queries) {
    return Guarded(kUnknownWindowsVersion, [&] {
        ReportedVersion reported;
        if (!queries.extended(reported)) {
            // The basic record carries no product type, and its own result is
            // not tested: a failure leaves the numbers at 0.
            reported = ReportedVersion{};
            ReportedVersion basic;
            queries.basic(basic);
            reported.major = basic.major;
            reported.minor = basic.minor;
        }
        return VersionCodeFor(reported);
    });
}

int WindowsVersionToListIndex(int versionCode) {
    for (std::size_t i = 0; i < kWindowsListEntries.size(); ++i)
        if (kWindowsListEntries[i].code == versionCode)
            return static_cast<int>(i);
    return 0;
}

int ConvertWindowsVersion(int listIndex) {
    if (listIndex < 0 || listIndex >= static_cast<int>(kWindowsListEntries.size()))
        return kUnknownWindowsVersion;
    return kWindowsListEntries[static_cast<std::size_t>(listIndex)].code;
}

int ProcessorVendorFromName(std::u16string_view name) {
    const std::u16string lower = FoldAscii(name);
    if (lower.find(u"intel") != std::u16string::npos)
        return 0;
    if (lower.find(u"amd") != std::u16string::npos)
        return 1;
    if (lower.find(u"via") != std::u16string::npos)
        return 2;
    return 0;
}

int DetectProcessorVendor(RegistryStore& store) {
    return ProcessorVendorFromName(ReadRegString(
        store, kHkeyLocalMachine, u"\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\",
        u"ProcessorNameString", u"", false));
}

int DetectProcessorVendor() {
    return DetectProcessorVendor(DefaultRegistryStore());
}

} // namespace kavrolt
