// A Win32 form that is the view of a presenter: it answers the presenter's
// FormView requests over its child windows and hands the clicks and hovers of
// its components to the presenter.
#pragma once

#include "presenters/Bindings.h"
#include "presenters/FormView.h"
#include "windows/FormWin32.h"

namespace kavrolt::win {

class ViewForm : public Form, public FormView {
public:
    using Form::Form;

    // FormView
    FormModel& Model() override { return Form::Model(); }
    const FormModel& Model() const { return Form::Model(); }
    void ApplyFonts() override { Form::ApplyFonts(); }
    void Enable(int index, bool enabled) override;
    void Select(int index, int item) override;
    int Selection(int index) override;
    void SetUnderline(int index, bool underline) override { Form::SetUnderline(index, underline); }
    int Ask(std::u16string_view text, unsigned flags) override;
    void OpenPopupMenuBelow(int index) override;
    bool IsVisible() override;
    void CentreOverOwner() override;
    void Show(bool shown) override;
    void ShowModal(int focus) override;
    void Repaint() override;

protected:
    // Hands an event of a component to the presenter.
    virtual void Raise(int index, FormEvent event) = 0;
    void OnClick(int index) override { Raise(index, FormEvent::Click); }
    void OnMouseEnter(int index) override { Raise(index, FormEvent::MouseEnter); }
    void OnMouseLeave(int index) override { Raise(index, FormEvent::MouseLeave); }
    // The menu that OpenPopupMenuBelow opens; nothing opens nothing.
    virtual HMENU PopupMenu() const { return nullptr; }
    // Ends the modal loop of ShowModal and hides the window.
    void EndModal();

private:
    bool modal_ = false;
};

} // namespace kavrolt::win
