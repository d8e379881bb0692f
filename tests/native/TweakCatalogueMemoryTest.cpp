#include "common/TweakCatalogueSuite.h"
#include "native/MemoryEnvironment.h"

#include <gtest/gtest.h>

namespace kavrolt::test {

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TweakCatalogueBehaviour, MemoryEnvironment);

namespace {

TEST(TweakCatalogue, AppliesOnlyToTheRegistryItNames) {
    MemoryRegistryStore store;
    BackupTweaks(store);
    ApplyTweaks(store, 8);
    std::set<std::u16string> keys;
    for (const auto& [path, value] : store.Snapshot())
        keys.insert(path);
    // 32 rows for a workstation code, plus the seven backups in ProgramKey.
    EXPECT_EQ(keys.size(), 32u + 7u);
    EXPECT_TRUE(keys.count(u"HKLM\\Software\\TORVEK\\Kavrolt\\MinAnimate"));
    EXPECT_TRUE(keys.count(u"HKCU\\Control Panel\\Desktop\\WindowMetrics\\MinAnimate"));
    EXPECT_TRUE(
        keys.count(u"HKLM\\System\\CurrentControlSet\\Services\\P3\\Parameters\\HackFlags"));
}

TEST(TweakCatalogue, HoldsRowsUsedBackedUpOrDeleted) {
    std::vector<int> backedUp;
    for (std::size_t i = 0; i < kTweakCatalogue.size(); ++i)
        if (kTweakCatalogue[i].restore == RestoreAction::FromBackup)
            backedUp.push_back(static_cast<int>(i) + 1);
    EXPECT_EQ(backedUp, (std::vector<int>{1, 2, 12, 13, 14, 15, 16}));
}

// A failed backup write leaves no backup, and undo then writes the default.
TEST(TweakCatalogue, UndoWritesDefaultsWhenTheBackupCouldNotBeWritten) {
    MemoryRegistryStore store;
    store.Put(kHkeyLocalMachine, u"System\\CurrentControlSet\\Control\\PriorityControl",
              u"Win32PrioritySeparation", {kRegDword, DwordBytes(38)});
    store.DenyAccess(kHkeyLocalMachine, u"Software", MemoryRegistryStore::Deny::Write);
    BackupTweaks(store);
    EXPECT_FALSE(store.KeyExists(kHkeyLocalMachine, kProgramKey));
    UndoTweaks(store, 8);
    EXPECT_EQ(ReadRegInteger(store, kHkeyLocalMachine,
                             u"\\System\\CurrentControlSet\\Control\\PriorityControl\\",
                             u"Win32PrioritySeparation", 0, false),
              2);
}

} // namespace
} // namespace kavrolt::test
