// Backup, Apply and Undo of the tweak catalogue, run against every store.
#pragma once

#include "common/RegistryEnvironment.h"
#include "registry/CustomRegistry.h"
#include "tuning/TweakCatalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace kavrolt::test {

template <class Env> class TweakCatalogueBehaviour : public ::testing::Test {
protected:
    Env env;

    // Each test starts from a registry without any catalogue value or backup.
    void SetUp() override {
        for (const auto& row : kTweakCatalogue) {
            env.Remove(row.root, row.path, row.name);
            env.Remove(kHkeyLocalMachine, kProgramKey, row.name);
        }
    }

    static const TweakEntry& Row(int number) {
        return kTweakCatalogue[static_cast<std::size_t>(number - 1)];
    }
    std::optional<RawValue> System(int number) {
        const auto& row = Row(number);
        return env.Get(row.root, row.path, row.name);
    }
    std::optional<RawValue> Backup(int number) {
        return env.Get(kHkeyLocalMachine, kProgramKey, Row(number).name);
    }
    void PutSystem(int number, RawValue value) {
        const auto& row = Row(number);
        env.Put(row.root, row.path, row.name, std::move(value));
    }
    std::set<int> RowsPresent() {
        std::set<int> present;
        for (int n = 1; n <= 33; ++n)
            if (System(n))
                present.insert(n);
        return present;
    }
};

inline std::set<int> RowRange(int first, int last, std::set<int> more = {}) {
    for (int n = first; n <= last; ++n)
        more.insert(n);
    return more;
}

TYPED_TEST_SUITE_P(TweakCatalogueBehaviour);

TYPED_TEST_P(TweakCatalogueBehaviour, ApplyWritesTheRowsOfEachVersionCode) {
    const std::set<int> win2000 = RowRange(1, 27, {31});
    const std::set<int> servers = RowRange(1, 31);
    const std::set<int> workstations = RowRange(1, 30, {32, 33});
    const std::vector<std::pair<int, std::set<int>>> cases = {
        {0, win2000},      {2, servers},          {4, servers},         {7, servers},
        {1, workstations}, {3, workstations},     {5, workstations},    {6, workstations},
        {8, workstations}, {-1, RowRange(1, 30)}, {9, RowRange(1, 30)},
    };
    for (const auto& [code, rows] : cases) {
        SCOPED_TRACE(code);
        this->SetUp();
        ApplyTweaks(this->env.Store(), code);
        EXPECT_EQ(this->RowsPresent(), rows);
    }
}

TYPED_TEST_P(TweakCatalogueBehaviour, ApplyStoresEachRowInItsForm) {
    ApplyTweaks(this->env.Store(), 8);
    EXPECT_EQ(this->System(17), (RawValue{kRegBinary, {0, 0, 0, 0}}));     // SmoothScroll
    EXPECT_EQ(this->System(12), (RawValue{kRegSz, Utf16Bytes(u"1")}));     // MinAnimate
    EXPECT_EQ(this->System(18), (RawValue{kRegSz, Utf16Bytes(u"Yes")}));   // Use StyleSheets
    EXPECT_EQ(this->System(19), (RawValue{kRegSz, Utf16Bytes(u"Yes")}));   // Append Completion
    EXPECT_EQ(this->System(32), (RawValue{kRegSz, Utf16Bytes(u"Y")}));     // Enable
    EXPECT_EQ(this->System(8), (RawValue{kRegDword, DwordBytes(300000)})); // KeepAliveTime
    EXPECT_EQ(this->System(15), (RawValue{kRegDword, DwordBytes(1)})); // Win32PrioritySeparation
    EXPECT_EQ(this->System(27), (RawValue{kRegDword, DwordBytes(4)})); // Messenger Start
}

