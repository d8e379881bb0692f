#include "forms/HintApplication.h"

namespace kavrolt {

std::u16string_view ShortHint(std::u16string_view hint) {
    const std::size_t bar = hint.find(u'|');
    return bar == std::u16string_view::npos ? hint : hint.substr(0, bar);
}

std::u16string_view LongHint(std::u16string_view hint) {
    const std::size_t bar = hint.find(u'|');
    return bar == std::u16string_view::npos ? hint : hint.substr(bar + 1);
}

HintApplication::HintApplication(HintHost& host) : host_(host) {}

HintApplication::~HintApplication() {
    // The hint window gives the application its old handler back on its way.
    window_.reset();
}

void HintApplication::SetHint(std::u16string_view hint) {
    if (hint_ == hint)
        return;
    hint_ = std::u16string(hint);
    if (onHint_)
        onHint_();
}

void HintApplication::SetHintWindowClass(HintWindowFactory factory) {
    factory_ = std::move(factory);
    ++factoryGeneration_;
}

void HintApplication::EnsureHintWindow() {
    if (!factory_ || (window_ && windowGeneration_ == factoryGeneration_))
        return;
    // The old window goes first, so that it hands back the handler it saved
    // before the new one saves it again.
    window_.reset();
    window_ = factory_(*this);
    windowGeneration_ = factoryGeneration_;
}

void HintApplication::RecreateHintWindow() {
    CancelHint();
    window_.reset();
    EnsureHintWindow();
}

void HintApplication::PointerOver(const void* control, std::u16string_view hint) {
    SetHint(control ? LongHint(hint) : std::u16string_view{});
    if (control == control_ && (!control || hint == controlHint_))
        return;
    const bool hintWasUp = state_ == State::Showing;
    control_ = control;
    controlHint_ = std::u16string(control ? hint : std::u16string_view{});
    if (ShortHint(controlHint_).empty()) {
        // A place without a hint: whatever is up goes at once.
        host_.StopTimer();
        state_ = State::Idle;
        HideHint();
        return;
    }
    if (hintWasUp)
        HideHint();
    state_ = State::Waiting;
    host_.StartTimer(hintWasUp ? hintShortPause_ : hintPause_);
}

void HintApplication::PointerLeft(const void* control) {
    if (control && control == control_)
        PointerOver(nullptr, {});
}

void HintApplication::CancelHint() {
    // The control stays the one under the pointer: resting on it longer does
    // not bring the hint back.
    host_.StopTimer();
    state_ = State::Idle;
    HideHint();
}

void HintApplication::TimerElapsed() {
    host_.StopTimer();
    if (state_ == State::Waiting) {
        ShowHint();
    } else if (state_ == State::Showing) {
        state_ = State::Idle;
        HideHint();
    }
}

void HintApplication::ShowHint() {
    state_ = State::Idle;
    EnsureHintWindow();
    if (!window_)
        return;
    const std::u16string shortHint(ShortHint(controlHint_));
    const HintRect size = window_->CalcHintRect(host_.ScreenWidth(), shortHint, nullptr);
    const HintPoint pointer = host_.CursorPos();
    const int top = pointer.y + host_.CursorHeight();
    window_->ActivateHint({pointer.x, top, pointer.x + size.Width(), top + size.Height()},
                          shortHint);
    state_ = State::Showing;
    host_.StartTimer(hintHidePause_);
}

void HintApplication::HideHint() {
    if (hideHandler_)
        hideHandler_();
    else if (window_)
        window_->ReleaseHandle();
}

} // namespace kavrolt
