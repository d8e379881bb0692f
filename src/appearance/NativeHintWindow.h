// Every hint of the program is a window of the Windows tooltip control
// ("tooltips_class32") instead of one the program paints itself. THintWindowFix
// is registered as the application's hint window class: it measures a hint,
// has a tooltip window made for each hint that is shown, and has it destroyed
// when the application hides the hint or the hint under the pointer becomes
// empty. The text rules and the placement arithmetic are portable; the tooltip
// windows themselves come through NativeTooltips.
#pragma once

#include "forms/HintApplication.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrolt {

struct HintSize {
    int width = 0, height = 0;
    bool operator==(const HintSize&) const = default;
};

struct HintTimings {
    int pause = 0, shortPause = 0, hidePause = 0;
    bool operator==(const HintTimings&) const = default;
};

// The application's hint timings from the double-click time t in
// milliseconds: t, t / 5 and t × 10 (held at the largest int).
HintTimings HintTimingsFrom(unsigned doubleClickTime);

// Without the characters U+0000 to U+0020 at either end.
std::u16string_view TrimHint(std::u16string_view text);

// The lines of a hint: split at each CR LF pair; a lone CR or LF stays in its
// line. An empty hint is one empty line.
std::vector<std::u16string_view> SplitHintLines(std::u16string_view hint);

// The size of a hint: its widest line by the sum of the heights of its lines,
// nothing between them. A line that cannot be measured counts as 0 × 0.
using MeasureHintLine = std::function<std::optional<HintSize>(std::u16string_view line)>;
HintSize MeasureHint(std::u16string_view hint, const MeasureHintLine& measure);

// The tooltip's estimated size: the text size plus twice the size of the
// window rectangle that the control gives an empty text.
HintSize EstimateTooltipSize(HintSize text, HintRect emptyTextWindow);

// Where a tooltip of that estimated size opens for the point, inside the
// monitor's rectangle: above the pointer when it would reach the bottom
// edge, moved left when it would reach the right edge, and never left of the
// left edge nor above the top edge.
HintPoint PlaceTooltip(HintPoint point, HintSize estimated, HintRect monitor, int pointerY);

// Whether the hint-change handler takes the tooltip down for the
// application's current hint: its part before the first "|", trimmed, is empty.
bool HintTakesTooltipDown(std::u16string_view currentHint);

// A tooltip window on the screen; destroying the object destroys the window
// if it still exists.
class NativeTooltip {
public:
    virtual ~NativeTooltip() = default;
    virtual bool Exists() const = 0;
};

// The system's side of the native hints.
class NativeTooltips {
public:
    virtual ~NativeTooltips() = default;
    // GetDoubleClickTime, in milliseconds.
    virtual unsigned DoubleClickTime() = 0;
    // One line in the application's hint font; nothing when it cannot be measured.
    virtual std::optional<HintSize> MeasureLine(std::u16string_view line) = 0;
    // A tooltip window that shows the text at the point; nothing when it
    // cannot be created.
    virtual std::unique_ptr<NativeTooltip> ShowTooltip(std::u16string_view text,
                                                       HintPoint point) = 0;
};

class THintWindowFix final : public HintWindow {
public:
    THintWindowFix(HintApplication& owner, NativeTooltips& tooltips);
    ~THintWindowFix() override;
    THintWindowFix(const THintWindowFix&) = delete;
    THintWindowFix& operator=(const THintWindowFix&) = delete;

    HintRect CalcHintRect(int maxWidth, std::u16string_view hint, const void* data) override;
    void ActivateHint(HintRect rect, std::u16string_view hint) override;
    void ReleaseHandle() override;

    // The text of the current hint.
    const std::u16string& Text() const { return text_; }

private:
    void HintChanged();

    HintApplication& application_;
    NativeTooltips& tooltips_;
    HintApplication::HintHandler OldAppHintHandler;
    bool handlerSaved_ = false;
    bool listed_ = false;
    std::u16string text_;
    std::unique_ptr<NativeTooltip> tooltip_;
};

// The live hint windows, in order of creation.
const std::vector<THintWindowFix*>& LiveHintWindows();

// Registers THintWindowFix as the application's hint window class and makes
// every hiding of the application's hint destroy the tooltip of the first live
// hint window (nothing when there is none). The tooltips must outlive the
// application's hint windows.
void InitNativeHintWindow(HintApplication& application, NativeTooltips& tooltips);

} // namespace kavrolt
