#include "windows/FormWin32.h"

#include "base/Failure.h"

#include "appearance/SystemFont.h"
#include "appearance/SystemFontWin32.h"
#include "forms/CursorTableWin32.h"
#include "forms/HintApplicationWin32.h"

#include <commctrl.h>

namespace kavrolt::win {
namespace {

constexpr int kFirstControlId = 100;
constexpr UINT_PTR kHoverTimer = 0x4B56;
constexpr const wchar_t* kPanelClass = L"TKVPanel";
constexpr const wchar_t* kMemoProcProperty = L"KavroltMemoProc";
// Sent from Windows 8.1 on when the window's DPI changes; the headers for
// Windows 2000 do not declare it.
constexpr UINT kWmDpiChanged = 0x02E0;

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

COLORREF ColorOf(std::uint32_t color) {
    if ((color & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

// GetDpiForWindow exists from Windows 10 on; older systems have one DPI for
// the whole screen.
int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    return ScreenPixelsPerInch();
}

RECT FrameFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT frame{0, 0, clientWidth, clientHeight};
    if (adjustForDpi)
        adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return frame;
}

bool IsWindowless(ComponentKind kind) {
    return kind == ComponentKind::Picture || kind == ComponentKind::Bevel ||
           kind == ComponentKind::MenuItem;
}

const wchar_t* ClassOf(ComponentKind kind) {
    switch (kind) {
    case ComponentKind::Label:
        return L"STATIC";
    case ComponentKind::Panel:
        return kPanelClass;
    case ComponentKind::Button:
        return L"BUTTON";
    case ComponentKind::Memo:
    case ComponentKind::Edit:
        return L"EDIT";
    case ComponentKind::ImageCombo:
        return WC_COMBOBOXEXW;
    case ComponentKind::TrackBar:
        return TRACKBAR_CLASSW;
    case ComponentKind::ProgressBar:
        return PROGRESS_CLASSW;
    default:
        return nullptr;
    }
}

DWORD StyleOf(const Component& component) {
    const DWORD child = WS_CHILD | WS_VISIBLE | (component.tabStop ? WS_TABSTOP : 0);
    switch (component.kind) {
    case ComponentKind::Label: {
        // Labels let the mouse through to their container (no SS_NOTIFY), which
        // tracks presses and clicks on them as it does on its pictures. The
        // alignment styles are values of one field, not flags.
        const DWORD prefix = component.showAccelChar ? 0 : SS_NOPREFIX;
        if (component.rightAligned)
            return child | prefix | SS_RIGHT;
        return child | prefix | (component.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
    }
    case ComponentKind::Panel:
        return child | WS_CLIPCHILDREN;
    case ComponentKind::Button:
        return child | BS_PUSHBUTTON;
    case ComponentKind::Memo:
        return child | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
    case ComponentKind::Edit:
        return child | WS_BORDER | ES_AUTOHSCROLL;
    case ComponentKind::ImageCombo:
        return child | WS_VSCROLL | CBS_DROPDOWNLIST;
    case ComponentKind::TrackBar:
        return child | TBS_BOTH | TBS_AUTOTICKS | TBS_FIXEDLENGTH;
    case ComponentKind::ProgressBar:
        return child | PBS_SMOOTH;
    default:
        return child;
    }
}

// A read-only memo keeps the arrow keys for scrolling but leaves Tab, Enter
// and Escape to the dialog manager: Tab moves on, Enter presses the default
// button, and Escape never reaches the edit, which would post WM_CLOSE to its
// parent.
LRESULT CALLBACK MemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(window, kMemoProcProperty));
    if (!original)
        return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
        result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    else if (message == WM_NCDESTROY)
        RemovePropW(window, kMemoProcProperty);
    return result;
}

void SubclassMemo(HWND memo) {
    const auto original = GetWindowLongPtrW(memo, GWLP_WNDPROC);
    SetPropW(memo, kMemoProcProperty, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrW(memo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MemoProc));
}

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
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterPanelClass(PanelProc);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, spec_.className, &windowClass)) {
        windowClass = WNDCLASSEXW{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        windowClass.hbrBackground = GetSysColorBrush(spec_.background);
        windowClass.lpszClassName = spec_.className;
        if (!RegisterClassExW(&windowClass))
            return false;
    }
    dpi_ = WindowDpi(nullptr);
    const RECT frame = FrameFor(Scale(spec_.clientWidth), Scale(spec_.clientHeight), spec_.style,
                                spec_.exStyle, dpi_);
    window_ = CreateWindowExW(spec_.exStyle, spec_.className, Wide(model_.title), spec_.style,
                              CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, owner, nullptr, instance, this);
    if (!window_)
        return false;
    // The window may have come up on a monitor of another DPI.
    if (const int actual = WindowDpi(window_); actual != dpi_) {
        dpi_ = actual;
        const RECT scaled = FrameFor(Scale(spec_.clientWidth), Scale(spec_.clientHeight),
                                     spec_.style, spec_.exStyle, dpi_);
        SetWindowPos(window_, nullptr, 0, 0, scaled.right - scaled.left, scaled.bottom - scaled.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const std::size_t count = model_.components.size();
    controls_.assign(count, nullptr);
    fonts_.resize(count);
    pictures_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        CreateControl(i);
    OnCreated();
    ApplyFonts();
    RedrawBackgrounds();
    return true;
}

HWND Form::ContainerWindow(int container) const {
    return container == kParentIsWindow ? window_
                                        : controls_.at(static_cast<std::size_t>(container));
}

void Form::CreateControl(std::size_t index) {
    const Component& component = model_.components[index];
    const wchar_t* windowClass = ClassOf(component.kind);
    if (!windowClass || IsWindowless(component.kind))
        return;
    HWND control = CreateWindowExW(
        component.kind == ComponentKind::Panel ? WS_EX_CONTROLPARENT : 0, windowClass,
        Wide(component.text), StyleOf(component), 0, 0, 0, 0, ContainerWindow(component.parent),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)),
        GetModuleHandleW(nullptr), component.kind == ComponentKind::Panel ? this : nullptr);
    controls_[index] = control;
    if (!control)
        return;
    if (component.kind == ComponentKind::ProgressBar)
        SendMessageW(control, PBM_SETRANGE32, 0, 100);
    if (component.kind == ComponentKind::Memo)
        SubclassMemo(control);
    PlaceControl(index);
}

