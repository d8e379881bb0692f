// The application's hint machinery: it keeps one hint window, waits for the
// pointer to rest on a control with a hint text, shows the control's short
// hint below the pointer, hides it again, and keeps the current long hint for
// its hint-change handler. What it needs of the system (a timer, the pointer)
// comes through HintHost, so it runs the same natively and on Windows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kavrolt {

struct HintPoint {
    int x = 0, y = 0;
    bool operator==(const HintPoint&) const = default;
};

struct HintRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const HintRect&) const = default;
};

// The window that shows the application's hints.
class HintWindow {
public:
    virtual ~HintWindow() = default;
    // The size of the hint text, as (0, 0, width, height).
    virtual HintRect CalcHintRect(int maxWidth, std::u16string_view hint, const void* data) = 0;
    // Shows the hint with its top-left corner at the rectangle's top-left corner.
    virtual void ActivateHint(HintRect rect, std::u16string_view hint) = 0;
    // Takes the shown hint off the screen.
    virtual void ReleaseHandle() = 0;
};

class HintApplication;
using HintWindowFactory = std::function<std::unique_ptr<HintWindow>(HintApplication&)>;

// What the hint machinery needs of the system.
class HintHost {
public:
    virtual ~HintHost() = default;
    // One timer: starting it again replaces the waiting time; it fires once.
    virtual void StartTimer(int milliseconds) = 0;
    virtual void StopTimer() = 0;
    virtual HintPoint CursorPos() = 0;
    // How far the pointer's cursor reaches below its hot spot.
    virtual int CursorHeight() = 0;
    virtual int ScreenWidth() = 0;
};

class HintApplication {
public:
    explicit HintApplication(HintHost& host);
    ~HintApplication();
    HintApplication(const HintApplication&) = delete;
    HintApplication& operator=(const HintApplication&) = delete;

    // Milliseconds until a hint shows, until the next one shows when the
    // pointer moves on while a hint is up, and until a shown hint hides.
    int HintPause() const { return hintPause_; }
    int HintShortPause() const { return hintShortPause_; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintPause(int milliseconds) { hintPause_ = milliseconds; }
    void SetHintShortPause(int milliseconds) { hintShortPause_ = milliseconds; }
    void SetHintHidePause(int milliseconds) { hintHidePause_ = milliseconds; }

    // The hint-change handler, called each time the current hint changes.
    using HintHandler = std::function<void()>;
    const HintHandler& OnHint() const { return onHint_; }
    void SetOnHint(HintHandler handler) { onHint_ = std::move(handler); }
    // The long hint of the control under the pointer.
    const std::u16string& Hint() const { return hint_; }
    void SetHint(std::u16string_view hint);

    // The class of hint window to keep. A hint window of another class is
    // replaced before the next hint shows.
    void SetHintWindowClass(HintWindowFactory factory);
    HintWindow* CurrentHintWindow() const { return window_.get(); }
    // Destroys the hint window and at once makes a new one of the registered
    // class, as when the system metrics are read anew.
    void RecreateHintWindow();

    // What hiding the hint does instead of releasing the hint window.
    void SetHideHandler(std::function<void()> handler) { hideHandler_ = std::move(handler); }

    // The pointer is over a control (nothing: over no control) with that
    // hint text. The control is only compared, never used.
    void PointerOver(const void* control, std::u16string_view hint);
    // The pointer has left the control for a place outside the program; a
    // control that is no longer the one under the pointer is passed over.
    void PointerLeft(const void* control);
    // A key or mouse button was pressed, or the application was deactivated.
    void CancelHint();
    // The host's timer has fired.
    void TimerElapsed();
    void HideHint();

private:
    enum class State { Idle, Waiting, Showing };
    void ShowHint();
    void EnsureHintWindow();

    HintHost& host_;
    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
    HintHandler onHint_;
    std::u16string hint_;
    HintWindowFactory factory_;
    int factoryGeneration_ = 0;
    int windowGeneration_ = -1;
    std::function<void()> hideHandler_;
    const void* control_ = nullptr;
    std::u16string controlHint_;
    State state_ = State::Idle;
    // Declared last: a hint window may reach back into the application when it
    // is destroyed, so it goes first.
    std::unique_ptr<HintWindow> window_;
};

// The hint text before the first "|", or all of it.
std::u16string_view ShortHint(std::u16string_view hint);
// The hint text after the first "|", or all of it.
std::u16string_view LongHint(std::u16string_view hint);

} // namespace kavrolt
