#include "forms/CursorTableWin32.h"

namespace kavrolt::win {
namespace {

HCURSOR& HandEntry() {
    static HCURSOR hand = nullptr;
    return hand;
}

} // namespace

HCURSOR CursorOf(CursorKind kind) {
    switch (kind) {
    case CursorKind::Inherit:
        return nullptr;
    case CursorKind::HourGlass:
        return LoadCursorW(nullptr, IDC_WAIT);
    case CursorKind::Hand:
        if (HCURSOR hand = HandEntry())
            return hand;
        break;
    case CursorKind::Arrow:
        break;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

void SetHandPointCursor(HCURSOR cursor) {
    HandEntry() = cursor;
}

HCURSOR HandPointCursor() {
    return HandEntry();
}

} // namespace kavrolt::win
