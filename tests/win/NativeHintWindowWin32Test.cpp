#include "appearance/NativeHintWindowWin32.h"
#include "appearance/NativeHandCursor.h"
#include "appearance/NativeHandCursorWin32.h"
#include "forms/CursorTableWin32.h"
#include "forms/HintApplicationWin32.h"
#include "forms/LayoutBuilders.h"
#include "windows/FormWin32.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <optional>
#include <vector>

namespace kavrolt {
namespace {

// The tooltip windows of this thread, in no particular order.
std::vector<HWND> ThreadTooltips() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) {
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (lstrcmpiW(name, L"tooltips_class32") == 0)
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The one tool of a tooltip window, with its text.
struct Tool {
    TOOLINFOW info{};
    std::wstring text;
};
std::optional<Tool> OnlyTool(HWND tooltip) {
    if (SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0) != 1)
        return std::nullopt;
    Tool tool;
    std::vector<wchar_t> buffer(4096);
    tool.info.cbSize = sizeof tool.info;
    tool.info.lpszText = buffer.data();
    if (!SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool.info)))
        return std::nullopt;
    tool.text = buffer.data();
    return tool;
}

// Whether the tooltip window stands at the track position that it was given:
// its frame may lie around the point (its text area starting there) or start
// at it, as the control places the frame.
bool AtTrackPosition(const RECT& window, int x, int y) {
    const int border = GetSystemMetrics(SM_CXBORDER);
    return window.left <= x && window.left >= x - border && window.top <= y &&
           window.top >= y - border;
}

HintRect MonitorOf(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info);
    return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
}

class StillHost final : public HintHost {
public:
    void StartTimer(int milliseconds) override { timer = milliseconds; }
    void StopTimer() override { timer.reset(); }
    HintPoint CursorPos() override { return cursor; }
    int CursorHeight() override { return 21; }
    int ScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
    std::optional<int> timer;
    HintPoint cursor{150, 160};
};

// A visible window under the points where the tests show their hints.
class NativeHintWindowWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KVHintTestWindow";
        RegisterClassExW(&windowClass);
        window_ = CreateWindowExW(0, L"KVHintTestWindow", L"Hints", WS_POPUP | WS_VISIBLE, 100, 100,
                                  400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        win::InitNativeHintWindow(application);
        ASSERT_TRUE(ThreadTooltips().empty());
    }
    void TearDown() override {
        if (window_)
            DestroyWindow(window_);
    }

    StillHost host;
    HintApplication application{host};
    HWND window_ = nullptr;
};

TEST_F(NativeHintWindowWin32, ATooltipIsShownKeptReplacedAndHidden) {
    THintWindowFix hint(application, win::ProgramTooltips());
    hint.ActivateHint({150, 160, 250, 173}, u"Native hint");
    const std::vector<HWND> first = ThreadTooltips();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(first[0]));
    const RECT placed = WindowRect(first[0]);
    // The track position is one pixel below the point.
    EXPECT_TRUE(AtTrackPosition(placed, 150, 161)) << placed.left << "," << placed.top;
    EXPECT_GT(placed.right, placed.left);
    EXPECT_EQ(GetWindowLongW(first[0], GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    const std::optional<Tool> tool = OnlyTool(first[0]);
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->text, L"Native hint");
    EXPECT_EQ(tool->info.hwnd, window_);
    EXPECT_EQ(tool->info.uFlags & 0x1B0u, 0x1B0u);

    // The same text again leaves the tooltip where it is.
    hint.ActivateHint({300, 300, 400, 313}, u"Native hint");
    EXPECT_EQ(ThreadTooltips(), first);
    EXPECT_EQ(WindowRect(first[0]).top, placed.top);

    // Another text: the old tooltip goes, a new one shows.
    hint.ActivateHint({160, 170, 260, 183}, u"Another hint");
    EXPECT_FALSE(IsWindow(first[0]));
    const std::vector<HWND> second = ThreadTooltips();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(second[0]));
    EXPECT_TRUE(AtTrackPosition(WindowRect(second[0]), 160, 171));
    ASSERT_TRUE(OnlyTool(second[0]));
    EXPECT_EQ(OnlyTool(second[0])->text, L"Another hint");

    hint.ReleaseHandle();
    EXPECT_FALSE(IsWindow(second[0]));
    EXPECT_TRUE(ThreadTooltips().empty());

    // The same text after hiding: a new tooltip.
    hint.ActivateHint({150, 160, 250, 173}, u"Another hint");
    EXPECT_EQ(ThreadTooltips().size(), 1u);
    hint.ReleaseHandle();
}

TEST_F(NativeHintWindowWin32, TheApplicationShowsAHintBelowThePointerAndAnEmptyHintHidesIt) {
    const int control = 0;
    application.PointerOver(&control, u"Chain|The long hint");
    ASSERT_TRUE(host.timer);
    application.TimerElapsed();
    const std::vector<HWND> shown = ThreadTooltips();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(shown[0]));
    // Below the pointer by the height of its cursor.
    EXPECT_TRUE(AtTrackPosition(WindowRect(shown[0]), 150, 160 + 21 + 1));
    ASSERT_TRUE(OnlyTool(shown[0]));
    EXPECT_EQ(OnlyTool(shown[0])->text, L"Chain");

    // The hint text under the pointer becomes empty.
    application.SetHint(u"");
    EXPECT_FALSE(IsWindow(shown[0]));

    // Hiding by the application.
    application.PointerOver(nullptr, {});
    application.PointerOver(&control, u"Again");
    application.TimerElapsed();
    ASSERT_EQ(ThreadTooltips().size(), 1u);
    application.HideHint();
    EXPECT_TRUE(ThreadTooltips().empty());
}

