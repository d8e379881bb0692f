#include "presenters/ProgressPresenter.h"

#include "base/Failure.h"
#include "forms/KVSettingsFormLayout.h"

namespace kavrolt {

ProgressPresenter::ProgressPresenter(FormView& view, ProgramServices& services, StepDevices clock,
                                     const StepPacing& pacing)
    : view_(view), services_(services), devices_(std::move(clock)), pacing_(pacing) {
    devices_.setLabel = [this](std::u16string_view shown) {
        view_.Model().SetText(SettingsControl::CurrentSettingsLabel, shown);
        view_.Repaint();
    };
    devices_.setBar = [this](int position) {
        view_.Select(Index(SettingsControl::MainProgress), position);
    };
}

void ProgressPresenter::FormShow() {
    // The steps after a failing one are skipped.
    Guarded([this] {
        PrepareWindow(view_, services_);
        view_.Select(Index(SettingsControl::MainProgress), 0);
    });
}

void ProgressPresenter::Show() {
    view_.CentreOverOwner();
    FormShow();
    view_.Show(true);
}

void ProgressPresenter::SetStepCounters(int stepTotal, int stepCount) {
    progress_.stepTotal = stepTotal;
    progress_.stepCount = stepCount;
}

void ProgressPresenter::SetHeading(std::u16string_view text) {
    view_.Model().SetText(SettingsControl::CurrentSettingsHeading, text);
    view_.Repaint();
}

void ProgressPresenter::AdvanceProgressStep(std::u16string_view text) {
    progress_.AdvanceProgressStep(text, devices_, pacing_);
}

void ProgressPresenter::Close() {
    view_.Show(false);
}

} // namespace kavrolt
