#include "sysinfo/WindowsVersion.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kavrolt {
namespace {

struct TableCase {
    std::uint32_t major, minor;
    std::uint8_t productType;
    int expected;
};

TEST(WindowsVersion, DecisionTable) {
    const TableCase cases[] = {
        {5, 0, 0, 0},  {5, 0, 1, 0},   {5, 0, 3, 0},  {5, 1, 0, 1},  {5, 1, 1, 1},  {5, 1, 2, 1},
        {5, 2, 1, 1},  {5, 2, 2, 2},   {5, 2, 3, 2},  {5, 2, 0, -1}, {5, 3, 1, -1}, {6, 0, 1, 3},
        {6, 0, 3, 4},  {6, 0, 0, -1},  {6, 1, 1, 5},  {6, 1, 3, 4},  {6, 1, 2, 4},  {6, 1, 0, -1},
        {6, 2, 1, 6},  {6, 2, 3, 7},   {6, 3, 1, 6},  {6, 3, 3, 7},  {6, 3, 0, -1}, {6, 4, 1, -1},
        {10, 0, 1, 8}, {10, 0, 3, 8},  {10, 0, 0, 8}, {10, 5, 2, 8}, {7, 0, 1, -1}, {4, 0, 1, -1},
        {0, 0, 0, -1}, {11, 0, 1, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionCodeFor({c.major, c.minor, c.productType}), c.expected)
            << c.major << "." << c.minor << " type " << int(c.productType);
}

VersionQueries Queries(bool extendedWorks, ReportedVersion extended, bool basicWorks,
                       ReportedVersion basic) {
    return {[=](ReportedVersion& out) {
                if (extendedWorks)
                    out = extended;
                return extendedWorks;
            },
            [=](ReportedVersion& out) {
                if (basicWorks)
                    out = basic;
                return basicWorks;
            }};
}

TEST(WindowsVersion, DetectionFallsBackToTheBasicQueryWithoutProductType) {
    EXPECT_EQ(DetectWindowsVersionWith(Queries(true, {6, 1, 3}, true, {5, 0, 1})), 4);
    const TableCase basic[] = {{5, 0, 3, 0},  {5, 1, 3, 1},  {10, 0, 3, 8}, {5, 2, 3, -1},
                               {6, 0, 1, -1}, {6, 1, 1, -1}, {6, 3, 1, -1}};
    for (const auto& c : basic)
        EXPECT_EQ(
            DetectWindowsVersionWith(Queries(false, {}, true, {c.major, c.minor, c.productType})),
            c.expected)
            << c.major << "." << c.minor;
    // Both queries failing leave the numbers at 0.
    EXPECT_EQ(DetectWindowsVersionWith(Queries(false, {}, false, {})), -1);
    VersionQueries throwing{[](ReportedVersion&) -> bool { throw std::runtime_error("x"); },
                            [](ReportedVersion&) { return true; }};
    EXPECT_EQ(DetectWindowsVersionWith(throwing), -1);
}

TEST(WindowsVersion, ListConversionsAreInverseAndClampOutsideTheList) {
    const int listOf[] = {8, 4, 7, 3, 6, 2, 1, 5, 0};
    for (int code = 0; code <= 8; ++code) {
        EXPECT_EQ(WindowsVersionToListIndex(code), listOf[code]);
        EXPECT_EQ(ConvertWindowsVersion(WindowsVersionToListIndex(code)), code);
    }
    for (int code : {-1, 9, 100, -100})
        EXPECT_EQ(WindowsVersionToListIndex(code), 0);
    for (int index : {-1, 9, 42})
        EXPECT_EQ(ConvertWindowsVersion(index), -1);
}

TEST(WindowsVersion, ListTablesHoldTheCaptionsAndImages) {
    EXPECT_EQ(kWindowsListEntries[0].caption, u"  Microsoft \u00AE Windows 10");
    EXPECT_EQ(kWindowsListEntries[3].caption, u"  Microsoft \u00AE Windows Vista");
    EXPECT_EQ(kWindowsListEntries[8].caption, u"  Microsoft \u00AE Windows Server 2000");
    for (std::size_t i = 0; i < kWindowsListEntries.size(); ++i)
        EXPECT_EQ(kWindowsListEntries[i].image, i < 5 ? 0 : 1) << i;
    EXPECT_EQ(kProcessorListEntries[0].caption, u"  Intel \u00AE Processor");
    EXPECT_EQ(kProcessorListEntries[1].caption, u"  AMD \u00AE Processor");
    EXPECT_EQ(kProcessorListEntries[2].caption, u"  VIA \u00AE Processor");
}

TEST(ProcessorVendor, ByNameSubstringInOrder) {
    const std::pair<std::u16string_view, int> cases[] = {
        {u"Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz", 0},
        {u"GENUINE INTEL", 0},
        {u"AMD Ryzen 7 5800X 8-Core Processor", 1},
        {u"amd athlon", 1},
        {u"VIA Nano X2", 2},
        {u"Intel and AMD", 0},
        {u"AMD via bridge", 1},
        {u"", 0},
        {u"Qualcomm Snapdragon", 0},
        {u"Trivial Processor", 2}, // "via" inside another word
        {u"\u00C4MD", 0},          // only A to Z are folded
    };
    for (const auto& [name, vendor] : cases)
        EXPECT_EQ(ProcessorVendorFromName(name), vendor) << name.size();
}

TEST(ProcessorVendor, DetectionReadsTheProcessorNameString) {
    MemoryRegistryStore store;
    EXPECT_EQ(DetectProcessorVendor(store), 0);
    store.Put(kHkeyLocalMachine, u"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
              u"ProcessorNameString", {kRegSz, {'V', 0, 'I', 0, 'A', 0, 0, 0}});
    EXPECT_EQ(DetectProcessorVendor(store), 2);
}

} // namespace
} // namespace kavrolt
