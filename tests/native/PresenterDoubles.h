// A recording view and recording services for the presenters' tests: the view
// keeps the model and notes what the presenter asks of the controls; the
// services read captions from the shipped table, answer the clock and the
// detections from fields, and note every action.
#pragma once

#include "appearance/Captions.h"
#include "forms/KVAboutFormLayout.h"
#include "forms/KVMainFormLayout.h"
#include "forms/KVSettingsFormLayout.h"
#include "presenters/FormView.h"
#include "presenters/MainPresenter.h"
#include "presenters/ProgramServices.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"
#include "services/TimeStamps.h"
#include "text/TextCodecs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace kavrolt::test {

inline std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

class RecordingView final : public FormView {
public:
    explicit RecordingView(FormModel model) : model_(std::move(model)) {}

    std::map<int, bool> enabled;
    std::map<int, int> selected;
    std::map<int, bool> underlined;
    std::vector<std::string> calls; // the window-level requests, in order
    std::deque<int> answers;        // one per box; none answers No
    bool visible = false;

    FormModel& Model() override { return model_; }
    void ApplyFonts() override { calls.push_back("fonts"); }
    void ShowMenuTexts() override { calls.push_back("menu texts"); }
    void Enable(int index, bool on) override { enabled[index] = on; }
    void Select(int index, int item) override { selected[index] = item; }
    int Selection(int index) override { return selected.count(index) ? selected[index] : -1; }
    void SetUnderline(int index, bool on) override { underlined[index] = on; }
    int Ask(std::u16string_view text, unsigned /*flags*/) override {
        calls.push_back("ask " + Narrow(text));
        if (answers.empty())
            return 7; // IDNO
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void OpenPopupMenuBelow(int index) override { calls.push_back("menu " + NameAt(index)); }
    bool IsVisible() override { return visible; }
    void CentreOverOwner() override { calls.push_back("centre"); }
    void Show(bool shown) override {
        visible = shown;
        calls.push_back(shown ? "show" : "hide");
    }
    void ShowModal(int focus) override { calls.push_back("modal, focus " + NameAt(focus)); }
    void Repaint() override { calls.push_back("repaint"); }

    std::string NameAt(int index) const {
        return Narrow(model_.components.at(static_cast<std::size_t>(index)).name);
    }
    std::u16string TextOf(int index) const {
        return model_.components.at(static_cast<std::size_t>(index)).text;
    }

private:
    FormModel model_;
};

class RecordingServices final : public ProgramServices {
public:
    MemoryRegistryStore store;
    DateTime now = 45000.5; // 2023-03-13 12:00
    int windowsVersion = 8; // Windows 10
    int processorVendor = 1;
    std::vector<std::string> actions;

    RegistryStore& Registry() override { return store; }
    void ApplyCaptions(FormModel& form) override { kavrolt::ApplyCaptions(Source(), form); }
    std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) override {
        return kavrolt::LoadCaption(Source(), window, key);
    }
    FontSpec DesktopFont() override { return FontSpec{u"Segoe UI", 9}; }
    DateTime Now() override { return now; }
    int DetectWindowsVersion() override { return windowsVersion; }
    int DetectProcessorVendor() override { return processorVendor; }

    std::u16string ProgramFolder() override { return u"C:\\Kavrolt\\"; }
    void OpenUrl(std::u16string_view address) override { Note("url", address); }
    void OpenDocument(std::u16string_view file, std::u16string_view parameters) override {
        Note("document", file, parameters);
    }
    void RunProgram(std::u16string_view file, std::u16string_view parameters) override {
        Note("run", file, parameters);
    }
    void ShowHelpTopic(std::u16string_view helpFile, std::u16string_view topic) override {
        Note("help", helpFile, topic);
    }
    void PlayClickSound() override { actions.push_back("sound"); }
    void RestartWindows() override { actions.push_back("restart"); }

private:
    void Note(std::string what, std::u16string_view a, std::u16string_view b = {}) {
        std::string line = std::move(what);
        for (std::u16string_view part : {a, b})
            if (!part.empty())
                line.append(1, ' ').append(Narrow(part));
        actions.push_back(std::move(line));
    }
    CaptionSource Source() {
        return CaptionSource{
            store,
            [this](std::u16string_view name) -> std::optional<std::vector<std::uint8_t>> {
                if (name != u"english")
                    return std::nullopt;
                if (table_.empty()) {
                    std::ifstream file(KAVROLT_RESOURCES_DIR "/english.txt", std::ios::binary);
                    table_.assign(std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>());
                }
                return table_;
            },
            DecodeCodePage1252};
    }
    std::vector<std::uint8_t> table_;
};

// A step of the runs that costs nothing: three passes, one dot a pass, no sleep.
inline constexpr StepPacing kInstantPacing{3, 3, 1, 2, 3, 0};

inline StepDevices InstantClock() {
    StepDevices clock;
    clock.pump = [] {};
    clock.sleep = [](std::uint32_t) {};
    clock.draw = [](std::uint32_t lo, std::uint32_t) { return lo; };
    return clock;
}

// The three windows' presenters over recording views, on recording services.
struct MainWindow : ::testing::Test {
    static constexpr auto HKLM = kHkeyLocalMachine;
    RecordingServices services;
    RecordingView view{MakeMainFormModel()};
    RecordingView aboutView{MakeAboutFormModel()};
    RecordingView progressView{MakeSettingsFormModel()};
    AboutPresenter about{aboutView, services,
                         [this] { presenter.HelpFilePopupClick(MainControl::HelpFilePopup); }};
    ProgressPresenter progress{progressView, services, InstantClock(), kInstantPacing};
    MainPresenter presenter{view, services, about, progress};

    void PutString(std::u16string_view name, std::u16string_view text) {
        WriteRegString(services.store, HKLM, kProgramKey, name, text, false);
    }
    void PutInteger(std::u16string_view name, int value) {
        WriteRegInteger(services.store, HKLM, kProgramKey, name, value, false);
    }
    std::u16string StampDaysBack(double days) {
        return StampText(DateTimeToStamp(services.now - days));
    }
    bool CheckStarted() const {
        return std::count(services.actions.begin(), services.actions.end(),
                          "run C:\\Kavrolt\\Kavrolt.exe /checkupdate") == 1;
    }
    std::u16string Text(MainControl id) { return view.Model().At(id).text; }
};

} // namespace kavrolt::test