HWND Form::ControlAt(int index) const {
    return index < 0 || index >= static_cast<int>(controls_.size())
               ? nullptr
               : controls_[static_cast<std::size_t>(index)];
}

int Form::IndexOfControl(HWND control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i] && controls_[i] == control)
            return static_cast<int>(i);
    return -1;
}

void Form::ApplyFonts() {
    if (!window_)
        return;
    const LOGFONTW windowFont = LogFontFromFontSpec(model_.font, dpi_);
    formFont_.reset(CreateFontIndirectW(&windowFont));
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.get()), FALSE);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!controls_[i] || !model_.components[i].parentFont.has_value())
            continue;
        const LOGFONTW logFont =
            LogFontFromFontSpec(EffectiveFont(model_, static_cast<int>(i)), dpi_);
        FontHandle font(CreateFontIndirectW(&logFont));
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        fonts_[i] = std::move(font);
        PlaceControl(i);
    }
}

void Form::SetUnderline(int index, bool underline) {
    if (index < 0 || index >= static_cast<int>(model_.components.size()))
        return;
    Component& component = model_.components[static_cast<std::size_t>(index)];
    FontSpec font = EffectiveFont(model_, index);
    if (font.underline == underline)
        return;
    // Changing a control's font gives it a font of its own.
    font.underline = underline;
    component.font = font;
    component.parentFont = false;
    if (HWND control = ControlAt(index)) {
        const LOGFONTW logFont = LogFontFromFontSpec(font, dpi_);
        FontHandle handle(CreateFontIndirectW(&logFont));
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(handle.get()), TRUE);
        fonts_[static_cast<std::size_t>(index)] = std::move(handle);
        InvalidateRect(control, nullptr, TRUE);
    }
}

