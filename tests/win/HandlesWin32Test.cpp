// The owners of base/Handles.h on real GDI objects and registry keys.
#include "base/Handles.h"

#include <gtest/gtest.h>

namespace kavrolt {
namespace {

UniqueFont AnyFont() {
    LOGFONTW logFont{};
    logFont.lfHeight = -12;
    return UniqueFont(CreateFontIndirectW(&logFont));
}

// The owner frees its object when reset: GDI no longer knows the handle.
template <typename Owner> void ExpectResetFrees(Owner owner, DWORD type) {
    const auto raw = owner.get();
    ASSERT_EQ(GetObjectType(raw), type);
    owner.reset();
    EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(HandlesWin32, GdiOwnersFreeTheirObjects) {
    {
        SCOPED_TRACE("font");
        ExpectResetFrees(AnyFont(), static_cast<DWORD>(OBJ_FONT));
    }
    {
        SCOPED_TRACE("bitmap");
        ExpectResetFrees(UniqueBitmap(CreateBitmap(4, 4, 1, 32, nullptr)),
                         static_cast<DWORD>(OBJ_BITMAP));
    }
    {
        SCOPED_TRACE("memory DC");
        ExpectResetFrees(CompatibleDc(nullptr), static_cast<DWORD>(OBJ_MEMDC));
    }
}

TEST(HandlesWin32, SelectedObjectPutsTheOldObjectBack) {
    const UniqueMemoryDc dc = CompatibleDc(nullptr);
    ASSERT_TRUE(dc);
    const UniqueFont font = AnyFont();
    ASSERT_TRUE(font);
    const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
    ASSERT_NE(before, font.get());
    {
        const SelectedObject selected(dc.get(), font.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
    {
        const SelectedObject nothing(dc.get(), nullptr);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
}

TEST(HandlesWin32, WindowDcOfTheScreenDrawsOnTheScreen) {
    const WindowDc screen;
    ASSERT_TRUE(screen);
    EXPECT_EQ(GetObjectType(screen.get()), static_cast<DWORD>(OBJ_DC));
    EXPECT_GT(GetDeviceCaps(screen.get(), LOGPIXELSY), 0);
}

TEST(HandlesWin32, KeyOutClosesTheHeldKeyBeforeTheNextOpen) {
    UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Out()), ERROR_SUCCESS);
    const BorrowedKey first(key.get());
    DWORD subkeys = 0;
    ASSERT_EQ(RegQueryInfoKeyW(first.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    key.Out();
    EXPECT_FALSE(key);
    EXPECT_NE(RegQueryInfoKeyW(first.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

} // namespace
} // namespace kavrolt
