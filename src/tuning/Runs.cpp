// The Optimize and Restore runs of the main window.
//
// The registry work is ordered so that a run cut off at any point (the program
// killed, the computer switched off) never loses an original value: Optimize
// marks "Restore" only once the backups are written, and Restore removes the
// mark only once every backup has been written back. At both points the hives
// written so far are flushed, since Windows writes each hive to disk on its
// own schedule and a power cut could otherwise keep the later writes of one
// hive and lose the earlier ones of another.
#include "tuning/RunHost.h"

#include "base/Failure.h"
#include "registry/CustomRegistry.h"
#include "registry/OutcomeTrackingStore.h"
#include "sysinfo/WindowsVersion.h"
#include "tuning/TweakCatalogue.h"

#include <array>
#include <utility>

namespace kavrolt {
namespace {

constexpr std::u16string_view kMainForm = u"KVMainForm";
constexpr std::u16string_view kSettingsForm = u"KVSettingsForm";
constexpr auto HKLM = kHkeyLocalMachine;

// A run's progress steps: the step text's caption key, and how many steps
// show it.
template <std::size_t N> using StepPlan = std::array<std::pair<std::u16string_view, int>, N>;

template <std::size_t N> constexpr int StepTotal(const StepPlan<N>& plan) {
    int total = 0;
    for (const auto& step : plan)
        total += step.second;
    return total;
}

// Both runs walk the same first eight step texts; each ends with its own.
constexpr StepPlan<8> kSharedSteps = {{
    {u"MessageChange1", 2},
    {u"MessageChange2", 3},
    {u"MessageChange3", 1},
    {u"MessageChange4", 2},
    {u"MessageChange5", 4},
    {u"MessageChange6", 4},
    {u"MessageChange7", 2},
    {u"MessageChange8", 3},
}};

template <std::size_t N, std::size_t M>
constexpr StepPlan<N + M> Then(const StepPlan<N>& first, const StepPlan<M>& rest) {
    StepPlan<N + M> plan{};
    for (std::size_t i = 0; i < N; ++i)
        plan[i] = first[i];
    for (std::size_t i = 0; i < M; ++i)
        plan[N + i] = rest[i];
    return plan;
}

constexpr auto kOptimizeSteps =
    Then(kSharedSteps, StepPlan<2>{{{u"MessageChange9", 4}, {u"MessageChange10", 6}}});
constexpr auto kRestoreSteps = Then(kSharedSteps, StepPlan<1>{{{u"MessageChange11", 6}}});

std::u16string JoinCaptions(RunHost& host, std::u16string_view window,
                            std::initializer_list<std::u16string_view> keys) {
    std::u16string text;
    bool first = true;
    for (auto key : keys) {
        // Every row is separated from the one before, empty rows too.
        if (!first)
            text += u"\r\n\r\n";
        first = false;
        text += host.LoadCaption(window, key);
    }
    return text;
}

// Whether ProgramKey can be opened for writing, creating it where needed. The
// program asks for no elevation, so this is where missing rights show.
bool CanWriteProgramKey(RegistryStore& store) {
    ScopedRegKey key(store);
    std::u16string_view path = kProgramKey;
    path.remove_prefix(1);
    return store.CreateKey(HKLM, path, kKeyWrite, key.Out()) == kRegSuccess;
}

void ShowNoRights(RunHost& host) {
    host.ShowMessage(
        JoinCaptions(host, kMainForm, {u"MessageBoxNoRights1", u"MessageBoxNoRights2"}),
        kMbOk | kMbIconWarning);
}

// The progress part of a run: main window disabled, progress window shown and
// paced through the steps. The destructor puts the windows back even when the
// run ends early.
class ProgressScope {
public:
    ProgressScope(RunHost& host, int stepTotal, std::u16string_view headingKey) : host_(host) {
        host.EnableMainWindow(false);
        host.ShowProgress();
        shown_ = true;
        host.SetStepCounters(stepTotal, 0);
        host.SetProgressHeading(host.LoadCaption(kSettingsForm, headingKey));
    }
    template <class Plan> void Walk(const Plan& plan) {
        for (const auto& [key, count] : plan)
            for (int i = 0; i < count; ++i)
                host_.AdvanceProgressStep(host_.LoadCaption(kSettingsForm, key));
    }
    void Finish() {
        if (!shown_)
            return;
        shown_ = false;
        host_.EnableMainWindow(true);
        host_.CloseProgress();
    }
    ~ProgressScope() {
        Guarded([this] { Finish(); });
    }

private:
    RunHost& host_;
    bool shown_ = false;
};

void OfferRestart(RunHost& host, bool incomplete) {
    const auto first = incomplete ? u"MessageBoxChangeIncomplete1" : u"MessageBoxChangeRestart1";
    const auto text = JoinCaptions(
        host, kMainForm, {first, u"MessageBoxChangeRestart2", u"MessageBoxChangeRestart3"});
    if (host.ShowMessage(text, kMbYesNo | kMbIconWarning | kMbDefButton2) == kIdYes)
        host.RestartWindows();
}

} // namespace

void GoButtonClick(RunHost& host) {
    // A failure ends the run silently; the windows have been put back.
    Guarded([&] {
        OutcomeTrackingStore store(host.Registry());
        const bool backedUp = ReadRegBool(store, HKLM, kProgramKey, u"Restore", false, false);
        if (!CanWriteProgramKey(host.Registry())) {
            ShowNoRights(host);
            return;
        }
        WriteRegInteger(store, HKLM, kProgramKey, u"ProcessorType", host.ProcessorListIndex(),
                        false);
        WriteRegInteger(store, HKLM, kProgramKey, u"SpeedSetting", host.SpeedPosition(), false);
        host.PlayClickSound();
        {
            ProgressScope progress(host, StepTotal(kOptimizeSteps), u"MessageUpdate");
            progress.Walk(kOptimizeSteps);
            const int versionCode = ConvertWindowsVersion(host.WindowsListIndex());
            if (!backedUp)
                BackupTweaks(store);
            WriteRegBool(store, HKLM, kProgramKey, u"Restore", true, false);
            FlushBackupHive(store);
            ApplyTweaks(store, versionCode);
            progress.Finish();
        }
        host.EnableRestoreButton(true);
        OfferRestart(host, store.AnyChangeFailed());
    });
}

void RestoreButtonClick(RunHost& host) {
    // A failure ends the run silently; the windows have been put back.
    Guarded([&] {
        const auto question =
            JoinCaptions(host, kMainForm, {u"MessageBoxReset1", u"MessageBoxReset2"});
        if (host.ShowMessage(question, kMbOkCancel | kMbIconWarning) != kIdOk)
            return;
        if (!CanWriteProgramKey(host.Registry())) {
            ShowNoRights(host);
            return;
        }
        OutcomeTrackingStore store(host.Registry());
        host.PlayClickSound();
        bool everyOriginalBack = false;
        {
            ProgressScope progress(host, StepTotal(kRestoreSteps), u"MessageRestore");
            progress.Walk(kRestoreSteps);
            const int versionCode = ConvertWindowsVersion(host.WindowsListIndex());
            OutcomeTrackingStore writeBack(store);
            WriteBackTweaks(writeBack);
            everyOriginalBack = !writeBack.AnyChangeFailed();
            DeleteTweaks(store, versionCode);
            // A backup whose write-back failed is still the only copy of its
            // original: the mark and the backups stay for a later Restore.
            if (everyOriginalBack) {
                FlushWrittenBackHives(store);
                // Every original value is back in place now. Removing the mark
                // before the backups means that a cut from here on leaves no
                // mark, and the next Optimize run backs up afresh instead of
                // trusting a partial set.
                DeleteRegValue(store, HKLM, kProgramKey, u"Restore", false);
                DeleteTweakBackups(store);
            }
            progress.Finish();
        }
        host.EnableRestoreButton(!everyOriginalBack);
        OfferRestart(host, store.AnyChangeFailed());
    });
}

} // namespace kavrolt