TEST_F(NativeHintWindowWin32, TwoLinesMeasureAsTheLongerByBothHeights) {
    THintWindowFix hint(application, win::ProgramTooltips());
    const HintRect shortLine = hint.CalcHintRect(0, u"Short", nullptr);
    const HintRect longLine = hint.CalcHintRect(0, u"A much longer line", nullptr);
    ASSERT_GT(shortLine.Height(), 0);
    ASSERT_GT(longLine.Width(), shortLine.Width());
    EXPECT_EQ(hint.CalcHintRect(0, u"Short\r\nA much longer line", nullptr),
              (HintRect{0, 0, longLine.Width(), shortLine.Height() + longLine.Height()}));

    // The tooltip shows them as two lines: it is taller than one of them.
    hint.ActivateHint({150, 160, 0, 0}, u"A much longer line");
    const RECT one = WindowRect(ThreadTooltips().at(0));
    hint.ActivateHint({150, 160, 0, 0}, u"Short\r\nA much longer line");
    const RECT two = WindowRect(ThreadTooltips().at(0));
    EXPECT_GE(two.bottom - two.top, (one.bottom - one.top) + shortLine.Height());
    EXPECT_LE(two.right - two.left, one.right - one.left);
    hint.ReleaseHandle();
}

TEST_F(NativeHintWindowWin32, StaysOnTheMonitorAtItsBottomAndRightEdges) {
    THintWindowFix hint(application, win::ProgramTooltips());
    const HintRect monitor = MonitorOf({150, 160});
    ASSERT_GT(monitor.Height(), 200);

    // At the right edge the tooltip moves left onto the monitor.
    hint.ActivateHint({monitor.right - 5, 300, 0, 0}, u"Right at the edge");
    RECT rect = WindowRect(ThreadTooltips().at(0));
    EXPECT_LE(rect.right, monitor.right);
    EXPECT_LT(rect.left, monitor.right - 5);
    EXPECT_GE(rect.left, monitor.left);

    // At the bottom edge it opens above the pointer, on the monitor.
    SetCursorPos(400, monitor.bottom - 40);
    POINT pointer{};
    ASSERT_TRUE(GetCursorPos(&pointer));
    ASSERT_LT(pointer.y, monitor.bottom - 30);
    hint.ActivateHint({400, monitor.bottom - 5, 0, 0}, u"Down at the bottom");
    rect = WindowRect(ThreadTooltips().at(0));
    EXPECT_LT(rect.top, pointer.y);
    EXPECT_LE(rect.bottom, monitor.bottom);
    EXPECT_GE(rect.top, monitor.top);
    hint.ReleaseHandle();
}

TEST(NativeHandCursorWin32, LinksShowTheSystemHandOrTheArrowWithoutOne) {
    FormModel model;
    model.name = u"KVCursorTestForm";
    Component link =
        layout::Label(u"LinkLabel", 10, 10, kParentIsWindow, std::nullopt, CursorKind::Hand);
    link.text = u"A link";
    model.components.push_back(link);
    win::Form form(model, {L"TKVCursorTestForm", 200, 100, WS_POPUP, 0, kColorBtnFace});
    ASSERT_TRUE(form.Create(nullptr));
    HWND label = form.ControlAt(0); // the model's only component
    ASSERT_NE(label, nullptr);

    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    ASSERT_NE(hand, nullptr);
    ASSERT_NE(hand, arrow);
    struct Case {
        const char* what;
        HCURSOR loaded;
        HCURSOR shown;
    };
    const Case cases[] = {{"the system's hand", hand, hand}, {"no hand cursor", nullptr, arrow}};
    for (const Case& c : cases) {
        win::InitNativeHandCursorFrom([&c] { return c.loaded; });
        SetCursor(nullptr);
        SendMessageW(form.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), c.shown) << c.what;
    }

    InitNativeHandCursor();
    EXPECT_EQ(win::HandPointCursor(), hand);
    EXPECT_EQ(win::CursorOf(CursorKind::Hand), hand);
}

TEST(FormHintsWin32, ThePointerOverAComponentMakesItsLongHintCurrent) {
    using namespace layout;
    FormModel model;
    model.name = u"KVHintForm";
    const int panel = Add(model, Panel(u"HintPanel", {0, 0, 200, 60}, kParentIsWindow, -1));
    model.components[panel].hint = u"Panel|The panel's long hint";
    const int onPanel = Add(model, Label(u"OnPanelLabel", 10, 10, panel));
    const int own = Add(model, Label(u"OwnLabel", 10, 30, panel));
    model.components[own].hint = u"Own|Its own long hint";
    const int plain = Add(model, Label(u"PlainLabel", 10, 70, kParentIsWindow));
    for (Component& component : model.components)
        component.text = component.name;
    win::Form form(model, {L"TKVHintForm", 200, 100, WS_POPUP, 0, kColorBtnFace});
    ASSERT_TRUE(form.Create(nullptr));

    win::ProgramHints hints;
    HintApplication& application = hints.Application();
    struct Case {
        int component;
        int container;
        std::u16string_view hint;
    };
    const Case cases[] = {
        {own, panel, u"Its own long hint"},
        {onPanel, panel, u"The panel's long hint"}, // a label without one shows its panel's
        {plain, kParentIsWindow, u""},
        {panel, kParentIsWindow, u"The panel's long hint"},
    };
    for (const Case& c : cases) {
        HWND container =
            c.container == kParentIsWindow ? form.Handle() : form.ControlAt(c.container);
        SendMessageW(container, WM_SETCURSOR, reinterpret_cast<WPARAM>(form.ControlAt(c.component)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(application.Hint(), c.hint) << c.component;
    }
    application.CancelHint();
}

} // namespace
} // namespace kavrolt
