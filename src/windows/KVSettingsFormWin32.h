// The progress window of the Optimize and Restore runs.
#pragma once

#include "tuning/StepPacing.h"
#include "windows/FormWin32.h"

namespace kavrolt::win {

class KVSettingsForm final : public Form {
public:
    explicit KVSettingsForm(const StepPacing& pacing = kStepPacing);

    // Centred over the owner where it stands now, shown without modality.
    void ShowCentredOver(HWND owner);
    // Desktop font, font preparation, captions, bar at 0.
    void FormShow();
    void SetStepCounters(int stepTotal, int stepCount);
    void SetHeading(std::u16string_view text);
    void AdvanceProgressStep(std::u16string_view text);
    // Hidden, not destroyed: the next run shows it again with its texts.
    void CloseForm();

    const StepProgress& Progress() const { return progress_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    StepPacing pacing_;
    StepProgress progress_;
};

} // namespace kavrolt::win
