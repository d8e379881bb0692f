// The main window: the three choices, the two runs, version and last update,
// the updater and the navigation to help, the web pages and About: the view
// of its presenter, with the lists, the menu and the pictures.
#pragma once

#include "base/Handles.h"
#include "presenters/MainPresenter.h"
#include "windows/FormViewWin32.h"
#include "windows/KVAboutFormWin32.h"
#include "windows/KVSettingsFormWin32.h"
#include "windows/SystemServicesWin32.h"

#include <commctrl.h>

namespace kavrolt::win {

class KVMainForm final : public ViewForm {
public:
    KVMainForm(KVAboutForm& about, KVSettingsForm& progress,
               ProgramServices& services = SystemServices());

    MainPresenter& Presenter() { return presenter_; }
    // Fills the window from ProgramKey, the detections and the captions, and
    // starts the update check when the last update lies over 45 days back.
    void FormCreate() { presenter_.FormCreate(); }
    // F1 from any window of the program opens the help topic.
    void ApplicationEventsShortCut(const MSG& message, bool& handled);
    // Opens the help topic as F1 does: the help menu item, LinkLabel4 and the
    // About window's Help button.
    void HelpFilePopupClick() { presenter_.HelpFilePopupClick(MainControl::HelpFilePopup); }

    void ShowMenuTexts() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Raise(int index, FormEvent event) override { presenter_.Handle(index, event); }
    const wchar_t* PictureResource(int index) const override;
    void OnCreated() override;
    HMENU PopupMenu() const override { return popup_.get(); }

private:
    void SetUpLists();

    MainPresenter presenter_;
    UniqueMenu popup_;
    UniqueImageList windowsImages_;
    UniqueImageList processorImages_;
};

} // namespace kavrolt::win
