#include "windows/KVMainFormWin32.h"

#include "base/Failure.h"

#include "services/Product.h"
#include "services/Shell.h"
#include "services/Sound.h"
#include "services/TimeStamps.h"
#include "appearance/Captions.h"
#include "appearance/SystemFont.h"
#include "sysinfo/WindowsVersion.h"
#include "registry/CustomRegistry.h"
#include "windows/KVAboutFormWin32.h"
#include "forms/KVMainFormLayout.h"
#include "windows/KVSettingsFormWin32.h"

#include <string>

namespace kavrolt::win {
namespace {

// Menu commands stay clear of the dialog manager's IDOK to IDCONTINUE (1 to
// 11), which Enter and Escape send, and of the controls' IDs (100 on).
constexpr UINT kHelpFileCommand = 0x4B01;
constexpr UINT kTechSupportCommand = 0x4B02;
constexpr auto HKLM = kHkeyLocalMachine;

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

struct PictureResource {
    std::u16string_view component;
    const wchar_t* normal;
    const wchar_t* large; // for 144 DPI and more
};

constexpr PictureResource kPictures[] = {
    {u"BackgroundImage", L"BACKGROUND", L"BACKGROUND150"},
    {u"TopLogoImage", L"LOGO", L"LOGO150"},
    {u"NavButton1", L"NAV1", L"NAV1_150"},
    {u"NavButton2", L"NAV2", L"NAV2_150"},
    {u"NavButton3", L"NAV3", L"NAV3_150"},
    {u"NavButton4", L"NAV4", L"NAV4_150"},
};

// The label that a navigation picture or label underlines: the sender's name
// without its first nine characters, trimmed, behind "NavStatic".
std::u16string NavStaticFor(std::u16string_view sender) {
    std::u16string_view rest = sender.size() > 9 ? sender.substr(9) : std::u16string_view{};
    while (!rest.empty() && rest.front() <= u' ')
        rest.remove_prefix(1);
    while (!rest.empty() && rest.back() <= u' ')
        rest.remove_suffix(1);
    return u"NavStatic" + std::u16string(rest);
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

KVMainForm::KVMainForm(KVAboutForm& about, KVSettingsForm& progress)
    : Form(MakeMainFormModel(),
           WindowSpec{L"TKVMainForm", kMainClientWidth, kMainClientHeight,
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0,
                      kColorBtnFace, /*applyFontsOnCreate=*/false}),
      about_(about), progress_(progress) {}

int KVMainForm::Index(std::u16string_view name) const {
    return Model().IndexOf(name);
}

std::u16string_view KVMainForm::NameOf(int index) const {
    return Model().components[static_cast<std::size_t>(index)].name;
}

const wchar_t* KVMainForm::PictureResource(int index) const {
    for (const auto& picture : kPictures)
        if (picture.component == NameOf(index))
            return Dpi() >= 144 ? picture.large : picture.normal;
    return nullptr;
}

void KVMainForm::SetUpLists() {
    const int size = Dpi() >= 144 ? 24 : 16;
    auto makeList = [&](std::initializer_list<const wchar_t*> names) {
        ImageListHandle list(ImageList_Create(size, size, ILC_COLOR32, 2, 0));
        for (const wchar_t* name : names) {
            BitmapHandle image = LoadPicture(name);
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
    fill(Control(u"WindowsCombo"), windowsImages_.get(), kWindowsListEntries);
    fill(Control(u"ProcessorCombo"), processorImages_.get(), kProcessorListEntries);
}

void KVMainForm::OnCreated() {
    SetUpLists();
    for (auto name : {u"WindowsCombo", u"ProcessorCombo"}) {
        // The drop-down shows all entries without scrolling.
        HWND combo = Control(name);
        RECT box{};
        GetWindowRect(combo, &box);
        MapWindowPoints(nullptr, GetParent(combo), reinterpret_cast<POINT*>(&box), 2);
        SetWindowPos(combo, nullptr, 0, 0, box.right - box.left, Scale(300),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HWND speed = Control(u"SpeedTrackBar");
    SendMessageW(speed, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1));
    SendMessageW(speed, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(speed, TBM_SETLINESIZE, 0, 1);
    SendMessageW(speed, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Scale(33)), 0);
    SendMessageW(Control(u"GoButton"), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    // BCM_SETSHIELD, which the headers for Windows 2000 do not declare; button
    // controls before Windows Vista ignore it.
    constexpr UINT kSetShield = BCM_FIRST + 0x000C;
    SendMessageW(Control(u"UpdatesButton"), kSetShield, 0, TRUE);
    EnableWindow(Control(u"RestoreButton"), FALSE);

    // Tab order follows the z-order of the panel's children.
    HWND previous = HWND_TOP;
    for (const char16_t* name : kMainTabOrder) {
        HWND control = Control(name);
        SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }

    popup_.reset(CreatePopupMenu());
    AppendMenuW(popup_.get(), MF_STRING, kHelpFileCommand, L"");
    AppendMenuW(popup_.get(), MF_SEPARATOR, 0, nullptr); // N1
    AppendMenuW(popup_.get(), MF_STRING, kTechSupportCommand, L"");
}

void KVMainForm::ShowMenuTexts() {
    const std::pair<UINT, std::u16string_view> items[] = {
        {kHelpFileCommand, u"HelpFilePopup"}, {kTechSupportCommand, u"TechSupportPopup"}};
    for (const auto& [command, name] : items) {
        const auto& text = Model().components[static_cast<std::size_t>(Index(name))].text;
        ModifyMenuW(popup_.get(), command, MF_BYCOMMAND | MF_STRING, command, Wide(text));
    }
}

void KVMainForm::FormCreate() {
    // The window is shown with what the earlier steps did.
    Guarded([&] {
        SetDesktopFont(Model(), true, ReadDesktopFont());
        PrepareFormFont(Model());
        ApplyFonts();
        ApplyCaptions(Model());
        ShowMenuTexts();

        auto& store = DefaultRegistryStore();
        std::u16string date =
            StampToText(ReadRegString(store, HKLM, kProgramKey, u"UpdatedDate", u"", false));
        if (date.empty())
            date =
                StampToText(ReadRegString(store, HKLM, kProgramKey, u"InstalledDate", u"", false));
        int processor = ReadRegInteger(store, HKLM, kProgramKey, u"ProcessorType", -1, false);
        const int speed = ReadRegInteger(store, HKLM, kProgramKey, u"SpeedSetting", 0, false);
        const bool restore = ReadRegBool(store, HKLM, kProgramKey, u"Restore", false, false);

        auto append = [&](std::u16string_view name, std::u16string_view tail) {
            const int index = Index(name);
            Model().SetText(index, Model().components[static_cast<std::size_t>(index)].text +
                                       std::u16string(tail));
        };
        append(u"SoftwareLastUpdateLabel", date);
        append(u"VersionInstalledLabel", kProgramVersion);

        SendMessageW(Control(u"WindowsCombo"), CB_SETCURSEL,
                     static_cast<WPARAM>(WindowsVersionToListIndex(DetectWindowsVersion())), 0);
        if (processor == -1)
            processor = DetectProcessorVendor();
        SendMessageW(Control(u"ProcessorCombo"), CB_SETCURSEL, static_cast<WPARAM>(processor), 0);
        EnableWindow(Control(u"RestoreButton"), restore);
        SendMessageW(Control(u"SpeedTrackBar"), TBM_SETPOS, TRUE,
                     speed < 0   ? 0
                     : speed > 1 ? 1
                                 : speed);

        // Update rule: a missing date counts as now, so no check starts.
        const auto now = StampText(DateTimeToStamp(CurrentDateTime()));
        const auto updated = ReadRegString(store, HKLM, kProgramKey, u"UpdatedDate", now, false);
        const auto when = TextToDateTime(StampToDateTimeText(updated));
        if (!when)
            return; // a stored date that converts to no date ends the creation here
        if (WholeDaysBetween(*when, CurrentDateTime()) > 45)
            RunProgram(ProgramFolder() + u"Kavrolt.exe", u"/checkupdate");
    });
}

void KVMainForm::ApplicationEventsShortCut(const MSG& message, bool& /*handled*/) {
    Guarded([&] {
        // The key code alone decides: F1 with Alt (WM_SYSKEYDOWN) opens help too.
        if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) ||
            message.wParam != VK_F1)
            return;
        if (IsWindowVisible(about_.Handle()) || IsWindowVisible(progress_.Handle()) ||
            IsWindowVisible(Handle()))
            ShowHelpTopic(u"Kavrolt.chm", u"/html/main.htm");
    });
}

void KVMainForm::HelpFilePopupClick() {
    MSG f1{};
    f1.message = WM_KEYDOWN;
    f1.wParam = VK_F1;
    bool handled = false;
    ApplicationEventsShortCut(f1, handled);
}

void KVMainForm::NavButton1Click() {
    RECT frame{}, client{};
    GetWindowRect(Handle(), &frame);
    GetClientRect(Handle(), &client);
    const auto& button = Model().components[static_cast<std::size_t>(Index(u"NavButton1"))].bounds;
    const int x = frame.left + ((frame.right - frame.left) - client.right) + Scale(button.left) +
                  Scale(button.width);
    const int y = frame.top + ((frame.bottom - frame.top) - client.bottom) + Scale(button.top) +
                  Scale(button.height);
    TrackPopupMenuEx(popup_.get(), TPM_RIGHTALIGN | TPM_LEFTBUTTON | TPM_VERPOSANIMATION, x, y,
                     Handle(), nullptr);
}

void KVMainForm::OnClick(int index) {
    Guarded([&] {
        const std::u16string name(NameOf(index));
        if (name == u"NavButton1" || name == u"NavStatic1") {
            NavButton1Click();
        } else if (name == u"NavButton2" || name == u"NavStatic2" || name == u"LinkLabel6") {
            kavrolt::PlayClickSound();
            OpenUrl(kMakerHomePage);
        } else if (name == u"NavButton3" || name == u"NavStatic3" || name == u"LinkLabel5") {
            kavrolt::PlayClickSound();
            OpenUrl(kMakerSupportPage);
        } else if (name == u"NavButton4" || name == u"NavStatic4" || name == u"LinkLabel7") {
            kavrolt::PlayClickSound();
            about_.ShowModal(Handle());
        } else if (name == u"LinkLabel4") {
            HelpFilePopupClick();
        } else if (name == u"GoButton") {
            GoButtonClick(*this);
        } else if (name == u"RestoreButton") {
            RestoreButtonClick(*this);
        } else if (name == u"UpdatesButton") {
            kavrolt::PlayClickSound();
            RunProgram(ProgramFolder() + u"KavroltUpdate.exe", u"");
        }
    });
}

void KVMainForm::OnMouseEnter(int index) {
    const auto name = NameOf(index);
    if (StartsWith(name, u"NavButton") || StartsWith(name, u"NavStatic"))
        SetUnderline(Index(NavStaticFor(name)), true);
    else if (StartsWith(name, u"LinkLabel"))
        SetUnderline(index, true);
}

void KVMainForm::OnMouseLeave(int index) {
    const auto name = NameOf(index);
    if (StartsWith(name, u"NavButton") || StartsWith(name, u"NavStatic"))
        SetUnderline(Index(NavStaticFor(name)), false);
    else if (StartsWith(name, u"LinkLabel"))
        SetUnderline(index, false);
}

LRESULT KVMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            if (LOWORD(wParam) == kHelpFileCommand) {
                HelpFilePopupClick();
                return 0;
            }
            if (LOWORD(wParam) == kTechSupportCommand) {
                OnClick(Index(u"NavButton3"));
                return 0;
            }
        }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(GetDlgCtrlID(Control(u"GoButton")), DC_HASDEFID);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

int KVMainForm::WindowsListIndex() {
    return static_cast<int>(SendMessageW(Control(u"WindowsCombo"), CB_GETCURSEL, 0, 0));
}
int KVMainForm::ProcessorListIndex() {
    return static_cast<int>(SendMessageW(Control(u"ProcessorCombo"), CB_GETCURSEL, 0, 0));
}
int KVMainForm::SpeedPosition() {
    return static_cast<int>(SendMessageW(Control(u"SpeedTrackBar"), TBM_GETPOS, 0, 0));
}
void KVMainForm::EnableMainWindow(bool enabled) {
    EnableWindow(Handle(), enabled);
}
void KVMainForm::EnableRestoreButton(bool enabled) {
    EnableWindow(Control(u"RestoreButton"), enabled);
}
void KVMainForm::ShowProgress() {
    progress_.ShowCentredOver(Handle());
}
void KVMainForm::SetStepCounters(int stepTotal, int stepCount) {
    progress_.SetStepCounters(stepTotal, stepCount);
}
void KVMainForm::SetProgressHeading(std::u16string_view text) {
    progress_.SetHeading(text);
}
void KVMainForm::AdvanceProgressStep(std::u16string_view text) {
    progress_.AdvanceProgressStep(text);
}
void KVMainForm::CloseProgress() {
    progress_.CloseForm();
}
int KVMainForm::ShowMessage(std::u16string_view text, unsigned flags) {
    const std::u16string body(text);
    return MessageBoxW(Handle(), Wide(body), Wide(Model().title), flags);
}
std::u16string KVMainForm::LoadCaption(std::u16string_view window, std::u16string_view key) {
    return kavrolt::LoadCaption(window, key);
}
void KVMainForm::PlayClickSound() {
    kavrolt::PlayClickSound();
}
void KVMainForm::RestartWindows() {
    kavrolt::RestartWindows();
}
RegistryStore& KVMainForm::Registry() {
    return DefaultRegistryStore();
}

} // namespace kavrolt::win
