// The component model of a window: named components of fixed kinds, each with
// its rectangle at 96 DPI, its parent, its parent-font switch, its own design
// font and its text. Captions and font preparation work on this model, so they
// are portable; the Win32 form layer turns it into child windows and fonts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kavrolt {

enum class ComponentKind {
    Label,
    Panel,
    Button,
    MenuItem,
    Memo, // multi-line edit
    Edit, // single-line edit
    Picture,
    Bevel,
    ImageCombo, // drop-down list with images
    TrackBar,
    ProgressBar,
};

struct FontSpec {
    std::u16string face;
    int points = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::uint32_t color = 0; // COLORREF
    int charset = 1;         // DEFAULT_CHARSET
    bool operator==(const FontSpec&) const = default;
};

struct Rect96 {
    int left = 0, top = 0, width = 0, height = 0;
};

inline constexpr int kParentIsWindow = -1;

enum class CursorKind { Inherit, Arrow, HourGlass, Hand };

// A system colour (the COLOR_ numbers of GetSysColor).
inline constexpr int kColorWindow = 5;
inline constexpr int kColorWindowText = 8;
inline constexpr int kColorBtnFace = 15;

// A font colour that names a system colour instead of fixing one.
inline constexpr std::uint32_t SystemColor(int index) {
    return 0xFF000000u | static_cast<std::uint32_t>(index);
}

struct Component {
    std::u16string name;
    ComponentKind kind = ComponentKind::Label;
    Rect96 bounds;
    int parent = kParentIsWindow; // index of a panel in the window's component list
    // Components without a font (pictures, bevels, menu items) have neither a
    // parent-font switch nor a font of their own.
    std::optional<bool> parentFont;
    std::optional<FontSpec> font;
    std::u16string text;
    CursorKind cursor = CursorKind::Inherit; // Inherit: the parent panel's cursor
    bool autoSize = false;                   // labels sized to their text
    bool rightAligned = false;               // auto-sized labels grow to the left
    bool wordWrap = false;                   // fixed-size labels: wrapped, vertically centred
    bool showAccelChar = true; // labels: "&" marks an accelerator; false shows it as typed
    bool tabStop = false;
    int background = -1; // panels: a system colour; -1: the parent's
    // Shown while the pointer rests on the component: the short hint before
    // the first "|" as a tooltip, the long hint after it as the application's
    // current hint. Empty: the hint of the parent panel, if any.
    std::u16string hint;
};

// The index in the window's component list of a typed control ID.
template <typename Id>
requires std::is_enum_v<Id>
constexpr int Index(Id id) {
    return static_cast<int>(id);
}

struct FormModel {
    std::u16string name; // component name of the window, e.g. KVMainForm
    std::u16string title;
    bool desktopFont = false; // the window's font is the desktop font and follows it
    FontSpec font;
    std::vector<Component> components; // in layout order

    // Told of every change of the title (index kParentIsWindow) or of a
    // component's text, so that a window can show it. Setting a text to what it
    // already is tells nothing.
    std::function<void(int index)> textChanged;

    // The component of a window's typed control ID (an enum class that lists
    // the window's components in layout order).
    template <typename Id>
    requires std::is_enum_v<Id> Component& At(Id id) {
        return components.at(static_cast<std::size_t>(id));
    }
    template <typename Id>
    requires std::is_enum_v<Id>
    void SetText(Id id, std::u16string_view text) { SetText(static_cast<int>(id), text); }

    // The component of that name, compared without regard to ASCII case.
    Component* Find(std::u16string_view componentName);
    int IndexOf(std::u16string_view componentName) const;
    void SetTitle(std::u16string_view text);
    void SetText(int index, std::u16string_view text);
};

} // namespace kavrolt
