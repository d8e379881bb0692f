#include "appearance/NativeHintWindow.h"

#include "base/Failure.h"
#include "text/Trim.h"

#include <algorithm>
#include <climits>

namespace kavrolt {
namespace {

std::vector<THintWindowFix*>& LiveList() {
    static std::vector<THintWindowFix*> live;
    return live;
}

int ClampToInt(unsigned long long value) {
    return value > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

} // namespace

HintTimings HintTimingsFrom(unsigned doubleClickTime) {
    const unsigned long long t = doubleClickTime;
    return {ClampToInt(t), ClampToInt(t / 5), ClampToInt(t * 10)};
}

std::u16string_view TrimHint(std::u16string_view text) {
    return TrimWhere(text, [](char16_t c) { return c <= u' '; });
}

std::vector<std::u16string_view> SplitHintLines(std::u16string_view hint) {
    std::vector<std::u16string_view> lines;
    for (std::size_t end; (end = hint.find(u"\r\n")) != std::u16string_view::npos;) {
        lines.push_back(hint.substr(0, end));
        hint.remove_prefix(end + 2);
    }
    lines.push_back(hint);
    return lines;
}

HintSize MeasureHint(std::u16string_view hint, const MeasureHintLine& measure) {
    HintSize total;
    for (const std::u16string_view line : SplitHintLines(hint)) {
        const HintSize size = measure(line).value_or(HintSize{});
        total.width = std::max(total.width, size.width);
        total.height += size.height;
    }
    return total;
}

HintSize EstimateTooltipSize(HintSize text, HintRect emptyTextWindow) {
    return {text.width + 2 * emptyTextWindow.Width(), text.height + 2 * emptyTextWindow.Height()};
}

HintPoint PlaceTooltip(HintPoint point, HintSize estimated, HintRect monitor, int pointerY) {
    if (point.y + estimated.height >= monitor.bottom)
        point.y = pointerY - estimated.height; // opens above the pointer
    if (point.x + estimated.width >= monitor.right)
        point.x = monitor.right - estimated.width;
    if (point.x < monitor.left)
        point.x = monitor.left;
    if (point.y < monitor.top)
        point.y = monitor.top;
    return point;
}

bool HintTakesTooltipDown(std::u16string_view currentHint) {
    return TrimHint(ShortHint(currentHint)).empty();
}

THintWindowFix::THintWindowFix(HintApplication& owner, NativeTooltips& tooltips)
    : application_(owner), tooltips_(tooltips) {
    // Each step runs only when the one before it succeeded.
    Guarded([this] {
        OldAppHintHandler = application_.OnHint();
        application_.SetOnHint([this] { HintChanged(); });
        handlerSaved_ = true;
        const HintTimings timings = HintTimingsFrom(tooltips_.DoubleClickTime());
        application_.SetHintPause(timings.pause);
        application_.SetHintShortPause(timings.shortPause);
        application_.SetHintHidePause(timings.hidePause);
        LiveList().push_back(this);
        listed_ = true;
    });
}

THintWindowFix::~THintWindowFix() {
    if (listed_) {
        auto& live = LiveList();
        live.erase(std::remove(live.begin(), live.end(), this), live.end());
    }
    if (handlerSaved_)
        application_.SetOnHint(std::move(OldAppHintHandler));
}

HintRect THintWindowFix::CalcHintRect(int /*maxWidth*/, std::u16string_view hint,
                                      const void* /*data*/) {
    return Guarded(HintRect{}, [&] {
        const HintSize size = MeasureHint(
            hint, [this](std::u16string_view line) { return tooltips_.MeasureLine(line); });
        return HintRect{0, 0, size.width, size.height};
    });
}

void THintWindowFix::ActivateHint(HintRect rect, std::u16string_view hint) {
    // A failing step takes down whatever tooltip is left.
    const bool shown = Guarded(false, [&] {
        if (tooltip_ && tooltip_->Exists()) {
            if (hint == text_)
                return true;
        }
        tooltip_.reset();
        text_ = std::u16string(hint);
        tooltip_ = tooltips_.ShowTooltip(text_, {rect.left, rect.top});
        return true;
    });
    if (!shown)
        tooltip_.reset();
}

void THintWindowFix::ReleaseHandle() {
    Guarded([this] { tooltip_.reset(); });
}

void THintWindowFix::HintChanged() {
    Guarded([this] {
        // The old handler is not told: it comes back when this window goes.
        if (HintTakesTooltipDown(application_.Hint()))
            ReleaseHandle();
    });
}

const std::vector<THintWindowFix*>& LiveHintWindows() {
    return LiveList();
}

void InitNativeHintWindow(HintApplication& application, NativeTooltips& tooltips) {
    Guarded([&] {
        LiveList();
        application.SetHintWindowClass([&tooltips](HintApplication& owner) {
            return std::make_unique<THintWindowFix>(owner, tooltips);
        });
        application.SetHideHandler([] {
            if (!LiveList().empty())
                LiveList().front()->ReleaseHandle();
        });
    });
}

} // namespace kavrolt
