#include "appearance/NativeHandCursorWin32.h"
#include "appearance/NativeHandCursor.h"

#include "base/Failure.h"
#include "forms/CursorTableWin32.h"

namespace kavrolt {

namespace win {

void InitNativeHandCursorFrom(const std::function<HCURSOR()>& loadHand) {
    // Without a hand cursor the entry stays empty and links show the arrow.
    Guarded([&] { SetHandPointCursor(loadHand()); });
}

} // namespace win

void InitNativeHandCursor() {
    win::InitNativeHandCursorFrom([] { return LoadCursorW(nullptr, IDC_HAND); });
}

} // namespace kavrolt
