// The progress window of the Optimize and Restore runs: the view of its
// presenter, with the message pump, the sleep and the clock-seeded draw.
#pragma once

#include "presenters/ProgressPresenter.h"
#include "tuning/StepPacing.h"
#include "windows/FormViewWin32.h"
#include "windows/SystemServicesWin32.h"

namespace kavrolt::win {

class KVSettingsForm final : public ViewForm {
public:
    explicit KVSettingsForm(const StepPacing& pacing = kStepPacing,
                            ProgramServices& services = SystemServices());

    ProgressPresenter& Presenter() { return presenter_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Raise(int /*index*/, FormEvent /*event*/) override {}

private:
    ProgressPresenter presenter_;
};

} // namespace kavrolt::win
