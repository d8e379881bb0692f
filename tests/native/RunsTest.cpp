#include "text/AsciiCase.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"
#include "tuning/RunHost.h"
#include "tuning/TweakCatalogue.h"

#include "common/RegistryEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <set>

namespace kavrolt::test {
namespace {

using Value = MemoryRegistryStore::Value;
constexpr auto HKLM = kHkeyLocalMachine;

// Records what a run does to the windows and answers its boxes from a script.
class RecordingHost : public RunHost {
public:
    explicit RecordingHost(RegistryStore& store) : store_(store) {}

    int windowsIndex = 0; // Windows 10
    int processorIndex = 0;
    int speed = 0;
    std::deque<int> answers; // one per box, in order
    std::vector<std::string> events;
    std::vector<std::pair<std::u16string, unsigned>> boxes;
    int steps = 0;

    int WindowsListIndex() override { return windowsIndex; }
    int ProcessorListIndex() override { return processorIndex; }
    int SpeedPosition() override { return speed; }
    void EnableMainWindow(bool on) override { events.push_back(on ? "main on" : "main off"); }
    void EnableRestoreButton(bool on) override {
        events.push_back(on ? "restore on" : "restore off");
    }
    void ShowProgress() override { events.push_back("show"); }
    void SetStepCounters(int total, int count) override {
        events.push_back("counters " + std::to_string(total) + "/" + std::to_string(count));
    }
    void SetProgressHeading(std::u16string_view text) override {
        events.push_back("heading " + Narrow(text));
    }
    void AdvanceProgressStep(std::u16string_view text) override {
        ++steps;
        stepTexts.push_back(Narrow(text));
    }
    void CloseProgress() override { events.push_back("close"); }
    int ShowMessage(std::u16string_view text, unsigned flags) override {
        boxes.emplace_back(text, flags);
        events.push_back("box");
        if (answers.empty())
            return 7; // IDNO
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) override {
        if (blankCaptions) // a "Language" that names no table
            return {};
        return std::u16string(window) + u"." + std::u16string(key);
    }
    bool blankCaptions = false;
    void PlayClickSound() override { events.push_back("sound"); }
    void RestartWindows() override { events.push_back("restart"); }
    RegistryStore& Registry() override { return store_; }

    std::vector<std::string> stepTexts;

    static std::string Narrow(std::u16string_view text) {
        return std::string(text.begin(), text.end());
    }

private:
    RegistryStore& store_;
};

const TweakEntry& Row(int n) {
    return kTweakCatalogue[static_cast<std::size_t>(n - 1)];
}

std::optional<Value> System(MemoryRegistryStore& store, int n) {
    return store.Get(Row(n).root, Row(n).path, Row(n).name);
}
std::optional<Value> InProgramKey(MemoryRegistryStore& store, std::u16string_view name) {
    return store.Get(HKLM, kProgramKey, name);
}

// Original system values that differ from every default.
void PutOriginals(MemoryRegistryStore& store) {
    const std::pair<int, std::uint32_t> numbers[] = {{1, 0},  {2, 3},   {13, 1},
                                                     {14, 1}, {15, 38}, {16, 0}};
    for (auto [n, number] : numbers)
        store.Put(Row(n).root, Row(n).path, Row(n).name, {kRegDword, DwordBytes(number)});
    store.Put(Row(12).root, Row(12).path, Row(12).name, {kRegSz, Utf16Bytes(u"0")});
    // Rows that Restore deletes, holding values of their own.
    store.Put(Row(3).root, Row(3).path, Row(3).name, {kRegDword, DwordBytes(1)});
    store.Put(Row(18).root, Row(18).path, Row(18).name, {kRegSz, Utf16Bytes(u"No")});
}

std::map<int, Value> BackedUpRows(MemoryRegistryStore& store) {
    std::map<int, Value> rows;
    for (int n : {1, 2, 12, 13, 14, 15, 16})
        if (auto value = System(store, n))
            rows[n] = *value;
    return rows;
}

std::set<int> RowRange(int first, int last) {
    std::set<int> rows;
    for (int n = first; n <= last; ++n)
        rows.insert(n);
    return rows;
}

std::set<int> RowsPresent(MemoryRegistryStore& store) {
    std::set<int> present;
    for (int n = 1; n <= 33; ++n)
        if (System(store, n))
            present.insert(n);
    return present;
}

const std::u16string kRestartQuestion =
    u"KVMainForm.MessageBoxChangeRestart1\r\n\r\nKVMainForm.MessageBoxChangeRestart2\r\n\r\n"
    u"KVMainForm.MessageBoxChangeRestart3";

TEST(OptimizeRun, StoresChoicesPacesBacksUpWritesAndAsks) {
    MemoryRegistryStore store;
    PutOriginals(store);
    RecordingHost host(store);
    host.processorIndex = 1;
    host.speed = 1;
    GoButtonClick(host);

    const std::vector<std::string> expected = {"sound",
                                               "main off",
                                               "show",
                                               "counters 31/0",
                                               "heading KVSettingsForm.MessageUpdate",
                                               "main on",
                                               "close",
                                               "restore on",
                                               "box"};
    EXPECT_EQ(host.events, expected);
    ASSERT_EQ(host.stepTexts.size(), 31u);
    EXPECT_EQ(host.stepTexts.front(), "KVSettingsForm.MessageChange1");
    EXPECT_EQ(host.stepTexts[20], "KVSettingsForm.MessageChange8");
    EXPECT_EQ(host.stepTexts[21], "KVSettingsForm.MessageChange9");
    EXPECT_EQ(host.stepTexts.back(), "KVSettingsForm.MessageChange10");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].first, kRestartQuestion);
    EXPECT_EQ(host.boxes[0].second, 0x134u);

