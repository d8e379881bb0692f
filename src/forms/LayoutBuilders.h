// Small helpers that make the layout tables of the windows read like tables.
#pragma once

#include "forms/FormModel.h"

#include <array>

namespace kavrolt::layout {

inline Component Make(std::u16string name, ComponentKind kind, Rect96 box, int parent) {
    Component c;
    c.name = std::move(name);
    c.kind = kind;
    c.bounds = box;
    c.parent = parent;
    return c;
}

// A font given as face and character height in pixels at 96 DPI: 11 pixels is
// 8 points, 13 pixels 10 points, 16 pixels 12 points.
inline FontSpec Font(std::u16string face, int pixels, bool bold, std::uint32_t color) {
    FontSpec font;
    font.face = std::move(face);
    font.points = (pixels * 72 + 48) / 96;
    font.bold = bold;
    font.color = color;
    return font;
}

inline Component Picture(std::u16string name, Rect96 box, int parent = kParentIsWindow,
                         CursorKind cursor = CursorKind::Inherit) {
    Component c = Make(std::move(name), ComponentKind::Picture, box, parent);
    c.cursor = cursor;
    return c;
}

// An auto-sized label; without a font of its own it follows its parent's.
inline Component Label(std::u16string name, int left, int top, int parent,
                       std::optional<FontSpec> font = std::nullopt,
                       CursorKind cursor = CursorKind::Inherit) {
    Component c = Make(std::move(name), ComponentKind::Label, {left, top, 0, 13}, parent);
    c.parentFont = !font.has_value();
    c.font = std::move(font);
    c.autoSize = true;
    c.cursor = cursor;
    return c;
}

inline Component Panel(std::u16string name, Rect96 box, int parent, int background,
                       CursorKind cursor = CursorKind::Inherit) {
    Component c = Make(std::move(name), ComponentKind::Panel, box, parent);
    c.parentFont = true;
    c.background = background;
    c.cursor = cursor;
    return c;
}

// A control that takes the keyboard focus and follows its parent's font.
inline Component Control(std::u16string name, ComponentKind kind, Rect96 box, int parent) {
    Component c = Make(std::move(name), kind, box, parent);
    c.parentFont = true;
    c.tabStop = true;
    return c;
}

inline Component Bevel(std::u16string name, Rect96 box, int parent) {
    return Make(std::move(name), ComponentKind::Bevel, box, parent);
}

inline Component MenuItem(std::u16string name) {
    return Make(std::move(name), ComponentKind::MenuItem, {}, kParentIsWindow);
}

// Appends a component to a model without typed IDs (a test's own form).
inline int Add(FormModel& form, Component component) {
    form.components.push_back(std::move(component));
    return static_cast<int>(form.components.size()) - 1;
}

// Puts a component in the slot of its typed ID, named from the window's table
// of control names. The slots are made once, with the table's size.
template <typename Id, std::size_t N>
int Place(FormModel& form, const std::array<std::u16string_view, N>& names, Id id,
          Component component) {
    if (form.components.size() != N)
        form.components.resize(N);
    const int index = kavrolt::Index(id);
    component.name = std::u16string(names.at(static_cast<std::size_t>(index)));
    form.components[static_cast<std::size_t>(index)] = std::move(component);
    return index;
}

} // namespace kavrolt::layout