TYPED_TEST_P(TweakCatalogueBehaviour, BackupCopiesSystemValuesOrTheDefaults) {
    this->PutSystem(1, RawValue{kRegDword, DwordBytes(0)});
    this->PutSystem(13, RawValue{kRegSz, Utf16Bytes(u"7")}); // wrong type: its default is kept
    this->PutSystem(12, RawValue{kRegSz, Utf16Bytes(u"0")});
    BackupTweaks(this->env.Store());

    EXPECT_EQ(this->Backup(1), (RawValue{kRegDword, DwordBytes(0)}));
    EXPECT_EQ(this->Backup(2), (RawValue{kRegDword, DwordBytes(0)}));
    EXPECT_EQ(this->Backup(12), (RawValue{kRegSz, Utf16Bytes(u"0")}));
    EXPECT_EQ(this->Backup(13), (RawValue{kRegDword, DwordBytes(0)}));
    EXPECT_EQ(this->Backup(14), (RawValue{kRegDword, DwordBytes(0)}));
    EXPECT_EQ(this->Backup(15), (RawValue{kRegDword, DwordBytes(2)}));
    EXPECT_EQ(this->Backup(16), (RawValue{kRegDword, DwordBytes(1)}));
    for (int n : {3, 11, 17, 27, 33})
        EXPECT_FALSE(this->Backup(n)) << n;
}

TYPED_TEST_P(TweakCatalogueBehaviour, UndoWritesBackupsBackAndDeletesEveryOtherRow) {
    // Rows that held values of their own before are deleted all the same.
    this->PutSystem(3, RawValue{kRegDword, DwordBytes(9)});
    this->PutSystem(18, RawValue{kRegSz, Utf16Bytes(u"No")});
    this->PutSystem(15, RawValue{kRegDword, DwordBytes(38)});
    auto& store = this->env.Store();
    BackupTweaks(store);
    ApplyTweaks(store, 8);
    UndoTweaks(store, 8);

    EXPECT_EQ(this->RowsPresent(), (std::set<int>{1, 2, 12, 13, 14, 15, 16}));
    EXPECT_EQ(this->System(1), (RawValue{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(this->System(2), (RawValue{kRegDword, DwordBytes(0)})); // did not exist before
    EXPECT_EQ(this->System(12), (RawValue{kRegSz, Utf16Bytes(u"1")}));
    EXPECT_EQ(this->System(15), (RawValue{kRegDword, DwordBytes(38)}));
    EXPECT_EQ(this->System(16), (RawValue{kRegDword, DwordBytes(1)}));
    for (int n : {1, 2, 12, 13, 14, 15, 16})
        EXPECT_FALSE(this->Backup(n)) << n;
}

TYPED_TEST_P(TweakCatalogueBehaviour, UndoWithoutBackupsWritesTheDefaults) {
    ApplyTweaks(this->env.Store(), 8);
    UndoTweaks(this->env.Store(), 8);
    EXPECT_EQ(this->System(2), (RawValue{kRegDword, DwordBytes(0)}));
    EXPECT_EQ(this->System(15), (RawValue{kRegDword, DwordBytes(2)}));
    EXPECT_EQ(this->System(12), (RawValue{kRegSz, Utf16Bytes(u"1")}));
}

TYPED_TEST_P(TweakCatalogueBehaviour, UndoFollowsTheVersionCodeOfItsOwnRun) {
    const std::vector<std::pair<int, std::set<int>>> cases = {
        // Applied for Windows 10, undone for Server 2012: rows 32 and 33 stay.
        {7, {1, 2, 12, 13, 14, 15, 16, 32, 33}},
        // Undone for Windows 2000: rows 28 to 30 and 32, 33 stay.
        {0, {1, 2, 12, 13, 14, 15, 16, 28, 29, 30, 32, 33}},
        // Undone with no release chosen: row 31 is not touched either.
        {-1, {1, 2, 12, 13, 14, 15, 16, 31, 32, 33}},
    };
    for (const auto& [undoCode, left] : cases) {
        SCOPED_TRACE(undoCode);
        this->SetUp();
        ApplyTweaks(this->env.Store(), 8);
        this->PutSystem(31, RawValue{kRegDword, DwordBytes(5)});
        UndoTweaks(this->env.Store(), undoCode);
        EXPECT_EQ(this->RowsPresent(), left);
    }
}

REGISTER_TYPED_TEST_SUITE_P(TweakCatalogueBehaviour, ApplyWritesTheRowsOfEachVersionCode,
                            ApplyStoresEachRowInItsForm, BackupCopiesSystemValuesOrTheDefaults,
                            UndoWritesBackupsBackAndDeletesEveryOtherRow,
                            UndoWithoutBackupsWritesTheDefaults,
                            UndoFollowsTheVersionCodeOfItsOwnRun);

} // namespace kavrolt::test