    EXPECT_EQ(InProgramKey(store, u"ProcessorType"), (Value{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(InProgramKey(store, u"SpeedSetting"), (Value{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(InProgramKey(store, u"Restore"), (Value{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(InProgramKey(store, u"Win32PrioritySeparation"), (Value{kRegDword, DwordBytes(38)}));
    EXPECT_EQ(InProgramKey(store, u"MinAnimate"), (Value{kRegSz, Utf16Bytes(u"0")}));
    EXPECT_EQ(System(store, 15), (Value{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(RowsPresent(store),
              (std::set<int>{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                             17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 32, 33}));
}

TEST(OptimizeRun, YesRestartsAndNoEndsTheRun) {
    for (int answer : {kIdYes, 7}) {
        MemoryRegistryStore store;
        RecordingHost host(store);
        host.answers = {answer};
        GoButtonClick(host);
        EXPECT_EQ(host.events.back(), answer == kIdYes ? "restart" : "box");
    }
}

TEST(OptimizeRun, OnlyTheFirstRunBacksUpAndOneAfterRestoreBacksUpAgain) {
    MemoryRegistryStore store;
    PutOriginals(store);
    RecordingHost host(store);
    GoButtonClick(host);
    // The system changes between the runs; the second run keeps the first backup.
    store.Put(Row(2).root, Row(2).path, Row(2).name, {kRegDword, DwordBytes(4)});
    GoButtonClick(host);
    EXPECT_EQ(InProgramKey(store, u"NtfsMftZoneReservation"), (Value{kRegDword, DwordBytes(3)}));

    host.answers = {kIdOk};
    RestoreButtonClick(host);
    store.Put(Row(2).root, Row(2).path, Row(2).name, {kRegDword, DwordBytes(4)});
    GoButtonClick(host);
    EXPECT_EQ(InProgramKey(store, u"NtfsMftZoneReservation"), (Value{kRegDword, DwordBytes(4)}));
}

TEST(OptimizeRun, ProcessorAndSpeedChangeNothingInTheSystem) {
    std::vector<std::map<std::u16string, Value>> systems;
    for (auto [processor, speed] : {std::pair{0, 0}, std::pair{2, 1}}) {
        MemoryRegistryStore store;
        RecordingHost host(store);
        host.processorIndex = processor;
        host.speed = speed;
        GoButtonClick(host);
        auto snapshot = store.Snapshot();
        snapshot.erase(u"HKLM\\Software\\TORVEK\\Kavrolt\\ProcessorType");
        snapshot.erase(u"HKLM\\Software\\TORVEK\\Kavrolt\\SpeedSetting");
        systems.push_back(snapshot);
    }
    EXPECT_EQ(systems[0], systems[1]);
}

TEST(OptimizeRun, WritesTheRowsOfTheChosenRelease) {
    // Windows list position -> rows from 28 on; rows 1 to 27 are always written.
    const std::pair<int, std::set<int>> cases[] = {
        {0, {28, 29, 30, 32, 33}}, // Windows 10
        {4, {28, 29, 30, 32, 33}}, // XP
        {5, {28, 29, 30, 31}},     // Server 2012
        {7, {28, 29, 30, 31}},     // Server 2003
        {8, {31}},                 // Server 2000
        {-1, {28, 29, 30}},        // no selection
    };
    for (const auto& [position, expected] : cases) {
        MemoryRegistryStore store;
        RecordingHost host(store);
        host.windowsIndex = position;
        GoButtonClick(host);
        const auto present = RowsPresent(store);
        EXPECT_EQ(std::set<int>(present.lower_bound(28), present.end()), expected) << position;
        EXPECT_EQ(std::set<int>(present.begin(), present.lower_bound(28)), RowRange(1, 27));
    }
}

TEST(RestoreRun, ConfirmsThenWritesBackDeletesAndAsks) {
    MemoryRegistryStore store;
    PutOriginals(store);
    const auto originals = BackedUpRows(store);
    RecordingHost host(store);
    host.processorIndex = 2;
    GoButtonClick(host);
    host.events.clear();
    host.boxes.clear();
    host.stepTexts.clear();
    host.answers = {kIdOk, 7};
    RestoreButtonClick(host);

    const std::vector<std::string> expected = {
        "box",     "sound",         "main off",
        "show",    "counters 27/0", "heading KVSettingsForm.MessageRestore",
        "main on", "close",         "restore off",
        "box"};
    EXPECT_EQ(host.events, expected);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].first,
              u"KVMainForm.MessageBoxReset1\r\n\r\nKVMainForm.MessageBoxReset2");
    EXPECT_EQ(host.boxes[0].second, 0x31u);
    EXPECT_EQ(host.boxes[1].first, kRestartQuestion);
    EXPECT_EQ(host.boxes[1].second, 0x134u);
    ASSERT_EQ(host.stepTexts.size(), 27u);
    EXPECT_EQ(host.stepTexts[20], "KVSettingsForm.MessageChange8");
    EXPECT_EQ(host.stepTexts[21], "KVSettingsForm.MessageChange11");

    EXPECT_EQ(BackedUpRows(store), originals);
    EXPECT_EQ(RowsPresent(store), (std::set<int>{1, 2, 12, 13, 14, 15, 16}));
    // ProgramKey keeps the choices only.
    std::set<std::u16string> programKey;
    for (const auto& [path, value] : store.Snapshot())
        if (path.rfind(u"HKLM\\Software\\TORVEK\\Kavrolt\\", 0) == 0)
            programKey.insert(path.substr(29));
    EXPECT_EQ(programKey, (std::set<std::u16string>{u"ProcessorType", u"SpeedSetting"}));
}

TEST(RestoreRun, CancelChangesNothing) {
    MemoryRegistryStore store;
    RecordingHost host(store);
    GoButtonClick(host);
    const auto before = store.Snapshot();
    host.events.clear();
    for (int answer : {2 /* IDCANCEL */, 0 /* box closed */}) {
        host.answers = {answer};
        RestoreButtonClick(host);
    }
    EXPECT_EQ(host.events, (std::vector<std::string>{"box", "box"}));
    EXPECT_EQ(store.Snapshot(), before);
}

TEST(RestoreRun, ConditionalDeletionsFollowTheListAtRestoreTime) {
    MemoryRegistryStore store;
    RecordingHost host(store);
    host.windowsIndex = 0; // Windows 10: rows 32 and 33 written
    GoButtonClick(host);
    host.windowsIndex = 5; // Server 2012
    host.answers = {kIdOk};
    RestoreButtonClick(host);
    EXPECT_EQ(RowsPresent(store), (std::set<int>{1, 2, 12, 13, 14, 15, 16, 32, 33}));
}

TEST(Runs, WithoutRightsToProgramKeyNothingIsChanged) {
    for (bool optimize : {true, false}) {
        MemoryRegistryStore store;
        PutOriginals(store);
        store.DenyAccess(HKLM, u"Software", MemoryRegistryStore::Deny::Write);
        const auto before = store.Snapshot();
        RecordingHost host(store);
        host.answers = {kIdOk};
        if (optimize)
            GoButtonClick(host);
        else
            RestoreButtonClick(host);
        const std::u16string noRights =
            u"KVMainForm.MessageBoxNoRights1\r\n\r\nKVMainForm.MessageBoxNoRights2";
        ASSERT_FALSE(host.boxes.empty());
        EXPECT_EQ(host.boxes.back().first, noRights);
        EXPECT_EQ(host.boxes.back().second, 0x30u);
        EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "sound"), 0);
        EXPECT_EQ(host.steps, 0);
        EXPECT_EQ(store.Snapshot(), before);
    }
}

TEST(Runs, AChangeThatDidNotTakeEffectIsReported) {
    MemoryRegistryStore store;
    RecordingHost host(store);
    // A user may write ProgramKey but not one of the system keys.
    store.DenyAccess(HKLM, u"System\\CurrentControlSet\\Control\\CrashControl",
                     MemoryRegistryStore::Deny::Write);
    GoButtonClick(host);
    const std::u16string incomplete =
        u"KVMainForm.MessageBoxChangeIncomplete1\r\n\r\nKVMainForm.MessageBoxChangeRestart2"
        u"\r\n\r\nKVMainForm.MessageBoxChangeRestart3";
    EXPECT_EQ(host.boxes.back().first, incomplete);
    EXPECT_EQ(host.boxes.back().second, 0x134u);

    // A deletion that needs full control of a key the user may only write to.
    store.DenyAccess(HKLM, u"System\\CurrentControlSet\\Control\\CrashControl",
                     MemoryRegistryStore::Deny::None);
    GoButtonClick(host);
    EXPECT_EQ(host.boxes.back().first, kRestartQuestion);
    store.DenyAccess(HKLM, u"System\\CurrentControlSet\\Services\\Tcpip\\Parameters",
                     MemoryRegistryStore::Deny::FullAccess);
    host.answers = {kIdOk};
    RestoreButtonClick(host);
    EXPECT_EQ(host.boxes.back().first, incomplete);

    // Deleting values that are not there counts as done.
    store.DenyAccess(HKLM, u"System\\CurrentControlSet\\Services\\Tcpip\\Parameters",
                     MemoryRegistryStore::Deny::None);
    host.answers = {kIdOk};
    RestoreButtonClick(host);
    EXPECT_EQ(host.boxes.back().first, kRestartQuestion);
}

TEST(Runs, MessageBoxRowsAreJoinedEvenWhenEmpty) {
    const std::u16string twoBlankRows = u"\r\n\r\n";
    const std::u16string threeBlankRows = u"\r\n\r\n\r\n\r\n";
    MemoryRegistryStore store;
    RecordingHost host(store);
    host.blankCaptions = true;
    GoButtonClick(host);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].first, threeBlankRows); // the restart question
    host.answers = {kIdOk};
    RestoreButtonClick(host);
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[1].first, twoBlankRows); // the Restore confirmation
    EXPECT_EQ(host.boxes[2].first, threeBlankRows);
    store.DenyAccess(HKLM, u"Software\\TORVEK\\Kavrolt", MemoryRegistryStore::Deny::Write);
    GoButtonClick(host);
    EXPECT_EQ(host.boxes.back().first, twoBlankRows); // the rights message
}

TEST(RestoreRun, AFailedWriteBackKeepsTheMarkAndEveryBackup) {
    MemoryRegistryStore store;
    PutOriginals(store);
    const auto originals = BackedUpRows(store);
    RecordingHost host(store);
    GoButtonClick(host);
    const auto optimized = BackedUpRows(store);
    std::map<std::u16string, Value> backups;
    for (const auto& [path, value] : store.Snapshot())
        if (path.rfind(u"HKLM\\Software\\TORVEK\\Kavrolt\\", 0) == 0)
            backups.emplace(path, value);

    // The user may not write the key of rows 13 and 14 (Memory Management).
    const auto memory = Row(13).path;
    store.DenyAccess(HKLM, memory.substr(1, memory.size() - 2), MemoryRegistryStore::Deny::Write);
    host.events.clear();
    host.answers = {kIdOk};
    RestoreButtonClick(host);
    EXPECT_EQ(host.boxes.back().first.rfind(u"KVMainForm.MessageBoxChangeIncomplete1", 0), 0u);
    EXPECT_EQ(host.events[host.events.size() - 2], "restore on"); // a Restore is still due
    for (const auto& [path, value] : backups)
        EXPECT_EQ(store.Snapshot().at(path), value) << std::string(path.begin(), path.end());
    EXPECT_EQ(System(store, 13), optimized.at(13));
    EXPECT_EQ(System(store, 1), originals.at(1)); // the other rows are back

    // Once the key can be written again, a second Restore brings every original
    // back and leaves the state of a completed Restore.
    store.DenyAccess(HKLM, memory.substr(1, memory.size() - 2), MemoryRegistryStore::Deny::None);
    host.events.clear();
    host.answers = {kIdOk};
    RestoreButtonClick(host);
    EXPECT_EQ(host.boxes.back().first, kRestartQuestion);
    EXPECT_EQ(host.events[host.events.size() - 2], "restore off");
    EXPECT_EQ(BackedUpRows(store), originals);
    EXPECT_FALSE(InProgramKey(store, u"Restore"));
    EXPECT_FALSE(InProgramKey(store, Row(13).name));
}

// Notes the writes, deletions and flushes of a run as "set HIVE NAME",
// "delete HIVE NAME" and "flush HIVE", where HIVE is the root and the first
// key below it, in lower case.
class JournalStore final : public RegistryStore {
public:
    explicit JournalStore(RegistryStore& inner) : inner_(inner) {}
    std::vector<std::string> journal;

    long OpenKey(RegRoot r, std::u16string_view p, std::uint32_t m, RegKey& k) override {
        const long status = inner_.OpenKey(r, p, m, k);
        return Note(status, r, p, k);
    }
    long CreateKey(RegRoot r, std::u16string_view p, std::uint32_t m, RegKey& k) override {
        const long status = inner_.CreateKey(r, p, m, k);
        return Note(status, r, p, k);
    }
    long QueryValue(RegKey k, std::u16string_view n, std::uint32_t* t, std::uint8_t* d,
                    std::uint32_t* s) override {
        return inner_.QueryValue(k, n, t, d, s);
    }
    long SetValue(RegKey k, std::u16string_view n, std::uint32_t t, const std::uint8_t* d,
                  std::uint32_t s) override {
        journal.push_back("set " + hives_[k] + " " + Narrow(n));
        return inner_.SetValue(k, n, t, d, s);
    }
    long DeleteValue(RegKey k, std::u16string_view n) override {
        journal.push_back("delete " + hives_[k] + " " + Narrow(n));
        return inner_.DeleteValue(k, n);
    }
    long CloseKey(RegKey k) override { return inner_.CloseKey(k); }
    long FlushKey(RegKey k) override {
        journal.push_back("flush " + hives_[k]);
        return inner_.FlushKey(k);
    }

    // Where in the journal an entry stands first and last; -1 when absent.
    long First(const std::string& prefix) const {
        for (std::size_t i = 0; i < journal.size(); ++i)
            if (journal[i].rfind(prefix, 0) == 0)
                return static_cast<long>(i);
        return -1;
    }
    long Last(const std::string& prefix) const {
        for (std::size_t i = journal.size(); i-- > 0;)
            if (journal[i].rfind(prefix, 0) == 0)
                return static_cast<long>(i);
        return -1;
    }
    long Count(const std::string& entry) const {
        return std::count(journal.begin(), journal.end(), entry);
    }

private:
    static std::string Narrow(std::u16string_view text) {
        std::string narrow;
        for (char16_t c : text)
            narrow += static_cast<char>(FoldAscii(c));
        return narrow;
    }
    long Note(long status, RegRoot root, std::u16string_view path, RegKey key) {
        if (status == kRegSuccess) {
            while (!path.empty() && path.front() == u'\\')
                path.remove_prefix(1);
            hives_[key] =
                (root == kHkeyCurrentUser ? "hkcu"
                                          : "hklm\\" + Narrow(path.substr(0, path.find(u'\\'))));
        }
        return status;
    }
    RegistryStore& inner_;
    std::map<RegKey, std::string> hives_;
};

TEST(Runs, HivesAreFlushedWhereTheOrderOfWritesMatters) {
    MemoryRegistryStore store;
    PutOriginals(store);
    JournalStore journal(store);
    RecordingHost host(journal);
    GoButtonClick(host);
    // Optimize: the backups and the mark reach the disk before any system value
    // changes. ProgramKey's hive is flushed once; system hives need no flush.
    const long flush = journal.First("flush ");
    ASSERT_GE(flush, 0);
    EXPECT_EQ(journal.journal[static_cast<std::size_t>(flush)], "flush hklm\\software");
    EXPECT_EQ(journal.Count("flush hklm\\software"), 1);
    EXPECT_LT(journal.Last("set hklm\\software disablepagingexecutive"), flush);
    EXPECT_LT(journal.Last("set hklm\\software restore"), flush);
    EXPECT_GT(journal.First("set hklm\\system "), flush);
    EXPECT_GT(journal.First("set hkcu "), flush);

    // Restore: every hive written back is flushed once, after the last
    // write-back and before the mark and the backups are deleted.
    journal.journal.clear();
    host.answers = {kIdOk};
    RestoreButtonClick(host);
    for (const char* hive : {"flush hklm\\system", "flush hkcu"}) {
        EXPECT_EQ(journal.Count(hive), 1) << hive;
        const long at = journal.First(hive);
        EXPECT_GT(at, journal.Last("set hklm\\system ")) << hive;
        EXPECT_GT(at, journal.Last("set hkcu minanimate")) << hive;
        EXPECT_LT(at, journal.First("delete hklm\\software restore")) << hive;
        EXPECT_LT(at, journal.First("delete hklm\\software disablepagingexecutive")) << hive;
    }
}

// Ends a run after a given number of registry operations, as if the program
// had been killed there.
struct CutOff {};
class CuttingStore final : public RegistryStore {
public:
    CuttingStore(RegistryStore& inner, int budget) : inner_(inner), budget_(budget) {}
    bool cut = false;

    long OpenKey(RegRoot r, std::u16string_view p, std::uint32_t m, RegKey& k) override {
        Spend();
        return inner_.OpenKey(r, p, m, k);
    }
    long CreateKey(RegRoot r, std::u16string_view p, std::uint32_t m, RegKey& k) override {
        Spend();
        return inner_.CreateKey(r, p, m, k);
    }
    long QueryValue(RegKey k, std::u16string_view n, std::uint32_t* t, std::uint8_t* d,
                    std::uint32_t* s) override {
        Spend();
        return inner_.QueryValue(k, n, t, d, s);
    }
    long SetValue(RegKey k, std::u16string_view n, std::uint32_t t, const std::uint8_t* d,
                  std::uint32_t s) override {
        Spend();
        return inner_.SetValue(k, n, t, d, s);
    }
    long DeleteValue(RegKey k, std::u16string_view n) override {
        Spend();
        return inner_.DeleteValue(k, n);
    }
    long CloseKey(RegKey k) override { return inner_.CloseKey(k); }
    long FlushKey(RegKey k) override { return inner_.FlushKey(k); }

private:
    void Spend() {
        if (budget_-- <= 0) {
            cut = true;
            throw CutOff{};
        }
    }
    RegistryStore& inner_;
    int budget_;
};

// After a cut, the user carries on as the program lets them: Restore when the
// Restore button is enabled, otherwise Optimize and then Restore.
void Recover(MemoryRegistryStore& store) {
    RecordingHost host(store);
    if (!ReadRegBool(store, HKLM, kProgramKey, u"Restore", false, false)) {
        GoButtonClick(host);
    }
    host.answers = {kIdOk};
    RestoreButtonClick(host);
}

TEST(Runs, ACutAtAnyPointLosesNoOriginalValue) {
    for (bool cutRestore : {false, true}) {
        bool finished = false;
        for (int k = 0; !finished; ++k) {
            MemoryRegistryStore store;
            PutOriginals(store);
            const auto originals = BackedUpRows(store);
            if (cutRestore) {
                RecordingHost plain(store);
                GoButtonClick(plain);
            }
            CuttingStore cutting(store, k);
            RecordingHost host(cutting);
            host.answers = {kIdOk};
            if (cutRestore)
                RestoreButtonClick(host);
            else
                GoButtonClick(host);
            finished = !cutting.cut;
            Recover(store);
            ASSERT_EQ(BackedUpRows(store), originals)
                << (cutRestore ? "Restore" : "Optimize") << " cut after " << k << " operations";
            ASSERT_LT(k, 5000);
        }
    }
}

} // namespace
} // namespace kavrolt::test
