// The fixed, ordered table of system values that an Optimize run writes and a
// Restore run undoes, with the three operations made of it.
#pragma once

#include "registry/RegistryStore.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kavrolt {

enum class TweakForm { Integer, Text, Bytes };

// Which VersionCodes a row is used for.
enum class TweakCondition {
    Always,      // every code, -1 included
    NotWin2000,  // every code but 0, -1 included
    Server,      // 0, 2, 4, 7
    Workstation, // 1, 3, 5, 6, 8
};

enum class RestoreAction { FromBackup, Delete };

struct TweakEntry {
    RegRoot root;
    std::u16string_view path;
    std::u16string_view name;
    TweakForm form;
    std::int32_t number;      // the data of an integer row
    std::u16string_view text; // the data of a text row
    std::size_t byteCount;    // the data of a bytes row: that many zero bytes
    TweakCondition condition;
    RestoreAction restore;
    // For rows restored from backup: the value backed up when the system has
    // none, and written back when ProgramKey holds no backup.
    std::int32_t defaultNumber;
    std::u16string_view defaultText;
};

inline constexpr std::size_t kTweakCount = 33;
extern const std::array<TweakEntry, kTweakCount> kTweakCatalogue;

bool ConditionHolds(TweakCondition condition, int versionCode);

// Copies the system values of the rows restored from backup into ProgramKey.
void BackupTweaks(RegistryStore& store);
// Writes every row whose condition holds for versionCode, in table order.
void ApplyTweaks(RegistryStore& store, int versionCode);
// Undo, in three parts that a Restore run can interleave with its own flag:
// writes every backed-up row back (its default where ProgramKey holds no
// backup), deletes every other row whose condition holds for versionCode, and
// deletes the backups. Backups go last, so an undo cut off midway can always
// be repeated without losing an original value.
void WriteBackTweaks(RegistryStore& store);
void DeleteTweaks(RegistryStore& store, int versionCode);
void DeleteTweakBackups(RegistryStore& store);
// All three in that order.
void UndoTweaks(RegistryStore& store, int versionCode);

// Asks for the hive of ProgramKey, which holds the backups and the "Restore"
// mark, to be written to disk.
void FlushBackupHive(RegistryStore& store);
// Asks for every hive that WriteBackTweaks writes to be written to disk, once
// per hive.
void FlushWrittenBackHives(RegistryStore& store);

} // namespace kavrolt
