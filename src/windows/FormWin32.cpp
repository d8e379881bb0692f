// A form's windows: the registration of their classes, their creation, and
// the routing of their messages to the parts of the form layer.
#include "windows/FormWin32.h"

#include "base/Failure.h"

#include "forms/HintApplicationWin32.h"
#include "windows/FormPartsWin32.h"

namespace kavrolt::win {
namespace {

void RegisterPanelClass(WNDPROC procedure) {
    WNDCLASSEXW panel{};
    panel.cbSize = sizeof panel;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kPanelClass, &panel))
        return;
    panel.lpfnWndProc = procedure;
    panel.hInstance = GetModuleHandleW(nullptr);
    panel.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    panel.lpszClassName = kPanelClass;
    RegisterClassExW(&panel);
}

// Registers the class of a form's window, unless it exists.
bool RegisterWindowClass(const WindowSpec& spec, WNDPROC procedure) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, spec.className, &windowClass))
        return true;
    windowClass = WNDCLASSEXW{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hbrBackground = GetSysColorBrush(spec.background);
    windowClass.lpszClassName = spec.className;
    return RegisterClassExW(&windowClass) != 0;
}

} // namespace

Form::Form(FormModel model, WindowSpec spec) : model_(std::move(model)), spec_(spec) {
    model_.textChanged = [this](int index) { ShowText(index); };
}

Form::~Form() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

bool Form::Create(HWND owner) {
    RegisterPanelClass(PanelProc);
    if (!RegisterWindowClass(spec_, WindowProc))
        return false;
    dpi_ = WindowDpi(nullptr);
    const RECT frame = FrameFor(Scale(spec_.clientWidth), Scale(spec_.clientHeight), spec_.style,
                                spec_.exStyle, dpi_);
    window_ =
        CreateWindowExW(spec_.exStyle, spec_.className, Wide(model_.title), spec_.style,
                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (!window_)
        return false;
    FollowActualDpi();
    const std::size_t count = model_.components.size();
    controls_.assign(count, nullptr);
    fonts_.resize(count);
    pictures_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        CreateControl(i);
    OnCreated();
    if (spec_.applyFontsOnCreate)
        ApplyFonts();
    RedrawBackgrounds();
    return true;
}

// Messages that a container (the window or a panel) gets for itself and its
// children.
LRESULT Form::ContainerMessage(int container, HWND handle, UINT message, WPARAM wParam,
                               LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
    case WM_ERASEBKGND:
        return EraseBackground(container, handle, BorrowedDc::FromBits(wParam));
    case WM_CTLCOLORSTATIC: {
        const int index = IndexOfControl(reinterpret_cast<HWND>(lParam));
        if (index < 0) {
            handled = false;
            return 0;
        }
        return ColourStatic(container, handle, index, BorrowedDc::FromBits(wParam));
    }
    case WM_CTLCOLOREDIT:
        return ColourEdit(container, BorrowedDc::FromBits(wParam));
    case WM_SETCURSOR:
        return PointerOver(container, handle, reinterpret_cast<HWND>(wParam), handled);
    case WM_LBUTTONDOWN:
        ButtonDown(container, handle, lParam);
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(container, handle, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = -1;
        return 0;
    case WM_CLOSE:
        // A panel never closes: a multi-line edit on it posts WM_CLOSE to its
        // parent on Escape, and DefWindowProc would destroy the panel.
        handled = container != kParentIsWindow;
        return 0;
    case WM_COMMAND: {
        const int index = static_cast<int>(LOWORD(wParam)) - kFirstControlId;
        const int code = HIWORD(wParam);
        if (lParam != 0 && index >= 0 && index < static_cast<int>(controls_.size()) &&
            code == BN_CLICKED &&
            model_.components[static_cast<std::size_t>(index)].kind == ComponentKind::Button) {
            OnClick(index);
            return 0;
        }
        return ToWindow(container, message, wParam, lParam, handled);
    }
    case WM_NOTIFY:
    case WM_HSCROLL:
        return ToWindow(container, message, wParam, lParam, handled);
    default:
        handled = false;
        return 0;
    }
}

// The window sees what its panels hear; its own messages go on as they are.
LRESULT Form::ToWindow(int container, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (container != kParentIsWindow)
        return SendMessageW(window_, message, wParam, lParam);
    handled = false;
    return 0;
}

LRESULT Form::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result =
        ContainerMessage(kParentIsWindow, window_, message, wParam, lParam, handled);
    if (handled)
        return result;
    switch (message) {
    case kWmDpiChanged:
        DpiChanged(wParam, lParam);
        return 0;
    case WM_SETTINGCHANGE:
        SettingChanged(wParam, lParam);
        break;
    case WM_ACTIVATEAPP:
        if (!wParam)
            if (HintApplication* hints = ApplicationHints())
                hints->CancelHint();
        break;
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            PollHover();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    // A failing handler ends silently; the window carries on.
    return Guarded(LRESULT{0}, [&] { return form->HandleMessage(message, wParam, lParam); });
}

LRESULT CALLBACK Form::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    return Guarded(LRESULT{0}, [&] {
        const int index = form->IndexOfControl(window);
        if (index < 0) // still being created
            return DefWindowProcW(window, message, wParam, lParam);
        bool handled = false;
        const LRESULT result =
            form->ContainerMessage(index, window, message, wParam, lParam, handled);
        if (handled)
            return result;
        return DefWindowProcW(window, message, wParam, lParam);
    });
}

} // namespace kavrolt::win
