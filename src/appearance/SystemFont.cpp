#include "appearance/SystemFont.h"

#include "base/Failure.h"

#include <cstdint>

namespace kavrolt {

void PrepareFormFont(FormModel& form) {
    // Any failure ends the preparation; what it set before stays.
    Guarded([&] {
        if (form.font.points > kMaxFormFontPoints) {
            form.font.points = kMaxFormFontPoints;
            // A change made to the window's font itself ends its following of
            // the desktop font.
            form.desktopFont = false;
        }
        for (auto& component : form.components) {
            if (component.parentFont.value_or(false))
                continue;
            if (!component.font)
                continue;
            component.font->face = form.font.face;
            if (component.font->points < form.font.points)
                component.font->points = form.font.points;
        }
    });
}

void SetDesktopFont(FormModel& form, bool on, const FontSpec& desktop) {
    if (on && !form.desktopFont)
        form.font = desktop;
    form.desktopFont = on;
}

void DesktopFontChanged(FormModel& form, const FontSpec& desktop) {
    if (form.desktopFont)
        form.font = desktop;
}

FontSpec EffectiveFont(const FormModel& form, int index) {
    // Parents are panels earlier in the list; the step count guards against a
    // malformed model whose parents form a loop.
    for (std::size_t steps = 0; steps <= form.components.size(); ++steps) {
        if (index < 0 || static_cast<std::size_t>(index) >= form.components.size())
            return form.font;
        const auto& component = form.components[static_cast<std::size_t>(index)];
        if (!component.parentFont.value_or(false))
            return component.font.value_or(form.font);
        index = component.parent;
    }
    return form.font;
}

int FontPointsFromPixels(int pixels, int pixelsPerInch) {
    if (pixelsPerInch <= 0)
        return 0;
    // Rounded half away from zero, as MulDiv does.
    const std::int64_t product = static_cast<std::int64_t>(pixels) * 72;
    const std::int64_t half = pixelsPerInch / 2;
    return static_cast<int>(product >= 0 ? (product + half) / pixelsPerInch
                                         : -((-product + half) / pixelsPerInch));
}

int FontPixelsFromPoints(int points, int pixelsPerInch) {
    const std::int64_t product = static_cast<std::int64_t>(points) * pixelsPerInch;
    return static_cast<int>(product >= 0 ? (product + 36) / 72 : -((-product + 36) / 72));
}

bool SettingChangeRereadsDesktopFont(std::optional<std::u16string_view> section, unsigned action) {
    if (!section)
        return true;
    if (*section == u"Policy" || *section == u"Windows")
        return false;
    return !(section->empty() && action == kSpiSetDeskWallpaper);
}

} // namespace kavrolt
