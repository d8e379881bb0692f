// The form layer on real windows: where a window without an owner is placed,
// and how labels treat "&".
#include "windows/FormWin32.h"
#include "forms/KVAboutFormLayout.h"
#include "forms/KVMainFormLayout.h"

#include <gtest/gtest.h>

namespace kavrolt::test {
namespace {

// Shrinks the work area for the test's process, as a taskbar does, and puts
// it back afterwards.
class TaskbarAtTheBottom {
public:
    explicit TaskbarAtTheBottom(int height) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved_, 0);
        RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - height};
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    }
    ~TaskbarAtTheBottom() { SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved_, 0); }

private:
    RECT saved_{};
};

TEST(FormWin32, AWindowWithoutAVisibleOwnerIsCentredOnTheScreen) {
    TaskbarAtTheBottom taskbar(120);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_EQ(work.bottom, GetSystemMetrics(SM_CYSCREEN) - 120) << "the work area did not change";
    win::Form form(MakeMainFormModel(), {L"TKVCentringTestForm", 764, 500,
                                         WS_OVERLAPPED | WS_CAPTION, 0, kColorBtnFace});
    ASSERT_TRUE(form.Create(nullptr));
    HWND hidden = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    for (HWND owner : {HWND(nullptr), hidden}) {
        form.CentreOver(owner);
        RECT own{};
        GetWindowRect(form.Handle(), &own);
        EXPECT_NEAR(own.left + own.right, GetSystemMetrics(SM_CXSCREEN), 1);
        EXPECT_NEAR(own.top + own.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
    }
    DestroyWindow(hidden);
}

TEST(FormWin32, OnlyTheBenefitsDescriptionShowsTheAmpersandAsTyped) {
    struct Case {
        FormModel model;
        int label;
        bool prefix; // "&" marks an accelerator
    };
    const Case cases[] = {
        {MakeMainFormModel(), Index(MainControl::BenefitsDescription), false},
        {MakeMainFormModel(), Index(MainControl::BenefitsLabel), true},
        {MakeMainFormModel(), Index(MainControl::LinkLabel4), true},
        {MakeAboutFormModel(), Index(AboutControl::CopyrightWarningLabel), true},
        {MakeAboutFormModel(), Index(AboutControl::CopyrightLabel), true},
    };
    for (const Case& c : cases) {
        win::Form form(c.model, {L"TKVPrefixTestForm", 764, 500, WS_POPUP, 0, kColorBtnFace});
        ASSERT_TRUE(form.Create(nullptr));
        HWND label = form.ControlAt(c.label);
        ASSERT_NE(label, nullptr);
        const bool noPrefix = (GetWindowLongW(label, GWL_STYLE) & SS_NOPREFIX) != 0;
        const auto& name = c.model.components[static_cast<std::size_t>(c.label)].name;
        EXPECT_EQ(noPrefix, !c.prefix) << std::string(name.begin(), name.end());
    }
}

} // namespace
} // namespace kavrolt::test