// Positions a child at its scaled rectangle; labels that size themselves get
// the extent of their text, word-wrapped labels are centred vertically.
void Form::PlaceControl(std::size_t index) {
    const Component& component = model_.components[index];
    HWND control = controls_[index];
    if (!control)
        return;
    RECT box{Scale(component.bounds.left), Scale(component.bounds.top),
             Scale(component.bounds.left + component.bounds.width),
             Scale(component.bounds.top + component.bounds.height)};
    if (component.kind == ComponentKind::Label && (component.autoSize || component.wordWrap)) {
        HDC dc = GetDC(control);
        const HGDIOBJ old = SelectObject(dc, fonts_[index] ? fonts_[index].get() : formFont_.get());
        RECT text{0, 0, box.right - box.left, 0};
        const std::u16string shown = component.text.empty() ? u" " : component.text;
        DrawTextW(dc, Wide(shown), -1, &text,
                  DT_CALCRECT | (component.wordWrap ? DT_WORDBREAK : DT_SINGLELINE) |
                      (component.showAccelChar ? 0 : DT_NOPREFIX));
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        if (component.autoSize) {
            const int width = text.right - text.left;
            if (component.rightAligned) {
                box.right = box.left;
                box.left -= width;
            } else {
                box.right = box.left + width;
            }
            box.bottom = box.top + (text.bottom - text.top);
        } else {
            const int height = std::min<int>(text.bottom - text.top, box.bottom - box.top);
            box.top += ((box.bottom - box.top) - height) / 2;
            box.bottom = box.top + height;
        }
    }
    SetWindowPos(control, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::LayOut() {
    for (std::size_t i = 0; i < controls_.size(); ++i)
        PlaceControl(i);
    ApplyFonts();
    RedrawBackgrounds();
}

void Form::ShowText(int index) {
    if (!window_)
        return;
    if (index == kParentIsWindow) {
        SetWindowTextW(window_, Wide(model_.title));
        return;
    }
    const auto i = static_cast<std::size_t>(index);
    if (i >= controls_.size() || !controls_[i])
        return;
    std::u16string text = model_.components[i].text;
    if (model_.components[i].kind == ComponentKind::Memo) {
        // The lines of a multi-line edit are separated by CR LF.
        std::u16string crlf;
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (text[k] == u'\n' && (k == 0 || text[k - 1] != u'\r'))
                crlf += u'\r';
            crlf += text[k];
        }
        text = crlf;
    }
    SetWindowTextW(controls_[i], Wide(text));
    PlaceControl(i);
    if (model_.components[i].kind == ComponentKind::Label) {
        // The label's old text may have been wider than the new one.
        HWND container = GetParent(controls_[i]);
        RedrawWindow(container, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

HBITMAP Form::PictureOf(std::size_t index) {
    const wchar_t* name = PictureResource(static_cast<int>(index));
    CachedPicture& cached = pictures_[index];
    if (!name) {
        cached = {};
        return nullptr;
    }
    // Decoded once per resource: a change of DPI names another resource.
    if (cached.name != name) {
        cached.bitmap = LoadPicture(name);
        cached.name = name;
    }
    return cached.bitmap.get();
}

void Form::PaintBackground(int container, HDC dc, const RECT& area, POINT at) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    // Composed off screen, only the area asked for, so that the pictures do
    // not flicker over the colour; the bitmap lives for this call only.
    HDC memory = CreateCompatibleDC(dc);
    const BitmapHandle bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap) {
        if (memory)
            DeleteDC(memory);
        const RECT fill{at.x, at.y, at.x + width, at.y + height};
        FillRect(dc, &fill, GetSysColorBrush(BackgroundOf(container)));
        return;
    }
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap.get());
    const RECT all{0, 0, width, height};
    FillRect(memory, &all, GetSysColorBrush(BackgroundOf(container)));
    HDC source = CreateCompatibleDC(dc);
    for (std::size_t i = 0; i < model_.components.size(); ++i) {
        const Component& component = model_.components[i];
        if (component.parent != container ||
            (component.kind != ComponentKind::Bevel && component.kind != ComponentKind::Picture))
            continue;
        const RECT box{Scale(component.bounds.left), Scale(component.bounds.top),
                       Scale(component.bounds.left + component.bounds.width),
                       Scale(component.bounds.top + component.bounds.height)};
        RECT overlap{};
        if (!IntersectRect(&overlap, &box, &area))
            continue;
        // The component's box relative to the area: parts outside it are clipped.
        RECT shifted = box;
        OffsetRect(&shifted, -area.left, -area.top);
        if (component.kind == ComponentKind::Bevel) {
            const bool vertical = component.bounds.width < component.bounds.height;
            DrawEdge(memory, &shifted, EDGE_ETCHED, vertical ? BF_LEFT : BF_TOP);
            continue;
        }
        HBITMAP picture = PictureOf(i);
        BITMAP info{};
        if (!picture || !GetObjectW(picture, sizeof info, &info))
            continue;
        const HGDIOBJ oldSource = SelectObject(source, picture);
        SetStretchBltMode(memory, HALFTONE);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (info.bmBitsPixel == 32)
            AlphaBlend(memory, shifted.left, shifted.top, shifted.right - shifted.left,
                       shifted.bottom - shifted.top, source, 0, 0, info.bmWidth, info.bmHeight,
                       blend);
        else
            StretchBlt(memory, shifted.left, shifted.top, shifted.right - shifted.left,
                       shifted.bottom - shifted.top, source, 0, 0, info.bmWidth, info.bmHeight,
                       SRCCOPY);
        SelectObject(source, oldSource);
    }
    DeleteDC(source);
    BitBlt(dc, at.x, at.y, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
}

void Form::RedrawBackgrounds() {
    if (!window_)
        return;
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::CentreOver(HWND other) {
    RECT outer{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (other && IsWindowVisible(other) && !IsIconic(other))
        GetWindowRect(other, &outer);
    RECT own{};
    GetWindowRect(window_, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int left = outer.left + ((outer.right - outer.left) - width) / 2;
    const int top = outer.top + ((outer.bottom - outer.top) - height) / 2;
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::BackgroundOf(int container) const {
    while (container >= 0) {
        const Component& component = model_.components[static_cast<std::size_t>(container)];
        if (component.kind == ComponentKind::Panel && component.background >= 0)
            return component.background;
        container = component.parent;
    }
    return spec_.background;
}

HCURSOR Form::CursorFor(int index) const {
    while (index >= 0) {
        const Component& component = model_.components[static_cast<std::size_t>(index)];
        if (component.cursor != CursorKind::Inherit)
            return CursorOf(component.cursor);
        index = component.parent;
    }
    return nullptr;
}

// The topmost component of a container under a point of its client area: a
// label (a child window over the background) before a picture (drawn into it).
int Form::ComponentAt(int container, POINT point) const {
    HWND handle = ContainerWindow(container);
    for (std::size_t i = model_.components.size(); i-- > 0;) {
        const Component& component = model_.components[i];
        if (component.parent != container || component.kind != ComponentKind::Label ||
            !controls_[i] || !IsWindowVisible(controls_[i]))
            continue;
        RECT box{};
        GetWindowRect(controls_[i], &box);
        MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&box), 2);
        if (PtInRect(&box, point))
            return static_cast<int>(i);
    }
    return PictureAt(container, point);
}

// The topmost picture of a container under a point of its client area.
int Form::PictureAt(int container, POINT point) const {
    for (std::size_t i = model_.components.size(); i-- > 0;) {
        const Component& component = model_.components[i];
        if (component.parent != container || component.kind != ComponentKind::Picture)
            continue;
        const RECT box{Scale(component.bounds.left), Scale(component.bounds.top),
                       Scale(component.bounds.left + component.bounds.width),
                       Scale(component.bounds.top + component.bounds.height)};
        if (PtInRect(&box, point))
            return static_cast<int>(i);
    }
    return -1;
}

void Form::Hover(int index) {
    if (index == hovered_)
        return;
    const int left = hovered_;
    hovered_ = index;
    if (left >= 0)
        OnMouseLeave(left);
    if (index >= 0)
        OnMouseEnter(index);
    UpdatePollTimer();
}

// The hint under the pointer is the component's own, or that of the nearest
// panel around it that has one.
void Form::PointHint(int index) {
    HintApplication* hints = ApplicationHints();
    if (!hints)
        return;
    while (index >= 0 && model_.components[static_cast<std::size_t>(index)].hint.empty())
        index = model_.components[static_cast<std::size_t>(index)].parent;
    const int before = hinted_;
    hinted_ = index;
    if (index >= 0) {
        const Component& component = model_.components[static_cast<std::size_t>(index)];
        hints->PointerOver(&component, component.hint);
    } else {
        hints->PointerOver(nullptr, {});
    }
    if ((before >= 0) != (index >= 0))
        UpdatePollTimer();
}

// The pointer has left the window while one of its hints applied. Another
// window of the program may have claimed the pointer already.
void Form::LeaveHint() {
    if (hinted_ < 0)
        return;
    const Component& component = model_.components[static_cast<std::size_t>(hinted_)];
    hinted_ = -1;
    if (HintApplication* hints = ApplicationHints())
        hints->PointerLeft(&component);
}

void Form::UpdatePollTimer() {
    if (hovered_ >= 0 || hinted_ >= 0)
        SetTimer(window_, kHoverTimer, 100, nullptr);
    else
        KillTimer(window_, kHoverTimer);
}

// Leaving a component for a place that sends no cursor message (another
// program, the desktop) is noticed by looking where the pointer is.
void Form::PollHover() {
    POINT point{};
    GetCursorPos(&point);
    HWND under = WindowFromPoint(point);
    if (hinted_ >= 0 && (!under || GetAncestor(under, GA_ROOT) != window_))
        LeaveHint();
    if (hovered_ >= 0) {
        const Component& component = model_.components[static_cast<std::size_t>(hovered_)];
        bool still = false;
        HWND container = ContainerWindow(component.parent);
        HWND own = ControlAt(hovered_);
        if (component.kind != ComponentKind::Label && own) {
            still = under == own;
        } else if (under == container || (own && under == own)) {
            ScreenToClient(container, &point);
            still = ComponentAt(component.parent, point) == hovered_;
        }
        if (!still)
            Hover(-1);
    }
    UpdatePollTimer();
}

// Messages that a container (the window or a panel) gets for itself and its
// children.
LRESULT Form::ContainerMessage(int container, HWND handle, UINT message, WPARAM wParam,
                               LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
    case WM_ERASEBKGND: {
        // Only what needs painting: the clip box of the erase.
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT area{};
        if (GetClipBox(dc, &area) == ERROR) {
            GetClientRect(handle, &area);
        }
        PaintBackground(container, dc, area, POINT{area.left, area.top});
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        HWND child = reinterpret_cast<HWND>(lParam);
        const int index = IndexOfControl(child);
        if (index < 0) {
            handled = false;
            return 0;
        }
        HDC dc = reinterpret_cast<HDC>(wParam);
        const Component& component = model_.components[static_cast<std::size_t>(index)];
        SetBkColor(dc, GetSysColor(BackgroundOf(container)));
        if (component.kind == ComponentKind::Label) {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ColorOf(EffectiveFont(model_, index).color));
            // The label shows the container's background: the part under its
            // clip box is painted into its DC, and the label then fills
            // nothing and draws its text transparently.
            RECT box{};
            GetWindowRect(child, &box);
            MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&box), 2);
            RECT clip{};
            if (GetClipBox(dc, &clip) == ERROR)
                GetClientRect(child, &clip);
            RECT area = clip;
            OffsetRect(&area, box.left, box.top);
            PaintBackground(container, dc, area, POINT{clip.left, clip.top});
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        return reinterpret_cast<LRESULT>(GetSysColorBrush(BackgroundOf(container)));
    }
    case WM_CTLCOLOREDIT: {
        // Read-only memos sit on their panel's colour.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(BackgroundOf(container)));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(BackgroundOf(container)));
    }
    case WM_SETCURSOR: {
        HWND target = reinterpret_cast<HWND>(wParam);
        int index = IndexOfControl(target);
        if (target == handle) {
            POINT point{};
            GetCursorPos(&point);
            ScreenToClient(handle, &point);
            const int component = ComponentAt(container, point);
            index = component >= 0 ? component : container;
        }
        Hover(index >= 0 && index != container ? index : -1);
        PointHint(index);
        if (HCURSOR cursor = index >= 0 ? CursorFor(index) : nullptr) {
            SetCursor(cursor);
            return TRUE;
        }
        handled = false;
        return 0;
    }
    // A picture or a label acts as a push button does: only when the left
    // button went down on it and comes up on it. A release alone (a press
    // elsewhere, or the click that closed a menu) does nothing.
    case WM_LBUTTONDOWN: {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int component = ComponentAt(container, point);
        if (component >= 0) {
            SetCapture(handle);
            pressed_ = component;
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        const int pressed = pressed_;
        pressed_ = -1;
        if (pressed < 0 || GetCapture() != handle)
            return 0;
        ReleaseCapture();
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (ComponentAt(container, point) == pressed)
            OnClick(pressed);
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = -1;
        return 0;
    case WM_CLOSE:
        // A panel never closes: a multi-line edit on it posts WM_CLOSE to its
        // parent on Escape, and DefWindowProc would destroy the panel.
        if (container != kParentIsWindow)
            return 0;
        handled = false;
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
        if (container != kParentIsWindow) // let the window see what its panels hear
            return SendMessageW(window_, message, wParam, lParam);
        handled = false;
        return 0;
    }
    case WM_NOTIFY:
    case WM_HSCROLL:
        if (container != kParentIsWindow)
            return SendMessageW(window_, message, wParam, lParam);
        handled = false;
        return 0;
    default:
        handled = false;
        return 0;
    }
}

LRESULT Form::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result =
        ContainerMessage(kParentIsWindow, window_, message, wParam, lParam, handled);
    if (handled)
        return result;
    switch (message) {
    case kWmDpiChanged: {
        dpi_ = HIWORD(wParam);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        LayOut();
        return 0;
    }
    case WM_SETTINGCHANGE: {
        const auto* section = reinterpret_cast<const char16_t*>(lParam);
        const std::optional<std::u16string_view> name =
            section ? std::optional<std::u16string_view>(section) : std::nullopt;
        if (SettingChangeRereadsDesktopFont(name, static_cast<unsigned>(wParam))) {
            DesktopFontChanged(model_, ReadDesktopFont());
            ApplyFonts();
            // The application reads the system metrics anew once, through
            // the window that has no owner: the hint timings come back with
            // a new hint window.
            if (!GetWindow(window_, GW_OWNER))
                if (HintApplication* hints = ApplicationHints())
                    hints->RecreateHintWindow();
        }
        break;
    }
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
