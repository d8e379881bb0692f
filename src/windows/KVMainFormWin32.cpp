#include "windows/KVMainFormWin32.h"

#include "forms/KVMainFormLayout.h"
#include "sysinfo/WindowsVersion.h"
#include "text/Wide.h"

#include <string>

namespace kavrolt::win {
namespace {

using enum MainControl;

// Menu commands stay clear of the dialog manager's IDOK to IDCONTINUE (1 to
// 11), which Enter and Escape send, and of the controls' IDs (100 on).
constexpr UINT kHelpFileCommand = 0x4B01;
constexpr UINT kTechSupportCommand = 0x4B02;

// The popup menu's items and the components whose texts and clicks they carry.
constexpr std::pair<UINT, MainControl> kMenuItems[] = {{kHelpFileCommand, HelpFilePopup},
                                                       {kTechSupportCommand, TechSupportPopup}};

struct PictureResource {
    MainControl component;
    const wchar_t* normal;
    const wchar_t* large; // for 144 DPI and more
};

constexpr PictureResource kPictures[] = {
    {BackgroundImage, L"BACKGROUND", L"BACKGROUND150"},
    {TopLogoImage, L"LOGO", L"LOGO150"},
    {NavButton1, L"NAV1", L"NAV1_150"},
    {NavButton2, L"NAV2", L"NAV2_150"},
    {NavButton3, L"NAV3", L"NAV3_150"},
    {NavButton4, L"NAV4", L"NAV4_150"},
};

} // namespace

KVMainForm::KVMainForm(KVAboutForm& about, KVSettingsForm& progress, ProgramServices& services)
    : ViewForm(MakeMainFormModel(), WindowSpec{L"TKVMainForm", kMainClientWidth, kMainClientHeight,
                                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU |
                                                   WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                               0, kColorBtnFace, /*applyFontsOnCreate=*/false}),
      presenter_(*this, services, about.Presenter(), progress.Presenter()) {}

const wchar_t* KVMainForm::PictureResource(int index) const {
    for (const auto& picture : kPictures)
        if (Index(picture.component) == index)
            return Dpi() >= 144 ? picture.large : picture.normal;
    return nullptr;
}

void KVMainForm::SetUpLists() {
    const int size = Dpi() >= 144 ? 24 : 16;
    auto makeList = [&](std::initializer_list<const wchar_t*> names) {
        UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, 2, 0));
        for (const wchar_t* name : names) {
            UniqueBitmap image = LoadPicture(name);
            ImageList_Add(list.get(), image.get(), nullptr);
        }
        return list;
    };
    const bool large = size == 24;
    windowsImages_ =
        large ? makeList({L"WINWORK150", L"WINSERVER150"}) : makeList({L"WINWORK", L"WINSERVER"});
    processorImages_ = makeList({large ? L"CHIP150" : L"CHIP"});

    auto fill = [](HWND combo, HIMAGELIST images, const auto& entries) {
        SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::u16string caption(entries[i].caption);
            COMBOBOXEXITEMW item{};
            item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
            item.iItem = static_cast<INT_PTR>(i);
            item.pszText = const_cast<wchar_t*>(Wide(caption));
            item.iImage = item.iSelectedImage = entries[i].image;
            SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    };
    fill(Control(WindowsCombo), windowsImages_.get(), kWindowsListEntries);
    fill(Control(ProcessorCombo), processorImages_.get(), kProcessorListEntries);
}

void KVMainForm::OnCreated() {
    SetUpLists();
    for (MainControl id : {WindowsCombo, ProcessorCombo}) {
        // The drop-down shows all entries without scrolling.
        HWND combo = Control(id);
        RECT box{};
        GetWindowRect(combo, &box);
        MapWindowPoints(nullptr, GetParent(combo), reinterpret_cast<POINT*>(&box), 2);
        SetWindowPos(combo, nullptr, 0, 0, box.right - box.left, Scale(300),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HWND speed = Control(SpeedTrackBar);
    SendMessageW(speed, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1));
    SendMessageW(speed, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(speed, TBM_SETLINESIZE, 0, 1);
    SendMessageW(speed, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Scale(33)), 0);
    SendMessageW(Control(GoButton), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    // BCM_SETSHIELD, which the headers for Windows 2000 do not declare; button
    // controls before Windows Vista ignore it.
    constexpr UINT kSetShield = BCM_FIRST + 0x000C;
    SendMessageW(Control(UpdatesButton), kSetShield, 0, TRUE);
    EnableWindow(Control(RestoreButton), FALSE);

    SetTabOrder(kMainTabOrder);

    popup_.reset(CreatePopupMenu());
    AppendMenuW(popup_.get(), MF_STRING, kHelpFileCommand, L"");
    AppendMenuW(popup_.get(), MF_SEPARATOR, 0, nullptr); // N1
    AppendMenuW(popup_.get(), MF_STRING, kTechSupportCommand, L"");
}

void KVMainForm::ShowMenuTexts() {
    for (const auto& [command, id] : kMenuItems)
        ModifyMenuW(popup_.get(), command, MF_BYCOMMAND | MF_STRING, command,
                    Wide(Model().At(id).text));
}

void KVMainForm::ApplicationEventsShortCut(const MSG& message, bool& handled) {
    // The key code alone decides: F1 with Alt (WM_SYSKEYDOWN) opens help too.
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN)
        presenter_.ApplicationEventsShortCut(static_cast<unsigned>(message.wParam), handled);
}

LRESULT KVMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            for (const auto& [command, id] : kMenuItems) {
                if (LOWORD(wParam) == command) {
                    presenter_.Handle(Index(id), FormEvent::Click);
                    return 0;
                }
            }
        }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(GetDlgCtrlID(Control(GoButton)), DC_HASDEFID);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

} // namespace kavrolt::win
