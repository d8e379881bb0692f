// What a window's logic asks of its window and controls. Controls are named by
// their index in the window's component list (Index of a typed control ID);
// kParentIsWindow names the window itself. The Win32 forms implement it over
// their child windows; tests implement it with a recording view.
#pragma once

#include "forms/FormModel.h"

#include <string_view>

namespace kavrolt {

class FormView {
public:
    virtual ~FormView() = default;

    // The component model; a text set on it shows in the control.
    virtual FormModel& Model() = 0;
    // Hands the model's fonts to the controls once they have changed.
    virtual void ApplyFonts() = 0;
    // Shows the texts of the model's menu items in the window's menus.
    virtual void ShowMenuTexts() {}

    virtual void Enable(int index, bool enabled) = 0;
    // The item of a list, or the position of a track or progress bar.
    virtual void Select(int index, int item) = 0;
    virtual int Selection(int index) = 0;
    // Gives a label the underline style, or takes it away, other styles kept.
    virtual void SetUnderline(int index, bool underline) = 0;

    // A message box owned by the window and titled with its caption; the answer.
    virtual int Ask(std::u16string_view text, unsigned flags) = 0;
    // Opens the window's popup menu with its top-right corner just below the
    // right end of the component.
    virtual void OpenPopupMenuBelow(int index) = 0;

    virtual bool IsVisible() = 0;
    // Places the window centred over its owner where that stands now.
    virtual void CentreOverOwner() = 0;
    // Shows the window without modality, or hides it.
    virtual void Show(bool shown) = 0;
    // Shows the window modally over its owner, the keyboard focus on the
    // component; returns when it is closed.
    virtual void ShowModal(int focus) = 0;
    // Paints what has changed now, not when the message queue gets to it.
    virtual void Repaint() = 0;
};

} // namespace kavrolt
