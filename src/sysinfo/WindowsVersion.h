// The program's numbering of Windows releases (VersionCode), the Windows and
// processor lists of the main window, and the two detections.
#pragma once

#include "registry/RegistryStore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kavrolt {

// VersionCode: the program's number of a Windows release. The numbers are
// stored nowhere, but the Windows list and the catalogue's conditions use them.
namespace VersionCode {
inline constexpr int kUnknown = -1;
inline constexpr int kWindows2000 = 0;
inline constexpr int kWindowsXp = 1;
inline constexpr int kServer2003 = 2;
inline constexpr int kVista = 3;
inline constexpr int kServer2008 = 4;
inline constexpr int kWindows7 = 5;
inline constexpr int kWindows8 = 6; // 8 and 8.1
inline constexpr int kServer2012 = 7;
inline constexpr int kWindows10 = 8;
} // namespace VersionCode
inline constexpr int kUnknownWindowsVersion = VersionCode::kUnknown;

struct ListEntry {
    std::u16string_view caption;
    int image;
    int code; // VersionCode for the Windows list, ProcessorType for the processor list
};

// The entries of WindowsCombo, by list position. Image 0 is the workstation
// symbol, image 1 the server symbol.
extern const std::array<ListEntry, 9> kWindowsListEntries;
// The entries of ProcessorCombo, by list position (= ProcessorType).
extern const std::array<ListEntry, 3> kProcessorListEntries;

// What the version query reports. productType is wProductType: 1 workstation,
// 2 domain controller, 3 server, 0 when the query carried none.
struct ReportedVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint8_t productType = 0;
};

// The decision table from major, minor and product type to a VersionCode.
int VersionCodeFor(const ReportedVersion& reported);

// The version queries that detection makes: the extended query first, and the
// basic one (no product type) only when the extended query returns false.
struct VersionQueries {
    std::function<bool(ReportedVersion&)> extended;
    std::function<bool(ReportedVersion&)> basic;
};
int DetectWindowsVersionWith(const VersionQueries& queries);

// Asks the running Windows (GetVersionExW); never fails, every failure gives -1.
int DetectWindowsVersion();

// VersionCode -> Windows list position; anything outside 0..8 gives 0.
int WindowsVersionToListIndex(int versionCode);
// Windows list position -> VersionCode; anything outside 0..8 gives -1.
int ConvertWindowsVersion(int listIndex);

// ProcessorType from a processor name: 0 Intel, 1 AMD, 2 VIA, 0 for anything else.
int ProcessorVendorFromName(std::u16string_view name);
// Reads ProcessorNameString from the registry and decides by it.
int DetectProcessorVendor(RegistryStore& store);
int DetectProcessorVendor();

} // namespace kavrolt
