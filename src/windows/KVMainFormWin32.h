// The main window: the three choices, the two runs, version and last update,
// the updater and the navigation to help, the web pages and About.
#pragma once

#include "tuning/RunHost.h"
#include "windows/FormWin32.h"

#include <commctrl.h>

namespace kavrolt::win {

class KVAboutForm;
class KVSettingsForm;

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const {
        if (list)
            ImageList_Destroy(list);
    }
};
using ImageListHandle = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;
struct MenuDeleter {
    void operator()(HMENU menu) const {
        if (menu)
            DestroyMenu(menu);
    }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

class KVMainForm final : public Form, public RunHost {
public:
    KVMainForm(KVAboutForm& about, KVSettingsForm& progress);

    // Fills the window from ProgramKey, the detections and the captions, and
    // starts the update check when the last update lies over 45 days back.
    void FormCreate();
    // F1 from any window of the program opens the help topic.
    void ApplicationEventsShortCut(const MSG& message, bool& handled);
    // Opens the help topic as F1 does: the help menu item, LinkLabel4 and the
    // About window's Help button.
    void HelpFilePopupClick();

    // RunHost
    int WindowsListIndex() override;
    int ProcessorListIndex() override;
    int SpeedPosition() override;
    void EnableMainWindow(bool enabled) override;
    void EnableRestoreButton(bool enabled) override;
    void ShowProgress() override;
    void SetStepCounters(int stepTotal, int stepCount) override;
    void SetProgressHeading(std::u16string_view text) override;
    void AdvanceProgressStep(std::u16string_view text) override;
    void CloseProgress() override;
    int ShowMessage(std::u16string_view text, unsigned flags) override;
    std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) override;
    void PlayClickSound() override;
    void RestartWindows() override;
    RegistryStore& Registry() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnClick(int index) override;
    void OnMouseEnter(int index) override;
    void OnMouseLeave(int index) override;
    const wchar_t* PictureResource(int index) const override;
    void OnCreated() override;

private:
    void NavButton1Click();
    void ShowMenuTexts();
    void SetUpLists();
    int Index(std::u16string_view name) const;
    std::u16string_view NameOf(int index) const;

    KVAboutForm& about_;
    KVSettingsForm& progress_;
    MenuHandle popup_;
    ImageListHandle windowsImages_;
    ImageListHandle processorImages_;
};

} // namespace kavrolt::win
