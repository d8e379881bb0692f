// The version queries of DetectWindowsVersion, through GetVersionExW.
#include "sysinfo/WindowsVersion.h"

#include <windows.h>

namespace kavrolt {

static_assert(sizeof(OSVERSIONINFOEXW) == 284, "extended version record");
static_assert(sizeof(OSVERSIONINFOW) == 276, "basic version record");

int DetectWindowsVersion() {
    // GetVersionExW is deprecated for new code; here it is the point, because
    // it reports the release that the manifest declares compatibility with.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    VersionQueries queries{
        [](ReportedVersion& out) {
            OSVERSIONINFOEXW info{};
            info.dwOSVersionInfoSize = sizeof info;
            if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
                return false;
            out.major = info.dwMajorVersion;
            out.minor = info.dwMinorVersion;
            out.productType = info.wProductType;
            return true;
        },
        [](ReportedVersion& out) {
            OSVERSIONINFOW info{};
            info.dwOSVersionInfoSize = sizeof info;
            const bool ok = GetVersionExW(&info) != FALSE;
            out.major = info.dwMajorVersion;
            out.minor = info.dwMinorVersion;
            return ok;
        },
    };
#pragma GCC diagnostic pop
    return DetectWindowsVersionWith(queries);
}

} // namespace kavrolt
