#include "presenters/ProgramServices.h"

#include "appearance/SystemFont.h"
#include "presenters/FormView.h"

namespace kavrolt {

void PrepareWindow(FormView& view, ProgramServices& services) {
    SetDesktopFont(view.Model(), true, services.DesktopFont());
    PrepareFormFont(view.Model());
    view.ApplyFonts();
    services.ApplyCaptions(view.Model());
    view.ShowMenuTexts();
}

} // namespace kavrolt
