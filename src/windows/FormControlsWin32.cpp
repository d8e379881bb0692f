// The child windows of a form: their creation, place, text and fonts.
#include "windows/FormWin32.h"

#include "appearance/SystemFont.h"
#include "appearance/SystemFontWin32.h"
#include "windows/FormPartsWin32.h"

#include <commctrl.h>

namespace kavrolt::win {
namespace {

constexpr const wchar_t* kMemoProcProperty = L"KavroltMemoProc";

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

// The lines of a multi-line edit are separated by CR LF.
std::u16string WithCrLf(const std::u16string& text) {
    std::u16string crlf;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == u'\n' && (k == 0 || text[k - 1] != u'\r'))
            crlf += u'\r';
        crlf += text[k];
    }
    return crlf;
}

UniqueFont CreateFontFor(const FontSpec& font, int dpi) {
    const LOGFONTW logFont = LogFontFromFontSpec(font, dpi);
    return UniqueFont(CreateFontIndirectW(&logFont));
}

} // namespace

HWND Form::ContainerWindow(int container) const {
    return container == kParentIsWindow ? window_
                                        : controls_.at(static_cast<std::size_t>(container));
}

void Form::CreateControl(std::size_t index) {
    const Component& component = model_.components[index];
    const wchar_t* windowClass = ClassOf(component.kind);
    if (!windowClass)
        return;
    const bool panel = component.kind == ComponentKind::Panel;
    HWND control =
        CreateWindowExW(ExStyleOf(component.kind), windowClass, Wide(component.text),
                        StyleOf(component), 0, 0, 0, 0, ContainerWindow(component.parent),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)),
                        GetModuleHandleW(nullptr), panel ? this : nullptr);
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

RECT Form::ScaledBox(const Component& component) const {
    return RECT{Scale(component.bounds.left), Scale(component.bounds.top),
                Scale(component.bounds.left + component.bounds.width),
                Scale(component.bounds.top + component.bounds.height)};
}

void Form::ApplyFonts() {
    if (!window_)
        return;
    formFont_ = CreateFontFor(model_.font, dpi_);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.get()), FALSE);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!controls_[i] || !model_.components[i].parentFont.has_value())
            continue;
        GiveFont(i, EffectiveFont(model_, static_cast<int>(i)));
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
        GiveFont(static_cast<std::size_t>(index), font);
        InvalidateRect(control, nullptr, TRUE);
    }
}

// Hands a control a font of its own, which it keeps until the next one.
void Form::GiveFont(std::size_t index, const FontSpec& font) {
    UniqueFont handle = CreateFontFor(font, dpi_);
    SendMessageW(controls_[index], WM_SETFONT, reinterpret_cast<WPARAM>(handle.get()), TRUE);
    fonts_[index] = std::move(handle);
}

// Positions a child at its scaled rectangle; labels that size themselves get
// the extent of their text, word-wrapped labels are centred vertically.
void Form::PlaceControl(std::size_t index) {
    const Component& component = model_.components[index];
    HWND control = controls_[index];
    if (!control)
        return;
    RECT box = ScaledBox(component);
    if (component.kind == ComponentKind::Label && (component.autoSize || component.wordWrap)) {
        const UniqueFont& font = fonts_[index] ? fonts_[index] : formFont_;
        box = FitLabel(control, BorrowedFont(font.get()), component, box);
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
    const Component& component = model_.components[i];
    const std::u16string text =
        component.kind == ComponentKind::Memo ? WithCrLf(component.text) : component.text;
    SetWindowTextW(controls_[i], Wide(text));
    PlaceControl(i);
    if (component.kind == ComponentKind::Label) {
        // The label's old text may have been wider than the new one.
        HWND container = GetParent(controls_[i]);
        RedrawWindow(container, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
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

} // namespace kavrolt::win
