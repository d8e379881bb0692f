// The logic of the progress window of the Optimize and Restore runs: its
// FormShow, the step counters, the heading and the paced steps.
#pragma once

#include "presenters/FormView.h"
#include "presenters/ProgramServices.h"
#include "tuning/StepPacing.h"

namespace kavrolt {

class ProgressPresenter {
public:
    // clock gives the pump, the sleep and the random draw of the steps; the
    // presenter adds the two controls.
    ProgressPresenter(FormView& view, ProgramServices& services, StepDevices clock,
                      const StepPacing& pacing);

    FormView& View() { return view_; }
    const StepProgress& Progress() const { return progress_; }

    // Desktop font, font preparation, captions, bar at 0.
    void FormShow();
    // Centred over the owner where it stands now, FormShow, shown without
    // modality. Painted first once the heading is set (SetHeading), so that a
    // second run never shows the heading of the one before.
    void Show();
    void SetStepCounters(int stepTotal, int stepCount);
    void SetHeading(std::u16string_view text);
    void AdvanceProgressStep(std::u16string_view text);
    // Hidden, not destroyed: the next run shows it again with its texts.
    void Close();

private:
    FormView& view_;
    ProgramServices& services_;
    StepDevices devices_;
    StepPacing pacing_;
    StepProgress progress_;
};

} // namespace kavrolt
