// The logic of the main window: FormCreate with the update rule, the click and
// hover bindings, the F1 shortcut of every window, and the RunHost that the
// Optimize and Restore runs work on.
#pragma once

#include "forms/KVMainFormLayout.h"
#include "presenters/AboutPresenter.h"
#include "presenters/Bindings.h"
#include "presenters/FormView.h"
#include "presenters/ProgramServices.h"
#include "presenters/ProgressPresenter.h"
#include "tuning/RunHost.h"

#include <span>

namespace kavrolt {

// The key code of F1.
inline constexpr unsigned kKeyF1 = 112;

class MainPresenter final : public RunHost {
public:
    MainPresenter(FormView& view, ProgramServices& services, AboutPresenter& about,
                  ProgressPresenter& progress);

    // Fills the window from ProgramKey, the detections and the captions, and
    // starts the update check when the last update lies over 45 days back.
    void FormCreate();
    // F1 from any window of the program opens the help topic while one of
    // them is visible. The handled flag is left as it was.
    void ApplicationEventsShortCut(unsigned keyCode, bool& handled);
    // Runs the handler bound to an event of a component, if any.
    bool Handle(int index, FormEvent event);

    // The handlers of the binding table.
    void NavButton1Click(MainControl sender);
    void NavButton2Click(MainControl sender);
    void NavButton3Click(MainControl sender);
    void NavButton4Click(MainControl sender);
    void HelpFilePopupClick(MainControl sender);
    void NavButtonMouseEnter(MainControl sender);
    void NavButtonMouseLeave(MainControl sender);
    void LabelMouseEnter(MainControl sender);
    void LabelMouseLeave(MainControl sender);
    void GoButtonClick(MainControl sender);
    void RestoreButtonClick(MainControl sender);
    void UpdatesButtonClick(MainControl sender);

    static std::span<const Binding<MainPresenter, MainControl>> Bindings();
    // The label that a navigation picture or label underlines.
    static MainControl NavStaticFor(MainControl sender);

    // RunHost
    int WindowsListIndex() override;
    int ProcessorListIndex() override;
    int SpeedPosition() override;
    void EnableMainWindow(bool enabled) override;
    void EnableRestoreButton(bool enabled) override;
    void ShowProgress() override;
    void SetStepCounters(int stepTotal, int stepCount) override;
    void SetProgressHeading(std::u16string_view text) override;
    void AdvanceProgressStep(std::u16string_view text) override;
    void CloseProgress() override;
    int ShowMessage(std::u16string_view text, unsigned flags) override;
    std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) override;
    void PlayClickSound() override;
    void RestartWindows() override;
    RegistryStore& Registry() override;

private:
    void AppendText(MainControl id, std::u16string_view tail);

    FormView& view_;
    ProgramServices& services_;
    AboutPresenter& about_;
    ProgressPresenter& progress_;
};

} // namespace kavrolt
