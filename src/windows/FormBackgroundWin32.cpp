// The backgrounds of a form's containers (the window and its panels): their
// colour with the bevels and pictures on it, painted only where needed, and
// painted again under the labels so that they look transparent.
#include "windows/FormWin32.h"

#include "appearance/SystemFont.h"
#include "windows/FormPartsWin32.h"

namespace kavrolt::win {
namespace {

COLORREF ColorOf(std::uint32_t color) {
    if ((color & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

// Draws a picture stretched into box of dc: with its alpha when it has one.
void DrawPicture(BorrowedDc dc, const RECT& box, BorrowedBitmap picture, BorrowedDc source) {
    BITMAP info{};
    if (!picture || !GetObjectW(picture.get(), sizeof info, &info))
        return;
    const SelectedObject selected(source.get(), picture.get());
    SetStretchBltMode(dc.get(), HALFTONE);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (info.bmBitsPixel == 32)
        AlphaBlend(dc.get(), box.left, box.top, box.right - box.left, box.bottom - box.top,
                   source.get(), 0, 0, info.bmWidth, info.bmHeight, blend);
    else
        StretchBlt(dc.get(), box.left, box.top, box.right - box.left, box.bottom - box.top,
                   source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

} // namespace

BorrowedBitmap Form::PictureOf(std::size_t index) {
    const wchar_t* name = PictureResource(static_cast<int>(index));
    CachedPicture& cached = pictures_[index];
    if (!name) {
        cached = {};
        return BorrowedBitmap();
    }
    // Decoded once per resource: a change of DPI names another resource.
    if (cached.name != name) {
        cached.bitmap = LoadPicture(name);
        cached.name = name;
    }
    return BorrowedBitmap(cached.bitmap.get());
}

// Draws the bevels and pictures of a container that overlap area (container
// client coordinates) into composed, whose top-left corner is area's; the
// pictures are selected into source to be drawn.
void Form::ComposeBackground(int container, BorrowedDc composed, const RECT& area,
                             BorrowedDc source) {
    for (std::size_t i = 0; i < model_.components.size(); ++i) {
        const Component& component = model_.components[i];
        if (component.parent != container ||
            (component.kind != ComponentKind::Bevel && component.kind != ComponentKind::Picture))
            continue;
        const RECT box = ScaledBox(component);
        RECT overlap{};
        if (!IntersectRect(&overlap, &box, &area))
            continue;
        // The component's box relative to the area: parts outside it are clipped.
        RECT shifted = box;
        OffsetRect(&shifted, -area.left, -area.top);
        if (component.kind == ComponentKind::Bevel) {
            const bool vertical = component.bounds.width < component.bounds.height;
            DrawEdge(composed.get(), &shifted, EDGE_ETCHED, vertical ? BF_LEFT : BF_TOP);
            continue;
        }
        DrawPicture(composed, shifted, PictureOf(i), source);
    }
}

void Form::PaintBackground(int container, BorrowedDc dc, const RECT& area, POINT at) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    // Composed off screen, only the area asked for, so that the pictures do
    // not flicker over the colour; the bitmap lives for this call only.
    const UniqueBitmap bitmap(CreateCompatibleBitmap(dc.get(), width, height));
    const UniqueMemoryDc memory = CompatibleDc(dc.get());
    const HBRUSH colour = GetSysColorBrush(BackgroundOf(container));
    if (!memory || !bitmap) {
        const RECT fill{at.x, at.y, at.x + width, at.y + height};
        FillRect(dc.get(), &fill, colour);
        return;
    }
    const SelectedObject selected(memory.get(), bitmap.get());
    const RECT all{0, 0, width, height};
    FillRect(memory.get(), &all, colour);
    const UniqueMemoryDc source = CompatibleDc(dc.get());
    ComposeBackground(container, BorrowedDc(memory.get()), area, BorrowedDc(source.get()));
    BitBlt(dc.get(), at.x, at.y, width, height, memory.get(), 0, 0, SRCCOPY);
}

void Form::RedrawBackgrounds() {
    if (!window_)
        return;
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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

// Only what needs painting: the clip box of the erase.
LRESULT Form::EraseBackground(int container, HWND handle, BorrowedDc dc) {
    RECT area{};
    if (GetClipBox(dc.get(), &area) == ERROR)
        GetClientRect(handle, &area);
    PaintBackground(container, dc, area, POINT{area.left, area.top});
    return TRUE;
}

// The colours of a static child; a label shows the container's background.
LRESULT Form::ColourStatic(int container, HWND handle, int index, BorrowedDc dc) {
    const Component& component = model_.components[static_cast<std::size_t>(index)];
    SetBkColor(dc.get(), GetSysColor(BackgroundOf(container)));
    if (component.kind != ComponentKind::Label)
        return reinterpret_cast<LRESULT>(GetSysColorBrush(BackgroundOf(container)));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), ColorOf(EffectiveFont(model_, index).color));
    // The part of the background under the label's clip box is painted into
    // its DC, and the label then fills nothing and draws its text
    // transparently.
    HWND label = controls_[static_cast<std::size_t>(index)];
    RECT box{};
    GetWindowRect(label, &box);
    MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&box), 2);
    RECT clip{};
    if (GetClipBox(dc.get(), &clip) == ERROR)
        GetClientRect(label, &clip);
    RECT area = clip;
    OffsetRect(&area, box.left, box.top);
    PaintBackground(container, dc, area, POINT{clip.left, clip.top});
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

// Read-only memos sit on their panel's colour.
LRESULT Form::ColourEdit(int container, BorrowedDc dc) {
    SetBkColor(dc.get(), GetSysColor(BackgroundOf(container)));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(BackgroundOf(container)));
}

} // namespace kavrolt::win
