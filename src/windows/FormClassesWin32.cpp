#include "windows/FormPartsWin32.h"

#include <commctrl.h>

namespace kavrolt::win {
namespace {

struct ControlClass {
    ComponentKind kind;
    const wchar_t* className;
    DWORD style; // beyond WS_CHILD, WS_VISIBLE and the tab stop
    DWORD exStyle;
};

// The components that are child windows of their own. Pictures and bevels
// are painted by their container and menu items live in a menu: none of them
// is listed. A label's alignment and "&" handling come from the component.
constexpr ControlClass kControlClasses[] = {
    {ComponentKind::Label, L"STATIC", 0, 0},
    {ComponentKind::Panel, kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT},
    {ComponentKind::Button, L"BUTTON", BS_PUSHBUTTON, 0},
    {ComponentKind::Memo, L"EDIT", WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0},
    {ComponentKind::Edit, L"EDIT", WS_BORDER | ES_AUTOHSCROLL, 0},
    {ComponentKind::ImageCombo, WC_COMBOBOXEXW, WS_VSCROLL | CBS_DROPDOWNLIST, 0},
    {ComponentKind::TrackBar, TRACKBAR_CLASSW, TBS_BOTH | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 0},
    {ComponentKind::ProgressBar, PROGRESS_CLASSW, PBS_SMOOTH, 0},
};

const ControlClass* Find(ComponentKind kind) {
    for (const ControlClass& entry : kControlClasses)
        if (entry.kind == kind)
            return &entry;
    return nullptr;
}

// Labels let the mouse through to their container (no SS_NOTIFY), which
// tracks presses and clicks on them as it does on its pictures. The alignment
// styles are values of one field, not flags.
DWORD LabelStyle(const Component& label) {
    const DWORD prefix = label.showAccelChar ? 0 : SS_NOPREFIX;
    if (label.rightAligned)
        return prefix | SS_RIGHT;
    return prefix | (label.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
}

} // namespace

const wchar_t* ClassOf(ComponentKind kind) {
    const ControlClass* entry = Find(kind);
    return entry ? entry->className : nullptr;
}

DWORD StyleOf(const Component& component) {
    const DWORD child = WS_CHILD | WS_VISIBLE | (component.tabStop ? WS_TABSTOP : 0);
    if (component.kind == ComponentKind::Label)
        return child | LabelStyle(component);
    const ControlClass* entry = Find(component.kind);
    return child | (entry ? entry->style : 0);
}

DWORD ExStyleOf(ComponentKind kind) {
    const ControlClass* entry = Find(kind);
    return entry ? entry->exStyle : 0;
}

} // namespace kavrolt::win
