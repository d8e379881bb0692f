#include "windows/FormPartsWin32.h"

#include <algorithm>

namespace kavrolt::win {
namespace {

// The extent of a label's text in its font, wrapped at width for a
// word-wrapped label. An empty label measures as one blank.
SIZE MeasureText(HWND label, BorrowedFont font, const Component& component, int width) {
    const WindowDc dc(label);
    const SelectedObject selected(dc.get(), font.get());
    RECT text{0, 0, width, 0};
    const std::u16string shown = component.text.empty() ? u" " : component.text;
    DrawTextW(dc.get(), Wide(shown), -1, &text,
              DT_CALCRECT | (component.wordWrap ? DT_WORDBREAK : DT_SINGLELINE) |
                  (component.showAccelChar ? 0 : DT_NOPREFIX));
    return SIZE{text.right - text.left, text.bottom - text.top};
}

} // namespace

RECT FitLabel(HWND label, BorrowedFont font, const Component& component, RECT box) {
    const SIZE text = MeasureText(label, font, component, box.right - box.left);
    if (component.autoSize) {
        // A right-aligned label keeps its right edge where the layout put its left.
        if (component.rightAligned) {
            box.right = box.left;
            box.left -= text.cx;
        } else {
            box.right = box.left + text.cx;
        }
        box.bottom = box.top + text.cy;
    } else {
        const int height = std::min<int>(text.cy, box.bottom - box.top);
        box.top += ((box.bottom - box.top) - height) / 2;
        box.bottom = box.top + height;
    }
    return box;
}

} // namespace kavrolt::win
