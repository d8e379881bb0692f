#include "appearance/NativeHintWindowWin32.h"

#include "appearance/SystemFontWin32.h"
#include "base/Handles.h"

#include <commctrl.h>

#include <cstddef>

namespace kavrolt::win {
namespace {

#ifndef _WIN64
static_assert(sizeof(TOOLINFOW) == 48, "the 32-bit program hands the control a 48-byte TOOLINFOW");
#endif

class Win32Tooltip final : public NativeTooltip {
public:
    explicit Win32Tooltip(HWND window) : window_(window) {}
    ~Win32Tooltip() override {
        if (IsWindow(window_))
            DestroyWindow(window_);
    }
    Win32Tooltip(const Win32Tooltip&) = delete;
    Win32Tooltip& operator=(const Win32Tooltip&) = delete;
    bool Exists() const override { return IsWindow(window_) != FALSE; }

private:
    HWND window_;
};

// The full rectangle of the monitor nearest to the point, not its work area;
// the virtual screen when there is no monitor.
HintRect MonitorBounds(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST))
        if (GetMonitorInfoW(monitor, &info))
            return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                    info.rcMonitor.bottom};
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

class Win32Tooltips final : public NativeTooltips {
public:
    unsigned DoubleClickTime() override { return GetDoubleClickTime(); }

    std::optional<HintSize> MeasureLine(std::u16string_view line) override {
        const WindowDc screen;
        if (!screen)
            return std::nullopt;
        const LOGFONTW logFont = HintLogFont();
        const UniqueFont font(CreateFontIndirectW(&logFont));
        SIZE size{};
        BOOL measured = FALSE;
        {
            const SelectedObject selected(screen.get(), font.get());
            measured =
                GetTextExtentPoint32W(screen.get(), reinterpret_cast<const wchar_t*>(line.data()),
                                      static_cast<int>(line.size()), &size);
        }
        if (!measured)
            return std::nullopt;
        return HintSize{static_cast<int>(size.cx), static_cast<int>(size.cy)};
    }

    std::unique_ptr<NativeTooltip> ShowTooltip(std::u16string_view text, HintPoint at) override {
        HWND window =
            CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!window)
            return nullptr;
        auto tooltip = std::make_unique<Win32Tooltip>(window);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        const POINT point{at.x, at.y};
        HWND under = WindowFromPoint(point);
        const HintRect bounds = MonitorBounds(point);

        RECT empty{};
        SendMessageW(window, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&empty));
        const HintSize estimated = EstimateTooltipSize(
            MeasureHint(text, [this](std::u16string_view line) { return MeasureLine(line); }),
            {empty.left, empty.top, empty.right, empty.bottom});
        POINT pointer{point};
        GetCursorPos(&pointer);
        const HintPoint placed = PlaceTooltip(at, estimated, bounds, pointer.y);

        // Long lines wrap at the monitor's width, and CR LF pairs give lines.
        SendMessageW(window, TTM_SETMAXTIPWIDTH, 0, bounds.Width());
        std::u16string shown(text); // the control copies the text it is given
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_SUBCLASS | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
        info.hwnd = under;
        info.lpszText = reinterpret_cast<wchar_t*>(shown.data());
        SendMessageW(window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        SendMessageW(window, TTM_TRACKPOSITION, 0, MAKELPARAM(placed.x, placed.y + 1));
        SendMessageW(window, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
        return tooltip;
    }
};

} // namespace

LOGFONTW HintLogFont() {
    // The structure as Windows Vista and later know it: the one of the
    // Windows 2000 headers with one more field at the end.
    struct NonClientMetricsVista {
        NONCLIENTMETRICSW metrics;
        int paddedBorderWidth;
    } vista{};
    vista.metrics.cbSize = sizeof vista;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, vista.metrics.cbSize, &vista, 0))
        return vista.metrics.lfStatusFont;
    // Systems before Windows Vista know the structure without its last field.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return metrics.lfStatusFont;
    FontSpec eightPoints;
    eightPoints.face = u"MS Shell Dlg";
    eightPoints.points = 8;
    return LogFontFromFontSpec(eightPoints, ScreenPixelsPerInch());
}

NativeTooltips& ProgramTooltips() {
    static Win32Tooltips tooltips;
    return tooltips;
}

void InitNativeHintWindow(HintApplication& application) {
    kavrolt::InitNativeHintWindow(application, ProgramTooltips());
}

} // namespace kavrolt::win
