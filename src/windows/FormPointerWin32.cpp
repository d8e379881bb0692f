// The pointer over a form: which component is under it, its cursor, hover
// and hint tracking, and clicks on the components that are no buttons.
#include "windows/FormWin32.h"

#include "forms/CursorTableWin32.h"
#include "forms/HintApplicationWin32.h"
#include "windows/FormPartsWin32.h"

namespace kavrolt::win {
namespace {

POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

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
        const RECT box = ScaledBox(component);
        if (PtInRect(&box, point))
            return static_cast<int>(i);
    }
    return -1;
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

// The pointer is over target, a container or one of its children: the
// component under it is hovered, its hint applies and its cursor shows.
LRESULT Form::PointerOver(int container, HWND handle, HWND target, bool& handled) {
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

// A picture or a label acts as a push button does: only when the left button
// went down on it and comes up on it. A release alone (a press elsewhere, or
// the click that closed a menu) does nothing.
void Form::ButtonDown(int container, HWND handle, LPARAM lParam) {
    const int component = ComponentAt(container, PointOf(lParam));
    if (component >= 0) {
        SetCapture(handle);
        pressed_ = component;
    }
}

void Form::ButtonUp(int container, HWND handle, LPARAM lParam) {
    const int pressed = pressed_;
    pressed_ = -1;
    if (pressed < 0 || GetCapture() != handle)
        return;
    ReleaseCapture();
    if (ComponentAt(container, PointOf(lParam)) == pressed)
        OnClick(pressed);
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

} // namespace kavrolt::win
